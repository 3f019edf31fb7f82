// Feeds arbitrary text to the reader of a satellite's orbital position ("19.2E", "30 W", the end
// of a satellite name), as the user types it or the settings file holds it.

#include <cmath>
#include <optional>
#include <string>

#include "positioner/decimal_text.h"
#include "positioner/usals.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool samePosition(std::optional<double> a, std::optional<double> b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text's last character other than a blank.
char lastMark(std::string_view text) {
    const std::size_t last = text.find_last_not_of(" \t");
    return last == std::string_view::npos ? '\0' : upper(text[last]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(textOf(data, size));
    const std::optional<double> position = orbitalPosition(text);

    // The position is read at the end: a name in front of a blank changes nothing.
    check(samePosition(orbitalPosition("Hot Bird " + text), position),
          "a name in front leaves the position");
    if (!position) return 0;

    check(std::isfinite(*position) && *position >= -180.0 && *position <= 180.0,
          "a position is a longitude");
    const char side = lastMark(text);
    check(side == 'E' || side == 'W', "a position ends with its side");
    check(side == 'E' ? !std::signbit(*position) : *position <= 0.0, "east is positive");

    // As the extras window shows it, with the degree sign, the position reads back the same.
    const std::string magnitude = oneDecimal(std::fabs(*position));
    const std::string sideText(1, std::signbit(*position) ? 'W' : 'E');
    const std::optional<double> shown = orbitalPosition(magnitude + "\xB0" + sideText);
    check(shown.has_value(), "a position shown reads back");
    check(std::fabs(*shown - *position) <= 0.05 + 1e-9, "a position shown is within a twentieth");
    check(samePosition(orbitalPosition("Astra " + magnitude + " " + sideText), shown),
          "the degree sign changes nothing");
    return 0;
}
