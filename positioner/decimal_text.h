#pragma once

#include <optional>
#include <string>
#include <string_view>

// Decimal numbers as users type them and the settings file keeps them: an optional sign, digits,
// an optional point with more digits. No exponent, no locale: a comma never counts as a point.
std::optional<double> decimalNumber(std::string_view text);

// A number of degrees as typed into a field whose side (north or south, east or west) is picked
// apart: a decimal from 0 up to `most`; nothing for anything else.
std::optional<double> degreesUpTo(std::string_view text, double most);

// The finite value rounded to one decimal, e.g. "-33.9"; never "-0.0".
std::string oneDecimal(double value);

// The whole number from `lowest` to `highest` nearest to what `text` holds, or `otherwise` when it
// holds no number at all.
int nearestWholeNumber(std::string_view text, int lowest, int highest, int otherwise);
