#pragma once

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

// Steps that answer modal windows from inside their own message loops. Each
// waits until a dialog of this thread with its caption is shown and enabled
// (a dialog that waits on a message box of its own is disabled), then acts on
// it. A thread timer runs them, so they go on in whatever loop is running,
// also in one nested inside a step.
class ModalScript {
  public:
    using Action = std::function<void(HWND window)>;

    ModalScript() = default;
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& when(const char* caption, Action action);

    // Runs `action` with the steps armed; true when every step has run.
    bool runDuring(const std::function<void()>& action);

  private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);

    struct Step {
        std::string caption;
        Action action;
    };
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
};

// Small helpers on a dialog of this thread.
HWND findDialog(const char* caption);
std::string dialogItemText(HWND dialog, int id);
// Every non-empty static text of a dialog, as a message box shows its text.
std::string staticTexts(HWND dialog);
void clickButton(HWND dialog, int id);
// Characters as typed into a field, one WM_CHAR each.
void typeInto(HWND field, const std::string& characters);
