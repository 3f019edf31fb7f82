#include <algorithm>
#include <exception>

#include "host/host_messages.h"
#include "workbench/tour.h"
#include "workbench/workbench.h"

namespace {

constexpr const char* WINDOW_CLASS = "DiSEqCWorkbenchWindow";
constexpr const char* WINDOW_TITLE = "DiSEqC Workbench";
constexpr int STATUS_HEIGHT = 22;
constexpr int DIAL_WIDTH = 300;

// Far below the ids a plug-in menu uses, so that the two never meet.
constexpr UINT ID_FILE_EXIT = 100;

Workbench* workbenchOf(HWND window) {
    return reinterpret_cast<Workbench*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HMENU createMenuBar(Workbench& workbench) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, ID_FILE_EXIT, "E&xit");
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file), "&File");
    workbench.pluginPopup = CreatePopupMenu();
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(workbench.pluginPopup),
                "&Plug-in");
    return bar;
}

void createChildren(Workbench& workbench, HWND window) {
    const auto instance = GetModuleHandleA(nullptr);
    workbench.status = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP,
                                       0, 0, 0, 0, window, nullptr, instance, nullptr);
    // A wide list box, so that the log's UTF-8 shows whatever the code page.
    workbench.list =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0,
                        0, 0, window, nullptr, instance, nullptr);
    workbench.dish.createDial(window);
    SendMessageA(workbench.status, WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // Hex bytes line up in a fixed font.
    SendMessageA(workbench.list, WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), FALSE);
    workbench.log.attach(workbench.list);
}

void layout(Workbench& workbench, int width, int height) {
    MoveWindow(workbench.status, 4, 2, std::max(width - 8, 0), STATUS_HEIGHT - 4, TRUE);
    const int logWidth = std::max(width - DIAL_WIDTH, 0);
    const int below = std::max(height - STATUS_HEIGHT, 0);
    MoveWindow(workbench.list, 0, STATUS_HEIGHT, logWidth, below, TRUE);
    MoveWindow(workbench.dish.dial(), logWidth, STATUS_HEIGHT, width - logWidth, below, TRUE);
}

bool isPluginCommand(const Workbench& workbench, UINT id) {
    const auto& ids = workbench.pluginMenuIds;
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void closeWorkbench(Workbench& workbench) {
    if (!workbench.options.screenshotPath.empty() && !workbench.screenshotAttempted) {
        writeScreenshot(workbench);
    }
    stopPlugin(workbench);
    DestroyWindow(workbench.window);
}

LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    Workbench* workbench = workbenchOf(window);
    if (workbench == nullptr) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
        case WM_CREATE:
            createChildren(*workbench, window);
            return 0;
        case WM_SIZE:
            layout(*workbench, LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_COMMAND: {
            const UINT id = LOWORD(wParam);
            const bool fromMenu = lParam == 0 && HIWORD(wParam) <= 1;
            if (fromMenu && isPluginCommand(*workbench, id)) {
                selectPluginMenu(*workbench, id);
                return 0;
            }
            if (fromMenu && id == ID_FILE_EXIT) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        }
        case HOST_MESSAGE:
            return handleHostMessage(*workbench, wParam, lParam);
        case WM_TIMER:
            if (wParam == Tour::TIMER_ID && workbench->tour) {
                workbench->tour->tick();
                return 0;
            }
            break;
        case WM_CLOSE:
            closeWorkbench(*workbench);
            return 0;
        case WM_DESTROY:
            KillTimer(window, Tour::TIMER_ID);
            // The window may go without WM_CLOSE; the plug-in is stopped either way.
            stopPlugin(*workbench);
            workbench->log.detach();
            workbench->window = nullptr;
            PostQuitMessage(workbench->exitCode);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the system's dispatch code.
    try {
        return handleMessage(window, message, wParam, lParam);
    } catch (const std::exception& e) {
        if (Workbench* workbench = workbenchOf(window)) {
            workbench->log.line(std::string("workbench: internal error: ") + e.what());
            workbench->exitCode = EXIT_RUN_FAULT;
        }
    } catch (...) {
        if (Workbench* workbench = workbenchOf(window)) {
            workbench->log.line("workbench: internal error");
            workbench->exitCode = EXIT_RUN_FAULT;
        }
    }
    return 0;
}

}  // namespace

namespace {

std::optional<PositionerModel> modelOption(const std::string& name) {
    if (name.empty()) return std::nullopt;
    return name == "stab" ? PositionerModel::Stab : PositionerModel::Moteck;
}

}  // namespace

Workbench::Workbench(WorkbenchOptions options)
    : options(std::move(options)),
      dish(modelOption(this->options.model), this->options.tracePath) {}
Workbench::~Workbench() = default;

bool createMainWindow(Workbench& workbench, std::string& error) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WINDOW_CLASS;
    if (RegisterClassExA(&windowClass) == 0) {
        error = "cannot register the window class: " + describeWin32Error(GetLastError());
        return false;
    }

    HMENU menuBar = createMenuBar(workbench);
    HWND window = CreateWindowExA(0, WINDOW_CLASS, WINDOW_TITLE, WS_OVERLAPPEDWINDOW, 0, 0, 960,
                                  460, nullptr, menuBar, instance, &workbench);
    if (window == nullptr) {
        error = "cannot create the main window: " + describeWin32Error(GetLastError());
        DestroyMenu(menuBar);
        workbench.pluginPopup = nullptr;
        return false;
    }
    workbench.window = window;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return true;
}

int runMessageLoop() {
    MSG message{};
    // Deliberately no IsDialogMessage: some viewers do not give the dialog
    // manager a look at their messages, and the plug-in has to live with that.
    for (;;) {
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) return EXIT_RUN_FAULT;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
