#include "dish/dish_tracker.h"

#include "dish/dish_record.h"

std::string dishStatePathFor(std::string_view settingsPath) {
    std::string path(settingsPath);
    if (path.ends_with("ini")) path.resize(path.size() - 3);
    path += "dish";
    return path;
}

DishTracker::DishTracker(std::string statePath, FileStore& files, EditLock* lock,
                         double degreesPerSecond)
    : path_(std::move(statePath)),
      files_(files),
      lock_(lock),
      speed_(degreesPerSecond),
      dish_(DishModel::unknown(degreesPerSecond)) {
    reload();
}

void DishTracker::reload() {
    if (path_.empty()) return;
    const FileStore::Content content = files_.read(path_);
    dish_ = decodeDishRecord(content.state == FileStore::State::Read ? content.bytes : "", speed_);
}

template <typename Change>
bool DishTracker::change(double atMs, Change&& apply) {
    if (path_.empty()) {
        apply(atMs);
        return false;
    }
    const bool locked = lock_ == nullptr || lock_->acquire(path_);
    // Without the lock another viewer may be between its read and its replacement: the belief
    // follows the command, and the file is left to that viewer.
    if (locked) reload();
    apply(atMs);
    bool kept = false;
    if (locked) {
        kept = files_.replace(path_, encodeDishRecord(dish_));
        if (lock_ != nullptr) lock_->release();
    }
    return kept;
}

bool DishTracker::commandSent(double sentMs, std::span<const std::uint8_t> bytes) {
    return change(sentMs, [&](double at) {
        const double acts = commandActsAtMs(at, busFreeMs_, bytes.size());
        // A record left by a run at another speed: the motor is this one.
        dish_.setSpeed(acts, speed_);
        dish_.apply(acts, bytes);
        busFreeMs_ = acts;
    });
}

bool DishTracker::speedChanged(double atMs, double degreesPerSecond) {
    speed_ = degreesPerSecond;
    return change(atMs, [&](double at) { dish_.setSpeed(at, speed_); });
}
