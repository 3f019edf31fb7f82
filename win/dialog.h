#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <windows.h>

#include "win/data_exchange.h"

class Window;

// A dialog made from a template in `module`, modeless or modal. One static
// procedure binds the object at WM_INITDIALOG and routes every message to it;
// nothing thrown leaves that procedure. The dialog speaks to the user in
// message boxes titled `caption`, and its title bar shows the icon `iconId`
// of the module, or the template's own when that is 0.
//
// Lifetime, one rule for each kind:
// - Modal: the caller owns the object; DoModal lends it to the window and
//   returns once the window is gone.
// - Modeless: the caller hands the object over. Its window takes it at
//   WM_INITDIALOG, and this layer alone deletes it: once the window is gone
//   and the last of its handlers has returned. So a handler that waited in a
//   message box finds the object still there, its window perhaps gone: check
//   window() after anything modal, as ask() does. An object that no window took is deleted
//   when the opening fails.
class Dialog {
  public:
    Dialog(HINSTANCE module, int templateId, HWND owner, const char* caption, int iconId = 0);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND window() const { return hwnd_; }
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }

    // Modeless: creates the window and runs OnInitDialog before returning.
    // `closed` runs exactly once: when the window goes, or at once when none
    // could be made. The window may go during its own start-up, before this
    // returns: a caller that keeps the object's address must take it before,
    // and drop it in `closed`.
    static void openModeless(std::unique_ptr<Dialog> dialog, std::function<void()> closed);
    // Modal: returns how the dialog ended (IDOK, IDCANCEL, or -1).
    INT_PTR DoModal();

    bool UpdateData(bool saveAndValidate);
    void DestroyWindow();

  protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(DataExchange&) {}
    virtual void OnOK();
    virtual void OnCancel();
    // The derived class's handler table; true when a handler answered.
    virtual bool route(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // A key message of a modeless dialog, before the dialog manager sees it;
    // true when it was dealt with here.
    virtual bool takeKey(const MSG&) { return false; }

    // Tells the user something that went wrong, in a box owned by this
    // window; nothing when the window has gone, as a box of its own would
    // float with nothing to say it came from here.
    void tell(const char* text) const;
    // Asks a yes-or-no question, or runs a modal dialog as the question.
    // True only when the answer was yes (OK) and this window still lives:
    // it may be closed while the question is open.
    bool ask(const char* question) const;
    bool ask(Dialog& question) const;

    // Lets the window system's own dialog handling process the current
    // message once the handler has returned.
    LRESULT Default();

    // Moves the window to the middle of `area` and above other windows,
    // without activating it.
    void centreAboveOthers(const RECT& area) const;
    static RECT workArea();

  private:
    // What travels to WM_INITDIALOG: the object and, for a modeless dialog,
    // the caller's hold on it, which the window takes over.
    struct Binding {
        Dialog* dialog;
        std::unique_ptr<Dialog>* handedOver;
    };

    static INT_PTR CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);
    static void bind(HWND window, const Binding& binding);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void showIcon() const;
    void windowGone();

    HINSTANCE module_;
    int templateId_;
    HWND owner_;
    const char* caption_;
    int iconId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    std::function<void()> closed_;
    bool defaultRequested_ = false;
    int runningHandlers_ = 0;
    std::vector<Window*> boundControls_;
};
