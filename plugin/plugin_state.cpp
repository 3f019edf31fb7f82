#include "plugin/plugin_state.h"

#include "res/resource_ids.h"
#include "store/win32_path.h"
#include "win/message_box.h"

namespace {

// The longest path the system can name, in characters, with room to spare.
constexpr std::size_t LONGEST_MODULE_PATH = 32768;

constexpr char NO_MODULE_PATH[] =
    "The plug-in cannot find the path of its own file, so it can neither read nor keep "
    "its settings there.";

}  // namespace

PluginState& pluginState() {
    static PluginState state;
    return state;
}

std::string readModulePath(HINSTANCE module) {
    // A path that fills the buffer may have been cut, however the system
    // terminated it: try again with more room.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() > LONGEST_MODULE_PATH) return {};
        path.resize(path.size() * 2);
    }
    return utf8FromWide(path).value_or(std::string());
}

bool modulePathMissing() {
    const PluginState& state = pluginState();
    if (!state.modulePath.empty()) return false;
    showMessage(state.hostWindow, PLUGIN_DISPLAY_NAME, NO_MODULE_PATH, MB_OK | MB_ICONERROR);
    return true;
}
