#include "win/controls.h"

#include <vector>

namespace {
constexpr UINT_PTR SUBCLASS_ID = 1;
}

Window::~Window() {
    unsubclass();
}

void Window::attach(HWND window) {
    unsubclass();
    hwnd_ = window;
}

void Window::subclass() {
    if (subclassed_ || !hwnd_) return;
    subclassed_ =
        SetWindowSubclass(hwnd_, subclassProcedure, SUBCLASS_ID, reinterpret_cast<DWORD_PTR>(this));
}

void Window::unsubclass() {
    if (subclassed_) RemoveWindowSubclass(hwnd_, subclassProcedure, SUBCLASS_ID);
    subclassed_ = false;
}

LRESULT Window::defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::subclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Window*>(data);
    LRESULT result = 0;
    bool answered = false;
    try {
        answered = self->onMessage(message, wParam, lParam, result);
    } catch (...) {
        // Nothing may unwind into the control's own window procedure.
    }
    if (message == WM_NCDESTROY) {
        // The last message: the object lets go of the window, whatever it answered.
        self->unsubclass();
        self->hwnd_ = nullptr;
        answered = false;
    }
    return answered ? result : DefSubclassProc(window, message, wParam, lParam);
}

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
