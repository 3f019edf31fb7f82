#include "plugin/plugin_commands.h"
#include "plugin/plugin_state.h"

// The setup window is not part of this build yet: the menu entry is there,
// and choosing it changes nothing.
void openSetupWindow() {}

void closeSetupWindow() {
    pluginState().setupWindow = nullptr;
}
