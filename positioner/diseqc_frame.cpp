#include "positioner/diseqc_frame.h"

#include <algorithm>
#include <cmath>

#include "positioner/usals.h"

const DiseqcCommandKind* findDiseqcCommand(std::uint8_t code) {
    const auto found =
        std::find_if(DISEQC_COMMANDS.begin(), DISEQC_COMMANDS.end(),
                     [code](const DiseqcCommandKind& kind) { return kind.code == code; });
    return found == DISEQC_COMMANDS.end() ? nullptr : &*found;
}

std::size_t DiseqcFrame::missingData() const {
    if (kind == nullptr || data.size() >= kind->fewestData) return 0;
    return kind->fewestData - data.size();
}

std::size_t DiseqcFrame::extraData() const {
    if (kind == nullptr || data.size() <= kind->mostData) return 0;
    return data.size() - kind->mostData;
}

DiseqcFrame parseDiseqcFrame(std::span<const std::uint8_t> bytes) {
    DiseqcFrame frame;
    if (bytes.size() > 0) frame.framing = bytes[0];
    if (bytes.size() > 1) frame.address = bytes[1];
    if (bytes.size() > 2) {
        frame.command = bytes[2];
        frame.kind = findDiseqcCommand(bytes[2]);
        frame.data = bytes.subspan(3);
    }
    return frame;
}

bool isMasterCommand(std::uint8_t framing) {
    return framing == DISEQC_FRAMING || framing == DISEQC_FRAMING_REPEAT;
}

bool isPositionerAddress(std::uint8_t address) {
    return address == DISEQC_ADDR_POSITIONER || address == DISEQC_ADDR_ANY_POSITIONER ||
           address == DISEQC_ADDR_ELEVATION;
}

GotoAngleBytes readGotoAngle(std::uint8_t high, std::uint8_t low) {
    return {static_cast<std::uint8_t>(high & 0xF0), ((high & 0x0F) << 4) | (low >> 4),
            static_cast<std::uint8_t>(low & 0x0F)};
}

// A master that sends sixteenths outside the table of tenths still names an angle a real motor
// turns to, so it is taken to the nearest tenth (halves away from zero) rather than refused.
double gotoAngleOf(std::uint8_t high, std::uint8_t low) {
    const GotoAngleBytes angle = readGotoAngle(high, low);
    const auto exact =
        std::find(GOTO_ANGLE_TENTHS.begin(), GOTO_ANGLE_TENTHS.end(), angle.sixteenths);
    const long tenths = exact != GOTO_ANGLE_TENTHS.end()
                            ? exact - GOTO_ANGLE_TENTHS.begin()
                            : std::lround(angle.sixteenths * 10.0 / 16.0);
    const double degrees = angle.whole + static_cast<double>(tenths) / 10.0;
    return angle.direction == GOTO_ANGLE_WEST ? -degrees : degrees;
}
