#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "dish/dish_tracker.h"
#include "positioner/hex_byte.h"
#include "positioner/positioner_model.h"
#include "recording_file_store.h"
#include "simulator/dish_replay.h"
#include "simulator/dish_simulator.h"

// The plug-in keeps its belief with the tracker, the workbench turns the simulated dish, and
// dish-sim replays a trace: for the same commands at the same moments all three must tell the
// same angle, or the workbench's dial and the plug-in's countdown part ways.

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Sent {
    long long ms;
    Bytes bytes;
};

struct Agreement {
    const char* name;
    PositionerModel model;
    std::vector<Sent> sent;
    std::vector<long long> moments;
    // What all three say at those moments.
    std::vector<const char*> angles;
};

const Agreement AGREEMENTS[] = {
    {.name = "reference, goto angle, store, goto the stored position",
     .model = PositionerModel::Moteck,
     .sent = {{0, {0xE0, 0x31, 0x6B, 0x00}},
              {50000, {0xE0, 0x31, 0x6E, 0xE0, 0xF0}},
              {54000, {0xE0, 0x31, 0x6A, 0x05}},
              {70000, {0xE0, 0x31, 0x6B, 0x00}},
              {80000, {0xE0, 0x31, 0x6B, 0x05}}},
     .moments = {1000, 42200, 53000, 60000, 75000, 82000, 200000},
     .angles = {"unknown", "0.00", "5.54", "15.00", "5.63", "3.67", "7.57"}},
    {.name = "a drive until halted, then limits and a timed drive",
     .model = PositionerModel::Stab,
     .sent = {{0, {0xE0, 0x31, 0x6B}},
              {120000, {0xE0, 0x31, 0x68, 0x00}},
              {125000, {0xE0, 0x31, 0x60}},
              {126000, {0xE0, 0x31, 0x66}},
              {127000, {0xE0, 0x31, 0x69, 0x05}},
              {140000, {0xE0, 0x31, 0x68, 0xF0}}},
     .moments = {121000, 125100, 130000, 150000},
     .angles = {"0.74", "3.99", "1.64", "2.39"}},
    {.name = "a drive from an unknown angle, a recalculation",
     .model = PositionerModel::Stab,
     .sent = {{0, {0xE0, 0x31, 0x68, 0xF3}},
              {10000, {0xE0, 0x31, 0x6E, 0xD0, 0x50}},
              {20000, {0xE0, 0x31, 0x6F, 0x00}},
              {30000, {0xE0, 0x31, 0x6B, 0x00}}},
     .moments = {5000, 15000, 25000, 200000},
     .angles = {"unknown", "unknown", "unknown", "0.00"}},
};

class DishAgreement : public testing::TestWithParam<Agreement> {};

std::string traceOf(const Agreement& c) {
    std::string text;
    for (const Sent& sent : c.sent) {
        text += std::to_string(sent.ms) + " " + hexBytes(sent.bytes) + "\n";
    }
    return text;
}

}  // namespace

TEST_P(DishAgreement, PluginWorkbenchAndReplayTellTheSameAngle) {
    const Agreement& c = GetParam();
    ASSERT_EQ(c.moments.size(), c.angles.size());
    const double degreesPerSecond = speed(c.model);

    // The workbench's dish, with every command at once: it keeps its history.
    DishSimulator simulated(degreesPerSecond, DEFAULT_END_STOP, DishStart::Unknown);
    for (const Sent& sent : c.sent) simulated.send(static_cast<double>(sent.ms), sent.bytes);
    // The plug-in's belief, fed the commands sent by each moment and read back from its state
    // file as a restart would read it.
    RecordingFileStore files(FileStore::State::Missing, "", true);
    DishTracker tracker("diseqc.dish", files, nullptr, degreesPerSecond);
    auto next = c.sent.begin();
    auto beliefAt = [&](long long ms) {
        for (; next != c.sent.end() && next->ms <= ms; ++next) {
            EXPECT_TRUE(tracker.commandSent(static_cast<double>(next->ms), next->bytes));
        }
        return DishTracker("diseqc.dish", files, nullptr, degreesPerSecond)
            .dish()
            .angleAt(static_cast<double>(ms));
    };

    const std::filesystem::path trace =
        std::filesystem::temp_directory_path() /
        ("dish_agreement_" + std::to_string(testing::UnitTest::GetInstance()->random_seed()) + "_" +
         std::to_string(&c - AGREEMENTS) + ".trace");
    std::ofstream(trace) << traceOf(c);
    std::vector<std::string> args{"--unknown", "--model",
                                  c.model == PositionerModel::Stab ? "stab" : "moteck"};
    for (const long long ms : c.moments) {
        args.push_back("--at");
        args.push_back(std::to_string(ms));
    }
    args.push_back(trace.string());
    std::ostringstream out;
    std::ostringstream err;
    const int status = replayTrace(args, out, err);
    std::filesystem::remove(trace);
    ASSERT_EQ(status, 0) << err.str();
    std::istringstream replayed(out.str());

    for (std::size_t i = 0; i < c.moments.size(); ++i) {
        const double ms = static_cast<double>(c.moments[i]);
        SCOPED_TRACE(c.moments[i]);
        std::string at;
        std::string angle;
        std::string motion;
        replayed >> at >> angle >> motion;
        const std::optional<double> belief = beliefAt(c.moments[i]);
        EXPECT_EQ(formatAngle(simulated.stateAt(ms).angle), c.angles[i]);
        EXPECT_EQ(formatAngle(belief), c.angles[i]);
        EXPECT_EQ(angle, c.angles[i]);
        // Not only the same rounding: the plug-in's belief is the simulated dish's angle.
        EXPECT_EQ(belief, simulated.stateAt(ms).angle);
    }
}

INSTANTIATE_TEST_SUITE_P(Dish, DishAgreement, testing::ValuesIn(AGREEMENTS),
                         [](const testing::TestParamInfo<Agreement>& info) {
                             return "Case" + std::to_string(info.index);
                         });
