#include "ui/satellite_list_ctrl.h"

#include <windowsx.h>

#include "ui/custom_messages.h"

SatelliteListCtrl::~SatelliteListCtrl() {
    if (dragImage) ImageList_Destroy(dragImage);
}

bool SatelliteListCtrl::onReflectedNotify(NMHDR* header, LRESULT& result) {
    switch (header->code) {
        case LVN_BEGINDRAG:
        case LVN_BEGINRDRAG: {
            const auto* drag = reinterpret_cast<NMLISTVIEW*>(header);
            onBeginDrag(drag->iItem, drag->ptAction);
            result = 0;
            return true;
        }
        case NM_DBLCLK:
            onDoubleClick(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
            result = 0;
            return true;
        default:
            return false;
    }
}

bool SatelliteListCtrl::onMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    const POINT position{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_MOUSEMOVE:
            onMouseMove(position);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            // The window system may merge the last moves into the
            // release: the row under the released button is the drop.
            onMouseMove(position);
            endDrag();
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            // Pressing the other button mid-drag only prepares the drop.
            // The list view would track that press itself, taking the
            // mouse and letting it go, and that release of the capture
            // would end the drag before the button comes up.
            if (!dragging) break;
            result = 0;
            return true;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the drop can no longer be seen.
            if (reinterpret_cast<HWND>(lParam) != hwnd_) abandonDrag();
            break;
        case WM_NCDESTROY:
            abandonDrag();
            break;
        default:
            break;
    }
    return false;
}

void SatelliteListCtrl::onBeginDrag(int item, POINT actionPoint) {
    dragging = true;
    dragSource = item;
    dropTarget = item;
    POINT itemPosition{};
    send(LVM_GETITEMPOSITION, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&itemPosition));
    POINT imageCorner{};
    dragImage = reinterpret_cast<HIMAGELIST>(send(LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(item),
                                                  reinterpret_cast<LPARAM>(&imageCorner)));
    // Without an image the drag still works: only the picture is missing.
    if (dragImage) {
        ImageList_BeginDrag(dragImage, 0, actionPoint.x - itemPosition.x,
                            actionPoint.y - itemPosition.y);
        ImageList_DragEnter(hwnd_, actionPoint.x, actionPoint.y);
    }
    SetCapture(hwnd_);
}

void SatelliteListCtrl::onMouseMove(POINT position) {
    if (!dragging) return;
    if (dragImage) ImageList_DragMove(position.x, position.y);
    LVHITTESTINFO hit{};
    hit.pt = position;
    const int row = static_cast<int>(send(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row != -1) dropTarget = row;
}

void SatelliteListCtrl::dropDragImage() {
    if (!dragImage) return;
    ImageList_DragLeave(hwnd_);
    ImageList_EndDrag();
    ImageList_Destroy(dragImage);
    dragImage = nullptr;
}

void SatelliteListCtrl::endDrag() {
    if (!dragging) return;
    dragging = false;
    dropDragImage();
    if (dragSource != dropTarget) {
        sendMessageTo(GetParent(hwnd_), SatListSwap{static_cast<std::size_t>(dragSource),
                                                    static_cast<std::size_t>(dropTarget)});
        send(LVM_SETHOTITEM, static_cast<WPARAM>(dropTarget));
    }
    ReleaseCapture();
    notifyParent();
}

void SatelliteListCtrl::abandonDrag() {
    if (!dragging) return;
    dragging = false;
    dropDragImage();
    if (GetCapture() == hwnd_) ReleaseCapture();
}

void SatelliteListCtrl::onDoubleClick(int item) {
    const bool renamed =
        sendMessageTo(GetParent(hwnd_), SatListRename{static_cast<std::size_t>(item)}) != 0;
    // The setup window may have been closed while the name was asked for;
    // its names are all on disk already.
    if (renamed && hwnd_) notifyParent();
}

void SatelliteListCtrl::notifyParent() const {
    if (hwnd_) postMessageTo(GetParent(hwnd_), SatListChanged{});
}

void SatelliteListCtrl::show(const SatelliteNameTable& names) {
    RECT listRect{};
    GetWindowRect(hwnd_, &listRect);
    const int width = listRect.right - listRect.left;
    setRedraw(false);
    insertColumn(0, "Satellite", (width * 4) / 8);
    insertColumn(1, "LNB", (width * 2) / 8);
    insertColumn(2, "Index", (width * 5) / 32);
    for (std::size_t position = 0; position < names.size(); ++position) {
        const int row = static_cast<int>(position);
        insertSelectedItem(row, names[position]);
        setItemText(row, 1, "LNB" + std::to_string(row));
        setItemText(row, 2, std::to_string(row + 1));
    }
    setExtendedStyle(0, LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT);
    setRedraw(true);
    // Only the pointer needs the subclass; taken before the rows, it would
    // see every message that fills them.
    subclass();
}
