#include "workbench/tour.h"

#include "workbench/workbench.h"

Tour::Tour(Workbench& workbench, std::vector<TourStep> steps)
    : workbench(workbench), steps_(std::move(steps)) {}

void Tour::start() {
    SetTimer(workbench.window, TIMER_ID, TICK_MS, nullptr);
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
    KillTimer(workbench.window, TIMER_ID);
}

bool Tour::setupWindowGone() {
    if (setupWindow == nullptr) return true;
    if (IsWindow(setupWindow)) return false;
    workbench.log.line("tour: the setup window has closed");
    setupWindow = nullptr;
    return true;
}
