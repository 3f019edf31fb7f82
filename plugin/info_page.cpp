#include <string>

#include <windows.h>
#include <shellapi.h>

#include "plugin/plugin_commands.h"
#include "plugin/plugin_state.h"

void showInfoPage() {
    const PluginState& state = pluginState();
    // The res: handler finds the page inside the module itself; resource
    // names match without regard to case, so "Info" names "INFO".
    const std::string address = std::string("res://") + state.modulePath + "/Info";
    ShellExecuteA(state.hostWindow, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
