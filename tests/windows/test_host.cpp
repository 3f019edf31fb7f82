#include "tests/windows/test_host.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "host/diseqc_command_record.h"
#include "host/host_messages.h"

namespace {
constexpr char HOST_CLASS[] = "DiseqcTestHost";

void registerClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = HOST_CLASS;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&windowClass);
    registered = true;
}
}  // namespace

ForegroundLock::ForegroundLock() : mutex_(CreateMutexA(nullptr, FALSE, "diseqc-tests-foreground")) {
    // A test that dies holding the lock abandons it, which hands it on.
    const DWORD waited = mutex_ ? WaitForSingleObject(mutex_, 100000) : WAIT_FAILED;
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

ForegroundLock::~ForegroundLock() {
    if (held_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
}

TestHost::TestHost() {
    if (!foreground_.held()) throw std::runtime_error("another test kept the display for 100 s");
    registerClass();
    window_ = CreateWindowExA(0, HOST_CLASS, "Test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              640, 480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window_) throw std::runtime_error("cannot create the host window");
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TestHost::procedure));
}

TestHost::~TestHost() {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    DestroyWindow(window_);
    pumpMessages();
}

LRESULT CALLBACK TestHost::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == HOST_MESSAGE) {
        auto* host = reinterpret_cast<TestHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (host) host->record(wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void TestHost::record(WPARAM code, LPARAM pointer) {
    Message message{static_cast<std::uint32_t>(code), {}};
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pointer);
    if (code == HOST_MSG_QUERY_API) {
        // Keep what the plug-in handed over, so a test can prove it was zeroed.
        message.bytes.assign(bytes, bytes + HOST_API_NAME_BUFFER);
        if (apiAnswer_) {
            const std::size_t count = std::min(apiAnswer_->size(), HOST_API_NAME_BUFFER);
            std::memcpy(reinterpret_cast<char*>(pointer), apiAnswer_->data(), count);
        }
    } else if (code == HOST_MSG_SEND_DISEQC) {
        const std::uint8_t* end = bytes;
        while (*end != 0) ++end;
        message.bytes.assign(bytes, end + 1);
    } else if (code == HOST_MSG_SEND_DISEQC_RECORD) {
        message.bytes.assign(bytes, bytes + sizeof(DiseqcCommandRecord));
    }
    messages_.push_back(std::move(message));
}
