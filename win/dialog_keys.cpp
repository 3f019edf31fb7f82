#include "win/dialog_keys.h"

#include <algorithm>
#include <vector>

namespace {

struct ListedDialog {
    HWND window;
    KeyFilter takeKey;
};

struct KeyboardHook {
    HHOOK hook = nullptr;
    std::vector<ListedDialog> dialogs;
};

// At namespace scope it is set up with the module, with nothing to guard at
// first use.
KeyboardHook hookState;

bool handledByDialog(MSG& message) {
    const auto listed = std::find_if(
        hookState.dialogs.begin(), hookState.dialogs.end(), [&](const ListedDialog& dialog) {
            return dialog.window == message.hwnd || IsChild(dialog.window, message.hwnd);
        });
    if (listed == hookState.dialogs.end()) return false;
    // Copies: the key may close the window, which takes it off the list.
    const HWND dialog = listed->window;
    const KeyFilter takeKey = listed->takeKey;
    if (takeKey && takeKey(message)) return true;
    return IsDialogMessageA(dialog, &message) != FALSE;
}

LRESULT CALLBACK onGetMessage(int code, WPARAM removal, LPARAM lParam) {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        auto* message = reinterpret_cast<MSG*>(lParam);
        if (message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST) {
            try {
                // Handled: the host's loop gets a message that does nothing.
                if (handledByDialog(*message)) message->message = WM_NULL;
            } catch (...) {
                // Nothing thrown may unwind into the host's message loop.
            }
        }
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

}  // namespace

void enableDialogKeys(HWND dialog, HINSTANCE module, KeyFilter takeKey) {
    hookState.dialogs.push_back({dialog, std::move(takeKey)});
    if (!hookState.hook)
        hookState.hook =
            SetWindowsHookExA(WH_GETMESSAGE, onGetMessage, module, GetCurrentThreadId());
}

void disableDialogKeys(HWND dialog) {
    std::erase_if(hookState.dialogs,
                  [dialog](const ListedDialog& listed) { return listed.window == dialog; });
    if (hookState.dialogs.empty()) removeDialogKeyHook();
}

void removeDialogKeyHook() {
    if (hookState.hook) UnhookWindowsHookEx(hookState.hook);
    hookState.hook = nullptr;
}
