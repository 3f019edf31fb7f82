#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_channel.h"
#include "host/host_messages.h"
#include "tests/windows/test_host.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

DiseqcCommand command(std::uint8_t commandByte, std::uint8_t data) {
    DiseqcCommand result;
    result.bytes = {0xE0, 0x31, commandByte, data, 0};
    return result;
}

Bytes recordBytes(std::uint8_t length, Bytes commandBytes) {
    Bytes record(28, 0);
    record[0] = 0x1C;
    record[8] = length;
    for (std::size_t i = 0; i < commandBytes.size(); ++i) record[12 + i] = commandBytes[i];
    return record;
}

struct SendCase {
    const char* what;
    DiseqcCommand command;
    ApiDialect dialect;
    std::uint32_t expectedCode;
    Bytes expectedBytes;
};

TEST(HostChannel, DeliversEachCommandAsExactlyOneMessageInTheHostsDialect) {
    const SendCase cases[] = {
        {.what = "goto 2, native",
         .command = command(0x6B, 0x02),
         .dialect = ApiDialect::Native,
         .expectedCode = HOST_MSG_SEND_DISEQC,
         .expectedBytes = {0xE0, 0x31, 0x6B, 0x02, 0x00}},
        {.what = "halt, native: three bytes",
         .command = command(0x60, 0x00),
         .dialect = ApiDialect::Native,
         .expectedCode = HOST_MSG_SEND_DISEQC,
         .expectedBytes = {0xE0, 0x31, 0x60, 0x00}},
        {.what = "goto 2, record",
         .command = command(0x6B, 0x02),
         .dialect = ApiDialect::MdApi,
         .expectedCode = HOST_MSG_SEND_DISEQC_RECORD,
         .expectedBytes = recordBytes(4, {0xE0, 0x31, 0x6B, 0x02})},
        {.what = "halt, record: length 3",
         .command = command(0x60, 0x00),
         .dialect = ApiDialect::MdApi,
         .expectedCode = HOST_MSG_SEND_DISEQC_RECORD,
         .expectedBytes = recordBytes(3, {0xE0, 0x31, 0x60})},
        {.what = "drive east 6 steps, record",
         .command = command(0x68, 0xFA),
         .dialect = ApiDialect::MdApi,
         .expectedCode = HOST_MSG_SEND_DISEQC_RECORD,
         .expectedBytes = recordBytes(4, {0xE0, 0x31, 0x68, 0xFA})},
    };
    TestHost host;
    const HostChannel channel(host.window());
    for (const SendCase& entry : cases) {
        SCOPED_TRACE(entry.what);
        host.clearMessages();
        channel.sendCommand(entry.dialect, entry.command);
        ASSERT_EQ(host.messages().size(), 1u);
        EXPECT_EQ(host.messages()[0].code, entry.expectedCode);
        EXPECT_EQ(host.messages()[0].bytes, entry.expectedBytes);
    }
}

TEST(HostChannel, RefusesACommandTooLongForTheRecordInEitherDialect) {
    TestHost host;
    const HostChannel channel(host.window());
    Bytes sixteen(16, 0x11);
    Bytes fifteen(15, 0x22);
    for (ApiDialect dialect : {ApiDialect::Native, ApiDialect::MdApi}) {
        host.clearMessages();
        EXPECT_FALSE(channel.sendCommandBytes(dialect, sixteen));
        EXPECT_TRUE(host.messages().empty());
        EXPECT_TRUE(channel.sendCommandBytes(dialect, fifteen));
        ASSERT_EQ(host.messages().size(), 1u);
    }
    // The longest command that fits keeps its terminating zero in the record.
    EXPECT_EQ(host.messages()[0].bytes, recordBytes(15, fifteen));
}

struct IdentifyCase {
    const char* what;
    std::optional<std::string> answer;
    std::string expectedName;
    ApiDialect expectedDialect;
};

TEST(HostChannel, IdentifiesTheHostThroughARealWindow) {
    const IdentifyCase cases[] = {
        {"MD-API host", std::string("MD-API"), "MD-API", ApiDialect::MdApi},
        {"MD-API with version", std::string("MD-API 2.1 beta"), "MD-API 2.1 beta",
         ApiDialect::MdApi},
        {"other host", std::string("Viewer API"), "Viewer API", ApiDialect::Native},
        {"host that does not answer", std::nullopt, "", ApiDialect::Native},
        {"256 bytes without a zero", std::string(256, 'M'), std::string(255, 'M'),
         ApiDialect::Native},
    };
    TestHost host;
    const HostChannel channel(host.window());
    for (const IdentifyCase& entry : cases) {
        SCOPED_TRACE(entry.what);
        host.clearMessages();
        host.answerApiQueryWith(entry.answer);
        const std::string name = channel.identify();
        EXPECT_EQ(name, entry.expectedName);
        EXPECT_EQ(dialectForApiName(name), entry.expectedDialect);
        ASSERT_EQ(host.messages().size(), 1u);
        EXPECT_EQ(host.messages()[0].code, HOST_MSG_QUERY_API);
        EXPECT_EQ(host.messages()[0].bytes, Bytes(256, 0)) << "the buffer reaches the host zeroed";
    }
}

}  // namespace
