#include "store/win32_file_store.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "store/win32_path.h"

namespace {

// Far beyond any settings file; a larger one is not read into the host's
// memory, and so never replaced either.
constexpr LONGLONG MAX_FILE_BYTES = 16LL * 1024 * 1024;

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        if (!valid()) return true;
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size() - done, (std::numeric_limits<DWORD>::max)()));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// The new content, complete and on disk, under a name of its own beside the
// file: the rename that follows stays within one volume.
bool writeFresh(const std::wstring& fresh, std::string_view bytes) {
    FileHandle file(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    const bool written = writeAll(file.get(), bytes) && FlushFileBuffers(file.get()) != FALSE;
    return file.close() && written;
}

// A holder that lets go within a moment (a viewer saving, a backup tool passing by) is waited
// for; one that keeps the file longer leaves it unreadable for now.
constexpr ULONGLONG SHARING_RETRY_MS = 1000;
constexpr DWORD SHARING_PAUSE_MS = 50;

bool isHeld(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

using State = FileStore::State;

// One attempt; `error` tells why an Unreadable came back.
FileStore::Content readOnce(const std::string& path, DWORD& error) noexcept {
    error = ERROR_SUCCESS;
    try {
        // A path that cannot be named may still hold the user's file.
        const std::optional<std::wstring> name = win32FilePath(path);
        if (!name) return {State::Unreadable, {}};
        // Writers are kept out while the file is read, so no half-written state is seen.
        FileHandle file(CreateFileW(name->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            error = GetLastError();
            // Anything else (a sharing violation, denied access, a folder of that name) means
            // the file is there and must be left alone.
            const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
            return {missing ? State::Missing : State::Unreadable, {}};
        }
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > MAX_FILE_BYTES)
            return {State::Unreadable, {}};
        std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                          &got, nullptr)) {
                error = GetLastError();
                return {State::Unreadable, {}};
            }
            if (got == 0) break;
            done += got;
        }
        bytes.resize(done);
        return {State::Read, std::move(bytes)};
    } catch (...) {
        return {State::Unreadable, {}};
    }
}

}  // namespace

FileStore::Content Win32FileStore::read(const std::string& path) noexcept {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD error = ERROR_SUCCESS;
        Content content = readOnce(path, error);
        if (content.state != State::Unreadable || !isHeld(error) ||
            GetTickCount64() - start >= SHARING_RETRY_MS)
            return content;
        // Nothing signals that another process let go of a file: it is asked again.
        Sleep(SHARING_PAUSE_MS);
    }
}

bool Win32FileStore::replace(const std::string& path, std::string_view bytes) noexcept {
    try {
        const std::optional<std::wstring> name = win32FilePath(path);
        const std::optional<std::wstring> fresh = win32FilePath(path + ".new");
        if (!name || !fresh) return false;
        const DWORD attributes = GetFileAttributesW(name->c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
            return false;
        if (writeFresh(*fresh, bytes) &&
            MoveFileExW(fresh->c_str(), name->c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        DeleteFileW(fresh->c_str());
        return false;
    } catch (...) {
        return false;
    }
}
