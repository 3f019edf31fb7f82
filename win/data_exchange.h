#pragma once

#include <string>
#include <vector>

#include <windows.h>

class Window;

// Moves data between a dialog's controls and its members: binding control
// objects, text fields and their length limits.
class DataExchange {
  public:
    DataExchange(HWND dialog, bool saveAndValidate, std::vector<Window*>& boundControls)
        : dialog_(dialog), saveAndValidate_(saveAndValidate), boundControls_(boundControls) {}

    bool failed() const { return failed_; }

    void bindControl(int id, Window& control);
    void text(int id, std::string& value);
    // Keeps input within `maxChars`; on saving refuses a longer text with a
    // message box titled `caption` and puts the focus back into the field.
    void maxChars(int id, const std::string& value, int maxChars, const char* caption);

  private:
    HWND dialog_;
    bool saveAndValidate_;
    std::vector<Window*>& boundControls_;
    bool failed_ = false;
};
