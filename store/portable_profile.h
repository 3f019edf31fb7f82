#pragma once

#include "store/portable_file_store.h"
#include "store/profile_access.h"

// Private-profile files without the Win32 profile functions, one key per call,
// each a whole-file read and replacement through a FileStore: by default the
// portable one, or the one the plug-in itself uses. Lines it does not write
// keep every byte; the lines it writes end with CR LF.
class PortableProfile final : public ProfileAccess {
  public:
    PortableProfile() : files_(ownFiles_) {}
    explicit PortableProfile(FileStore& files) : files_(files) {}

    std::string readString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t capacity) override;
    void writeString(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view value) override;

  private:
    PortableFileStore ownFiles_;
    FileStore& files_;
};
