#include <optional>
#include <string>

#include <windows.h>
#include <shellapi.h>

#include "plugin/plugin_commands.h"
#include "plugin/plugin_state.h"
#include "store/win32_path.h"

void showInfoPage() {
    if (modulePathMissing()) return;
    const PluginState& state = pluginState();
    // The res: handler finds the page inside the module itself; resource
    // names match without regard to case, so "Info" names "INFO".
    const std::optional<std::wstring> address = wideFromUtf8("res://" + state.modulePath + "/Info");
    if (!address) return;
    ShellExecuteW(state.hostWindow, nullptr, address->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
