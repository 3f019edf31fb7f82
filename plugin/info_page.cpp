#include <cstdio>

#include <windows.h>
#include <shellapi.h>

#include "plugin/plugin_commands.h"
#include "plugin/plugin_state.h"

void showInfoPage() {
    const PluginState& state = pluginState();
    // The res: handler finds the page inside the module itself; resource
    // names match without regard to case, so "Info" names "INFO".
    char address[280];
    std::snprintf(address, sizeof address, "res://%s/Info", state.modulePath);
    ShellExecuteA(state.hostWindow, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}
