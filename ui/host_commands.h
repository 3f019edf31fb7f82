#pragma once

#include "host/api_dialect.h"
#include "host/host_channel.h"
#include "positioner/diseqc_command.h"

// Where a window's commands go: to the host, in the dialect it answered to.
// The setup window learns the dialect when it opens and hands the same to the
// extras.
struct HostCommands {
    HostChannel host;
    ApiDialect dialect = ApiDialect::Native;

    void send(const DiseqcCommand& command) const { host.sendCommand(dialect, command); }
};
