#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "positioner/positioner_model.h"
#include "simulator/dish_replay.h"
#include "simulator/dish_simulator.h"
#include "simulator/dish_trace.h"

namespace {

struct Sent {
    double ms;
    std::vector<std::uint8_t> bytes;
    bool accepted;
};

struct Look {
    double ms;
    const char* angle;
    bool moving;
};

struct DishCase {
    const char* name;
    std::vector<Sent> sent;
    std::vector<Look> looks;
};

// Stab, 0.8 degrees a second; a command of n bytes acts 15 + 13.5 n ms after it is sent.
const std::vector<DishCase> CASES = {
    {"stepped drive, 13 steps",
     {{0, {0xE0, 0x31, 0x68, 0xF3}, true}},
     {{1950, "1.50", true}, {5000, "1.95", false}}},
    {"timed drive west for 2 s",
     {{0, {0xE0, 0x31, 0x69, 0x02}, true}},
     {{1069, "-0.80", true}, {5000, "-1.60", false}}},
    {"continuous drive to the end stop",
     {{0, {0xE0, 0x31, 0x68, 0x00}, true}},
     {{10069, "8.00", true}, {200000, "80.00", false}}},
    {"a missing data byte drives continuously",
     {{0, {0xE0, 0x31, 0x69}, true}},
     {{10055.5, "-8.00", true}}},
    {"timed drive past the end stop",
     {{0, {0xE0, 0x31, 0x68, 0x7F}, true}},
     {{200000, "80.00", false}}},
    {"halt in mid-move",
     {{0, {0xE0, 0x31, 0x68, 0x00}, true}, {1000, {0xE0, 0x31, 0x60}, true}},
     {{1055, "0.79", true}, {5000, "0.79", false}}},
    {"repeat framing and the other addresses",
     {{0, {0xE1, 0x30, 0x68, 0xF3}, true}, {5000, {0xE0, 0x32, 0x69, 0xFE}, true}},
     {{5000, "1.95", false}, {9000, "1.65", false}}},
    {"bad framing, address and malformed commands change nothing",
     {{0, {0xE2, 0x31, 0x68, 0xF3}, false},
      {0, {0xE0, 0x33, 0x68, 0xF3}, false},
      {0, {0xE0, 0x31}, false},
      {0, {0xE0, 0x31, 0x60, 0x00}, false},
      {0, {0xE0, 0x31, 0x68, 0xF3, 0x01}, false},
      {0, {0xE0, 0x31, 0x99}, false},
      {0, {0xE0, 0x31, 0x6E, 0xE0}, false}},
     {{10000, "0.00", false}}},
    {"a new motion replaces the one in progress",
     {{0, {0xE0, 0x31, 0x68, 0x00}, true}, {1000, {0xE0, 0x31, 0x69, 0xF3}, true}},
     {{1069, "0.80", true}, {2069, "0.00", true}, {10000, "-1.15", false}}},
    {"store while moving, then goto",
     {{0, {0xE0, 0x31, 0x68, 0x00}, true},
      {1000, {0xE0, 0x31, 0x6A, 0x05}, true},
      {2000, {0xE0, 0x31, 0x60}, true},
      {3000, {0xE0, 0x31, 0x6B, 0x05}, true}},
     {{3569, "1.19", true}, {6000, "0.80", false}}},
    {"goto reference with 00 and with no data",
     {{0, {0xE0, 0x31, 0x68, 0xF3}, true},
      {5000, {0xE0, 0x31, 0x6B, 0x00}, true},
      {9000, {0xE0, 0x31, 0x68, 0xF3}, true},
      {14000, {0xE0, 0x31, 0x6B}, true}},
     {{6069, "1.15", true}, {9000, "0.00", false}, {14000, "1.95", false}, {20000, "0.00", false}}},
    {"goto an unset position leaves the motion going",
     {{0, {0xE0, 0x31, 0x68, 0xF3}, true}, {100, {0xE0, 0x31, 0x6B, 0x07}, false}},
     {{5000, "1.95", false}}},
    {"recalculate from a position loses the angle and every stored angle",
     {{0, {0xE0, 0x31, 0x6A, 0x01}, true},
      {100, {0xE0, 0x31, 0x68, 0xF3}, true},
      {3000, {0xE0, 0x31, 0x6A, 0x02}, true},
      {4000, {0xE0, 0x31, 0x6F, 0x01}, true},
      {5000, {0xE0, 0x31, 0x6B, 0x02}, true}},
     {{4000, "1.95", false},
      {4100, "unknown", false},
      {20000, "unknown", true},
      {300000, "unknown", false}}},
    {"recalculate from an unset position, then clear everything",
     {{0, {0xE0, 0x31, 0x6A, 0x01}, true},
      {100, {0xE0, 0x31, 0x6F, 0x09}, false},
      {200, {0xE0, 0x31, 0x68, 0xF3}, true},
      {5000, {0xE0, 0x31, 0x6B, 0x01}, true},
      {9000, {0xE0, 0x31, 0x6F}, true},
      {10000, {0xE0, 0x31, 0x6B, 0x01}, false}},
     {{8000, "0.00", false}, {20000, "unknown", false}}},
    {"goto angle east, west, a sixteenth off the table, a bad direction",
     {{0, {0xE0, 0x31, 0x6E, 0xE0, 0x35}, true},
      {10000, {0xE0, 0x31, 0x6E, 0xD1, 0x2E}, true},
      {60000, {0xE0, 0x31, 0x6E, 0xE0, 0x31}, true},
      {90000, {0xE0, 0x31, 0x6E, 0xC0, 0x35}, false}},
     {{10000, "3.30", false}, {60000, "-18.90", false}, {100000, "3.10", false}}},
    {"an east limit stops drives and gotos; limits off lets them pass",
     {{0, {0xE0, 0x31, 0x68, 0xF3}, true},
      {5000, {0xE0, 0x31, 0x66}, true},
      {6000, {0xE0, 0x31, 0x69, 0xF3}, true},
      {12000, {0xE0, 0x31, 0x68, 0x00}, true},
      {100000, {0xE0, 0x31, 0x63}, true},
      {101000, {0xE0, 0x31, 0x68, 0xF3}, true},
      {110000, {0xE0, 0x31, 0x6A, 0x00}, true},
      {111000, {0xE0, 0x31, 0x68, 0xF3}, true},
      {120000, {0xE0, 0x31, 0x6E, 0xE0, 0x50}, true}},
     {{100000, "1.95", false},
      {110000, "3.90", false},
      {119000, "3.90", false},
      {130000, "3.90", false}}},
    {"a west limit set while driving west stops the dish there",
     {{0, {0xE0, 0x31, 0x69, 0x00}, true},
      {1000, {0xE0, 0x31, 0x67}, true},
      {2000, {0xE0, 0x31, 0x69, 0xF3}, true},
      {5000, {0xE0, 0x31, 0x68, 0xFE}, true}},
     {{1200, "-0.79", false}, {4000, "-0.79", false}, {9000, "-0.49", false}}},
    {"a command sent while the bus is busy waits for it",
     {{0, {0xE0, 0x31, 0x68, 0xF3}, true}, {0, {0xE0, 0x31, 0x60}, true}},
     {{1000, "0.04", false}}},
};

class DishSimulatorCases : public testing::TestWithParam<DishCase> {};

TEST_P(DishSimulatorCases, AnglesToTheHundredth) {
    const DishCase& c = GetParam();
    DishSimulator dish(speed(PositionerModel::Stab));
    for (std::size_t i = 0; i < c.sent.size(); ++i) {
        const CommandOutcome outcome = dish.send(c.sent[i].ms, c.sent[i].bytes);
        EXPECT_EQ(outcome.accepted, c.sent[i].accepted) << "command " << i << ": " << outcome.note;
    }
    for (const Look& look : c.looks) {
        const DishState state = dish.stateAt(look.ms);
        EXPECT_EQ(formatAngle(state.angle), look.angle) << "at " << look.ms << " ms";
        EXPECT_EQ(state.moving, look.moving) << "at " << look.ms << " ms";
    }
}

INSTANTIATE_TEST_SUITE_P(Dish, DishSimulatorCases, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<DishCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 const char c = *p;
                                 const bool word = (c >= 'a' && c <= 'z') ||
                                                   (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
                                 if (word) name += c;
                             }
                             return name;
                         });

