// The extras window's status line: where the plug-in believes the dish to be, as the commands of
// both windows and the state file beside the settings file tell it, in the real plug-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "dish/dish_model.h"
#include "dish/dish_record.h"
#include "positioner/positioner_model.h"
#include "res/resource_ids.h"
#include "tests/windows/extras_window_fixture.h"
#include "tests/windows/unusual_folder.h"
#include "host_driver/message_hook.h"

namespace {

// Long enough for any motion here (a few degrees at the Moteck's 1.9 degrees a second) under a
// loaded Wine; the waits end as soon as the status says what they wait for.
constexpr DWORD MOTION_BOUND_MS = 20000;
// 160 degrees between the end stops at 1.9 and 0.8 degrees a second.
constexpr char UNKNOWN_MOTECK[] = "Dish position unknown: a goto may take up to 1 min 25 s";
constexpr char UNKNOWN_STAB[] = "Dish position unknown: a goto may take up to 3 min 20 s";

// The motor's goto angle commands (east).
const Bytes GOTO_3_EAST{0xE0, 0x31, 0x6E, 0xE0, 0x30};

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "Dish at 3.0° E, since 14:02", whatever the local time.
bool saysAt(const std::string& status, const std::string& angle) {
    const std::string start = "Dish at " + angle + ", since ";
    if (!startsWith(status, start) || status.size() != start.size() + 5) return false;
    const std::string clock = status.substr(start.size());
    return std::isdigit(clock[0]) && std::isdigit(clock[1]) && clock[2] == ':' &&
           std::isdigit(clock[3]) && std::isdigit(clock[4]);
}

// The seconds that "…, about 1 min 8 s" leaves; none for other words.
std::optional<int> secondsLeft(const std::string& status) {
    const std::size_t at = status.find(", about ");
    if (at == std::string::npos) return std::nullopt;
    int seconds = 0;
    int number = 0;
    for (const char c : status.substr(at + 8)) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number = number * 10 + (c - '0');
        } else if (c == 'm') {
            seconds += 60 * number;
            number = 0;
        } else if (c == 's') {
            seconds += number;
            number = 0;
        }
    }
    return seconds;
}

std::string wideWindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return utf8(text);
}

void writeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

// A dish that went to 3.0° E long ago.
DishModel dishAt3East() {
    DishModel dish = DishModel::atReference(MOTECK_SPEED);
    dish.apply(0.0, GOTO_3_EAST);
    return dish;
}

class DishStatus : public ExtrasWindowTest {
  protected:
    std::string statePath() const {
        const std::string settings = settingsPath();
        return settings.substr(0, settings.size() - 3) + "dish";
    }
    void writeState(const std::string& bytes) const { writeFile(statePath(), bytes); }
    void writeState(const DishModel& dish) const { writeState(encodeDishRecord(dish)); }

    // A Moteck positioner and a site in the Netherlands, from which the extras can drive to any
    // small angle.
    void openWithSite() {
        openBoth(factorySettingsFile(MOTECK_TYPE));
        saveSite("52.0", NORTH, "5.0", EAST);
        host().clearMessages();
    }

    std::string status() const { return wideWindowText(extras().item(IDC_DISH_STATUS)); }

    // Every status shown, the present one first, until one that `done` takes.
    std::vector<std::string> statusesUntil(const std::function<bool(const std::string&)>& done) {
        std::vector<std::string> shown{status()};
        pumpUntil(
            [&] {
                if (status() != shown.back()) shown.push_back(status());
                return done(shown.back());
            },
            MOTION_BOUND_MS);
        return shown;
    }

    // Kills the status line's timer; true when one ran.
    bool statusTimerStopped() const {
        return KillTimer(extras().window(), DISH_STATUS_TIMER_ID) != FALSE;
    }

    void closeAll() {
        click(IDC_CLOSE);
        pumpMessages();
        ASSERT_TRUE(setupWindows().empty());
        ASSERT_TRUE(extrasWindows().empty());
    }
};

