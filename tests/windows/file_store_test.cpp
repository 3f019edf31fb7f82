#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "store/win32_file_store.h"

namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Win32FileStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     (std::string("diseqc-file-store-") +
                      testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override {
        SetFileAttributesA(path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(directory_);
    }

    fs::path file() const { return directory_ / "diseqc.ini"; }
    std::string path() const { return file().string(); }
    void store(const std::string& content) const {
        std::ofstream(file(), std::ios::binary) << content;
    }
    // Nothing of an attempt may stay behind beside the file.
    void expectOnlyTheFile() const {
        int entries = 0;
        for (const auto& entry : fs::directory_iterator(directory_)) {
            ++entries;
            EXPECT_EQ(entry.path().filename(), "diseqc.ini");
        }
        EXPECT_EQ(entries, 1);
    }

    fs::path directory_;
    Win32FileStore files;
};

const std::string OLD_CONTENT = "[SATELLITE NAMES]\r\nPOS1=Mine\r\nPOS2=Also mine\r\n";
const std::string NEW_CONTENT = "[SATELLITE NAMES]\r\nPOS1=Yours\r\n";

TEST_F(Win32FileStoreTest, ReplacesTheWholeFileAndCreatesAMissingOne) {
    EXPECT_EQ(files.read(path()).state, FileStore::State::Missing);
    ASSERT_TRUE(files.replace(path(), OLD_CONTENT));
    EXPECT_EQ(contentOf(file()), OLD_CONTENT);

    ASSERT_TRUE(files.replace(path(), NEW_CONTENT));
    const FileStore::Content read = files.read(path());
    EXPECT_EQ(read.state, FileStore::State::Read);
    EXPECT_EQ(read.bytes, NEW_CONTENT);
    expectOnlyTheFile();
}

struct Holder {
    const char* label;
    DWORD access;
    DWORD shareMode;
    bool blocksReading;
};

// Another program holds the file: locked against everyone; open so that it can
// still be written but no longer read; or writing it while sharing it.
constexpr Holder HOLDERS[] = {
    {"exclusive holder", GENERIC_READ | GENERIC_WRITE, 0, true},
    {"reader that shares only writing", GENERIC_READ, FILE_SHARE_WRITE, true},
    {"sharing writer", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
};

// Taken for missing, a held file would get factory names written over the
// user's own; replaced in part, it would lose some of them.
TEST_F(Win32FileStoreTest, HeldFileIsNeverTakenForMissingAndIsReplacedWholeOrNotAtAll) {
    for (const Holder& holder : HOLDERS) {
        SCOPED_TRACE(holder.label);
        store(OLD_CONTENT);
        const HANDLE held = CreateFileA(path().c_str(), holder.access, holder.shareMode, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE) << "error " << GetLastError();

        const FileStore::Content read = files.read(path());
        EXPECT_NE(read.state, FileStore::State::Missing);
        if (holder.blocksReading) {
            EXPECT_EQ(read.state, FileStore::State::Unreadable);
        }
        const bool replaced = files.replace(path(), NEW_CONTENT);
        CloseHandle(held);

        EXPECT_EQ(contentOf(file()), replaced ? NEW_CONTENT : OLD_CONTENT);
        expectOnlyTheFile();
    }
}

TEST_F(Win32FileStoreTest, ReadOnlyFileIsReadButNeverReplaced) {
    store(OLD_CONTENT);
    ASSERT_TRUE(SetFileAttributesA(path().c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_EQ(files.read(path()).bytes, OLD_CONTENT);
    EXPECT_FALSE(files.replace(path(), NEW_CONTENT));
    EXPECT_EQ(contentOf(file()), OLD_CONTENT);
    expectOnlyTheFile();
}

TEST_F(Win32FileStoreTest, FolderInPlaceOfTheFileIsUnreadableAndLeftAlone) {
    fs::create_directories(file());
    EXPECT_EQ(files.read(path()).state, FileStore::State::Unreadable);
    EXPECT_FALSE(files.replace(path(), NEW_CONTENT));
    EXPECT_TRUE(fs::is_directory(file()));
    expectOnlyTheFile();
}

}  // namespace
