#pragma once

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "res/window_captions.h"

std::string className(HWND window);
std::string windowText(HWND window);

// A dialog of this thread that is shown and enabled (one that waits on a modal
// box of its own is disabled), and that `matches`; none if there is none.
HWND findDialog(const std::function<bool(HWND dialog)>& matches);
HWND findDialog(const char* caption);
// The top-level windows of a thread, shown or not.
std::vector<HWND> threadWindows(DWORD thread);
// Every dialog of this thread with the caption, whether enabled or not: while
// a modal box of its own is open it is disabled, and still there.
std::vector<HWND> dialogsCaptioned(const char* caption);
std::vector<HWND> setupWindows();

std::string dialogItemText(HWND dialog, int id);
// The text of a list view's cell.
std::string listCellText(HWND list, int row, int column);
// Every non-empty static text of a dialog, as a message box shows its text.
std::string staticTexts(HWND dialog);
void clickButton(HWND dialog, int id);
// Characters as typed into a field, one WM_CHAR each.
void typeInto(HWND field, const std::string& characters);
// Replaces the whole text of a field the way a user does: select all, type.
void retype(HWND field, const std::string& text);

// A top-level host window that answers none of the host's messages, as a
// viewer that knows no API would; enough to start the plug-in with.
HWND createSilentHost();

// A key pressed in a dialog (Escape, Enter), on its focused control when it
// has one; posted, so that the dialog's own loop takes it.
void pressKeyIn(HWND dialog, WPARAM key);
