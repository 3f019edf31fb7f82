#include "store/portable_file_store.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <system_error>

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

bool writeWholeFile(const std::string& path, std::string_view bytes) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

}  // namespace

FileStore::Content PortableFileStore::read(const std::string& path) {
    switch (fileState(path)) {
        case FileState::Missing:
            return {State::Missing, {}};
        case FileState::Other:
            return {State::Unreadable, {}};
        case FileState::Regular:
            break;
    }
    std::optional<std::string> content = readWholeFile(path);
    if (!content) return {State::Unreadable, {}};
    return {State::Read, std::move(*content)};
}

bool PortableFileStore::replace(const std::string& path, std::string_view bytes) {
    const FileState state = fileState(path);
    if (state == FileState::Other) return false;
    if (state == FileState::Regular && isReadOnly(path)) return false;
    // Written beside the file and renamed over it: a rename within one
    // folder replaces the old file in one step.
    const std::string fresh = path + ".new";
    if (!writeWholeFile(fresh, bytes)) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
        return false;
    }
    std::error_code error;
    fs::rename(fresh, path, error);
    if (error) fs::remove(fresh, error);
    return !error;
}
