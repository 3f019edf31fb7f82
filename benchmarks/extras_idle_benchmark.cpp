// Not a test: what the extras window costs while it is open, with the dish at
// rest and while it moves. It prints the processor time the whole host used
// and how many timer messages reached the extras window, per second.
//   extras_idle_benchmark [seconds]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include "dish/dish_model.h"
#include "dish/dish_record.h"
#include "host_driver/message_hook.h"
#include "host_driver/message_pump.h"
#include "host_driver/plugin_module.h"
#include "host_driver/plugin_windows.h"
#include "positioner/positioner_model.h"
#include "res/resource_ids.h"
#include "win/wall_clock.h"

namespace {

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "extras_idle_benchmark: %s\n", why.c_str());
    std::exit(1);
}

double processorSeconds() {
    FILETIME created{};
    FILETIME ended{};
    FILETIME kernel{};
    FILETIME user{};
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

// Lets the host run as a viewer's loop would, for `ms` of the wall clock.
void runFor(double ms) {
    const double end = wallClockMs() + ms;
    for (double now = wallClockMs(); now < end; now = wallClockMs()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now) + 1,
                                  QS_ALLINPUT);
        pumpMessages();
    }
}

struct Measure {
    double cpuPercent;
    double timersPerSecond;
};

Measure measure(HWND extras, double seconds) {
    int timers = 0;
    const RetrievalHook watch([&](MSG& message, bool removed) {
        if (removed && message.message == WM_TIMER && message.hwnd == extras) ++timers;
    });
    const double cpuBefore = processorSeconds();
    runFor(seconds * 1000.0);
    return {100.0 * (processorSeconds() - cpuBefore) / seconds, timers / seconds};
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "diseqc-extras-idle\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string plugin = folder + "diseqc.dll";
    if (!CopyFileA(builtPluginPath().c_str(), plugin.c_str(), FALSE))
        fail("cannot copy the plug-in");
    DeleteFileA((folder + "diseqc.ini").c_str());

    // A dish that set off from the reference just now, for 12 degrees on the Moteck: about
    // 6 s of motion, then rest.
    DishModel dish = DishModel::atReference(MOTECK_SPEED);
    const double start = wallClockMs();
    dish.apply(start, std::vector<std::uint8_t>{0xE0, 0x31, 0x6E, 0xE0, 0xC0});
    const double motionSeconds = (dish.endMs() - start) / 1000.0;
    const std::string record = encodeDishRecord(dish);
    const HANDLE state = CreateFileA((folder + "diseqc.dish").c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (state == INVALID_HANDLE_VALUE ||
        !WriteFile(state, record.data(), static_cast<DWORD>(record.size()), &written, nullptr)) {
        fail("cannot write the dish's state file");
    }
    CloseHandle(state);

    PluginModule module;
    std::string error;
    if (!module.load(plugin, error)) fail(error);
    const HWND host = createSilentHost();
    module.start(host);
    module.menuSelect(ID_PLUGIN_SETUP);
    const HWND setup = findDialog(SETUP_CAPTION);
    if (!setup) fail("the setup window did not open");
    SendMessageA(setup, WM_SYSCOMMAND, IDM_EXTRAS, 0);
    const HWND extras = findDialog(EXTRAS_CAPTION);
    if (!extras) fail("the extras window did not open");

    std::printf(
        "%s; the extras window open, %.1f s a phase\n",
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") ? "Wine" : "Windows",
        seconds);
    const double moving = std::min(seconds, motionSeconds - 0.5);
    const Measure turning = measure(extras, moving);
    std::printf("dish moving (%.1f s):  %5.2f %% processor, %5.1f timer messages a second\n",
                moving, turning.cpuPercent, turning.timersPerSecond);
    runFor((start + motionSeconds * 1000.0 - wallClockMs()) + 500.0);
    std::printf("status once at rest: %s\n", dialogItemText(extras, IDC_DISH_STATUS).c_str());
    const Measure idle = measure(extras, seconds);
    std::printf("dish at rest (%.1f s): %5.2f %% processor, %5.1f timer messages a second\n",
                seconds, idle.cpuPercent, idle.timersPerSecond);

    DestroyWindow(setup);
    pumpMessages();
    module.exit();
    module.unload();
    DestroyWindow(host);
    return 0;
}
