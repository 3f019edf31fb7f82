#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "host_driver/message_pump.h"

// Parallel test processes share one display, and under Wine a window that
// opens in one of them takes the foreground, and with it the keyboard focus,
// from the others. Tests that open windows hold this lock, so that they run
// one at a time across processes.
class ForegroundLock {
  public:
    ForegroundLock();
    ~ForegroundLock();
    ForegroundLock(const ForegroundLock&) = delete;
    ForegroundLock& operator=(const ForegroundLock&) = delete;

    bool held() const { return held_; }

  private:
    HANDLE mutex_;
    bool held_ = false;
};

// A real top-level host window that records every host message it receives,
// with a copy of the bytes behind the pointer taken while the message is
// being handled (the pointer is valid only then). It holds the foreground
// lock while it exists.
class TestHost {
  public:
    struct Message {
        std::uint32_t code;
        std::vector<std::uint8_t> bytes;
    };

    TestHost();
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    HWND window() const { return window_; }

    // What the host writes into the API-name buffer; none means it does not
    // answer at all. The bytes are written as given, up to 256.
    void answerApiQueryWith(std::optional<std::string> answer) { apiAnswer_ = std::move(answer); }

    const std::vector<Message>& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }

  private:
    static LRESULT CALLBACK procedure(HWND, UINT, WPARAM, LPARAM);
    void record(WPARAM code, LPARAM pointer);

    ForegroundLock foreground_;
    HWND window_ = nullptr;
    std::optional<std::string> apiAnswer_;
    std::vector<Message> messages_;
};
