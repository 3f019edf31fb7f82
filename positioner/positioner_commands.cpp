#include "positioner/positioner_commands.h"

namespace {

DiseqcCommand positionerCommand(std::uint8_t command, std::uint8_t data) {
    DiseqcCommand built;
    built.bytes = {DISEQC_FRAMING, DISEQC_ADDR_POSITIONER, command, data, 0};
    return built;
}

}  // namespace

namespace PositionerCommands {

std::uint8_t driveDataByte(std::uint16_t degrees) {
    // A 16-bit count times a 24-bit significand fits a double's 53 bits, so this is exact.
    const double product = static_cast<double>(degrees) * static_cast<double>(DRIVE_STEP_FACTOR);
    const auto steps = static_cast<std::int32_t>(product);
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(steps) & 0xFFU);
}

DiseqcCommand driveWest(std::uint16_t degrees) {
    return positionerCommand(DISEQC_DRIVE_WEST, driveDataByte(degrees));
}

DiseqcCommand driveEast(std::uint16_t degrees) {
    return positionerCommand(DISEQC_DRIVE_EAST, driveDataByte(degrees));
}

DiseqcCommand stepWest() {
    return positionerCommand(DISEQC_DRIVE_WEST, STEP_DATA);
}

DiseqcCommand stepEast() {
    return positionerCommand(DISEQC_DRIVE_EAST, STEP_DATA);
}

DiseqcCommand halt() {
    return positionerCommand(DISEQC_HALT, 0);
}

DiseqcCommand gotoPosition(std::uint8_t n) {
    return positionerCommand(DISEQC_GOTO, n);
}

DiseqcCommand storePosition(std::uint8_t n) {
    return positionerCommand(DISEQC_STORE, n);
}

DiseqcCommand recalculatePositions(std::uint8_t n) {
    return positionerCommand(DISEQC_RECALCULATE, n);
}

DiseqcCommand driveEastUntilHalted() {
    return positionerCommand(DISEQC_DRIVE_EAST, 0);
}

DiseqcCommand driveWestUntilHalted() {
    return positionerCommand(DISEQC_DRIVE_WEST, 0);
}

DiseqcCommand setEastLimit() {
    return positionerCommand(DISEQC_LIMIT_EAST, 0);
}

DiseqcCommand setWestLimit() {
    return positionerCommand(DISEQC_LIMIT_WEST, 0);
}

DiseqcCommand limitsOff() {
    return positionerCommand(DISEQC_LIMITS_OFF, 0);
}

DiseqcCommand limitsOn() {
    return positionerCommand(DISEQC_STORE, 0);
}

DiseqcCommand gotoAngle(std::array<std::uint8_t, 2> data) {
    DiseqcCommand built;
    const std::uint8_t last = data[1] == 0 ? std::uint8_t{0x01} : data[1];
    built.bytes = {DISEQC_FRAMING, DISEQC_ADDR_POSITIONER, DISEQC_GOTO_ANGLE, data[0], last};
    return built;
}

}  // namespace PositionerCommands
