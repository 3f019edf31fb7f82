#pragma once

#include "store/profile_access.h"

// Private-profile files without the Win32 profile functions. Lines it does not write keep every
// byte; the lines it writes end with CR LF. A file whose write permissions are all cleared counts
// as read-only even for the superuser, as the read-only attribute does on Windows.
class PortableProfile final : public ProfileAccess {
  public:
    std::string readString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t capacity) override;
    void writeString(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view value) override;
    Probe probeForReading(const std::string& path) override;
    bool createWithContent(const std::string& path, std::string_view bytes) override;
};
