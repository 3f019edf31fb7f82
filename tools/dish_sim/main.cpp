#include <exception>
#include <iostream>

#include "simulator/dish_replay.h"

int main(int argc, char** argv) {
    try {
        return replayTrace(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "dish-sim: " << e.what() << "\n";
        return REPLAY_BAD_INPUT;
    }
}
