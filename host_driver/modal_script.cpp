#include "host_driver/modal_script.h"

namespace {

// A modal loop that is not ours offers no event to wait on; a thread timer is
// what every such loop dispatches.
constexpr UINT POLL_MS = 20;
ModalScript* activeScript = nullptr;

}  // namespace

ModalScript::~ModalScript() {
    if (timer_) KillTimer(nullptr, timer_);
    if (activeScript == this) activeScript = nullptr;
}

ModalScript& ModalScript::when(const char* caption, Action action) {
    const std::string wanted = caption;
    return when([wanted](HWND dialog) { return windowText(dialog) == wanted; }, std::move(action));
}

ModalScript& ModalScript::when(Match matches, Action action) {
    steps_.push_back({std::move(matches), std::move(action)});
    return *this;
}

bool ModalScript::runDuring(const std::function<void()>& action) {
    activeScript = this;
    next_ = 0;
    timer_ = SetTimer(nullptr, 0, POLL_MS, &ModalScript::onTimer);
    action();
    KillTimer(nullptr, timer_);
    timer_ = 0;
    activeScript = nullptr;
    return next_ == steps_.size();
}

void CALLBACK ModalScript::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* self = activeScript;
    if (!self || self->next_ >= self->steps_.size()) return;
    HWND window = findDialog(self->steps_[self->next_].matches);
    if (!window) return;
    // Counted before it runs: a step that opens another modal window is
    // still running when the next step answers that window.
    const Step& step = self->steps_[self->next_++];
    step.action(window);
}
