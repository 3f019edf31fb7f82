#include "positioner/decimal_text.h"

#include <algorithm>
#include <cmath>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The exact digits of a whole number of 2^52 or more: its 53-bit mantissa, doubled as often as
// its exponent says. No printf: it would take the plug-in's size past its bound.
std::string wholeDigits(double whole) {
    int exponent = 0;
    const double mantissa = std::frexp(whole, &exponent);
    std::string digits = std::to_string(static_cast<unsigned long long>(std::ldexp(mantissa, 53)));
    std::reverse(digits.begin(), digits.end());
    for (int doubling = 53; doubling < exponent; ++doubling) {
        int carry = 0;
        for (char& digit : digits) {
            const int doubled = (digit - '0') * 2 + carry;
            digit = static_cast<char>('0' + doubled % 10);
            carry = doubled / 10;
        }
        if (carry != 0) digits += '1';
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

}  // namespace

std::optional<double> decimalNumber(std::string_view text) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    double value = 0.0;
    std::size_t digits = 0;
    for (; at < text.size() && isDigit(text[at]); ++at, ++digits) {
        value = value * 10.0 + (text[at] - '0');
    }
    if (at < text.size() && text[at] == '.') {
        ++at;
        double scale = 1.0;
        std::size_t fraction = 0;
        for (; at < text.size() && isDigit(text[at]); ++at, ++fraction) {
            scale /= 10.0;
            value += (text[at] - '0') * scale;
        }
        if (fraction == 0) return std::nullopt;
        digits += fraction;
    }
    if (digits == 0 || at != text.size() || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

std::optional<double> degreesUpTo(std::string_view text, double most) {
    const std::optional<double> value = decimalNumber(text);
    if (!value || *value < 0.0 || *value > most) return std::nullopt;
    return value;
}

std::string oneDecimal(double value) {
    if (!(std::fabs(value) * 10.0 < 9e18)) {
        // Too large for its tenths to be counted in an integer; a double that large holds none.
        return (value < 0.0 ? "-" : "") + wholeDigits(std::fabs(value)) + ".0";
    }
    const long long tenths = std::llround(std::fabs(value) * 10.0);
    std::string text = value < 0.0 && tenths != 0 ? "-" : "";
    text += std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    return text;
}

int nearestWholeNumber(std::string_view text, int lowest, int highest, int otherwise) {
    const std::optional<double> value = decimalNumber(text);
    if (!value) return otherwise;
    // Clamped before rounding: a value far out of range must not overflow the conversion.
    return static_cast<int>(std::lround(std::clamp(*value, double(lowest), double(highest))));
}
