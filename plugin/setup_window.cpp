#include <memory>

#include <windows.h>
#include <commctrl.h>

#include "host/host_channel.h"
#include "plugin/plugin_commands.h"
#include "plugin/plugin_state.h"
#include "store/settings_path.h"
#include "ui/positioner_setup_dialog.h"

void openSetupWindow() {
    PluginState& state = pluginState();
    if (state.setupWindow) {
        SetActiveWindow(state.setupWindow->window());
        return;
    }
    // A settings file at a path other than the plug-in's own would show and
    // keep names that are not the user's.
    if (modulePathMissing()) return;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);

    // The plug-in has no application object of its own whose main window
    // could own the dialog, and the host's window is deliberately not used.
    auto dialog = std::make_unique<PositionerSetupDialog>(
        state.module, HostChannel(state.hostWindow), settingsPathFor(state.modulePath));
    // Known before the window exists: the host may stop the plug-in while the
    // window starts up, and that must close it.
    state.setupWindow = dialog.get();
    Dialog::openModeless(std::move(dialog), [] { pluginState().setupWindow = nullptr; });
}

void closeSetupWindow() {
    if (Dialog* open = pluginState().setupWindow) open->DestroyWindow();
}
