#include "win/controls.h"

#include <vector>

std::string Window::text() const {
    const int length = GetWindowTextLengthA(hwnd_);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(hwnd_, buffer.data(), length + 1);
    return std::string(buffer.data());
}

std::string ComboBox::itemText(int index) const {
    const LRESULT length = send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data());
}

void Window::setRedraw(bool on) const {
    send(WM_SETREDRAW, on ? TRUE : FALSE);
    if (on) InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListView::insertColumn(int column, const char* heading, int width) const {
    LVCOLUMNA description{};
    description.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    description.fmt = LVCFMT_LEFT;
    description.cx = width;
    description.pszText = const_cast<char*>(heading);
    description.iSubItem = column;
    send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&description));
}

void ListView::insertSelectedItem(int row, const std::string& text) const {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = row;
    item.state = LVIS_SELECTED;
    item.stateMask = LVIS_SELECTED;
    item.pszText = const_cast<char*>(text.c_str());
    send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ListView::setItemText(int row, int column, const std::string& text) const {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}
