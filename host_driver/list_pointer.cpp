#include "host_driver/list_pointer.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <commctrl.h>

#include "host_driver/message_pump.h"

namespace {

constexpr char INPUT_LOCK_NAME[] = "diseqc-pointer";
constexpr DWORD INPUT_LOCK_WAIT_MS = 60000;
constexpr DWORD DELIVERY_BOUND_MS = 5000;
// How long the queue stays quiet before a batch counts as delivered.
constexpr DWORD SETTLE_MS = 100;
constexpr int MOVE_ATTEMPTS = 3;
// Well past the drag threshold of a few pixels, still on the name.
constexpr int PULL_PIXELS = 14;
constexpr int BESIDE_LIST_PIXELS = 24;

// Mouse messages as the thread takes them from its queue, whichever loop
// takes them: ours, a dialog's, or the list view's own tracking loop.
struct Retrieved {
    HWND window;
    UINT message;
    POINT pt;
};

struct RetrievalLog {
    std::mutex lock;
    std::vector<Retrieved> entries;
    HHOOK hook = nullptr;
    // Set at every entry, so that the input thread waits for retrievals
    // rather than looking again and again.
    HANDLE logged = nullptr;
};
RetrievalLog retrievals;

LRESULT CALLBACK recordRetrieval(int code, WPARAM removal, LPARAM lParam) {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        if (message->message >= WM_MOUSEFIRST && message->message <= WM_MOUSELAST) {
            std::lock_guard guard(retrievals.lock);
            retrievals.entries.push_back({message->hwnd, message->message, message->pt});
            SetEvent(retrievals.logged);
        }
    }
    return CallNextHookEx(retrievals.hook, code, removal, lParam);
}

// Inputs that go together, and the message whose retrieval shows they arrived.
struct Batch {
    std::vector<INPUT> inputs;
    UINT awaited = 0;  // 0: nothing to wait for
    int count = 1;
    bool matchPoint = false;
    POINT at{};
    HWND window = nullptr;  // when set, the message must be for this window
    std::string what;
};

bool matches(const Retrieved& entry, const Batch& batch) {
    UINT message = entry.message;
    // A press close enough to an earlier one arrives as a double-click.
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    if (message == WM_RBUTTONDBLCLK) message = WM_RBUTTONDOWN;
    if (message != batch.awaited) return false;
    if (batch.matchPoint && (entry.pt.x != batch.at.x || entry.pt.y != batch.at.y)) return false;
    return batch.window == nullptr || entry.window == batch.window;
}

int countSince(std::size_t mark, const Batch& batch) {
    std::lock_guard guard(retrievals.lock);
    int count = 0;
    for (std::size_t i = mark; i < retrievals.entries.size(); ++i)
        if (matches(retrievals.entries[i], batch)) ++count;
    return count;
}

// What was taken from the queue since `mark`, for a delivery that never came.
std::string retrievedSince(std::size_t mark) {
    std::lock_guard guard(retrievals.lock);
    std::string text;
    for (std::size_t i = mark; i < retrievals.entries.size(); ++i) {
        const Retrieved& entry = retrievals.entries[i];
        char line[64];
        std::snprintf(line, sizeof line, " 0x%04X@%ld,%ld", entry.message, entry.pt.x, entry.pt.y);
        text += line;
    }
    return text.empty() ? " no mouse message" : text;
}

std::size_t logSize() {
    std::lock_guard guard(retrievals.lock);
    return retrievals.entries.size();
}

