#include <windows.h>
#include <commctrl.h>

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
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);

    // The plug-in has no application object of its own whose main window
    // could own the dialog, and the host's window is deliberately not used.
    auto* dialog = new PositionerSetupDialog(nullptr);
    state.setupWindow = dialog;
    dialog->setSettingsPath(settingsPathFor(state.modulePath));
    if (!dialog->Create() && state.setupWindow == dialog) {
        // No window ever existed to delete the object; a window that was
        // made and destroyed again has deleted it and unregistered it.
        state.setupWindow = nullptr;
        delete dialog;
    }
}

void closeSetupWindow() {
    if (PositionerSetupDialog* open = pluginState().setupWindow) open->closeWindow();
}
