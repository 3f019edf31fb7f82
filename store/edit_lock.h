#pragma once

#include <string>

// Keeps the edits of other processes out of one file between the read of an edit and the
// replacement that ends it, so that two windows on the same file never lose each other's change.
class EditLock {
  public:
    virtual ~EditLock() = default;

    // False when the lock could not be had within a moment: the edit must then not be made.
    virtual bool acquire(const std::string& path) = 0;
    virtual void release() = 0;
};
