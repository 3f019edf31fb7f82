// Two viewers, each a host process with the plug-in's setup window open on the same settings
// file, edit names at once: first in turns, each viewer swapping rows of its own half of the
// list, then in a burst in which both edit as fast as they can. Every edit must survive: the file
// must end as the replay of all edits in order, and after each edit in turns the viewer's list
// must show the file's names, the other viewer's edits included.
//   two_viewers.exe [turns] [burst] [seed]
//   two_viewers.exe --viewer <plug-in> <events> <half> <turns> <burst> <seed>   (one viewer)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "store/portable_file_store.h"
#include "store/settings_file.h"
#include "tests/common/settings_file_text.h"
#include "host_driver/plugin_module.h"
#include "host_driver/plugin_windows.h"

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;
using Swap = std::pair<int, int>;
constexpr int HALF_ROWS = 30;
constexpr DWORD START_TIMEOUT_MS = 60000;
constexpr DWORD EDIT_TIMEOUT_MS = 20000;

// The swaps of one viewer, all within its half of the list, so that the two viewers' edits
// commute and a burst has one right outcome whatever the order in which they land.
std::vector<Swap> swapsOf(int half, int count, unsigned seed) {
    std::mt19937 random(seed * 2U + static_cast<unsigned>(half));
    std::uniform_int_distribution<int> row(0, HALF_ROWS - 1);
    std::vector<Swap> swaps;
    for (int i = 0; i < count; ++i) {
        const int a = row(random);
        int b = row(random);
        if (b == a) b = (a + 1) % HALF_ROWS;
        swaps.emplace_back(half * HALF_ROWS + a, half * HALF_ROWS + b);
    }
    return swaps;
}

// A file as a user keeps it: a comment and the model, which no edit may touch.
std::string fileHolding(const Names& names) {
    return "; two viewers\r\n" + settingsFileText(names, MOTECK_TYPE);
}

Names storedNames(const std::string& path) {
    PortableFileStore files;
    const SatelliteNameTable table = SettingsFile(path, files).open().names;
    return {table.begin(), table.end()};
}

std::string eventName(const std::string& events, int half, const char* what) {
    return events + "-" + std::to_string(half) + "-" + what;
}

int fail(const std::string& who, const std::string& what) {
    std::fprintf(stderr, "two_viewers %s: %s\n", who.c_str(), what.c_str());
    return 1;
}

