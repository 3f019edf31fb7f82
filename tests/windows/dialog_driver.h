#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <windows.h>

#include "host_driver/message_hook.h"

// An entry of a menu, by its position; `read` is false where there is none.
struct MenuEntry {
    bool read = false;
    std::string text;
    UINT id = 0;
    UINT type = 0;
};
MenuEntry menuEntry(HMENU menu, int position);

// What happened to a dialog's controls, in the order it happened, as the
// controls received it: WM_ENABLE, WM_SHOWWINDOW, WM_SETFOCUS; and
// WM_ACTIVATE as the dialog itself received it (control 0).
struct ControlEvent {
    int control;
    UINT message;
    bool on;
    bool operator==(const ControlEvent&) const = default;
};
void PrintTo(const ControlEvent& event, std::ostream* out);

class ControlEventRecorder {
  public:
    // `dialog` none: whichever setup window the events belong to.
    explicit ControlEventRecorder(HWND dialog,
                                  std::vector<UINT> messages = {WM_ENABLE, WM_SHOWWINDOW});

    std::vector<ControlEvent> take();

  private:
    void record(const CWPSTRUCT& call);
    bool isOurs(HWND window) const;

    HWND dialog_;
    std::vector<UINT> messages_;
    std::vector<ControlEvent> events_;
    CallHook hook_;
};

// A key pressed on a control, and how the window took it.
struct KeyPress {
    // The control still had the focus when the key was taken from the queue.
    // Without it, a window of another test process had just taken the
    // foreground, and the key proves nothing.
    bool metFocus;
    // Controls that got the focus while the key was handled.
    std::vector<int> focused;
};

// The host's own message loop: GetMessage, TranslateMessage, DispatchMessage
// and nothing else, run until what is queued now has been handled.
void runPlainHostLoop();

// Runs the host's plain message loop until `done` or the bound runs out.
bool pumpUntil(const std::function<bool()>& done, DWORD boundMs);

// Drives one of the plug-in's windows by its controls' ids, as a user does.
class DialogDriver {
  public:
    DialogDriver() = default;
    explicit DialogDriver(HWND dialog) : dialog_(dialog) {}

    HWND window() const { return dialog_; }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }

    // A click as the user makes it; a disabled control cannot be clicked.
    void click(int id) const;
    // The mouse button goes down on the control, and later up.
    void pressMouse(int id) const;
    void releaseMouse(int id) const;
    // Moves the focus to the control the way the dialog manager does, then
    // presses the key there and runs the host's plain loop.
    KeyPress pressKey(int id, WPARAM key) const;

    std::string text(int id) const;
    // Replaces the field's whole text as a user types it.
    void typeText(int id, const std::string& text) const;

    bool isEnabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }
    bool isVisible(int id) const;
    bool isChecked(int id) const;

    std::vector<std::string> pickerEntries(int id) const;
    int pickerSelection(int id) const;
    // Selects the entry as a program does: the dialog is not told.
    void selectInPicker(int id, int index) const;
    // Selects the entry as a user does: the dialog is told.
    void choose(int picker, int index) const;
    void setSpin(int id, int position) const;

  protected:
    void drive(HWND dialog) { dialog_ = dialog; }

  private:
    HWND dialog_ = nullptr;
};
