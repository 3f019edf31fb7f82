#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/portable_profile.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

constexpr std::string_view NAMES = "SATELLITE NAMES";
constexpr std::size_t CAPACITY = 64;

// Each file holds POS1 (read) and usually POS2 (rewritten to "written"); `after` is the whole
// file that must result, so any other byte that moves shows up.
struct DamagedFile {
    std::string label;
    std::string before;
    std::string pos1;
    std::string after;
    bool readOnly = false;
};

std::string junk(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525U + 1013904223U;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

std::string filler(std::size_t size) {
    std::string lines = "[FILLER]\r\n";
    for (int n = 0; lines.size() < size; ++n) {
        lines += "KEY" + std::to_string(n) + "=" + std::string(90, 'f') + "\r\n";
    }
    return lines;
}

std::vector<DamagedFile> damagedFiles() {
    const std::string names = "[SATELLITE NAMES]\r\nPOS1=Astra\r\n";
    const std::string tail = "[POSITIONER]\r\nTYPE=MOTECK SG2100\r\n";
    const std::string prelude = junk(4096, 7) + "\r\n";
    const std::string trailer = "[JUNK]\r\n" + junk(4096, 11);
    const std::string longA(100 * 1024, 'a');
    const std::string longB(100 * 1024, 'b');
    const std::string big = filler(10 * 1024 * 1024);
    return {
        {"NUL bytes", "\0\0\r\n"s + names + "N\0L=\0\r\nPOS2=old\r\n\0"s, "Astra",
         "\0\0\r\n"s + names + "N\0L=\0\r\nPOS2=written\r\n\0"s},
        {"binary junk", prelude + names + "POS2=old\r\n" + trailer, "Astra",
         prelude + names + "POS2=written\r\n" + trailer},
        {"no final newline", names + "POS2=old", "Astra", names + "POS2=written\r\n"},
        {"100 KB lines",
         "[SATELLITE NAMES]\r\nPOS1=" + longA + "\r\nLONG=" + longB + "\r\nPOS2=old\r\n",
         std::string(63, 'a'),
         "[SATELLITE NAMES]\r\nPOS1=" + longA + "\r\nLONG=" + longB + "\r\nPOS2=written\r\n"},
        {"duplicate sections and keys",
         "[SATELLITE NAMES]\r\nPOS1=first\r\nPOS2=old\r\nPOS1=second\r\nPOS2=dup\r\n"
         "[satellite names]\r\nPOS1=third\r\nPOS2=other\r\n",
         "first",
         "[SATELLITE NAMES]\r\nPOS1=first\r\nPOS2=written\r\nPOS1=second\r\nPOS2=dup\r\n"
         "[satellite names]\r\nPOS1=third\r\nPOS2=other\r\n"},
        {"keys before any section", "POS1=orphan\r\nPOS2=orphan\r\n" + names + "POS2=old\r\n",
         "Astra", "POS1=orphan\r\nPOS2=orphan\r\n" + names + "POS2=written\r\n"},
        {"keys and no section", "POS1=orphan\r\nPOS2=orphan", "factory",
         "POS1=orphan\r\nPOS2=orphan\r\n[SATELLITE NAMES]\r\nPOS2=written\r\n"},
        {"header without closing bracket", "[SATELLITE NAMES\r\nPOS1=x\r\nPOS2=x\r\n", "factory",
         "[SATELLITE NAMES\r\nPOS1=x\r\nPOS2=x\r\n[SATELLITE NAMES]\r\nPOS2=written\r\n"},
        {"LF-only lines", "[SATELLITE NAMES]\nPOS1=Astra\nPOS2=old\n[POSITIONER]\nTYPE=x\n",
         "Astra", "[SATELLITE NAMES]\nPOS1=Astra\nPOS2=written\r\n[POSITIONER]\nTYPE=x\n"},
        {"mixed line ends", "[SATELLITE NAMES]\rPOS1=Astra\nPOS3=c\r\nPOS2=old\r[POSITIONER]\r\n",
         "Astra", "[SATELLITE NAMES]\rPOS1=Astra\nPOS3=c\r\nPOS2=written\r\n[POSITIONER]\r\n"},
        {"empty file", "", "factory", "[SATELLITE NAMES]\r\nPOS2=written\r\n"},
        {"10 MB file", big + names + "POS2=old\r\n" + tail, "Astra",
         big + names + "POS2=written\r\n" + tail},
        {"read-only file", names + "POS2=old\r\n" + tail, "Astra", names + "POS2=old\r\n" + tail,
         true},
    };
}

class ProfileRobustness : public testing::Test {
  protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        directory_ = fs::temp_directory_path() / ("diseqc-robustness-"s + test->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override {
        for (const auto& entry : fs::directory_iterator(directory_)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        }
        fs::remove_all(directory_);
    }

    fs::path directory_;
    PortableProfile profile_;
    PortableFileStore files_;
};

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(ProfileRobustness, DamagedFilesGiveStoredValuesAndWritesTouchOnlyTheirLine) {
    for (const DamagedFile& damaged : damagedFiles()) {
        SCOPED_TRACE(damaged.label);
        const fs::path file = directory_ / "diseqc.ini";
        fs::remove(file);
        std::ofstream(file, std::ios::binary) << damaged.before;
        if (damaged.readOnly) {
            fs::permissions(
                file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                fs::perm_options::remove);
        }
        const std::string path = file.string();

        EXPECT_EQ(profile_.readString(path, NAMES, "POS1", "factory", CAPACITY), damaged.pos1);
        EXPECT_EQ(files_.read(path).state, FileStore::State::Read);
        profile_.writeString(path, NAMES, "POS2", "written");

        const std::string after = contentOf(file);
        EXPECT_TRUE(after == damaged.after)
            << "file differs from the expected one first at byte "
            << std::distance(after.begin(),
                             std::mismatch(after.begin(), after.end(), damaged.after.begin(),
                                           damaged.after.end())
                                 .first)
            << " of " << after.size() << " (expected " << damaged.after.size() << " bytes)";
        EXPECT_EQ(profile_.readString(path, NAMES, "POS2", "factory", CAPACITY),
                  damaged.readOnly ? "old" : "written");
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST_F(ProfileRobustness, PathsThatAreNoFileGiveDefaultsAndStayAsTheyWere) {
    const fs::path missingFolder = directory_ / "gone" / "diseqc.ini";
    const fs::path folder = directory_ / "folder.ini";
    fs::create_directory(folder);

    for (const fs::path& file : {missingFolder, folder}) {
        SCOPED_TRACE(file.string());
        const std::string path = file.string();
        profile_.writeString(path, NAMES, "POS1", "written");
        EXPECT_FALSE(files_.replace(path, "[SATELLITE NAMES]\r\n"));
        EXPECT_EQ(profile_.readString(path, NAMES, "POS1", "factory", CAPACITY), "factory");
    }
    EXPECT_FALSE(fs::exists(missingFolder.parent_path()));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(files_.read(missingFolder.string()).state, FileStore::State::Missing);
    EXPECT_EQ(files_.read(folder.string()).state, FileStore::State::Unreadable);
}

}  // namespace
