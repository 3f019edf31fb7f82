#include "workbench/command_line.h"

const char* const WORKBENCH_USAGE =
    "usage: workbench.exe [--api NAME | --api-none] [--tour | --tour-extras]\n"
    "                     [--screenshot FILE.png] [--trace FILE] [--model stab|moteck]\n"
    "                     PLUGIN.dll\n"
    "  --api NAME         answer the plug-in's API query with NAME (default \"Workbench\");\n"
    "                     a NAME of 256 characters or more fills the whole buffer unterminated\n"
    "  --api-none         leave the API query unanswered\n"
    "  --tour             run the scripted tour, then close\n"
    "  --tour-extras      run the scripted tour of the positioner extras, then close\n"
    "  --screenshot FILE  write a PNG of the screen at the end of the tour, or on closing\n"
    "  --trace FILE       record every command the plug-in sends, for dish-sim to replay\n"
    "  --model NAME       the simulated dish turns at this model's speed; without it, at the\n"
    "                     speed of the model chosen in the setup window\n";

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine result;
    WorkbenchOptions options;
    bool apiGiven = false;
    bool apiNoneGiven = false;
    auto fail = [&result](std::string message) {
        result.error = std::move(message);
        return result;
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            result.helpRequested = true;
            return result;
        } else if (arg == "--api") {
            if (!hasValue) return fail("--api needs a name");
            options.apiName = args[++i];
            apiGiven = true;
        } else if (arg == "--api-none") {
            apiNoneGiven = true;
            options.answerApiQuery = false;
        } else if (arg == "--tour") {
            options.tour = true;
        } else if (arg == "--tour-extras") {
            options.tour = true;
            options.extrasTour = true;
        } else if (arg == "--screenshot") {
            if (!hasValue || args[i + 1].empty()) return fail("--screenshot needs a file name");
            options.screenshotPath = args[++i];
        } else if (arg == "--trace") {
            if (!hasValue || args[i + 1].empty()) return fail("--trace needs a file name");
            options.tracePath = args[++i];
        } else if (arg == "--model") {
            if (!hasValue || (args[i + 1] != "stab" && args[i + 1] != "moteck")) {
                return fail("--model needs stab or moteck");
            }
            options.model = args[++i];
        } else if (arg.starts_with("--")) {
            return fail("unknown option " + arg);
        } else if (!options.pluginPath.empty()) {
            return fail("more than one plug-in given: " + options.pluginPath + ", " + arg);
        } else {
            options.pluginPath = arg;
        }
    }
    if (apiGiven && apiNoneGiven) return fail("--api and --api-none exclude each other");
    if (options.pluginPath.empty()) return fail("no plug-in given");
    result.options = std::move(options);
    return result;
}
