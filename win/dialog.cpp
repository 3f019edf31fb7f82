#include "win/dialog.h"

#include "win/controls.h"
#include "win/dialog_keys.h"
#include "win/message_box.h"

Dialog::Dialog(HINSTANCE module, int templateId, HWND owner, const char* caption, int iconId)
    : module_(module), templateId_(templateId), owner_(owner), caption_(caption), iconId_(iconId) {}

Dialog::~Dialog() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        ::DestroyWindow(hwnd_);
    }
}

void Dialog::openModeless(std::unique_ptr<Dialog> dialog, std::function<void()> closed) {
    dialog->closed_ = std::move(closed);
    const Binding binding{dialog.get(), &dialog};
    // Neither the object nor the handle that comes back is looked at after
    // this call: the window may already have gone, and its object with it.
    CreateDialogParamA(dialog->module_, MAKEINTRESOURCEA(dialog->templateId_), dialog->owner_,
                       &Dialog::procedure, reinterpret_cast<LPARAM>(&binding));
    if (!dialog) return;
    // No window took the object over.
    const std::function<void()> notify = std::move(dialog->closed_);
    dialog.reset();
    if (notify) notify();
}

INT_PTR Dialog::DoModal() {
    const Binding binding{this, nullptr};
    return DialogBoxParamA(module_, MAKEINTRESOURCEA(templateId_), owner_, &Dialog::procedure,
                           reinterpret_cast<LPARAM>(&binding));
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
    DataExchange exchange(hwnd_, caption_, saveAndValidate, boundControls_);
    DoDataExchange(exchange);
    return !exchange.failed();
}

void Dialog::DestroyWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void Dialog::tell(const char* text) const {
    if (hwnd_) warn(hwnd_, caption_, text);
}

bool Dialog::ask(const char* question) const {
    const bool yes = confirmed(hwnd_, caption_, question);
    return yes && hwnd_;
}

bool Dialog::ask(Dialog& question) const {
    const bool ok = question.DoModal() == IDOK;
    return ok && hwnd_;
}

void Dialog::showIcon() const {
    // A shared icon: the module keeps it, nothing destroys it.
    const auto icon = reinterpret_cast<LPARAM>(LoadIconA(module_, MAKEINTRESOURCEA(iconId_)));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, icon);
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, icon);
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
    if (message == WM_INITDIALOG) bind(window, *reinterpret_cast<const Binding*>(lParam));
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

void Dialog::bind(HWND window, const Binding& binding) {
    Dialog* self = binding.dialog;
    self->modal_ = binding.handedOver == nullptr;
    if (binding.handedOver) binding.handedOver->release();
    self->hwnd_ = window;
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
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
    // The one place where a modeless dialog ends.
    if (--runningHandlers_ == 0 && !hwnd_ && !modal_) delete this;
    return answer;
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // Listed while the window lives, from here to WM_NCDESTROY.
            if (!modal_)
                enableDialogKeys(hwnd_, module_, [this](const MSG& key) { return takeKey(key); });
            if (iconId_) showIcon();
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
