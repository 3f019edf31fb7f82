#include "tests/windows/plugin_library.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include <shellapi.h>

PluginLibrary::PluginLibrary(const std::string& path) {
    std::string error;
    if (!load(path, error)) throw std::runtime_error(error);
}

PluginLibrary::PluginLibrary(const std::wstring& path) {
    std::string error;
    if (!load(path, error)) throw std::runtime_error(error);
}

std::string makeScratchFolder(const char* tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::ostringstream name;
    name << temp << "diseqc-" << tag << '-' << GetCurrentProcessId() << '-' << GetTickCount();
    CreateDirectoryA(name.str().c_str(), nullptr);
    return name.str() + "\\";
}

void removeFolder(const std::string& folder) {
    // SHFileOperation wants a double-zero-terminated list and no trailing slash.
    std::string from = folder.substr(0, folder.size() - 1);
    from.push_back('\0');
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
