#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Private-profile (INI) text in memory, read and edited as the Win32 profile
// functions read a file, except that an edit keeps every byte of the lines it
// does not write; the lines it writes end with CR LF.

// The key's value without surrounding blanks and without one pair of
// enclosing quotes; the default when section or key is missing. Cut to
// capacity - 1 characters, as a C buffer of that capacity would hold it. Only
// the first section of a name counts, and in it only the first line of a key.
std::string profileValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view defaultValue, std::size_t capacity);

// The content with the key's value replaced in place, or the key added at the
// end of its section, or the section added at the end.
std::string withProfileValue(std::string_view content, std::string_view section,
                             std::string_view key, std::string_view value);

// The text to store as a value so that profileValue reads `value` back exactly: a value that
// reading would change (blanks at either end, one pair of enclosing quotes) is put in quotes.
std::string storedProfileValue(std::string_view value);
