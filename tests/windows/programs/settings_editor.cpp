// A host that loads the plug-in, opens its setup window and swaps rows of the
// satellite list in a loop until it is killed, as a user's drags would, each
// through the window's own handlers down to the settings file. After each
// swap it clicks one of the buttons that move the dish, so that a kill may
// also come while the plug-in keeps the dish's state.
//   settings_editor.exe <plug-in> <journal> <event> <seed>
// Before each swap it appends "a b" to the journal and makes sure the line is
// written, so whoever kills it knows which edit may have been under way. The
// named event is set once the first swap is about to start.
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>

#include <windows.h>

#include "res/resource_ids.h"
#include "host_driver/plugin_module.h"
#include "host_driver/plugin_windows.h"

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: settings_editor <plug-in> <journal> <event> <seed>\n");
        return 2;
    }
    PluginModule plugin;
    std::string error;
    if (!plugin.load(argv[1], error)) {
        std::fprintf(stderr, "settings_editor: %s\n", error.c_str());
        return 1;
    }
    const HANDLE journal = CreateFileA(argv[2], GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (journal == INVALID_HANDLE_VALUE || !started) {
        std::fprintf(stderr, "settings_editor: no journal or event: %s\n",
                     describeWin32Error(GetLastError()).c_str());
        return 1;
    }

    const HWND host = createSilentHost();
    plugin.start(host);
    plugin.menuSelect(ID_PLUGIN_SETUP);
    const HWND setup = findDialog(SETUP_CAPTION);
    if (!setup) {
        std::fprintf(stderr, "settings_editor: the setup window did not open\n");
        return 1;
    }

    std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)));
    std::uniform_int_distribution<int> row(0, 59);
    // The commands that need no answer to a question.
    constexpr int DISH_BUTTONS[] = {IDC_REFERENCE, IDC_GOTO, IDC_STORE, IDC_STEP_EAST,
                                    IDC_STEP_WEST};
    std::uniform_int_distribution<std::size_t> button(0, std::size(DISH_BUTTONS) - 1);
    SetEvent(started);
    for (;;) {
        const int a = row(random);
        int b = row(random);
        if (b == a) b = (a + 1) % 60;
        char line[16];
        const int length = std::snprintf(line, sizeof line, "%d %d\n", a, b);
        DWORD written = 0;
        if (!WriteFile(journal, line, static_cast<DWORD>(length), &written, nullptr) ||
            written != static_cast<DWORD>(length)) {
            return 1;
        }
        SendMessageA(setup, WM_SATLIST_SWAP, static_cast<WPARAM>(a), static_cast<LPARAM>(b));
        SendMessageA(setup, WM_SATLIST_CHANGED, 0, 0);
        SendMessageA(setup, WM_COMMAND, MAKEWPARAM(DISH_BUTTONS[button(random)], BN_CLICKED), 0);
    }
}