TEST(DishSimulator, ActsWhenTheLastByteHasArrivedAndTellsTheMotion) {
    DishSimulator dish(speed(PositionerModel::Moteck));
    const CommandOutcome drive = dish.send(1000, std::vector<std::uint8_t>{0xE0, 0x31, 0x68, 0xF3});
    EXPECT_DOUBLE_EQ(drive.actsAtMs, 1069.0);
    ASSERT_TRUE(drive.motion);
    EXPECT_EQ(formatAngle(drive.to), "1.95");
    EXPECT_NEAR(drive.durationMs, 1.95 / 1.9 * 1000.0, 0.01);
    EXPECT_EQ(dish.stateAt(1068).angle, 0.0);
    EXPECT_TRUE(dish.stateAt(1069).moving);
    EXPECT_EQ(formatAngle(dish.stateAt(1069).target), "1.95");
}

TEST(DishSimulator, RecalculateKeepsTheSlotsButNotTheirAngles) {
    DishSimulator dish(speed(PositionerModel::Stab));
    dish.send(0, std::vector<std::uint8_t>{0xE0, 0x31, 0x69, 0xFE});  // 0.30 west
    dish.send(2000, std::vector<std::uint8_t>{0xE0, 0x31, 0x6A, 0x03});
    dish.send(3000, std::vector<std::uint8_t>{0xE0, 0x31, 0x68, 0xF3});  // to 1.65 east
    dish.send(6000, std::vector<std::uint8_t>{0xE0, 0x31, 0x6A, 0x04});
    const CommandOutcome recalculate =
        dish.send(9000, std::vector<std::uint8_t>{0xE0, 0x31, 0x6F, 0x04});
    EXPECT_EQ(recalculate.note,
              "recalculate from position 4: the angle and every stored angle are unknown");
    const DishState state = dish.stateAt(10000);
    ASSERT_EQ(state.stored.size(), 2U);
    EXPECT_EQ(formatAngle(state.stored.at(3)), "unknown");
    EXPECT_EQ(formatAngle(state.stored.at(4)), "unknown");
    // The motor still holds 3 and 4, and nothing else.
    EXPECT_TRUE(dish.send(11000, std::vector<std::uint8_t>{0xE0, 0x31, 0x6B, 0x03}).accepted);
    EXPECT_FALSE(dish.send(12000, std::vector<std::uint8_t>{0xE0, 0x31, 0x6B, 0x05}).accepted);
}

