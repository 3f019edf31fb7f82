#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "store/factory_satellite_table.h"
#include "store/satellite_names.h"
#include "store/settings_file.h"
#include "tests/common/settings_file_text.h"
#include "tests/native/recording_file_store.h"

namespace {

constexpr const char* PATH = "C:\\Plugins\\diseqc.ini";
const std::string READ = std::string("read ") + PATH;
const std::string REPLACE = std::string("replace ") + PATH;
const std::vector<std::string> ONE_EDIT{"lock", READ, REPLACE, "unlock"};
constexpr char TYPE_LINES[] = "[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n";

SatelliteNameTable ownNames(const std::string& prefix) {
    SatelliteNameTable names;
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i) names[i] = prefix + std::to_string(i + 1);
    return names;
}

// The first `stored` names only, between a comment and another section that must stay.
std::string fileHolding(const SatelliteNameTable& names, std::size_t stored = SATELLITE_COUNT) {
    return "; mine\r\n" + namesSectionText({names.begin(), names.begin() + stored}) + TYPE_LINES;
}

// The bytes that saving the whole table over `original` gives, as every list edit always did.
std::string savedOver(const std::string& original, const SatelliteNameTable& names) {
    RecordingFileStore files(FileStore::State::Read, original, true);
    SettingsFile(PATH, files).writeNames(names);
    return files.bytes();
}

struct Edit {
    const char* label;
    std::function<EditOutcome(SatelliteNames&)> make;
    std::function<void(SatelliteNameTable&)> expected;
};

const Edit EDITS[] = {
    {"swap", [](SatelliteNames& names) { return names.swap(2, 5); },
     [](SatelliteNameTable& names) { std::swap(names[2], names[5]); }},
    {"rename", [](SatelliteNames& names) { return names.rename(7, "Astra 3\r\n23.5\260E"); },
     [](SatelliteNameTable& names) { names[7] = "Astra 3  23.5\260E"; }},
    {"save as is", [](SatelliteNames& names) { return names.save(); }, [](SatelliteNameTable&) {}},
};

// Another window saved two names after this one opened: an edit changes the names the file holds
// now, so the other window's names stay, and this one then holds the file's names as written.
TEST(SatelliteNamesEdit, ChangesOnlyItsSlotsOfTheNamesTheFileHoldsNow) {
    for (const Edit& edit : EDITS) {
        SCOPED_TRACE(edit.label);
        const SatelliteNameTable mine = ownNames("My Own ");
        RecordingFileStore files(FileStore::State::Read, fileHolding(mine), true);
        RecordingLock lock(files.calls, true);
        SettingsFile file(PATH, files, &lock);
        SatelliteNames names(file);
        names.opened(file.open());
        ASSERT_EQ(names.table(), mine);
        ASSERT_TRUE(names.fromFile());

        SatelliteNameTable theirs = mine;
        theirs[10] = "Theirs 11";
        theirs[40] = "Theirs 41";
        // It also holds only fifty names: the other ten read as the factory's.
        const std::string before = fileHolding(theirs, 50);
        for (std::size_t i = 50; i < SATELLITE_COUNT; ++i) theirs[i] = factoryNameTable()[i];
        files.becomes(FileStore::State::Read, before);
        files.calls.clear();

        EXPECT_EQ(edit.make(names), EditOutcome::Saved);

        SatelliteNameTable expected = theirs;
        edit.expected(expected);
        EXPECT_EQ(files.calls, ONE_EDIT);
        EXPECT_EQ(files.bytes(), savedOver(before, expected));
        EXPECT_EQ(names.table(), expected);
        EXPECT_TRUE(names.fromFile());
    }
}

