#include <cstdio>
#include <exception>

#include "workbench/workbench.h"

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
        Workbench workbench(*parsed.options);
        return workbench.run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "workbench: %s\n", e.what());
        return EXIT_USAGE_OR_LOAD;
    }
}
