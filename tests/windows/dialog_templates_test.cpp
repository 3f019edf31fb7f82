#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "tests/windows/dialog_template_reader.h"
#include "tests/windows/plugin_library.h"
#include "tests/windows/test_host.h"

namespace {

constexpr WORD ENGLISH_US = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr WORD ENGLISH_UK = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);
constexpr DWORD NO_ID = 0xFFFFFFFF;

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr DWORD PUSH = BS_PUSHBUTTON | WS_TABSTOP | CHILD;
constexpr DWORD DEFAULT_PUSH = BS_DEFPUSHBUTTON | WS_TABSTOP | CHILD;
constexpr DWORD GROUP_BOX = BS_GROUPBOX | CHILD;
constexpr DWORD DEGREES = ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | CHILD;
constexpr DWORD SPIN =
    UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS | CHILD;
constexpr DWORD FRAME = SS_ICON | WS_CHILD;
constexpr DWORD PICKER = CBS_DROPDOWNLIST | WS_VSCROLL | CHILD;

const TemplateName BUTTON = templateOrdinal(0x80);
const TemplateName EDIT = templateOrdinal(0x81);
const TemplateName STATIC = templateOrdinal(0x82);
const TemplateName COMBOBOX = templateOrdinal(0x85);
const TemplateName UPDOWN = templateText(L"msctls_updown32");
const TemplateName LISTVIEW = templateText(L"SysListView32");
const TemplateName NONE;

TemplateName text(const wchar_t* value) {
    return templateText(value);
}
TemplateName icon(WORD id) {
    return templateOrdinal(id);
}

TemplateControl control(DWORD id, TemplateName windowClass, TemplateName title, short x, short y,
                        short cx, short cy, DWORD style, DWORD exStyle = 0) {
    return {.exStyle = exStyle,
            .style = style,
            .x = x,
            .y = y,
            .cx = cx,
            .cy = cy,
            .id = id,
            .windowClass = std::move(windowClass),
            .title = std::move(title)};
}

struct ExpectedDialog {
    const char* name;
    WORD id;
    WORD language;
    DialogTemplate layout;
};

void PrintTo(const ExpectedDialog& dialog, std::ostream* out) {
    *out << "dialog " << dialog.id;
}

