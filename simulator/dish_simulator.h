#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Degrees either side of the reference position where the mechanics stop the dish.
inline constexpr double DEFAULT_END_STOP = 80.0;
// One motor step; the plug-in's drive conversion assumes 6.667 steps per degree.
inline constexpr double DEGREES_PER_STEP = 0.15;
// The bus is quiet this long before a command, then carries each byte in turn.
inline constexpr double BUS_QUIET_MS = 15.0;
inline constexpr double BUS_BYTE_MS = 13.5;

// Where the dish is at one moment. Angles in degrees, east positive.
struct DishState {
    double angle = 0.0;
    bool moving = false;
    // Where the motion in progress ends; the angle itself while idle.
    double target = 0.0;
    std::map<int, double> stored;
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
    double from = 0.0;
    double to = 0.0;
    double durationMs = 0.0;
};

// A positioner on a DiSEqC bus, fed the commands a master sends, in sending order, and asked
// where the dish is at any moment. Nothing here knows a clock: times are milliseconds on the
// caller's own scale.
class DishSimulator {
  public:
    explicit DishSimulator(double degreesPerSecond, double endStop = DEFAULT_END_STOP);

    CommandOutcome send(double sentMs, std::span<const std::uint8_t> bytes);
    // Another motor from `atMs` on; a motion in progress goes on from where the dish is then.
    void setSpeed(double atMs, double degreesPerSecond);
    DishState stateAt(double ms) const;
    double speed() const { return history_.back().dish.speed; }

  private:
    struct Dish {
        double speed = 0.0;
        double startMs = 0.0;
        double startAngle = 0.0;
        // Where the command asked to go (infinite for a drive until halted) and where the
        // stops and limits let it go.
        double requested = 0.0;
        double target = 0.0;
        std::map<int, double> stored;
        bool limitsOn = false;
        std::optional<double> eastLimit;
        std::optional<double> westLimit;

        double angleAt(double ms) const;
        double endMs() const;
    };
    struct Snapshot {
        double fromMs;
        Dish dish;
    };

    const Dish& dishAt(double ms) const;
    double eastBound(const Dish& dish) const;
    double westBound(const Dish& dish) const;
    // Sets the motion off from `angle` at `ms` towards where it was asked to go, as far as the
    // bounds let it.
    void aim(Dish& dish, double ms, double angle) const;
    // Restarts the motion in progress from where the dish is at `ms`, under the present bounds.
    void rebase(Dish& dish, double ms) const;
    void startMotion(Dish& dish, double ms, double requested, CommandOutcome& outcome) const;
    void apply(Dish& dish, std::span<const std::uint8_t> bytes, CommandOutcome& outcome) const;

    double endStop_;
    double busFreeMs_ = 0.0;
    std::vector<Snapshot> history_;
};

// A signed angle with two decimals, never "-0.00".
std::string formatAngle(double degrees);
