#include "positioner/decimal_text.h"

#include <algorithm>
#include <cmath>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
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

std::string oneDecimal(double value) {
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
