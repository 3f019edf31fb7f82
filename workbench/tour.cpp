#include "workbench/tour.h"

#include "workbench/workbench.h"

Tour::Tour(Workbench& workbench, std::vector<TourStep> steps)
    : workbench(workbench), steps_(std::move(steps)) {}

void Tour::start() {
    SetTimer(workbench.window, TIMER_ID, TICK_MS, nullptr);
}

void Tour::tick() {
    while (next_ < steps_.size()) {
        const std::size_t index = next_;
        const TourStep& step = steps_[index];
        if (step.needsSetupWindow && setupWindowGone()) {
            ++next_;
            continue;
        }
        // Moving on before the step runs lets a step that opens a modal window
        // (whose own message loop keeps the ticks coming) be followed by the steps
        // that work inside that window.
        ++next_;
        const StepResult result = step.run(*this);
        if (result == StepResult::Again && next_ == index + 1) {
            next_ = index;
            ++ticksInStep;
        } else {
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