const ExpectedDialog SETUP{
    "Setup",
    103,
    ENGLISH_US,
    {.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_ABSALIGN | DS_SYSMODAL |
              DS_NOFAILCREATE | DS_SETFONT | DS_SETFOREGROUND,
     .x = 100,
     .y = 100,
     .cx = 444,
     .cy = 265,
     .menu = NONE,
     .windowClass = NONE,
     .caption = L"Stab HH100/120 SG-2100 DiSEqC1.2 Positioner Setup V1.4",
     .pointSize = 8,
     .charset = DEFAULT_CHARSET,
     .typeface = L"MS Sans Serif",
     .controls = {
         control(1002, BUTTON, text(L"Drive West \u00B0"), 24, 161, 50, 14, PUSH),
         control(1017, EDIT, NONE, 78, 161, 32, 14, DEGREES),
         control(1018, UPDOWN, NONE, 110, 161, 9, 14, SPIN),
         control(1027, STATIC, icon(1007), 129, 158, 21, 20, FRAME),
         control(1003, BUTTON, text(L"Drive East \u00B0"), 172, 161, 50, 14, PUSH),
         control(1015, EDIT, NONE, 226, 161, 32, 14, DEGREES),
         control(1016, UPDOWN, NONE, 259, 161, 9, 14, SPIN),
         control(1004, BUTTON, text(L"Step West"), 24, 185, 50, 14, PUSH),
         control(1014, BUTTON, text(L"Stop"), 125, 185, 28, 14, PUSH),
         control(1005, BUTTON, text(L"Step East"), 208, 185, 50, 14, PUSH),
         control(1019, BUTTON, text(L"Drive to Reference Position 0 \u00B0"), 24, 209, 234, 14,
                 PUSH),
         control(1020, BUTTON, text(L"Drive to Sat Position >"), 25, 28, 107, 14, PUSH),
         control(1021, BUTTON, text(L"Save current Sat Position >"), 25, 50, 107, 14, PUSH),
         control(1006, BUTTON, text(L"Recalculate Sat Positions >"), 25, 96, 107, 14, PUSH),
         control(1022, BUTTON, text(L"Restore Factory Settings"), 25, 118, 206, 14, PUSH),
         control(1001, BUTTON, text(L"Close"), 328, 209, 50, 14, DEFAULT_PUSH),
         control(NO_ID, BUTTON, text(L"Drive Positioner, Relative Movements"), 15, 147, 251, 89,
                 GROUP_BOX),
         control(NO_ID, BUTTON, text(L"Control Sat Position"), 15, 13, 223, 59, GROUP_BOX),
         control(NO_ID, BUTTON, text(L"Control all stored Positions"), 15, 82, 223, 58, GROUP_BOX),
         control(1029, STATIC, icon(1008), 129, 158, 21, 20, FRAME),
         control(1030, STATIC, icon(1009), 129, 158, 21, 20, FRAME),
         control(1031, STATIC, icon(1010), 129, 158, 21, 20, FRAME),
         control(1032, STATIC, icon(1011), 129, 158, 21, 20, FRAME),
         control(1034, COMBOBOX, NONE, 135, 29, 96, 63, PICKER | WS_TABSTOP),
         control(1035, COMBOBOX, NONE, 135, 50, 96, 59, PICKER),
         control(1036, COMBOBOX, NONE, 135, 97, 96, 59, PICKER | WS_TABSTOP),
         control(1038, LISTVIEW, NONE, 249, 17, 177, 122,
                 LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP | CHILD),
         control(1039, BUTTON, text(L"Stab HH100/120"), 289, 161, 76, 10,
                 BS_AUTORADIOBUTTON | WS_GROUP | CHILD),
         control(1040, BUTTON, text(L"MOTECK SG-2100"), 289, 173, 76, 10,
                 BS_AUTORADIOBUTTON | CHILD),
         control(1041, BUTTON, text(L"Positioner Model"), 276, 147, 151, 45, GROUP_BOX),
         control(1044, STATIC, NONE, 15, 245, 412, 12, SS_LEFT | WS_GROUP | CHILD,
                 WS_EX_CLIENTEDGE),
     }}};

const ExpectedDialog SAT_NAME{
    "SatName",
    1012,
    ENGLISH_UK,
    {.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT,
     .cx = 186,
     .cy = 49,
     .menu = NONE,
     .windowClass = NONE,
     .caption = L"Enter/Modify Sat. Name",
     .pointSize = 8,
     .charset = DEFAULT_CHARSET,
     .typeface = L"MS Sans Serif",
     .controls = {
         control(IDOK, BUTTON, text(L"OK"), 129, 7, 50, 14, DEFAULT_PUSH),
         control(IDCANCEL, BUTTON, text(L"Cancel"), 129, 24, 50, 14, PUSH),
         control(1042, EDIT, NONE, 13, 17, 107, 15,
                 ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | CHILD),
     }}};

const ExpectedDialog ABOUT{
    "About",
    1014,
    ENGLISH_UK,
    {.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     .x = 50,
     .y = 50,
     .cx = 186,
     .cy = 57,
     .menu = NONE,
     .windowClass = NONE,
     .caption = L"About DiSEqC DLL",
     .pointSize = 8,
     .charset = DEFAULT_CHARSET,
     .typeface = L"MS Sans Serif",
     .controls = {
         control(IDOK, BUTTON, text(L"OK"), 141, 7, 38, 14, DEFAULT_PUSH | WS_GROUP),
         control(NO_ID, STATIC, icon(1013), 15, 18, 20, 20, SS_ICON | CHILD),
         control(1043, STATIC, text(L"DiSEqC DLL Version 1.4"), 43, 24, 94, 8,
                 SS_LEFT | WS_GROUP | CHILD),
     }}};

std::string printable(const std::wstring& value) {
    std::string out;
    for (wchar_t c : value) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        }
    }
    return out;
}

