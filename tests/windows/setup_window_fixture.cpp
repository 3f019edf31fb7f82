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
    drive(open.size() == 1 ? open.front() : nullptr);
    return window() != nullptr;
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
        [this](HWND dialog) { return dialog != window() && windowText(dialog) != SETUP_CAPTION; },
        [&](HWND found) {
            box = contentsOf(found);
            if (whileOpen) whileOpen(found);
            if (IsWindow(found)) answer(found);
        });
    script.runDuring(action);
    return box;
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

int SetupWindowTest::visibleFrame() const {
    int shown = 0;
    for (int id : FRAME_IDS) {
        if (!isVisible(id)) continue;
        if (shown) return -1;
        shown = id;
    }
    return shown;
}

void SetupWindowTest::useManualTicks() {
    // The window a tick is for is the one open when it leaves the queue.
    if (!timerGate_)
        timerGate_.emplace([this](MSG& message, bool removed) {
            if (!removed || message.message != WM_TIMER || message.hwnd != window()) return;
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
    PostMessageA(window(), WM_TIMER, MOTION_TIMER_ID, 0);
    pumpMessages();
    ticksAllowed_ = 0;
}
