#include "host_driver/message_hook.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace {

// The window system hands a hook procedure no context of ours, so each kind
// keeps the thread's watchers in a list of its own.
template <class Hook>
struct WatcherList {
    HHOOK hook = nullptr;
    std::vector<Hook*> watchers;

    bool add(Hook* watcher, int kind, HOOKPROC procedure) {
        if (!hook) hook = SetWindowsHookExA(kind, procedure, nullptr, GetCurrentThreadId());
        if (!hook) return false;
        watchers.push_back(watcher);
        return true;
    }

    void remove(Hook* watcher) {
        std::erase(watchers, watcher);
        if (watchers.empty() && hook) {
            UnhookWindowsHookEx(hook);
            hook = nullptr;
        }
    }

    // A watcher may make or end watchers, its own included: each one still
    // listed when its turn comes is asked, and only those. The hook runs at
    // every message of the thread, so a short list is copied on the stack:
    // under the whole-heap checks each heap call walks the heap.
    template <class Call>
    void tell(Call&& call) {
        std::array<Hook*, 16> inPlace;
        std::vector<Hook*> onHeap;
        std::span<Hook*> snapshot;
        if (watchers.size() <= inPlace.size()) {
            snapshot = std::span(inPlace.data(), watchers.size());
            std::ranges::copy(watchers, snapshot.begin());
        } else {
            onHeap = watchers;
            snapshot = onHeap;
        }
        for (Hook* watcher : snapshot)
            if (std::ranges::find(watchers, watcher) != watchers.end()) call(*watcher);
    }
};

}  // namespace

struct RetrievalHookList {
    static WatcherList<RetrievalHook>& list() {
        thread_local WatcherList<RetrievalHook> watchers;
        return watchers;
    }
    static LRESULT CALLBACK procedure(int code, WPARAM removal, LPARAM lParam) {
        if (code == HC_ACTION) {
            MSG& message = *reinterpret_cast<MSG*>(lParam);
            list().tell([&](RetrievalHook& hook) { hook.watcher_(message, removal == PM_REMOVE); });
        }
        return CallNextHookEx(nullptr, code, removal, lParam);
    }
};

struct CallHookList {
    static WatcherList<CallHook>& list() {
        thread_local WatcherList<CallHook> watchers;
        return watchers;
    }
    static LRESULT CALLBACK procedure(int code, WPARAM sentByThread, LPARAM lParam) {
        if (code == HC_ACTION) {
            const CWPSTRUCT& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
            list().tell([&](CallHook& hook) { hook.watcher_(call); });
        }
        return CallNextHookEx(nullptr, code, sentByThread, lParam);
    }
};

RetrievalHook::RetrievalHook(Watcher watcher) : watcher_(std::move(watcher)) {
    watching_ = RetrievalHookList::list().add(this, WH_GETMESSAGE, &RetrievalHookList::procedure);
}

RetrievalHook::~RetrievalHook() {
    if (watching_) RetrievalHookList::list().remove(this);
}

CallHook::CallHook(Watcher watcher) : watcher_(std::move(watcher)) {
    watching_ = CallHookList::list().add(this, WH_CALLWNDPROC, &CallHookList::procedure);
}

CallHook::~CallHook() {
    if (watching_) CallHookList::list().remove(this);
}
