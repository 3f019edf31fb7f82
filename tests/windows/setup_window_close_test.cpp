#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

class SetupClose : public SetupWindowTest {
  protected:
    // A key that met no focus proves nothing: press it again, a few times at
    // most, opening the window again if the stray key closed it.
    KeyPress pressUntilItMeetsTheFocus(int id, WPARAM key) {
        KeyPress press{false, {}};
        for (int attempt = 0; attempt < 5 && !press.metFocus; ++attempt) {
            if (setupWindows().empty() && !openWindow()) break;
            host().clearMessages();
            press = pressKey(id, key);
        }
        return press;
    }
};

struct ClosePath {
    const char* what;
    std::function<void()> close;
};

TEST_F(SetupClose, EveryWayOfClosingLeavesNoWindowAndAllowsANewOne) {
    const ClosePath paths[] = {
        {"Close button", [this] { click(IDC_CLOSE); }},
        // Escape means cancel wherever the focus is.
        {"Escape key through the host's loop", [this] { pressKey(IDC_DRIVE_WEST, VK_ESCAPE); }},
        {"caption's close box",
         [this] {
             SendMessageA(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
             runPlainHostLoop();
         }},
        {"On_Exit", [this] { plugin().exit(); }},
        // Left open, the window would outlive every way of closing it.
        {"a second On_Start", [this] { plugin().start(host().window()); }},
    };
    for (const ClosePath& path : paths) {
        SCOPED_TRACE(path.what);
        host().clearMessages();
        ASSERT_TRUE(openWindow());
        ASSERT_EQ(identifications(), 1);

        path.close();
        EXPECT_TRUE(setupWindows().empty());
        EXPECT_FALSE(IsWindow(window()));
        EXPECT_TRUE(commandsSent().empty()) << "closing sends nothing";

        // A fresh window, which identifies the host again.
        ASSERT_TRUE(openWindow());
        EXPECT_EQ(identifications(), 2);
        plugin().exit();
        ASSERT_TRUE(setupWindows().empty());
    }
}

TEST_F(SetupClose, SecondMenuCommandOnlyActivatesTheOpenWindow) {
    ASSERT_TRUE(openWindow());
    const HWND first = window();
    selectInPicker(IDC_GOTO_PICKER, 9);
    SetActiveWindow(host().window());

    ControlEventRecorder activation(first, {WM_ACTIVATE});
    plugin().menuSelect(ID_PLUGIN_SETUP);
    const std::vector<ControlEvent> activated = {{0, WM_ACTIVATE, true}};
    EXPECT_EQ(activation.take(), activated);
    EXPECT_EQ(setupWindows(), std::vector<HWND>{first});
    EXPECT_EQ(identifications(), 1);
    EXPECT_EQ(pickerSelection(IDC_GOTO_PICKER), 9) << "the window is not started again";
}

TEST_F(SetupClose, CaptionCloseBoxWorksDuringADriveAndSendsNoHalt) {
    ASSERT_TRUE(openWindow());
    click(IDC_DRIVE_WEST);
    ASSERT_FALSE(isEnabled(IDC_CLOSE));
    host().clearMessages();

    SendMessageA(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    runPlainHostLoop();
    EXPECT_TRUE(setupWindows().empty());
    EXPECT_TRUE(host().messages().empty());
}

TEST_F(SetupClose, TabMovesTheFocusThroughTheHostsPlainLoop) {
    ASSERT_TRUE(openWindow());
    struct Step {
        int from;
        int to;
    };
    // The spins and the store picker have no tab stop. The radios have none
    // in the template, but the checked one takes it, so that Tab reaches the
    // model; after it the focus wraps round to the first control.
    const Step steps[] = {{IDC_DRIVE_WEST, IDC_WEST_DEGREES}, {IDC_WEST_DEGREES, IDC_DRIVE_EAST},
                          {IDC_DRIVE_EAST, IDC_EAST_DEGREES}, {IDC_STORE, IDC_RECALCULATE},
                          {IDC_SAT_LIST, IDC_MODEL_STAB},     {IDC_MODEL_STAB, IDC_DRIVE_WEST}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.from);
        const KeyPress press = pressUntilItMeetsTheFocus(step.from, VK_TAB);
        ASSERT_TRUE(press.metFocus);
        EXPECT_EQ(press.focused, std::vector<int>{step.to});
    }
}

TEST_F(SetupClose, EnterActivatesCloseUnlessAPushButtonHasTheFocus) {
    ASSERT_TRUE(openWindow());
    const KeyPress onStepWest = pressUntilItMeetsTheFocus(IDC_STEP_WEST, VK_RETURN);
    ASSERT_TRUE(onStepWest.metFocus);
    EXPECT_EQ(commandsSent(), std::vector<std::string>{
                                  expectedCommand(ApiDialect::Native, {0xE0, 0x31, 0x69, 0xFD})});
    EXPECT_EQ(setupWindows().size(), 1u);

    const KeyPress inTheEdit = pressUntilItMeetsTheFocus(IDC_WEST_DEGREES, VK_RETURN);
    ASSERT_TRUE(inTheEdit.metFocus);
    EXPECT_TRUE(setupWindows().empty()) << "Enter in the edit activates Close";
    EXPECT_TRUE(host().messages().empty());
}

}  // namespace
