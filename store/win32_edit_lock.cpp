#include "store/win32_edit_lock.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// An edit holds the lock for one read and one replacement of a small file; a wait this long
// means the other holder is stuck, and the edit is better refused than the window frozen.
constexpr DWORD WAIT_MS = 2000;

// Mutex names cannot hold a backslash and are bounded in length: the path goes in as a hash.
std::string mutexNameFor(const std::string& path) {
    std::string folded = path;
    if (!folded.empty()) CharUpperBuffA(folded.data(), static_cast<DWORD>(folded.size()));
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : folded) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    char name[64];
    std::snprintf(name, sizeof name, "Local\\diseqc-settings-%016llx",
                  static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

Win32EditLock::~Win32EditLock() {
    release();
}

bool Win32EditLock::acquire(const std::string& path) noexcept {
    try {
        release();
        HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexNameFor(path).c_str());
        if (!mutex) return false;
        const DWORD waited = WaitForSingleObject(mutex, WAIT_MS);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            CloseHandle(mutex);
            return false;
        }
        mutex_ = mutex;
        return true;
    } catch (...) {
        return false;
    }
}

void Win32EditLock::release() noexcept {
    if (!mutex_) return;
    ReleaseMutex(static_cast<HANDLE>(mutex_));
    CloseHandle(static_cast<HANDLE>(mutex_));
    mutex_ = nullptr;
}
