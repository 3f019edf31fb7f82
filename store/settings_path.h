#pragma once

#include <string>
#include <string_view>

// The settings file sits beside the module and shares its name: the last three characters of the
// module path give way to "ini", whatever they are. Paths are UTF-8.
std::string settingsPathFor(std::string_view modulePath);
