#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "res/resource_ids.h"
#include "tests/windows/resource_counts.h"
#include "tests/windows/extras_window_fixture.h"
#include "host_driver/modal_script.h"
#include "host_driver/plugin_windows.h"

namespace {

constexpr char BELOW_HORIZON[] =
    "This satellite is below the horizon of the site: the dish cannot see it. Nothing was sent.";
constexpr char BAD_SITE[] =
    "Type the latitude from 0.0 to 90.0 degrees and the longitude from 0.0 to 180.0 degrees, "
    "then choose N or S and E or W.";
const Bytes HALT{0xE0, 0x31, 0x60};

using Extras = ExtrasWindowTest;

TEST_F(Extras, MenuItemSitsAboveTheAboutEntry) {
    writeSettings(factorySettingsFile());
    ASSERT_TRUE(openWindow());
    HMENU menu = GetSystemMenu(window(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 5);
    EXPECT_EQ(menuEntry(menu, count - 1).text, "&About DiSEqC DLL");
    EXPECT_NE(menuEntry(menu, count - 2).type & MFT_SEPARATOR, 0u);
    const MenuEntry extras = menuEntry(menu, count - 3);
    EXPECT_EQ(extras.text, "Positioner &Extras...");
    const UINT id = extras.id;
    EXPECT_EQ(id, static_cast<UINT>(IDM_EXTRAS));
    EXPECT_NE(id & 0xFFF0, static_cast<UINT>(IDM_ABOUTBOX)) << "the about box would open instead";
    EXPECT_LT(id, 0xF000u) << "the window system's own commands start there";
}

// Where there is room beside the setup window, the extras open there, above
// other windows as the setup window is.
TEST_F(Extras, OpensBesideTheSetupWindowOwnedByItAndAboveOtherWindows) {
    writeSettings(factorySettingsFile());
    ASSERT_TRUE(openWindow());
    SetWindowPos(window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(openExtras());
    EXPECT_EQ(GetWindow(extras().window(), GW_OWNER), window());
    RECT setup{};
    RECT beside{};
    RECT overlap{};
    GetWindowRect(window(), &setup);
    GetWindowRect(extras().window(), &beside);
    EXPECT_FALSE(IntersectRect(&overlap, &setup, &beside));
    EXPECT_NE(GetWindowLongA(extras().window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(Extras, ASecondCommandOpensNoSecondWindow) {
    writeSettings(factorySettingsFile());
    ASSERT_TRUE(openWindow());
    ASSERT_TRUE(openExtras());
    EXPECT_TRUE(openExtras()) << "a second command opens no second window";
    EXPECT_EQ(extrasWindows().size(), 1u);
}

TEST_F(Extras, OpeningSendsNothing) {
    writeSettings(factorySettingsFile());
    ASSERT_TRUE(openWindow());
    ASSERT_TRUE(openExtras());
    ASSERT_TRUE(openExtras());
    EXPECT_TRUE(commandsSent().empty());
}

TEST_F(Extras, ClosedByItsCancelButtonItLeavesTheSetupWindowAndOpensAgain) {
    openBoth();
    extras().click(IDCANCEL);
    pumpMessages();
    EXPECT_TRUE(extrasWindows().empty());
    EXPECT_EQ(setupWindows(), std::vector<HWND>{window()});
    EXPECT_TRUE(openExtras()) << "closed, it opens again";
}

TEST_F(Extras, ClosesWithTheSetupWindowAndOnExit) {
    struct Case {
        const char* what;
        std::function<void()> close;
    };
    const Case cases[] = {
        {"setup window's Close", [this] { click(IDC_CLOSE); }},
        {"On_Exit", [this] { plugin().exit(); }},
        {"Escape in the extras",
         [this] {
             SetForegroundWindow(extras().window());
             SetFocus(extras().item(IDC_HALT));
             pressKeyIn(extras().window(), VK_ESCAPE);
             runPlainHostLoop();
         }},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.what);
        openBoth();
        entry.close();
        pumpMessages();
        EXPECT_TRUE(extrasWindows().empty());
        EXPECT_TRUE(commandsSent().empty()) << "nothing was moving";
        if (!setupWindows().empty()) click(IDC_CLOSE);
        pumpMessages();
        plugin().start(host().window());
    }
}

TEST_F(Extras, SiteIsKeptInItsOwnSectionAndTheGotoWaitsForIt) {
    const std::string before = factorySettingsFile(MOTECK_TYPE);
    openBoth(before);
    for (int id : {IDC_TARGET_SATELLITE, IDC_TARGET_ANGLE, IDC_GOTO_ANGLE})
        EXPECT_FALSE(extras().isEnabled(id)) << id;

    struct Bad {
        const char* latitude;
        const char* longitude;
    };
    for (const Bad& bad : {Bad{"90.1", "5"}, Bad{"52", "180.5"}, Bad{"52,5", "5"},
                           Bad{"-33.9", "151"}, Bad{"", "5"}}) {
        SCOPED_TRACE(std::string(bad.latitude) + " " + bad.longitude);
        const ModalBox box = answeringModalBox(
            [&] { saveSite(bad.latitude, NORTH, bad.longitude, EAST); }, pressButton(IDOK));
        EXPECT_EQ(box.texts, std::vector<std::string>{BAD_SITE});
        EXPECT_EQ(settingsBytes(), before);
        EXPECT_FALSE(extras().isEnabled(IDC_GOTO_ANGLE));
    }

    saveSite("33.94", SOUTH, "151.25", EAST);
    EXPECT_EQ(settingsBytes(), before + "[SITE]\r\nLATITUDE=-33.9\r\nLONGITUDE=151.3\r\n");
    EXPECT_EQ(extras().text(IDC_SITE_LATITUDE), "33.9");
    EXPECT_EQ(extras().text(IDC_SITE_LONGITUDE), "151.3");
    for (int id : {IDC_TARGET_SATELLITE, IDC_TARGET_ANGLE, IDC_GOTO_ANGLE})
        EXPECT_TRUE(extras().isEnabled(id)) << id;

    // A new site replaces the old one in place; every other line keeps its bytes.
    saveSite("52", NORTH, "5", WEST);
    EXPECT_EQ(settingsBytes(), before + "[SITE]\r\nLATITUDE=52.0\r\nLONGITUDE=-5.0\r\n");
    EXPECT_TRUE(commandsSent().empty());

    extras().click(IDCANCEL);
    ASSERT_TRUE(openExtras());
    EXPECT_EQ(extras().text(IDC_SITE_LATITUDE), "52.0");
    EXPECT_EQ(extras().pickerSelection(IDC_SITE_NORTH_SOUTH), NORTH);
    EXPECT_EQ(extras().text(IDC_SITE_LONGITUDE), "5.0");
    EXPECT_EQ(extras().pickerSelection(IDC_SITE_EAST_WEST), WEST);
    EXPECT_TRUE(extras().isEnabled(IDC_GOTO_ANGLE));
}

TEST_F(Extras, GotoAngleShowsTheWayThenSendsTheAngleInEitherDialect) {
    // A site in the Netherlands unless the case says otherwise.
    struct Case {
        const char* what;
        const char* latitude = "52.0";
        int northSouth = NORTH;
        const char* longitude = "5.0";
        int eastWest = EAST;
        std::function<void()> aim;
        const char* look = nullptr;
        Bytes command;
    };
    const Case cases[] = {
        {.what = "typed 19.2E",
         .aim = [this] { typeSatellite("19.2E"); },
         .look = "Satellite 19.2\xB0"
                 "E: motor angle 15.6\xB0 E, azimuth 162.2\xB0, elevation 29.0\xB0; goto "
                 "up to 2 min",
         .command = {0xE0, 0x31, 0x6E, 0xE0, 0xFA}},
        {.what = "typed 30.0W",
         .aim = [this] { typeSatellite("30.0W"); },
         .command = {0xE0, 0x31, 0x6E, 0xD2, 0x65}},
        {.what = "south, typed 156.0E",
         .latitude = "33.9",
         .northSouth = SOUTH,
         .longitude = "151.2",
         .aim = [this] { typeSatellite("156.0 E"); },
         .command = {0xE0, 0x31, 0x6E, 0xD0, 0x58}},
        {.what = "the stored name Astra 19.2\xB0"
                 "E picked",
         .aim = [this] { extras().choose(IDC_TARGET_SATELLITE, 1); },
         .command = {0xE0, 0x31, 0x6E, 0xE0, 0xFA}},
        {.what = "a motor angle typed",
         .aim = [this] { typeAngle("8.9", WEST); },
         .command = {0xE0, 0x31, 0x6E, 0xD0, 0x8E}},
        // The second byte would be zero and end the command early.
        {.what = "16.0 degrees east",
         .aim = [this] { typeAngle("16.0", EAST); },
         .command = {0xE0, 0x31, 0x6E, 0xE1, 0x01}},
        {.what = "0.0 degrees",
         .aim = [this] { typeAngle("0", EAST); },
         .command = {0xE0, 0x31, 0x6E, 0xE0, 0x01}},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.what);
        for (ApiDialect dialect : {ApiDialect::Native, ApiDialect::MdApi}) {
            host().answerApiQueryWith(dialect == ApiDialect::Native ? "TestViewer 2.1"
                                                                    : "MD-API 1.1");
            openBoth();
            saveSite(entry.latitude, entry.northSouth, entry.longitude, entry.eastWest);
            entry.aim();
            if (entry.look) {
                EXPECT_EQ(extras().text(IDC_TARGET_LOOK), entry.look);
            }
            EXPECT_TRUE(commandsSent().empty()) << "nothing goes out before the click";
            extras().click(IDC_GOTO_ANGLE);
            EXPECT_EQ(commandsSent(),
                      std::vector<std::string>{expectedCommand(dialect, entry.command)});
            click(IDC_CLOSE);
            pumpMessages();
        }
    }
}

TEST_F(Extras, SatelliteBelowTheHorizonIsRefusedAndNothingIsSent) {
    openBoth();
    saveSite("52.0", NORTH, "5.0", EAST);
    const std::vector<std::function<void()>> aims{
        [&] { typeSatellite("170.0W"); },
        [&] { typeAngle("85.0", EAST); },
    };
    for (const auto& aim : aims) {
        aim();
        EXPECT_NE(extras().text(IDC_TARGET_LOOK).find("(below the horizon)"), std::string::npos)
            << extras().text(IDC_TARGET_LOOK);
        const ModalBox box = clickExtrasAnswering(IDC_GOTO_ANGLE, pressButton(IDOK));
        EXPECT_EQ(box.caption, PLUGIN_DISPLAY_NAME);
        EXPECT_EQ(box.texts, std::vector<std::string>{BELOW_HORIZON});
        EXPECT_TRUE(commandsSent().empty());
    }
    // Text that names no position leaves nothing to send either.
    typeSatellite("Hotbird");
    const ModalBox box = clickExtrasAnswering(IDC_GOTO_ANGLE, pressButton(IDOK));
    EXPECT_TRUE(box.seen);
    EXPECT_TRUE(commandsSent().empty());
}

TEST_F(Extras, SoftLimitsAskFirst) {
    struct Case {
        int button;
        const char* question;
        Bytes command;
    };
    const Case cases[] = {
        {IDC_SET_WEST_LIMIT, "Make the present position the West limit?", {0xE0, 0x31, 0x67}},
        {IDC_SET_EAST_LIMIT, "Make the present position the East limit?", {0xE0, 0x31, 0x66}},
        {IDC_LIMITS_OFF, "Switch the soft limits off?", {0xE0, 0x31, 0x63}},
        {IDC_LIMITS_ON, "Switch the soft limits on?", {0xE0, 0x31, 0x6A}},
    };
    openBoth();
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.question);
        ModalBox box = clickExtrasAnswering(entry.button, pressButton(IDCANCEL));
        EXPECT_EQ(box.caption, PLUGIN_DISPLAY_NAME);
        EXPECT_EQ(box.texts, std::vector<std::string>{entry.question});
        EXPECT_EQ(box.buttons, (std::vector<int>{IDOK, IDCANCEL}));
        EXPECT_TRUE(commandsSent().empty());

        box = clickExtrasAnswering(entry.button, pressButton(IDOK));
        EXPECT_EQ(commandsSent(), expected({entry.command}));
        host().clearMessages();
    }
}

TEST_F(Extras, ExitWhileAQuestionIsOpenSendsNothing) {
    openBoth();
    const ModalBox box = answeringModalBox([&] { extras().click(IDC_LIMITS_OFF); },
                                           pressButton(IDOK), [&](HWND) { plugin().exit(); });
    EXPECT_TRUE(box.seen);
    pumpMessages();
    EXPECT_TRUE(extrasWindows().empty());
    EXPECT_TRUE(setupWindows().empty());
    EXPECT_TRUE(commandsSent().empty());
}

TEST_F(Extras, HeldDriveHaltsHoweverItEnds) {
    struct Case {
        const char* what;
        std::function<void(int button)> end;
    };
    const Case cases[] = {
        {"let go", [this](int button) { extras().releaseMouse(button); }},
        {"mouse taken by another window",
         [this](int) {
             SetCapture(window());
             ReleaseCapture();
         }},
        {"extras closed", [this](int) { DestroyWindow(extras().window()); }},
        {"setup window closed", [this](int) { click(IDC_CLOSE); }},
        {"On_Exit", [this](int) { plugin().exit(); }},
    };
    struct Direction {
        int button;
        Bytes drive;
    };
    for (const Direction& direction : {Direction{IDC_HOLD_DRIVE_EAST, {0xE0, 0x31, 0x68}},
                                       Direction{IDC_HOLD_DRIVE_WEST, {0xE0, 0x31, 0x69}}}) {
        for (const Case& entry : cases) {
            SCOPED_TRACE(entry.what);
            openBoth();
            extras().pressMouse(direction.button);
            EXPECT_EQ(commandsSent(), expected({direction.drive}));
            entry.end(direction.button);
            pumpMessages();
            EXPECT_EQ(commandsSent(), expected({direction.drive, HALT}));
            // A release that follows sends nothing more.
            if (IsWindow(extras().item(direction.button))) extras().releaseMouse(direction.button);
            EXPECT_EQ(commandsSent(), expected({direction.drive, HALT}));
            if (!setupWindows().empty()) click(IDC_CLOSE);
            pumpMessages();
            plugin().start(host().window());
        }
    }
}

// Enter neither closes the window nor moves the dish: in the site it saves
// what was typed there, anywhere else it does nothing. Escape still closes.
TEST_F(Extras, EnterSavesTheSiteInItsFieldsAndDoesNothingElsewhere) {
    const std::string before = factorySettingsFile();
    openBoth(before);
    saveSite("52.0", NORTH, "5.0", EAST);
    typeSatellite("19.2E");
    host().clearMessages();
    struct Case {
        int focus;
        const char* latitude;
        bool saves;
    };
    const Case cases[] = {
        {IDC_SITE_LATITUDE, "51.1", true},
        {IDC_SITE_NORTH_SOUTH, "51.2", true},
        {IDC_SITE_LONGITUDE, "51.3", true},
        {IDC_SITE_EAST_WEST, "51.4", true},
        {IDC_SITE_SAVE, "51.5", true},
        {IDC_TARGET_ANGLE, "40.0", false},
        {IDC_GOTO_ANGLE, "40.1", false},
        {IDC_SET_WEST_LIMIT, "40.2", false},
        {IDC_SET_EAST_LIMIT, "40.3", false},
        {IDC_LIMITS_OFF, "40.4", false},
        {IDC_LIMITS_ON, "40.5", false},
        {IDC_HOLD_DRIVE_WEST, "40.6", false},
        {IDC_HOLD_DRIVE_EAST, "40.7", false},
        {IDC_HALT, "40.8", false},
        {IDCANCEL, "40.9", false},
    };
    std::string saved = "51.0";
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.focus);
        if (extrasWindows().empty()) {
            ASSERT_TRUE(openExtras());
        }
        extras().typeText(IDC_SITE_LATITUDE, entry.latitude);
        extras().typeText(IDC_SITE_LONGITUDE, "5.0");
        // A question or a message would be a box of its own, answered Yes.
        std::string boxShown;
        ModalScript boxes;
        boxes.when([&](HWND shown) { return shown != window() && shown != extras().window(); },
                   [&](HWND shown) {
                       boxShown = staticTexts(shown);
                       clickButton(shown, IDOK);
                   });
        bool focused = false;
        boxes.runDuring([&] { focused = extras().pressKey(entry.focus, VK_RETURN).metFocus; });
        ASSERT_TRUE(focused) << "the control lost the focus before the key";
        if (entry.saves) saved = entry.latitude;
        EXPECT_EQ(boxShown, "");
        EXPECT_EQ(settingsBytes(),
                  before + "[SITE]\r\nLATITUDE=" + saved + "\r\nLONGITUDE=5.0\r\n");
        EXPECT_TRUE(commandsSent().empty());
        EXPECT_EQ(extrasWindows().size(), 1U) << "Enter closed the window";
        host().clearMessages();
    }

