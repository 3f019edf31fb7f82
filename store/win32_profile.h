#pragma once

#include "store/profile_access.h"

// The Win32 profile functions and plain file handles. No call lets an exception out: it runs
// inside the host's process, under its window procedures.
class Win32Profile final : public ProfileAccess {
  public:
    std::string readString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t capacity) noexcept override;
    void writeString(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view value) noexcept override;
    Probe probeForReading(const std::string& path) noexcept override;
    bool createWithContent(const std::string& path, std::string_view bytes) noexcept override;
};
