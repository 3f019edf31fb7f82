#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dish/dish_model.h"
#include "positioner/positioner_model.h"
#include "simulator/dish_simulator.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr double STAB = 0.8;
// The fixtures' dishes are idle by then; a case's commands act from here on.
constexpr double T = 400000.0;

const Bytes HALT{0xE0, 0x31, 0x60};
const Bytes GOTO_REFERENCE{0xE0, 0x31, 0x6B, 0x00};
const Bytes GOTO_10_EAST{0xE0, 0x31, 0x6E, 0xE0, 0xA0};
const Bytes GOTO_20_WEST{0xE0, 0x31, 0x6E, 0xD1, 0x40};
const Bytes STORE_1{0xE0, 0x31, 0x6A, 0x01};
const Bytes STORE_2{0xE0, 0x31, 0x6A, 0x02};
const Bytes GOTO_2{0xE0, 0x31, 0x6B, 0x02};
const Bytes LIMIT_EAST{0xE0, 0x31, 0x66};
const Bytes LIMIT_WEST{0xE0, 0x31, 0x67};
const Bytes RECALCULATE_ALL{0xE0, 0x31, 0x6F, 0x00};

// Idle at 10.00 E; position 1 holds 0.00, no other position is set, no limit.
DishModel knownDish() {
    DishModel dish = DishModel::atReference(STAB);
    dish.apply(0, STORE_1);
    dish.apply(0, GOTO_10_EAST);
    return dish;
}

// Idle at an unknown angle; position 1 holds 0.00, position 2 an unknown angle, the rest is
// unknown.
DishModel unknownDish() {
    DishModel dish = DishModel::unknown(STAB);
    dish.apply(0, STORE_2);
    // From anywhere on the arc, 80 degrees at most: at the reference by 100 s.
    dish.apply(0, GOTO_REFERENCE);
    dish.apply(100000, STORE_1);
    dish.apply(100000, GOTO_2);
    return dish;
}

struct Sent {
    double afterMs;
    Bytes bytes;
};

struct CommandCase {
    const char* name;
    std::vector<Sent> sent;
    // Angles one second after the first command, and once any motion must have ended.
    const char* knownSoon;
    const char* knownLater;
    const char* unknownSoon;
    const char* unknownLater;
};

const std::vector<CommandCase> COMMAND_CASES = {
    {"halt", {{0, HALT}}, "10.00", "10.00", "unknown", "unknown"},
    {"drive east 13 steps",
     {{0, {0xE0, 0x31, 0x68, 0xF3}}},
     "10.80",
     "11.95",
     "unknown",
     "unknown"},
    {"drive west for 2 s", {{0, {0xE0, 0x31, 0x69, 0x02}}}, "9.20", "8.40", "unknown", "unknown"},
    {"drive east until halted, to the end stop",
     {{0, {0xE0, 0x31, 0x68, 0x00}}},
     "10.80",
     "80.00",
     "unknown",
     "unknown"},
    {"drive west without a data byte",
     {{0, {0xE0, 0x31, 0x69}}},
     "9.20",
     "-80.00",
     "unknown",
     "unknown"},
    {"drive east until halted, halted",
     {{0, {0xE0, 0x31, 0x68, 0x00}}, {500, HALT}},
     "10.40",
     "10.40",
     "unknown",
     "unknown"},
    {"enable limits", {{0, {0xE0, 0x31, 0x6A, 0x00}}}, "10.00", "10.00", "unknown", "unknown"},
    {"store", {{0, {0xE0, 0x31, 0x6A, 0x03}}}, "10.00", "10.00", "unknown", "unknown"},
    {"goto reference", {{0, GOTO_REFERENCE}}, "9.20", "0.00", "unknown", "0.00"},
    {"goto reference without a data byte",
     {{0, {0xE0, 0x31, 0x6B}}},
     "9.20",
     "0.00",
     "unknown",
     "0.00"},
    {"goto a position whose angle is known",
     {{0, {0xE0, 0x31, 0x6B, 0x01}}},
     "9.20",
     "0.00",
     "unknown",
     "0.00"},
    // Never set on the known dish: the motor ignores it.
    {"goto a position whose angle is unknown",
     {{0, GOTO_2}},
     "10.00",
     "10.00",
     "unknown",
     "unknown"},
    {"goto a position the model has never seen",
     {{0, {0xE0, 0x31, 0x6B, 0x09}}},
     "10.00",
     "10.00",
     "unknown",
     "unknown"},
    {"goto angle 30 east",
     {{0, {0xE0, 0x31, 0x6E, 0xE1, 0xE0}}},
     "10.80",
     "30.00",
     "unknown",
     "30.00"},
    {"recalculate from a position",
     {{0, {0xE0, 0x31, 0x6F, 0x01}}},
     "unknown",
     "unknown",
     "unknown",
     "unknown"},
    {"reset all stored positions",
     {{0, RECALCULATE_ALL}},
     "unknown",
     "unknown",
     "unknown",
     "unknown"},
    {"disable limits", {{0, {0xE0, 0x31, 0x63}}}, "10.00", "10.00", "unknown", "unknown"},
    {"east limit, then drive east until halted",
     {{0, LIMIT_EAST}, {0, {0xE0, 0x31, 0x68, 0x00}}},
     "10.00",
     "10.00",
     "unknown",
     "unknown"},
    // A limit set at an unknown angle stops nothing the model can tell.
    {"west limit, then goto reference",
     {{0, LIMIT_WEST}, {0, GOTO_REFERENCE}},
     "10.00",
     "10.00",
     "unknown",
     "0.00"},
};

