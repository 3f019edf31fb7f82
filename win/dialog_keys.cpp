#include "win/dialog_keys.h"

#include <algorithm>
#include <vector>

namespace {

struct KeyboardHook {
    HHOOK hook = nullptr;
    std::vector<HWND> dialogs;
};

// At namespace scope it is set up with the module, with nothing to guard at
// first use.
KeyboardHook hookState;

KeyboardHook& keyboardHook() {
    return hookState;
}

bool belongsTo(HWND dialog, HWND target) {
    return target == dialog || IsChild(dialog, target);
}

LRESULT CALLBACK onGetMessage(int code, WPARAM removal, LPARAM lParam) {
    KeyboardHook& state = keyboardHook();
    if (code == HC_ACTION && removal == PM_REMOVE) {
        auto* message = reinterpret_cast<MSG*>(lParam);
        if (message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST) {
            for (HWND dialog : state.dialogs) {
                if (belongsTo(dialog, message->hwnd) && IsDialogMessageA(dialog, message)) {
                    // Handled: the host's loop gets a message that does nothing.
                    message->message = WM_NULL;
                    break;
                }
            }
        }
    }
    return CallNextHookEx(state.hook, code, removal, lParam);
}

}  // namespace

void enableDialogKeys(HWND dialog, HINSTANCE module) {
    KeyboardHook& state = keyboardHook();
    state.dialogs.push_back(dialog);
    if (!state.hook)
        state.hook = SetWindowsHookExA(WH_GETMESSAGE, onGetMessage, module, GetCurrentThreadId());
}

void disableDialogKeys(HWND dialog) {
    KeyboardHook& state = keyboardHook();
    std::erase(state.dialogs, dialog);
    if (state.dialogs.empty() && state.hook) {
        UnhookWindowsHookEx(state.hook);
        state.hook = nullptr;
    }
}
