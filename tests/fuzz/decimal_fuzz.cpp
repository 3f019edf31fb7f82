// Feeds arbitrary text to the decimal reader that the site fields, the typed angle and the
// settings file share, and holds it against the standard library's reader.

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "positioner/decimal_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The reader's rule put another way: a sign only in front, one point at most with a digit after
// it, and a digit somewhere (".5" is a number, "5." is not).
bool looksDecimal(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view("0") : text.substr(point + 1);
    for (const std::string_view part : {whole, fraction}) {
        for (const char c : part)
            if (!isDigit(c)) return false;
    }
    return !fraction.empty() && !(whole.empty() && point == std::string_view::npos);
}

std::optional<double> standardValue(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = textOf(data, size);
    const std::optional<double> value = decimalNumber(text);
    if (!value) {
        // Refused: not a decimal, or one too large for a double.
        const std::optional<double> standard =
            looksDecimal(text) ? standardValue(text) : std::nullopt;
        check(!standard || std::fabs(*standard) > 1e307, "a decimal is read");
        return 0;
    }
    check(looksDecimal(text), "only a decimal is read");
    check(std::isfinite(*value), "a value read is finite");
    const std::optional<double> standard = standardValue(text);
    // The standard reader refuses what lies beyond a double at either end.
    check(standard || std::fabs(*value) < 1e-300 || std::fabs(*value) > 1e307,
          "the standard reader reads it too");
    check(!standard || std::fabs(*value - *standard) <= 1e-12 * std::fabs(*standard) + 1e-300,
          "the value is the standard reader's");

    const std::string shown = oneDecimal(*value);
    check(shown != "-0.0", "no negative zero");
    const std::optional<double> again = decimalNumber(shown);
    check(again.has_value(), "what oneDecimal prints reads back");
    check(std::fabs(*again - *value) <= 0.05 + 1e-12 * std::fabs(*value),
          "oneDecimal is within a twentieth");
    // Below this, a double holds every tenth, and reading a tenth back cannot miss it.
    if (std::fabs(*value) < 1e14) {
        check(oneDecimal(*again) == shown, "printed again, it reads the same");
    }
    return 0;
}
