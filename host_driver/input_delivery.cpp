#include "host_driver/input_delivery.h"

#include <cstdio>
#include <thread>

#include "host_driver/message_pump.h"

namespace {

constexpr DWORD DELIVERY_BOUND_MS = 5000;
// How long the queue stays quiet before a batch counts as delivered.
constexpr DWORD SETTLE_MS = 100;
constexpr int MOVE_ATTEMPTS = 3;

bool matches(const MouseRetrievals::Entry& entry, const InputBatch& batch) {
    UINT message = entry.message;
    // A press close enough to an earlier one arrives as a double-click.
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    if (message == WM_RBUTTONDBLCLK) message = WM_RBUTTONDOWN;
    if (message != batch.awaited) return false;
    if (batch.matchPoint && (entry.pt.x != batch.at.x || entry.pt.y != batch.at.y)) return false;
    return batch.window == nullptr || entry.window == batch.window;
}

int countSince(MouseRetrievals& retrievals, std::size_t mark, const InputBatch& batch) {
    int count = 0;
    for (const MouseRetrievals::Entry& entry : retrievals.since(mark))
        if (matches(entry, batch)) ++count;
    return count;
}

// The last move taken since `mark`, if any.
bool lastMoveSince(MouseRetrievals& retrievals, std::size_t mark, POINT& at) {
    const std::vector<MouseRetrievals::Entry> taken = retrievals.since(mark);
    for (auto entry = taken.rbegin(); entry != taken.rend(); ++entry) {
        if (entry->message == WM_MOUSEMOVE) {
            at = entry->pt;
            return true;
        }
    }
    return false;
}

// Milliseconds left of the delivery bound that started at `start`; 0 once spent.
DWORD boundLeft(DWORD start) {
    const DWORD spent = GetTickCount() - start;
    return spent < DELIVERY_BOUND_MS ? DELIVERY_BOUND_MS - spent : 0;
}

// Under Wine an injected move also warps the X pointer, and the X server's
// report of that warp comes back a little later as a move of its own. Late
// enough, it lands after the next injected move and puts the pointer back
// where it was. Nothing announces that no echo is still on its way, so a
// batch counts only once the queue has stayed quiet for a while: a bounded
// wait for the next retrieval, not a blind sleep. A move that such an echo
// overtook is made again.
bool settle(MouseRetrievals& retrievals, std::size_t mark, const InputBatch& batch, DWORD start) {
    while (retrievals.waitForNext(SETTLE_MS) && boundLeft(start)) continue;
    POINT last{};
    return !batch.matchPoint || !lastMoveSince(retrievals, mark, last) ||
           (last.x == batch.at.x && last.y == batch.at.y);
}

// Runs on a thread of its own, so that it goes on while the window thread
// sits in any modal loop, even one that dispatches nothing.
std::string deliver(MouseRetrievals& retrievals, std::vector<InputBatch>& batches) {
    for (InputBatch& batch : batches) {
        for (int attempt = 1;; ++attempt) {
            retrievals.resetSignal();
            const std::size_t mark = retrievals.size();
            const UINT sent = SendInput(static_cast<UINT>(batch.inputs.size()), batch.inputs.data(),
                                        sizeof(INPUT));
            if (sent != batch.inputs.size()) return "SendInput refused " + batch.what;
            if (batch.awaited == 0) break;
            const DWORD start = GetTickCount();
            while (countSince(retrievals, mark, batch) < batch.count) {
                const DWORD left = boundLeft(start);
                if (left == 0 || !retrievals.waitForNext(left)) {
                    POINT cursor{};
                    GetCursorPos(&cursor);
                    return "never delivered: " + batch.what +
                           "; taken meanwhile:" + retrievals.describeSince(mark) + "; cursor at " +
                           std::to_string(cursor.x) + "," + std::to_string(cursor.y);
                }
            }
            if (settle(retrievals, mark, batch, start)) break;
            if (attempt == MOVE_ATTEMPTS)
                return "moved back after " + batch.what +
                       " every time; taken:" + retrievals.describeSince(mark);
        }
    }
    return {};
}

}  // namespace

MouseRetrievals::MouseRetrievals()
    : logged_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      hook_([this](MSG& message, bool removed) {
          if (!removed || message.message < WM_MOUSEFIRST || message.message > WM_MOUSELAST) return;
          std::lock_guard guard(lock_);
          entries_.push_back({message.hwnd, message.message, message.pt});
          SetEvent(logged_);
      }) {}

MouseRetrievals::~MouseRetrievals() {
    if (logged_) CloseHandle(logged_);
}

std::size_t MouseRetrievals::size() {
    std::lock_guard guard(lock_);
    return entries_.size();
}

std::vector<MouseRetrievals::Entry> MouseRetrievals::since(std::size_t mark) {
    std::lock_guard guard(lock_);
    if (mark >= entries_.size()) return {};
    return {entries_.begin() + static_cast<std::ptrdiff_t>(mark), entries_.end()};
}

std::string MouseRetrievals::describeSince(std::size_t mark) {
    std::string text;
    for (const Entry& entry : since(mark)) {
        char line[64];
        std::snprintf(line, sizeof line, " 0x%04X@%ld,%ld", entry.message, entry.pt.x, entry.pt.y);
        text += line;
    }
    return text.empty() ? " no mouse message" : text;
}

void MouseRetrievals::resetSignal() {
    ResetEvent(logged_);
}

bool MouseRetrievals::waitForNext(DWORD milliseconds) {
    return WaitForSingleObject(logged_, milliseconds) == WAIT_OBJECT_0;
}

std::string deliverInput(MouseRetrievals& retrievals, std::vector<InputBatch> batches) {
    std::string error;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!done) return "cannot make the event that ends the input thread";
    // Input goes to the desktop of the thread that sends it.
    HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
    std::thread worker([&] {
        if (!SetThreadDesktop(desktop)) {
            error = "the input thread cannot join the window's desktop";
        } else {
            error = deliver(retrievals, batches);
        }
        SetEvent(done);
    });
    // This thread dispatches what the input brings, and wakes for each message
    // until the input thread is done.
    while (MsgWaitForMultipleObjectsEx(1, &done, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
           WAIT_OBJECT_0)
        pumpMessages();
    worker.join();
    CloseHandle(done);
    pumpMessages();
    return error;
}

INPUT mouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

// Absolute coordinates are 65536ths of the screen; rounding up lands on the
// pixel itself after the window system scales back down.
INPUT moveInput(POINT at) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    input.mi.dx = static_cast<LONG>((static_cast<long long>(at.x) * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((static_cast<long long>(at.y) * 65536 + height - 1) / height);
    return input;
}
