#pragma once

#include <ostream>
#include <string>
#include <vector>

inline constexpr int REPLAY_BAD_INPUT = 2;

extern const char* const DISH_SIM_USAGE;

// dish-sim: replays a trace through the simulator. `args` without the program name; returns
// the exit status.
int replayTrace(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
