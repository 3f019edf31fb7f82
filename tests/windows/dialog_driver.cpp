#include "tests/windows/dialog_driver.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <commctrl.h>

#include "host_driver/message_pump.h"
#include "host_driver/plugin_windows.h"

void PrintTo(const ControlEvent& event, std::ostream* out) {
    const char* kind = event.message == WM_ENABLE       ? " enable "
                       : event.message == WM_SHOWWINDOW ? " show "
                       : event.message == WM_SETFOCUS   ? " focus "
                                                        : " activate ";
    *out << event.control << kind << (event.on ? "on" : "off");
}

ControlEventRecorder::ControlEventRecorder(HWND dialog, std::vector<UINT> messages)
    : dialog_(dialog),
      messages_(std::move(messages)),
      hook_([this](const CWPSTRUCT& call) { record(call); }) {}

std::vector<ControlEvent> ControlEventRecorder::take() {
    std::vector<ControlEvent> taken;
    taken.swap(events_);
    return taken;
}

bool ControlEventRecorder::isOurs(HWND window) const {
    if (!window) return false;
    if (dialog_) return window == dialog_;
    return className(window) == "#32770" && windowText(window) == SETUP_CAPTION;
}

void ControlEventRecorder::record(const CWPSTRUCT& call) {
    if (std::find(messages_.begin(), messages_.end(), call.message) == messages_.end()) return;
    if (call.message == WM_ACTIVATE) {
        if (isOurs(call.hwnd))
            events_.push_back({0, WM_ACTIVATE, LOWORD(call.wParam) != WA_INACTIVE});
        return;
    }
    if (!isOurs(GetParent(call.hwnd))) return;
    // A window shown or hidden along with its parent is not shown by anyone.
    if (call.message == WM_SHOWWINDOW && call.lParam != 0) return;
    const bool on = call.message == WM_SETFOCUS || call.wParam != 0;
    events_.push_back({GetDlgCtrlID(call.hwnd), call.message, on});
}

void runPlainHostLoop() {
    constexpr UINT LOOP_DONE = WM_APP + 0x31;
    PostThreadMessageA(GetCurrentThreadId(), LOOP_DONE, 0, 0);
    // Should a nested loop swallow the marker, the guard ends the wait.
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == LOOP_DONE) break;
        if (message.hwnd == nullptr && message.message == WM_TIMER && message.wParam == guard) {
            ADD_FAILURE() << "the host loop never got back to its marker";
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(nullptr, guard);
}

bool pumpUntil(const std::function<bool()>& done, DWORD boundMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > boundMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pumpMessages();
    }
    return true;
}

void DialogDriver::click(int id) const {
    HWND control = item(id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    ASSERT_TRUE(IsWindowEnabled(control)) << "control " << id << " is disabled";
    SendMessageA(control, BM_CLICK, 0, 0);
}

void DialogDriver::pressMouse(int id) const {
    SendMessageA(item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
}

void DialogDriver::releaseMouse(int id) const {
    SendMessageA(item(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

KeyPress DialogDriver::pressKey(int id, WPARAM key) const {
    HWND target = item(id);
    SetForegroundWindow(dialog_);
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    ControlEventRecorder focus(dialog_, {WM_SETFOCUS});
    // Where the focus is at the moment the key leaves the queue, before the
    // dialog manager sees it.
    bool seen = false;
    bool metFocus = false;
    {
        const RetrievalHook witness([&](const MSG& message, bool removed) {
            if (removed && message.message == WM_KEYDOWN && message.hwnd == target && !seen) {
                seen = true;
                metFocus = GetFocus() == target;
            }
        });
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, 0xC0000001);
        runPlainHostLoop();
    }
    KeyPress press{seen && metFocus, {}};
    for (const ControlEvent& event : focus.take()) press.focused.push_back(event.control);
    return press;
}

std::string DialogDriver::text(int id) const {
    return dialogItemText(dialog_, id);
}

void DialogDriver::typeText(int id, const std::string& text) const {
    retype(item(id), text);
}

bool DialogDriver::isVisible(int id) const {
    return (GetWindowLongA(item(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool DialogDriver::isChecked(int id) const {
    return SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::string> DialogDriver::pickerEntries(int id) const {
    std::vector<std::string> entries;
    const auto count = static_cast<int>(SendMessageA(item(id), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(item(id), CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text));
        entries.emplace_back(text);
    }
    return entries;
}

int DialogDriver::pickerSelection(int id) const {
    return static_cast<int>(SendMessageA(item(id), CB_GETCURSEL, 0, 0));
}

void DialogDriver::selectInPicker(int id, int index) const {
    SendMessageA(item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DialogDriver::choose(int picker, int index) const {
    selectInPicker(picker, index);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(picker, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(item(picker)));
}

void DialogDriver::setSpin(int id, int position) const {
    SendMessageA(item(id), UDM_SETPOS, 0, MAKELPARAM(position, 0));
}

MenuEntry menuEntry(HMENU menu, int position) {
    char text[64] = {};
    MENUITEMINFOA entry{};
    entry.cbSize = sizeof entry;
    entry.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    entry.dwTypeData = text;
    entry.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &entry)) return {};
    return {true, text, entry.wID, entry.fType};
}
