#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/factory_satellite_table.h"
#include "store/settings_file.h"

namespace {

// Answers the probe as told and keeps a log of every call, so a test sees exactly what start-up
// did to a file, including files no real file system lets this test produce.
class RecordingProfile final : public ProfileAccess {
  public:
    RecordingProfile(Probe probe, bool creationSucceeds)
        : probe_(probe), creationSucceeds_(creationSucceeds) {}

    std::string readString(const std::string&, std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t) override {
        calls.push_back("read " + std::string(section) + "/" + std::string(key));
        return std::string(defaultValue);
    }
    void writeString(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view value) override {
        calls.push_back("write " + path + " " + std::string(section) + "/" + std::string(key) +
                        "=" + std::string(value));
    }
    Probe probeForReading(const std::string& path) override {
        calls.push_back("probe " + path);
        return probe_;
    }
    bool createWithContent(const std::string& path, std::string_view bytes) override {
        calls.push_back("create " + path + " " + std::string(bytes));
        return creationSucceeds_;
    }

    std::vector<std::string> calls;

  private:
    Probe probe_;
    bool creationSucceeds_;
};

constexpr const char* PATH = "C:\\Plugins\\diseqc.ini";

TEST(SettingsStartUp, FileThatCannotBeOpenedKeepsItsStoredNames) {
    // Another program holding the file, or a file this user may not read: creating it anew or
    // writing factory names would wipe the user's own names.
    RecordingProfile profile(ProfileAccess::Probe::Unopenable, true);
    SettingsFile(PATH, profile).ensureExists();
    EXPECT_EQ(profile.calls, std::vector<std::string>{std::string("probe ") + PATH});
}

TEST(SettingsStartUp, OpenedFileIsOnlyProbed) {
    RecordingProfile profile(ProfileAccess::Probe::Opened, true);
    SettingsFile(PATH, profile).ensureExists();
    EXPECT_EQ(profile.calls, std::vector<std::string>{std::string("probe ") + PATH});
}

TEST(SettingsStartUp, MissingFileGetsHeadersThenFactoryNamesThenModelEvenIfCreationFails) {
    std::vector<std::string> expected = {
        std::string("probe ") + PATH,
        std::string("create ") + PATH + " [SATELLITE NAMES]\r\n[POSITIONER]\r\n"};
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i) {
        expected.push_back(std::string("write ") + PATH + " SATELLITE NAMES/POS" +
                           std::to_string(i + 1) + "=" +
                           std::string(FactorySatelliteTable::names()[i]));
    }
    expected.push_back(std::string("write ") + PATH + " POSITIONER/TYPE=STAB HH100/120");

    for (const bool creationSucceeds : {true, false}) {
        SCOPED_TRACE(creationSucceeds ? "creation succeeds" : "creation fails");
        RecordingProfile profile(ProfileAccess::Probe::Missing, creationSucceeds);
        SettingsFile(PATH, profile).ensureExists();
        EXPECT_EQ(profile.calls, expected);
    }
}

TEST(SettingsStartUp, ReadsAskForAtMostSixtyThreeCharacters) {
    class CapacityProbe final : public ProfileAccess {
      public:
        std::string readString(const std::string&, std::string_view, std::string_view,
                               std::string_view defaultValue, std::size_t capacity) override {
            capacities.push_back(capacity);
            return std::string(defaultValue);
        }
        void writeString(const std::string&, std::string_view, std::string_view,
                         std::string_view) override {}
        Probe probeForReading(const std::string&) override { return Probe::Opened; }
        bool createWithContent(const std::string&, std::string_view) override { return false; }
        std::vector<std::size_t> capacities;
    } profile;

    SettingsFile settings(PATH, profile);
    settings.readNames();
    settings.readModel();

    EXPECT_EQ(profile.capacities, std::vector<std::size_t>(SATELLITE_COUNT + 1, 64));
}

}  // namespace
