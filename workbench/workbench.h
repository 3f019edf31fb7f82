#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "workbench/command_line.h"
#include "workbench/dish_view.h"
#include "host_driver/plugin_module.h"
#include "workbench/workbench_log.h"

class Tour;

// Everything the workbench knows while it runs; one per process, owned by main.
struct Workbench {
    explicit Workbench(WorkbenchOptions options);
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    WorkbenchOptions options;
    PluginModule plugin;
    WorkbenchLog log;
    DishView dish;
    HWND window = nullptr;
    HWND status = nullptr;
    HWND list = nullptr;
    HMENU pluginPopup = nullptr;
    std::vector<UINT> pluginMenuIds;
    std::string displayName;
    std::unique_ptr<Tour> tour;
    bool pluginStopped = false;
    bool screenshotAttempted = false;
    int exitCode = 0;
};

// Exit codes besides 0.
inline constexpr int EXIT_USAGE_OR_LOAD = 1;  // bad arguments, plug-in or window missing
inline constexpr int EXIT_RUN_FAULT = 2;      // screenshot failed, plug-in left windows open

// main_window.cpp
bool createMainWindow(Workbench& workbench, std::string& error);
// Dispatches until the window is gone; returns the exit code.
int runMessageLoop();

// plugin_session.cpp: the plug-in's life as a viewer leads it.
void startPlugin(Workbench& workbench);
void selectPluginMenu(Workbench& workbench, UINT id);
LRESULT handleHostMessage(Workbench& workbench, WPARAM code, LPARAM data);
// On_Exit and unloading; runs once, later calls do nothing.
void stopPlugin(Workbench& workbench);

// screenshot.cpp: false when no file was written; says why in the log.
bool writeScreenshot(Workbench& workbench);
