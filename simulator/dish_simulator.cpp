#include "simulator/dish_simulator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "positioner/diseqc_decoder.h"
#include "positioner/diseqc_frame.h"
#include "positioner/hex_byte.h"
#include "positioner/usals.h"

namespace {

constexpr double INFINITE = std::numeric_limits<double>::infinity();

}  // namespace

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
    const DiseqcFrame frame = parseDiseqcFrame(bytes);
    if (!frame.command) {
        return reject("ignored: " + counted(bytes.size(), "byte") +
                      ", a command needs framing, address and command");
    }
    if (!isMasterCommand(*frame.framing)) {
        return reject("ignored: unknown framing " + hexCode(*frame.framing));
    }
    if (!isPositionerAddress(*frame.address)) {
        return reject("ignored: address " + hexCode(*frame.address) + " is not a positioner's");
    }
    const std::uint8_t command = *frame.command;
    if (frame.kind == nullptr) return reject("ignored: unknown command " + hexCode(command));
    const std::span<const std::uint8_t> data = frame.data;
    if (frame.missingData() != 0 || frame.extraData() != 0) {
        return reject("ignored: command " + hexCode(command) + " with " +
                      counted(data.size(), "data byte"));
    }
    const std::string name = frame.kind->name;
    const std::uint8_t n = frame.firstData();
    const double angle = dish.angleAt(at);

    switch (command) {
        case DISEQC_HALT:
            outcome.note = name + " at " + formatAngle(angle);
            dish.requested = angle;
            rebase(dish, at);
            break;
        case DISEQC_DRIVE_EAST:
        case DISEQC_DRIVE_WEST: {
            const bool east = command == DISEQC_DRIVE_EAST;
            double degrees = INFINITE;
            if (n >= 0x80) degrees = (0x100 - n) * DEGREES_PER_STEP;
            if (n > 0 && n < 0x80) degrees = n * dish.speed;
            outcome.note = describeDrive(*frame.kind, n);
            startMotion(dish, at, east ? angle + degrees : angle - degrees, outcome);
            break;
        }
        case DISEQC_STORE:
            if (n == 0) {
                outcome.note = frame.kind->whenZero;
                dish.limitsOn = true;
                rebase(dish, at);
            } else {
                outcome.note =
                    name + " " + formatAngle(angle) + " as position " + std::to_string(n);
                dish.stored[n] = angle;
            }
            break;
        case DISEQC_GOTO: {
            if (n == 0) {
                outcome.note = frame.kind->whenZero;
                startMotion(dish, at, 0.0, outcome);
                break;
            }
            const auto position = dish.stored.find(n);
            if (position == dish.stored.end()) {
                return reject("ignored: " + name + " position " + std::to_string(n) +
                              ", which is not set");
            }
            outcome.note = name + " position " + std::to_string(n);
            startMotion(dish, at, position->second, outcome);
            break;
        }
        case DISEQC_GOTO_ANGLE: {
            const std::uint8_t direction = readGotoAngle(data[0], data[1]).direction;
            if (direction != GOTO_ANGLE_EAST && direction != GOTO_ANGLE_WEST) {
                return reject("ignored: " + name + " with direction " + hexCode(direction));
            }
            const double requested = gotoAngleOf(data[0], data[1]);
            outcome.note = name + " " + formatAngle(requested);
            startMotion(dish, at, requested, outcome);
            break;
        }
        case DISEQC_RECALCULATE: {
            if (n == 0) {
                outcome.note = frame.kind->whenZero;
                dish.stored.clear();
                break;
            }
            const auto reference = dish.stored.find(n);
            if (reference == dish.stored.end()) {
                return reject("ignored: " + name + " from position " + std::to_string(n) +
                              ", which is not set");
            }
            const double shift = angle - reference->second;
            for (auto& [slot, stored] : dish.stored) stored += shift;
            outcome.note = name + " from position " + std::to_string(n) +
                           ": every position moves by " + formatAngle(shift);
            break;
        }
        case DISEQC_LIMITS_OFF:
            outcome.note = name;
            dish.limitsOn = false;
            rebase(dish, at);
            break;
        case DISEQC_LIMIT_EAST:
        case DISEQC_LIMIT_WEST: {
            const bool east = command == DISEQC_LIMIT_EAST;
            outcome.note = name + " at " + formatAngle(angle);
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
