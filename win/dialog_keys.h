#pragma once

#include <functional>

#include <windows.h>

// Tab, Enter and Escape in a modeless dialog need the dialog manager to see
// the keyboard messages first, and the message loop is the host's, which may
// not pass them. While a modeless dialog is open, a hook on the thread's
// message retrieval hands them to IsDialogMessage.
//
// A dialog is listed from its WM_INITDIALOG to its WM_NCDESTROY, so that the
// hook knows live windows only, and the hook goes with the last of them.
// `module` holds the hook procedure. `takeKey`, when given, sees the dialog's
// key messages before the dialog manager does; true means it has dealt with
// the key, which then goes no further.
using KeyFilter = std::function<bool(const MSG& key)>;
void enableDialogKeys(HWND dialog, HINSTANCE module, KeyFilter takeKey = {});
void disableDialogKeys(HWND dialog);
// The module that holds the hook procedure is being unloaded: a hook left
// behind would call into code that is gone.
void removeDialogKeyHook();
