#include "store/win32_path.h"

#include <windows.h>

#include <climits>

namespace {

constexpr std::wstring_view EXTENDED_PREFIX = L"\\\\?\\";
constexpr std::wstring_view DEVICE_PREFIX = L"\\\\.\\";
constexpr std::wstring_view UNC_PREFIX = L"\\\\";
constexpr std::wstring_view EXTENDED_UNC_PREFIX = L"\\\\?\\UNC\\";

bool startsWith(std::wstring_view text, std::wstring_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The extended form takes no "." or ".." and no forward slashes: the path is
// made whole and absolute by the system first.
std::optional<std::wstring> fullPath(const std::wstring& path) {
    std::wstring full(path.size() + MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return std::nullopt;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

}  // namespace

std::optional<std::wstring> wideFromUtf8(std::string_view text) {
    if (text.empty()) return std::wstring();
    if (text.size() > INT_MAX) return std::nullopt;
    const int size = static_cast<int>(text.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

std::optional<std::string> utf8FromWide(std::wstring_view text) {
    if (text.empty()) return std::string();
    if (text.size() > INT_MAX) return std::nullopt;
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size,
                                           nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::nullopt;
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, utf8.data(), length,
                        nullptr, nullptr);
    return utf8;
}

std::optional<std::wstring> win32FilePath(const std::string& path) {
    std::optional<std::wstring> wide = wideFromUtf8(path);
    if (!wide || wide->empty()) return std::nullopt;
    if (wide->size() < MAX_PATH || startsWith(*wide, EXTENDED_PREFIX) ||
        startsWith(*wide, DEVICE_PREFIX))
        return wide;
    const std::optional<std::wstring> full = fullPath(*wide);
    if (!full) return std::nullopt;
    if (startsWith(*full, EXTENDED_PREFIX) || startsWith(*full, DEVICE_PREFIX)) return full;
    if (startsWith(*full, UNC_PREFIX))
        return std::wstring(EXTENDED_UNC_PREFIX) + full->substr(UNC_PREFIX.size());
    return std::wstring(EXTENDED_PREFIX) + *full;
}

// The longest path the system can name, in characters, with room to spare.
constexpr std::size_t LONGEST_MODULE_PATH = 32768;

std::string readModulePath(HINSTANCE module) {
    // A path that fills the buffer may have been cut, however the system
    // terminated it: try again with more room.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() > LONGEST_MODULE_PATH) return {};
        path.resize(path.size() * 2);
    }
    return utf8FromWide(path).value_or(std::string());
}
