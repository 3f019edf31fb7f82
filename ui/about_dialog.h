#pragma once

#include "win/dialog.h"

// The about box: its icon and text come from the template alone.
class AboutDialog : public Dialog {
  public:
    AboutDialog(HINSTANCE module, HWND owner);

  protected:
    BOOL OnInitDialog() override;
};
