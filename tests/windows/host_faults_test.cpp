#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "host/host_messages.h"
#include "res/resource_ids.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

// What the host does from inside its own handler of the next command message.
std::function<void()> onNextCommand;

LRESULT CALLBACK callBackFromCommand(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_USER &&
        (call->wParam == HOST_MSG_SEND_DISEQC || call->wParam == HOST_MSG_SEND_DISEQC_RECORD) &&
        onNextCommand) {
        const std::function<void()> action = onNextCommand;
        onNextCommand = nullptr;
        action();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A timer without a window ticks into the thread's own queue; one left there
// by a window that is gone would tick in the host's loop for ever.
bool threadTimerTicksWithin(DWORD boundMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            if (!message.hwnd) return true;
            DispatchMessageA(&message);
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= boundMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, boundMs - spent, QS_TIMER);
    }
}

class HostFaults : public SetupWindowTest {
  protected:
    void SetUp() override {
        SetupWindowTest::SetUp();
        writeSettings(settingsFileText(customNames(), STAB_TYPE));
        hook_ =
            SetWindowsHookExA(WH_CALLWNDPROC, callBackFromCommand, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        onNextCommand = nullptr;
        UnhookWindowsHookEx(hook_);
        SetupWindowTest::TearDown();
    }

    HHOOK hook_ = nullptr;
};

TEST_F(HostFaults, CallsIntoThePlugInFromInsideItsCommandHandlerDoNoHarm) {
    struct Case {
        const char* label;
        std::function<void(PluginLibrary&)> callBack;
        bool windowStays;
    };
    const Case cases[] = {
        {"menu command again", [](PluginLibrary& plugin) { plugin.menuSelect(ID_PLUGIN_SETUP); },
         true},
        {"exit", [](PluginLibrary& plugin) { plugin.exit(); }, false},
        {"exit, then the menu command",
         [](PluginLibrary& plugin) {
             plugin.exit();
             plugin.menuSelect(ID_PLUGIN_SETUP);
         },
         true},
    };
    for (const Case& entry : cases) {
        for (const int button : {IDC_DRIVE_EAST, IDC_GOTO}) {
            SCOPED_TRACE(std::string(entry.label) + ", button " + std::to_string(button));
            ASSERT_TRUE(openWindow());
            const std::string file = settingsBytes();
            host().clearMessages();
            PluginLibrary& plugin = this->plugin();
            onNextCommand = [&] { entry.callBack(plugin); };

            click(button);

            EXPECT_EQ(onNextCommand, nullptr) << "the host got no command";
            EXPECT_EQ(commandsSent().size(), 1U);
            EXPECT_EQ(setupWindows().size(), entry.windowStays ? 1U : 0U);
            EXPECT_FALSE(threadTimerTicksWithin(600)) << "a drive timer outlived its window";
            EXPECT_EQ(settingsBytes(), file);
            plugin.exit();
            ASSERT_TRUE(setupWindows().empty());
        }
    }
}

TEST_F(HostFaults, HostWindowGoneWhileTheWindowIsOpen) {
    ASSERT_TRUE(openWindow());
    const std::string file = settingsBytes();
    const std::vector<std::string> names = listColumn(0);
    DestroyWindow(host().window());

    for (const int button :
         {IDC_GOTO, IDC_STEP_WEST, IDC_DRIVE_EAST, IDC_STOP, IDC_REFERENCE, IDC_MODEL_MOTECK}) {
        SCOPED_TRACE(button);
        click(button);
        ASSERT_EQ(setupWindows().size(), 1U);
    }
    EXPECT_EQ(listColumn(0), names);
    EXPECT_NE(settingsBytes(), file) << "the model is still saved";
    click(IDC_CLOSE);
    EXPECT_TRUE(setupWindows().empty());
}

// The file is read-only: an edit cannot be saved, the user learns it once from
// a box of the setup window, and the file keeps every byte. The host may stop
// the plug-in while that box is open.
TEST_F(HostFaults, AnEditThatCannotBeSavedIsToldOnceAndTheFileStaysWhole) {
    struct Case {
        const char* label;
        std::function<void()> edit;
        const char* firstWords;
        bool exitWhileOpen;
    };
    const auto switchModel = [this] { click(IDC_MODEL_MOTECK); };
    const auto swapNames = [this] {
        SendMessageA(window(), WM_SATLIST_SWAP, 0, 5);
        SendMessageA(window(), WM_SATLIST_CHANGED, 0, 0);
    };
    const Case cases[] = {
        {"model", switchModel, "The positioner model could not be saved", false},
        {"names", swapNames, "The satellite names could not be saved", false},
        {"names, exit while told", swapNames, "The satellite names could not be saved", true},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.label);
        ASSERT_TRUE(openWindow());
        const std::string file = settingsBytes();
        ASSERT_TRUE(SetFileAttributesA(settingsPath().c_str(), FILE_ATTRIBUTE_READONLY));
        HWND owner = nullptr;
        int boxes = 0;
        const ModalBox box = answeringModalBox(entry.edit, pressButton(IDOK), [&](HWND shown) {
            owner = GetWindow(shown, GW_OWNER);
            ++boxes;
            if (entry.exitWhileOpen) plugin().exit();
        });
        SetFileAttributesA(settingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);

        ASSERT_TRUE(box.seen);
        EXPECT_EQ(boxes, 1);
        EXPECT_EQ(box.caption, PLUGIN_DISPLAY_NAME);
        ASSERT_FALSE(box.texts.empty());
        EXPECT_EQ(box.texts.back().rfind(entry.firstWords, 0), 0U) << box.texts.back();
        EXPECT_EQ(owner, window());
        EXPECT_EQ(settingsBytes(), file);
        EXPECT_EQ(setupWindows().size(), entry.exitWhileOpen ? 0U : 1U);
        plugin().exit();
    }
}

}  // namespace
