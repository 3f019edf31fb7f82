#pragma once

#include <windows.h>

// Tab, Enter and Escape in a modeless dialog need the dialog manager to see
// the keyboard messages first, and the message loop is the host's, which may
// not pass them. While a modeless dialog is open, a hook on the thread's
// message retrieval hands them to IsDialogMessage.
// `module` holds the hook procedure.
void enableDialogKeys(HWND dialog, HINSTANCE module);
void disableDialogKeys(HWND dialog);