std::string hex(DWORD value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(value));
    return buffer;
}

// Window classes are found without regard to case, and windres stores a class
// name upper-cased; only the letters, not their case, are part of the template.
std::string describeClass(const TemplateName& name) {
    std::ostringstream out;
    if (name.ordinal) {
        out << "#" << hex(name.ordinal);
    } else {
        std::string letters = printable(name.text);
        for (char& c : letters) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        out << "\"" << letters << "\"";
    }
    return out.str();
}

std::string describe(const TemplateName& name) {
    std::ostringstream out;
    if (name.ordinal) {
        out << "#" << name.ordinal;
    } else {
        out << "\"" << printable(name.text) << "\"";
    }
    return out.str();
}

std::string describe(const TemplateControl& c) {
    std::ostringstream out;
    out << "id " << static_cast<LONG>(c.id) << ", class " << describeClass(c.windowClass)
        << ", title " << describe(c.title) << ", at " << c.x << "," << c.y << " size " << c.cx
        << "x" << c.cy << ", style " << hex(c.style) << ", ex " << hex(c.exStyle) << ", help "
        << c.helpId << ", extra bytes " << c.extraBytes;
    return out.str();
}

std::string describeFrame(const DialogTemplate& d) {
    std::ostringstream out;
    out << "caption \"" << printable(d.caption) << "\", style " << hex(d.style) << ", ex "
        << hex(d.exStyle) << ", help " << d.helpId << ", at " << d.x << "," << d.y << " size "
        << d.cx << "x" << d.cy << ", menu " << describe(d.menu) << ", class "
        << describe(d.windowClass) << ", font " << d.pointSize << " pt \"" << printable(d.typeface)
        << "\" weight " << d.weight << " italic " << int{d.italic} << " charset " << int{d.charset}
        << ", " << d.controls.size() << " controls";
    return out.str();
}

class DialogTemplates : public ::testing::TestWithParam<ExpectedDialog> {
  protected:
    PluginLibrary plugin;
};

TEST_P(DialogTemplates, MatchTheirTableFieldByField) {
    const ExpectedDialog& expected = GetParam();
    const auto bytes =
        resourceBytes(plugin.module(), RT_DIALOG, MAKEINTRESOURCEA(expected.id), expected.language);
    ASSERT_FALSE(bytes.empty()) << "no template " << expected.id << " in its language";
    const DialogTemplate actual = readDialogTemplate(bytes);

    EXPECT_EQ(describeFrame(actual), describeFrame(expected.layout));
    const std::size_t common = std::min(actual.controls.size(), expected.layout.controls.size());
    for (std::size_t i = 0; i < common; ++i)
        EXPECT_EQ(describe(actual.controls[i]), describe(expected.layout.controls[i]))
            << "control #" << i + 1;
}

