#include "workbench/workbench.h"

#include <algorithm>
#include <cstdio>

namespace {

std::optional<PositionerModel> modelOption(const std::string& name) {
    if (name.empty()) return std::nullopt;
    return name == "stab" ? PositionerModel::Stab : PositionerModel::Moteck;
}

// Dispatches until the window is gone; returns the exit code it leaves.
int runMessageLoop() {
    MSG message{};
    // Deliberately no IsDialogMessage: some viewers do not give the dialog
    // manager a look at their messages, and the plug-in has to live with that.
    for (;;) {
        const BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) return EXIT_RUN_FAULT;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

Workbench::Workbench(WorkbenchOptions options)
    : options_(std::move(options)), dish_(modelOption(options_.model), options_.tracePath) {}

Workbench::~Workbench() {
    // The window and its log have gone with the message loop.
    if (logFont_) DeleteObject(logFont_);
}

int Workbench::run() {
    if (!options_.tracePath.empty() && !dish_.traceOpen()) {
        std::fprintf(stderr, "workbench: cannot write the trace %s\n", options_.tracePath.c_str());
        return EXIT_USAGE_OR_LOAD;
    }
    std::string error;
    if (!plugin_.load(options_.pluginPath, error) || !createWindow(error)) {
        std::fprintf(stderr, "workbench: %s\n", error.c_str());
        return EXIT_USAGE_OR_LOAD;
    }
    startPlugin();
    if (options_.tour) {
        TourContext& context = *this;
        tour_ =
            std::make_unique<Tour>(context, options_.extrasTour ? extrasTour() : standardTour());
        tour_->start(window_);
    }
    return runMessageLoop();
}

void Workbench::fault(const std::string& line) {
    log_.line(line);
    exitCode_ = EXIT_RUN_FAULT;
}

void Workbench::log(const std::string& line) {
    log_.line(line);
}

bool Workbench::pluginMenuOffers(UINT id) const {
    return std::find(pluginMenuIds_.begin(), pluginMenuIds_.end(), id) != pluginMenuIds_.end();
}

void Workbench::pickPluginMenu(UINT id) {
    // The same road as a user's click on the menu entry.
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

DishStateRemoval Workbench::forgetDishState() {
    if (dish_.beliefPath().empty()) return DishStateRemoval::Failed;
    const DishStateRemoval removal = removeDishState(dish_.beliefPath());
    dish_.watchBelief(dish_.beliefPath());
    return removal;
}

const PluginBelief& Workbench::readDishBelief() {
    return dish_.readBelief();
}

void Workbench::placeWindow(int x, int y, int width, int height) {
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Workbench::takeScreenshot() {
    UpdateWindow(window_);
    if (HWND dial = dish_.dial()) {
        InvalidateRect(dial, nullptr, FALSE);
        UpdateWindow(dial);
    }
    writeScreenshot();
}

void Workbench::close() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
}
