#include "simulator/dish_simulator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "positioner/diseqc_decoder.h"
#include "positioner/diseqc_frame.h"
#include "positioner/hex_byte.h"

namespace {

std::string motionNote(const DishEffect& effect) {
    std::string note = ": " + formatAngle(effect.from) + " -> " + formatAngle(effect.to);
    switch (effect.stop) {
        case MotionStop::None:
            break;
        case MotionStop::EndStop:
            note += ", stops at the end stop";
            break;
        case MotionStop::EastLimit:
            note += ", stops at the east limit";
            break;
        case MotionStop::WestLimit:
            note += ", stops at the west limit";
            break;
    }
    return note;
}

// The note for a command that changed nothing, or an empty one.
std::string refusal(DishVerdict verdict, const DiseqcFrame& frame, std::size_t bytes) {
    const std::string name = frame.kind != nullptr ? frame.kind->name : "";
    const std::string position = std::to_string(frame.firstData());
    switch (verdict) {
        case DishVerdict::Acted:
            return "";
        case DishVerdict::TooShort:
            return "ignored: " + counted(bytes, "byte") +
                   ", a command needs framing, address and command";
        case DishVerdict::NotMasterCommand:
            return "ignored: unknown framing " + hexCode(*frame.framing);
        case DishVerdict::NotPositioner:
            return "ignored: address " + hexCode(*frame.address) + " is not a positioner's";
        case DishVerdict::UnknownCommand:
            return "ignored: unknown command " + hexCode(*frame.command);
        case DishVerdict::WrongDataCount:
            return "ignored: command " + hexCode(*frame.command) + " with " +
                   counted(frame.data.size(), "data byte");
        case DishVerdict::PositionNotSet:
            return "ignored: " + name +
                   (*frame.command == DISEQC_RECALCULATE ? " from position " : " position ") +
                   position + ", which is not set";
        case DishVerdict::BadDirection:
            return "ignored: " + name + " with direction " +
                   hexCode(readGotoAngle(frame.data[0], frame.data[1]).direction);
    }
    return "";
}

// What an accepted command did, in the log's words.
std::string actionNote(const DiseqcFrame& frame, const DishEffect& effect) {
    const DiseqcCommandKind& kind = *frame.kind;
    const std::string name = kind.name;
    const std::uint8_t n = frame.firstData();
    const std::string angle = effect.angle ? formatAngle(*effect.angle) : "an unknown angle";
    std::string note;
    switch (kind.code) {
        case DISEQC_HALT:
        case DISEQC_LIMIT_EAST:
        case DISEQC_LIMIT_WEST:
            note = name + " at " + angle;
            break;
        case DISEQC_DRIVE_EAST:
        case DISEQC_DRIVE_WEST:
            note = describeDrive(kind, n);
            break;
        case DISEQC_STORE:
            if (n == 0) {
                note = kind.whenZero;
            } else {
                note = name + " " + angle + " as position " + std::to_string(n);
            }
            break;
        case DISEQC_GOTO:
            note = n == 0 ? std::string(kind.whenZero) : name + " position " + std::to_string(n);
            break;
        case DISEQC_GOTO_ANGLE:
            note = name + " " + formatAngle(gotoAngleOf(frame.data[0], frame.data[1]));
            break;
        case DISEQC_RECALCULATE:
            note = n == 0 ? std::string(kind.whenZero) + ": the angle is unknown"
                          : name + " from position " + std::to_string(n) +
                                ": the angle and every stored angle are unknown";
            break;
        default:
            note = name;
            break;
    }
    if (effect.motion) note += motionNote(effect);
    return note;
}

}  // namespace

std::string formatAngle(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", degrees);
    std::string shown = text;
    if (shown == "-0.00") shown = "0.00";
    return shown;
}

std::string formatAngle(std::optional<double> degrees) {
    return degrees ? formatAngle(*degrees) : "unknown";
}

DishSimulator::DishSimulator(double degreesPerSecond, double endStop, DishStart start) {
    history_.push_back({-std::numeric_limits<double>::infinity(),
                        start == DishStart::AtReference
                            ? DishModel::atReference(degreesPerSecond, endStop)
                            : DishModel::unknown(degreesPerSecond, endStop)});
}

const DishModel& DishSimulator::dishAt(double ms) const {
    const auto after = std::upper_bound(history_.begin(), history_.end(), ms,
                                        [](double at, const Snapshot& s) { return at < s.fromMs; });
    return std::prev(after)->dish;
}

DishState DishSimulator::stateAt(double ms) const {
    const DishModel& dish = dishAt(ms);
    DishState state;
    state.angle = dish.angleAt(ms);
    state.moving = dish.movingAt(ms);
    state.target = state.moving ? dish.motion().to : state.angle;
    for (const StoredPosition& stored : dish.stored()) state.stored[stored.slot] = stored.angle;
    state.limitsOn = dish.limitsOn();
    state.eastLimit = dish.eastLimit();
    state.westLimit = dish.westLimit();
    return state;
}

CommandOutcome DishSimulator::send(double sentMs, std::span<const std::uint8_t> bytes) {
    CommandOutcome outcome;
    outcome.actsAtMs = commandActsAtMs(sentMs, busFreeMs_, bytes.size());
    busFreeMs_ = outcome.actsAtMs;

    DishModel dish = history_.back().dish;
    const DishEffect effect = dish.apply(outcome.actsAtMs, bytes);
    const DiseqcFrame frame = parseDiseqcFrame(bytes);
    outcome.accepted = effect.verdict == DishVerdict::Acted;
    if (!outcome.accepted) {
        outcome.note = refusal(effect.verdict, frame, bytes.size());
        return outcome;
    }
    outcome.note = actionNote(frame, effect);
    outcome.motion = effect.motion;
    outcome.from = effect.from;
    outcome.to = effect.to;
    outcome.durationMs = effect.durationMs;
    history_.push_back({outcome.actsAtMs, std::move(dish)});
    return outcome;
}

void DishSimulator::setSpeed(double atMs, double degreesPerSecond) {
    const double at = std::max(atMs, history_.back().fromMs);
    DishModel dish = history_.back().dish;
    if (dish.speed() == degreesPerSecond) return;
    dish.setSpeed(at, degreesPerSecond);
    history_.push_back({at, std::move(dish)});
}
