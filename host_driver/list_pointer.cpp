#include "host_driver/list_pointer.h"

#include <cstdlib>

#include <commctrl.h>

#include "host_driver/input_delivery.h"
#include "host_driver/message_pump.h"

namespace {

constexpr char INPUT_LOCK_NAME[] = "diseqc-pointer";
constexpr DWORD INPUT_LOCK_WAIT_MS = 60000;
// Well past the drag threshold of a few pixels, still on the name.
constexpr int PULL_PIXELS = 14;
constexpr int BESIDE_LIST_PIXELS = 24;

DWORD downFlag(MouseButton button) {
    return button == MouseButton::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
}
DWORD upFlag(MouseButton button) {
    return button == MouseButton::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
}
UINT downMessage(MouseButton button) {
    return button == MouseButton::Left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
}
UINT upMessage(MouseButton button) {
    return button == MouseButton::Left ? WM_LBUTTONUP : WM_RBUTTONUP;
}
const char* buttonName(MouseButton button) {
    return button == MouseButton::Left ? "left" : "right";
}

std::string describePoint(POINT at) {
    return std::to_string(at.x) + "," + std::to_string(at.y);
}

bool messagesPathRequested() {
    const char* choice = std::getenv("DISEQC_TEST_POINTER");
    return choice != nullptr && std::string(choice) == "messages";
}

}  // namespace

PointerStep press(MouseButton button, int row) {
    return {.kind = PointerStep::Kind::Press, .button = button, .row = row};
}
PointerStep moveTo(int row, int offsetX) {
    return {.kind = PointerStep::Kind::Move, .row = row, .offsetX = offsetX};
}
PointerStep pull(int row) {
    return moveTo(row, PULL_PIXELS);
}
PointerStep moveBeside(int row) {
    return {.kind = PointerStep::Kind::Move, .row = row, .besideList = true};
}
PointerStep release(MouseButton button) {
    return {.kind = PointerStep::Kind::Release, .button = button};
}

Pointer::Pointer(HWND dialog, HWND list)
    : dialog_(dialog), list_(list), retrievals_(std::make_unique<MouseRetrievals>()) {
    real_ = !messagesPathRequested() && probe();
}

Pointer::~Pointer() {
    releaseHeldButtons();
    retrievals_.reset();
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
    const InputBatch away{.inputs = {moveInput(first)}, .what = "probe"};
    const InputBatch onto{.inputs = {moveInput(second)},
                          .awaited = WM_MOUSEMOVE,
                          .matchPoint = true,
                          .at = second,
                          .window = list_,
                          .what = "probe move"};
    if (!deliverInput(*retrievals_, {away, onto}).empty()) return false;
    POINT cursor{};
    GetCursorPos(&cursor);
    return cursor.x == second.x && cursor.y == second.y;
}

std::string Pointer::retrievedMessages() const {
    return retrievals_->describeSince(0);
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
    std::vector<InputBatch> batches;
    for (const PointerStep& step : steps) {
        switch (step.kind) {
            case PointerStep::Kind::Press: {
                const POINT at = screenPoint(step);
                batches.push_back({.inputs = {moveInput(at), mouseInput(downFlag(step.button))},
                                   .awaited = downMessage(step.button),
                                   .what = std::string(buttonName(step.button)) + " press at " +
                                           describePoint(at)});
                held_.insert(step.button);
                break;
            }
            case PointerStep::Kind::Move: {
                const POINT at = screenPoint(step);
                batches.push_back({.inputs = {moveInput(at)},
                                   .awaited = WM_MOUSEMOVE,
                                   .matchPoint = true,
                                   .at = at,
                                   .what = "move to " + describePoint(at)});
                break;
            }
            case PointerStep::Kind::Release:
                batches.push_back({.inputs = {mouseInput(upFlag(step.button))},
                                   .awaited = upMessage(step.button),
                                   .what = std::string(buttonName(step.button)) + " release"});
                held_.erase(step.button);
                break;
        }
    }
    return deliverInput(*retrievals_, std::move(batches));
}

void Pointer::performMessages(const std::vector<PointerStep>& steps) {
    auto keys = [this] {
        WPARAM state = 0;
        if (held_.count(MouseButton::Left)) state |= MK_LBUTTON;
        if (held_.count(MouseButton::Right)) state |= MK_RBUTTON;
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
                            pressedButton_ == MouseButton::Left ? LVN_BEGINDRAG : LVN_BEGINRDRAG;
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
        return deliverInput(*retrievals_, {{.inputs = {moveInput(at), down, up, down, up},
                                            .awaited = WM_LBUTTONUP,
                                            .count = 2,
                                            .what = "double-click at " + describePoint(at)}});
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
        for (MouseButton button : held_) ups.push_back(mouseInput(upFlag(button)));
        if (!ups.empty()) SendInput(static_cast<UINT>(ups.size()), ups.data(), sizeof(INPUT));
        pumpMessages();
    }
    held_.clear();
}
