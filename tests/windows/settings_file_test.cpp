#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/settings_file.h"
#include "store/win32_file_store.h"
#include "tests/common/settings_file_text.h"
#include "tests/windows/win32_profile.h"

namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file is made in one piece beside the plug-in, by the Win32 file functions.
TEST(SettingsFileOnWindows, MissingFileIsCreatedWithFactoryLayout) {
    const fs::path directory = fs::temp_directory_path() / "diseqc-settings-windows";
    fs::create_directories(directory);
    const fs::path file = directory / "diseqc.ini";
    fs::remove(file);
    Win32FileStore files;
    SettingsFile settings(file.string(), files);

    const StoredSettings opened = settings.open();

    EXPECT_EQ(contentOf(file), factorySettingsFile());
    EXPECT_EQ(opened.names[0], "Hot Bird  13\260E");
    EXPECT_EQ(opened.model, PositionerModel::Stab);

    EXPECT_TRUE(settings.writeModel(PositionerModel::Moteck));
    EXPECT_EQ(settings.open().model, PositionerModel::Moteck);
    fs::remove(file);
}

// Older versions of the plug-in, and anything else that reads the file, read it through the Win32
// profile functions: they must read every name as this version wrote it.
TEST(SettingsFileOnWindows, TheWin32ProfileFunctionsReadEveryNameAsWritten) {
    const fs::path directory = fs::temp_directory_path() / "diseqc-settings-windows-names";
    fs::create_directories(directory);
    const fs::path file = directory / "diseqc.ini";
    fs::remove(file);
    Win32FileStore files;
    SettingsFile settings(file.string(), files);
    SatelliteNameTable names = settings.open().names;
    const std::vector<std::string> typed = {
        "  blanks at both ends  ", "\"Astra\"", "'Hot Bird'", "", "\"",
        "a \"quoted\" word",       "x=y",       "\260 \t"};
    for (std::size_t i = 0; i < typed.size(); ++i) names[i] = typed[i];
    ASSERT_TRUE(settings.writeNames(names));

    Win32Profile reference;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(reference.readString(file.string(), "SATELLITE NAMES",
                                       "POS" + std::to_string(i + 1), "missing", 64),
                  typed[i])
            << i;
    }
    fs::remove(file);
}

}  // namespace
