#include "workbench/tour.h"

Tour::Tour(TourContext& workbench, std::vector<TourStep> steps)
    : workbench_(workbench), steps_(std::move(steps)) {}

void Tour::start(HWND window) {
    window_ = window;
    SetTimer(window_, TIMER_ID, TICK_MS, nullptr);
}

void Tour::stop() {
    if (window_) KillTimer(window_, TIMER_ID);
}

void Tour::tick() {
    // A step that pumps messages, or waits in a modal window, gets the ticks
    // that come meanwhile; they must not start other steps inside it.
    if (running_) return;
    while (next_ < steps_.size()) {
        const TourStep& step = steps_[next_];
        if (step.needsSetupWindow && setupWindowGone()) {
            ++next_;
            continue;
        }
        running_ = true;
        const StepResult result = step.run(*this);
        running_ = false;
        if (result == StepResult::Again) {
            ++ticksInStep;
        } else {
            ++next_;
            ticksInStep = 0;
        }
        return;
    }
    stop();
}

bool Tour::setupWindowGone() {
    if (setupWindow == nullptr) return true;
    if (IsWindow(setupWindow)) return false;
    log("tour: the setup window has closed");
    setupWindow = nullptr;
    return true;
}
