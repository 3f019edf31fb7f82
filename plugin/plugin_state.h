#pragma once

#include <windows.h>

class Dialog;

inline constexpr int MODULE_PATH_CAPACITY = 260;

// The one process-wide state of the plug-in. It refers to the setup window
// without owning it: the window owns its object and says when it has gone.
struct PluginState {
    // The plug-in's own module, as the loader gave it at attach: its
    // resources are looked up there, never in the host's executable.
    HINSTANCE module = nullptr;
    HWND hostWindow = nullptr;
    char modulePath[MODULE_PATH_CAPACITY] = {};
    Dialog* setupWindow = nullptr;
    bool started = false;
};

PluginState& pluginState();

// The full path of `module`, cut to the capacity of `modulePath`.
void readModulePath(HINSTANCE module, char (&path)[MODULE_PATH_CAPACITY]);
