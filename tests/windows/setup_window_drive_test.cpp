#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "tests/windows/setup_window_fixture.h"

namespace {

// Locked during a tracked drive, in the order they are locked and unlocked.
constexpr int MOVEMENT_CONTROLS[] = {1002, 1003, 1004, 1005, 1019, 1020,
                                     1021, 1006, 1022, 1001, 1039, 1040};
// Stop, the degree edits and spins, the pickers and the list.
constexpr int STAY_USABLE[] = {1014, 1017, 1018, 1015, 1016, 1034, 1035, 1036, 1038};
constexpr int FRAMES_IN_ORDER[] = {1027, 1029, 1030, 1031, 1032, 1032, 1031, 1030, 1029, 1027};

std::vector<ControlEvent> enabling(bool on) {
    std::vector<ControlEvent> events;
    for (int id : MOVEMENT_CONTROLS) events.push_back({id, WM_ENABLE, on});
    return events;
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

    bool locked() const {
        for (int id : MOVEMENT_CONTROLS)
            if (isEnabled(id)) return false;
        return true;
    }
    bool unlocked() const {
        for (int id : MOVEMENT_CONTROLS)
            if (!isEnabled(id)) return false;
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

TEST_F(SetupDrive, LocksTheMovementControlsInOrderAndLeavesTheRestUsable) {
    openWith(MOTECK_TYPE);
    ControlEventRecorder recorder(window());
    click(1003);

    EXPECT_EQ(recorder.take(), enabling(false));
    EXPECT_TRUE(locked());
    for (int id : STAY_USABLE) EXPECT_TRUE(isEnabled(id)) << id;
    EXPECT_EQ(visibleFrame(), 0) << "the first frame waits for the first tick";
    EXPECT_EQ(commandsSent(), std::vector<std::string>{sent({0xE0, 0x31, 0x68, 0xFA})});
    // The window's drive timer runs under its fixed id.
    EXPECT_TRUE(KillTimer(window(), DRIVE_TIMER_ID));
}

TEST_F(SetupDrive, MoteckOneDegreeAnimatesFiveTicksThenUnlocks) {
    openWith(MOTECK_TYPE);
    click(1003);
    ControlEventRecorder recorder(window());
    const std::vector<int> expected = {1027, 1029, 1030, 1031, 1032};
    for (int frame : expected) {
        tick();
        EXPECT_EQ(visibleFrame(), frame);
        EXPECT_TRUE(locked());
    }
    recorder.take();
    tick();
    EXPECT_EQ(visibleFrame(), 0);
    std::vector<ControlEvent> ending = {{1032, WM_SHOWWINDOW, false}};
    for (const ControlEvent& event : enabling(true)) ending.push_back(event);
    EXPECT_EQ(recorder.take(), ending) << "the frame goes, then the controls come back in order";
    EXPECT_FALSE(KillTimer(window(), DRIVE_TIMER_ID)) << "the timer has been stopped";
    EXPECT_EQ(commandsSent().size(), 1u) << "only the drive command";

    // A stray tick once idle changes nothing that shows.
    tick();
    EXPECT_EQ(visibleFrame(), 0);
    EXPECT_TRUE(unlocked());
    EXPECT_EQ(recorder.take(), std::vector<ControlEvent>{});
    EXPECT_EQ(commandsSent().size(), 1u);
}

TEST_F(SetupDrive, TicksFollowTheEstimateForModelAndDegrees) {
    struct Case {
        const char* type;
        int degrees;
        int ticks;
    };
    // The end comes one tick after the count runs out.
    const Case cases[] = {
        {STAB_TYPE, 1, 6},   {STAB_TYPE, 4, 24},  {STAB_TYPE, 19, 118},  {MOTECK_TYPE, 1, 5},
        {MOTECK_TYPE, 2, 5}, {MOTECK_TYPE, 3, 7}, {MOTECK_TYPE, 19, 50},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(std::string(entry.type) + ", " + std::to_string(entry.degrees) + " degrees");
        openWith(entry.type);
        setSpin(1018, entry.degrees);
        click(1002);
        const std::vector<int> frames = ticksToEnd();
        ASSERT_TRUE(unlocked());
        EXPECT_EQ(static_cast<int>(frames.size()), entry.ticks + 1);
        plugin().exit();
    }
}

TEST_F(SetupDrive, StopWhileCountingHaltsAndUnlocksAtOnce) {
    openWith(STAB_TYPE);
    click(1002);
    tick();
    tick();
    ASSERT_EQ(visibleFrame(), 1029);
    ControlEventRecorder recorder(window());
    click(1014);

    std::vector<ControlEvent> expected = {{1029, WM_SHOWWINDOW, false}};
    for (const ControlEvent& event : enabling(true)) expected.push_back(event);
    EXPECT_EQ(recorder.take(), expected);
    EXPECT_EQ(commandsSent(),
              (std::vector<std::string>{sent({0xE0, 0x31, 0x69, 0xFA}), sent({0xE0, 0x31, 0x60})}));
    EXPECT_FALSE(KillTimer(window(), DRIVE_TIMER_ID));
    // Nothing is left for a tick to end.
    tick();
    EXPECT_EQ(recorder.take(), std::vector<ControlEvent>{});
    EXPECT_EQ(commandsSent().size(), 2u);
}

TEST_F(SetupDrive, StopInTheLastPeriodSendsNothingAndTheNextTickEnds) {
    openWith(MOTECK_TYPE);
    click(1003);
    for (int i = 0; i < 5; ++i) tick();
    ASSERT_EQ(visibleFrame(), 1032);

    click(1014);
    EXPECT_EQ(commandsSent().size(), 1u) << "no Halt once the estimate has run out";
    EXPECT_TRUE(locked());
    EXPECT_EQ(visibleFrame(), 1032);

    tick();
    EXPECT_TRUE(unlocked());
    EXPECT_EQ(visibleFrame(), 0);
    EXPECT_EQ(commandsSent().size(), 1u);
}

TEST_F(SetupDrive, StopWithoutATrackedDriveSendsNothing) {
    openWith(STAB_TYPE);
    click(1014);
    click(1004);
    click(1014);
    EXPECT_EQ(commandsSent(), std::vector<std::string>{sent({0xE0, 0x31, 0x69, 0xFD})});
    EXPECT_TRUE(unlocked());
}

TEST_F(SetupDrive, ZeroDegreesDoesNothing) {
    openWith(STAB_TYPE);
    ControlEventRecorder recorder(window());
    for (int button : {1002, 1003}) {
        SCOPED_TRACE(button);
        setSpin(1018, 0);
        setSpin(1016, 0);
        click(button);
        EXPECT_TRUE(commandsSent().empty());
        EXPECT_EQ(recorder.take(), std::vector<ControlEvent>{});
        EXPECT_FALSE(KillTimer(window(), DRIVE_TIMER_ID)) << "no timer was started";
    }
}

TEST_F(SetupDrive, DriveWestContinuesTheSwingAndDriveEastStartsItOver) {
    openWith(MOTECK_TYPE);
    // Right after opening, a west drive begins at the start of the swing.
    click(1002);
    tick();
    EXPECT_EQ(visibleFrame(), 1027);
    ticksToEnd();

    // That drive ended on entry 4; the next west drive goes on from entry 5.
    click(1002);
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        tick();
        frames.push_back(visibleFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{FRAMES_IN_ORDER[5], FRAMES_IN_ORDER[6], FRAMES_IN_ORDER[7],
                                        FRAMES_IN_ORDER[8], FRAMES_IN_ORDER[9]}));
    ticksToEnd();

    // A longer west drive wraps around the sequence.
    setSpin(1018, 3);
    click(1002);
    frames.clear();
    for (int i = 0; i < 7; ++i) {
        tick();
        frames.push_back(visibleFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>(std::begin(FRAMES_IN_ORDER), FRAMES_IN_ORDER + 7)));
    ticksToEnd();

    click(1003);
    tick();
    EXPECT_EQ(visibleFrame(), 1027) << "an east drive always starts the swing over";
}

TEST_F(SetupDrive, RealTimerEndsTheDriveOnItsOwn) {
    writeSettings(factorySettingsFile(MOTECK_TYPE));
    ASSERT_TRUE(openWindow());
    host().clearMessages();
    ControlEventRecorder recorder(window());
    click(1003);
    recorder.take();

    // 5 ticks of 200 ms and one more to end: about 1.2 s.
    ASSERT_TRUE(pumpUntil([&] { return isEnabled(1002); }, 10000));
    std::vector<int> shown;
    for (const ControlEvent& event : recorder.take())
        if (event.message == WM_SHOWWINDOW && event.on) shown.push_back(event.control);
    EXPECT_EQ(shown, (std::vector<int>{1027, 1029, 1030, 1031, 1032}));
    EXPECT_EQ(visibleFrame(), 0);
    EXPECT_FALSE(KillTimer(window(), DRIVE_TIMER_ID));
    EXPECT_EQ(commandsSent(), std::vector<std::string>{sent({0xE0, 0x31, 0x68, 0xFA})});
}

}  // namespace
