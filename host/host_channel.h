#pragma once

#include <cstdint>
#include <span>
#include <string>

#include <windows.h>

#include "host/api_dialect.h"
#include "positioner/diseqc_command.h"

// The only road to the host: one synchronous WM_USER message per request.
// The host answers nothing about a command, so nothing is read back.
class HostChannel {
  public:
    explicit HostChannel(HWND hostWindow) : hostWindow_(hostWindow) {}

    // The host's API name, at most 255 characters; empty when the host does
    // not answer.
    std::string identify() const;

    void sendCommand(ApiDialect dialect, const DiseqcCommand& command) const;

    // Sends any zero-terminated command held in `bytes`. Returns false, and
    // sends nothing, for a command too long for the host's record.
    bool sendCommandBytes(ApiDialect dialect, std::span<const std::uint8_t> bytes) const;

  private:
    HWND hostWindow_;
};
