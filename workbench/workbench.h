#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host_driver/plugin_module.h"
#include "workbench/command_line.h"
#include "workbench/dish_view.h"
#include "workbench/tour.h"
#include "workbench/workbench_log.h"

// Exit codes besides 0.
inline constexpr int EXIT_USAGE_OR_LOAD = 1;  // bad arguments, plug-in or window missing
inline constexpr int EXIT_RUN_FAULT = 2;      // screenshot failed, plug-in left windows open

// The viewer that the workbench plays for the plug-in: its window, the
// plug-in's life in it, the dish that the plug-in steers and the tour. One per
// process; its state changes only through its own methods, which its window
// procedure and its tour reach.
class Workbench : private TourContext {
  public:
    explicit Workbench(WorkbenchOptions options);
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Loads the plug-in, opens the window, starts the plug-in and the tour,
    // and dispatches until the window is gone. Returns the exit code.
    int run();

  private:
    // main_window.cpp
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    bool createWindow(std::string& error);
    HMENU createMenuBar();
    void createChildren(HWND window);
    void layout(int width, int height);
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onClose();
    void onDestroy();

    // plugin_session.cpp: the plug-in's life as a viewer leads it.
    void startPlugin();
    void updateStatus();
    void selectPluginMenu(UINT id);
    LRESULT handleHostMessage(WPARAM code, LPARAM data);
    void turnDish(const std::optional<std::vector<std::uint8_t>>& bytes);
    // On_Exit and unloading; runs once, later calls do nothing.
    void stopPlugin();

    // screenshot.cpp: says in the log why, when no file was written.
    void writeScreenshot();

    // Logs what went wrong; the workbench then exits with EXIT_RUN_FAULT.
    void fault(const std::string& line);

    // What the tour may do (tour_context.cpp).
    void log(const std::string& line) override;
    const std::string& displayName() const override { return displayName_; }
    bool pluginMenuOffers(UINT id) const override;
    const std::string& dishStatePath() const override { return dish_.beliefPath(); }
    DishStateRemoval forgetDishState() override;
    const PluginBelief& readDishBelief() override;
    void pickPluginMenu(UINT id) override;
    void placeWindow(int x, int y, int width, int height) override;
    bool screenshotWanted() const override { return !options_.screenshotPath.empty(); }
    void takeScreenshot() override;
    void close() override;

    WorkbenchOptions options_;
    PluginModule plugin_;
    WorkbenchLog log_;
    DishView dish_;
    // The plug-in's settings file, from which the dish takes the model.
    std::string settingsPath_;
    HWND window_ = nullptr;
    HWND status_ = nullptr;
    HWND list_ = nullptr;
    // The log's own font, or null where the stock one serves.
    HFONT logFont_ = nullptr;
    HMENU pluginPopup_ = nullptr;
    std::vector<UINT> pluginMenuIds_;
    std::string displayName_;
    std::unique_ptr<Tour> tour_;
    bool pluginStopped_ = false;
    bool screenshotAttempted_ = false;
    int exitCode_ = 0;
};
