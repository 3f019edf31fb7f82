#pragma once

#include "store/profile_access.h"

// The Win32 profile functions themselves: the reference that the in-memory profile rules are held
// against.
class Win32Profile final : public ProfileAccess {
  public:
    std::string readString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t capacity) noexcept override;
    void writeString(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view value) noexcept override;
};
