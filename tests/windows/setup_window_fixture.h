#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <windows.h>

#include "host/api_dialect.h"
#include "positioner/motion_tracker.h"
#include "res/resource_ids.h"
#include "tests/common/settings_file_text.h"
#include "tests/windows/dialog_driver.h"
#include "tests/windows/plugin_library.h"
#include "tests/windows/test_host.h"
#include "host_driver/message_hook.h"
#include "host_driver/modal_script.h"

using Bytes = std::vector<std::uint8_t>;

// Host messages as text ("01021015: E0 31 6B 02 00"), so that a mismatch
// reads as the bytes that went wrong.
std::string describe(const TestHost::Message& message);
// What the host must receive for a command in the given dialect.
std::string expectedCommand(ApiDialect dialect, const Bytes& commandBytes);

// Names that differ from every factory name: "Custom 1" .. "Custom 60".
std::vector<std::string> customNames();

// What a modal box showed while the code that raised it waited on it.
struct ModalBox {
    bool seen = false;
    std::string caption;
    std::vector<std::string> texts;  // non-empty static texts
    std::vector<int> buttons;        // visible push buttons, by id
};

// How a test ends a modal box, the way a user would.
using BoxAnswer = std::function<void(HWND box)>;
BoxAnswer pressButton(int id);
BoxAnswer pressEscape();

// The real plug-in, copied into a folder of its own so that its settings file
// is the test's alone, started with a TestHost and driven through its window.
//
// The fixture drives the setup window itself: click(id) clicks there.
class SetupWindowTest : public ::testing::Test, public DialogDriver {
  protected:
    void SetUp() override;
    void TearDown() override;

    PluginLibrary& plugin() { return *plugin_; }
    // FreeLibrary, as a host does when it is done with the plug-in; nothing
    // of the plug-in may be called afterwards.
    void unloadPlugin() { plugin_.reset(); }
    // Loads the test's copy of the plug-in and starts it with the host.
    void loadPlugin();
    TestHost& host() { return *host_; }

    std::string settingsPath() const { return folder_ + "diseqc.ini"; }
    void writeSettings(const std::string& bytes) const;
    std::string settingsBytes() const;
    bool settingsExist() const;

    // The menu command that opens the setup window; true when exactly one is then open.
    bool openWindow();
    // Every setup window on this thread.
    static std::vector<HWND> setupWindows();

    // Host messages after the identification: the commands, as text.
    std::vector<std::string> commandsSent() const;
    int identifications() const;

    // A click that raises a modal box: `whileOpen` runs while the box is up,
    // then `answer` ends it, if it is still there.
    ModalBox clickAnswering(int id, const BoxAnswer& answer,
                            const std::function<void(HWND box)>& whileOpen = {});
    // Any action that raises a modal box, answered as above.
    ModalBox answeringModalBox(const std::function<void()>& action, const BoxAnswer& answer,
                               const std::function<void(HWND box)>& whileOpen = {});

    // The satellite list.
    std::string cellText(int row, int column) const;
    std::vector<std::string> listColumn(int column) const;

    // The indicator frame that shows, 0 for none, -1 for more than one.
    int visibleFrame() const;

    // From now on the drive timer's own ticks are held back; tick() delivers
    // one tick at a time. Without this the real timer ticks.
    void useManualTicks();
    void tick();

  private:
    std::optional<ForegroundLock> foreground_;
    // Holds the drive timer's own ticks back while the test hands them out.
    std::optional<RetrievalHook> timerGate_;
    int ticksAllowed_ = 0;
    std::string folder_;
    std::optional<TestHost> host_;
    std::optional<PluginLibrary> plugin_;
};
