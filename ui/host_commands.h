#pragma once

#include <memory>
#include <span>

#include "host/api_dialect.h"
#include "host/host_channel.h"
#include "positioner/diseqc_command.h"
#include "ui/dish_belief.h"

// Where a window's commands go: to the host, in the dialect it answered to,
// and then to the belief of where the dish is, so that no command moves the
// dish unseen. The setup window learns the dialect and makes the belief when
// it opens, and hands the same to the extras; either window may go first, and
// the belief goes with the last.
struct HostCommands {
    HostChannel host;
    ApiDialect dialect = ApiDialect::Native;
    std::shared_ptr<DishBelief> dish;

    void send(const DiseqcCommand& command) const {
        // The host may close the window that holds this object while it
        // handles the command: nothing of it is read after the send.
        const std::shared_ptr<DishBelief> belief = dish;
        host.sendCommand(dialect, command);
        if (belief) belief->commandSent(std::span(command.bytes.data(), command.length()));
    }
};
