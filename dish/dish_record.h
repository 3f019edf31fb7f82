#pragma once

#include <string>
#include <string_view>

#include "dish/dish_model.h"

// The dish model's state as it is kept between runs: the last motion, the stored positions whose
// angles are known, and the limits. Numbers are written as the hex digits of their bits, so that
// a model read back gives the very angles it gave before, in any locale.
std::string encodeDishRecord(const DishModel& dish);

// A model from a record. Anything but a whole record (no text, a text cut short or damaged, a
// value no dish can have) reads as a dish about which nothing is known, turned at
// `degreesPerSecond`.
DishModel decodeDishRecord(std::string_view text, double degreesPerSecond,
                           double endStop = DEFAULT_END_STOP);
