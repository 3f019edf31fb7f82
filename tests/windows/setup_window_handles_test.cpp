#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/resource_counts.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

class SetupHandles : public SetupWindowTest {
  protected:
    // Something of everything the window owns: a drive shows a frame, and the
    // about box comes and goes. Closed by On_Exit or by its Close button.
    void openUseAndClose(bool byCloseButton) {
        ASSERT_TRUE(openWindow());
        click(IDC_DRIVE_EAST);
        SendMessageA(window(), WM_TIMER, MOTION_TIMER_ID, 0);
        ASSERT_NE(visibleFrame(), 0);
        click(IDC_STOP);
        const ModalBox about = answeringModalBox(
            [&] { SendMessageA(window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }, pressButton(IDOK));
        ASSERT_TRUE(about.seen);
        if (byCloseButton) {
            click(IDC_CLOSE);
        } else {
            plugin().exit();
        }
        pumpMessages();
        ASSERT_TRUE(setupWindows().empty());
    }
};

TEST_F(SetupHandles, OpeningAndClosingFiveTimesLeaksNothing) {
    // The first round loads what the window system keeps for the process
    // (classes, fonts, shared icons); count from after it.
    ASSERT_NO_FATAL_FAILURE(openUseAndClose(false));
    const GuiObjects before = guiObjects();
    {
        // The count must see one new object of each kind, or it proves nothing.
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        HMENU menu = CreatePopupMenu();
        const GuiObjects more = guiObjects();
        DeleteObject(brush);
        DestroyMenu(menu);
        ASSERT_EQ(more.gdi, before.gdi + 1);
        ASSERT_EQ(more.user, before.user + 1);
    }
    for (int round = 1; round <= 5; ++round) {
        SCOPED_TRACE(round);
        ASSERT_NO_FATAL_FAILURE(openUseAndClose(round % 2 == 0));
    }
    const GuiObjects after = guiObjects();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

}  // namespace
