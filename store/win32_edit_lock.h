#pragma once

#include "store/edit_lock.h"

// A named mutex per settings file, shared by every process of the session that edits it. The
// name comes from the file's full path, case-folded, as the file system matches names. A holder
// that died holding it leaves it abandoned; the next one takes it over, and the file is whole
// then, because every edit replaces it in one step. The wait is bounded: a host's window never
// hangs on another process.
class Win32EditLock final : public EditLock {
  public:
    Win32EditLock() = default;
    ~Win32EditLock() override;
    Win32EditLock(const Win32EditLock&) = delete;
    Win32EditLock& operator=(const Win32EditLock&) = delete;

    bool acquire(const std::string& path) noexcept override;
    void release() noexcept override;

  private:
    void* mutex_ = nullptr;
};
