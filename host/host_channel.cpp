#include "host/host_channel.h"

#include <vector>

#include "host/diseqc_command_record.h"
#include "host/host_messages.h"

std::string HostChannel::identify() const {
    char name[HOST_API_NAME_BUFFER] = {};
    SendMessageA(hostWindow_, HOST_MESSAGE, HOST_MSG_QUERY_API, reinterpret_cast<LPARAM>(name));
    return apiNameFromBuffer(name, sizeof name);
}

void HostChannel::sendCommand(ApiDialect dialect, const DiseqcCommand& command) const {
    sendCommandBytes(dialect, command.bytes);
}

bool HostChannel::sendCommandBytes(ApiDialect dialect, std::span<const std::uint8_t> bytes) const {
    const std::optional<DiseqcCommandRecord> record = encodeRecord(bytes);
    if (!record) return false;
    if (dialect == ApiDialect::MdApi) {
        SendMessageA(hostWindow_, HOST_MESSAGE, HOST_MSG_SEND_DISEQC_RECORD,
                     reinterpret_cast<LPARAM>(&*record));
        return true;
    }
    // The host reads up to the terminating zero, which a caller's span need
    // not hold: hand over a terminated copy.
    std::vector<std::uint8_t> terminated(bytes.begin(), bytes.begin() + record->length);
    terminated.push_back(0);
    SendMessageA(hostWindow_, HOST_MESSAGE, HOST_MSG_SEND_DISEQC,
                 reinterpret_cast<LPARAM>(terminated.data()));
    return true;
}
