#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "positioner/diseqc_frame.h"
#include "positioner/hex_byte.h"
#include "positioner/positioner_commands.h"

namespace {

struct FrameCase {
    const char* what;
    std::vector<std::uint8_t> bytes{};
    std::optional<std::uint8_t> framing{};
    std::optional<std::uint8_t> address{};
    std::optional<std::uint8_t> command{};
    // The table's name for the command; null when the frame names none it knows.
    const char* name = nullptr;
    std::size_t data = 0;
    std::size_t missing = 0;
    std::size_t extra = 0;
    std::uint8_t firstData = 0;
};

const std::vector<FrameCase> FRAMES{
    {.what = "goto 2",
     .bytes = {0xE0, 0x31, 0x6B, 0x02},
     .framing = 0xE0,
     .address = 0x31,
     .command = 0x6B,
     .name = "goto",
     .data = 1,
     .firstData = 0x02},
    {.what = "halt, no data",
     .bytes = {0xE0, 0x31, 0x60},
     .framing = 0xE0,
     .address = 0x31,
     .command = 0x60,
     .name = "halt"},
    {.what = "goto angle, both data bytes",
     .bytes = {0xE0, 0x31, 0x6E, 0xD2, 0x65},
     .framing = 0xE0,
     .address = 0x31,
     .command = 0x6E,
     .name = "goto angle",
     .data = 2,
     .firstData = 0xD2},
    {.what = "a repeat to the elevation positioner",
     .bytes = {0xE1, 0x32, 0x69, 0xFE},
     .framing = 0xE1,
     .address = 0x32,
     .command = 0x69,
     .name = "drive west",
     .data = 1,
     .firstData = 0xFE},
    {.what = "no bytes"},
    {.what = "framing only", .bytes = {0xE0}, .framing = 0xE0},
    {.what = "no command byte", .bytes = {0xE0, 0x31}, .framing = 0xE0, .address = 0x31},
    {.what = "a framing byte that wants a reply",
     .bytes = {0xE2, 0x31, 0x60},
     .framing = 0xE2,
     .address = 0x31,
     .command = 0x60,
     .name = "halt"},
    {.what = "unknown command, its data kept",
     .bytes = {0xE0, 0x31, 0x65, 0x01},
     .framing = 0xE0,
     .address = 0x31,
     .command = 0x65,
     .data = 1,
     .firstData = 0x01},
    {.what = "halt with a data byte",
     .bytes = {0xE0, 0x31, 0x60, 0x00},
     .framing = 0xE0,
     .address = 0x31,
     .command = 0x60,
     .name = "halt",
     .data = 1,
     .extra = 1},
    {.what = "goto with three data bytes",
     .bytes = {0xE0, 0x31, 0x6B, 0x02, 0x07, 0x08},
     .framing = 0xE0,
     .address = 0x31,
     .command = 0x6B,
     .name = "goto",
     .data = 3,
     .extra = 2,
     .firstData = 0x02},
    {.what = "goto angle short of its second byte",
     .bytes = {0xE0, 0x31, 0x6E, 0xE0},
     .framing = 0xE0,
     .address = 0x31,
     .command = 0x6E,
     .name = "goto angle",
     .data = 1,
     .missing = 1,
     .firstData = 0xE0},
};

TEST(DiseqcFrame, SplitsAFrameIntoItsFields) {
    for (const FrameCase& row : FRAMES) {
        SCOPED_TRACE(row.what);
        // A buffer of exactly the frame's size lets the address sanitizer catch a read past it.
        const std::size_t size = row.bytes.size();
        auto exact = std::make_unique<std::uint8_t[]>(size);
        std::copy(row.bytes.begin(), row.bytes.end(), exact.get());
        const DiseqcFrame frame = parseDiseqcFrame({exact.get(), size});

        EXPECT_EQ(frame.framing, row.framing);
        EXPECT_EQ(frame.address, row.address);
        EXPECT_EQ(frame.command, row.command);
        EXPECT_EQ(frame.kind == nullptr ? std::string("(none)") : frame.kind->name,
                  row.name == nullptr ? std::string("(none)") : row.name);
        EXPECT_EQ(frame.data.size(), row.data);
        EXPECT_EQ(frame.missingData(), row.missing);
        EXPECT_EQ(frame.extraData(), row.extra);
        EXPECT_EQ(frame.firstData(), row.firstData);
    }
}

TEST(DiseqcFrame, AnswersFirstTransmissionsAndRepeatsToAnyPositioner) {
    for (unsigned value = 0; value <= 0xFF; ++value) {
        const auto byte = static_cast<std::uint8_t>(value);
        SCOPED_TRACE(hexByte(byte));
        EXPECT_EQ(isMasterCommand(byte), byte == 0xE0 || byte == 0xE1);
        EXPECT_EQ(isPositionerAddress(byte), byte >= 0x30 && byte <= 0x32);
    }
}

TEST(DiseqcFrame, EveryCommandThePlugInBuildsIsWholeForTheTable) {
    const DiseqcCommand built[]{
        PositionerCommands::driveEast(5),
        PositionerCommands::stepWest(),
        PositionerCommands::halt(),
        PositionerCommands::gotoPosition(0),
        PositionerCommands::gotoPosition(7),
        PositionerCommands::storePosition(3),
        PositionerCommands::recalculatePositions(0),
        PositionerCommands::driveWestUntilHalted(),
        PositionerCommands::setEastLimit(),
        PositionerCommands::setWestLimit(),
        PositionerCommands::limitsOff(),
        PositionerCommands::limitsOn(),
        PositionerCommands::gotoAngle({0xE0, 0x00}),
    };
    for (const DiseqcCommand& command : built) {
        const DiseqcFrame frame = parseDiseqcFrame({command.data(), command.length()});
        SCOPED_TRACE(hexBytes({command.data(), command.length()}));
        ASSERT_NE(frame.kind, nullptr);
        EXPECT_EQ(frame.missingData(), 0U);
        EXPECT_EQ(frame.extraData(), 0U);
    }
}

TEST(HexByte, PrintsAndReadsBackEveryByte) {
    for (unsigned value = 0; value <= 0xFF; ++value) {
        const auto byte = static_cast<std::uint8_t>(value);
        const std::string shown = hexByte(byte);
        EXPECT_EQ(readHexByte(shown), byte) << shown;
        std::string lower = shown;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(readHexByte(lower), byte) << lower;
    }
    EXPECT_EQ(hexByte(0x0A), "0A");
    EXPECT_EQ(hexCode(0xE1), "0xE1");
    EXPECT_EQ(hexBytes(std::vector<std::uint8_t>{0xE0, 0x31, 0x6E}), "E0 31 6E");
    EXPECT_EQ(hexBytes({}), "");
    for (const char* word : {"", "6", "6G", "0x", "E0 ", "+1", "E01"}) {
        EXPECT_FALSE(readHexByte(word)) << '"' << word << '"';
    }
}

}  // namespace
