#include "win/font.h"

#include <cwchar>

TrueTypeFont::~TrueTypeFont() {
    if (font_) DeleteObject(font_);
}

void TrueTypeFont::applyTo(HWND control, const wchar_t* face) {
    const auto current = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW look{};
    if (!current || GetObjectW(current, sizeof look, &look) != sizeof look) return;
    std::wcsncpy(look.lfFaceName, face, LF_FACESIZE - 1);
    look.lfFaceName[LF_FACESIZE - 1] = L'\0';
    look.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    const HFONT made = CreateFontIndirectW(&look);
    if (!made) return;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(made), FALSE);
    if (font_) DeleteObject(font_);
    font_ = made;
}
