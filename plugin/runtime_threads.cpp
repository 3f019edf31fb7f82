// The four POSIX thread functions that the GNU runtime's exception machinery
// calls (the unwinder's one-time set-up, and the per-thread data behind
// std::current_exception and its kin), over the Win32 calls they stand for.
// Defined here, they keep the linker from taking winpthread's thread member,
// which brings thread creation, cancellation, read-write locks and condition
// variables that nothing here uses: some 28 KB. The mutexes stay winpthread's.
#include "plugin/runtime_threads.h"

// Names the runtime, as the test below needs.
#include <cstddef>

#if defined(__MINGW32__) && defined(__GLIBCXX__)
#include <windows.h>

#include <pthread.h>

namespace {

// The runtime makes one key; room for a few more costs nothing.
constexpr unsigned MOST_KEYS = 8;

struct Key {
    DWORD slot = TLS_OUT_OF_INDEXES;
    void (*destroy)(void*) = nullptr;
};

Key keys[MOST_KEYS];
volatile LONG keyCount = 0;

enum : LONG { NOT_RUN = PTHREAD_ONCE_INIT, RUNNING, DONE };

}  // namespace

extern "C" {

int pthread_once(pthread_once_t* once, void (*init)(void)) {
    // Another thread may be in `init` at this moment: it waits until it is done, as POSIX asks.
    if (InterlockedCompareExchange(once, RUNNING, NOT_RUN) == NOT_RUN) {
        init();
        InterlockedExchange(once, DONE);
        return 0;
    }
    while (InterlockedCompareExchange(once, DONE, DONE) != DONE) Sleep(0);
    return 0;
}

int pthread_key_create(pthread_key_t* key, void (*destroy)(void*)) {
    const DWORD slot = TlsAlloc();
    if (slot == TLS_OUT_OF_INDEXES) return EAGAIN;
    const LONG index = InterlockedIncrement(&keyCount) - 1;
    if (index >= static_cast<LONG>(MOST_KEYS)) {
        InterlockedDecrement(&keyCount);
        TlsFree(slot);
        return EAGAIN;
    }
    keys[index].destroy = destroy;
    keys[index].slot = slot;
    *key = static_cast<pthread_key_t>(index);
    return 0;
}

void* pthread_getspecific(pthread_key_t key) {
    if (key >= MOST_KEYS || keys[key].slot == TLS_OUT_OF_INDEXES) return nullptr;
    // TlsGetValue clears the last error on success: the caller's must survive.
    const DWORD error = GetLastError();
    void* value = TlsGetValue(keys[key].slot);
    SetLastError(error);
    return value;
}

int pthread_setspecific(pthread_key_t key, const void* value) {
    if (key >= MOST_KEYS || keys[key].slot == TLS_OUT_OF_INDEXES) return EINVAL;
    return TlsSetValue(keys[key].slot, const_cast<void*>(value)) ? 0 : ENOMEM;
}

}  // extern "C"

void runtimeThreadEnds() {
    const LONG count = keyCount;
    for (LONG i = 0; i < count && i < static_cast<LONG>(MOST_KEYS); ++i) {
        Key& key = keys[i];
        if (key.slot == TLS_OUT_OF_INDEXES || key.destroy == nullptr) continue;
        void* value = TlsGetValue(key.slot);
        if (value == nullptr) continue;
        TlsSetValue(key.slot, nullptr);
        key.destroy(value);
    }
}

// The values of the host's other threads stay theirs: nothing can reach them from here, and
// nothing of the plug-in will ask for them again.
void runtimeUnloads() {
    runtimeThreadEnds();
    const LONG count = keyCount;
    for (LONG i = 0; i < count && i < static_cast<LONG>(MOST_KEYS); ++i) {
        if (keys[i].slot != TLS_OUT_OF_INDEXES) TlsFree(keys[i].slot);
        keys[i] = Key{};
    }
    keyCount = 0;
}

#else
void runtimeThreadEnds() {}
void runtimeUnloads() {}
#endif
