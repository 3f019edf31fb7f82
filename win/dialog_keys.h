#pragma once

#include <windows.h>

// Tab, Enter and Escape in a modeless dialog need the dialog manager to see
// the keyboard messages first, and the message loop is the host's, which may
// not pass them. While a modeless dialog is open, a hook on the thread's
// message retrieval hands them to IsDialogMessage.
void enableDialogKeys(HWND dialog);
void disableDialogKeys(HWND dialog);