class DishModelCommands : public testing::TestWithParam<CommandCase> {};

TEST_P(DishModelCommands, FromAKnownAndFromAnUnknownAngle) {
    const CommandCase& c = GetParam();
    const struct {
        const char* name;
        DishModel dish;
        const char* soon;
        const char* later;
    } starts[] = {{"known start", knownDish(), c.knownSoon, c.knownLater},
                  {"unknown start", unknownDish(), c.unknownSoon, c.unknownLater}};
    for (auto start : starts) {
        SCOPED_TRACE(start.name);
        for (const Sent& sent : c.sent) start.dish.apply(T + sent.afterMs, sent.bytes);
        EXPECT_EQ(formatAngle(start.dish.angleAt(T + 1000)), start.soon);
        EXPECT_EQ(formatAngle(start.dish.angleAt(T + 300000)), start.later);
        EXPECT_FALSE(start.dish.movingAt(T + 300000));
    }
}

INSTANTIATE_TEST_SUITE_P(Dish, DishModelCommands, testing::ValuesIn(COMMAND_CASES),
                         [](const testing::TestParamInfo<CommandCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                             }
                             return name;
                         });

TEST(DishModel, AStoreOrALimitKeepsItsAngleOnlyWhileTheAngleIsKnown) {
    DishModel known = knownDish();
    known.apply(T, Bytes{0xE0, 0x31, 0x68, 0x00});
    known.apply(T + 2500, Bytes{0xE0, 0x31, 0x6A, 0x04});  // while moving
    known.apply(T + 2500, LIMIT_EAST);
    known.apply(T + 5000, GOTO_REFERENCE);
    known.apply(T + 30000, Bytes{0xE0, 0x31, 0x6B, 0x04});
    ASSERT_EQ(known.stored().size(), 2U);
    EXPECT_EQ(formatAngle(known.stored()[1].angle), "12.00");
    EXPECT_EQ(formatAngle(known.eastLimit()), "12.00");
    EXPECT_EQ(formatAngle(known.angleAt(T + 30000 + 12000 / STAB)), "12.00");

    DishModel unknown = DishModel::unknown(STAB);
    unknown.apply(0, Bytes{0xE0, 0x31, 0x6A, 0x04});
    unknown.apply(0, LIMIT_EAST);
    ASSERT_EQ(unknown.stored().size(), 1U);
    EXPECT_FALSE(unknown.stored()[0].angle);
    EXPECT_FALSE(unknown.eastLimit());
    EXPECT_TRUE(unknown.limitsOn());
}

TEST(DishModel, AMotionFromAnUnknownAngleLastsItsWorstCase) {
    DishModel dish = DishModel::unknown(STAB);
    const DishEffect toReference = dish.apply(0, GOTO_REFERENCE);
    EXPECT_TRUE(toReference.motion);
    EXPECT_FALSE(toReference.from);
    EXPECT_EQ(formatAngle(toReference.to), "0.00");
    EXPECT_DOUBLE_EQ(toReference.durationMs, 80 / STAB * 1000);
    EXPECT_TRUE(dish.movingAt(99999));
    EXPECT_FALSE(dish.angleAt(99999));
    EXPECT_FALSE(dish.movingAt(100000));

    // A drive from an unknown angle turns no further than it asks, and no further than the arc.
    dish.apply(200000, RECALCULATE_ALL);
    const DishEffect stepped = dish.apply(300000, Bytes{0xE0, 0x31, 0x68, 0xF3});
    EXPECT_TRUE(stepped.motion);
    EXPECT_FALSE(stepped.to);
    EXPECT_DOUBLE_EQ(stepped.durationMs, 1.95 / STAB * 1000);
    EXPECT_TRUE(dish.movingAt(302437));
    EXPECT_FALSE(dish.movingAt(302438));
    const DishEffect untilHalted = dish.apply(400000, Bytes{0xE0, 0x31, 0x69, 0x00});
    EXPECT_DOUBLE_EQ(untilHalted.durationMs, 160 / STAB * 1000);
    EXPECT_FALSE(dish.angleAt(900000));
}

TEST(DishModel, TheWorstCaseSpansTheSoftLimitsOnlyWhenBothAreKnown) {
    DishModel dish = knownDish();
    dish.apply(T, LIMIT_EAST);
    EXPECT_DOUBLE_EQ(dish.worstCaseMs(std::nullopt), 160 / STAB * 1000);
    dish.apply(T, GOTO_20_WEST);
    dish.apply(T + 100000, LIMIT_WEST);
    EXPECT_DOUBLE_EQ(dish.worstCaseMs(std::nullopt), 30 / STAB * 1000);
    EXPECT_DOUBLE_EQ(dish.worstCaseMs(0.0), 20 / STAB * 1000);
    dish.apply(T + 100000, Bytes{0xE0, 0x31, 0x63});
    EXPECT_DOUBLE_EQ(dish.worstCaseMs(std::nullopt), 160 / STAB * 1000);
}

TEST(DishModel, ACommandActsWhenItsLastByteHasCrossedAFreeBus) {
    EXPECT_DOUBLE_EQ(commandActsAtMs(1000, 0, 4), 1069);
    EXPECT_DOUBLE_EQ(commandActsAtMs(1000, 1069, 3), 1124.5);
}

}  // namespace
