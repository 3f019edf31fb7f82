#include "tests/windows/extras_window_fixture.h"

#include "host_driver/plugin_windows.h"

std::vector<HWND> extrasWindows() {
    return dialogsCaptioned(EXTRAS_CAPTION);
}

void ExtrasWindowTest::openBoth(const std::string& settings) {
    writeSettings(settings);
    ASSERT_TRUE(openWindow());
    ASSERT_TRUE(openExtras());
    host().clearMessages();
}

bool ExtrasWindowTest::openExtras() {
    SendMessageA(window(), WM_SYSCOMMAND, IDM_EXTRAS, 0);
    const std::vector<HWND> open = extrasWindows();
    extras_ = DialogDriver(open.size() == 1 ? open.front() : nullptr);
    return extras_.window() != nullptr;
}

ModalBox ExtrasWindowTest::clickExtrasAnswering(int id, const BoxAnswer& answer) {
    return answeringModalBox([&] { extras_.click(id); }, answer);
}

void ExtrasWindowTest::typeSatellite(const std::string& text) {
    retype(FindWindowExA(extras_.item(IDC_TARGET_SATELLITE), nullptr, "Edit", nullptr), text);
}

void ExtrasWindowTest::typeAngle(const std::string& degrees, int side) {
    extras_.typeText(IDC_TARGET_ANGLE, degrees);
    extras_.choose(IDC_TARGET_ANGLE_SIDE, side);
}

void ExtrasWindowTest::saveSite(const std::string& latitude, int northSouth,
                                const std::string& longitude, int eastWest) {
    extras_.typeText(IDC_SITE_LATITUDE, latitude);
    extras_.choose(IDC_SITE_NORTH_SOUTH, northSouth);
    extras_.typeText(IDC_SITE_LONGITUDE, longitude);
    extras_.choose(IDC_SITE_EAST_WEST, eastWest);
    extras_.click(IDC_SITE_SAVE);
}

std::vector<std::string> ExtrasWindowTest::expected(const std::vector<Bytes>& commands) const {
    std::vector<std::string> texts;
    for (const Bytes& command : commands)
        texts.push_back(expectedCommand(ApiDialect::Native, command));
    return texts;
}
