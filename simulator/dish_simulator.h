#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dish/dish_model.h"

// Where the dish is at one moment. Angles in degrees, east positive; absent where unknown.
struct DishState {
    std::optional<double> angle;
    // Whether the dish may still turn: where the end is unknown, until its latest possible end.
    bool moving = false;
    // Where the motion in progress ends; the angle itself while idle.
    std::optional<double> target;
    std::map<int, std::optional<double>> stored;
    bool limitsOn = false;
    std::optional<double> eastLimit;
    std::optional<double> westLimit;
};

// What one command did once it acted, or why it changed nothing.
struct CommandOutcome {
    double actsAtMs = 0.0;
    bool accepted = false;
    std::string note;
    // Set when the command set the dish in motion (a motion that ends where it starts included).
    bool motion = false;
    std::optional<double> from;
    std::optional<double> to;
    // Exact when both ends are known, else the longest the motion can take.
    double durationMs = 0.0;
};

enum class DishStart { AtReference, Unknown };

// A positioner on a DiSEqC bus, fed the commands a master sends, in sending order, and asked
// where the dish is at any moment. Nothing here knows a clock: times are milliseconds on the
// caller's own scale.
class DishSimulator {
  public:
    explicit DishSimulator(double degreesPerSecond, double endStop = DEFAULT_END_STOP,
                           DishStart start = DishStart::AtReference);

    CommandOutcome send(double sentMs, std::span<const std::uint8_t> bytes);
    // Another motor from `atMs` on; a motion in progress goes on from where the dish is then.
    void setSpeed(double atMs, double degreesPerSecond);
    DishState stateAt(double ms) const;
    double speed() const { return history_.back().dish.speed(); }

  private:
    struct Snapshot {
        double fromMs;
        DishModel dish;
    };

    const DishModel& dishAt(double ms) const;

    double busFreeMs_ = 0.0;
    std::vector<Snapshot> history_;
};

// A signed angle with two decimals, never "-0.00"; "unknown" where it is.
std::string formatAngle(double degrees);
std::string formatAngle(std::optional<double> degrees);