INT_PTR CALLBACK quietDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog made by the dialog manager from the plug-in's own template.
class BuiltDialog {
  public:
    BuiltDialog(HMODULE module, WORD id) {
        EXPECT_TRUE(foreground_.held()) << "another test kept the display for 100 s";
        INITCOMMONCONTROLSEX classes{
            sizeof classes, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&classes);
        window_ = CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, quietDialog, 0);
    }
    ~BuiltDialog() {
        if (window_) DestroyWindow(window_);
    }
    BuiltDialog(const BuiltDialog&) = delete;
    BuiltDialog& operator=(const BuiltDialog&) = delete;

    HWND window() const { return window_; }

    // The dialog manager stacks the controls in template order.
    std::vector<HWND> children() const {
        std::vector<HWND> found;
        for (HWND child = GetWindow(window_, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            found.push_back(child);
        return found;
    }

  private:
    ForegroundLock foreground_;
    HWND window_ = nullptr;
};

std::wstring windowText(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

std::string className(HWND window) {
    char buffer[64] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

std::string classNameFor(const TemplateName& windowClass) {
    switch (windowClass.ordinal) {
        case 0x80:
            return "Button";
        case 0x81:
            return "Edit";
        case 0x82:
            return "Static";
        case 0x85:
            return "ComboBox";
        default:
            return printable(windowClass.text);
    }
}

TEST_P(DialogTemplates, BuildEveryControlThroughTheDialogManager) {
    const ExpectedDialog& expected = GetParam();
    BuiltDialog dialog(plugin.module(), expected.id);
    ASSERT_NE(dialog.window(), nullptr) << "error " << GetLastError();

    const std::vector<HWND> children = dialog.children();
    const auto& controls = expected.layout.controls;
    ASSERT_EQ(children.size(), controls.size());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        const TemplateControl& want = controls[i];
        const HWND child = children[i];
        EXPECT_EQ(GetDlgCtrlID(child), static_cast<int>(want.id));
        if (want.id != NO_ID) {
            EXPECT_EQ(GetDlgItem(dialog.window(), want.id), child);
        }
        EXPECT_EQ(lstrcmpiA(className(child).c_str(), classNameFor(want.windowClass).c_str()), 0)
            << className(child) << " instead of " << classNameFor(want.windowClass);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        EXPECT_EQ(style & WS_VISIBLE, want.style & WS_VISIBLE);
        if (want.title.ordinal) {
            EXPECT_NE(SendMessageA(child, STM_GETICON, 0, 0), 0) << "icon not loaded";
        } else if (want.windowClass == BUTTON || want.windowClass == STATIC) {
            EXPECT_EQ(printable(windowText(child)), printable(want.title.text));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PlugIn, DialogTemplates, ::testing::Values(SETUP, SAT_NAME, ABOUT),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SetupDialog, ShowsAtOnceAndPairsEachSpinWithTheEditBeforeIt) {
    PluginLibrary plugin;
    BuiltDialog dialog(plugin.module(), 103);
    ASSERT_NE(dialog.window(), nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog.window()));
    const struct { int spin, edit; } pairs[] = {{1018, 1017}, {1016, 1015}};
    for (const auto& pair : pairs) {
        const HWND spin = GetDlgItem(dialog.window(), pair.spin);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)),
                  GetDlgItem(dialog.window(), pair.edit))
            << "spin " << pair.spin;
    }
}

BOOL CALLBACK collectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
    return TRUE;
}

TEST(DialogAndIconResources, EachComesInItsOneLanguage) {
    PluginLibrary plugin;
    const struct {
        LPCSTR type;
        WORD name;
        WORD language;
    } resources[] = {
        {RT_DIALOG, 103, ENGLISH_US},      {RT_DIALOG, 1012, ENGLISH_UK},
        {RT_DIALOG, 1014, ENGLISH_UK},     {RT_STRING, 1, ENGLISH_UK},
        {RT_GROUP_ICON, 1007, ENGLISH_UK}, {RT_GROUP_ICON, 1008, ENGLISH_UK},
        {RT_GROUP_ICON, 1009, ENGLISH_UK}, {RT_GROUP_ICON, 1010, ENGLISH_UK},
        {RT_GROUP_ICON, 1011, ENGLISH_UK}, {RT_GROUP_ICON, 1013, ENGLISH_UK},
    };
    for (const auto& resource : resources) {
        std::vector<WORD> found;
        EnumResourceLanguagesA(plugin.module(), resource.type, MAKEINTRESOURCEA(resource.name),
                               collectLanguage, reinterpret_cast<LONG_PTR>(&found));
        EXPECT_EQ(found, std::vector<WORD>{resource.language})
            << "type " << reinterpret_cast<UINT_PTR>(resource.type) << " name " << resource.name;
    }
}

// Strings live in blocks of sixteen, each a length followed by UTF-16 units.
std::vector<std::wstring> stringBlock(std::span<const std::byte> bytes) {
    std::vector<std::wstring> strings;
    std::size_t offset = 0;
    for (int i = 0; i < 16 && offset + 2 <= bytes.size(); ++i) {
        WORD length = 0;
        std::memcpy(&length, bytes.data() + offset, 2);
        offset += 2;
        if (offset + 2u * length > bytes.size()) break;
        std::wstring value(length, L'\0');
        std::memcpy(value.data(), bytes.data() + offset, 2u * length);
        offset += 2u * length;
        strings.push_back(value);
    }
    return strings;
}

