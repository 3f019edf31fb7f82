// Opens and closes the setup window, and edits its list, many times over in
// one host process, and checks that the process ends holding what it held at
// the start: windows, GDI and USER objects, kernel handles, private bytes.
//   soak.exe [cycles] [edits]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/resource_counts.h"
#include "host_driver/message_pump.h"
#include "host_driver/modal_script.h"
#include "host_driver/plugin_module.h"
#include "host_driver/plugin_windows.h"

namespace fs = std::filesystem;

namespace {

// Private bytes move with the C runtime's and the window system's own caches;
// a leak of a few hundred bytes per cycle or edit would exceed this after a
// thousand of them.
constexpr SIZE_T PRIVATE_BYTES_SLACK = 256 * 1024;

void print(const char* label, const ProcessResources& counted) {
    std::printf(
        "soak: %-6s windows %ld, GDI objects %ld, USER objects %ld, kernel handles %ld, "
        "private bytes %zu\n",
        label, counted.windows, counted.gui.gdi, counted.gui.user, counted.kernelHandles,
        static_cast<std::size_t>(counted.privateBytes));
}

bool sameCounts(const char* phase, const ProcessResources& start, const ProcessResources& end) {
    print("start", start);
    print("end", end);
    const bool same = end.windows == start.windows && end.gui.gdi == start.gui.gdi &&
                      end.gui.user == start.gui.user && end.kernelHandles == start.kernelHandles &&
                      end.privateBytes <= start.privateBytes + PRIVATE_BYTES_SLACK;
    std::printf("soak: %s %s (slack: none for objects and handles, %zu private bytes)\n", phase,
                same ? "ended where it started" : "FAILED: ended holding more than at its start",
                static_cast<std::size_t>(PRIVATE_BYTES_SLACK));
    return same;
}

class Soak {
  public:
    explicit Soak(PluginModule& plugin) : plugin_(plugin), host_(createSilentHost()) {
        plugin_.start(host_);
    }

    HWND open() {
        plugin_.menuSelect(ID_PLUGIN_SETUP);
        return findDialog(SETUP_CAPTION);
    }

    // Everything the window owns comes and goes once: a drive shows a frame,
    // the about box opens, and the window is closed by its button or by the
    // host stopping the plug-in.
    bool cycle(int round) {
        const HWND setup = open();
        if (!setup) return false;
        clickButton(setup, IDC_DRIVE_EAST);
        SendMessageA(setup, WM_TIMER, MOTION_TIMER_ID, 0);
        clickButton(setup, IDC_STOP);
        ModalScript about;
        about.when(ABOUT_CAPTION, [](HWND box) { clickButton(box, IDOK); });
        if (!about.runDuring([&] { SendMessageA(setup, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }))
            return false;
        if (round % 2 == 0) {
            clickButton(setup, IDC_CLOSE);
        } else {
            plugin_.exit();
            plugin_.start(host_);
        }
        pumpMessages();
        return findDialog(SETUP_CAPTION) == nullptr;
    }

    // Swaps names, switches the model: each edit writes the settings file.
    bool edit(HWND setup, int round) {
        const int a = round % 60;
        const int b = (round * 7 + 3) % 60;
        SendMessageA(setup, WM_SATLIST_SWAP, static_cast<WPARAM>(a), static_cast<LPARAM>(b));
        SendMessageA(setup, WM_SATLIST_CHANGED, 0, 0);
        if (round % 10 == 0)
            clickButton(setup, round % 20 == 0 ? IDC_MODEL_MOTECK : IDC_MODEL_STAB);
        pumpMessages();
        return IsWindow(setup) != FALSE;
    }

    void stop() { plugin_.exit(); }

  private:
    PluginModule& plugin_;
    HWND host_;
};

}  // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int edits = argc > 2 ? std::atoi(argv[2]) : 1000;
    const fs::path folder =
        fs::temp_directory_path() / ("diseqc-soak-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path copy = folder / "diseqc.dll";
    fs::copy_file(builtPluginPath(), copy);

    PluginModule plugin;
    std::string error;
    if (!plugin.load(copy.string(), error)) {
        std::printf("soak: FAILED to load the plug-in: %s\n", error.c_str());
        return 1;
    }
    bool passed = true;
    {
        Soak soak(plugin);
        // The first round loads what the window system keeps for the process
        // (classes, fonts, shared icons); counting starts after it.
        if (!soak.cycle(0)) return 1;
        ProcessResources start = processResources();
        for (int round = 1; round <= cycles; ++round) {
            if (!soak.cycle(round)) {
                std::printf("soak: FAILED: cycle %d did not open and close the window\n", round);
                return 1;
            }
        }
        std::printf("soak: %d open and close cycles\n", cycles);
        passed = sameCounts("open and close", start, processResources()) && passed;

        const HWND setup = soak.open();
        if (!setup || !soak.edit(setup, 0)) return 1;
        start = processResources();
        for (int round = 1; round <= edits; ++round) {
            if (!soak.edit(setup, round)) {
                std::printf("soak: FAILED: the window went away at edit %d\n", round);
                return 1;
            }
        }
        std::printf("soak: %d list edits, each written to the settings file\n", edits);
        passed = sameCounts("list edits", start, processResources()) && passed;
        soak.stop();
    }
    plugin.unload();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return passed ? 0 : 1;
}
