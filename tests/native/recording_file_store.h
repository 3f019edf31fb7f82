#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/edit_lock.h"
#include "store/file_store.h"

// Holds one file in memory, answers as told and logs every call, so a test sees exactly what an
// action did to the file, including states no real file system lets this test produce.
class RecordingFileStore final : public FileStore {
  public:
    RecordingFileStore(State state, std::string bytes, bool replaceSucceeds)
        : state_(state), bytes_(std::move(bytes)), replaceSucceeds_(replaceSucceeds) {}

    Content read(const std::string& path) override {
        calls.push_back("read " + path);
        return {state_, state_ == State::Read ? bytes_ : std::string()};
    }
    bool replace(const std::string& path, std::string_view bytes) override {
        calls.push_back("replace " + path);
        if (!replaceSucceeds_) return false;
        state_ = State::Read;
        bytes_ = std::string(bytes);
        return true;
    }

    const std::string& bytes() const { return bytes_; }
    // What another program does to the file between two calls.
    void becomes(State state, std::string bytes = {}) {
        state_ = state;
        bytes_ = std::move(bytes);
    }
    std::vector<std::string> calls;

  private:
    State state_;
    std::string bytes_;
    bool replaceSucceeds_;
};

// Logs into the store's calls, so that the order of lock, read and replace shows.
class RecordingLock final : public EditLock {
  public:
    RecordingLock(std::vector<std::string>& calls, bool available)
        : calls_(calls), available_(available) {}
    bool acquire(const std::string&) override {
        calls_.push_back(available_ ? "lock" : "lock refused");
        return available_;
    }
    void release() override { calls_.push_back("unlock"); }

  private:
    std::vector<std::string>& calls_;
    bool available_;
};