int runViewer(char** argv) {
    const std::string pluginPath = argv[0];
    const std::string events = argv[1];
    const int half = std::atoi(argv[2]);
    const int turns = std::atoi(argv[3]);
    const int burst = std::atoi(argv[4]);
    const auto seed = static_cast<unsigned>(std::strtoul(argv[5], nullptr, 10));
    const std::string who = "viewer " + std::to_string(half);
    const std::string settings = fs::path(pluginPath).replace_extension("ini").string();

    const HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, eventName(events, half, "go").c_str());
    const HANDLE done =
        OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName(events, half, "done").c_str());
    const HANDLE together = OpenEventA(SYNCHRONIZE, FALSE, (events + "-burst").c_str());
    if (!go || !done || !together) return fail(who, "no events");
    PluginModule plugin;
    std::string error;
    if (!plugin.load(pluginPath, error)) return fail(who, error);
    plugin.start(createSilentHost());
    plugin.menuSelect(ID_PLUGIN_SETUP);
    const HWND setup = findDialog(SETUP_CAPTION);
    if (!setup) return fail(who, "the setup window did not open");
    const HWND list = GetDlgItem(setup, IDC_SAT_LIST);
    const auto swapRows = [&](const Swap& swap) {
        // What the list sends when a row is dropped onto another, then posts.
        SendMessageA(setup, WM_SATLIST_SWAP, static_cast<WPARAM>(swap.first),
                     static_cast<LPARAM>(swap.second));
        SendMessageA(setup, WM_SATLIST_CHANGED, 0, 0);
    };
    SetEvent(done);

    const std::vector<Swap> swaps = swapsOf(half, turns + burst, seed);
    for (int turn = 0; turn < turns; ++turn) {
        if (WaitForSingleObject(go, EDIT_TIMEOUT_MS) != WAIT_OBJECT_0)
            return fail(who, "no turn " + std::to_string(turn));
        swapRows(swaps[static_cast<std::size_t>(turn)]);
        const Names stored = storedNames(settings);
        for (int row = 0; row < static_cast<int>(stored.size()); ++row) {
            const std::string shown = listCellText(list, row, 0);
            if (shown != stored[static_cast<std::size_t>(row)])
                return fail(who, "after turn " + std::to_string(turn) + " row " +
                                     std::to_string(row) + " shows \"" + shown +
                                     "\", the file holds \"" +
                                     stored[static_cast<std::size_t>(row)] + "\"");
        }
        SetEvent(done);
    }
    if (WaitForSingleObject(together, EDIT_TIMEOUT_MS) != WAIT_OBJECT_0)
        return fail(who, "no burst");
    for (int i = turns; i < turns + burst; ++i) swapRows(swaps[static_cast<std::size_t>(i)]);
    plugin.exit();
    return 0;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 8 && std::string(argv[1]) == "--viewer") return runViewer(argv + 2);
    const int turns = argc > 1 ? std::atoi(argv[1]) : 30;
    const int burst = argc > 2 ? std::atoi(argv[2]) : 30;
    const unsigned seed =
        argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : GetTickCount();
    std::printf(
        "two_viewers: %d turns and a burst of %d each, seed %u (repeat with: "
        "two_viewers %d %d %u)\n",
        turns, burst, seed, turns, burst, seed);

    const std::string events = "diseqc-two-viewers-" + std::to_string(GetCurrentProcessId());
    const fs::path folder = fs::temp_directory_path() / events;
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path plugin = folder / "diseqc.dll";
    const fs::path settings = folder / "diseqc.ini";
    fs::copy_file(builtPluginPath(), plugin);
    Names names;
    for (int i = 0; i < 2 * HALF_ROWS; ++i)
        names.push_back("Own " + std::to_string(i + 1) + " \xB0");
    std::ofstream(settings, std::ios::binary) << fileHolding(names);

    HANDLE go[2];
    HANDLE done[2];
    for (int half = 0; half < 2; ++half) {
        go[half] = CreateEventA(nullptr, FALSE, FALSE, eventName(events, half, "go").c_str());
        done[half] = CreateEventA(nullptr, FALSE, FALSE, eventName(events, half, "done").c_str());
    }
    const HANDLE together = CreateEventA(nullptr, TRUE, FALSE, (events + "-burst").c_str());

    PROCESS_INFORMATION viewers[2]{};
    const auto stopViewers = [&] {
        for (const PROCESS_INFORMATION& viewer : viewers)
            if (viewer.hProcess) TerminateProcess(viewer.hProcess, 99);
    };
    for (int half = 0; half < 2; ++half) {
        std::string command = quoted(binDirectory() + "two_viewers.exe") + " --viewer " +
                              quoted(plugin.string()) + " " + events + " " + std::to_string(half) +
                              " " + std::to_string(turns) + " " + std::to_string(burst) + " " +
                              std::to_string(seed);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &viewers[half])) {
            stopViewers();
            return fail("judge", "cannot start a viewer: " + describeWin32Error(GetLastError()));
        }
    }
    for (int half = 0; half < 2; ++half) {
        if (WaitForSingleObject(done[half], START_TIMEOUT_MS) != WAIT_OBJECT_0) {
            stopViewers();
            return fail("judge", "viewer " + std::to_string(half) + " did not open its window");
        }
    }

    for (int turn = 0; turn < turns; ++turn) {
        for (int half = 0; half < 2; ++half) {
            SetEvent(go[half]);
            const HANDLE waited[2] = {done[half], viewers[half].hProcess};
            if (WaitForMultipleObjects(2, waited, FALSE, EDIT_TIMEOUT_MS) != WAIT_OBJECT_0) {
                stopViewers();
                return fail("judge", "viewer " + std::to_string(half) + " ended or hung in turn " +
                                         std::to_string(turn));
            }
        }
    }
    SetEvent(together);
    int status = 0;
    for (int half = 0; half < 2; ++half) {
        DWORD code = 0;
        if (WaitForSingleObject(viewers[half].hProcess, START_TIMEOUT_MS) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(viewers[half].hProcess, &code) || code != 0) {
            stopViewers();
            status = fail("judge", "viewer " + std::to_string(half) + " failed");
        }
    }
    if (status != 0) return status;

    for (int half = 0; half < 2; ++half)
        for (const Swap& swap : swapsOf(half, turns + burst, seed))
            std::swap(names[static_cast<std::size_t>(swap.first)],
                      names[static_cast<std::size_t>(swap.second)]);
    std::ifstream in(settings, std::ios::binary);
    const std::string held((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    if (held != fileHolding(names)) {
        const Names stored = storedNames(settings.string());
        for (std::size_t i = 0; i < names.size(); ++i)
            if (stored[i] != names[i])
                std::fprintf(stderr, "POS%zu: the file holds \"%s\", the replay \"%s\"\n", i + 1,
                             stored[i].c_str(), names[i].c_str());
        return fail("judge", "the file differs from the replay of every edit");
    }
    fs::remove_all(folder);
    std::printf("two_viewers: %d edits by two viewers, every one in the file\n",
                2 * (turns + burst));
    return 0;
}
