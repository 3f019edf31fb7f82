#pragma once

#include <cstdint>
#include <span>
#include <string>

#include <windows.h>

#include "dish/dish_tracker.h"
#include "store/win32_edit_lock.h"
#include "store/win32_file_store.h"

// The plug-in's one belief of where the dish is, shared by its two windows. Every command that
// either window sends reaches it through HostCommands, and the window that shows it is told at
// once, whichever window sent. The lock is taken on the state file's path: it is not the
// settings file's, so that an edit of the names never waits for a command, nor the reverse.
class DishBelief {
  public:
    // No path (the module's own could not be read): the belief lives in memory only.
    DishBelief(std::string statePath, double degreesPerSecond);
    DishBelief(const DishBelief&) = delete;
    DishBelief& operator=(const DishBelief&) = delete;

    const DishModel& dish() const { return tracker_.dish(); }
    // Another run, or another viewer, may have written the file since.
    void reload() { tracker_.reload(); }
    void commandSent(std::span<const std::uint8_t> bytes);
    void speedChanged(double degreesPerSecond);

    // The window told of every change with DishBeliefChanged; none tells no one.
    void showIn(HWND window) { shownIn_ = window; }

  private:
    void changed() const;

    Win32FileStore files_;
    Win32EditLock lock_;
    DishTracker tracker_;
    HWND shownIn_ = nullptr;
};
