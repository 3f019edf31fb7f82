#include "ui/hold_button.h"

#include "ui/custom_messages.h"

namespace {
bool isFirstSpacePress(UINT message, WPARAM key, LPARAM flags) {
    // Bit 30: the key was already down, an auto-repeat.
    return message == WM_KEYDOWN && key == VK_SPACE && (flags & (1L << 30)) == 0;
}
}  // namespace

void HoldButton::attach(HWND window) {
    held_ = false;
    Button::attach(window);
    subclass();
}

void HoldButton::setHeld(bool held) {
    if (held == held_) return;
    held_ = held;
    sendMessageTo(GetParent(hwnd_), HoldButtonChange{GetDlgCtrlID(hwnd_), held});
}

bool HoldButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_KEYDOWN: {
            const bool press = message != WM_KEYDOWN || isFirstSpacePress(message, wParam, lParam);
            const HWND button = hwnd_;
            result = defaultProcedure(message, wParam, lParam);
            // The button takes the mouse when it goes down; without it, the
            // release would never be seen.
            if (press && GetCapture() == button) setHeld(true);
            return true;
        }
        case WM_LBUTTONUP:
        case WM_KILLFOCUS:
        case WM_DESTROY:
            setHeld(false);
            break;
        case WM_CAPTURECHANGED:
            // The button takes the mouse again at each repeat of a held space bar: only
            // another window taking it ends the hold.
            if (reinterpret_cast<HWND>(lParam) != hwnd_) setHeld(false);
            break;
        case WM_KEYUP:
            if (wParam == VK_SPACE) setHeld(false);
            break;
        case WM_ENABLE:
            if (!wParam) setHeld(false);
            break;
        default:
            break;
    }
    return false;
}
