#include <algorithm>
#include <cwchar>
#include <exception>

#include "host/host_messages.h"
#include "workbench/workbench.h"

namespace {

constexpr const char* WINDOW_CLASS = "DiSEqCWorkbenchWindow";
constexpr const char* WINDOW_TITLE = "DiSEqC Workbench";
constexpr int STATUS_HEIGHT = 22;
constexpr int DIAL_WIDTH = 300;

// Far below the ids a plug-in menu uses, so that the two never meet.
constexpr UINT ID_FILE_EXIT = 100;

}  // namespace

HMENU Workbench::createMenuBar() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, ID_FILE_EXIT, "E&xit");
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file), "&File");
    pluginPopup_ = CreatePopupMenu();
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(pluginPopup_), "&Plug-in");
    return bar;
}

void Workbench::createChildren(HWND window) {
    const auto instance = GetModuleHandleA(nullptr);
    status_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 0, 0,
                              0, window, nullptr, instance, nullptr);
    // A wide list box, so that the log's UTF-8 shows whatever the code page.
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL,
                            0, 0, 0, 0, window, nullptr, instance, nullptr);
    dish_.createDial(window);
    SendMessageA(status_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    // Hex bytes line up in a fixed font. The stock one is a bitmap font of a
    // single code page, without the log's arrows: a TrueType face of its size
    // has them.
    HGDIOBJ fixed = GetStockObject(ANSI_FIXED_FONT);
    LOGFONTW face{};
    if (GetObjectW(fixed, sizeof face, &face) == sizeof face) {
        face.lfCharSet = DEFAULT_CHARSET;
        face.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        std::wcsncpy(face.lfFaceName, L"Courier New", LF_FACESIZE - 1);
        logFont_ = CreateFontIndirectW(&face);
    }
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(logFont_ ? logFont_ : fixed), FALSE);
    log_.attach(list_);
}

void Workbench::layout(int width, int height) {
    MoveWindow(status_, 4, 2, std::max(width - 8, 0), STATUS_HEIGHT - 4, TRUE);
    const int logWidth = std::max(width - DIAL_WIDTH, 0);
    const int below = std::max(height - STATUS_HEIGHT, 0);
    MoveWindow(list_, 0, STATUS_HEIGHT, logWidth, below, TRUE);
    MoveWindow(dish_.dial(), logWidth, STATUS_HEIGHT, width - logWidth, below, TRUE);
}

void Workbench::onClose() {
    if (screenshotWanted() && !screenshotAttempted_) writeScreenshot();
    stopPlugin();
    DestroyWindow(window_);
}

void Workbench::onDestroy() {
    if (tour_) tour_->stop();
    // The window may go without WM_CLOSE; the plug-in is stopped either way.
    stopPlugin();
    log_.detach();
    window_ = nullptr;
    PostQuitMessage(exitCode_);
}

LRESULT Workbench::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            createChildren(window);
            return 0;
        case WM_SIZE:
            layout(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_COMMAND: {
            const UINT id = LOWORD(wParam);
            const bool fromMenu = lParam == 0 && HIWORD(wParam) <= 1;
            if (fromMenu && pluginMenuOffers(id)) {
                selectPluginMenu(id);
                return 0;
            }
            if (fromMenu && id == ID_FILE_EXIT) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        }
        case HOST_MESSAGE:
            return handleHostMessage(wParam, lParam);
        case WM_TIMER:
            if (wParam == Tour::TIMER_ID && tour_) {
                tour_->tick();
                return 0;
            }
            break;
        case WM_CLOSE:
            onClose();
            return 0;
        case WM_DESTROY:
            onDestroy();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK Workbench::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    auto* workbench = reinterpret_cast<Workbench*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (workbench == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    // Nothing may unwind into the system's dispatch code.
    try {
        return workbench->handleMessage(window, message, wParam, lParam);
    } catch (const std::exception& e) {
        workbench->fault(std::string("workbench: internal error: ") + e.what());
    } catch (...) {
        workbench->fault("workbench: internal error");
    }
    return 0;
}

bool Workbench::createWindow(std::string& error) {
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

    HMENU menuBar = createMenuBar();
    HWND window = CreateWindowExA(0, WINDOW_CLASS, WINDOW_TITLE, WS_OVERLAPPEDWINDOW, 0, 0, 960,
                                  460, nullptr, menuBar, instance, this);
    if (window == nullptr) {
        error = "cannot create the main window: " + describeWin32Error(GetLastError());
        DestroyMenu(menuBar);
        pluginPopup_ = nullptr;
        return false;
    }
    window_ = window;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return true;
}
