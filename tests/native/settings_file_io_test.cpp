#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "store/factory_satellite_table.h"
#include "store/settings_file.h"
#include "tests/common/settings_file_text.h"
#include "tests/native/recording_file_store.h"

namespace {

constexpr const char* PATH = "C:\\Plugins\\diseqc.ini";
const std::string READ = std::string("read ") + PATH;
const std::string REPLACE = std::string("replace ") + PATH;
const std::string STORED =
    "[SATELLITE NAMES]\r\nPOS1=Mine\r\n[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n";

TEST(SettingsFileOpening, ReadsOnceAndWritesOnlyAMissingFile) {
    const struct {
        const char* label;
        FileStore::State state;
        bool replaceSucceeds;
        std::vector<std::string> calls;
        const char* firstName;
    } cases[] = {
        // Another program holding the file, or a file this user may not read: creating it anew
        // would wipe the user's own names.
        {.label = "unreadable",
         .state = FileStore::State::Unreadable,
         .replaceSucceeds = true,
         .calls = {READ},
         .firstName = "Hot Bird  13\260E"},
        {.label = "read",
         .state = FileStore::State::Read,
         .replaceSucceeds = true,
         .calls = {READ},
         .firstName = "Mine"},
        {.label = "missing",
         .state = FileStore::State::Missing,
         .replaceSucceeds = true,
         .calls = {READ, REPLACE},
         .firstName = "Hot Bird  13\260E"},
        {.label = "missing, creation fails",
         .state = FileStore::State::Missing,
         .replaceSucceeds = false,
         .calls = {READ, REPLACE},
         .firstName = "Hot Bird  13\260E"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RecordingFileStore files(c.state, STORED, c.replaceSucceeds);
        const StoredSettings opened = SettingsFile(PATH, files).open();
        EXPECT_EQ(files.calls, c.calls);
        EXPECT_EQ(opened.names[0], c.firstName);
        if (c.state == FileStore::State::Missing && c.replaceSucceeds) {
            EXPECT_EQ(files.bytes(), factorySettingsFile());
        }
    }
}

using Action = std::function<bool(SettingsFile&)>;

struct ActionCase {
    const char* label;
    Action action;
};

const ActionCase ACTIONS[] = {
    {"names",
     [](SettingsFile& settings) {
         SatelliteNameTable names;
         names[0] = "Renamed";
         return settings.writeNames(names);
     }},
    {"model", [](SettingsFile& settings) { return settings.writeModel(PositionerModel::Stab); }},
    {"factory names", [](SettingsFile& settings) { return settings.writeFactoryNames(); }},
};

TEST(SettingsFileEdits, EachReadsOnceAndWritesOnce) {
    for (const ActionCase& action : ACTIONS) {
        SCOPED_TRACE(action.label);
        RecordingFileStore files(FileStore::State::Read, STORED, true);
        SettingsFile settings(PATH, files);
        EXPECT_TRUE(action.action(settings));
        EXPECT_EQ(files.calls, (std::vector<std::string>{READ, REPLACE}));
        EXPECT_NE(files.bytes(), STORED);
    }
}

// A file that cannot be read must not be replaced by one holding only the change, and a failed
// write must be reported, not taken for success.
TEST(SettingsFileEdits, UnreadableOrUnwritableFileReportsFailureAndIsNotReplaced) {
    const struct {
        const char* label;
        FileStore::State state;
        bool replaceSucceeds;
        std::vector<std::string> calls;
    } cases[] = {
        {"unreadable", FileStore::State::Unreadable, true, {READ}},
        {"unwritable", FileStore::State::Read, false, {READ, REPLACE}},
    };
    for (const auto& c : cases) {
        for (const ActionCase& action : ACTIONS) {
            SCOPED_TRACE(std::string(c.label) + ", " + action.label);
            RecordingFileStore files(c.state, STORED, c.replaceSucceeds);
            SettingsFile settings(PATH, files);
            EXPECT_FALSE(action.action(settings));
            EXPECT_EQ(files.calls, c.calls);
            EXPECT_EQ(files.bytes(), STORED);
        }
    }
}

TEST(SettingsFileEdits, AnEditThatChangesNothingWritesNothing) {
    RecordingFileStore files(FileStore::State::Read, STORED, true);
    SettingsFile settings(PATH, files);
    EXPECT_TRUE(settings.writeModel(PositionerModel::Moteck));
    EXPECT_EQ(files.calls, std::vector<std::string>{READ});
}

}  // namespace
