#include "tests/windows/setup_window_fixture.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include <commctrl.h>

#include "host/host_messages.h"

namespace {

constexpr int FRAME_IDS[] = {IDC_FRAME_1, IDC_FRAME_2, IDC_FRAME_3, IDC_FRAME_4, IDC_FRAME_5};

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// What a modal box shows: its caption, its texts and its buttons.
ModalBox contentsOf(HWND box) {
    ModalBox contents{true, windowText(box), {}, {}};
    for (HWND child : childWindows(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::string kind = className(child);
        // An icon's window text is its resource ordinal, not something shown.
        const bool icon = (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (kind == "Static" && !icon && !windowText(child).empty())
            contents.texts.push_back(windowText(child));
        if (kind == "Button") contents.buttons.push_back(GetDlgCtrlID(child));
    }
    return contents;
}

}  // namespace

std::string describe(const TestHost::Message& message) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X:", static_cast<unsigned>(message.code));
    std::string result = text;
    for (std::uint8_t byte : message.bytes) {
        std::snprintf(text, sizeof text, " %02X", byte);
        result += text;
    }
    return result;
}

std::string expectedCommand(ApiDialect dialect, const Bytes& commandBytes) {
    if (dialect == ApiDialect::Native) {
        Bytes terminated = commandBytes;
        terminated.push_back(0);
        return describe({HOST_MSG_SEND_DISEQC, terminated});
    }
    Bytes record(28, 0);
    record[0] = 28;
    record[8] = static_cast<std::uint8_t>(commandBytes.size());
    for (std::size_t i = 0; i < commandBytes.size(); ++i) record[12 + i] = commandBytes[i];
    return describe({HOST_MSG_SEND_DISEQC_RECORD, record});
}

std::vector<std::string> customNames() {
    std::vector<std::string> names;
    for (int i = 1; i <= 60; ++i) names.push_back("Custom " + std::to_string(i));
    return names;
}

BoxAnswer pressButton(int id) {
    return [id](HWND box) { clickButton(box, id); };
}

BoxAnswer pressEscape() {
    return [](HWND box) { pressKeyIn(box, VK_ESCAPE); };
}

void PrintTo(const ControlEvent& event, std::ostream* out) {
    const char* kind = event.message == WM_ENABLE       ? " enable "
                       : event.message == WM_SHOWWINDOW ? " show "
                       : event.message == WM_SETFOCUS   ? " focus "
                                                        : " activate ";
    *out << event.control << kind << (event.on ? "on" : "off");
}

ControlEventRecorder::ControlEventRecorder(HWND dialog, std::vector<UINT> messages)
    : dialog_(dialog),
      messages_(std::move(messages)),
      hook_([this](const CWPSTRUCT& call) { record(call); }) {}

ControlEventRecorder::~ControlEventRecorder() = default;

std::vector<ControlEvent> ControlEventRecorder::take() {
    std::vector<ControlEvent> taken;
    taken.swap(events_);
    return taken;
}

bool ControlEventRecorder::isOurs(HWND window) const {
    if (!window) return false;
    if (dialog_) return window == dialog_;
    return className(window) == "#32770" && windowText(window) == SETUP_CAPTION;
}

void ControlEventRecorder::record(const CWPSTRUCT& call) {
    if (std::find(messages_.begin(), messages_.end(), call.message) == messages_.end()) return;
    if (call.message == WM_ACTIVATE) {
        if (isOurs(call.hwnd))
            events_.push_back({0, WM_ACTIVATE, LOWORD(call.wParam) != WA_INACTIVE});
        return;
    }
    if (!isOurs(GetParent(call.hwnd))) return;
    // A window shown or hidden along with its parent is not shown by anyone.
    if (call.message == WM_SHOWWINDOW && call.lParam != 0) return;
    const bool on = call.message == WM_SETFOCUS || call.wParam != 0;
    events_.push_back({GetDlgCtrlID(call.hwnd), call.message, on});
}

void runPlainHostLoop() {
    constexpr UINT LOOP_DONE = WM_APP + 0x31;
    PostThreadMessageA(GetCurrentThreadId(), LOOP_DONE, 0, 0);
    // Should a nested loop swallow the marker, the guard ends the wait.
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == LOOP_DONE) break;
        if (message.hwnd == nullptr && message.message == WM_TIMER && message.wParam == guard) {
            ADD_FAILURE() << "the host loop never got back to its marker";
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(nullptr, guard);
}

void SetupWindowTest::SetUp() {
    foreground_.emplace();
    ASSERT_TRUE(foreground_->held()) << "another test kept the display for 100 s";
    static int serial = 0;
    const std::string tag = "setup" + std::to_string(++serial);
    folder_ = makeScratchFolder(tag.c_str());
    const std::string copy = folder_ + "diseqc.dll";
    ASSERT_TRUE(CopyFileA(builtPluginPath().c_str(), copy.c_str(), TRUE)) << copy;
    ASSERT_FALSE(settingsExist()) << "scratch folder not empty: " << folder_;
    host_.emplace();
    host_->answerApiQueryWith(std::string("TestViewer 2.1"));
    loadPlugin();
}

void SetupWindowTest::loadPlugin() {
    plugin_.emplace(folder_ + "diseqc.dll");
    plugin_->start(host_->window());
}

void SetupWindowTest::TearDown() {
    timerGate_.reset();
    if (plugin_) {
        plugin_->exit();
        pumpMessages();
    }
    EXPECT_TRUE(setupWindows().empty()) << "a setup window outlived On_Exit";
    host_.reset();
    plugin_.reset();
    removeFolder(folder_);
    foreground_.reset();
}

void SetupWindowTest::writeSettings(const std::string& bytes) const {
    HANDLE file = CreateFileA(settingsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

std::string SetupWindowTest::settingsBytes() const {
    return readWholeFile(settingsPath());
}

bool SetupWindowTest::settingsExist() const {
    return GetFileAttributesA(settingsPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SetupWindowTest::openWindow() {
    plugin_->menuSelect(ID_PLUGIN_SETUP);
    const std::vector<HWND> open = setupWindows();
    window_ = open.size() == 1 ? open.front() : nullptr;
    return window_ != nullptr;
}

std::vector<HWND> SetupWindowTest::setupWindows() {
    return ::setupWindows();
}

std::vector<std::string> SetupWindowTest::commandsSent() const {
    std::vector<std::string> sent;
    for (const TestHost::Message& message : host_->messages())
        if (message.code != HOST_MSG_QUERY_API) sent.push_back(describe(message));
    return sent;
}

int SetupWindowTest::identifications() const {
    int count = 0;
    for (const TestHost::Message& message : host_->messages())
        if (message.code == HOST_MSG_QUERY_API) ++count;
    return count;
}

void SetupWindowTest::click(int id) {
    HWND control = item(id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    ASSERT_TRUE(IsWindowEnabled(control)) << "control " << id << " is disabled";
    SendMessageA(control, BM_CLICK, 0, 0);
}

ModalBox SetupWindowTest::clickAnswering(int id, const BoxAnswer& answer,
                                         const std::function<void(HWND)>& whileOpen) {
    return answeringModalBox([&] { click(id); }, answer, whileOpen);
}

ModalBox SetupWindowTest::answeringModalBox(const std::function<void()>& action,
                                            const BoxAnswer& answer,
                                            const std::function<void(HWND)>& whileOpen) {
    ModalBox box;
    ModalScript script;
    script.when(
        [this](HWND dialog) { return dialog != window_ && windowText(dialog) != SETUP_CAPTION; },
        [&](HWND found) {
            box = contentsOf(found);
            if (whileOpen) whileOpen(found);
            if (IsWindow(found)) answer(found);
        });
    script.runDuring(action);
    return box;
}

std::vector<std::string> SetupWindowTest::pickerEntries(int id) const {
    std::vector<std::string> entries;
    const auto count = static_cast<int>(SendMessageA(item(id), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(item(id), CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text));
        entries.emplace_back(text);
    }
    return entries;
}

int SetupWindowTest::pickerSelection(int id) const {
    return static_cast<int>(SendMessageA(item(id), CB_GETCURSEL, 0, 0));
}

void SetupWindowTest::selectInPicker(int id, int index) const {
    SendMessageA(item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string SetupWindowTest::cellText(int row, int column) const {
    return listCellText(item(IDC_SAT_LIST), row, column);
}

std::vector<std::string> SetupWindowTest::listColumn(int column) const {
    std::vector<std::string> texts;
    const auto rows = static_cast<int>(SendMessageA(item(IDC_SAT_LIST), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) texts.push_back(cellText(row, column));
    return texts;
}

bool SetupWindowTest::isVisible(int id) const {
    return (GetWindowLongA(item(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

int SetupWindowTest::visibleFrame() const {
    int shown = 0;
    for (int id : FRAME_IDS) {
        if (!isVisible(id)) continue;
        if (shown) return -1;
        shown = id;
    }
    return shown;
}

void SetupWindowTest::setSpin(int id, int position) const {
    SendMessageA(item(id), UDM_SETPOS, 0, MAKELPARAM(position, 0));
}

KeyPress SetupWindowTest::pressKey(int id, WPARAM key) {
    HWND target = item(id);
    SetForegroundWindow(window_);
    SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    ControlEventRecorder focus(window_, {WM_SETFOCUS});
    // Where the focus is at the moment the key leaves the queue, before the
    // dialog manager sees it.
    bool seen = false;
    bool metFocus = false;
    {
        RetrievalHook witness([&](const MSG& message, bool removed) {
            if (removed && message.message == WM_KEYDOWN && message.hwnd == target && !seen) {
                seen = true;
                metFocus = GetFocus() == target;
            }
        });
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, 0xC0000001);
        runPlainHostLoop();
    }
    KeyPress press{seen && metFocus, {}};
    for (const ControlEvent& event : focus.take()) press.focused.push_back(event.control);
    return press;
}

void SetupWindowTest::useManualTicks() {
    // The window a tick is for is the one open when it leaves the queue.
    if (!timerGate_)
        timerGate_.emplace([this](MSG& message, bool removed) {
            if (!removed || message.message != WM_TIMER || message.hwnd != window_) return;
            if (ticksAllowed_ > 0) {
                --ticksAllowed_;
            } else {
                message.message = WM_NULL;
            }
        });
    ticksAllowed_ = 0;
}

void SetupWindowTest::tick() {
    ASSERT_TRUE(timerGate_ && timerGate_->watching()) << "useManualTicks() first";
    ticksAllowed_ = 1;
    PostMessageA(window_, WM_TIMER, MOTION_TIMER_ID, 0);
    pumpMessages();
    ticksAllowed_ = 0;
}

bool SetupWindowTest::pumpUntil(const std::function<bool()>& done, DWORD boundMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > boundMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        pumpMessages();
    }
    return true;
}
