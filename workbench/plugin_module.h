#pragma once

#include <windows.h>

#include <string>

// A viewer plug-in DLL loaded by path, with the four exports a viewer calls.
class PluginModule {
  public:
    using SendDllIdNameFn = void(__cdecl*)(char*);
    using MenuSelectFn = void(__cdecl*)(int);
    using StartFn = void(__cdecl*)(UINT_PTR, HWND, UINT_PTR, UINT_PTR);
    using ExitFn = void(__cdecl*)();

    PluginModule() = default;
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;
    ~PluginModule();

    // False with `error` set when the DLL cannot be loaded or lacks an export;
    // nothing stays loaded then.
    bool load(const std::string& path, std::string& error);
    // Unloads the DLL; the exports must not be called afterwards.
    void unload();
    bool loaded() const { return module_ != nullptr; }
    HMODULE module() const { return module_; }

    SendDllIdNameFn sendDllIdName = nullptr;
    MenuSelectFn menuSelect = nullptr;
    StartFn start = nullptr;
    ExitFn exit = nullptr;

  private:
    HMODULE module_ = nullptr;
};

// The system's text for a Win32 error code, with the code itself.
std::string describeWin32Error(DWORD code);
