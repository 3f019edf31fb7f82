#include "host_driver/plugin_module.h"

#include <string_view>

#include "store/win32_path.h"

PluginModule::~PluginModule() {
    unload();
}

bool PluginModule::load(const std::string& path, std::string& error) {
    unload();
    return adopt(LoadLibraryA(path.c_str()), path, error);
}

bool PluginModule::load(const std::wstring& path, std::string& error) {
    unload();
    return adopt(LoadLibraryW(path.c_str()), utf8FromWide(path).value_or("<a path>"), error);
}

bool PluginModule::adopt(HMODULE module, const std::string& path, std::string& error) {
    if (module == nullptr) {
        error = "cannot load " + path + ": " + describeWin32Error(GetLastError());
        return false;
    }
    const auto sendName = exportOf<SendNameFn>(module, "On_Send_Dll_ID_Name");
    const auto menuSelect = exportOf<MenuSelectFn>(module, "On_Menu_Select");
    const auto start = exportOf<StartFn>(module, "On_Start");
    const auto exit = exportOf<ExitFn>(module, "On_Exit");

    std::string missing;
    auto require = [&missing](bool present, std::string_view name) {
        if (present) return;
        if (!missing.empty()) missing += ", ";
        missing += name;
    };
    require(sendName != nullptr, "On_Send_Dll_ID_Name");
    require(menuSelect != nullptr, "On_Menu_Select");
    require(start != nullptr, "On_Start");
    require(exit != nullptr, "On_Exit");
    if (!missing.empty()) {
        FreeLibrary(module);
        error = path + " is not a viewer plug-in: it does not export " + missing;
        return false;
    }
    module_ = module;
    sendName_ = sendName;
    menuSelect_ = menuSelect;
    start_ = start;
    exit_ = exit;
    return true;
}

void PluginModule::unload() {
    if (module_ == nullptr) return;
    sendName_ = nullptr;
    menuSelect_ = nullptr;
    start_ = nullptr;
    exit_ = nullptr;
    FreeLibrary(module_);
    module_ = nullptr;
}

std::string describeWin32Error(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message;
    if (length != 0 && text != nullptr) {
        message.assign(text, length);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                    message.back() == ' ' || message.back() == '.')) {
            message.pop_back();
        }
    }
    if (text != nullptr) LocalFree(text);
    const std::string number = "error " + std::to_string(code);
    return message.empty() ? number : message + " (" + number + ")";
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
