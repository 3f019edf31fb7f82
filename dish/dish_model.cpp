#include "dish/dish_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "positioner/diseqc_frame.h"
#include "positioner/usals.h"

namespace {

constexpr double INFINITE = std::numeric_limits<double>::infinity();

}  // namespace

double commandActsAtMs(double sentMs, double busFreeMs, std::size_t bytes) {
    return std::max(sentMs, busFreeMs) + BUS_QUIET_MS + BUS_BYTE_MS * static_cast<double>(bytes);
}

DishModel::DishModel(double degreesPerSecond, double endStop) : endStop_(endStop) {
    motion_.speed = degreesPerSecond;
}

DishModel DishModel::atReference(double degreesPerSecond, double endStop) {
    DishModel dish(degreesPerSecond, endStop);
    dish.motion_.from = 0.0;
    dish.motion_.to = 0.0;
    // A new motor holds nothing, so a position it was never told is not set.
    dish.allStoredKnown_ = true;
    return dish;
}

DishModel DishModel::unknown(double degreesPerSecond, double endStop) {
    return DishModel(degreesPerSecond, endStop);
}

DishModel DishModel::restored(double endStop, const DishMotion& motion,
                              std::vector<StoredPosition> stored, bool limitsOn,
                              std::optional<double> eastLimit, std::optional<double> westLimit) {
    DishModel dish(motion.speed, endStop);
    dish.motion_ = motion;
    dish.stored_ = std::move(stored);
    dish.limitsOn_ = limitsOn;
    dish.eastLimit_ = eastLimit;
    dish.westLimit_ = westLimit;
    return dish;
}

std::optional<double> DishModel::angleAt(double ms) const {
    const DishMotion& m = motion_;
    if (ms <= m.startMs) return m.from;
    if (m.from && m.to) {
        if (*m.to == *m.from) return m.to;
        const double travelled = m.speed * (ms - m.startMs) / 1000.0;
        if (travelled >= std::abs(*m.to - *m.from)) return m.to;
        return *m.to > *m.from ? *m.from + travelled : *m.from - travelled;
    }
    if (m.to && ms >= endMs()) return m.to;
    return std::nullopt;
}

double DishModel::endMs() const {
    const DishMotion& m = motion_;
    if (m.from && m.to) return m.startMs + std::abs(*m.to - *m.from) / m.speed * 1000.0;
    if (m.to) return m.startMs + worstCaseMs(m.to);
    return m.startMs + std::min(m.reach, arcEast() - arcWest()) / m.speed * 1000.0;
}

bool DishModel::movingAt(double ms) const {
    const double end = endMs();
    return ms < end && end > motion_.startMs;
}

double DishModel::worstCaseMs(std::optional<double> target) const {
    const double degrees =
        target ? std::max(*target - arcWest(), arcEast() - *target) : arcEast() - arcWest();
    return std::max(0.0, degrees) / motion_.speed * 1000.0;
}

double DishModel::eastBound() const {
    if (limitsOn_ && eastLimit_) return std::min(endStop_, *eastLimit_);
    return endStop_;
}

double DishModel::westBound() const {
    if (limitsOn_ && westLimit_) return std::max(-endStop_, *westLimit_);
    return -endStop_;
}

// With a limit unknown, or the limits off, the dish may have been driven past a known one.
bool DishModel::bothLimitsKnown() const {
    return limitsOn_ && eastLimit_ && westLimit_;
}

double DishModel::arcEast() const {
    return bothLimitsKnown() ? eastBound() : endStop_;
}

double DishModel::arcWest() const {
    return bothLimitsKnown() ? westBound() : -endStop_;
}

void DishModel::aim(double ms, std::optional<double> angle) {
    motion_.startMs = ms;
    motion_.from = angle;
    const double requested = motion_.requested;
    if (!angle) {
        // Wherever it is, a dish asked past a bound ends at it.
        motion_.to = std::clamp(requested, westBound(), eastBound());
        return;
    }
    // A dish beyond a limit moves only back towards it.
    if (requested > *angle) {
        motion_.to = std::max(*angle, std::min(requested, eastBound()));
    } else if (requested < *angle) {
        motion_.to = std::min(*angle, std::max(requested, westBound()));
    } else {
        motion_.to = angle;
    }
}

void DishModel::rebase(double ms) {
    const std::optional<double> angle = angleAt(ms);
    if (!motion_.to) return;
    if (!angle) {
        // A dish coming from an unknown angle may be past the new bounds, or may have stopped at
        // the old ones; only a target within the bounds all along stays sure.
        const double requested = motion_.requested;
        if (*motion_.to == requested && requested <= eastBound() && requested >= westBound()) {
            return;
        }
        lose(ms, INFINITE);
        return;
    }
    // A motion that has ended, at a limit or not, does not resume when the limits change.
    if (ms >= endMs()) motion_.requested = *angle;
    aim(ms, angle);
}

void DishModel::startMotion(double ms, double requested, DishEffect& effect) {
    const std::optional<double> angle = angleAt(ms);
    motion_.requested = requested;
    aim(ms, angle);
    effect.motion = true;
    effect.from = motion_.from;
    effect.to = motion_.to;
    effect.durationMs = endMs() - motion_.startMs;
    const double to = *motion_.to;
    const bool cut = requested > to + 1e-9 || requested < to - 1e-9;
    if (!cut) return;
    const bool east = requested > to;
    const double bound = east ? eastBound() : westBound();
    if (std::abs(bound) == endStop_) {
        effect.stop = MotionStop::EndStop;
    } else {
        effect.stop = east ? MotionStop::EastLimit : MotionStop::WestLimit;
    }
}

