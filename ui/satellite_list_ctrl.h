#pragma once

#include <string>

#include <windows.h>
#include <commctrl.h>

#include "win/controls.h"

class PositionerSetupDialog;

// The satellite list of the setup window: column 0 of its 60 rows is the only
// copy of the names while the window is open. Dragging a row onto another
// swaps their names; a double-click renames a row.
class SatelliteListCtrl : public ListView {
  public:
    PositionerSetupDialog* parentDialog = nullptr;

    ~SatelliteListCtrl() override;
    void attach(HWND window) override;
    bool onReflectedNotify(NMHDR* header, LRESULT& result) override;

  private:
    static LRESULT CALLBACK subclassProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    void onBeginDrag(int item, POINT actionPoint);
    void onMouseMove(POINT position);
    void endDrag();
    void abandonDrag();
    void dropDragImage();
    void onDoubleClick(int item);
    void notifyParent() const;

    bool dragging = false;
    int dragSource = -1;
    int dropTarget = -1;
    HIMAGELIST dragImage = nullptr;
    std::string editText;
};
