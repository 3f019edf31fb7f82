#pragma once

#include <windows.h>

#include <string>

// A module's export as the function type the caller knows it by; null when
// there is none. GetProcAddress hands out a generic function pointer; going
// through the parameterless form keeps the compiler from warning about the
// cast.
template <typename Fn>
Fn exportOf(HMODULE module, const char* name) {
    const FARPROC proc = GetProcAddress(module, name);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

// A viewer plug-in DLL loaded by path, the way a viewer loads it, with the four
// exports a viewer calls. The workbench, the Windows-side tests and the
// benchmark all load the plug-in through it.
class PluginModule {
  public:
    PluginModule() = default;
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;
    ~PluginModule();

    // False with `error` set when the DLL cannot be loaded or lacks an export;
    // nothing stays loaded then.
    bool load(const std::string& path, std::string& error);
    // The same for a path that ANSI text cannot carry.
    bool load(const std::wstring& path, std::string& error);
    // Unloads the DLL; the exports must not be called afterwards.
    void unload();
    bool loaded() const { return module_ != nullptr; }
    HMODULE module() const { return module_; }

    FARPROC exportNamed(const char* name) const { return GetProcAddress(module_, name); }
    FARPROC exportNumbered(WORD ordinal) const {
        return GetProcAddress(module_, MAKEINTRESOURCEA(ordinal));
    }

    // The exports, callable only while loaded.
    void sendName(char* buffer) const { sendName_(buffer); }
    void menuSelect(int command) const { menuSelect_(command); }
    void start(HWND hostWindow) const { start_(0, hostWindow, 0, 0); }
    void exit() const { exit_(); }

  private:
    bool adopt(HMODULE module, const std::string& name, std::string& error);

    using SendNameFn = void(__cdecl*)(char*);
    using MenuSelectFn = void(__cdecl*)(int);
    using StartFn = void(__cdecl*)(UINT_PTR, HWND, UINT_PTR, UINT_PTR);
    using ExitFn = void(__cdecl*)();

    HMODULE module_ = nullptr;
    SendNameFn sendName_ = nullptr;
    MenuSelectFn menuSelect_ = nullptr;
    StartFn start_ = nullptr;
    ExitFn exit_ = nullptr;
};

// The system's text for a Win32 error code, with the code itself.
std::string describeWin32Error(DWORD code);

// Folder of the running program, with a trailing backslash; the build puts the
// plug-in and the helper programs beside it.
std::string binDirectory();
std::string builtPluginPath();
