#include <gtest/gtest.h>

#include <string>

#include <windows.h>

namespace {

// The face that the window system gives a font asked for by name: the name
// itself when the face is there, another when it stands in.
std::wstring faceGivenFor(const wchar_t* face) {
    LOGFONTW asked{};
    asked.lfHeight = -11;
    asked.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(asked.lfFaceName, face, LF_FACESIZE);
    const HFONT font = CreateFontIndirectW(&asked);
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(dc, font);
    wchar_t given[LF_FACESIZE] = {};
    const int length = GetTextFaceW(dc, LF_FACESIZE, given);
    SelectObject(dc, before);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return std::wstring(given, length > 0 ? static_cast<std::size_t>(length - 1) : 0);
}

}  // namespace

// The faces that the plug-in's windows are drawn with, as on Windows: the
// title bars' buttons (Marlett), the dialogs' MS Sans Serif and the status
// line's Tahoma. A Wine prefix without its fonts gives others in their place,
// and the screenshots then show letters for buttons.
TEST(WindowFonts, TheFacesOfThePlugInsWindowsAreThere) {
    for (const wchar_t* face : {L"Marlett", L"MS Sans Serif", L"Tahoma"}) {
        const std::wstring given = faceGivenFor(face);
        EXPECT_EQ(given, face) << "asked for " << std::string(face, face + lstrlenW(face));
    }
}
