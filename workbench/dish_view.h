#pragma once

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "positioner/positioner_model.h"
#include "simulator/dish_simulator.h"
#include "workbench/plugin_settings.h"

// The dish that the plug-in steers: a simulated positioner fed every command
// the plug-in sends, at the time it sends it, shown on a dial beside the log,
// and recorded for dish-sim when asked. Beside it the dial draws where the
// plug-in believes the dish to be, as its state file tells.
class DishView {
  public:
    // `fixedModel`: the speed of that model always; without one, the model the
    // user has chosen in the plug-in when a command comes.
    DishView(std::optional<PositionerModel> fixedModel, const std::string& tracePath);
    DishView(const DishView&) = delete;
    DishView& operator=(const DishView&) = delete;
    ~DishView();

    bool traceOpen() const { return trace_.is_open(); }
    bool createDial(HWND parent);
    HWND dial() const { return dial_; }

    // The log line for a command; `chosen` is the model the plug-in has stored,
    // if it could be read.
    std::string command(const std::vector<std::uint8_t>& bytes,
                        std::optional<PositionerModel> chosen);
    void paint(HDC dc, const RECT& area) const;
    // Redraws while the dish or the belief moves; stops the timer once both rest.
    void animate();

    // The plug-in's state file, read now and again at every command and every
    // redraw while the belief may move; never written. Empty: no belief.
    void watchBelief(std::string statePath);
    const std::string& beliefPath() const { return beliefPath_; }
    const PluginBelief& readBelief();

  private:
    std::uint64_t nowMs() const;
    void startAnimating();

    std::optional<PositionerModel> fixedModel_;
    PositionerModel model_;
    DishSimulator simulator_;
    ULONGLONG startTick_;
    std::ofstream trace_;
    HWND dial_ = nullptr;
    bool animating_ = false;
    std::string beliefPath_;
    PluginBelief belief_;
};

// "1.95°E", "13.05°W", "0.00°", in UTF-8; "unknown" where it is.
std::string dishAngleText(double degrees);
std::string dishAngleText(std::optional<double> degrees);
