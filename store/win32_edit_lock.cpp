#include "store/win32_edit_lock.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "store/win32_path.h"

namespace {

// An edit holds the lock for one read and one replacement of a small file; a wait this long
// means the other holder is stuck, and the edit is better refused than the window frozen.
constexpr DWORD WAIT_MS = 2000;

// Mutex names cannot hold a backslash and are bounded in length: the path goes in as a hash.
// The same file may be named in another letter case; the path is folded as the file system
// folds it, on its UTF-16 text.
std::wstring mutexNameFor(const std::string& path) {
    std::wstring folded = wideFromUtf8(path).value_or(std::wstring());
    if (!folded.empty()) CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    std::uint64_t hash = 14695981039346656037ULL;
    for (const wchar_t c : folded) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ULL;
    }
    std::wstring name = L"Local\\diseqc-settings-";
    for (int shift = 60; shift >= 0; shift -= 4) name += L"0123456789abcdef"[(hash >> shift) & 0xF];
    return name;
}

}  // namespace

Win32EditLock::~Win32EditLock() {
    release();
}

bool Win32EditLock::acquire(const std::string& path) noexcept {
    try {
        release();
        HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexNameFor(path).c_str());
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