TEST_F(DishStatus, CountsDownThroughAGotoAndEndsAtTheTargetThenNoTimerRuns) {
    writeState(DishModel::atReference(MOTECK_SPEED));
    openWithSite();
    EXPECT_TRUE(saysAt(status(), "0.0\xC2\xB0")) << status();
    EXPECT_FALSE(statusTimerStopped()) << "a timer ran for an idle dish";

    typeAngle("3.0", EAST);
    // The travel time shows before anything is sent.
    const std::string look = extras().text(IDC_TARGET_LOOK);
    EXPECT_TRUE(endsWith(look, "\xB0; goto about 2 s")) << look;
    EXPECT_TRUE(commandsSent().empty());

    int ticks = 0;
    RetrievalHook tickCounter([&](MSG& message, bool removed) {
        if (removed && message.hwnd == extras().window() && message.message == WM_TIMER &&
            message.wParam == DISH_STATUS_TIMER_ID)
            ++ticks;
    });
    extras().click(IDC_GOTO_ANGLE);
    ASSERT_EQ(commandsSent(), expected({GOTO_3_EAST}));
    EXPECT_EQ(status(), "Dish moving 0.0\xC2\xB0 \xE2\x86\x92 3.0\xC2\xB0 E, about 2 s");

    const std::vector<std::string> shown =
        statusesUntil([](const std::string& text) { return startsWith(text, "Dish at "); });
    ASSERT_GE(shown.size(), 3U) << "the seconds never fell";
    std::optional<int> before;
    for (std::size_t i = 0; i + 1 < shown.size(); ++i) {
        SCOPED_TRACE(shown[i]);
        EXPECT_TRUE(
            startsWith(shown[i], "Dish moving 0.0\xC2\xB0 \xE2\x86\x92 3.0\xC2\xB0 E, about "));
        const std::optional<int> left = secondsLeft(shown[i]);
        ASSERT_TRUE(left.has_value());
        if (before) {
            EXPECT_LT(*left, *before);
        }
        before = left;
    }
    EXPECT_TRUE(saysAt(shown.back(), "3.0\xC2\xB0 E")) << shown.back();
    EXPECT_GT(ticks, 0) << "the countdown went without its timer";
    // Once there, the words stay until the next command: nothing ticks.
    EXPECT_FALSE(statusTimerStopped()) << "the timer outlived the motion";
}

TEST_F(DishStatus, PositionStoredWhereTheDishIsKnownGivesItsGotoAKnownTarget) {
    writeState(DishModel::atReference(MOTECK_SPEED));
    openWithSite();
    const auto arrivedAt = [&](const char* angle) {
        const std::vector<std::string> shown =
            statusesUntil([](const std::string& text) { return startsWith(text, "Dish at "); });
        EXPECT_TRUE(saysAt(shown.back(), angle)) << shown.back();
    };
    typeAngle("2.0", EAST);
    extras().click(IDC_GOTO_ANGLE);
    arrivedAt("2.0\xC2\xB0 E");

    selectInPicker(IDC_STORE_PICKER, 2);
    click(IDC_STORE);
    click(IDC_REFERENCE);
    EXPECT_EQ(status(), "Dish moving 2.0\xC2\xB0 E \xE2\x86\x92 0.0\xC2\xB0, about 2 s");
    arrivedAt("0.0\xC2\xB0");

    selectInPicker(IDC_GOTO_PICKER, 2);
    click(IDC_GOTO);
    EXPECT_EQ(status(), "Dish moving 0.0\xC2\xB0 \xE2\x86\x92 2.0\xC2\xB0 E, about 2 s");
    arrivedAt("2.0\xC2\xB0 E");
    EXPECT_EQ(commandsSent(), expected({{0xE0, 0x31, 0x6E, 0xE0, 0x20},
                                        {0xE0, 0x31, 0x6A, 0x03},
                                        {0xE0, 0x31, 0x6B},
                                        {0xE0, 0x31, 0x6B, 0x03}}));
}

TEST_F(DishStatus, AfterARestartInMidMoveTheMotionIsFoundAgain) {
    writeState(DishModel::atReference(MOTECK_SPEED));
    openWithSite();
    typeAngle("3.0", EAST);
    extras().click(IDC_GOTO_ANGLE);
    ASSERT_TRUE(startsWith(status(), "Dish moving ")) << status();
    closeAll();
    plugin().exit();
    unloadPlugin();

    loadPlugin();
    ASSERT_TRUE(openWindow());
    ASSERT_TRUE(openExtras());
    const std::string found = status();
    EXPECT_TRUE(startsWith(found, "Dish moving 0.0\xC2\xB0 \xE2\x86\x92 3.0\xC2\xB0 E, about ") ||
                saysAt(found, "3.0\xC2\xB0 E"))
        << found;
    const std::vector<std::string> shown =
        statusesUntil([](const std::string& text) { return startsWith(text, "Dish at "); });
    EXPECT_TRUE(saysAt(shown.back(), "3.0\xC2\xB0 E")) << shown.back();
}

