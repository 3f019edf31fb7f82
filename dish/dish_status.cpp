#include "dish/dish_status.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string_view>

#include "positioner/decimal_text.h"
#include "positioner/joined_text.h"

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
    const std::string number = oneDecimal(std::fabs(degrees));
    return joined({number, DEGREE, number == "0.0" ? "" : degrees < 0.0 ? " W" : " E"});
}

std::string durationWords(double ms) {
    const double seconds = std::ceil(std::max(0.0, ms) / 1000.0);
    // Far beyond any arc: a number that still prints as one.
    const int whole = seconds < 1e9 ? static_cast<int>(seconds) : 1000000000;
    const int minutes = whole / 60;
    const int rest = whole % 60;
    const bool both = minutes > 0 && rest > 0;
    return joined({minutes > 0 ? std::to_string(minutes) : "", minutes > 0 ? " min" : "",
                   both ? " " : "", rest > 0 || minutes == 0 ? std::to_string(rest) : "",
                   rest > 0 || minutes == 0 ? " s" : ""});
}

std::string dishStatusWords(const DishModel& dish, double nowMs, ClockWords clock) {
    const DishMotion& motion = dish.motion();
    const std::optional<double> angle = dish.angleAt(nowMs);
    const bool moving = dish.movingAt(nowMs);
    if (moving && motion.to) {
        const std::string to = dishAngleWords(*motion.to);
        const std::string left = durationWords(remainingMs(dish, nowMs));
        if (motion.from) {
            return joined(
                {"Dish moving ", dishAngleWords(*motion.from), ARROW, to, ", about ", left});
        }
        return joined({"Dish moving to ", to, ", up to ", left});
    }
    if (angle && !moving) {
        return joined({"Dish at ", dishAngleWords(*angle), ", since ",
                       clock(std::max(motion.startMs, dish.endMs()))});
    }
    return joined({"Dish position unknown: a goto may take up to ",
                   durationWords(dish.worstCaseMs(std::nullopt))});
}

std::string travelWords(const DishModel& dish, double nowMs, double target) {
    const std::optional<double> angle = dish.angleAt(nowMs);
    if (!angle) return joined({"up to ", durationWords(dish.worstCaseMs(target))});
    return joined({"about ", durationWords(std::fabs(target - *angle) / dish.speed() * 1000.0)});
}
