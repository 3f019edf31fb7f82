#pragma once

#include <windows.h>

// A font that this object owns and deletes: a TrueType face at the height and
// weight of a window's own font, for text that a dialog's bitmap font cannot
// draw (an arrow). Windows links a TrueType face to others for the characters
// it lacks; a bitmap face draws a box.
class TrueTypeFont {
  public:
    TrueTypeFont() = default;
    TrueTypeFont(const TrueTypeFont&) = delete;
    TrueTypeFont& operator=(const TrueTypeFont&) = delete;
    ~TrueTypeFont();

    // Gives `control` the face `face` at the size of its current font; keeps
    // the control's font when no such font can be made. The object must
    // outlive the control's use of it.
    void applyTo(HWND control, const wchar_t* face);

  private:
    HFONT font_ = nullptr;
};
