#include "store/portable_profile.h"

#include "store/profile_text.h"

std::string PortableProfile::readString(const std::string& path, std::string_view section,
                                        std::string_view key, std::string_view defaultValue,
                                        std::size_t capacity) {
    const FileStore::Content content = files_.read(path);
    return profileValue(content.bytes, section, key, defaultValue, capacity);
}

void PortableProfile::writeString(const std::string& path, std::string_view section,
                                  std::string_view key, std::string_view value) {
    const FileStore::Content content = files_.read(path);
    // A file that cannot be read must not be replaced by one holding only this key.
    if (content.state == FileStore::State::Unreadable) return;
    const std::string updated = withProfileValue(content.bytes, section, key, value);
    if (content.state == FileStore::State::Read && updated == content.bytes) return;
    files_.replace(path, updated);
}
