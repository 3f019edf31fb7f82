#include "positioner/diseqc_decoder.h"

#include <algorithm>
#include <array>
#include <span>

#include "positioner/positioner_commands.h"

namespace {

using Data = std::span<const std::uint8_t>;

// Positioner commands of DiSEqC 1.2 that the builders never produce.
constexpr std::uint8_t DISEQC_LIMITS_OFF = 0x63;
constexpr std::uint8_t DISEQC_LIMIT_EAST = 0x66;
constexpr std::uint8_t DISEQC_LIMIT_WEST = 0x67;
constexpr std::uint8_t DISEQC_GOTO_ANGLE = 0x6E;

std::string hexByte(std::uint8_t value) {
    constexpr const char* digits = "0123456789ABCDEF";
    return {digits[value >> 4], digits[value & 0x0F]};
}

// A missing data byte reads as zero: a zero data byte ends the zero-terminated command.
std::uint8_t firstData(Data data) {
    return data.empty() ? 0 : data[0];
}

std::string describeDrive(const char* direction, Data data) {
    const std::string drive = std::string("drive ") + direction;
    const std::uint8_t value = firstData(data);
    if (value == 0) return drive + " continuously";
    if (value < 0x80) return drive + " for " + std::to_string(value) + " s";
    const int steps = 0x100 - value;
    return drive + " " + std::to_string(steps) + (steps == 1 ? " step" : " steps");
}

std::string describeHalt(Data) {
    return "halt";
}
std::string describeLimitsOff(Data) {
    return "disable limits";
}
std::string describeLimitEast(Data) {
    return "set east limit at current position";
}
std::string describeLimitWest(Data) {
    return "set west limit at current position";
}
std::string describeDriveEast(Data data) {
    return describeDrive("east", data);
}
std::string describeDriveWest(Data data) {
    return describeDrive("west", data);
}

std::string describeStore(Data data) {
    const std::uint8_t n = firstData(data);
    // Store 0 is how DiSEqC 1.2 switches the limits back on.
    if (n == 0) return "enable limits";
    return "store current position as " + std::to_string(n);
}

std::string describeGoto(Data data) {
    const std::uint8_t n = firstData(data);
    if (n == 0) return "goto reference position 0";
    return "goto stored position " + std::to_string(n);
}

// Whole degrees in the 8 bits after the direction nibble, then sixteenths of a degree.
std::string describeGotoAngle(Data data) {
    if (data.size() < 2) return "goto angle, incomplete angle data";
    const int whole = ((data[0] & 0x0F) << 4) | (data[1] >> 4);
    std::string fraction = std::to_string(10000 + (data[1] & 0x0F) * 625).substr(1);
    while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
    return "goto angle " + std::to_string(whole) + "." + fraction + " deg, direction code " +
           hexByte(data[0]).substr(0, 1);
}

std::string describeRecalculate(Data data) {
    const std::uint8_t n = firstData(data);
    if (n == 0) return "reset all stored positions";
    return "recalculate stored positions from satellite " + std::to_string(n);
}

struct CommandEntry {
    std::uint8_t command;
    std::size_t dataBytes;
    std::string (*describe)(Data data);
};

constexpr std::array<CommandEntry, 10> COMMANDS{{
    {DISEQC_HALT, 0, describeHalt},
    {DISEQC_LIMITS_OFF, 0, describeLimitsOff},
    {DISEQC_LIMIT_EAST, 0, describeLimitEast},
    {DISEQC_LIMIT_WEST, 0, describeLimitWest},
    {DISEQC_DRIVE_EAST, 1, describeDriveEast},
    {DISEQC_DRIVE_WEST, 1, describeDriveWest},
    {DISEQC_STORE, 1, describeStore},
    {DISEQC_GOTO, 1, describeGoto},
    {DISEQC_GOTO_ANGLE, 2, describeGotoAngle},
    {DISEQC_RECALCULATE, 1, describeRecalculate},
}};

std::string describeCommand(Data bytes) {
    if (bytes[0] != DISEQC_FRAMING) return "unknown framing byte 0x" + hexByte(bytes[0]);
    if (bytes.size() < 2) return "incomplete command: no address byte";
    if (bytes[1] != DISEQC_ADDR_POSITIONER) return "unknown address byte 0x" + hexByte(bytes[1]);
    if (bytes.size() < 3) return "incomplete command: no command byte";

    for (const CommandEntry& entry : COMMANDS) {
        if (entry.command != bytes[2]) continue;
        const Data data = bytes.subspan(3);
        std::string meaning = entry.describe(data.first(std::min(data.size(), entry.dataBytes)));
        if (data.size() > entry.dataBytes) {
            const std::size_t extra = data.size() - entry.dataBytes;
            meaning +=
                ", " + std::to_string(extra) + " unexpected data byte" + (extra == 1 ? "" : "s");
        }
        return meaning;
    }
    return "unknown command byte 0x" + hexByte(bytes[2]);
}

}  // namespace

std::string describeDiseqc(const std::uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0) return "(none)  empty command";

    const Data command(bytes, length);
    std::string line;
    for (const std::uint8_t value : command) {
        if (!line.empty()) line += ' ';
        line += hexByte(value);
    }
    return line + "  " + describeCommand(command);
}
