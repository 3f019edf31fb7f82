#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "workbench/plugin_settings.h"

class Tour;

// What a tour step may see and do of the workbench, and nothing more: the
// steps drive the plug-in's windows themselves.
class TourContext {
  public:
    virtual void log(const std::string& line) = 0;
    // The name the plug-in gave for itself.
    virtual const std::string& displayName() const = 0;
    virtual bool pluginMenuOffers(UINT id) const = 0;
    // The file in which the plug-in keeps its belief of the dish; empty when
    // it has none.
    virtual const std::string& dishStatePath() const = 0;
    // Deletes that file, as if the plug-in had never run here; the dial
    // forgets the belief with it.
    virtual DishStateRemoval forgetDishState() = 0;
    // The belief as the file holds it now, as the dial shows it.
    virtual const PluginBelief& readDishBelief() = 0;
    // Picks the plug-in's entry of the workbench's menu, as a user does.
    virtual void pickPluginMenu(UINT id) = 0;
    // Moves and sizes the workbench's window, in screen coordinates.
    virtual void placeWindow(int x, int y, int width, int height) = 0;
    virtual bool screenshotWanted() const = 0;
    // Draws the workbench's window as it is now, then writes the screenshot.
    virtual void takeScreenshot() = 0;
    // Closes the workbench, as closing its window does.
    virtual void close() = 0;

  protected:
    ~TourContext() = default;
};

enum class StepResult {
    Done,   // go on with the next step at the next tick
    Again,  // run this step again at the next tick (waiting for something)
};

struct TourStep {
    // Steps that work on the plug-in's setup window are passed over when it
    // never appeared, so that the rest of the tour still runs.
    bool needsSetupWindow = false;
    std::function<StepResult(Tour&)> run;
};

// A scripted walk through the plug-in, one step per timer tick, so that the
// plug-in's windows get their messages between the steps just as they would
// between a user's clicks.
class Tour {
  public:
    static constexpr UINT_PTR TIMER_ID = 1;
    static constexpr UINT TICK_MS = 300;

    Tour(TourContext& workbench, std::vector<TourStep> steps);
    // The ticks come to `window`, which hands them to tick().
    void start(HWND window);
    void stop();
    void tick();

    TourContext& workbench() { return workbench_; }
    void log(const std::string& line) { workbench_.log(line); }

    HWND setupWindow = nullptr;
    // Once found, the steps work on its controls instead of the setup window's.
    HWND extrasWindow = nullptr;
    // Ticks the current step has already asked to run again.
    unsigned ticksInStep = 0;

  private:
    bool setupWindowGone();

    TourContext& workbench_;
    HWND window_ = nullptr;
    std::vector<TourStep> steps_;
    std::size_t next_ = 0;
    bool running_ = false;
};

// Ticks that cover at least `milliseconds`.
constexpr unsigned tourTicks(unsigned milliseconds) {
    return (milliseconds + Tour::TICK_MS - 1) / Tour::TICK_MS;
}

// The building blocks of a tour; each one logs what it does.
namespace TourSteps {
TourStep showDisplayName();
// Deletes the plug-in's dish state file, so that the plug-in starts from not
// knowing where the dish is.
TourStep forgetDishState();
// Waits until the plug-in's state file holds the dish at rest at a known
// angle, at most `maxTicks`; not at all when the plug-in keeps no such file.
TourStep waitForDishBelief(unsigned maxTicks);
TourStep menuCommand(UINT id);
TourStep findSetupWindow(const char* caption, unsigned maxTicks);
// A command of the setup window's system menu.
TourStep systemCommand(UINT id);
TourStep findExtrasWindow(const char* caption, unsigned maxTicks);
TourStep selectEntry(int comboId, int index);
// Types over the text of a field, or of a combo box's own field.
TourStep typeText(int controlId, const std::string& text);
// Logs what a control shows.
TourStep showText(int controlId);
TourStep click(int controlId);
TourStep setUpDown(int upDownId, int value);
TourStep waitUntilEnabled(int controlId, unsigned minTicks, unsigned maxTicks);
// Drags row `from` of a list onto row `to` with the mouse; where mouse input
// does not reach the list, with what the list view would hand its dialog.
TourStep dragRow(int listId, int from, int to);
// Double-clicks a row the same way, and in the dialog that opens types `text`
// over the name and presses OK.
TourStep renameRow(int listId, int row, const char* dialogCaption, int editId,
                   const std::string& text);
TourStep showListRows(int listId, std::vector<int> rows);
// The setup window at the top left of the screen and the workbench below it,
// so that neither hides the other.
TourStep arrangeWindows();
TourStep pause(unsigned milliseconds);
TourStep screenshot();
TourStep finish();
}  // namespace TourSteps

// The tour that --tour runs.
std::vector<TourStep> standardTour();
// The tour that --tour-extras runs.
std::vector<TourStep> extrasTour();
