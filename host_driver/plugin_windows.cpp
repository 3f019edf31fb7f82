#include "host_driver/plugin_windows.h"

#include <commctrl.h>

namespace {

struct DialogSearch {
    const std::function<bool(HWND)>* matches;
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    if (className(window) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window) &&
        (*search->matches)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

BOOL CALLBACK collectStaticText(HWND child, LPARAM data) {
    if (className(child) == "Static" && !windowText(child).empty())
        *reinterpret_cast<std::string*>(data) += windowText(child);
    return TRUE;
}

}  // namespace

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string windowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND findDialog(const std::function<bool(HWND)>& matches) {
    DialogSearch search{&matches, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &matchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findDialog(const char* caption) {
    return findDialog([caption](HWND dialog) { return windowText(dialog) == caption; });
}

std::vector<HWND> threadWindows(DWORD thread) {
    std::vector<HWND> all;
    EnumThreadWindows(thread, collectWindow, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::vector<HWND> dialogsCaptioned(const char* caption) {
    std::vector<HWND> found;
    for (HWND window : threadWindows(GetCurrentThreadId()))
        if (className(window) == "#32770" && windowText(window) == caption) found.push_back(window);
    return found;
}

std::vector<HWND> setupWindows() {
    return dialogsCaptioned(SETUP_CAPTION);
}

std::string dialogItemText(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}

std::string listCellText(HWND list, int row, int column) {
    char text[260] = {};
    LVITEMA cell{};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    return text;
}

std::string staticTexts(HWND dialog) {
    std::string texts;
    EnumChildWindows(dialog, &collectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void clickButton(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void typeInto(HWND field, const std::string& characters) {
    for (char character : characters)
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(character), 1);
}

void retype(HWND field, const std::string& text) {
    SendMessageA(field, EM_SETSEL, 0, -1);
    // A backspace over the selection is how a user empties a field.
    typeInto(field, text.empty() ? std::string("\b") : text);
}

HWND createSilentHost() {
    static const ATOM registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "DiseqcSilentHost";
        return RegisterClassA(&windowClass);
    }();
    return CreateWindowA(MAKEINTATOM(registered), "silent host", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                         100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void pressKeyIn(HWND dialog, WPARAM key) {
    HWND focus = GetFocus();
    HWND target = focus && IsChild(dialog, focus) ? focus : dialog;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}
