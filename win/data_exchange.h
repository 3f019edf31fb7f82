#pragma once

#include <string>
#include <vector>

#include <windows.h>

class Window;

// Moves data between a dialog's controls and its members: binding control
// objects, text fields and their length limits.
class DataExchange {
  public:
    // `caption` titles the message boxes that refuse what was typed.
    DataExchange(HWND dialog, const char* caption, bool saveAndValidate,
                 std::vector<Window*>& boundControls)
        : dialog_(dialog),
          caption_(caption),
          saveAndValidate_(saveAndValidate),
          boundControls_(boundControls) {}

    bool failed() const { return failed_; }

    void bindControl(int id, Window& control);
    void text(int id, std::string& value);
    // Keeps input within `maxChars`; on saving refuses a longer text with a
    // message box and puts the focus back into the field.
    void maxChars(int id, const std::string& value, int maxChars);

  private:
    HWND dialog_;
    const char* caption_;
    bool saveAndValidate_;
    std::vector<Window*>& boundControls_;
    bool failed_ = false;
};
