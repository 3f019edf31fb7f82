#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/factory_satellite_table.h"
#include "store/portable_file_store.h"
#include "store/settings_file.h"
#include "store/settings_path.h"
#include "tests/common/settings_file_text.h"

namespace fs = std::filesystem;

namespace {

class SettingsFileTest : public testing::Test {
  protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        directory_ = fs::temp_directory_path() / (std::string("diseqc-settings-") +
                                                  test->test_suite_name() + "-" + test->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override {
        if (fs::exists(file()))
            fs::permissions(file(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(directory_);
    }

    fs::path file() const { return directory_ / "diseqc.ini"; }
    SettingsFile settings() { return SettingsFile(file().string(), files_); }

    void store(std::string_view content) const {
        std::ofstream out(file(), std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    std::string stored() const {
        std::ifstream in(file(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path directory_;
    PortableFileStore files_;
};

TEST(SettingsPath, SitsBesideTheModuleWhateverItsExtension) {
    const struct {
        std::string_view modulePath;
        std::string_view settingsPath;
    } cases[] = {
        {"C:\\Plugins\\diseqc.dll", "C:\\Plugins\\diseqc.ini"},
        {"D:\\X\\DISEQC.DLL", "D:\\X\\DISEQC.ini"},
        {"C:\\x\\diseqc", "C:\\x\\disini"},
        {"dll", "ini"},
        {"ab", "ini"},
        {"", "ini"},
        // Characters, not bytes, in UTF-8: two-, three- and four-byte letters go whole.
        {"C:\\\xD0\xA1\\diseqc.\xD0\xB4\xD0\xBB\xD0\xBB", "C:\\\xD0\xA1\\diseqc.ini"},
        {"C:\\x\\a\xE8\xA1\x9B\xE6\x98\x9F", "C:\\x\\ini"},
        {"C:\\x\\ab\xF0\x9F\x9B\xB0", "C:\\x\\ini"},
        // A byte outside any whole sequence is one character.
        {"C:\\x\\ab\xB0\xB0", "C:\\x\\aini"},
        {"\xE8\xA1", "ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(settingsPathFor(c.modulePath), c.settingsPath) << "module path " << c.modulePath;
    }
}

TEST_F(SettingsFileTest, MissingFileIsCreatedWithFactoryContentByteForByte) {
    const StoredSettings opened = settings().open();

    const std::string content = stored();
    EXPECT_EQ(content, factorySettingsFile());
    const std::string_view firstLines = "[SATELLITE NAMES]\r\nPOS1=Hot Bird  13\260E\r\n";
    EXPECT_EQ(content.substr(0, firstLines.size()), firstLines);
    EXPECT_EQ(opened.names, factoryNameTable());
    EXPECT_EQ(opened.model, PositionerModel::Stab);
}

TEST_F(SettingsFileTest, ExistingFilesAreNeverWrittenOnStartUp) {
    const struct {
        std::string_view label;
        std::string_view content;
        PositionerModel model;
    } cases[] = {
        {"empty file", "", PositionerModel::Stab},
        {"only a Moteck model", "[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n", PositionerModel::Moteck},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        store(c.content);
        const StoredSettings opened = settings().open();
        EXPECT_EQ(stored(), c.content);
        EXPECT_EQ(opened.names, factoryNameTable());
        EXPECT_EQ(opened.model, c.model);
    }
}

TEST_F(SettingsFileTest, OnlyTheExactStabTextSelectsTheStab) {
    const struct {
        std::string_view positionerSection;
        PositionerModel model;
    } cases[] = {
        {"TYPE=STAB HH100/120\r\n", PositionerModel::Stab},
        {"TYPE=  STAB HH100/120  \r\n", PositionerModel::Stab},
        {"TYPE=\"STAB HH100/120\"\r\n", PositionerModel::Stab},
        {"", PositionerModel::Stab},
        {"OTHER=1\r\n", PositionerModel::Stab},
        {"TYPE=MOTECK SG2100\r\n", PositionerModel::Moteck},
        {"TYPE=stab hh100/120\r\n", PositionerModel::Moteck},
        {"TYPE=\r\n", PositionerModel::Moteck},
        {"TYPE=STAB HH100/120 SG\r\n", PositionerModel::Moteck},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "[POSITIONER] holding \"" << c.positionerSection << "\"");
        store("[POSITIONER]\r\n" + std::string(c.positionerSection));
        EXPECT_EQ(settings().open().model, c.model);
    }
}

TEST_F(SettingsFileTest, NamesComeFromTheFileWithFactoryNamesForMissingKeys) {
    const std::string name80(80, 'n');
    store("[satellite names]\r\npos1=First\r\nPOS7=\r\nPOS60=" + name80 + "\r\n");

    const SatelliteNameTable names = settings().open().names;

    SatelliteNameTable expected = factoryNameTable();
    expected[0] = "First";
    expected[6] = "";
    expected[59] = name80.substr(0, 63);
    EXPECT_EQ(names, expected);
}

TEST_F(SettingsFileTest, NameCutOnReadingIsStoredCutAfterTheNextEdit) {
    store("[SATELLITE NAMES]\r\nPOS2=" + std::string(80, 'x') + "\r\n");
    SettingsFile settings = this->settings();

    EXPECT_TRUE(settings.writeNames(settings.open().names));

    const std::string content = stored();
    EXPECT_NE(content.find("POS2=" + std::string(63, 'x') + "\r\n"), std::string::npos) << content;
    EXPECT_EQ(content.find(std::string(64, 'x')), std::string::npos) << content;
}

TEST_F(SettingsFileTest, WritingNamesChangesOnlyTheirLines) {
    store(
        "; my dish\r\n[Satellite Names]\r\nPOS1=Astra\r\n  pos3 = Old  \r\nNOTE=keep\r\n\r\n"
        "[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n");
    SatelliteNameTable names = factoryNameTable();
    names[0] = "Astra";
    names[2] = "New";
    names[4] = std::string(200, 'z');

    EXPECT_TRUE(settings().writeNames(names));

    std::string expected =
        "; my dish\r\n[Satellite Names]\r\nPOS1=Astra\r\n  pos3 =New\r\nNOTE=keep\r\n";
    for (std::size_t i = 1; i < SATELLITE_COUNT; ++i) {
        if (i == 2) continue;
        expected += "POS" + std::to_string(i + 1) + "=" +
                    (i == 4 ? std::string(149, 'z') : names[i]) + "\r\n";
    }
    expected += "\r\n[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n";
    EXPECT_EQ(stored(), expected);
}

TEST_F(SettingsFileTest, RestoringFactoryNamesKeepsTheModel) {
    store(
        "[SATELLITE NAMES]\r\nPOS1=Mine\r\nPOS60=Also mine\r\n[POSITIONER]\r\nTYPE=MOTECK "
        "SG2100\r\n");
    SettingsFile settings = this->settings();

    EXPECT_TRUE(settings.writeFactoryNames());

    const StoredSettings after = settings.open();
    EXPECT_EQ(after.names, factoryNameTable());
    EXPECT_EQ(after.model, PositionerModel::Moteck);
    const std::string content = stored();
    EXPECT_EQ(content.substr(content.size() - 34), "[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n");
}

TEST_F(SettingsFileTest, ModelIsStoredUnderItsSettingsText) {
    const struct {
        PositionerModel model;
        std::string_view content;
    } cases[] = {
        {PositionerModel::Moteck, "[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n"},
        {PositionerModel::Stab, "[POSITIONER]\r\nTYPE=STAB HH100/120\r\n"},
    };
    store("[POSITIONER]\r\nTYPE=other\r\n");
    for (const auto& c : cases) {
        SettingsFile settings = this->settings();
        EXPECT_TRUE(settings.writeModel(c.model));
        EXPECT_EQ(stored(), c.content);
        EXPECT_EQ(settings.open().model, c.model);
    }
}

TEST_F(SettingsFileTest, ReadOnlyFileIsReadButNeverChanged) {
    const std::string content =
        "[SATELLITE NAMES]\r\nPOS1=Mine\r\n[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n";
    store(content);
    fs::permissions(file(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    SettingsFile settings = this->settings();

    const StoredSettings opened = settings.open();
    SatelliteNameTable names = opened.names;
    EXPECT_EQ(names[0], "Mine");
    EXPECT_EQ(opened.model, PositionerModel::Moteck);
    names[0] = "Changed";
    EXPECT_FALSE(settings.writeNames(names));
    EXPECT_FALSE(settings.writeModel(PositionerModel::Stab));
    EXPECT_FALSE(settings.writeFactoryNames());

    EXPECT_EQ(stored(), content);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1)
        << "nothing of the attempts stays beside the file";
}

TEST_F(SettingsFileTest, FolderThatDoesNotExistGivesFactorySettingsAndNoFile) {
    const fs::path missing = directory_ / "gone" / "diseqc.ini";
    SettingsFile settings(missing.string(), files_);

    const StoredSettings opened = settings.open();
    EXPECT_FALSE(settings.writeModel(PositionerModel::Moteck));

    EXPECT_FALSE(fs::exists(missing.parent_path()));
    EXPECT_EQ(opened.names, factoryNameTable());
    EXPECT_EQ(opened.model, PositionerModel::Stab);
}

TEST_F(SettingsFileTest, FolderInPlaceOfTheFileIsLeftAlone) {
    fs::create_directory(file());
    fs::path inside = file() / "keep.txt";
    std::ofstream(inside) << "kept";
    SettingsFile settings = this->settings();

    const StoredSettings opened = settings.open();
    EXPECT_FALSE(settings.writeNames(opened.names));

    EXPECT_TRUE(fs::is_directory(file()));
    EXPECT_TRUE(fs::exists(inside));
    EXPECT_EQ(opened.names, factoryNameTable());
    EXPECT_EQ(opened.model, PositionerModel::Stab);
}

// What a user may type as a name comes back from the file as typed, even what the file's
// reading rules would otherwise change; and nothing typed can add a line to the file.
TEST_F(SettingsFileTest, EveryNameReadsBackAsItWasWritten) {
    const std::vector<std::string> typed = {
        "  blanks at both ends  ",
        "\"Astra\"",
        "'Hot Bird'",
        "",
        "   ",
        "\"",
        "a \"quoted\" word",
        "\"half'",
        "x=y",
        "[NOT A SECTION]",
        "; no comment",
        "Eutelsat 7\260E",
        "\t tab",
    };
    store("[SATELLITE NAMES]\r\n[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n");
    SatelliteNameTable names = factoryNameTable();
    for (std::size_t i = 0; i < typed.size(); ++i) names[i] = typed[i];
    names[typed.size()] = "two\r\nTYPE=STAB HH100/120\nlines";

    ASSERT_TRUE(settings().writeNames(names));
    const StoredSettings read = settings().open();

    for (std::size_t i = 0; i < typed.size(); ++i) EXPECT_EQ(read.names[i], typed[i]) << i;
    EXPECT_EQ(read.names[typed.size()], "two  TYPE=STAB HH100/120 lines");
    EXPECT_EQ(read.model, PositionerModel::Moteck) << "a name must not add a line";
}

}  // namespace

namespace {

TEST_F(SettingsFileTest, SiteIsAddedAfterEveryOtherLineAndReadBack) {
    const std::string before = "; mine\r\n" + factorySettingsFile() + "NOTE=keep\r\n";
    store(before);
    SettingsFile settings = this->settings();

    EXPECT_FALSE(settings.open().site.has_value());
    EXPECT_TRUE(settings.writeSite({-33.94, 151.25}));

    EXPECT_EQ(stored(), before + "[SITE]\r\nLATITUDE=-33.9\r\nLONGITUDE=151.3\r\n");
    const StoredSettings opened = settings.open();
    ASSERT_TRUE(opened.site.has_value());
    EXPECT_DOUBLE_EQ(opened.site->latitude, -33.9);
    EXPECT_DOUBLE_EQ(opened.site->longitude, 151.3);
    EXPECT_EQ(opened.names, factoryNameTable());

    EXPECT_TRUE(settings.writeSite({52.0, -0.04}));
    EXPECT_EQ(stored(), before + "[SITE]\r\nLATITUDE=52.0\r\nLONGITUDE=0.0\r\n");
}

TEST_F(SettingsFileTest, ASiteThatIsNotOneReadsAsNoSite) {
    const struct {
        std::string_view section;
        bool site;
    } cases[] = {
        {"[SITE]\r\nLATITUDE=52.5\r\nLONGITUDE=-5\r\n", true},
        {"[site]\r\nlongitude = +5.25 \r\nlatitude=\"-90\"\r\n", true},
        {"[SITE]\r\nLATITUDE=52.5\r\n", false},
        {"[SITE]\r\nLATITUDE=90.1\r\nLONGITUDE=5\r\n", false},
        {"[SITE]\r\nLATITUDE=52\r\nLONGITUDE=-180.5\r\n", false},
        {"[SITE]\r\nLATITUDE=52,5\r\nLONGITUDE=5\r\n", false},
        {"[SITE]\r\nLATITUDE=52N\r\nLONGITUDE=5\r\n", false},
        {"[SITE]\r\nLATITUDE=\r\nLONGITUDE=5\r\n", false},
        {"[SITE]\r\nLATITUDE=1e1\r\nLONGITUDE=5\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        const std::string content = factorySettingsFile() + std::string(c.section);
        store(content);
        EXPECT_EQ(settings().open().site.has_value(), c.site);
        EXPECT_EQ(stored(), content);
    }
}

}  // namespace
