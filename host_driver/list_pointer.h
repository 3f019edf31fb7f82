#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include <windows.h>

class MouseRetrievals;

// Named for the mouse, so that it lives beside the Button control of win/controls.h.
enum class MouseButton { Left, Right };

// One thing the user does with the mouse, aimed at the satellite list. The
// target is kept as a row and resolved to pixels only when the step runs.
struct PointerStep {
    enum class Kind { Press, Move, Release };
    Kind kind;
    MouseButton button = MouseButton::Left;
    int row = 0;
    int offsetX = 0;          // pixels right of the row's name
    bool besideList = false;  // left of the list, level with the row
};

PointerStep press(MouseButton button, int row);
PointerStep moveTo(int row, int offsetX = 0);
// A move past the drag threshold that stays on the pressed row.
PointerStep pull(int row);
PointerStep moveBeside(int row);
PointerStep release(MouseButton button);

// Drives the plug-in's satellite list with the mouse, for the workbench's tour
// and for the tests alike. With real input (SendInput under the
// virtual display) the window system and the list view itself turn the moves
// into a drag or a double-click. Where real input does not reach the list, it
// hands the list what the list view would: the begin-drag and double-click
// notifications to the dialog, the mouse moves and button releases to the list.
class Pointer {
  public:
    // Puts `dialog` in the foreground and tries real input on `list`, unless
    // DISEQC_TEST_POINTER=messages asks for the messages path. Only one
    // Pointer of all the programs on the display holds the pointer at a time.
    Pointer(HWND dialog, HWND list);
    ~Pointer();
    Pointer(const Pointer&) = delete;
    Pointer& operator=(const Pointer&) = delete;

    bool real() const { return real_; }
    const char* path() const { return real_ ? "real mouse input" : "notifications and messages"; }

    // Returns when every step has reached the thread's queue and been taken
    // from it, and the queue is empty; empty text, or what did not arrive.
    std::string perform(const std::vector<PointerStep>& steps);
    std::string doubleClick(int row);

    POINT screenPoint(const PointerStep& step) const;

    // The mouse messages taken from the queue so far, for a failure report.
    std::string retrievedMessages() const;

  private:
    bool probe();
    std::string performReal(const std::vector<PointerStep>& steps);
    void performMessages(const std::vector<PointerStep>& steps);
    POINT clientPoint(const PointerStep& step) const;
    void releaseHeldButtons();

    HWND dialog_;
    HWND list_;
    std::unique_ptr<MouseRetrievals> retrievals_;
    HANDLE inputLock_ = nullptr;
    bool real_ = false;
    std::set<MouseButton> held_;
    // Messages path: the press that a following move turns into a drag.
    bool pressPending_ = false;
    MouseButton pressedButton_ = MouseButton::Left;
    POINT pressPoint_{};
    POINT lastPoint_{};
};
