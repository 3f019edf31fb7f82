#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The few private-profile (INI) operations the settings file needs. Every call names the file and
// opens it only for its own duration, so another program may change the file in between.
// Failures are silent by design: reads fall back to their default, writes are simply lost.
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

    // Unopenable means the file is there but cannot be read now (held by another program, no
    // permission, not a file): callers must not mistake it for a missing file.
    enum class Probe { Opened, Missing, Unopenable };
    // Opens for reading, denying others write access meanwhile, and closes at once.
    virtual Probe probeForReading(const std::string& path) = 0;

    // Creates or replaces the file with exactly these bytes, sharing it with nobody meanwhile.
    virtual bool createWithContent(const std::string& path, std::string_view bytes) = 0;
};
