#pragma once

#include <windows.h>

#include "win/controls.h"

// A push button that acts while it is held down, by the mouse or the space
// bar. It tells its parent window with a HoldButtonChange when it is pressed
// and when it is let go, and every way of letting go counts: the release, the
// mouse taken by another window, the focus lost, the button disabled or gone.
// So whatever was started on the press always hears of its end.
class HoldButton : public Button {
  public:
    void attach(HWND window) override;

    bool held() const { return held_; }

  protected:
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void setHeld(bool held);

    bool held_ = false;
};
