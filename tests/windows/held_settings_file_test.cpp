#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "store/win32_edit_lock.h"
#include "store/win32_file_store.h"

namespace fs = std::filesystem;

namespace {

class HeldSettingsFile : public testing::Test {
  protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     (std::string("diseqc-held-") +
                      testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                      std::to_string(GetCurrentProcessId()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
        std::ofstream(file(), std::ios::binary) << "[SATELLITE NAMES]\r\nPOS1=Mine\r\n";
    }
    void TearDown() override { fs::remove_all(directory_); }

    fs::path file() const { return directory_ / "diseqc.ini"; }
    HANDLE hold(DWORD access, DWORD sharing) const {
        return CreateFileA(file().string().c_str(), access, sharing, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    fs::path directory_;
};

struct Holder {
    const char* what;
    DWORD access;
    DWORD sharing;
};
const Holder HOLDERS[] = {
    {"exclusively", GENERIC_READ | GENERIC_WRITE, 0},
    {"by a sharing writer", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
};

// A holder that lets go within a moment is waited for; one that keeps the file is not.
TEST_F(HeldSettingsFile, ReadWaitsForAHolderThatLetsGoSoon) {
    Win32FileStore files;
    for (const Holder& holder : HOLDERS) {
        SCOPED_TRACE(holder.what);
        HANDLE kept = hold(holder.access, holder.sharing);
        ASSERT_NE(kept, INVALID_HANDLE_VALUE);
        EXPECT_EQ(files.read(file().string()).state, FileStore::State::Unreadable);

        CloseHandle(kept);
        HANDLE brief = hold(holder.access, holder.sharing);
        ASSERT_NE(brief, INVALID_HANDLE_VALUE);
        // Another program's timing, which nothing here can signal.
        std::thread letGo([brief] {
            Sleep(200);
            CloseHandle(brief);
        });
        const FileStore::Content content = files.read(file().string());
        letGo.join();
        EXPECT_EQ(content.state, FileStore::State::Read);
        EXPECT_EQ(content.bytes, "[SATELLITE NAMES]\r\nPOS1=Mine\r\n");
    }
}

// Another process's edit stands for another thread here: a mutex is its owner thread's, so the
// thread's lock keeps this one out as another process's would.
struct LockHolder {
    std::string path;
    bool releases = true;
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE finish = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~LockHolder() {
        CloseHandle(taken);
        CloseHandle(finish);
    }

    static DWORD WINAPI run(void* parameter) {
        auto* self = static_cast<LockHolder*>(parameter);
        auto* lock = new Win32EditLock;
        const bool held = lock->acquire(self->path);
        SetEvent(self->taken);
        WaitForSingleObject(self->finish, INFINITE);
        // One that ends holding it, as a killed process does, leaves it abandoned.
        if (held && !self->releases) return 0;
        delete lock;
        return 0;
    }
};

TEST_F(HeldSettingsFile, EditLockKeepsOutEveryOtherHolderOfTheSameFileWhateverItsCase) {
    std::string upper = file().string();
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    std::string lower = upper;
    CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));

    for (const bool releases : {true, false}) {
        SCOPED_TRACE(releases ? "released" : "abandoned");
        LockHolder holder;
        holder.path = lower;
        holder.releases = releases;
        HANDLE thread = CreateThread(nullptr, 0, &LockHolder::run, &holder, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        WaitForSingleObject(holder.taken, INFINITE);

        Win32EditLock mine;
        EXPECT_FALSE(mine.acquire(upper)) << "held by the other";
        Win32EditLock otherFile;
        EXPECT_TRUE(otherFile.acquire(upper + ".other")) << "another file has a lock of its own";
        otherFile.release();

        SetEvent(holder.finish);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        EXPECT_TRUE(mine.acquire(upper));
        mine.release();
    }
}

}  // namespace
