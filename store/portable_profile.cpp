#include "store/portable_profile.h"

#include "store/profile_text.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

enum class FileState { Missing, Regular, Other };

FileState fileState(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) return FileState::Missing;
    if (error || status.type() != fs::file_type::regular) return FileState::Other;
    return FileState::Regular;
}

bool isReadOnly(const std::string& path) {
    std::error_code error;
    const fs::perms perms = fs::status(path, error).permissions();
    if (error) return false;
    constexpr fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (perms & anyWrite) == fs::perms::none;
}

// Opens nothing but regular files: opening a FIFO would block the host's thread.
std::optional<std::string> readWholeFile(const std::string& path) {
    if (fileState(path) != FileState::Regular) return std::nullopt;
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) return std::nullopt;
    std::string content;
    char chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) content.append(chunk, got);
    if (std::ferror(file.get())) return std::nullopt;
    return content;
}

bool replaceWholeFile(const std::string& path, std::string_view bytes) {
    const FileState state = fileState(path);
    if (state == FileState::Other) return false;
    if (state == FileState::Regular && isReadOnly(path)) return false;
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace

std::string PortableProfile::readString(const std::string& path, std::string_view section,
                                        std::string_view key, std::string_view defaultValue,
                                        std::size_t capacity) {
    const std::optional<std::string> content = readWholeFile(path);
    return profileValue(content ? std::string_view(*content) : std::string_view(), section, key,
                        defaultValue, capacity);
}

void PortableProfile::writeString(const std::string& path, std::string_view section,
                                  std::string_view key, std::string_view value) {
    const FileState state = fileState(path);
    if (state == FileState::Other) return;
    std::string content;
    if (state == FileState::Regular) {
        if (isReadOnly(path)) return;
        // A file that cannot be read must not be replaced by one holding only this key.
        std::optional<std::string> existing = readWholeFile(path);
        if (!existing) return;
        content = std::move(*existing);
    }
    const std::string updated = withProfileValue(content, section, key, value);
    if (state == FileState::Regular && updated == content) return;
    replaceWholeFile(path, updated);
}

ProfileAccess::Probe PortableProfile::probeForReading(const std::string& path) {
    switch (fileState(path)) {
        case FileState::Missing:
            return Probe::Missing;
        case FileState::Other:
            return Probe::Unopenable;
        case FileState::Regular:
            break;
    }
    const File file(std::fopen(path.c_str(), "rb"));
    return file ? Probe::Opened : Probe::Unopenable;
}

bool PortableProfile::createWithContent(const std::string& path, std::string_view bytes) {
    return replaceWholeFile(path, bytes);
}
