#include "dish/dish_status.h"

#include <algorithm>
#include <cmath>

#include "positioner/decimal_text.h"

namespace {

constexpr char DEGREE[] = "\xC2\xB0";
constexpr char ARROW[] = " \xE2\x86\x92 ";

// A dish may be asked about a moment before its last command acted; it then is where that
// command found it.
double remainingMs(const DishModel& dish, double nowMs) {
    return std::max(0.0, dish.endMs() - std::max(nowMs, dish.motion().startMs));
}

}  // namespace

std::string dishAngleWords(double degrees) {
    std::string text = oneDecimal(std::fabs(degrees));
    text += DEGREE;
    if (text != "0.0\xC2\xB0") text += degrees < 0.0 ? " W" : " E";
    return text;
}

std::string durationWords(double ms) {
    const double seconds = std::ceil(std::max(0.0, ms) / 1000.0);
    // Far beyond any arc: a number that still prints as one.
    const long long whole = seconds < 1e9 ? static_cast<long long>(seconds) : 1000000000LL;
    const long long minutes = whole / 60;
    const long long rest = whole % 60;
    std::string text;
    if (minutes > 0) text = std::to_string(minutes) + " min";
    if (rest > 0 || minutes == 0) {
        if (!text.empty()) text += ' ';
        text += std::to_string(rest) + " s";
    }
    return text;
}

std::string dishStatusWords(const DishModel& dish, double nowMs, ClockWords clock) {
    const DishMotion& motion = dish.motion();
    const std::optional<double> angle = dish.angleAt(nowMs);
    if (dish.movingAt(nowMs) && motion.to) {
        const std::string left = durationWords(remainingMs(dish, nowMs));
        if (motion.from) {
            return "Dish moving " + dishAngleWords(*motion.from) + ARROW +
                   dishAngleWords(*motion.to) + ", about " + left;
        }
        return "Dish moving to " + dishAngleWords(*motion.to) + ", up to " + left;
    }
    if (angle && !dish.movingAt(nowMs)) {
        return "Dish at " + dishAngleWords(*angle) + ", since " +
               clock(std::max(motion.startMs, dish.endMs()));
    }
    return "Dish position unknown: a goto may take up to " +
           durationWords(dish.worstCaseMs(std::nullopt));
}

std::string travelWords(const DishModel& dish, double nowMs, double target) {
    const std::optional<double> angle = dish.angleAt(nowMs);
    if (!angle) return "up to " + durationWords(dish.worstCaseMs(target));
    return "about " + durationWords(std::fabs(target - *angle) / dish.speed() * 1000.0);
}
