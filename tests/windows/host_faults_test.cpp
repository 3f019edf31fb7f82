#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "host/host_messages.h"
#include "res/resource_ids.h"
#include "tests/windows/setup_window_fixture.h"
#include "host_driver/plugin_windows.h"

namespace {

// Faults raised anywhere in the process while it counts. A hook of the
// plug-in left behind after FreeLibrary faults in the host's loop; Wine
// catches a fault in a hook and goes on, so only this shows it.
struct FaultCounter {
    static inline LONG seen = 0;
    PVOID handler = AddVectoredExceptionHandler(1, &FaultCounter::count);
    FaultCounter() { seen = 0; }
    ~FaultCounter() { RemoveVectoredExceptionHandler(handler); }
    static LONG CALLBACK count(EXCEPTION_POINTERS* fault) {
        if ((fault->ExceptionRecord->ExceptionCode & 0xC0000000) == 0xC0000000) ++seen;
        return EXCEPTION_CONTINUE_SEARCH;
    }
};

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
    }
    void TearDown() override {
        onNextCommand = nullptr;
        onNextIdentification = nullptr;
        SetupWindowTest::TearDown();
    }

    // What the host does from inside its own handler of the next command
    // message, or of the next identification.
    std::function<void()> onNextCommand;
    std::function<void()> onNextIdentification;

  private:
    void callBackFromHandler(const CWPSTRUCT& call) {
        if (call.message != WM_USER) return;
        const bool command =
            call.wParam == HOST_MSG_SEND_DISEQC || call.wParam == HOST_MSG_SEND_DISEQC_RECORD;
        std::function<void()>& pending =
            call.wParam == HOST_MSG_QUERY_API ? onNextIdentification : onNextCommand;
        if ((command || call.wParam == HOST_MSG_QUERY_API) && pending) {
            const std::function<void()> action = pending;
            pending = nullptr;
            action();
        }
    }

    CallHook hook_{[this](const CWPSTRUCT& call) { callBackFromHandler(call); }};
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

// The host stops the plug-in from inside one of its handlers, unloads it, and
// goes on with its own loop: keys pressed then meet nothing of the plug-in.
TEST_F(HostFaults, ExitFromAHostHandlerThenUnloadLeavesNothingOfThePlugInRunning) {
    struct Case {
        const char* label;
        std::function<void()> exitInside;
    };
    const Case cases[] = {
        {"identification of the setup window",
         [this] {
             onNextIdentification = [this] { plugin().exit(); };
             plugin().menuSelect(ID_PLUGIN_SETUP);
         }},
        {"a command of the setup window",
         [this] {
             ASSERT_TRUE(openWindow());
             onNextCommand = [this] { plugin().exit(); };
             click(IDC_DRIVE_EAST);
         }},
        {"a held drive of the extras",
         [this] {
             ASSERT_TRUE(openWindow());
             SendMessageA(window(), WM_SYSCOMMAND, IDM_EXTRAS, 0);
             const std::vector<HWND> extras = dialogsCaptioned(EXTRAS_CAPTION);
             ASSERT_EQ(extras.size(), 1U);
             onNextCommand = [this] { plugin().exit(); };
             DialogDriver(extras.front()).pressMouse(IDC_HOLD_DRIVE_EAST);
         }},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.label);
        ASSERT_NO_FATAL_FAILURE(entry.exitInside());
        EXPECT_EQ(onNextCommand, nullptr);
        EXPECT_EQ(onNextIdentification, nullptr);
        EXPECT_TRUE(setupWindows().empty());
        EXPECT_TRUE(dialogsCaptioned(EXTRAS_CAPTION).empty());
        // Later the window opens and closes as usual before the host is done.
        ASSERT_TRUE(openWindow());
        plugin().exit();

        const HMODULE module = plugin().module();
        unloadPlugin();
        char path[MAX_PATH];
        ASSERT_EQ(GetModuleFileNameA(module, path, MAX_PATH), 0U) << "still loaded";
        FaultCounter faults;
        for (const WPARAM key : {VK_TAB, VK_RETURN, VK_ESCAPE}) {
            PostMessageA(host().window(), WM_KEYDOWN, key, 1);
            PostMessageA(host().window(), WM_KEYUP, key, 0xC0000001);
        }
        runPlainHostLoop();
        EXPECT_EQ(FaultCounter::seen, 0) << "the host's loop ran into the unloaded plug-in";
        EXPECT_EQ(GetModuleHandleA("diseqc.dll"), nullptr) << "the plug-in was loaded again";
        EXPECT_TRUE(IsWindow(host().window()));
        loadPlugin();
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