struct TraceCase {
    const char* text;
    int errorLine;
    const char* message;
};

TEST(DishTrace, ReadsCommandsAndNamesTheFirstBadLine) {
    const std::vector<TraceCase> cases = {
        {"# run\n0 E0 31 68 F3\n\n2500 e0 31 60  # halt\n", 0, ""},
        {"0 E0 31 68 F3\n10 E0 31 6\n", 2, "\"6\" is not a hex byte"},
        {"0 E0 31 68 F3\nlater E0 31 60\n", 2, "\"later\" is not a time in whole milliseconds"},
        {"-5 E0 31 60\n", 1, "\"-5\" is not a time in whole milliseconds"},
        {"10 E0 31 60\n\n9 E0 31 60\n", 3, "time 9 ms comes before 10 ms on an earlier line"},
        {"10\n", 1, "a time without command bytes"},
    };
    for (const TraceCase& c : cases) {
        std::istringstream in(c.text);
        const ParsedTrace trace = readTrace(in);
        if (c.errorLine == 0) {
            ASSERT_FALSE(trace.error) << c.text;
            ASSERT_EQ(trace.commands.size(), 2U);
            EXPECT_EQ(trace.commands[1].ms, 2500U);
            EXPECT_EQ(trace.commands[1].bytes, (std::vector<std::uint8_t>{0xE0, 0x31, 0x60}));
            EXPECT_EQ(traceLine(trace.commands[0].ms, trace.commands[0].bytes), "0 E0 31 68 F3");
            continue;
        }
        ASSERT_TRUE(trace.error) << c.text;
        EXPECT_EQ(trace.error->line, c.errorLine) << c.text;
        EXPECT_EQ(trace.error->message, c.message) << c.text;
    }
}

TEST(DishReplay, RefusesBadArgumentsWithStatusTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--model", "sg2100", "x"},
                                               {"--at", "1.5", "x"},
                                               {"--at"},
                                               {"a", "b"},
                                               {"/no/such/trace"}}) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(replayTrace(args, out, err), REPLAY_BAD_INPUT);
        EXPECT_TRUE(out.str().empty());
        EXPECT_FALSE(err.str().empty());
    }
}

}  // namespace
