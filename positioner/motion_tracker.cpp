#include "positioner/motion_tracker.h"

#include "positioner/positioner_commands.h"

std::uint32_t MotionTracker::durationMs(std::uint16_t degrees, float speed) {
    const double seconds = static_cast<double>(degrees) / static_cast<double>(speed);
    const auto ms = static_cast<std::uint32_t>(seconds * 1000.0);
    return ms < MIN_DRIVE_MS ? MIN_DRIVE_MS : ms;
}

int MotionTracker::currentFrame() const {
    return FRAME_SEQUENCE[static_cast<std::size_t>(frameIndex_)];
}

void MotionTracker::beginDrive(std::uint16_t degrees, float speed, bool restartAnimation) {
    remainingTicks_ = durationMs(degrees, speed) / TICK_MS;
    if (restartAnimation) frameIndex_ = LAST_FRAME_INDEX;
}

DriveStart MotionTracker::startDrive(std::uint16_t degrees, float speed, bool east) {
    if (degrees == 0) return {false, DiseqcCommand{}};
    beginDrive(degrees, speed, east);
    return {true,
            east ? PositionerCommands::driveEast(degrees) : PositionerCommands::driveWest(degrees)};
}

TickOutcome MotionTracker::tick() {
    // The tick after the count has run out ends the drive, so the last frame stays up for a
    // full period. A stray tick while idle repeats that end harmlessly.
    if (remainingTicks_ == 0) return {currentFrame(), NO_PICTURE, true};

    --remainingTicks_;
    const int hidden = currentFrame();
    frameIndex_ = frameIndex_ == LAST_FRAME_INDEX ? 0 : frameIndex_ + 1;
    return {hidden, currentFrame(), false};
}

StopOutcome MotionTracker::stop() {
    // In the last period the positioner has nominally arrived; the next tick ends the drive.
    if (remainingTicks_ == 0) return {false, NO_PICTURE};
    remainingTicks_ = 0;
    return {true, currentFrame()};
}
