#include "win/dialog.h"

#include "win/controls.h"
#include "win/dialog_keys.h"

Dialog::Dialog(HINSTANCE module, int templateId, HWND owner)
    : module_(module), templateId_(templateId), owner_(owner) {}

Dialog::~Dialog() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        ::DestroyWindow(hwnd_);
    }
}

void Dialog::openModeless(std::unique_ptr<Dialog> dialog, std::function<void()> closed) {
    Dialog* self = dialog.release();
    self->modal_ = false;
    self->ownedByWindow_ = true;
    self->closed_ = std::move(closed);
    bool bound = false;
    self->boundAtStartUp_ = &bound;
    // A window destroyed during its own start-up (the host may stop the
    // plug-in while it is being identified) has deleted the object before the
    // call returns: only the handle that comes back may be looked at.
    HWND created =
        CreateDialogParamA(self->module_, MAKEINTRESOURCEA(self->templateId_), self->owner_,
                           &Dialog::procedure, reinterpret_cast<LPARAM>(self));
    if (created) {
        enableDialogKeys(created, self->module_);
    } else if (!bound) {
        // No window ever took the object over.
        const std::function<void()> notify = std::move(self->closed_);
        delete self;
        if (notify) notify();
    }
}

INT_PTR Dialog::DoModal() {
    modal_ = true;
    return DialogBoxParamA(module_, MAKEINTRESOURCEA(templateId_), owner_, &Dialog::procedure,
                           reinterpret_cast<LPARAM>(this));
}

void Dialog::centreAboveOthers(const RECT& area) const {
    RECT own{};
    GetWindowRect(hwnd_, &own);
    const int x = area.left + ((area.right - area.left) - (own.right - own.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(hwnd_, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

RECT Dialog::workArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange exchange(hwnd_, saveAndValidate, boundControls_);
    DoDataExchange(exchange);
    return !exchange.failed();
}

void Dialog::DestroyWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    if (!UpdateData(true)) return;
    if (modal_) EndDialog(hwnd_, IDOK);
}

void Dialog::OnCancel() {
    if (modal_) EndDialog(hwnd_, IDCANCEL);
}

LRESULT Dialog::Default() {
    defaultRequested_ = true;
    return 0;
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = window;
        if (self->boundAtStartUp_) {
            *self->boundAtStartUp_ = true;
            self->boundAtStartUp_ = nullptr;
        }
        SetWindowLongPtrA(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

INT_PTR Dialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR answer = FALSE;
    ++runningHandlers_;
    const bool outerDefault = defaultRequested_;
    defaultRequested_ = false;
    try {
        answer = dispatch(message, wParam, lParam);
    } catch (...) {
        // Swallowed here: an exception must not unwind through the window
        // system into the host.
    }
    defaultRequested_ = outerDefault;
    if (--runningHandlers_ == 0 && windowDestroyed_) {
        windowDestroyed_ = false;
        if (ownedByWindow_) delete this;
    }
    return answer;
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_NCDESTROY:
            windowGone();
            return FALSE;
        case WM_NOTIFY: {
            // Notifications go back to the object of the control that sent them.
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            for (Window* control : boundControls_) {
                LRESULT result = 0;
                if (control->hwnd() == header->hwndFrom &&
                    control->onReflectedNotify(header, result)) {
                    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
                    return TRUE;
                }
            }
            break;
        }
        default:
            break;
    }

    LRESULT result = 0;
    if (route(message, wParam, lParam, result)) {
        if (defaultRequested_) return FALSE;
        if (hwnd_) SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        OnOK();
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

void Dialog::windowGone() {
    disableDialogKeys(hwnd_);
    SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
    hwnd_ = nullptr;
    for (Window* control : boundControls_) control->attach(nullptr);
    windowDestroyed_ = true;
    if (closed_) {
        const std::function<void()> notify = std::move(closed_);
        closed_ = nullptr;
        try {
            notify();
        } catch (...) {
            // The window is gone whatever the listener thinks of it.
        }
    }
}
