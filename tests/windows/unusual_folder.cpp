#include "tests/windows/unusual_folder.h"

#include <sstream>

#include <windows.h>

#include "store/win32_path.h"

namespace {

void makeFolder(const std::wstring& path) {
    CreateDirectoryW(extendedPath(path).c_str(), nullptr);
}

}  // namespace

UnusualFolder makeLongFolder(const std::wstring& top) {
    // Three levels of 90 characters: no single name comes near the length
    // that a file system allows, only the whole path passes MAX_PATH.
    std::wstring path = top;
    for (wchar_t letter : {L'a', L'b', L'c'}) {
        path += std::wstring(90, letter) + L"\\";
        makeFolder(path);
    }
    return {"a folder path longer than MAX_PATH", path};
}

UnusualFolder makeForeignFolder(const std::wstring& top) {
    const std::wstring path = top +
                              L"\x0421\x043F\x0443\x0442\x043D\x0438\x043A "  // Cyrillic
                              L"\x0394\x03BF\x03C1\x03C5\x03C6\x03CC\x03C1\x03BF\x03C2 "  // Greek
                              L"\x885B\x661F\\";                                          // CJK
    makeFolder(path);
    return {"a folder named outside the ANSI code page", path};
}

std::wstring makeWideScratchFolder(const char* tag) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::wostringstream name;
    name << temp << L"diseqc-" << tag << L'-' << GetCurrentProcessId() << L'-' << GetTickCount()
         << L"\\";
    makeFolder(name.str());
    return name.str();
}

void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(extendedPath(folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(folder + name + L"\\");
            } else {
                const std::wstring file = extendedPath(folder + name);
                SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(file.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(extendedPath(folder).c_str());
}

std::wstring extendedPath(const std::wstring& path) {
    return path.rfind(L"\\\\", 0) == 0 ? path : L"\\\\?\\" + path;
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(extendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readWholeFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(extendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

std::vector<std::wstring> folderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(extendedPath(folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string utf8(const std::wstring& text) {
    return utf8FromWide(text).value_or("<not UTF-16>");
}

std::wstring wide(const std::string& utf8Text) {
    return wideFromUtf8(utf8Text).value_or(L"<not UTF-8>");
}

std::wstring fromAnsi(const std::string& ansiText) {
    const int size = MultiByteToWideChar(CP_ACP, 0, ansiText.data(),
                                         static_cast<int>(ansiText.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansiText.data(), static_cast<int>(ansiText.size()),
                        result.data(), size);
    return result;
}
