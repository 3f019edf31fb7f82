// Measures, in one run, what the user waits for in the setup window, each
// beside the platform's own floor for the same work done by a bare dialog
// procedure on the plug-in's own template (benchmarks/bare_setup_windows.h):
//   - opening, from menu command 40008 until the window is painted and the
//     queue idle, against the empty template and the template filled with the
//     same rows and picker entries; warm (the same process again and again)
//     and cold (the first opening in a fresh process);
//   - a real click (SendInput) on Step West until the host has the command,
//     against the same click on a template that forwards it, with the same
//     keyboard hook set;
//   - a list edit (a drag that swaps two rows, timed from the release) until
//     the settings file is written, against one whole-file write of the same
//     bytes, and against the same bytes replacing a file the plug-in's way;
//   - the time the thread is busy per tick of a timed drive, against a bare
//     timer that shows the same indicator frames.
// Plug-in and floor alternate which goes first. Every figure is a median. A
// measured event that never happens (no window, no paint, no command at the
// host, no file written, no tick) ends the run with a message and exit code 2.
//
// Usage: setup_window_benchmark.exe [iterations] [plug-in]
// (under Wine with a display, or on Windows; the plug-in is the one built
// beside it unless another is named, so that two versions can be compared)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "benchmarks/bare_setup_windows.h"
#include "positioner/motion_tracker.h"
#include "positioner/positioner_model.h"
#include "res/resource_ids.h"
#include "store/win32_file_store.h"
#include "host_driver/input_delivery.h"
#include "host_driver/list_pointer.h"
#include "host_driver/message_pump.h"
#include "host_driver/plugin_module.h"
#include "host_driver/plugin_windows.h"

namespace {

constexpr DWORD EVENT_BOUND_MS = 5000;
constexpr DWORD QUIET_MS = 50;
constexpr int COLD_RUNS = 10;
constexpr int DRIVES = 2;
constexpr std::uint16_t DRIVE_DEGREES = 2;
constexpr char COLD_SWITCH[] = "--cold";

LARGE_INTEGER frequency;
LONGLONG receivedAt = 0;
WPARAM receivedCode = 0;

LONGLONG now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double microseconds(LONGLONG ticks) {
    return 1e6 * double(ticks) / double(frequency.QuadPart);
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "BENCHMARK FAILED: %s\n", what.c_str());
    std::fflush(stdout);
    std::exit(2);
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        receivedAt = now();
        receivedCode = wParam;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createHost() {
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = hostProcedure;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.lpszClassName = "BenchmarkHost";
    RegisterClassA(&hostClass);
    return CreateWindowA("BenchmarkHost", "Benchmark host", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200,
                         nullptr, nullptr, hostClass.hInstance, nullptr);
}

// Dispatches until `done` holds or the bound has passed; false then.
template <class Done>
bool pumpUntil(Done&& done, DWORD boundMs = EVENT_BOUND_MS) {
    const DWORD start = GetTickCount();
    MSG message;
    while (!done()) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= boundMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, boundMs - spent, QS_ALLINPUT);
    }
    return true;
}

// Lets whatever the last action set off arrive and be handled: returns once
// nothing has come for a while.
void settle() {
    pumpMessages();
    while (MsgWaitForMultipleObjects(0, nullptr, FALSE, QUIET_MS, QS_ALLINPUT) == WAIT_OBJECT_0)
        pumpMessages();
}

bool painted(HWND window) {
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return false;
    return true;
}

int listRows(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageA(dialog, IDC_SAT_LIST, LVM_GETITEMCOUNT, 0, 0));
}

double median(std::vector<double> values) {
    if (values.empty()) fail("no samples");
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* what, const std::vector<double>& measured, const char* floorName,
            const std::vector<double>& floor) {
    const double m = median(measured);
    const double f = median(floor);
    std::printf("%-40s %10.1f us   %-28s %10.1f us   ratio %5.2f\n", what, m, floorName, f, m / f);
}

