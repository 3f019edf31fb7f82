#include "ui/hold_button.h"

#include <commctrl.h>

#include "res/resource_ids.h"

namespace {
constexpr UINT_PTR SUBCLASS_ID = 1;

bool isFirstSpacePress(UINT message, WPARAM key, LPARAM flags) {
    // Bit 30: the key was already down, an auto-repeat.
    return message == WM_KEYDOWN && key == VK_SPACE && (flags & (1L << 30)) == 0;
}
}  // namespace

HoldButton::~HoldButton() {
    if (hwnd_) RemoveWindowSubclass(hwnd_, subclassProcedure, SUBCLASS_ID);
}

void HoldButton::attach(HWND window) {
    if (hwnd_) RemoveWindowSubclass(hwnd_, subclassProcedure, SUBCLASS_ID);
    held_ = false;
    Button::attach(window);
    if (window)
        SetWindowSubclass(window, subclassProcedure, SUBCLASS_ID,
                          reinterpret_cast<DWORD_PTR>(this));
}

void HoldButton::setHeld(bool held) {
    if (held == held_) return;
    held_ = held;
    SendMessageA(GetParent(hwnd_), WM_HOLD_BUTTON, static_cast<WPARAM>(GetDlgCtrlID(hwnd_)),
                 held ? 1 : 0);
}

LRESULT CALLBACK HoldButton::subclassProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<HoldButton*>(data);
    try {
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_KEYDOWN: {
                const bool press =
                    message != WM_KEYDOWN || isFirstSpacePress(message, wParam, lParam);
                const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
                // The button takes the mouse when it goes down; without it, the
                // release would never be seen.
                if (press && GetCapture() == window) self->setHeld(true);
                return result;
            }
            case WM_LBUTTONUP:
            case WM_KILLFOCUS:
                self->setHeld(false);
                break;
            case WM_CAPTURECHANGED:
                // The button takes the mouse again at each repeat of a held space bar: only
                // another window taking it ends the hold.
                if (reinterpret_cast<HWND>(lParam) != window) self->setHeld(false);
                break;
            case WM_KEYUP:
                if (wParam == VK_SPACE) self->setHeld(false);
                break;
            case WM_ENABLE:
                if (!wParam) self->setHeld(false);
                break;
            case WM_DESTROY:
                self->setHeld(false);
                break;
            case WM_NCDESTROY:
                RemoveWindowSubclass(window, subclassProcedure, SUBCLASS_ID);
                self->hwnd_ = nullptr;
                break;
            default:
                break;
        }
    } catch (...) {
        // Nothing may unwind into the button's own window procedure.
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
