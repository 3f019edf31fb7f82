#pragma once

#include <string>

#include <windows.h>

#include "host_driver/plugin_module.h"

// The real plug-in for a test; one that cannot be loaded, or lacks an export,
// fails the test by throwing.
class PluginLibrary : public PluginModule {
  public:
    explicit PluginLibrary(const std::string& path = builtPluginPath());
    explicit PluginLibrary(const std::wstring& path);
};

// A fresh, empty folder for one test, removed again by the caller's fixture.
std::string makeScratchFolder(const char* tag);
void removeFolder(const std::string& folder);

std::string readWholeFile(const std::string& path);