// The file could not be read when the window opened: the names are a placeholder. The first
// edit reads again; it applies to the file's own names, or is refused and writes nothing.
TEST(SatelliteNamesEdit, AfterAnUnreadOpeningTheUsersNamesAreNeverWrittenOver) {
    const SatelliteNameTable mine = ownNames("My Own ");
    const std::string stored = fileHolding(mine);
    for (const Edit& edit : EDITS) {
        for (const bool readableAgain : {true, false}) {
            SCOPED_TRACE(std::string(edit.label) + (readableAgain ? ", read again" : ", held"));
            RecordingFileStore files(FileStore::State::Unreadable, {}, true);
            SettingsFile file(PATH, files);
            SatelliteNames names(file);
            names.opened(file.open());
            ASSERT_FALSE(names.fromFile());
            ASSERT_EQ(names.table(), factoryNameTable());
            files.becomes(readableAgain ? FileStore::State::Read : FileStore::State::Unreadable,
                          stored);
            files.calls.clear();

            const EditOutcome outcome = edit.make(names);

            if (readableAgain) {
                SatelliteNameTable expected = mine;
                edit.expected(expected);
                EXPECT_EQ(outcome, EditOutcome::Saved);
                EXPECT_EQ(files.bytes(), savedOver(stored, expected));
                EXPECT_EQ(names.table(), expected);
                EXPECT_TRUE(names.fromFile());
            } else {
                EXPECT_EQ(outcome, EditOutcome::Unreadable);
                EXPECT_EQ(files.calls, std::vector<std::string>{READ});
                EXPECT_EQ(names.table(), factoryNameTable());
                EXPECT_FALSE(names.fromFile());
            }
        }
    }
}

// Refused before the read when another window keeps the lock. When the file cannot be written,
// the names are the file's with the change, which the user is then told was not saved.
TEST(SatelliteNamesEdit, NoLockOrNoWriteLeavesTheFileAndShowsItsNames) {
    const SatelliteNameTable mine = ownNames("My Own ");
    const struct {
        const char* label;
        bool lockAvailable;
        bool replaceSucceeds;
        EditOutcome outcome;
        std::vector<std::string> calls;
    } cases[] = {
        {"lock kept by another window", false, true, EditOutcome::Unreadable, {"lock refused"}},
        {"file not writable", true, false, EditOutcome::Unsaved, ONE_EDIT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RecordingFileStore files(FileStore::State::Read, fileHolding(mine), c.replaceSucceeds);
        RecordingLock lock(files.calls, c.lockAvailable);
        SettingsFile file(PATH, files, &lock);
        SatelliteNames names(file);
        StoredSettings placeholder;
        placeholder.names = factoryNameTable();
        placeholder.namesRead = false;
        names.opened(placeholder);
        files.calls.clear();

        EXPECT_EQ(names.swap(0, 1), c.outcome);
        EXPECT_EQ(files.calls, c.calls);
        EXPECT_EQ(files.bytes(), fileHolding(mine));
        SatelliteNameTable swapped = mine;
        std::swap(swapped[0], swapped[1]);
        EXPECT_EQ(names.table(), c.lockAvailable ? swapped : factoryNameTable());
        EXPECT_EQ(names.fromFile(), c.lockAvailable);
    }
}

TEST(SatelliteNamesEdit, SlotsOutsideTheTableTouchNothing) {
    RecordingFileStore files(FileStore::State::Read, fileHolding(ownNames("N")), true);
    SettingsFile file(PATH, files);
    SatelliteNames names(file);
    EXPECT_EQ(names.swap(0, SATELLITE_COUNT), EditOutcome::Unreadable);
    EXPECT_EQ(names.rename(SATELLITE_COUNT, "x"), EditOutcome::Unreadable);
    EXPECT_TRUE(files.calls.empty());
}

// The factory reset replaces the whole table on purpose; the names are the file's only when it
// was saved.
TEST(SatelliteNamesFactory, WritesTheWholeTableAndShowsItEvenUnsaved) {
    for (const bool writable : {true, false}) {
        SCOPED_TRACE(writable ? "writable" : "not writable");
        const std::string stored = fileHolding(ownNames("My Own "));
        RecordingFileStore files(FileStore::State::Read, stored, writable);
        SettingsFile file(PATH, files);
        SatelliteNames names(file);
        names.opened(file.open());

        EXPECT_EQ(names.restoreFactory(), writable);
        EXPECT_EQ(names.table(), factoryNameTable());
        EXPECT_EQ(names.fromFile(), writable);
        EXPECT_EQ(files.bytes(), writable ? savedOver(stored, factoryNameTable()) : stored);
    }
}

}  // namespace
