// The plug-in's own stand-ins for the thread functions of the runtime's
// exception machinery, built into this program as into the DLL, so that every
// exception here goes through them: many threads that throw at once from their
// first moment, a one-time set-up that all of them ask for while it runs, and
// per-thread values handed back when a thread ends and when the plug-in goes.
//   runtime_threads_check
#include <atomic>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include <windows.h>

#include <pthread.h>

#include "plugin/runtime_threads.h"

namespace {

constexpr int THREADS = 16;
constexpr int THROWS = 500;

HANDLE go = nullptr;
std::atomic<int> failures{0};
std::atomic<int> setUps{0};
std::atomic<int> destroyed{0};
pthread_once_t once = PTHREAD_ONCE_INIT;
pthread_key_t key = 0;

void fail(const std::string& why) {
    std::printf("FAIL %s\n", why.c_str());
    ++failures;
}

void slowSetUp() {
    Sleep(50);
    ++setUps;
}

void countDestroyed(void* value) {
    delete static_cast<int*>(value);
    ++destroyed;
}

DWORD WINAPI worker(void* parameter) {
    const int id = static_cast<int>(reinterpret_cast<INT_PTR>(parameter));
    WaitForSingleObject(go, INFINITE);
    pthread_once(&once, slowSetUp);
    if (setUps != 1) fail("a thread went on before the one-time set-up had ended");
    if (pthread_getspecific(key) != nullptr) fail("a new thread found a value under the key");
    if (pthread_setspecific(key, new int(id)) != 0) fail("the value could not be kept");
    for (int i = 0; i < THROWS; ++i) {
        std::exception_ptr kept;
        try {
            throw std::runtime_error(std::to_string(id) + ":" + std::to_string(i));
        } catch (...) {
            kept = std::current_exception();
        }
        try {
            std::rethrow_exception(kept);
        } catch (const std::runtime_error& error) {
            if (error.what() != std::to_string(id) + ":" + std::to_string(i))
                fail("thread " + std::to_string(id) + " caught another thread's exception");
        }
    }
    const int* kept = static_cast<int*>(pthread_getspecific(key));
    if (kept == nullptr || *kept != id) fail("thread " + std::to_string(id) + " lost its value");
    // What DllMain does when the thread ends.
    runtimeThreadEnds();
    if (pthread_getspecific(key) != nullptr) fail("a value outlived its thread's end");
    return 0;
}

}  // namespace

int main() {
    if (pthread_key_create(&key, countDestroyed) != 0) {
        std::printf("FAIL no key\n");
        return 1;
    }
    go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<HANDLE> threads;
    for (int id = 0; id < THREADS; ++id) {
        threads.push_back(CreateThread(
            nullptr, 0, worker, reinterpret_cast<void*>(static_cast<INT_PTR>(id)), 0, nullptr));
        if (threads.back() == nullptr) {
            std::printf("FAIL no thread\n");
            return 1;
        }
    }
    SetEvent(go);
    WaitForMultipleObjects(THREADS, threads.data(), TRUE, INFINITE);
    for (HANDLE thread : threads) CloseHandle(thread);
    if (setUps != 1) fail("the one-time set-up ran " + std::to_string(setUps) + " times");
    // Each thread's own value, and the runtime's per-thread data besides; nothing twice.
    if (destroyed != THREADS)
        fail(std::to_string(destroyed) + " values handed back for " + std::to_string(THREADS) +
             " threads");

    if (pthread_setspecific(key, new int(-1)) != 0) fail("this thread's value could not be kept");
    runtimeUnloads();
    if (destroyed != THREADS + 1) fail("the unloading thread's value was not handed back");
    if (pthread_getspecific(key) != nullptr || pthread_setspecific(key, nullptr) == 0)
        fail("a key outlived the unloading");
    // The exception machinery still works after the unloading.
    try {
        throw std::runtime_error("after");
    } catch (const std::exception& error) {
        if (std::string(error.what()) != "after") fail("an exception lost its text");
    }
    std::printf("runtime_threads_check: %d threads, %d exceptions each, %d failures\n", THREADS,
                THROWS, failures.load());
    return failures == 0 ? 0 : 1;
}
