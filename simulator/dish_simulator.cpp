#include "simulator/dish_simulator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "positioner/positioner_commands.h"
#include "positioner/usals.h"

namespace {

constexpr std::uint8_t FRAMING_REPEAT = 0xE1;
constexpr std::uint8_t ADDRESS_ANY = 0x30;
constexpr std::uint8_t ADDRESS_ELEVATION = 0x32;

constexpr double INFINITE = std::numeric_limits<double>::infinity();

std::string hexByte(std::uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
    return text;
}

std::string plural(std::size_t count, const char* word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// Data bytes each command takes at most, and whether a missing one reads as zero.
struct Layout {
    std::size_t fewest;
    std::size_t most;
};

std::optional<Layout> layoutOf(std::uint8_t command) {
    switch (command) {
        case DISEQC_HALT:
        case DISEQC_LIMITS_OFF:
        case DISEQC_LIMIT_EAST:
        case DISEQC_LIMIT_WEST:
            return Layout{0, 0};
        case DISEQC_DRIVE_EAST:
        case DISEQC_DRIVE_WEST:
        case DISEQC_STORE:
        case DISEQC_GOTO:
        case DISEQC_RECALCULATE:
            return Layout{0, 1};
        case DISEQC_GOTO_ANGLE:
            return Layout{2, 2};
        default:
            return std::nullopt;
    }
}

std::string driveName(bool east, std::uint8_t data) {
    std::string name = east ? "drive east" : "drive west";
    if (data == 0) return name + " until halted";
    if (data < 0x80) return name + " for " + plural(data, "second");
    return name + " " + plural(0x100U - data, "step");
}

}  // namespace

// Whole degrees in the eight bits after the direction nibble, then the tenth. The nibble is
// sixteenths of a degree on the wire: a master that sends one outside the table of tenths still
// names an angle a real motor turns to, so it is taken to the nearest tenth (halves away from
// zero) rather than refused.
double gotoAngleOf(std::uint8_t high, std::uint8_t low) {
    const int whole = ((high & 0x0F) << 4) | (low >> 4);
    const std::uint8_t nibble = low & 0x0F;
    const auto exact = std::find(GOTO_ANGLE_TENTHS.begin(), GOTO_ANGLE_TENTHS.end(), nibble);
    const long tenths = exact != GOTO_ANGLE_TENTHS.end() ? exact - GOTO_ANGLE_TENTHS.begin()
                                                         : std::lround(nibble * 10.0 / 16.0);
    const double degrees = whole + static_cast<double>(tenths) / 10.0;
    return (high & 0xF0) == GOTO_ANGLE_WEST ? -degrees : degrees;
}

std::string formatAngle(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", degrees);
    std::string shown = text;
    if (shown == "-0.00") shown = "0.00";
    return shown;
}

double DishSimulator::Dish::angleAt(double ms) const {
    if (ms <= startMs || target == startAngle) return ms <= startMs ? startAngle : target;
    const double travelled = speed * (ms - startMs) / 1000.0;
    const double distance = std::abs(target - startAngle);
    if (travelled >= distance) return target;
    return target > startAngle ? startAngle + travelled : startAngle - travelled;
}

double DishSimulator::Dish::endMs() const {
    return startMs + std::abs(target - startAngle) / speed * 1000.0;
}

DishSimulator::DishSimulator(double degreesPerSecond, double endStop) : endStop_(endStop) {
    Dish dish;
    dish.speed = degreesPerSecond;
    history_.push_back({-INFINITE, dish});
}

const DishSimulator::Dish& DishSimulator::dishAt(double ms) const {
    const auto after = std::upper_bound(history_.begin(), history_.end(), ms,
                                        [](double at, const Snapshot& s) { return at < s.fromMs; });
    return std::prev(after)->dish;
}

DishState DishSimulator::stateAt(double ms) const {
    const Dish& dish = dishAt(ms);
    DishState state;
    state.angle = dish.angleAt(ms);
    state.moving = ms < dish.endMs() && dish.target != dish.startAngle;
    state.target = state.moving ? dish.target : state.angle;
    state.stored = dish.stored;
    state.limitsOn = dish.limitsOn;
    state.eastLimit = dish.eastLimit;
    state.westLimit = dish.westLimit;
    return state;
}

double DishSimulator::eastBound(const Dish& dish) const {
    if (dish.limitsOn && dish.eastLimit) return std::min(endStop_, *dish.eastLimit);
    return endStop_;
}

double DishSimulator::westBound(const Dish& dish) const {
    if (dish.limitsOn && dish.westLimit) return std::max(-endStop_, *dish.westLimit);
    return -endStop_;
}

void DishSimulator::aim(Dish& dish, double ms, double angle) const {
    dish.startMs = ms;
    dish.startAngle = angle;
    // A dish beyond a limit moves only back towards it.
    if (dish.requested > angle) {
        dish.target = std::max(angle, std::min(dish.requested, eastBound(dish)));
    } else if (dish.requested < angle) {
        dish.target = std::min(angle, std::max(dish.requested, westBound(dish)));
    } else {
        dish.target = angle;
    }
}

void DishSimulator::rebase(Dish& dish, double ms) const {
    const double angle = dish.angleAt(ms);
    // A motion that has ended, at a limit or not, does not resume when the limits change.
    if (ms >= dish.endMs()) dish.requested = angle;
    aim(dish, ms, angle);
}

void DishSimulator::startMotion(Dish& dish, double ms, double requested,
                                CommandOutcome& outcome) const {
    const double angle = dish.angleAt(ms);
    dish.requested = requested;
    aim(dish, ms, angle);
    outcome.motion = true;
    outcome.from = dish.startAngle;
    outcome.to = dish.target;
    outcome.durationMs = dish.endMs() - dish.startMs;
    outcome.note += ": " + formatAngle(outcome.from) + " -> " + formatAngle(outcome.to);
    const bool cut = requested > dish.target + 1e-9 || requested < dish.target - 1e-9;
    if (!cut) return;
    const bool east = requested > dish.startAngle;
    const double bound = east ? eastBound(dish) : westBound(dish);
    const bool atEndStop = std::abs(bound) == endStop_;
    outcome.note += std::string(", stops at the ") +
                    (atEndStop ? "end stop" : (east ? "east limit" : "west limit"));
}

CommandOutcome DishSimulator::send(double sentMs, std::span<const std::uint8_t> bytes) {
    CommandOutcome outcome;
    // One command on the bus at a time: one sent before the last has gone waits for it.
    const double start = std::max(sentMs, busFreeMs_);
    outcome.actsAtMs = start + BUS_QUIET_MS + BUS_BYTE_MS * static_cast<double>(bytes.size());
    busFreeMs_ = outcome.actsAtMs;

    Dish dish = history_.back().dish;
    apply(dish, bytes, outcome);
    if (outcome.accepted) history_.push_back({outcome.actsAtMs, std::move(dish)});
    return outcome;
}

void DishSimulator::setSpeed(double atMs, double degreesPerSecond) {
    const double at = std::max(atMs, history_.back().fromMs);
    Dish dish = history_.back().dish;
    if (dish.speed == degreesPerSecond) return;
    const double angle = dish.angleAt(at);
    dish.startMs = at;
    dish.startAngle = angle;
    dish.speed = degreesPerSecond;
    history_.push_back({at, std::move(dish)});
}

void DishSimulator::apply(Dish& dish, std::span<const std::uint8_t> bytes,
                          CommandOutcome& outcome) const {
    const double at = outcome.actsAtMs;
    auto reject = [&outcome](std::string why) { outcome.note = std::move(why); };
    if (bytes.size() < 3) {
        return reject("ignored: " + plural(bytes.size(), "byte") +
                      ", a command needs framing, address and command");
    }
    if (bytes[0] != DISEQC_FRAMING && bytes[0] != FRAMING_REPEAT) {
        return reject("ignored: unknown framing " + hexByte(bytes[0]));
    }
    if (bytes[1] != DISEQC_ADDR_POSITIONER && bytes[1] != ADDRESS_ANY &&
        bytes[1] != ADDRESS_ELEVATION) {
        return reject("ignored: address " + hexByte(bytes[1]) + " is not a positioner's");
    }
    const std::uint8_t command = bytes[2];
    const std::optional<Layout> layout = layoutOf(command);
    if (!layout) return reject("ignored: unknown command " + hexByte(command));
    const std::span<const std::uint8_t> data = bytes.subspan(3);
    if (data.size() < layout->fewest || data.size() > layout->most) {
        return reject("ignored: command " + hexByte(command) + " with " +
                      plural(data.size(), "data byte"));
    }
    // A zero data byte ends the command on the wire, so a missing one reads as zero.
    const std::uint8_t n = data.empty() ? 0 : data[0];
    const double angle = dish.angleAt(at);

    switch (command) {
        case DISEQC_HALT:
            outcome.note = "halt at " + formatAngle(angle);
            dish.requested = angle;
            rebase(dish, at);
            break;
        case DISEQC_DRIVE_EAST:
        case DISEQC_DRIVE_WEST: {
            const bool east = command == DISEQC_DRIVE_EAST;
            double degrees = INFINITE;
            if (n >= 0x80) degrees = (0x100 - n) * DEGREES_PER_STEP;
            if (n > 0 && n < 0x80) degrees = n * dish.speed;
            outcome.note = driveName(east, n);
            startMotion(dish, at, east ? angle + degrees : angle - degrees, outcome);
            break;
        }
        case DISEQC_STORE:
            if (n == 0) {
                outcome.note = "limits on";
                dish.limitsOn = true;
                rebase(dish, at);
            } else {
                outcome.note = "store " + formatAngle(angle) + " as position " + std::to_string(n);
                dish.stored[n] = angle;
            }
            break;
        case DISEQC_GOTO: {
            if (n == 0) {
                outcome.note = "goto reference position";
                startMotion(dish, at, 0.0, outcome);
                break;
            }
            const auto position = dish.stored.find(n);
            if (position == dish.stored.end()) {
                return reject("ignored: goto position " + std::to_string(n) + ", which is not set");
            }
            outcome.note = "goto position " + std::to_string(n);
            startMotion(dish, at, position->second, outcome);
            break;
        }
        case DISEQC_GOTO_ANGLE: {
            const std::uint8_t prefix = data[0] & 0xF0;
            if (prefix != GOTO_ANGLE_EAST && prefix != GOTO_ANGLE_WEST) {
                return reject("ignored: goto angle with direction " + hexByte(prefix));
            }
            const double requested = gotoAngleOf(data[0], data[1]);
            outcome.note = "goto angle " + formatAngle(requested);
            startMotion(dish, at, requested, outcome);
            break;
        }
        case DISEQC_RECALCULATE: {
            if (n == 0) {
                outcome.note = "clear every stored position";
                dish.stored.clear();
                break;
            }
            const auto reference = dish.stored.find(n);
            if (reference == dish.stored.end()) {
                return reject("ignored: recalculate from position " + std::to_string(n) +
                              ", which is not set");
            }
            const double shift = angle - reference->second;
            for (auto& [slot, stored] : dish.stored) stored += shift;
            outcome.note = "recalculate from position " + std::to_string(n) +
                           ": every position moves by " + formatAngle(shift);
            break;
        }
        case DISEQC_LIMITS_OFF:
            outcome.note = "limits off";
            dish.limitsOn = false;
            rebase(dish, at);
            break;
        case DISEQC_LIMIT_EAST:
        case DISEQC_LIMIT_WEST: {
            const bool east = command == DISEQC_LIMIT_EAST;
            outcome.note = std::string(east ? "east" : "west") + " limit at " + formatAngle(angle);
            (east ? dish.eastLimit : dish.westLimit) = angle;
            dish.limitsOn = true;
            rebase(dish, at);
            break;
        }
        default:
            break;
    }
    outcome.accepted = true;
}
