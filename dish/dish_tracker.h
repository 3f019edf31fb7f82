#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "dish/dish_model.h"
#include "store/edit_lock.h"
#include "store/file_store.h"

// The dish's state file sits beside the settings file, which it never touches: "diseqc.ini" gives
// "diseqc.dish". Paths are UTF-8.
std::string dishStatePathFor(std::string_view settingsPath);

// The plug-in's belief of where the dish is, kept in the state file so that a restart, or a kill
// in mid-move, finds it again. Each command costs one read of the file and one replacement of it,
// under the lock, so that two viewers on one dish add up their commands; nothing is written on a
// timer. Times are milliseconds of the wall clock, the only clock that runs on between two runs.
class DishTracker {
  public:
    // No path (the module's own could not be read): the belief lives in memory only.
    DishTracker(std::string statePath, FileStore& files, EditLock* lock, double degreesPerSecond);

    // What the state file holds now; missing, unreadable or damaged, the dish is unknown.
    void reload();
    // A command that went to the host at `sentMs`. False when the state could not be kept: the
    // belief still follows it, and the file holds what it held.
    bool commandSent(double sentMs, std::span<const std::uint8_t> bytes);
    // The user chose a positioner of another speed; a motion in progress goes on at it.
    bool speedChanged(double atMs, double degreesPerSecond);

    const DishModel& dish() const { return dish_; }
    const std::string& statePath() const { return path_; }

  private:
    template <typename Change>
    bool change(double atMs, Change&& apply);

    std::string path_;
    FileStore& files_;
    EditLock* lock_;
    double speed_;
    // One command on the bus at a time: when the last one acted.
    double busFreeMs_ = 0.0;
    DishModel dish_;
};
