#pragma once

#include <array>
#include <cstdint>

#include "positioner/diseqc_command.h"

inline constexpr std::uint32_t MOTION_TIMER_ID = 40200;
inline constexpr std::uint32_t TICK_MS = 200;
inline constexpr std::uint32_t MIN_DRIVE_MS = 1000;

// Indicator controls: the dish swings forward and back, each end picture held for two ticks.
inline constexpr std::array<int, 10> FRAME_SEQUENCE{1027, 1029, 1030, 1031, 1032,
                                                    1032, 1031, 1030, 1029, 1027};

// Locked during a tracked drive, always walked in this order.
inline constexpr std::array<int, 12> MovementControls{1002, 1003, 1004, 1005, 1019, 1020,
                                                      1021, 1006, 1022, 1001, 1039, 1040};

// Control ids; 0 where there is nothing to hide or show.
struct TickOutcome {
    int hideFrame;
    int showFrame;
    // Kill the timer and unlock MovementControls.
    bool driveOver;
};

struct StopOutcome {
    // Kill the timer, hide hideFrame, unlock MovementControls and send halt.
    bool wasCounting;
    int hideFrame;
};

struct DriveStart {
    // false: nothing to lock, send or time.
    bool started;
    DiseqcCommand command;
};

// The positioner reports nothing back, so a drive is tracked by an estimate of its duration,
// counted in timer ticks, while an indicator animates.
class MotionTracker {
  public:
    static std::uint32_t durationMs(std::uint16_t degrees, float speed);

    std::uint32_t remainingTicks() const { return remainingTicks_; }
    int frameIndex() const { return frameIndex_; }
    int currentFrame() const;

    void beginDrive(std::uint16_t degrees, float speed, bool restartAnimation);
    // A whole drive click: 0 degrees starts nothing; only an east drive restarts the animation.
    DriveStart startDrive(std::uint16_t degrees, float speed, bool east);
    TickOutcome tick();
    StopOutcome stop();

  private:
    static constexpr int LAST_FRAME_INDEX = static_cast<int>(FRAME_SEQUENCE.size()) - 1;

    std::uint32_t remainingTicks_ = 0;
    int frameIndex_ = LAST_FRAME_INDEX;
};
