#pragma once

#include <string>

#include <windows.h>
#include <commctrl.h>

#include "store/satellite_name_table.h"
#include "win/controls.h"

// The satellite list of the setup window, a view of its name table: row i
// shows the name of stored position i + 1. Dragging a row onto another asks
// its parent window for a swap, a double-click for a rename (typed, in
// ui/custom_messages.h); after every edit the list posts SatListChanged.
class SatelliteListCtrl : public ListView {
  public:
    ~SatelliteListCtrl() override;
    bool onReflectedNotify(NMHDR* header, LRESULT& result) override;

    // Sets up the columns and one row per stored position, then starts
    // following the pointer.
    void show(const SatelliteNameTable& names);
    void showName(int row, const std::string& name) const { setItemText(row, 0, name); }

  protected:
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
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
};
