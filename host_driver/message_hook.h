#pragma once

#include <functional>

#include <windows.h>

// Watches this thread's messages for as long as the object lives. Any number
// of watchers may live at once, nested or not; each sees every message, in
// the order they were made. One window-system hook per kind serves them all,
// installed with the first watcher and removed with the last.

// Messages as they leave the thread's queue (WH_GETMESSAGE). A watcher may
// change the message, or turn it into WM_NULL to keep it from its window.
class RetrievalHook {
  public:
    // `removed`: the message leaves the queue, rather than being peeked at.
    using Watcher = std::function<void(MSG& message, bool removed)>;

    explicit RetrievalHook(Watcher watcher);
    ~RetrievalHook();
    RetrievalHook(const RetrievalHook&) = delete;
    RetrievalHook& operator=(const RetrievalHook&) = delete;

    // False when the window system refused the hook: the watcher sees nothing.
    bool watching() const { return watching_; }

  private:
    friend struct RetrievalHookList;
    Watcher watcher_;
    bool watching_ = false;
};

// Messages sent to a window procedure of this thread (WH_CALLWNDPROC), before
// the procedure sees them.
class CallHook {
  public:
    using Watcher = std::function<void(const CWPSTRUCT& call)>;

    explicit CallHook(Watcher watcher);
    ~CallHook();
    CallHook(const CallHook&) = delete;
    CallHook& operator=(const CallHook&) = delete;

    bool watching() const { return watching_; }

  private:
    friend struct CallHookList;
    Watcher watcher_;
    bool watching_ = false;
};
