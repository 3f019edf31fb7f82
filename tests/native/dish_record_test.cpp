#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dish/dish_model.h"
#include "dish/dish_record.h"
#include "simulator/dish_simulator.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr double STAB = 0.8;
constexpr double MOTECK = 1.9;

const Bytes GOTO_REFERENCE{0xE0, 0x31, 0x6B, 0x00};
const Bytes GOTO_30_EAST{0xE0, 0x31, 0x6E, 0xE1, 0xE0};
const Bytes DRIVE_EAST{0xE0, 0x31, 0x68, 0x00};
const Bytes HALT{0xE0, 0x31, 0x60};

bool knowsNothing(const DishModel& dish) {
    return !dish.angleAt(1e12) && dish.stored().empty() && !dish.eastLimit() && !dish.westLimit();
}

std::vector<DishModel> samples() {
    DishModel fresh = DishModel::atReference(STAB);
    DishModel moving = DishModel::atReference(MOTECK);
    moving.apply(1000, Bytes{0xE0, 0x31, 0x6A, 0x02});
    moving.apply(1000, DRIVE_EAST);
    moving.apply(3500, Bytes{0xE0, 0x31, 0x66});
    moving.apply(4000, Bytes{0xE0, 0x31, 0x6A, 0x07});
    moving.apply(4000, Bytes{0xE0, 0x31, 0x63});
    moving.apply(5000, GOTO_30_EAST);
    DishModel fromUnknown = DishModel::unknown(STAB);
    fromUnknown.apply(-5000.5, Bytes{0xE0, 0x31, 0x67});
    fromUnknown.apply(1.7e12, GOTO_REFERENCE);
    DishModel lost = DishModel::atReference(STAB);
    lost.apply(50, Bytes{0xE0, 0x31, 0x68, 0xF3});
    lost.apply(60, Bytes{0xE0, 0x31, 0x6F, 0x00});
    return {fresh, moving, fromUnknown, lost, DishModel::unknown(MOTECK)};
}

TEST(DishRecord, ReadsBackTheSameDishAtEveryMoment) {
    for (const DishModel& dish : samples()) {
        const std::string record = encodeDishRecord(dish);
        SCOPED_TRACE(record);
        const DishModel read = decodeDishRecord(record, 1.0);
        EXPECT_EQ(encodeDishRecord(read), record);
        EXPECT_EQ(read.speed(), dish.speed());
        for (const double ms : {-1e13, 0.0, 2000.0, 3800.0, 20000.0, 1.7e12 + 50000, 1e13}) {
            EXPECT_EQ(read.angleAt(ms), dish.angleAt(ms)) << ms;
            EXPECT_EQ(read.movingAt(ms), dish.movingAt(ms)) << ms;
        }
        EXPECT_EQ(read.limitsOn(), dish.limitsOn());
        EXPECT_EQ(read.eastLimit(), dish.eastLimit());
        EXPECT_EQ(read.westLimit(), dish.westLimit());
        std::vector<std::pair<int, double>> knownBefore;
        for (const StoredPosition& p : dish.stored()) {
            if (p.angle) knownBefore.emplace_back(p.slot, *p.angle);
        }
        std::vector<std::pair<int, double>> knownAfter;
        for (const StoredPosition& p : read.stored()) knownAfter.emplace_back(p.slot, *p.angle);
        EXPECT_EQ(knownAfter, knownBefore);
    }
}

TEST(DishRecord, APositionWhoseAngleIsUnknownComesBackUnknownButSet) {
    DishModel dish = DishModel::atReference(STAB);
    dish.apply(0, Bytes{0xE0, 0x31, 0x6A, 0x02});
    // Never told 5: the motor holds nothing there, so a goto is ignored...
    EXPECT_EQ(dish.apply(10, Bytes{0xE0, 0x31, 0x6B, 0x05}).verdict, DishVerdict::PositionNotSet);
    // ...but another run cannot know what was stored meanwhile.
    DishModel read = decodeDishRecord(encodeDishRecord(dish), STAB);
    EXPECT_EQ(read.apply(10, Bytes{0xE0, 0x31, 0x6B, 0x05}).verdict, DishVerdict::Acted);
    EXPECT_FALSE(read.angleAt(20));
    read = decodeDishRecord(encodeDishRecord(dish), STAB);
    read.apply(10, Bytes{0xE0, 0x31, 0x6B, 0x02});
    EXPECT_EQ(formatAngle(read.angleAt(10000)), "0.00");
}

struct RunCase {
    const char* name;
    bool unknownStart;
    // Commands of the first run, then when it saved its state (or was killed after saving).
    std::vector<std::pair<double, Bytes>> firstRun;
    // What the second run reads at these moments, and what a halt there leaves.
    double lookMs;
    const char* angle;
    bool moving;
};

