#pragma once

#include <optional>
#include <string>
#include <vector>

struct WorkbenchOptions {
    std::string pluginPath;
    // When false the API query goes unanswered, as with a host that does not
    // know the message.
    bool answerApiQuery = true;
    std::string apiName = "Workbench";
    bool tour = false;
    // The tour of the positioner extras instead of the standard one.
    bool extrasTour = false;
    std::string screenshotPath;  // empty: no screenshot
    std::string tracePath;       // empty: no trace of the commands
    // "stab" or "moteck"; empty: the dish follows the model the user chose in the plug-in.
    std::string model;
};

struct ParsedCommandLine {
    std::optional<WorkbenchOptions> options;
    bool helpRequested = false;
    std::string error;  // set when neither options nor help
};

extern const char* const WORKBENCH_USAGE;

// `args` without the program name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);
