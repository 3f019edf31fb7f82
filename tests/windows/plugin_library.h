#pragma once

#include <string>

#include <windows.h>

std::string builtPluginPath();

// The real plug-in, loaded the way a viewer loads it, with its four exports.
class PluginLibrary {
  public:
    using SendName = void(__cdecl*)(char*);
    using MenuSelect = void(__cdecl*)(int);
    using Start = void(__cdecl*)(UINT_PTR, HWND, UINT_PTR, UINT_PTR);
    using Exit = void(__cdecl*)();

    explicit PluginLibrary(const std::string& path = builtPluginPath());
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    HMODULE module() const { return module_; }
    FARPROC exportNamed(const char* name) const { return GetProcAddress(module_, name); }
    FARPROC exportNumbered(WORD ordinal) const {
        return GetProcAddress(module_, MAKEINTRESOURCEA(ordinal));
    }

    void sendName(char* buffer) const;
    void menuSelect(int command) const;
    void start(HWND hostWindow) const;
    void exit() const;

  private:
    HMODULE module_;
};

// Folder of the running test program, with a trailing backslash; the build
// puts the plug-in and the helper programs beside it.
std::string binDirectory();

// A fresh, empty folder for one test, removed again by the caller's fixture.
std::string makeScratchFolder(const char* tag);
void removeFolder(const std::string& folder);

std::string readWholeFile(const std::string& path);
