#include "plugin/plugin_state.h"

#include "res/resource_ids.h"
#include "win/message_box.h"

namespace {

constexpr char NO_MODULE_PATH[] =
    "The plug-in cannot find the path of its own file, so it can neither read nor keep "
    "its settings there.";

// At namespace scope and constant-initialised, it is there before any code of the plug-in runs.
// A local static would need a thread-safe guard at every call, and that guard alone brings a
// threads library of some 25 KB into the plug-in.
constinit PluginState state;

}  // namespace

PluginState& pluginState() {
    return state;
}

bool modulePathMissing() {
    const PluginState& state = pluginState();
    if (!state.modulePath.empty()) return false;
    showMessage(state.hostWindow, PLUGIN_DISPLAY_NAME, NO_MODULE_PATH, MB_OK | MB_ICONERROR);
    return true;
}
