#pragma once

#include "store/file_store.h"

// Files through the C and C++ libraries. A file whose write permissions are
// all cleared counts as read-only even for the superuser, as the read-only
// attribute does on Windows.
class PortableFileStore final : public FileStore {
  public:
    Content read(const std::string& path) override;
    bool replace(const std::string& path, std::string_view bytes) override;
};