// One opening: the time until the window's start-up has run, and until it
// is painted with nothing left in the queue.
struct Opening {
    double initialised;
    double painted;
    HWND window;
};

template <class Open>
Opening timeOpening(const char* what, Open&& open) {
    const LONGLONG before = now();
    HWND window = open();
    const LONGLONG initialised = now();
    pumpMessages();
    const LONGLONG idle = now();
    if (!window) fail(std::string(what) + ": no window was made");
    if (!painted(window)) fail(std::string(what) + ": the window is not shown and painted");
    return {microseconds(initialised - before), microseconds(idle - before), window};
}

Opening openPlugin(const PluginModule& module) {
    return timeOpening("menu 40008", [&] {
        module.menuSelect(ID_PLUGIN_SETUP);
        return findDialog(SETUP_CAPTION);
    });
}

void closePlugin(const PluginModule& module) {
    module.exit();
    pumpMessages();
    if (findDialog(SETUP_CAPTION)) fail("On_Exit left the setup window open");
}

void checkFilled(HWND dialog, const char* what) {
    if (listRows(dialog) != 60) fail(std::string(what) + ": the list does not hold 60 rows");
}

// The first opening in this process, written to `result`: run by the
// benchmark itself in a fresh process for each cold figure.
int coldOpening(const std::string& which, const std::string& plugin, const std::string& result) {
    HWND host = createHost();
    PluginModule module;
    std::string error;
    if (!module.load(plugin, error)) fail(error);
    module.start(host);
    double painted = 0;
    if (which == "plugin") {
        const Opening opening = openPlugin(module);
        checkFilled(opening.window, "cold plug-in");
        painted = opening.painted;
        closePlugin(module);
    } else {
        const Opening opening = timeOpening("cold filled template", [&] {
            INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
            InitCommonControlsEx(&classes);
            return openFilledTemplate(module.module());
        });
        checkFilled(opening.window, "cold filled template");
        painted = opening.painted;
        closeBareWindow(opening.window);
    }
    module.exit();
    module.unload();
    DestroyWindow(host);
    FILE* out = std::fopen(result.c_str(), "w");
    if (!out) fail("cannot write " + result);
    std::fprintf(out, "%.1f\n", painted);
    std::fclose(out);
    return 0;
}

double coldRun(const std::string& which, const std::string& plugin, const std::string& folder) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string result = folder + "cold.txt";
    DeleteFileA(result.c_str());
    std::string command = std::string("\"") + self + "\" " + COLD_SWITCH + " " + which + " \"" +
                          plugin + "\" \"" + result + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        fail("cannot start " + command);
    const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (waited != WAIT_OBJECT_0 || code != 0) fail("cold opening (" + which + ") did not finish");
    double value = 0;
    FILE* in = std::fopen(result.c_str(), "r");
    if (!in || std::fscanf(in, "%lf", &value) != 1) fail("cold opening (" + which + "): no figure");
    std::fclose(in);
    return value;
}

