#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "store/factory_satellite_table.h"
#include "store/settings_file.h"
#include "store/win32_profile.h"

namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The header lines are written with a plain file handle and the keys through the profile
// functions right after; the keys must still land between the two headers.
TEST(SettingsFileOnWindows, MissingFileIsCreatedWithFactoryLayout) {
    const fs::path directory = fs::temp_directory_path() / "diseqc-settings-windows";
    fs::create_directories(directory);
    const fs::path file = directory / "diseqc.ini";
    fs::remove(file);
    Win32Profile profile;
    SettingsFile settings(file.string(), profile);

    settings.ensureExists();

    std::string expected = "[SATELLITE NAMES]\r\n";
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i) {
        expected += "POS" + std::to_string(i + 1) + "=" +
                    std::string(FactorySatelliteTable::names()[i]) + "\r\n";
    }
    expected += "[POSITIONER]\r\nTYPE=STAB HH100/120\r\n";
    EXPECT_EQ(contentOf(file), expected);
    EXPECT_EQ(settings.readNames()[0], "Hot Bird  13\260E");
    EXPECT_EQ(settings.readModel(), PositionerModel::Stab);

    settings.writeModel(PositionerModel::Moteck);
    settings.ensureExists();
    EXPECT_EQ(settings.readModel(), PositionerModel::Moteck);
    fs::remove(file);
}

}  // namespace