const std::vector<RunCase> RUN_CASES = {
    {"killed mid-goto, read mid-move", false, {{0, GOTO_30_EAST}}, 20000, "16.00", true},
    {"killed mid-goto, read after its end", false, {{0, GOTO_30_EAST}}, 40000, "30.00", false},
    {"until halted, read at the end stop", false, {{0, DRIVE_EAST}}, 200000, "80.00", false},
    {"halted in the first run", false, {{0, DRIVE_EAST}, {5000, HALT}}, 90000, "4.00", false},
    {"a goto from unknown before its worst case",
     true,
     {{0, GOTO_REFERENCE}},
     99000,
     "unknown",
     true},
    {"a goto from unknown after its worst case",
     true,
     {{0, GOTO_REFERENCE}},
     100000,
     "0.00",
     false},
};

TEST(DishRecord, TimePassesBetweenTwoRuns) {
    for (const RunCase& c : RUN_CASES) {
        SCOPED_TRACE(c.name);
        DishModel first = c.unknownStart ? DishModel::unknown(STAB) : DishModel::atReference(STAB);
        for (const auto& [ms, bytes] : c.firstRun) first.apply(ms, bytes);
        DishModel second = decodeDishRecord(encodeDishRecord(first), MOTECK);
        EXPECT_EQ(formatAngle(second.angleAt(c.lookMs)), c.angle);
        EXPECT_EQ(second.movingAt(c.lookMs), c.moving);
        const std::optional<double> before = second.angleAt(c.lookMs);
        second.apply(c.lookMs, HALT);
        EXPECT_EQ(second.angleAt(c.lookMs + 60000), before);
    }
}

std::string withLine(std::string record, const std::string& key, const std::string& line) {
    const std::size_t at = record.find("\n" + key + " ");
    EXPECT_NE(at, std::string::npos) << key;
    const std::size_t end = record.find('\n', at + 1);
    return record.replace(at + 1, end - at - 1, line);
}

TEST(DishRecord, AnythingButAWholeRecordReadsAsUnknown) {
    DishModel dish = DishModel::atReference(STAB);
    dish.apply(0, Bytes{0xE0, 0x31, 0x6A, 0x03});
    dish.apply(0, Bytes{0xE0, 0x31, 0x67});
    dish.apply(0, GOTO_30_EAST);
    const std::string record = encodeDishRecord(dish);
    ASSERT_FALSE(knowsNothing(decodeDishRecord(record, MOTECK)));

    // Cut short anywhere, a file written in place would be this.
    for (std::size_t length = 0; length < record.size(); ++length) {
        const DishModel read = decodeDishRecord(record.substr(0, length), MOTECK);
        EXPECT_TRUE(knowsNothing(read)) << length;
        EXPECT_EQ(read.speed(), MOTECK);
    }

    std::string crlf;
    for (const char c : record) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string nan = "7FF8000000000000";
    const std::string infinity = "7FF0000000000000";
    const std::string beyondEndStop = "4054400000000000";  // 81
    const std::string damaged[] = {
        "",
        "garbage\n",
        std::string("diseqc-dish 1\0", 14) + record.substr(13),
        "diseqc-dish 2" + record.substr(13),
        crlf,
        record + "\n",
        record + "end\n",
        withLine(record, "speed", "speed 0000000000000000"),
        withLine(record, "speed", "speed " + infinity),
        withLine(record, "start", "start " + nan),
        withLine(record, "from", "from " + nan),
        withLine(record, "from", "from " + beyondEndStop),
        withLine(record, "from", "from 3FF"),
        withLine(record, "from", "from 3FF00000000000000"),
        withLine(record, "from", "from -3FF0000000000000"),
        withLine(record, "from", "from  3FF000000000000"),
        withLine(record, "to", "to"),
        withLine(record, "requested", "requested " + nan),
        withLine(record, "reach", "reach BFF0000000000000"),
        withLine(record, "limits", "limits maybe"),
        withLine(record, "east", "east " + infinity),
        withLine(record, "west", "west unknown\nposition 0 0000000000000000"),
        withLine(record, "west", "west unknown\nposition 256 0000000000000000"),
        withLine(record, "west", "west unknown\nposition 3 0000000000000000"),
        withLine(record, "west", "west unknown\nposition x 0000000000000000"),
        withLine(record, "west", "west unknown\nposition 2 " + beyondEndStop),
        withLine(record, "west", "west unknown\nposition 2"),
        withLine(record, "west", "west unknown\nwest unknown"),
        withLine(record, "east", "west unknown"),
    };
    for (const std::string& text : damaged) {
        EXPECT_TRUE(knowsNothing(decodeDishRecord(text, MOTECK))) << text;
    }
}

}  // namespace
