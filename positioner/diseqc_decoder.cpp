#include "positioner/diseqc_decoder.h"

#include <algorithm>
#include <span>

#include "positioner/hex_byte.h"

namespace {

using Data = std::span<const std::uint8_t>;

// Whole degrees and sixteenths exactly as the bytes carry them, which need not be an angle that
// the plug-in would send.
std::string describeGotoAngle(const DiseqcCommandKind& kind, Data data) {
    const std::string name = kind.name;
    if (data.size() < 2) return name + ", incomplete angle data";
    const GotoAngleBytes angle = readGotoAngle(data[0], data[1]);
    std::string fraction = std::to_string(10000 + angle.sixteenths * 625).substr(1);
    while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
    return name + " " + std::to_string(angle.whole) + "." + fraction + " deg, direction code " +
           hexByte(angle.direction).substr(0, 1);
}

// What the command asks, from the data bytes that it takes and no more.
std::string describeRequest(const DiseqcCommandKind& kind, Data data) {
    const std::string name = kind.name;
    const std::uint8_t n = data.empty() ? 0 : data[0];
    switch (kind.code) {
        case DISEQC_LIMIT_EAST:
        case DISEQC_LIMIT_WEST:
            return name + " at current position";
        case DISEQC_DRIVE_EAST:
        case DISEQC_DRIVE_WEST:
            return describeDrive(kind, n);
        case DISEQC_STORE:
            if (n == 0) return kind.whenZero;
            return name + " current position as " + std::to_string(n);
        case DISEQC_GOTO:
            if (n == 0) return std::string(kind.whenZero) + " 0";
            return name + " stored position " + std::to_string(n);
        case DISEQC_GOTO_ANGLE:
            return describeGotoAngle(kind, data);
        case DISEQC_RECALCULATE:
            if (n == 0) return kind.whenZero;
            return name + " stored positions from satellite " + std::to_string(n);
        default:
            return name;
    }
}

// The plug-in sends only first transmissions to the polar/azimuth positioner, so any other
// framing or address is shown raw.
std::string describeCommand(Data bytes) {
    const DiseqcFrame frame = parseDiseqcFrame(bytes);
    if (frame.framing != DISEQC_FRAMING) return "unknown framing byte " + hexCode(*frame.framing);
    if (!frame.address) return "incomplete command: no address byte";
    if (frame.address != DISEQC_ADDR_POSITIONER) {
        return "unknown address byte " + hexCode(*frame.address);
    }
    if (!frame.command) return "incomplete command: no command byte";
    if (frame.kind == nullptr) return "unknown command byte " + hexCode(*frame.command);

    const DiseqcCommandKind& kind = *frame.kind;
    std::string meaning =
        describeRequest(kind, frame.data.first(std::min(frame.data.size(), kind.mostData)));
    if (const std::size_t extra = frame.extraData(); extra != 0) {
        meaning += ", " + counted(extra, "unexpected data byte");
    }
    return meaning;
}

}  // namespace

std::string counted(std::size_t count, const char* word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

std::string describeDrive(const DiseqcCommandKind& drive, std::uint8_t data) {
    const std::string name = drive.name;
    if (data == 0) return drive.whenZero;
    if (data < 0x80) return name + " for " + std::to_string(data) + " s";
    return name + " " + counted(0x100U - data, "step");
}

std::string describeDiseqc(const std::uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0) return "(none)  empty command";
    const Data command(bytes, length);
    return hexBytes(command) + "  " + describeCommand(command);
}
