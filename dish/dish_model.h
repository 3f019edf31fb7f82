#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Degrees either side of the reference position where the mechanics stop the dish.
inline constexpr double DEFAULT_END_STOP = 80.0;
// One motor step; the plug-in's drive conversion assumes 6.667 steps per degree.
inline constexpr double DEGREES_PER_STEP = 0.15;
// The bus is quiet this long before a command, then carries each byte in turn.
inline constexpr double BUS_QUIET_MS = 15.0;
inline constexpr double BUS_BYTE_MS = 13.5;

// When a command of `bytes` bytes sent at `sentMs` acts: one command on the bus at a time, so one
// sent before `busFreeMs` (when the last one acted) waits for it.
double commandActsAtMs(double sentMs, double busFreeMs, std::size_t bytes);

// What a command did; everything but Acted leaves the dish as it was.
enum class DishVerdict : std::uint8_t {
    Acted,
    // Fewer bytes than framing, address and command.
    TooShort,
    NotMasterCommand,
    NotPositioner,
    UnknownCommand,
    WrongDataCount,
    PositionNotSet,
    BadDirection,
};

// What cut a motion short of where it was asked to go.
enum class MotionStop : std::uint8_t { None, EndStop, EastLimit, WestLimit };

struct DishEffect {
    DishVerdict verdict = DishVerdict::Acted;
    // Where the dish was when the command acted.
    std::optional<double> angle;
    // Set when the command set the dish in motion (a motion that ends where it starts included).
    bool motion = false;
    std::optional<double> from;
    std::optional<double> to;
    // Exact when both ends are known, else the longest the motion can take.
    double durationMs = 0.0;
    MotionStop stop = MotionStop::None;
};

// A stored position that the motor holds; its angle is absent when the dish's angle was unknown
// as it was stored, or has become unknown since.
struct StoredPosition {
    std::uint8_t slot = 0;
    std::optional<double> angle;
};

// The last motion, from which the angle at any later moment follows. Angles in degrees, east
// positive; times in milliseconds on the caller's own scale.
struct DishMotion {
    double speed = 0.0;
    double startMs = 0.0;
    // Absent where unknown: an unknown start, or an end that the model cannot tell.
    std::optional<double> from;
    std::optional<double> to;
    // Where the command asked to go (infinite for a drive until halted), while `to` is known;
    // `to` is that, cut by the stops and limits.
    double requested = 0.0;
    // The most degrees the dish may turn, while `to` is unknown.
    double reach = 0.0;
};

// Where the dish is, as far as the commands sent to its positioner tell it. Nothing here knows a
// clock or words a note: the plug-in and the simulator share these rules and word them apart.
class DishModel {
  public:
    // A dish at the reference position whose motor holds no position and no limit.
    static DishModel atReference(double degreesPerSecond, double endStop = DEFAULT_END_STOP);
    // A dish about which nothing is known: no saved state.
    static DishModel unknown(double degreesPerSecond, double endStop = DEFAULT_END_STOP);
    // What the state record holds; the motor may hold positions beyond `stored`.
    static DishModel restored(double endStop, const DishMotion& motion,
                              std::vector<StoredPosition> stored, bool limitsOn,
                              std::optional<double> eastLimit, std::optional<double> westLimit);

    // The command acting at `atMs`, no earlier than the last one.
    DishEffect apply(double atMs, std::span<const std::uint8_t> bytes);
    // Another motor from `atMs` on; a motion in progress goes on from where the dish is then.
    void setSpeed(double atMs, double degreesPerSecond);

    // The model keeps no history: asked about a moment before the last command acted, it tells
    // where that command found the dish.
    std::optional<double> angleAt(double ms) const;
    // Whether the dish may still turn at `ms`: until the motion's end, or its latest possible
    // end where that is unknown.
    bool movingAt(double ms) const;
    double endMs() const;
    // The longest a motion to `target` (anywhere, when absent) can take from an unknown angle.
    double worstCaseMs(std::optional<double> target) const;

    const DishMotion& motion() const { return motion_; }
    double speed() const { return motion_.speed; }
    double endStop() const { return endStop_; }
    // In slot order.
    const std::vector<StoredPosition>& stored() const { return stored_; }
    bool limitsOn() const { return limitsOn_; }
    // Absent when not set, or set while the angle was unknown.
    std::optional<double> eastLimit() const { return eastLimit_; }
    std::optional<double> westLimit() const { return westLimit_; }

  private:
    DishModel(double degreesPerSecond, double endStop);

    double eastBound() const;
    double westBound() const;
    bool bothLimitsKnown() const;
    // The stretch an unknown dish may be anywhere in.
    double arcEast() const;
    double arcWest() const;
    void aim(double ms, std::optional<double> angle);
    void rebase(double ms);
    void startMotion(double ms, double requested, DishEffect& effect);
    // The dish turns on for up to `reach` degrees, to where the model cannot tell.
    void lose(double ms, double reach);
    std::optional<StoredPosition> position(std::uint8_t slot) const;
    DishVerdict applyCommand(double at, std::span<const std::uint8_t> bytes, DishEffect& effect);

    double endStop_;
    DishMotion motion_;
    std::vector<StoredPosition> stored_;
    // Whether a slot missing from `stored_` is known to be empty rather than unknown.
    bool allStoredKnown_ = false;
    bool limitsOn_ = false;
    std::optional<double> eastLimit_;
    std::optional<double> westLimit_;
};