void DishModel::lose(double ms, double reach) {
    motion_.from = angleAt(ms);
    motion_.to = std::nullopt;
    motion_.startMs = ms;
    motion_.requested = 0.0;
    motion_.reach = reach;
}

void DishModel::setSpeed(double atMs, double degreesPerSecond) {
    if (motion_.speed == degreesPerSecond) return;
    motion_.from = angleAt(atMs);
    motion_.startMs = atMs;
    motion_.speed = degreesPerSecond;
}

std::optional<StoredPosition> DishModel::position(std::uint8_t slot) const {
    for (const StoredPosition& stored : stored_) {
        if (stored.slot == slot) return stored;
    }
    if (allStoredKnown_) return std::nullopt;
    return StoredPosition{slot, std::nullopt};
}

DishEffect DishModel::apply(double atMs, std::span<const std::uint8_t> bytes) {
    DishEffect effect;
    effect.angle = angleAt(atMs);
    effect.verdict = applyCommand(atMs, bytes, effect);
    return effect;
}

DishVerdict DishModel::applyCommand(double at, std::span<const std::uint8_t> bytes,
                                    DishEffect& effect) {
    const DiseqcFrame frame = parseDiseqcFrame(bytes);
    if (!frame.command) return DishVerdict::TooShort;
    if (!isMasterCommand(*frame.framing)) return DishVerdict::NotMasterCommand;
    if (!isPositionerAddress(*frame.address)) return DishVerdict::NotPositioner;
    if (frame.kind == nullptr) return DishVerdict::UnknownCommand;
    if (frame.missingData() != 0 || frame.extraData() != 0) return DishVerdict::WrongDataCount;
    const std::uint8_t command = *frame.command;
    const std::uint8_t n = frame.firstData();
    const std::optional<double> angle = effect.angle;

    // A motion to where the model cannot tell: the dish turns up to `reach` degrees from `angle`.
    auto loseMotion = [&](double reach) {
        lose(at, reach);
        effect.motion = true;
        effect.from = angle;
        effect.durationMs = endMs() - at;
    };

    switch (command) {
        case DISEQC_HALT:
            if (!angle) {
                lose(at, 0.0);
                break;
            }
            motion_.requested = *angle;
            rebase(at);
            break;
        case DISEQC_DRIVE_EAST:
        case DISEQC_DRIVE_WEST: {
            double degrees = INFINITE;
            if (n >= 0x80) degrees = (0x100 - n) * DEGREES_PER_STEP;
            if (n > 0 && n < 0x80) degrees = n * motion_.speed;
            if (!angle) {
                loseMotion(degrees);
                break;
            }
            startMotion(at, command == DISEQC_DRIVE_EAST ? *angle + degrees : *angle - degrees,
                        effect);
            break;
        }
        case DISEQC_STORE:
            if (n == 0) {
                limitsOn_ = true;
                rebase(at);
            } else {
                const auto place =
                    std::find_if(stored_.begin(), stored_.end(),
                                 [n](const StoredPosition& p) { return p.slot >= n; });
                if (place != stored_.end() && place->slot == n) {
                    place->angle = angle;
                } else {
                    stored_.insert(place, StoredPosition{n, angle});
                }
            }
            break;
        case DISEQC_GOTO: {
            if (n == 0) {
                startMotion(at, 0.0, effect);
                break;
            }
            const std::optional<StoredPosition> target = position(n);
            if (!target) return DishVerdict::PositionNotSet;
            if (!target->angle) {
                loseMotion(INFINITE);
                break;
            }
            startMotion(at, *target->angle, effect);
            break;
        }
        case DISEQC_GOTO_ANGLE: {
            const std::uint8_t direction = readGotoAngle(frame.data[0], frame.data[1]).direction;
            if (direction != GOTO_ANGLE_EAST && direction != GOTO_ANGLE_WEST) {
                return DishVerdict::BadDirection;
            }
            startMotion(at, gotoAngleOf(frame.data[0], frame.data[1]), effect);
            break;
        }
        case DISEQC_RECALCULATE: {
            // Motors differ in what they recalculate: some move their reference with the
            // positions, so neither the angle nor any stored angle stays sure.
            if (n == 0) {
                stored_.clear();
                allStoredKnown_ = true;
            } else {
                if (!position(n)) return DishVerdict::PositionNotSet;
                for (StoredPosition& stored : stored_) stored.angle = std::nullopt;
            }
            const double left = angle && motion_.to ? std::abs(*motion_.to - *angle)
                                : movingAt(at)      ? INFINITE
                                                    : 0.0;
            lose(at, left);
            motion_.from = std::nullopt;
            break;
        }
        case DISEQC_LIMITS_OFF:
            limitsOn_ = false;
            rebase(at);
            break;
        case DISEQC_LIMIT_EAST:
        case DISEQC_LIMIT_WEST:
            (command == DISEQC_LIMIT_EAST ? eastLimit_ : westLimit_) = angle;
            limitsOn_ = true;
            rebase(at);
            break;
        default:
            break;
    }
    return DishVerdict::Acted;
}
