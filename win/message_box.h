#pragma once

#include <windows.h>

// A message box owned by the given window. Returns the button that ended the
// box (0 if the box was torn down with its owner).
int showMessage(HWND owner, const char* caption, const char* text, UINT buttons);

// Something the user must know of before going on: OK only, with a warning sign.
void warn(HWND owner, const char* caption, const char* text);

// OK and Cancel; true unless the answer was Cancel.
bool confirmed(HWND owner, const char* caption, const char* question);
