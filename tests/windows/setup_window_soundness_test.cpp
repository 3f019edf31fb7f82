#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "host/host_messages.h"
#include "res/resource_ids.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

// The host stopping the plug-in, or reopening its window, at awkward moments.
class SetupSoundness : public SetupWindowTest {
  protected:
    void SetUp() override {
        SetupWindowTest::SetUp();
        writeSettings(settingsFileText(customNames(), STAB_TYPE));
    }

    // A window opened again afterwards works normally.
    void expectAFreshWindowWorks() {
        host().clearMessages();
        ASSERT_TRUE(openWindow());
        EXPECT_EQ(identifications(), 1);
        click(IDC_REFERENCE);
        EXPECT_EQ(commandsSent(), std::vector<std::string>{
                                      expectedCommand(ApiDialect::Native, {0xE0, 0x31, 0x6B})});
    }
};

TEST_F(SetupSoundness, ExitWhileAConfirmationIsOpenSendsAndChangesNothing) {
    for (int button : {IDC_RECALCULATE, IDC_FACTORY_RESET}) {
        SCOPED_TRACE(button);
        ASSERT_TRUE(openWindow());
        const std::string file = settingsBytes();
        host().clearMessages();

        const ModalBox box =
            clickAnswering(button, pressButton(IDOK), [this](HWND) { plugin().exit(); });

        ASSERT_TRUE(box.seen);
        EXPECT_TRUE(setupWindows().empty());
        EXPECT_TRUE(host().messages().empty());
        EXPECT_EQ(settingsBytes(), file);
        pumpMessages();
        EXPECT_NO_FATAL_FAILURE(expectAFreshWindowWorks());
        plugin().exit();
    }
}

TEST_F(SetupSoundness, WindowReopenedWhileAConfirmationIsOpenStaysTheOneWindow) {
    ASSERT_TRUE(openWindow());
    const HWND first = window();
    HWND second = nullptr;
    host().clearMessages();

    clickAnswering(IDC_FACTORY_RESET, pressButton(IDOK), [&](HWND) {
        plugin().exit();
        plugin().menuSelect(ID_PLUGIN_SETUP);
        const std::vector<HWND> open = setupWindows();
        if (open.size() == 1) second = open.front();
    });

    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(setupWindows(), std::vector<HWND>{second});
    // The first window's late return must not have unregistered the second.
    plugin().menuSelect(ID_PLUGIN_SETUP);
    EXPECT_EQ(setupWindows(), std::vector<HWND>{second});
    EXPECT_EQ(identifications(), 1);
    EXPECT_TRUE(commandsSent().empty());
    EXPECT_EQ(settingsBytes(), settingsFileText(customNames(), STAB_TYPE));
}

TEST_F(SetupSoundness, ExitWhileTheAboutBoxIsOpen) {
    ASSERT_TRUE(openWindow());
    host().clearMessages();
    bool setupGoneWhileOpen = false;

    const ModalBox box = answeringModalBox(
        [&] { SendMessageA(window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }, pressButton(IDOK),
        [&](HWND) {
            plugin().exit();
            setupGoneWhileOpen = setupWindows().empty();
        });

    ASSERT_TRUE(box.seen);
    EXPECT_TRUE(setupGoneWhileOpen);
    EXPECT_TRUE(setupWindows().empty());
    EXPECT_TRUE(host().messages().empty());
    pumpMessages();
    EXPECT_NO_FATAL_FAILURE(expectAFreshWindowWorks());
}

TEST_F(SetupSoundness, TimerMessagesAfterTheWindowIsGoneDoNothing) {
    ASSERT_TRUE(openWindow());
    click(IDC_DRIVE_WEST);
    const HWND closed = window();
    host().clearMessages();
    plugin().exit();
    ASSERT_TRUE(setupWindows().empty());

    // Longer than a tick: a timer that outlived the window would fire now.
    pumpUntil([] { return false; }, 500);
    PostMessageA(closed, WM_TIMER, MOTION_TIMER_ID, 0);
    pumpMessages();
    EXPECT_TRUE(host().messages().empty());
    EXPECT_NO_FATAL_FAILURE(expectAFreshWindowWorks());
    EXPECT_TRUE(isEnabled(IDC_DRIVE_WEST)) << "a new window starts unlocked";
}

TEST_F(SetupSoundness, HostStoppingThePlugInWhileBeingIdentified) {
    // The host reacts to the identification by calling On_Exit: the window
    // goes away during its own start-up.
    bool exited = false;
    {
        const CallHook exitBeforeHostAnswers([&](const CWPSTRUCT& call) {
            if (call.message == WM_USER && call.wParam == HOST_MSG_QUERY_API && !exited) {
                exited = true;
                plugin().exit();
            }
        });
        plugin().menuSelect(ID_PLUGIN_SETUP);
    }

    EXPECT_TRUE(setupWindows().empty());
    EXPECT_TRUE(commandsSent().empty());
    pumpMessages();
    EXPECT_NO_FATAL_FAILURE(expectAFreshWindowWorks());
}

}  // namespace
