#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "positioner/motion_tracker.h"
#include "positioner/positioner_commands.h"
#include "positioner/positioner_model.h"

namespace {

const float STAB = speed(PositionerModel::Stab);
const float MOTECK = speed(PositionerModel::Moteck);

struct DurationCase {
    std::uint16_t degrees;
    std::uint32_t stabMs;
    std::uint32_t stabTicks;
    std::uint32_t moteckMs;
    std::uint32_t moteckTicks;
};

constexpr std::array<DurationCase, 19> DURATIONS{{
    {1, 1249, 6, 1000, 5},       {2, 2499, 12, 1052, 5},     {3, 3749, 18, 1578, 7},
    {4, 4999, 24, 2105, 10},     {5, 6249, 31, 2631, 13},    {6, 7499, 37, 3157, 15},
    {7, 8749, 43, 3684, 18},     {8, 9999, 49, 4210, 21},    {9, 11249, 56, 4736, 23},
    {10, 12499, 62, 5263, 26},   {11, 13749, 68, 5789, 28},  {12, 14999, 74, 6315, 31},
    {13, 16249, 81, 6842, 34},   {14, 17499, 87, 7368, 36},  {15, 18749, 93, 7894, 39},
    {16, 19999, 99, 8421, 42},   {17, 21249, 106, 8947, 44}, {18, 22499, 112, 9473, 47},
    {19, 23749, 118, 10000, 50},
}};

// Drives the tracker to the end and checks that the indicator walks FRAME_SEQUENCE with one
// frame up at a time; returns the number of ticks until the drive is over.
std::uint32_t ticksUntilOver(MotionTracker& tracker) {
    int visible = NO_PICTURE;
    std::uint32_t ticks = 0;
    for (;;) {
        const TickOutcome outcome = tracker.tick();
        ++ticks;
        if (ticks > 1) {
            EXPECT_EQ(outcome.hideFrame, visible) << "tick " << ticks;
        }
        if (outcome.driveOver) return ticks;
        EXPECT_EQ(outcome.showFrame, FRAME_SEQUENCE[(ticks - 1) % FRAME_SEQUENCE.size()])
            << "tick " << ticks;
        visible = outcome.showFrame;
        if (ticks > 1000) return ticks;
    }
}

TEST(MotionTracker, DriveEstimatesMatchTheWorkedTableForBothModels) {
    for (const DurationCase& row : DURATIONS) {
        SCOPED_TRACE("degrees " + std::to_string(row.degrees));
        EXPECT_EQ(MotionTracker::durationMs(row.degrees, STAB), row.stabMs);
        EXPECT_EQ(MotionTracker::durationMs(row.degrees, MOTECK), row.moteckMs);

        MotionTracker stab;
        stab.beginDrive(row.degrees, STAB, true);
        EXPECT_EQ(stab.remainingTicks(), row.stabTicks);
        // The controls come back at the tick after the count reaches zero.
        EXPECT_EQ(ticksUntilOver(stab), row.stabTicks + 1);

        MotionTracker moteck;
        moteck.beginDrive(row.degrees, MOTECK, true);
        EXPECT_EQ(moteck.remainingTicks(), row.moteckTicks);
        EXPECT_EQ(ticksUntilOver(moteck), row.moteckTicks + 1);
    }
}

TEST(MotionTracker, ShortDrivesAreRaisedToTheMinimumAndLongOnesDoNotWrap) {
    EXPECT_EQ(MotionTracker::durationMs(0, MOTECK), MIN_DRIVE_MS);
    EXPECT_EQ(MotionTracker::durationMs(1, MOTECK), MIN_DRIVE_MS);
    // The widest count the spin's 16 bits can carry, on the slower model.
    EXPECT_EQ(MotionTracker::durationMs(65535, STAB), 81918748U);
}

// One row: a Moteck drive east of driveDegrees (0: none; 1 gives 5 ticks from frame index 9),
// then the events of the script ('T' tick, 'S' stop); the last one is the event under test.
struct StateCase {
    const char* name;
    std::uint16_t driveDegrees;
    std::string_view script;
    int hideFrame;
    int showFrame;
    bool driveOver;
    bool wasCounting;
    std::uint32_t remainingAfter;
    int frameIndexAfter;
};

// clang-format off
constexpr int NONE = NO_PICTURE;
constexpr StateCase STATE_CASES[]{
    // name                                       drive script    hide  show  over   halt  ticks idx
    {"idle: a stray tick re-hides the last frame",    0, "T",       0,    NONE, true,  false, 0, 9},
    {"counting: first tick shows the first frame",    1, "T",       0,    0,    false, false, 4, 0},
    {"counting: a tick moves one frame on",           1, "TTT",     1,    2,    false, false, 2, 2},
    {"counting: one left enters the last period",     1, "TTTTT",   3,    4,    false, false, 0, 4},
    {"last period: the next tick ends the drive",     1, "TTTTTT",  4,    NONE, true,  false, 0, 4},
    {"idle after the end: a tick changes nothing",    1, "TTTTTTT", 4,    NONE, true,  false, 0, 4},
    {"counting: stop before the first tick",          1, "S",       0,    NONE, false, true,  0, 9},
    {"counting: stop ends the drive with halt",       1, "TTTS",    2,    NONE, false, true,  0, 2},
    {"last period: stop does nothing, no halt",       1, "TTTTTS",  NONE, NONE, false, false, 0, 4},
    {"idle: stop does nothing",                       0, "S",       NONE, NONE, false, false, 0, 9},
    {"idle after stop: a second stop does nothing",   1, "TTTSS",   NONE, NONE, false, false, 0, 2},
    {"idle after stop: a late tick re-hides",         1, "TTTST",   2,    NONE, true,  false, 0, 2},
};
// clang-format on

TEST(MotionTracker, StateTableOfIdleCountingAndLastPeriod) {
    for (const StateCase& row : STATE_CASES) {
        SCOPED_TRACE(row.name);
        MotionTracker tracker;
        if (row.driveDegrees != 0) tracker.beginDrive(row.driveDegrees, MOTECK, true);
        const std::string_view before = row.script.substr(0, row.script.size() - 1);
        for (const char event : before) {
            if (event == 'T') tracker.tick();
            if (event == 'S') tracker.stop();
        }

        if (row.script.back() == 'T') {
            const TickOutcome outcome = tracker.tick();
            EXPECT_EQ(outcome.hideFrame, row.hideFrame);
            EXPECT_EQ(outcome.showFrame, row.showFrame);
            EXPECT_EQ(outcome.driveOver, row.driveOver);
        } else {
            const StopOutcome outcome = tracker.stop();
            EXPECT_EQ(outcome.wasCounting, row.wasCounting);
            EXPECT_EQ(outcome.hideFrame, row.hideFrame);
        }
        EXPECT_EQ(tracker.remainingTicks(), row.remainingAfter);
        EXPECT_EQ(tracker.frameIndex(), row.frameIndexAfter);
        EXPECT_EQ(tracker.currentFrame(), FRAME_SEQUENCE[row.frameIndexAfter]);
    }
}

// Where the swing goes on from when a new drive starts after one that ended or was stopped.
TEST(MotionTracker, WestDrivesContinueTheSwingEastDrivesRestartItAndZeroStartsNothing) {
    struct Case {
        const char* name;
        std::uint16_t degrees;
        bool east;
        bool started;
        int frameIndexAfterStart;
        int firstPictureShown;
    };
    // The drive before each case: two Moteck degrees west (5 ticks), stopped after 3.
    const Case cases[]{
        {"west continues where the swing stopped", 2, false, true, 2, 3},
        {"east restarts the swing", 2, true, true, 9, 0},
        {"zero west starts nothing", 0, false, false, 2, NO_PICTURE},
        {"zero east starts nothing", 0, true, false, 2, NO_PICTURE},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        MotionTracker tracker;
        ASSERT_TRUE(tracker.startDrive(2, MOTECK, false).started);
        for (int i = 0; i < 3; ++i) tracker.tick();
        ASSERT_TRUE(tracker.stop().wasCounting);

        const DriveStart start = tracker.startDrive(row.degrees, MOTECK, row.east);
        EXPECT_EQ(start.started, row.started);
        EXPECT_EQ(tracker.frameIndex(), row.frameIndexAfterStart);
        if (!row.started) {
            EXPECT_EQ(start.command.length(), 0U);
            EXPECT_EQ(tracker.remainingTicks(), 0U) << "nothing is counted down";
            continue;
        }
        const DiseqcCommand expected = row.east ? PositionerCommands::driveEast(row.degrees)
                                                : PositionerCommands::driveWest(row.degrees);
        EXPECT_EQ(start.command.bytes, expected.bytes);
        EXPECT_EQ(tracker.remainingTicks(), 5U);
        EXPECT_EQ(tracker.tick().showFrame, row.firstPictureShown);
    }
}

}  // namespace
