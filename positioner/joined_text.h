#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The pieces one after another. One call for the whole text: a chain of string additions, inlined
// at every step, would cost the plug-in several kilobytes.
std::string joined(std::initializer_list<std::string_view> pieces);
