#pragma once

#include <string>

#include <windows.h>

class Dialog;

// The one process-wide state of the plug-in. It refers to the setup window
// without owning it: the window owns its object and says when it has gone.
struct PluginState {
    // The plug-in's own module, as the loader gave it at attach: its
    // resources are looked up there, never in the host's executable.
    HINSTANCE module = nullptr;
    HWND hostWindow = nullptr;
    // The module's full path in UTF-8, whole, however long; empty when it
    // could not be found, and nothing is then read or written by it.
    std::string modulePath;
    Dialog* setupWindow = nullptr;
    bool started = false;
};

PluginState& pluginState();

// Tells the user that the plug-in cannot find its own file; true when that
// was so and the caller must not go on.
bool modulePathMissing();
