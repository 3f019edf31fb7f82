#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dish/dish_record.h"
#include "dish/dish_tracker.h"
#include "recording_file_store.h"
#include "simulator/dish_simulator.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using State = FileStore::State;

constexpr double STAB = 0.8;
constexpr double MOTECK = 1.9;
const std::string PATH = "C:\\viewer\\plugins\\diseqc.dish";

const Bytes GOTO_REFERENCE{0xE0, 0x31, 0x6B, 0x00};
const Bytes GOTO_30_EAST{0xE0, 0x31, 0x6E, 0xE1, 0xE0};
const Bytes STORE_4{0xE0, 0x31, 0x6A, 0x04};
const Bytes HALT{0xE0, 0x31, 0x60};
const Bytes GOTO_4{0xE0, 0x31, 0x6B, 0x04};

std::string angleAt(const DishModel& dish, double ms) {
    return formatAngle(dish.angleAt(ms));
}

// The file a run leaves when it knows the dish idle at the reference since `ms`.
std::string atReferenceFile() {
    DishModel dish = DishModel::atReference(STAB);
    return encodeDishRecord(dish);
}

}  // namespace

TEST(DishStatePath, SitsBesideTheSettingsFile) {
    EXPECT_EQ(dishStatePathFor("C:\\viewer\\plugins\\diseqc.ini"), PATH);
    EXPECT_EQ(dishStatePathFor("D:\\\xC3\xBC\\other.ini"), "D:\\\xC3\xBC\\other.dish");
}

TEST(DishTracker, EachCommandIsOneReadAndOneReplacementUnderTheLock) {
    RecordingFileStore files(State::Missing, "", true);
    RecordingLock lock(files.calls, true);
    DishTracker tracker(PATH, files, &lock, STAB);
    EXPECT_FALSE(tracker.dish().angleAt(1e6)) << "no state file: nothing is known";
    files.calls.clear();

    ASSERT_TRUE(tracker.commandSent(1000, GOTO_REFERENCE));
    EXPECT_EQ(files.calls,
              (std::vector<std::string>{"lock", "read " + PATH, "replace " + PATH, "unlock"}));
    EXPECT_EQ(files.bytes(), encodeDishRecord(tracker.dish()));
}

TEST(DishTracker, WhatTheFileHoldsIsWhatTheNextCommandStartsFrom) {
    // Another viewer on the same dish, or a run before this one: the file is the belief.
    RecordingFileStore files(State::Read, atReferenceFile(), true);
    DishTracker first(PATH, files, nullptr, MOTECK);
    DishTracker second(PATH, files, nullptr, MOTECK);
    ASSERT_TRUE(first.commandSent(0, GOTO_30_EAST));
    // Stored as it acts at 8069 ms, while the dish turns at 1.9 degrees a second from 82.5 ms.
    ASSERT_TRUE(second.commandSent(8000, STORE_4));
    ASSERT_TRUE(first.commandSent(40000, GOTO_4));
    EXPECT_EQ(angleAt(first.dish(), 1e6), "15.17");
    EXPECT_EQ(angleAt(decodeDishRecord(files.bytes(), MOTECK), 1e6), "15.17");
}

TEST(DishTracker, AFileThatCannotBeKeptLeavesTheBeliefFollowingTheCommands) {
    struct Case {
        const char* name;
        State state;
        bool replaceSucceeds;
        bool lockAvailable;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"replacement fails",
         State::Read,
         false,
         true,
         {"lock", "read " + PATH, "replace " + PATH, "unlock"}},
        {"lock held by another viewer", State::Read, true, false, {"lock refused"}},
        // Held by another program: unknown, and written over only if the replacement works.
        {"unreadable file",
         State::Unreadable,
         false,
         true,
         {"lock", "read " + PATH, "replace " + PATH, "unlock"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingFileStore files(c.state, atReferenceFile(), c.replaceSucceeds);
        RecordingLock lock(files.calls, c.lockAvailable);
        DishTracker tracker(PATH, files, &lock, STAB);
        const std::string before = files.bytes();
        files.calls.clear();
        EXPECT_FALSE(tracker.commandSent(0, GOTO_30_EAST));
        EXPECT_EQ(files.calls, c.calls);
        EXPECT_EQ(files.bytes(), before);
        EXPECT_EQ(angleAt(tracker.dish(), 1e6), "30.00");
    }
}

TEST(DishTracker, WithoutAPathNothingIsReadOrWritten) {
    RecordingFileStore files(State::Read, atReferenceFile(), true);
    RecordingLock lock(files.calls, true);
    DishTracker tracker("", files, &lock, STAB);
    EXPECT_FALSE(tracker.commandSent(0, GOTO_REFERENCE));
    EXPECT_TRUE(files.calls.empty());
    EXPECT_EQ(angleAt(tracker.dish(), 1e6), "0.00");
}

TEST(DishTracker, ASpeedChangeCarriesOnTheMotionAtTheNewSpeed) {
    RecordingFileStore files(State::Read, atReferenceFile(), true);
    DishTracker tracker(PATH, files, nullptr, STAB);
    ASSERT_TRUE(tracker.commandSent(0, GOTO_30_EAST));
    // 8 degrees by 10.0825 s at 0.8, then 1.9 degrees a second.
    ASSERT_TRUE(tracker.speedChanged(10082.5, MOTECK));
    EXPECT_EQ(angleAt(tracker.dish(), 12082.5), "11.80");
    // A run with the other model takes the file's motion on at its own speed.
    DishTracker later(PATH, files, nullptr, STAB);
    EXPECT_EQ(angleAt(later.dish(), 12082.5), "11.80");
    // The halt acts 55.5 ms after it is sent, 0.1 degrees further on.
    ASSERT_TRUE(later.commandSent(12082.5, HALT));
    EXPECT_EQ(angleAt(later.dish(), 1e6), "11.91");
}
