#pragma once

#include <windows.h>

class PositionerSetupDialog;

inline constexpr int MODULE_PATH_CAPACITY = 260;

// The one process-wide state of the plug-in. It refers to the setup window
// without owning it: the window object deletes itself once destroyed.
struct PluginState {
    HWND hostWindow = nullptr;
    char modulePath[MODULE_PATH_CAPACITY] = {};
    PositionerSetupDialog* setupWindow = nullptr;
    bool started = false;
};

PluginState& pluginState();

// The full path of `module`, cut to the capacity of `modulePath`.
void readModulePath(HINSTANCE module, char (&path)[MODULE_PATH_CAPACITY]);
