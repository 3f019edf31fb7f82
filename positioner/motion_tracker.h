#pragma once

#include <array>
#include <cstdint>

#include "positioner/diseqc_command.h"

inline constexpr std::uint32_t TICK_MS = 200;
inline constexpr std::uint32_t MIN_DRIVE_MS = 1000;

// The indicator has five pictures of the dish, 0 to 4. It swings forward and back, each end
// picture held for two ticks.
inline constexpr int INDICATOR_PICTURES = 5;
inline constexpr std::array<int, 10> FRAME_SEQUENCE{0, 1, 2, 3, 4, 4, 3, 2, 1, 0};
inline constexpr int NO_PICTURE = -1;

// Pictures to hide and show; NO_PICTURE where there is nothing to do.
struct TickOutcome {
    int hideFrame;
    int showFrame;
    // Stop timing and unlock the controls that the drive locked.
    bool driveOver;
};

struct StopOutcome {
    // Stop timing, hide hideFrame, unlock the controls and send halt.
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
