#pragma once

#include <windows.h>

// The plug-in's own message boxes: owned by the given window, titled with the
// plug-in's name. Returns the button that ended the box (0 if the box was
// torn down with its owner).
int showMessage(HWND owner, const char* text, UINT buttons);

// OK and Cancel; true unless the answer was Cancel.
bool confirmed(HWND owner, const char* question);
