#include "store/win32_profile.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

}  // namespace

std::string Win32Profile::readString(const std::string& path, std::string_view section,
                                     std::string_view key, std::string_view defaultValue,
                                     std::size_t capacity) noexcept {
    try {
        if (capacity == 0) return {};
        const DWORD size = static_cast<DWORD>(
            std::min<std::size_t>(capacity, (std::numeric_limits<DWORD>::max)()));
        const std::string sectionText(section);
        const std::string keyText(key);
        const std::string defaultText(defaultValue);
        std::vector<char> buffer(size, '\0');
        const DWORD length =
            GetPrivateProfileStringA(sectionText.c_str(), keyText.c_str(), defaultText.c_str(),
                                     buffer.data(), size, path.c_str());
        return std::string(buffer.data(), std::min<DWORD>(length, size - 1));
    } catch (...) {
        return {};
    }
}

void Win32Profile::writeString(const std::string& path, std::string_view section,
                               std::string_view key, std::string_view value) noexcept {
    try {
        const std::string sectionText(section);
        const std::string keyText(key);
        const std::string valueText(value);
        WritePrivateProfileStringA(sectionText.c_str(), keyText.c_str(), valueText.c_str(),
                                   path.c_str());
    } catch (...) {
    }
}

ProfileAccess::Probe Win32Profile::probeForReading(const std::string& path) noexcept {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) return Probe::Opened;
    const DWORD error = GetLastError();
    // Anything else (a sharing violation, denied access, a folder of that name) means the file
    // is there and must be left alone.
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Probe::Missing
                                                                          : Probe::Unopenable;
}

bool Win32Profile::createWithContent(const std::string& path, std::string_view bytes) noexcept {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size() - done, (std::numeric_limits<DWORD>::max)()));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}
