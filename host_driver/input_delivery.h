#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>

#include "host_driver/message_hook.h"

// Mouse messages as this thread takes them from its queue, whichever loop
// takes them: ours, a dialog's, or the list view's own tracking loop. Made
// on the window thread; the input thread reads it while that thread runs.
class MouseRetrievals {
  public:
    struct Entry {
        HWND window;
        UINT message;
        POINT pt;
    };

    MouseRetrievals();
    ~MouseRetrievals();
    MouseRetrievals(const MouseRetrievals&) = delete;
    MouseRetrievals& operator=(const MouseRetrievals&) = delete;

    std::size_t size();
    std::vector<Entry> since(std::size_t mark);
    // What was taken since `mark`, for a delivery that never came.
    std::string describeSince(std::size_t mark);

    // Forgets that anything was taken so far: waitForNext then waits for a
    // retrieval to come.
    void resetSignal();
    // True when a message was taken within `milliseconds` (or since the last
    // reset), rather than looking again and again.
    bool waitForNext(DWORD milliseconds);

  private:
    std::mutex lock_;
    std::vector<Entry> entries_;
    HANDLE logged_ = nullptr;
    // Last, so that it watches only once the rest is ready, and stops first.
    RetrievalHook hook_;
};

// Inputs that go together, and the message whose retrieval shows they arrived.
struct InputBatch {
    std::vector<INPUT> inputs;
    UINT awaited = 0;  // 0: nothing to wait for
    int count = 1;
    bool matchPoint = false;
    POINT at{};
    HWND window = nullptr;  // when set, the message must be for this window
    std::string what;
};

// Sends the batches one after the other from a thread of its own, while this
// thread dispatches what they bring; each waits until `retrievals` shows its
// message taken. Empty text, or what did not arrive.
std::string deliverInput(MouseRetrievals& retrievals, std::vector<InputBatch> batches);

INPUT mouseInput(DWORD flags);
// A move to the screen point.
INPUT moveInput(POINT at);
