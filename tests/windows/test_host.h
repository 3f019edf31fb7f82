#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

// A real top-level host window that records every host message it receives,
// with a copy of the bytes behind the pointer taken while the message is
// being handled (the pointer is valid only then).
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

    HWND window_ = nullptr;
    std::optional<std::string> apiAnswer_;
    std::vector<Message> messages_;
};

// Lets the window system deliver what is queued for this thread.
void pumpMessages();
