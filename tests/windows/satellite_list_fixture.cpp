#include "tests/windows/satellite_list_fixture.h"

#include <cstdio>
#include <utility>

#include <commctrl.h>

namespace {

// The pointer, the foreground window and the mouse capture belong to a
// desktop, and every test program of this Wine prefix shares the default one:
// a window of a program started meanwhile could take the foreground, and with
// it the pointer's messages. A desktop of this process's own keeps them ours.
// Only a thread without windows may move; one that already has some stays.
bool enterOwnDesktop() {
    static HDESK own = nullptr;
    if (own) return GetThreadDesktop(GetCurrentThreadId()) == own;
    const std::string name = "diseqc-satellite-list-" + std::to_string(GetCurrentProcessId());
    HDESK desktop = CreateDesktopA(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desktop) return false;
    if (!SetThreadDesktop(desktop)) {
        CloseDesktop(desktop);
        return false;
    }
    own = desktop;
    return true;
}

// True when the middle of `window` is not covered by another window.
bool isOnTop(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const POINT middle{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    HWND hit = WindowFromPoint(middle);
    return hit != nullptr && GetAncestor(hit, GA_ROOT) == window;
}

}  // namespace

std::string partialSettingsFile(const std::vector<std::string>& names, std::size_t stored,
                                const std::string& type) {
    return settingsFileText(firstOf(names, stored), type);
}

std::vector<std::string> withSwap(std::vector<std::string> names, int a, int b) {
    std::swap(names[static_cast<std::size_t>(a)], names[static_cast<std::size_t>(b)]);
    return names;
}

std::vector<std::string> firstOf(const std::vector<std::string>& names, std::size_t count) {
    return {names.begin(), names.begin() + static_cast<std::ptrdiff_t>(count)};
}

std::vector<std::string> lnbColumn() {
    std::vector<std::string> column;
    for (int row = 0; row < 60; ++row) column.push_back("LNB" + std::to_string(row));
    return column;
}

std::vector<std::string> indexColumn() {
    std::vector<std::string> column;
    for (int row = 0; row < 60; ++row) column.push_back(std::to_string(row + 1));
    return column;
}

bool SatelliteListTest::staysAboveSetupWindow(HWND box) {
    RECT setup{};
    GetWindowRect(window(), &setup);
    RECT covered{};
    GetWindowRect(box, &covered);
    const int width = setup.right - setup.left;
    const int height = setup.bottom - setup.top;
    SetWindowPos(window(), nullptr, (covered.left + covered.right - width) / 2,
                 (covered.top + covered.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const bool visible = isOnTop(box);
    SetWindowPos(window(), nullptr, setup.left, setup.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return visible;
}

void SatelliteListTest::SetUp() {
    ownDesktop_ = enterOwnDesktop();
    SetupWindowTest::SetUp();
}

void SatelliteListTest::TearDown() {
    if (pointer_ && HasFailure())
        std::printf("[ pointer  ] mouse messages taken:%s\n",
                    pointer_->retrievedMessages().c_str());
    pointer_.reset();
    changeCounter_.reset();
    SetupWindowTest::TearDown();
}

void SatelliteListTest::openList() {
    ASSERT_TRUE(openWindow());
    readyPointer();
}

void SatelliteListTest::reopenList() {
    pointer_.reset();
    click(IDC_CLOSE);
    pumpMessages();
    ASSERT_TRUE(setupWindows().empty());
    openList();
}

void SatelliteListTest::startFrom(const std::string& settings) {
    initialFile_ = settings;
    writeSettings(initialFile_);
}

void SatelliteListTest::readyPointer() {
    // Top right: clear of what other test programs open in the middle of the
    // screen and at its top left. Top-most, as Windows makes a window whose
    // template asks for it; Wine leaves that out.
    RECT frame{};
    GetWindowRect(window(), &frame);
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    SetWindowPos(window(), HWND_TOPMOST, area.right - (frame.right - frame.left), area.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
    pumpMessages();

    // Only a posted message passes here: proof that the list queued it rather
    // than sending it.
    if (!changeCounter_)
        changeCounter_.emplace([this](const MSG& message, bool removed) {
            if (removed && message.message == WM_SATLIST_CHANGED && message.hwnd == changesFrom_)
                ++changes_;
        });
    changesFrom_ = window();
    changes_ = 0;

    pointer_ = std::make_unique<Pointer>(window(), list());
    const char* desktop = ownDesktop_ ? "desktop of its own" : "shared desktop";
    std::printf("[ pointer  ] %s, %s\n", pointer_->path(), desktop);
    RecordProperty("pointer", pointer_->path());
    RecordProperty("desktop", desktop);
}

void SatelliteListTest::perform(const std::vector<PointerStep>& steps) {
    const std::string problem = pointer_->perform(steps);
    EXPECT_EQ(problem, "") << "with " << pointer_->path();
}

void SatelliteListTest::doubleClick(int row) {
    const std::string problem = pointer_->doubleClick(row);
    EXPECT_EQ(problem, "") << "with " << pointer_->path();
}

int SatelliteListTest::takeChangeMessages() {
    return std::exchange(changes_, 0);
}

FILETIME SatelliteListTest::settingsWriteTime() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(settingsPath().c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void SatelliteListTest::showRows(int top, int bottom) {
    SendMessageA(list(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(bottom), FALSE);
    const auto first = static_cast<int>(SendMessageA(list(), LVM_GETTOPINDEX, 0, 0));
    const auto count = static_cast<int>(SendMessageA(list(), LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_LE(first, top) << "rows " << top << " to " << bottom << " do not fit in the list";
    ASSERT_GE(first + count - 1, bottom);
}
