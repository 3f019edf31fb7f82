#pragma once

#include "store/portable_file_store.h"
#include "store/profile_access.h"

// Private-profile files without the Win32 profile functions, one key per call.
// Lines it does not write keep every byte; the lines it writes end with CR LF.
class PortableProfile final : public ProfileAccess {
  public:
    std::string readString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t capacity) override;
    void writeString(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view value) override;

  private:
    PortableFileStore files_;
};
