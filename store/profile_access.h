#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The private-profile (INI) functions of Win32, one key per call: every call names the file and
// opens it only for its own duration. Failures are silent by design: reads fall back to their
// default, writes are simply lost. The settings file does not go this way; it is here to hold
// the in-memory rules against the Win32 functions themselves.
class ProfileAccess {
  public:
    virtual ~ProfileAccess() = default;

    // The key's value without surrounding blanks and without one pair of enclosing quotes; the
    // default when file, section or key is missing. Cut to capacity - 1 characters, as a C buffer
    // of that capacity would hold it.
    virtual std::string readString(const std::string& path, std::string_view section,
                                   std::string_view key, std::string_view defaultValue,
                                   std::size_t capacity) = 0;

    // Replaces the key's value in place, or adds the key at the end of its section, or adds the
    // section at the end of the file, or creates the file.
    virtual void writeString(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view value) = 0;
};
