#pragma once

#include "win/controls.h"

class PositionerSetupDialog;

// The satellite list of the setup window: column 0 of its 60 rows is the only
// copy of the names while the window is open.
class SatelliteListCtrl : public ListView {
  public:
    PositionerSetupDialog* parentDialog = nullptr;
};
