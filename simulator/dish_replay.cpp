#include "simulator/dish_replay.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <fstream>

#include "positioner/diseqc_frame.h"
#include "positioner/positioner_model.h"
#include "positioner/usals.h"
#include "simulator/dish_simulator.h"
#include "simulator/dish_trace.h"

const char* const DISH_SIM_USAGE =
    "usage: dish-sim [--model stab|moteck] [--unknown] [--site LAT,LON] [--at MS]... TRACE\n"
    "  TRACE      one command per line, \"<ms> <hex bytes>\", e.g. \"0 E0 31 68 F3\"; # comments\n"
    "  --model    the positioner's speed (default stab)\n"
    "  --unknown  start where nothing is known of the dish (default: at the reference\n"
    "             position, with no stored position and no limit)\n"
    "  --at MS    print the dish at MS; without any, one line per command as it acts\n"
    "  --site LAT,LON  the site in degrees, north and east positive: each goto-angle\n"
    "             command's line names the orbital position it points at\n";

namespace {

std::string formatMs(double ms) {
    char text[40];
    std::snprintf(text, sizeof text,
                  ms == static_cast<double>(static_cast<long long>(ms)) ? "%.0f" : "%.1f", ms);
    return text;
}

// "19.2E", "30.0W".
std::string formatLongitude(double longitude) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%c", std::fabs(longitude), longitude < 0.0 ? 'W' : 'E');
    return text;
}

std::optional<Site> siteFrom(const std::string& text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    Site site;
    const char* first = text.data();
    const char* middle = first + comma;
    const char* last = first + text.size();
    const auto latitude = std::from_chars(first, middle, site.latitude);
    const auto longitude = std::from_chars(middle + 1, last, site.longitude);
    if (latitude.ec != std::errc() || latitude.ptr != middle || longitude.ec != std::errc() ||
        longitude.ptr != last || std::fabs(site.latitude) > 90.0 ||
        std::fabs(site.longitude) > 180.0) {
        return std::nullopt;
    }
    return site;
}

std::string stateLine(const DishState& state) {
    return formatAngle(state.angle) + (state.moving ? " moving" : " idle");
}

}  // namespace

int replayTrace(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PositionerModel model = PositionerModel::Stab;
    std::vector<std::pair<std::string, double>> moments;
    std::string path;
    std::optional<Site> site;
    DishStart start = DishStart::AtReference;
    auto usage = [&err](const std::string& problem) {
        err << "dish-sim: " << problem << "\n" << DISH_SIM_USAGE;
        return REPLAY_BAD_INPUT;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--model") {
            if (!hasValue) return usage("--model needs stab or moteck");
            const std::string& name = args[++i];
            if (name == "stab") {
                model = PositionerModel::Stab;
            } else if (name == "moteck") {
                model = PositionerModel::Moteck;
            } else {
                return usage("unknown model \"" + name + "\"");
            }
        } else if (arg == "--unknown") {
            start = DishStart::Unknown;
        } else if (arg == "--at") {
            if (!hasValue) return usage("--at needs a time in milliseconds");
            const std::string& text = args[++i];
            unsigned long long ms = 0;
            const char* end = text.data() + text.size();
            const auto [stop, error] = std::from_chars(text.data(), end, ms);
            if (error != std::errc() || stop != end) {
                return usage("--at " + text + ": not a time in whole milliseconds");
            }
            moments.emplace_back(text, static_cast<double>(ms));
        } else if (arg == "--site") {
            if (!hasValue) return usage("--site needs LAT,LON");
            const std::string& text = args[++i];
            site = siteFrom(text);
            if (!site) return usage("--site " + text + ": not LAT,LON in degrees");
        } else if (arg.starts_with("--") || !path.empty()) {
            return usage("unexpected argument " + arg);
        } else {
            path = arg;
        }
    }
    if (path.empty()) return usage("no trace given");

    std::ifstream file(path);
    if (!file) {
        err << "dish-sim: cannot open " << path << "\n";
        return REPLAY_BAD_INPUT;
    }
    const ParsedTrace trace = readTrace(file);
    if (trace.error) {
        err << path << ":" << trace.error->line << ": " << trace.error->message << "\n";
        return REPLAY_BAD_INPUT;
    }

    DishSimulator dish(speed(model), DEFAULT_END_STOP, start);
    for (const TraceCommand& command : trace.commands) {
        const CommandOutcome outcome = dish.send(static_cast<double>(command.ms), command.bytes);
        if (!moments.empty()) continue;
        out << formatMs(outcome.actsAtMs) << " " << stateLine(dish.stateAt(outcome.actsAtMs))
            << "  " << outcome.note;
        const DiseqcFrame frame = parseDiseqcFrame(command.bytes);
        if (site && outcome.accepted && frame.command == DISEQC_GOTO_ANGLE) {
            const double angle = gotoAngleOf(frame.data[0], frame.data[1]);
            out << ", towards the satellite at "
                << formatLongitude(satelliteLongitudeAt(*site, angle));
        }
        out << "\n";
    }
    for (const auto& [text, ms] : moments)
        out << text << " " << stateLine(dish.stateAt(ms)) << "\n";
    return 0;
}