    ASSERT_TRUE(extras().pressKey(IDC_SITE_LATITUDE, VK_ESCAPE).metFocus);
    EXPECT_TRUE(extrasWindows().empty());
    EXPECT_TRUE(commandsSent().empty());
}

TEST_F(Extras, SpaceBarDrivesWhileHeldAndHaltAlwaysSends) {
    openBoth();
    HWND east = extras().item(IDC_HOLD_DRIVE_EAST);
    SetFocus(east);
    SendMessageA(east, WM_KEYDOWN, VK_SPACE, 1);
    SendMessageA(east, WM_KEYDOWN, VK_SPACE, 1 | (1L << 30));  // auto-repeat
    EXPECT_EQ(commandsSent(), expected({{0xE0, 0x31, 0x68}})) << "the key is still down";
    SendMessageA(east, WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(commandsSent(), expected({{0xE0, 0x31, 0x68}, HALT}));
    host().clearMessages();

    extras().click(IDC_HALT);
    EXPECT_EQ(commandsSent(), expected({HALT}));
}

TEST_F(Extras, OffersTheStoredPositionsOfTheModelAndFollowsItsChanges) {
    openBoth(factorySettingsFile(STAB_TYPE));
    const auto entries = [&] { return extras().pickerEntries(IDC_TARGET_SATELLITE); };
    EXPECT_EQ(entries(), pickerEntries(IDC_GOTO_PICKER));
    EXPECT_EQ(entries().size(), 49u);
    click(IDC_MODEL_MOTECK);
    EXPECT_EQ(entries(), pickerEntries(IDC_GOTO_PICKER));
    EXPECT_EQ(entries().size(), 60u);
}

TEST_F(Extras, OpeningUsingAndClosingLeavesNothingBehind) {
    // Everything the window does once, then closed by its own Close button,
    // with the setup window, or by On_Exit.
    const auto round = [&](int way) {
        openBoth();
        saveSite("52.0", NORTH, "5.0", EAST);
        typeSatellite("19.2E");
        extras().click(IDC_GOTO_ANGLE);
        extras().pressMouse(IDC_HOLD_DRIVE_WEST);
        extras().releaseMouse(IDC_HOLD_DRIVE_WEST);
        answeringModalBox([&] { extras().click(IDC_LIMITS_ON); }, pressButton(IDCANCEL));
        if (way == 0) extras().click(IDCANCEL);
        if (way <= 1) click(IDC_CLOSE);
        if (way == 2) plugin().exit();
        pumpMessages();
        ASSERT_TRUE(extrasWindows().empty());
        ASSERT_TRUE(setupWindows().empty());
        plugin().start(host().window());
    };
    // The first round loads what the window system keeps for the process.
    ASSERT_NO_FATAL_FAILURE(round(2));
    const GuiObjects before = guiObjects();
    for (int way = 0; way < 6; ++way) {
        SCOPED_TRACE(way);
        ASSERT_NO_FATAL_FAILURE(round(way % 3));
    }
    const GuiObjects after = guiObjects();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

}  // namespace
