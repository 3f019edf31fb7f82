#pragma once

#include <string>

#include <windows.h>
#include <commctrl.h>

// Thin wrappers over the child controls of a dialog: each call is one message
// to the control. A wrapper is bound to its control during data exchange.
//
// A small widget made of a control subclasses it: from subclass() until the
// control's window goes, or the wrapper is bound elsewhere or destroyed, the
// control's messages come to onMessage before its own procedure sees them.
class Window {
  public:
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    virtual void attach(HWND window);
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd_, message, wParam, lParam);
    }
    void setText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }
    // For text beyond the ANSI code page, such as an arrow.
    void setText(const std::wstring& text) const { SetWindowTextW(hwnd_, text.c_str()); }
    std::string text() const;
    // Off, the control takes many changes without repainting after each one;
    // back on, it repaints once, whole.
    void setRedraw(bool on) const;

    // A notification sent by this control to its parent, handed back to the
    // control's own object. True when the object answered it.
    virtual bool onReflectedNotify(NMHDR*, LRESULT&) { return false; }

  protected:
    void subclass();
    // True, with `result`, when the message was answered here and goes no
    // further. Nothing thrown leaves the subclass: a handler that throws has
    // not answered.
    virtual bool onMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // Lets the control's own procedure answer the message now.
    LRESULT defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam) const;

    HWND hwnd_ = nullptr;

  private:
    static LRESULT CALLBACK subclassProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void unsubclass();

    bool subclassed_ = false;
};

class Button : public Window {
  public:
    int checkState() const { return static_cast<int>(send(BM_GETCHECK)); }
    void setCheck(int state) const { send(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class Edit : public Window {};

class UpDown : public Window {
  public:
    LRESULT position() const { return send(UDM_GETPOS); }
    void setPosition(int position) const { send(UDM_SETPOS, 0, MAKELPARAM(position, 0)); }
    void setRange(int lower, int upper) const { send(UDM_SETRANGE, 0, MAKELPARAM(upper, lower)); }
};

class ComboBox : public Window {
  public:
    void resetContent() const { send(CB_RESETCONTENT); }
    void addString(const std::string& text) const {
        send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    int currentSelection() const { return static_cast<int>(send(CB_GETCURSEL)); }
    // The text of entry `index`; empty when there is none.
    std::string itemText(int index) const;
    void setCurrentSelection(int index) const { send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
};

class ListView : public Window {
  public:
    void insertColumn(int column, const char* heading, int width) const;
    void insertSelectedItem(int row, const std::string& text) const;
    void setItemText(int row, int column, const std::string& text) const;
    void setExtendedStyle(DWORD mask, DWORD style) const {
        send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
    }
};
