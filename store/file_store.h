#pragma once

#include <string>
#include <string_view>

// The settings file is read whole and replaced whole, so that one user action
// costs one read and at most one write, and so that no moment exists at which
// the file holds part of an edit.
class FileStore {
  public:
    virtual ~FileStore() = default;

    // Unreadable: the file is there but cannot be read now (held by another
    // program, no permission, not a file). Callers must not mistake it for a
    // missing file: it still holds the user's names.
    enum class State { Read, Missing, Unreadable };
    struct Content {
        State state = State::Missing;
        std::string bytes;
    };

    virtual Content read(const std::string& path) = 0;

    // Puts `bytes` in place of the file in one step: a reader at any moment
    // sees the old file or the new one, never a mix. False when that could not
    // be done; the file then is exactly as it was.
    virtual bool replace(const std::string& path, std::string_view bytes) = 0;
};