TEST(AboutString, IsTheOnlyStringAndReadsAboutDiseqcDll) {
    PluginLibrary plugin;
    const auto bytes = resourceBytes(plugin.module(), RT_STRING, MAKEINTRESOURCEA(1), ENGLISH_UK);
    ASSERT_FALSE(bytes.empty());
    std::vector<std::wstring> expected(16);
    expected[1] = L"&About DiSEqC DLL";
    EXPECT_EQ(stringBlock(bytes), expected);

    char loaded[64] = {};
    EXPECT_EQ(LoadStringA(plugin.module(), 1, loaded, sizeof loaded), 17);
    EXPECT_STREQ(loaded, "&About DiSEqC DLL");
}

struct IconImage {
    int size;
    BYTE colourCount;  // 0 for 256 colours and more
    WORD bitCount;
};

std::string describe(const IconImage& image) {
    std::ostringstream out;
    out << image.size << "x" << image.size << ", " << int{image.colourCount} << " colours, "
        << image.bitCount << " bits";
    return out.str();
}

template <class T>
T at(std::span<const std::byte> bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

TEST(IconGroups, HoldTheImagesOfTheirTable) {
    PluginLibrary plugin;
    const IconImage turn{32, 0, 8};
    const struct {
        WORD id;
        std::vector<IconImage> images;
    } groups[] = {{1007, {turn}}, {1008, {turn}}, {1009, {turn}},
                  {1010, {turn}}, {1011, {turn}}, {1013, {{32, 16, 4}, {16, 16, 4}}}};
    for (const auto& group : groups) {
        SCOPED_TRACE("icon " + std::to_string(group.id));
        const auto directory =
            resourceBytes(plugin.module(), RT_GROUP_ICON, MAKEINTRESOURCEA(group.id), ENGLISH_UK);
        ASSERT_GE(directory.size(), 6u);
        EXPECT_EQ(at<WORD>(directory, 0), 0);
        EXPECT_EQ(at<WORD>(directory, 2), 1) << "not an icon directory";
        const WORD count = at<WORD>(directory, 4);
        ASSERT_EQ(count, group.images.size());
        ASSERT_EQ(directory.size(), 6u + 14u * count);
        for (WORD i = 0; i < count; ++i) {
            const std::size_t entry = 6 + 14u * i;
            const BYTE width = at<BYTE>(directory, entry);
            const BYTE height = at<BYTE>(directory, entry + 1);
            const IconImage listed{width == height ? width : -1, at<BYTE>(directory, entry + 2),
                                   at<WORD>(directory, entry + 6)};
            EXPECT_EQ(describe(listed), describe(group.images[i]));
            EXPECT_EQ(at<WORD>(directory, entry + 4), 1) << "planes";

            // The image itself must agree with its directory entry and load.
            const WORD imageId = at<WORD>(directory, entry + 12);
            const auto image =
                resourceBytes(plugin.module(), RT_ICON, MAKEINTRESOURCEA(imageId), ENGLISH_UK);
            ASSERT_EQ(image.size(), at<DWORD>(directory, entry + 8)) << "image " << imageId;
            const auto header = at<BITMAPINFOHEADER>(image, 0);
            EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
            EXPECT_EQ(header.biWidth, group.images[i].size);
            EXPECT_EQ(header.biHeight, 2 * group.images[i].size) << "picture and mask";
            EXPECT_EQ(header.biBitCount, group.images[i].bitCount);
            HICON loaded = CreateIconFromResourceEx(
                reinterpret_cast<PBYTE>(const_cast<std::byte*>(image.data())),
                static_cast<DWORD>(image.size()), TRUE, 0x00030000, group.images[i].size,
                group.images[i].size, LR_DEFAULTCOLOR);
            EXPECT_NE(loaded, nullptr);
            if (loaded) DestroyIcon(loaded);
        }
    }
}

}  // namespace
