#include <cstdio>
#include <exception>
#include <memory>

#include "workbench/tour.h"
#include "workbench/workbench.h"

namespace {

int run(const WorkbenchOptions& options) {
    Workbench workbench(options);
    std::string error;
    if (!options.tracePath.empty() && !workbench.dish.traceOpen()) {
        std::fprintf(stderr, "workbench: cannot write the trace %s\n", options.tracePath.c_str());
        return EXIT_USAGE_OR_LOAD;
    }
    if (!workbench.plugin.load(options.pluginPath, error)) {
        std::fprintf(stderr, "workbench: %s\n", error.c_str());
        return EXIT_USAGE_OR_LOAD;
    }
    if (!createMainWindow(workbench, error)) {
        std::fprintf(stderr, "workbench: %s\n", error.c_str());
        return EXIT_USAGE_OR_LOAD;
    }
    startPlugin(workbench);
    if (options.tour) {
        workbench.tour =
            std::make_unique<Tour>(workbench, options.extrasTour ? extrasTour() : standardTour());
        workbench.tour->start();
    }
    return runMessageLoop();
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const ParsedCommandLine parsed =
            parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (parsed.helpRequested) {
            std::fputs(WORKBENCH_USAGE, stdout);
            return 0;
        }
        if (!parsed.options) {
            std::fprintf(stderr, "workbench: %s\n%s", parsed.error.c_str(), WORKBENCH_USAGE);
            return EXIT_USAGE_OR_LOAD;
        }
        return run(*parsed.options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workbench: %s\n", e.what());
        return EXIT_USAGE_OR_LOAD;
    }
}
