#include "tests/windows/plugin_library.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include <shellapi.h>

namespace {
template <class Function>
Function resolve(HMODULE module, const char* name) {
    FARPROC address = GetProcAddress(module, name);
    if (!address) throw std::runtime_error(std::string("missing export ") + name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}
}  // namespace

PluginLibrary::PluginLibrary(const std::string& path) : module_(LoadLibraryA(path.c_str())) {
    if (!module_) throw std::runtime_error("cannot load " + path);
}

PluginLibrary::~PluginLibrary() {
    FreeLibrary(module_);
}

void PluginLibrary::sendName(char* buffer) const {
    resolve<SendName>(module_, "On_Send_Dll_ID_Name")(buffer);
}
void PluginLibrary::menuSelect(int command) const {
    resolve<MenuSelect>(module_, "On_Menu_Select")(command);
}
void PluginLibrary::start(HWND hostWindow) const {
    resolve<Start>(module_, "On_Start")(0, hostWindow, 0, 0);
}
void PluginLibrary::exit() const {
    resolve<Exit>(module_, "On_Exit")();
}

std::string binDirectory() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string builtPluginPath() {
    return binDirectory() + "diseqc.dll";
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
