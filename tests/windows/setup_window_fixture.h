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

// What happened to the setup window's controls, in the order it happened, as
// the controls received it: WM_ENABLE, WM_SHOWWINDOW, WM_SETFOCUS; and
// WM_ACTIVATE as the window itself received it (control 0).
struct ControlEvent {
    int control;
    UINT message;
    bool on;
    bool operator==(const ControlEvent&) const = default;
};
void PrintTo(const ControlEvent& event, std::ostream* out);

class ControlEventRecorder {
  public:
    // `dialog` none: whichever setup window the events belong to.
    explicit ControlEventRecorder(HWND dialog,
                                  std::vector<UINT> messages = {WM_ENABLE, WM_SHOWWINDOW});
    ~ControlEventRecorder();
    ControlEventRecorder(const ControlEventRecorder&) = delete;
    ControlEventRecorder& operator=(const ControlEventRecorder&) = delete;

    std::vector<ControlEvent> take();

  private:
    void record(const CWPSTRUCT& call);
    bool isOurs(HWND window) const;

    HWND dialog_;
    std::vector<UINT> messages_;
    std::vector<ControlEvent> events_;
    CallHook hook_;
};

// A key pressed on a control, and how the window took it.
struct KeyPress {
    // The control still had the focus when the key was taken from the queue.
    // Without it, a window of another test process had just taken the
    // foreground, and the key proves nothing.
    bool metFocus;
    // Controls that got the focus while the key was handled.
    std::vector<int> focused;
};

// The host's own message loop: GetMessage, TranslateMessage, DispatchMessage
// and nothing else, run until what is queued now has been handled.
void runPlainHostLoop();

// The real plug-in, copied into a folder of its own so that its settings file
// is the test's alone, started with a TestHost and driven through its window.
class SetupWindowTest : public ::testing::Test {
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
    HWND window() const { return window_; }
    HWND item(int id) const { return GetDlgItem(window_, id); }
    // Every setup window on this thread.
    static std::vector<HWND> setupWindows();

    // Host messages after the identification: the commands, as text.
    std::vector<std::string> commandsSent() const;
    int identifications() const;

    // A click as the user makes it; a disabled control cannot be clicked.
    void click(int id);
    // A click that raises a modal box: `whileOpen` runs while the box is up,
    // then `answer` ends it, if it is still there.
    ModalBox clickAnswering(int id, const BoxAnswer& answer,
                            const std::function<void(HWND box)>& whileOpen = {});
    // Any action that raises a modal box, answered as above.
    ModalBox answeringModalBox(const std::function<void()>& action, const BoxAnswer& answer,
                               const std::function<void(HWND box)>& whileOpen = {});

    // Pickers and list.
    std::vector<std::string> pickerEntries(int id) const;
    int pickerSelection(int id) const;
    void selectInPicker(int id, int index) const;
    std::string cellText(int row, int column) const;
    std::vector<std::string> listColumn(int column) const;

    bool isEnabled(int id) const { return IsWindowEnabled(item(id)) != FALSE; }
    bool isVisible(int id) const;
    // The indicator frame that shows, 0 for none, -1 for more than one.
    int visibleFrame() const;
    void setSpin(int id, int position) const;

    // Moves the focus to the control the way the dialog manager does, then
    // presses the key there and runs the host's plain loop.
    KeyPress pressKey(int id, WPARAM key);

    // From now on the drive timer's own ticks are held back; tick() delivers
    // one tick at a time. Without this the real timer ticks.
    void useManualTicks();
    void tick();
    // Runs the host's plain message loop until `done` or the bound runs out.
    bool pumpUntil(const std::function<bool()>& done, DWORD boundMs);

  private:
    std::optional<ForegroundLock> foreground_;
    // Holds the drive timer's own ticks back while the test hands them out.
    std::optional<RetrievalHook> timerGate_;
    int ticksAllowed_ = 0;
    std::string folder_;
    std::optional<TestHost> host_;
    std::optional<PluginLibrary> plugin_;
    HWND window_ = nullptr;
};