// Brings `dialog` forward and rests the pointer on the middle of its control
// `id`, so that the timed input is the click alone.
POINT aimAt(HWND dialog, int id) {
    SetForegroundWindow(dialog);
    RECT button{};
    GetWindowRect(GetDlgItem(dialog, id), &button);
    const POINT at{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    for (int attempt = 0; attempt < 5; ++attempt) {
        INPUT move = moveInput(at);
        SendInput(1, &move, sizeof move);
        settle();
        POINT cursor{};
        GetCursorPos(&cursor);
        if (cursor.x == at.x && cursor.y == at.y && GetForegroundWindow() == dialog) return at;
    }
    fail("the pointer does not stay on the button, or the window does not come forward");
}

double timeClick(WPARAM expectedCode, const char* what) {
    INPUT click[2] = {mouseInput(MOUSEEVENTF_LEFTDOWN), mouseInput(MOUSEEVENTF_LEFTUP)};
    receivedAt = 0;
    receivedCode = 0;
    const LONGLONG before = now();
    if (SendInput(2, click, sizeof(INPUT)) != 2) fail("SendInput refused the click");
    if (!pumpUntil([] { return receivedAt != 0; }))
        fail(std::string(what) + ": the host never received the command");
    if ((receivedCode == BARE_COMMAND) != (expectedCode == BARE_COMMAND))
        fail(std::string(what) + ": the command came from the other window");
    const double spent = microseconds(receivedAt - before);
    settle();
    return spent;
}

void moveTopLeft(HWND window, int top) {
    SetWindowPos(window, HWND_TOPMOST, 0, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

std::string fileBytes(const std::string& path) {
    std::string bytes;
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return bytes;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
        bytes.append(buffer, n);
    std::fclose(in);
    return bytes;
}

FILETIME lastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool sameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

double timeWholeFileWrite(const std::string& path, const std::string& bytes) {
    const LONGLONG before = now();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const BOOL ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    const LONGLONG after = now();
    if (!ok) fail("the floor's whole-file write failed");
    return microseconds(after - before);
}

// A drag of row `from` onto row `to`, timed from the release of the button
// until the settings file has been replaced. Pressing where the last press
// was would make a double-click, which asks for a name: successive drags
// start from alternate rows.
double timeListEdit(Pointer& pointer, HWND dialog, const std::string& settings, int from, int to) {
    HWND list = GetDlgItem(dialog, IDC_SAT_LIST);
    const std::string dragged = listCellText(list, from, 0);
    const std::string target = listCellText(list, to, 0);
    const std::string problem =
        pointer.perform({press(MouseButton::Left, from), pull(from), moveTo(to)});
    if (!problem.empty()) fail("drag: " + problem);
    const FILETIME before = lastWrite(settings);
    INPUT release = mouseInput(MOUSEEVENTF_LEFTUP);
    const LONGLONG start = now();
    if (SendInput(1, &release, sizeof release) != 1) fail("SendInput refused the release");
    LONGLONG written = 0;
    const bool saved = pumpUntil([&] {
        if (sameTime(lastWrite(settings), before)) return false;
        written = now();
        return true;
    });
    if (!saved) fail("the list edit never wrote the settings file");
    settle();
    if (listCellText(list, from, 0) != target || listCellText(list, to, 0) != dragged)
        fail("the drag did not swap the two rows");
    const std::string bytes = fileBytes(settings);
    if (bytes.find("POS" + std::to_string(from + 1) + "=" + target + "\r\n") == std::string::npos ||
        bytes.find("POS" + std::to_string(to + 1) + "=" + dragged + "\r\n") == std::string::npos)
        fail("the settings file does not hold the swapped names");
    return microseconds(written - start);
}

// Runs a drive until `ended`, and adds to `perTick` the time the thread was
// busy (not waiting for a message) between one tick of `window`'s drive timer
// and the next. Also adds the process's CPU time and the ticks seen.
template <class Ended>
void timeDrive(HWND window, Ended&& ended, std::vector<double>& perTick, double& processCpu,
               int& ticks) {
    FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelBefore, &userBefore);
    LONGLONG busy = 0;
    bool ticking = false;
    int seen = 0;
    const DWORD start = GetTickCount();
    MSG message;
    while (!ended()) {
        if (GetTickCount() - start > 60000) fail("the drive never ended");
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        const LONGLONG woken = now();
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.hwnd == window &&
                message.wParam == MOTION_TIMER_ID) {
                if (ticking) perTick.push_back(microseconds(busy));
                busy = 0;
                ticking = true;
                ++seen;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        busy += now() - woken;
    }
    if (ticking) perTick.push_back(microseconds(busy));
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelAfter, &userAfter);
    auto hundredNs = [](const FILETIME& t) {
        return static_cast<double>((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime);
    };
    processCpu += (hundredNs(kernelAfter) - hundredNs(kernelBefore) + hundredNs(userAfter) -
                   hundredNs(userBefore)) /
                  10.0;
    ticks += seen;
    if (seen == 0) fail("the drive timer never ticked");
}

bool unlocked(HWND dialog) {
    return IsWindowEnabled(GetDlgItem(dialog, IDC_DRIVE_WEST)) != FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    QueryPerformanceFrequency(&frequency);
    if (argc == 5 && std::string(argv[1]) == COLD_SWITCH)
        return coldOpening(argv[2], argv[3], argv[4]);
    const int iterations = argc > 1 ? std::max(5, std::atoi(argv[1])) : 30;

    // A folder of its own, so the settings file the plug-in creates is ours.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "diseqc-benchmark\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string built = argc > 2 ? argv[2] : builtPluginPath();
    const std::string plugin = folder + "diseqc.dll";
    const std::string settings = folder + "diseqc.ini";
    DeleteFileA(settings.c_str());
    if (!CopyFileA(built.c_str(), plugin.c_str(), FALSE)) fail("cannot copy " + built);

    HWND host = createHost();
    PluginModule module;
    std::string error;
    if (!module.load(plugin, error)) fail(error);
    module.start(host);
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);

    std::printf(
        "%s, %d iterations; clock: QueryPerformanceCounter at %lld Hz (%.1f ns a tick)\n",
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") ? "Wine" : "Windows",
        iterations, frequency.QuadPart, 1e9 / double(frequency.QuadPart));

    // Opening, warm. The first opening of each kind is not counted: it is cold.
    std::vector<double> openInit, openPainted, emptyPainted, filledInit, filledPainted;
    for (int i = -1; i < iterations; ++i) {
        for (int turn = 0; turn < 3; ++turn) {
            switch ((turn + (i & 1)) % 3) {
                case 0: {
                    const Opening o = openPlugin(module);
                    checkFilled(o.window, "plug-in");
                    closePlugin(module);
                    if (i < 0) break;
                    openInit.push_back(o.initialised);
                    openPainted.push_back(o.painted);
                    break;
                }
                case 1: {
                    const Opening o = timeOpening(
                        "empty template", [&] { return openEmptyTemplate(module.module()); });
                    closeBareWindow(o.window);
                    pumpMessages();
                    if (i >= 0) emptyPainted.push_back(o.painted);
                    break;
                }
                default: {
                    const Opening o = timeOpening(
                        "filled template", [&] { return openFilledTemplate(module.module()); });
                    checkFilled(o.window, "filled template");
                    closeBareWindow(o.window);
                    pumpMessages();
                    if (i < 0) break;
                    filledInit.push_back(o.initialised);
                    filledPainted.push_back(o.painted);
                    break;
                }
            }
        }
    }

    // Opening, cold: each in a process of its own.
    std::vector<double> coldPlugin, coldFilled;
    for (int i = 0; i < COLD_RUNS; ++i) {
        if (i & 1) coldFilled.push_back(coldRun("filled", plugin, folder));
        coldPlugin.push_back(coldRun("plugin", plugin, folder));
        if (!(i & 1)) coldFilled.push_back(coldRun("filled", plugin, folder));
    }

    // A click through the input queue: the plug-in's window above, the
    // forwarding template below it, each brought forward before its click.
    module.menuSelect(ID_PLUGIN_SETUP);
    HWND setup = findDialog(SETUP_CAPTION);
    if (!setup) fail("the setup window did not open for the click");
    HWND forwarding = openForwardingTemplate(module.module(), host);
    if (!forwarding) fail("no forwarding template");
    RECT frame{};
    GetWindowRect(setup, &frame);
    if (2 * (frame.bottom - frame.top) + 8 > GetSystemMetrics(SM_CYSCREEN))
        fail("the screen is too small for two setup windows");
    moveTopLeft(setup, 0);
    moveTopLeft(forwarding, frame.bottom - frame.top + 8);
    settle();
    std::vector<double> click, clickFloor;
    for (int i = 0; i < iterations; ++i) {
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn + i) % 2 == 0) {
                aimAt(setup, IDC_STEP_WEST);
                click.push_back(timeClick(0, "plug-in click"));
            } else {
                aimAt(forwarding, IDC_STEP_WEST);
                clickFloor.push_back(timeClick(BARE_COMMAND, "forwarding template click"));
            }
        }
    }

    // A timed drive west, and the bare timer beside it for the same ticks.
    const int driveTicks =
        static_cast<int>(MotionTracker::durationMs(DRIVE_DEGREES, speed(PositionerModel::Stab)) /
                         TICK_MS) +
        1;
    std::vector<double> tick, tickFloor;
    double cpu = 0, cpuFloor = 0;
    int ticks = 0, ticksFloor = 0;
    for (int i = 0; i < DRIVES; ++i) {
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn + i) % 2 == 0) {
                SetDlgItemInt(setup, IDC_WEST_DEGREES, DRIVE_DEGREES, FALSE);
                SendMessageA(setup, WM_COMMAND, MAKEWPARAM(IDC_DRIVE_WEST, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(setup, IDC_DRIVE_WEST)));
                if (unlocked(setup)) fail("the drive did not start");
                timeDrive(
                    setup, [&] { return unlocked(setup); }, tick, cpu, ticks);
            } else {
                startBareDrive(forwarding, driveTicks);
                timeDrive(
                    forwarding, [&] { return unlocked(forwarding); }, tickFloor, cpuFloor,
                    ticksFloor);
            }
        }
    }
    closeBareWindow(forwarding);
    pumpMessages();

    // A list edit until the file is written; the floors write the bytes that
    // the last edit wrote: once plainly, and once the way the plug-in replaces
    // its file (a new file beside it, flushed, renamed over the old one).
    const std::string scratch = folder + "floor.ini";
    Win32FileStore files;
    std::vector<double> edit, editFloor, editReplaceFloor;
    {
        moveTopLeft(setup, 0);
        Pointer pointer(setup, GetDlgItem(setup, IDC_SAT_LIST));
        if (!pointer.real()) fail("real mouse input does not reach the list");
        for (int i = 0; i < iterations; ++i) {
            for (int turn = 0; turn < 3; ++turn) {
                switch ((turn + i) % 3) {
                    case 0:
                        edit.push_back(timeListEdit(pointer, setup, settings, i % 2, 1 - i % 2));
                        break;
                    case 1:
                        editFloor.push_back(timeWholeFileWrite(scratch, fileBytes(settings)));
                        break;
                    default: {
                        const std::string bytes = fileBytes(settings);
                        const LONGLONG before = now();
                        if (!files.replace(scratch, bytes)) fail("the floor's replacement failed");
                        editReplaceFloor.push_back(microseconds(now() - before));
                        break;
                    }
                }
            }
        }
    }
    DeleteFileA(scratch.c_str());
    closePlugin(module);

    report("menu 40008 -> painted, idle", openPainted, "empty template", emptyPainted);
    report("menu 40008 -> painted, idle", openPainted, "filled template", filledPainted);
    report("menu 40008 -> initialised", openInit, "filled template", filledInit);
    report("first opening in a process (cold)", coldPlugin, "filled template, cold", coldFilled);
    report("first opening (cold)", coldPlugin, "warm opening", openPainted);
    report("click (SendInput) -> host has command", click, "forwarding template", clickFloor);
    report("list drag released -> file written", edit, "one whole-file write", editFloor);
    report("list drag released -> file written", edit, "flushed file renamed over",
           editReplaceFloor);
    report("drive: busy time per tick", tick, "bare timer", tickFloor);
    std::printf(
        "%-40s %10.1f us   %-28s %10.1f us   (process CPU over %d and %d ticks; "
        "the system counts it coarsely)\n",
        "drive: process CPU per tick", cpu / ticks, "bare timer", cpuFloor / ticksFloor, ticks,
        ticksFloor);

    module.exit();
    module.unload();
    DestroyWindow(host);
    DeleteFileA(settings.c_str());
    DeleteFileA(plugin.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