// The last move taken since `mark`, if any.
bool lastMoveSince(std::size_t mark, POINT& at) {
    std::lock_guard guard(retrievals.lock);
    for (std::size_t i = retrievals.entries.size(); i > mark; --i) {
        if (retrievals.entries[i - 1].message == WM_MOUSEMOVE) {
            at = retrievals.entries[i - 1].pt;
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
bool settle(std::size_t mark, const Batch& batch, DWORD start) {
    while (WaitForSingleObject(retrievals.logged, SETTLE_MS) == WAIT_OBJECT_0 && boundLeft(start))
        continue;
    POINT last{};
    return !batch.matchPoint || !lastMoveSince(mark, last) ||
           (last.x == batch.at.x && last.y == batch.at.y);
}

// Runs on a thread of its own, so that it goes on while the window thread
// sits in any modal loop, even one that dispatches nothing.
std::string deliver(std::vector<Batch>& batches) {
    for (Batch& batch : batches) {
        for (int attempt = 1;; ++attempt) {
            ResetEvent(retrievals.logged);
            const std::size_t mark = logSize();
            const UINT sent = SendInput(static_cast<UINT>(batch.inputs.size()), batch.inputs.data(),
                                        sizeof(INPUT));
            if (sent != batch.inputs.size()) return "SendInput refused " + batch.what;
            if (batch.awaited == 0) break;
            const DWORD start = GetTickCount();
            while (countSince(mark, batch) < batch.count) {
                const DWORD left = boundLeft(start);
                if (left == 0 || WaitForSingleObject(retrievals.logged, left) != WAIT_OBJECT_0) {
                    POINT cursor{};
                    GetCursorPos(&cursor);
                    return "never delivered: " + batch.what +
                           "; taken meanwhile:" + retrievedSince(mark) + "; cursor at " +
                           std::to_string(cursor.x) + "," + std::to_string(cursor.y);
                }
            }
            if (settle(mark, batch, start)) break;
            if (attempt == MOVE_ATTEMPTS)
                return "moved back after " + batch.what +
                       " every time; taken:" + retrievedSince(mark);
        }
    }
    return {};
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

DWORD downFlag(Button button) {
    return button == Button::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
}
DWORD upFlag(Button button) {
    return button == Button::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
}
UINT downMessage(Button button) {
    return button == Button::Left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
}
UINT upMessage(Button button) {
    return button == Button::Left ? WM_LBUTTONUP : WM_RBUTTONUP;
}
const char* buttonName(Button button) {
    return button == Button::Left ? "left" : "right";
}

std::string describePoint(POINT at) {
    return std::to_string(at.x) + "," + std::to_string(at.y);
}

std::string runBatches(std::vector<Batch> batches) {
    std::string error;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!done) return "cannot make the event that ends the input thread";
    // Input goes to the desktop of the thread that sends it.
    HDESK desktop = GetThreadDesktop(GetCurrentThreadId());
    std::thread worker([&] {
        if (!SetThreadDesktop(desktop)) {
            error = "the input thread cannot join the window's desktop";
        } else {
            error = deliver(batches);
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

bool messagesPathRequested() {
    const char* choice = std::getenv("DISEQC_TEST_POINTER");
    return choice != nullptr && std::string(choice) == "messages";
}

}  // namespace

PointerStep press(Button button, int row) {
    return {PointerStep::Kind::Press, button, row};
}
PointerStep moveTo(int row, int offsetX) {
    return {PointerStep::Kind::Move, Button::Left, row, offsetX};
}
PointerStep pull(int row) {
    return moveTo(row, PULL_PIXELS);
}
PointerStep moveBeside(int row) {
    return {PointerStep::Kind::Move, Button::Left, row, 0, true};
}
PointerStep release(Button button) {
    return {PointerStep::Kind::Release, button};
}

Pointer::Pointer(HWND dialog, HWND list) : dialog_(dialog), list_(list) {
    retrievals.logged = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    retrievals.hook =
        SetWindowsHookExA(WH_GETMESSAGE, &recordRetrieval, nullptr, GetCurrentThreadId());
    real_ = !messagesPathRequested() && probe();
}

Pointer::~Pointer() {
    releaseHeldButtons();
    if (retrievals.hook) UnhookWindowsHookEx(retrievals.hook);
    retrievals.hook = nullptr;
    if (retrievals.logged) CloseHandle(retrievals.logged);
    retrievals.logged = nullptr;
    {
        std::lock_guard guard(retrievals.lock);
        retrievals.entries.clear();
    }
    if (inputLock_) {
        ReleaseMutex(inputLock_);
        CloseHandle(inputLock_);
    }
}

bool Pointer::probe() {
    // The pointer is one for all the test programs that run at once: only one
    // of them may move it at a time.
    inputLock_ = CreateMutexA(nullptr, FALSE, INPUT_LOCK_NAME);
    if (!inputLock_) return false;
    const DWORD waited = WaitForSingleObject(inputLock_, INPUT_LOCK_WAIT_MS);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(inputLock_);
        inputLock_ = nullptr;
        return false;
    }
    // Only the foreground thread's capture steers where the pointer's
    // messages go.
    SetForegroundWindow(dialog_);
    pumpMessages();
    if (GetForegroundWindow() != dialog_) return false;

    // Two different spots, so that the second is a move wherever the
    // pointer was left.
    const POINT first = screenPoint(moveTo(0, 30));
    const POINT second = screenPoint(moveTo(0, 40));
    Batch away{{moveInput(first)}, 0, 1, false, {}, nullptr, "probe"};
    Batch onto{{moveInput(second)}, WM_MOUSEMOVE, 1, true, second, list_, "probe move"};
    if (!runBatches({away, onto}).empty()) return false;
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor.x == second.x && cursor.y == second.y;
}

std::string Pointer::retrievedMessages() {
    return retrievedSince(0);
}

POINT Pointer::clientPoint(const PointerStep& step) const {
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(step.row),
                 reinterpret_cast<LPARAM>(&label));
    POINT at{label.left + 8 + step.offsetX, (label.top + label.bottom) / 2};
    if (step.besideList) {
        RECT client{};
        GetClientRect(list_, &client);
        at.x = client.left - BESIDE_LIST_PIXELS;
    }
    return at;
}

POINT Pointer::screenPoint(const PointerStep& step) const {
    POINT at = clientPoint(step);
    ClientToScreen(list_, &at);
    if (step.besideList) {
        RECT frame{};
        GetWindowRect(list_, &frame);
        at.x = frame.left - BESIDE_LIST_PIXELS;
    }
    return at;
}

std::string Pointer::perform(const std::vector<PointerStep>& steps) {
    if (real_) return performReal(steps);
    performMessages(steps);
    return {};
}

std::string Pointer::performReal(const std::vector<PointerStep>& steps) {
    std::vector<Batch> batches;
    for (const PointerStep& step : steps) {
        switch (step.kind) {
            case PointerStep::Kind::Press: {
                const POINT at = screenPoint(step);
                batches.push_back(
                    {{moveInput(at), mouseInput(downFlag(step.button))},
                     downMessage(step.button),
                     1,
                     false,
                     {},
                     nullptr,
                     std::string(buttonName(step.button)) + " press at " + describePoint(at)});
                held_.insert(step.button);
                break;
            }
            case PointerStep::Kind::Move: {
                const POINT at = screenPoint(step);
                batches.push_back({{moveInput(at)},
                                   WM_MOUSEMOVE,
                                   1,
                                   true,
                                   at,
                                   nullptr,
                                   "move to " + describePoint(at)});
                break;
            }
            case PointerStep::Kind::Release:
                batches.push_back({{mouseInput(upFlag(step.button))},
                                   upMessage(step.button),
                                   1,
                                   false,
                                   {},
                                   nullptr,
                                   std::string(buttonName(step.button)) + " release"});
                held_.erase(step.button);
                break;
        }
    }
    return runBatches(std::move(batches));
}

void Pointer::performMessages(const std::vector<PointerStep>& steps) {
    auto keys = [this] {
        WPARAM state = 0;
        if (held_.count(Button::Left)) state |= MK_LBUTTON;
        if (held_.count(Button::Right)) state |= MK_RBUTTON;
        return state;
    };
    for (const PointerStep& step : steps) {
        switch (step.kind) {
            case PointerStep::Kind::Press:
                if (held_.empty()) {
                    lastPoint_ = clientPoint(step);
                    pressPending_ = true;
                    pressedButton_ = step.button;
                    pressPoint_ = lastPoint_;
                    held_.insert(step.button);
                    break;
                }
                // The other button mid-drag reaches the list as it is. Not
                // pumped yet: should the list view track this press in a loop
                // of its own, the next step's message is already queued for it.
                held_.insert(step.button);
                PostMessageA(list_, downMessage(step.button), keys(),
                             MAKELPARAM(lastPoint_.x, lastPoint_.y));
                break;
            case PointerStep::Kind::Move: {
                // Beyond the threshold the list view starts the drag of the
                // item under the press, before it sees any later move.
                if (pressPending_) {
                    pressPending_ = false;
                    LVHITTESTINFO hit{};
                    hit.pt = pressPoint_;
                    const auto item = static_cast<int>(
                        SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
                    if (item >= 0) {
                        NMLISTVIEW begin{};
                        begin.hdr.hwndFrom = list_;
                        begin.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list_));
                        begin.hdr.code =
                            pressedButton_ == Button::Left ? LVN_BEGINDRAG : LVN_BEGINRDRAG;
                        begin.iItem = item;
                        begin.ptAction = pressPoint_;
                        SendMessageA(dialog_, WM_NOTIFY, begin.hdr.idFrom,
                                     reinterpret_cast<LPARAM>(&begin));
                    }
                }
                lastPoint_ = screenPoint(step);
                ScreenToClient(list_, &lastPoint_);
                PostMessageA(list_, WM_MOUSEMOVE, keys(), MAKELPARAM(lastPoint_.x, lastPoint_.y));
                pumpMessages();
                break;
            }
            case PointerStep::Kind::Release:
                held_.erase(step.button);
                if (held_.empty()) pressPending_ = false;
                PostMessageA(list_, upMessage(step.button), keys(),
                             MAKELPARAM(lastPoint_.x, lastPoint_.y));
                pumpMessages();
                break;
        }
    }
}

std::string Pointer::doubleClick(int row) {
    const PointerStep onName = moveTo(row);
    if (real_) {
        const POINT at = screenPoint(onName);
        const INPUT down = mouseInput(MOUSEEVENTF_LEFTDOWN);
        const INPUT up = mouseInput(MOUSEEVENTF_LEFTUP);
        // The second click's release is taken from the queue by whatever
        // loop runs then: the rename dialog's, while it is open.
        return runBatches({{{moveInput(at), down, up, down, up},
                            WM_LBUTTONUP,
                            2,
                            false,
                            {},
                            nullptr,
                            "double-click at " + describePoint(at)}});
    }
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = list_;
    activate.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list_));
    activate.hdr.code = NM_DBLCLK;
    activate.iItem = row;
    activate.ptAction = clientPoint(onName);
    SendMessageA(dialog_, WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
    pumpMessages();
    return {};
}

void Pointer::releaseHeldButtons() {
    if (real_) {
        std::vector<INPUT> ups;
        for (Button button : held_) ups.push_back(mouseInput(upFlag(button)));
        if (!ups.empty()) SendInput(static_cast<UINT>(ups.size()), ups.data(), sizeof(INPUT));
        pumpMessages();
    }
    held_.clear();
}
