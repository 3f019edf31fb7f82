#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/api_dialect.h"
#include "host/diseqc_command_record.h"

namespace {

struct DialectCase {
    std::string name;
    ApiDialect expected;
};

TEST(ApiDialect, OnlyANameBeginningWithMdApiInCapitalsIsTheRecordDialect) {
    const DialectCase cases[] = {
        {"MD-API", ApiDialect::MdApi},     {"MD-API 2.1 (build 7)", ApiDialect::MdApi},
        {"MD-API\xB0", ApiDialect::MdApi}, {"md-api", ApiDialect::Native},
        {"Md-Api", ApiDialect::Native},    {"MD-AP", ApiDialect::Native},
        {" MD-API", ApiDialect::Native},   {"MD_API", ApiDialect::Native},
        {"", ApiDialect::Native},          {std::string(255, 'M'), ApiDialect::Native},
    };
    for (const DialectCase& entry : cases) {
        EXPECT_EQ(dialectForApiName(entry.name), entry.expected) << '"' << entry.name << '"';
    }
}

TEST(ApiDialect, NameEndsAtTheFirstZeroOrBeforeTheLastByteOfAFullBuffer) {
    char buffer[256] = {};
    EXPECT_EQ(apiNameFromBuffer(buffer, sizeof buffer), "");
    std::memcpy(buffer, "MD-API\0junk", 11);
    EXPECT_EQ(apiNameFromBuffer(buffer, sizeof buffer), "MD-API");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(apiNameFromBuffer(buffer, sizeof buffer), std::string(255, 'x'));
}

using Bytes = std::vector<std::uint8_t>;

Bytes asBytes(const DiseqcCommandRecord& record) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(&record);
    return Bytes(first, first + sizeof record);
}

TEST(DiseqcCommandRecord, MatchesTheHostsLayoutByteForByte) {
    struct Case {
        Bytes command;
        Bytes expected;
    };
    const Case cases[] = {
        {{0xE0, 0x31, 0x6B, 0x02, 0x00}, {0x1C, 0,    0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0xE0, 0x31,
                                          0x6B, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    0}},
        {{0xE0, 0x31, 0x60, 0x00, 0x00}, {0x1C, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0xE0, 0x31,
                                          0x60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    0}},
        // Bytes after the first zero are not part of the command.
        {{0xE0, 0x31, 0x6F, 0x00, 0x55}, {0x1C, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0xE0, 0x31,
                                          0x6F, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    0}},
    };
    for (const Case& entry : cases) {
        const auto record = encodeRecord(entry.command);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(asBytes(*record), entry.expected);
    }
}

TEST(DiseqcCommandRecord, FifteenCommandBytesFitSixteenAreRefused) {
    const Bytes fifteen(15, 0xAB);
    const auto record = encodeRecord(fifteen);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->length, 15u);
    EXPECT_EQ(record->data[14], 0xAB);
    EXPECT_EQ(record->data[15], 0);
    EXPECT_FALSE(encodeRecord(Bytes(16, 0xAB)).has_value());
    EXPECT_FALSE(encodeRecord(Bytes(40, 0xAB)).has_value());
}

}  // namespace
