#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "tests/windows/setup_window_fixture.h"

// Entries of the extras window's side pickers.
constexpr int NORTH = 0;
constexpr int SOUTH = 1;
constexpr int EAST = 0;
constexpr int WEST = 1;

std::vector<HWND> extrasWindows();

// The setup window with its extras open beside it, both driven as a user does.
class ExtrasWindowTest : public SetupWindowTest {
  protected:
    // The setup window, then the extras from its system menu.
    void openBoth(const std::string& settings = factorySettingsFile());
    bool openExtras();
    const DialogDriver& extras() const { return extras_; }

    ModalBox clickExtrasAnswering(int id, const BoxAnswer& answer);
    // Typed into the satellite picker's own field, as a user types.
    void typeSatellite(const std::string& text);
    void typeAngle(const std::string& degrees, int side);
    void saveSite(const std::string& latitude, int northSouth, const std::string& longitude,
                  int eastWest);

    // The host messages that the commands make in the native dialect.
    std::vector<std::string> expected(const std::vector<Bytes>& commands) const;

  private:
    DialogDriver extras_;
};
