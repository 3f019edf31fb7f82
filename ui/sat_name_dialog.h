#pragma once

#include <string>

#include "win/dialog.h"

inline constexpr int SAT_NAME_MAX_CHARS = 40;

// The modal editor of one satellite name.
class SatNameDialog : public Dialog {
  public:
    SatNameDialog(HINSTANCE module, HWND owner);

    std::string name;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& exchange) override;
};
