#pragma once

#include <optional>
#include <string>

#include "dish/dish_model.h"

// The words the plug-in shows for its belief, in UTF-8.

// "15.6° E", "3.0° W", "0.0°".
std::string dishAngleWords(double degrees);
// Rounded up to whole seconds: "8 s", "3 min", "3 min 20 s".
std::string durationWords(double ms);

// The local time of day at a moment of the wall clock, such as "14:02".
using ClockWords = std::string (*)(double wallClockMs);

// What the dish does at `nowMs`:
//   "Dish at 15.6° E, since 14:02"
//   "Dish moving 3.7° E → 15.6° E, about 8 s"
//   "Dish moving to 15.6° E, up to 1 min 40 s" (from where it was not known)
//   "Dish position unknown: a goto may take up to 3 min 20 s"
std::string dishStatusWords(const DishModel& dish, double nowMs, ClockWords clock);

// How long a goto to `target` takes from the state at `nowMs`: "about 8 s", or "up to 3 min 20 s"
// when the dish's angle is not known.
std::string travelWords(const DishModel& dish, double nowMs, double target);
