#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "positioner/positioner_commands.h"
#include "res/resource_ids.h"
#include "tests/windows/setup_window_fixture.h"
#include "host_driver/plugin_windows.h"

namespace {

BOOL CALLBACK collectChild(HWND child, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
    return TRUE;
}

// What a user can press: push buttons and radio buttons, not group boxes.
bool isPressable(HWND control) {
    if (className(control) != "Button") return false;
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_AUTORADIOBUTTON;
}

class SetupDrive : public SetupWindowTest {
  protected:
    // Opens the window with the given model; ticks come only from tick().
    void openWith(const char* type) {
        writeSettings(factorySettingsFile(type));
        ASSERT_TRUE(openWindow());
        useManualTicks();
        host().clearMessages();
    }

    std::vector<HWND> controls() const {
        std::vector<HWND> found;
        EnumChildWindows(window(), collectChild, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // A drive locks every button that could send another command or close
    // the window, and nothing else: Stop, the degrees, the pickers and the
    // list stay usable.
    bool lockedForADrive() const {
        for (HWND control : controls()) {
            const bool shouldLock = isPressable(control) && GetDlgCtrlID(control) != IDC_STOP;
            if ((IsWindowEnabled(control) != FALSE) == shouldLock) return false;
        }
        return true;
    }
    bool unlocked() const {
        for (HWND control : controls())
            if (!IsWindowEnabled(control)) return false;
        return true;
    }

    // Ticks until the window unlocks; the frames shown on the way.
    std::vector<int> ticksToEnd(int bound = 200) {
        std::vector<int> frames;
        for (int i = 0; i < bound && !unlocked(); ++i) {
            tick();
            frames.push_back(visibleFrame());
        }
        return frames;
    }

    std::string sent(const Bytes& command) const {
        return expectedCommand(ApiDialect::Native, command);
    }
};

TEST_F(SetupDrive, OnlyStopOfTheButtonsCanBePressedDuringADrive) {
    openWith(MOTECK_TYPE);
    click(IDC_DRIVE_EAST);

    EXPECT_TRUE(lockedForADrive());
    EXPECT_EQ(visibleFrame(), 0) << "the first frame waits for the first tick";
    EXPECT_EQ(commandsSent(), std::vector<std::string>{sent({0xE0, 0x31, 0x68, 0xFA})});
    // The window's drive timer runs under its fixed id.
    EXPECT_TRUE(KillTimer(window(), MOTION_TIMER_ID));
}

TEST_F(SetupDrive, ShowsOneFrameAtATimeThenHidesItAndUnlocks) {
    openWith(MOTECK_TYPE);
    click(IDC_DRIVE_EAST);
    int ticks = 0;
    for (; ticks < 200 && !unlocked(); ++ticks) {
        SCOPED_TRACE(ticks);
        tick();
        if (unlocked()) break;
        EXPECT_GT(visibleFrame(), 0) << "none or more than one";
        EXPECT_TRUE(lockedForADrive());
    }
    ASSERT_TRUE(unlocked());
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(visibleFrame(), 0);
    EXPECT_FALSE(KillTimer(window(), MOTION_TIMER_ID)) << "the timer has been stopped";
    EXPECT_EQ(commandsSent().size(), 1u) << "only the drive command";

    // A stray tick once idle changes nothing that shows.
    ControlEventRecorder recorder(window());
    tick();
    EXPECT_EQ(recorder.take(), std::vector<ControlEvent>{});
    EXPECT_EQ(commandsSent().size(), 1u);
}

// The drive's length follows the degrees of the side driven and the model's
// speed; the exact counts belong to the tracker's own tests.
TEST_F(SetupDrive, LongerDrivesAndTheSlowerModelKeepTheWindowLockedLonger) {
    struct Case {
        const char* type;
        int spin;
        int degrees;
        int button;
    };
    const Case cases[] = {
        {STAB_TYPE, IDC_WEST_SPIN, 1, IDC_DRIVE_WEST},
        {STAB_TYPE, IDC_WEST_SPIN, 4, IDC_DRIVE_WEST},
        {STAB_TYPE, IDC_EAST_SPIN, 19, IDC_DRIVE_EAST},
        {MOTECK_TYPE, IDC_EAST_SPIN, 19, IDC_DRIVE_EAST},
    };
    std::vector<std::size_t> lengths;
    for (const Case& entry : cases) {
        SCOPED_TRACE(std::string(entry.type) + ", " + std::to_string(entry.degrees) + " degrees");
        openWith(entry.type);
        setSpin(entry.spin, entry.degrees);
        click(entry.button);
        lengths.push_back(ticksToEnd().size());
        ASSERT_TRUE(unlocked());
        plugin().exit();
    }
    EXPECT_LT(lengths[0], lengths[1]);
    EXPECT_LT(lengths[1], lengths[2]);
    EXPECT_LT(lengths[3], lengths[2]) << "the Moteck turns faster than the Stab";
}

TEST_F(SetupDrive, StopWhileCountingHaltsAndUnlocksAtOnce) {
    openWith(STAB_TYPE);
    click(IDC_DRIVE_WEST);
    tick();
    tick();
    ASSERT_GT(visibleFrame(), 0);

    click(IDC_STOP);
    EXPECT_EQ(visibleFrame(), 0);
    EXPECT_TRUE(unlocked());
    EXPECT_EQ(commandsSent(),
              (std::vector<std::string>{sent({0xE0, 0x31, 0x69, 0xFA}), sent({0xE0, 0x31, 0x60})}));
    EXPECT_FALSE(KillTimer(window(), MOTION_TIMER_ID));

    // Nothing is left for a tick to end.
    ControlEventRecorder recorder(window());
    tick();
    EXPECT_EQ(recorder.take(), std::vector<ControlEvent>{});
    EXPECT_EQ(commandsSent().size(), 2u);
}

TEST_F(SetupDrive, StopInTheLastPeriodSendsNothingAndTheNextTickEnds) {
    openWith(MOTECK_TYPE);
    // An east drive always starts over, so the same drive takes as long again.
    click(IDC_DRIVE_EAST);
    const std::size_t length = ticksToEnd().size();
    ASSERT_GT(length, 1u);
    host().clearMessages();
    click(IDC_DRIVE_EAST);
    for (std::size_t i = 0; i + 1 < length; ++i) tick();
    ASSERT_TRUE(lockedForADrive());
    const int frame = visibleFrame();

    click(IDC_STOP);
    EXPECT_EQ(commandsSent().size(), 1u) << "no Halt once the estimate has run out";
    EXPECT_TRUE(lockedForADrive());
    EXPECT_EQ(visibleFrame(), frame);

    tick();
    EXPECT_TRUE(unlocked());
    EXPECT_EQ(visibleFrame(), 0);
    EXPECT_EQ(commandsSent().size(), 1u);
}

TEST_F(SetupDrive, StopWithoutATrackedDriveSendsNothing) {
    openWith(STAB_TYPE);
    click(IDC_STOP);
    click(IDC_STEP_WEST);
    click(IDC_STOP);
    EXPECT_EQ(commandsSent(), std::vector<std::string>{sent({0xE0, 0x31, 0x69, 0xFD})});
    EXPECT_TRUE(unlocked());
}

TEST_F(SetupDrive, ZeroDegreesDoesNothing) {
    openWith(STAB_TYPE);
    ControlEventRecorder recorder(window());
    for (int button : {IDC_DRIVE_WEST, IDC_DRIVE_EAST}) {
        SCOPED_TRACE(button);
        setSpin(IDC_WEST_SPIN, 0);
        setSpin(IDC_EAST_SPIN, 0);
        click(button);
        EXPECT_TRUE(commandsSent().empty());
        EXPECT_EQ(recorder.take(), std::vector<ControlEvent>{});
        EXPECT_FALSE(KillTimer(window(), MOTION_TIMER_ID)) << "no timer was started";
    }
}

// A field the spin cannot take (beyond 19, or empty) must not drive the dish by
// the spin's last valid position while the field shows another number.
TEST_F(SetupDrive, DegreesTheSpinCannotTakeSendNothingAndAreCorrected) {
    const struct {
        int button;
        int edit;
        int spin;
        const char* typed;
        int shown;
    } cases[] = {
        {IDC_DRIVE_EAST, IDC_EAST_DEGREES, IDC_EAST_SPIN, "25", 19},
        {IDC_DRIVE_EAST, IDC_EAST_DEGREES, IDC_EAST_SPIN, "20", 19},
        {IDC_DRIVE_WEST, IDC_WEST_DEGREES, IDC_WEST_SPIN, "99", 19},
        // Empty: the last valid position comes back.
        {IDC_DRIVE_WEST, IDC_WEST_DEGREES, IDC_WEST_SPIN, "", 4},
        {IDC_DRIVE_EAST, IDC_EAST_DEGREES, IDC_EAST_SPIN, "", 4},
    };
    openWith(MOTECK_TYPE);
    for (const auto& entry : cases) {
        SCOPED_TRACE(std::string(entry.typed) + " in " + std::to_string(entry.edit));
        setSpin(entry.spin, 4);
        SetWindowTextA(item(entry.edit), entry.typed);
        host().clearMessages();

        const ModalBox box = clickAnswering(entry.button, pressButton(IDOK));
        EXPECT_TRUE(commandsSent().empty());
        EXPECT_TRUE(box.seen) << "the user is told why nothing moved";
        EXPECT_TRUE(unlocked());
        EXPECT_FALSE(KillTimer(window(), MOTION_TIMER_ID));
        EXPECT_EQ(windowText(item(entry.edit)), std::to_string(entry.shown));

        // What the field shows now is what the next click drives.
        click(entry.button);
        const auto degrees = static_cast<std::uint16_t>(entry.shown);
        const DiseqcCommand drive = entry.button == IDC_DRIVE_EAST
                                        ? PositionerCommands::driveEast(degrees)
                                        : PositionerCommands::driveWest(degrees);
        EXPECT_EQ(commandsSent(), std::vector<std::string>{
                                      sent(Bytes(drive.bytes.begin(), drive.bytes.begin() + 4))});
        ticksToEnd();
    }
}

// The window keeps the swing between drives: a west drive goes on from where
// the last one left the dish, an east drive starts it over.
TEST_F(SetupDrive, DriveWestContinuesTheSwingAndDriveEastStartsItOver) {
    openWith(MOTECK_TYPE);
    click(IDC_DRIVE_WEST);
    const std::vector<int> first = ticksToEnd();
    ASSERT_FALSE(first.empty());

    click(IDC_DRIVE_WEST);
    const std::vector<int> second = ticksToEnd();
    ASSERT_FALSE(second.empty());
    EXPECT_NE(second.front(), first.front()) << "the second west drive started the swing over";

    click(IDC_DRIVE_EAST);
    tick();
    EXPECT_EQ(visibleFrame(), first.front()) << "an east drive always starts the swing over";
}

TEST_F(SetupDrive, RealTimerEndsTheDriveOnItsOwn) {
    writeSettings(factorySettingsFile(MOTECK_TYPE));
    ASSERT_TRUE(openWindow());
    host().clearMessages();
    ControlEventRecorder recorder(window());
    click(IDC_DRIVE_EAST);
    recorder.take();

    ASSERT_TRUE(pumpUntil([&] { return unlocked(); }, 10000));
    int framesShown = 0;
    for (const ControlEvent& event : recorder.take())
        if (event.message == WM_SHOWWINDOW && event.on) ++framesShown;
    EXPECT_GT(framesShown, 0) << "the indicator never moved";
    EXPECT_EQ(visibleFrame(), 0);
    EXPECT_FALSE(KillTimer(window(), MOTION_TIMER_ID));
    EXPECT_EQ(commandsSent(), std::vector<std::string>{sent({0xE0, 0x31, 0x68, 0xFA})});
}

}  // namespace
