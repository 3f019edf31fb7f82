#pragma once

#include <string>

#include <windows.h>
#include <commctrl.h>

#include "store/satellite_name_table.h"
#include "win/controls.h"

// The satellite list of the setup window, a view of its name table: row i
// shows the name of stored position i + 1. Dragging a row onto another asks
// its parent window for a swap, a double-click for a rename (the messages are
// beside the ids); after every edit the list posts WM_SATLIST_CHANGED.
class SatelliteListCtrl : public ListView {
  public:
    ~SatelliteListCtrl() override;
    void attach(HWND window) override;
    bool onReflectedNotify(NMHDR* header, LRESULT& result) override;

    // Sets up the columns and one row per stored position, then starts
    // following the pointer.
    void show(const SatelliteNameTable& names);
    void showName(int row, const std::string& name) const { setItemText(row, 0, name); }

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
};
