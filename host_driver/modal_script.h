#pragma once

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "host_driver/plugin_windows.h"

// Steps that answer modal windows (message boxes, the name dialog) from inside
// their own message loops, the one way the workbench and the tests answer
// them. Each step waits until a matching dialog of this thread is shown and
// enabled, then acts on it. A thread timer runs them, so they go on in
// whatever loop is running, also in one nested inside a step.
class ModalScript {
  public:
    using Action = std::function<void(HWND window)>;
    using Match = std::function<bool(HWND window)>;

    ModalScript() = default;
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& when(const char* caption, Action action);
    ModalScript& when(Match matches, Action action);

    // Runs `action` with the steps armed; true when every step has run.
    bool runDuring(const std::function<void()>& action);

  private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);

    struct Step {
        Match matches;
        Action action;
    };
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
};
