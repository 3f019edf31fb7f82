#include "ui/dish_belief.h"

#include <utility>

#include "ui/custom_messages.h"
#include "win/wall_clock.h"

DishBelief::DishBelief(std::string statePath, double degreesPerSecond)
    : tracker_(std::move(statePath), files_, &lock_, degreesPerSecond) {}

void DishBelief::commandSent(std::span<const std::uint8_t> bytes) {
    tracker_.commandSent(wallClockMs(), bytes);
    changed();
}

void DishBelief::speedChanged(double degreesPerSecond) {
    tracker_.speedChanged(wallClockMs(), degreesPerSecond);
    changed();
}

void DishBelief::changed() const {
    if (shownIn_) sendMessageTo(shownIn_, DishBeliefChanged{});
}
