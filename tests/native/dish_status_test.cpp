#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "dish/dish_model.h"
#include "dish/dish_status.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr double STAB = 0.8;

std::string clockWords(double ms) {
    return "clock " + std::to_string(std::llround(ms));
}

struct Sent {
    double atMs;
    Bytes bytes;
};

struct StatusCase {
    const char* name;
    bool knownStart;
    std::vector<Sent> sent;
    double nowMs;
    const char* words;
};

const StatusCase STATUS_CASES[] = {
    {.name = "idle where it was left",
     .knownStart = true,
     .sent = {},
     .nowMs = 5000,
     .words = "Dish at 0.0\xC2\xB0, since clock 0"},
    {.name = "a goto under way counts down to its end",
     .knownStart = true,
     .sent = {{1000, {0xE0, 0x31, 0x6E, 0xE0, 0xF0}}},
     .nowMs = 10000,
     .words = "Dish moving 0.0\xC2\xB0 \xE2\x86\x92 15.0\xC2\xB0 E, about 10 s"},
    {.name = "arrived, since the end of the motion",
     .knownStart = true,
     .sent = {{1000, {0xE0, 0x31, 0x6E, 0xE0, 0xF0}}},
     .nowMs = 60000,
     .words = "Dish at 15.0\xC2\xB0 E, since clock 19750"},
    {.name = "west of the reference",
     .knownStart = true,
     .sent = {{0, {0xE0, 0x31, 0x69, 0xF0}}},
     .nowMs = 60000,
     .words = "Dish at 2.4\xC2\xB0 W, since clock 3000"},
    {.name = "nothing known",
     .knownStart = false,
     .sent = {},
     .nowMs = 0,
     .words = "Dish position unknown: a goto may take up to 3 min 20 s"},
    {.name = "a goto from an unknown angle lasts up to its worst case",
     .knownStart = false,
     .sent = {{0, {0xE0, 0x31, 0x6B, 0x00}}},
     .nowMs = 40000,
     .words = "Dish moving to 0.0\xC2\xB0, up to 1 min"},
    {.name = "between known limits the worst case is their arc",
     .knownStart = true,
     .sent = {{0, {0xE0, 0x31, 0x69, 0xE6}},
              {10000, {0xE0, 0x31, 0x67}},
              {10000, {0xE0, 0x31, 0x6E, 0xE0, 0x80}},
              {40000, {0xE0, 0x31, 0x66}},
              {40000, {0xE0, 0x31, 0x6F, 0x00}}},
     .nowMs = 50000,
     .words = "Dish position unknown: a goto may take up to 15 s"},
};

class DishStatusWords : public testing::TestWithParam<StatusCase> {};

}  // namespace

TEST_P(DishStatusWords, TellWhatTheDishDoes) {
    const StatusCase& c = GetParam();
    DishModel dish = c.knownStart ? DishModel::atReference(STAB) : DishModel::unknown(STAB);
    for (const Sent& sent : c.sent) dish.apply(sent.atMs, sent.bytes);
    EXPECT_EQ(dishStatusWords(dish, c.nowMs, clockWords), c.words);
}

INSTANTIATE_TEST_SUITE_P(Dish, DishStatusWords, testing::ValuesIn(STATUS_CASES),
                         [](const testing::TestParamInfo<StatusCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c != '\0'; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

TEST(DishStatusWords, DurationsRoundUpToWholeSeconds) {
    const struct {
        double ms;
        const char* words;
    } cases[] = {{0, "0 s"},
                 {1, "1 s"},
                 {8000, "8 s"},
                 {59001, "1 min"},
                 {200000, "3 min 20 s"},
                 {-5, "0 s"},
                 {1e300, "16666666 min 40 s"}};
    for (const auto& c : cases) EXPECT_EQ(durationWords(c.ms), c.words) << c.ms;
}

TEST(DishStatusWords, TravelToATargetIsExactOnlyFromAKnownAngle) {
    DishModel known = DishModel::atReference(STAB);
    EXPECT_EQ(travelWords(known, 0, -6.3), "about 8 s");
    const DishModel unknown = DishModel::unknown(STAB);
    // From the far end of the arc: 80 + 15.6 degrees.
    EXPECT_EQ(travelWords(unknown, 0, 15.6), "up to 2 min");
}
