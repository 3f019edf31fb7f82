#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

class SetupAbout : public SetupWindowTest {
  protected:
    void SetUp() override {
        SetupWindowTest::SetUp();
        ASSERT_TRUE(openWindow());
        host().clearMessages();
    }
};

TEST_F(SetupAbout, SystemMenuEndsWithSeparatorAndAboutEntry) {
    HMENU menu = GetSystemMenu(window(), FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 3);

    const MenuEntry about = menuEntry(menu, count - 1);
    ASSERT_TRUE(about.read);
    EXPECT_EQ(about.text, "&About DiSEqC DLL");
    EXPECT_EQ(about.id, static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(about.type & MFT_SEPARATOR, 0u);

    const MenuEntry separator = menuEntry(menu, count - 2);
    ASSERT_TRUE(separator.read);
    EXPECT_NE(separator.type & MFT_SEPARATOR, 0u);

    // The standard close command is still there, ahead of them.
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(SetupAbout, AboutBoxShowsVersionAndLeavesTheWindowAsItWas) {
    struct Case {
        const char* what;
        BoxAnswer answer;
    };
    const Case cases[] = {
        {"OK", pressButton(IDOK)},
        {"Escape", pressEscape()},
        {"caption's close box", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    selectInPicker(IDC_STORE_PICKER, 8);
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.what);
        bool hasIcon = false;
        bool setupUsable = false;
        bool aboutOnTop = false;
        const ModalBox box = answeringModalBox(
            [&] { SendMessageA(window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }, entry.answer,
            [&](HWND about) {
                HWND icon = FindWindowExA(about, nullptr, "Static", nullptr);
                while (icon && !(GetWindowLongA(icon, GWL_STYLE) & SS_ICON))
                    icon = FindWindowExA(about, icon, "Static", nullptr);
                hasIcon = icon && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
                setupUsable = IsWindowEnabled(window()) != FALSE;
                aboutOnTop = (GetWindowLongA(about, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            });

        ASSERT_TRUE(box.seen);
        EXPECT_EQ(box.caption, "About DiSEqC DLL");
        EXPECT_EQ(box.texts, std::vector<std::string>{"DiSEqC DLL Version 1.4"});
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_TRUE(hasIcon);
        EXPECT_TRUE(setupUsable) << "the about box has no owner to disable";
        EXPECT_TRUE(aboutOnTop) << "an unowned box must not open behind the top-most setup window";

        EXPECT_EQ(setupWindows(), std::vector<HWND>{window()});
        EXPECT_EQ(pickerSelection(IDC_STORE_PICKER), 8);
        EXPECT_TRUE(host().messages().empty());
    }
}

}  // namespace