TEST_F(DishStatus, FollowsTheSetupWindowsCommandsAndItsModel) {
    writeState(dishAt3East());
    openWithSite();
    ASSERT_TRUE(saysAt(status(), "3.0\xC2\xB0 E")) << status();
    struct Step {
        const char* what;
        std::function<void()> act;
        std::function<bool(const std::string&)> shows;
    };
    const Step steps[] = {
        {"store position 2",
         [&] {
             selectInPicker(IDC_STORE_PICKER, 1);
             click(IDC_STORE);
         },
         [](const std::string& text) { return saysAt(text, "3.0\xC2\xB0 E"); }},
        {"Drive to 0", [&] { click(IDC_REFERENCE); },
         [](const std::string& text) {
             return text == "Dish moving 3.0\xC2\xB0 E \xE2\x86\x92 0.0\xC2\xB0, about 2 s";
         }},
        // Turned back on its way, from wherever it was then.
        {"goto position 2",
         [&] {
             selectInPicker(IDC_GOTO_PICKER, 1);
             click(IDC_GOTO);
         },
         [](const std::string& text) {
             return startsWith(text, "Dish moving ") &&
                    endsWith(text, " \xE2\x86\x92 3.0\xC2\xB0 E, about 1 s");
         }},
        {"recalculate", [&] { clickAnswering(IDC_RECALCULATE, pressButton(IDOK)); },
         [](const std::string& text) { return text == UNKNOWN_MOTECK; }},
        {"the slower model", [&] { click(IDC_MODEL_STAB); },
         [](const std::string& text) { return text == UNKNOWN_STAB; }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_TRUE(step.shows(status())) << status();
    }
}

TEST_F(DishStatus, WithoutAWholeStateFileThePositionIsUnknownAndCommandsLeaveTheSettingsAlone) {
    const std::string record = encodeDishRecord(dishAt3East());
    std::string damaged = record;
    damaged[record.find("\nspeed ") + 7] = 'Z';
    struct Case {
        const char* what;
        std::optional<std::string> state;
    };
    const Case cases[] = {
        {"no state file", std::nullopt},
        {"cut short", record.substr(0, record.size() / 2)},
        {"a damaged number", damaged},
        {"not a record", std::string("\x00\xFF garbage", 10)},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.what);
        DeleteFileA(statePath().c_str());
        if (entry.state) writeState(*entry.state);
        openWithSite();
        EXPECT_EQ(status(), UNKNOWN_MOTECK);
        const std::string settings = settingsBytes();

        typeAngle("3.0", EAST);
        // The far end stop is 83 degrees away.
        EXPECT_TRUE(endsWith(extras().text(IDC_TARGET_LOOK), "; goto up to 44 s"))
            << extras().text(IDC_TARGET_LOOK);
        extras().click(IDC_GOTO_ANGLE);
        EXPECT_TRUE(startsWith(status(), "Dish moving to 3.0\xC2\xB0 E, up to ")) << status();
        click(IDC_REFERENCE);
        selectInPicker(IDC_STORE_PICKER, 0);
        click(IDC_STORE);
        selectInPicker(IDC_GOTO_PICKER, 0);
        click(IDC_GOTO);
        clickAnswering(IDC_RECALCULATE, pressButton(IDOK));
        EXPECT_EQ(commandsSent().size(), 5U);
        EXPECT_EQ(settingsBytes(), settings);
        EXPECT_NE(readWholeFile(statePath()), entry.state.value_or("")) << "the state was kept";
        closeAll();
    }
}

// The dialog's own font is a bitmap face, which draws a box for the arrow of
// "Dish moving 0.0° → 3.0° E": the status line has a TrueType face, which
// Windows links to another for a character it lacks, at the window's size.
TEST_F(DishStatus, TheStatusLineHasATrueTypeFaceOfTheWindowsOwnSize) {
    openWithSite();
    const HWND line = extras().item(IDC_DISH_STATUS);
    const auto fontOf = [](HWND window) {
        return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    };
    LOGFONTW own{};
    LOGFONTW window{};
    ASSERT_EQ(GetObjectW(fontOf(line), sizeof own, &own), static_cast<int>(sizeof own));
    ASSERT_EQ(GetObjectW(fontOf(extras().window()), sizeof window, &window),
              static_cast<int>(sizeof window));
    EXPECT_EQ(own.lfHeight, window.lfHeight);
    EXPECT_EQ(own.lfWeight, window.lfWeight);

    const HDC dc = GetDC(line);
    const HGDIOBJ before = SelectObject(dc, fontOf(line));
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(dc, &metrics));
    SelectObject(dc, before);
    ReleaseDC(line, dc);
    EXPECT_NE(metrics.tmPitchAndFamily & TMPF_TRUETYPE, 0) << "a bitmap face draws no arrow";
}

}  // namespace
