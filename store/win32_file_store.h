#pragma once

#include "store/file_store.h"

// Files through plain Win32 handles, named by UTF-8 paths of any length. No
// call lets an exception out: it runs inside the host's process, under its
// window procedures.
class Win32FileStore final : public FileStore {
  public:
    Content read(const std::string& path) noexcept override;
    bool replace(const std::string& path, std::string_view bytes) noexcept override;
};
