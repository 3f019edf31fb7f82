// Measures, in one run, how long the plug-in takes to open its setup window,
// to save the names after a list edit, and to hand a clicked command to the
// host, each beside the platform's own floor for the same work: creating the
// same template with an empty dialog procedure, one whole-section write of the
// 60 names with the Win32 profile functions, and a bare SendMessage to the
// host window.
//
// Usage: setup_window_benchmark.exe [iterations] [plug-in]
// (run it under Wine or on Windows; the plug-in is the one built beside it
// unless another is named, so that two versions can be compared)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "res/resource_ids.h"
#include "workbench/message_pump.h"
#include "workbench/plugin_module.h"
#include "workbench/plugin_windows.h"

namespace {

LARGE_INTEGER frequency;
LONGLONG receivedAt = 0;

LONGLONG now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double microseconds(LONGLONG ticks) {
    return 1e6 * double(ticks) / double(frequency.QuadPart);
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        receivedAt = now();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK emptyDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* what, const std::vector<double>& measured,
            const std::vector<double>& floor) {
    const double m = median(measured);
    const double f = median(floor);
    std::printf("%-34s median %9.1f us   platform floor %9.1f us   ratio %6.2f\n", what, m, f,
                m / f);
}

}  // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::max(5, std::atoi(argv[1])) : 50;
    QueryPerformanceFrequency(&frequency);

    // A folder of its own, so the settings file the plug-in creates is ours.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "diseqc-benchmark\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string built = argc > 2 ? argv[2] : builtPluginPath();
    const std::string plugin = folder + "diseqc.dll";
    if (!CopyFileA(built.c_str(), plugin.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy %s\n", built.c_str());
        return 1;
    }

    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = hostProcedure;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.lpszClassName = "BenchmarkHost";
    RegisterClassA(&hostClass);
    HWND host = CreateWindowA("BenchmarkHost", "Benchmark host", WS_OVERLAPPEDWINDOW, 0, 0, 320,
                              200, nullptr, nullptr, hostClass.hInstance, nullptr);

    PluginModule module;
    std::string error;
    if (!module.load(plugin, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    module.start(host);
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);

    std::vector<double> open, openFloor, click, sendFloor;
    for (int i = 0; i < iterations; ++i) {
        LONGLONG before = now();
        module.menuSelect(ID_PLUGIN_SETUP);  // returns once the window has run its whole start-up
        open.push_back(microseconds(now() - before));
        module.exit();
        pumpMessages();

        before = now();
        HWND bare = CreateDialogParamA(module.module(), MAKEINTRESOURCEA(IDD_POSITIONER_SETUP),
                                       nullptr, emptyDialog, 0);
        openFloor.push_back(microseconds(now() - before));
        DestroyWindow(bare);
        pumpMessages();
    }

    module.menuSelect(ID_PLUGIN_SETUP);
    HWND setup = findDialog(SETUP_CAPTION);

    // The edit's own work: the names are saved once the list reports an edit.
    const std::string scratch = folder + "floor.ini";
    CopyFileA((folder + "diseqc.ini").c_str(), scratch.c_str(), FALSE);
    std::string section;
    for (int position = 1; position <= 60; ++position) {
        section += "POS" + std::to_string(position) + "=Satellite " + std::to_string(position);
        section.push_back('\0');
    }
    section.push_back('\0');
    std::vector<double> edit, editFloor;
    for (int i = 0; i < iterations; ++i) {
        LONGLONG before = now();
        SendMessageA(setup, WM_SATLIST_CHANGED, 0, 0);
        edit.push_back(microseconds(now() - before));

        before = now();
        WritePrivateProfileSectionA("SATELLITE NAMES", section.c_str(), scratch.c_str());
        editFloor.push_back(microseconds(now() - before));
    }
    DeleteFileA(scratch.c_str());

    HWND stepWest = GetDlgItem(setup, IDC_STEP_WEST);
    for (int i = 0; i < iterations * 4; ++i) {
        LONGLONG before = now();
        SendMessageA(setup, WM_COMMAND, MAKEWPARAM(IDC_STEP_WEST, BN_CLICKED),
                     reinterpret_cast<LPARAM>(stepWest));
        click.push_back(microseconds(receivedAt - before));

        before = now();
        SendMessageA(host, WM_USER, 0, 0);
        sendFloor.push_back(microseconds(receivedAt - before));
    }
    module.exit();
    pumpMessages();

    std::printf(
        "%d iterations under %s\n", iterations,
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") ? "Wine" : "Windows");
    report("menu 40008 -> window initialised", open, openFloor);
    report("list edit -> names saved", edit, editFloor);
    report("click -> host receives command", click, sendFloor);

    module.unload();
    DestroyWindow(host);
    DeleteFileA((folder + "diseqc.ini").c_str());
    DeleteFileA(plugin.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
