#pragma once

#include <windows.h>

// The platform's floor for what the benchmark times: the plug-in's own setup
// template, made by bare dialog procedures that do only the work measured and
// nothing of the plug-in's own.

// Nothing but the template.
HWND openEmptyTemplate(HMODULE plugin);
// The template with the same 60 rows and the same picker entries as a new
// settings file gives the plug-in's window.
HWND openFilledTemplate(HMODULE plugin);
// Step West sends WM_USER with BARE_COMMAND to `host`, and the keyboard hook
// that the plug-in's window sets is set for it too.
inline constexpr WPARAM BARE_COMMAND = 0xBA4E;
HWND openForwardingTemplate(HMODULE plugin, HWND host);
// Locks the same controls as a drive and shows one indicator frame per tick of
// the drive timer, for `ticks` ticks, then unlocks them.
void startBareDrive(HWND dialog, int ticks);
void closeBareWindow(HWND dialog);
