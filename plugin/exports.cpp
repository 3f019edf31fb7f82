#include <cstring>

#include <windows.h>

#include "plugin/plugin_commands.h"
#include "plugin/plugin_state.h"
#include "plugin/runtime_threads.h"
#include "res/resource_ids.h"
#include "store/win32_path.h"
#include "win/dialog_keys.h"

namespace {
constexpr char DISPLAY_NAME[] = PLUGIN_DISPLAY_NAME;
static_assert(sizeof DISPLAY_NAME == 15);

// Runs an entry from the host. Nothing thrown may unwind into code that is
// not ours, so it ends here.
template <class Body>
void guardedEntry(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID processEnding) {
    if (reason == DLL_PROCESS_ATTACH) pluginState().module = module;
    // A host thread that ends hands back what the runtime kept for it. For
    // that the plug-in hears of every thread's start and end; a start is a
    // call that does nothing.
    if (reason == DLL_THREAD_DETACH) runtimeThreadEnds();
    // Unloaded by FreeLibrary while the process goes on: a keyboard hook left
    // behind would call into code that is gone. Unhooking waits on nothing and
    // loads nothing, so it is safe under the loader lock; windows are left
    // alone, as closing them would run the host's code here. At the end of
    // the process nothing is done: the hook goes with the thread.
    if (reason == DLL_PROCESS_DETACH && !processEnding) {
        removeDialogKeyHook();
        runtimeUnloads();
    }
    return TRUE;
}

void __cdecl On_Send_Dll_ID_Name(char* name) {
    guardedEntry([&] {
        if (name) std::memcpy(name, DISPLAY_NAME, sizeof DISPLAY_NAME);
    });
}

void __cdecl On_Start(UINT_PTR, HWND hostWindow, UINT_PTR, UINT_PTR) {
    guardedEntry([&] {
        PluginState& state = pluginState();
        state.hostWindow = hostWindow;
        // A second start must not forget an open window: it would stay on
        // screen with nothing left to close it.
        if (state.setupWindow) closeSetupWindow();
        // The plug-in's own file, whatever it is called: a renamed copy keeps
        // its settings beside itself and not in the host's folder.
        state.modulePath = readModulePath(state.module);
        state.started = true;
    });
}

void __cdecl On_Menu_Select(int command) {
    guardedEntry([&] {
        // Before On_Start there is neither a host window nor a module path,
        // and a settings file would land in whatever folder is current.
        if (!pluginState().started) return;
        if (command == ID_PLUGIN_SETUP) openSetupWindow();
        if (command == ID_PLUGIN_INFO) showInfoPage();
    });
}

void __cdecl On_Exit() {
    guardedEntry([] {
        if (pluginState().setupWindow) closeSetupWindow();
    });
}

}  // extern "C"
