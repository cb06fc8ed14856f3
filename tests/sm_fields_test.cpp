// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cstdio>

#include "legacy/ie/sm/sm_fields.h"
#include "sm_ie_test_support.h"

namespace corvuna::test {
namespace {

// ------------------------------------------------- transaction identifier

struct TiCase {
    const char* what;
    const char* hex;
    int32_t length;
    int result;
    int32_t endOctet;
    std::string rendered;
};

TEST(TransactionId, ParsesTwoOctetsWhateverTheLength) {
    const TiCase cases[] = {
        {"length 1: TIE from the octet after the IE, cursor back", "80 5E", 1, 0, 1,
         Lines({"<TIFlag>(1)The message is sent to the side that originates the TI</TIFlag>",
                "<TIO>(0)TI value 0</TIO>",
                "<TIE>(94)The TI value is the binary representation of TIE</TIE>"})},
        {"length 2: TIO 7, TIE reserved", "F0 85", 2, 1, 2,
         Lines({"<TIFlag>(1)The message is sent to the side that originates the TI</TIFlag>",
                "<TIO>(7)The TI value is given by the TIE in octet 2</TIO>", "<TIE>(5)Reserved</TIE>"})},
        {"flag 0, low nibble and TIE bit 8 dropped", "2F FF 30", 2, 1, 2,
         Lines({"<TIFlag>(0)The message is sent from the side that originates the TI</TIFlag>",
                "<TIO>(2)TI value 2</TIO>",
                "<TIE>(127)The TI value is the binary representation of TIE</TIE>"})},
        {"TIE 6 is reserved, TIE 7 is not", "60 06", 2, 1, 2,
         Lines({"<TIFlag>(0)The message is sent from the side that originates the TI</TIFlag>",
                "<TIO>(6)TI value 6</TIO>", "<TIE>(6)Reserved</TIE>"})},
        {"length 3: one octet skipped", "70 07 AA 5E", 3, 1, 3,
         Lines({"<TIFlag>(0)The message is sent from the side that originates the TI</TIFlag>",
                "<TIO>(7)The TI value is given by the TIE in octet 2</TIO>",
                "<TIE>(7)The TI value is the binary representation of TIE</TIE>"})},
        {"length 1 at the message end: TIE reads 0", "D0", 1, 0, 1,
         Lines({"<TIFlag>(1)The message is sent to the side that originates the TI</TIFlag>",
                "<TIO>(5)TI value 5</TIO>", "<TIE>(0)Reserved</TIE>"})},
    };
    for (const TiCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = RunParse(ParseTransactionId, c.hex, c.length);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.endOctet * 8);
        EXPECT_EQ(RenderText(RenderTransactionId, parsed.record), c.rendered);
    }
}

TEST(TransactionId, TioTexts) {
    for (int tio = 0; tio < 8; ++tio) {
        SCOPED_TRACE(tio);
        TransactionId record{};
        record.tio = static_cast<uint8_t>(tio);
        const std::string text =
            tio < 7 ? "TI value " + std::to_string(tio) : std::string("The TI value is given by the TIE in octet 2");
        EXPECT_EQ(ElementLine(RenderText(RenderTransactionId, record), "TIO"),
                  "<TIO>(" + std::to_string(tio) + ")" + text + "</TIO>");
    }
}

TEST(TransactionId, NegativeLengthReadsNothing) {
    const auto parsed = RunParse(ParseTransactionId, "F0 85", -2);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(parsed.record.tio, 0);
}

// ----------------------------------------------------------- LLC SAPI

struct OctetCase {
    const char* hex;
    int32_t value;
    const char* line;
};

TEST(LlcSapi, LowNibbleAndText) {
    const OctetCase cases[] = {
        {"00", 0, "<LLC_SAPI_Value>(0)LLC SAPI not assigned</LLC_SAPI_Value>"},
        {"93", 3, "<LLC_SAPI_Value>(3)SAPI 3</LLC_SAPI_Value>"},
        {"05", 5, "<LLC_SAPI_Value>(5)SAPI 5</LLC_SAPI_Value>"},
        {"F9", 9, "<LLC_SAPI_Value>(9)SAPI 9</LLC_SAPI_Value>"},
        {"01", 1, "<LLC_SAPI_Value>(1)reserved</LLC_SAPI_Value>"},
        {"0B", 11, "<LLC_SAPI_Value>(11)reserved</LLC_SAPI_Value>"},
        {"FF", 15, "<LLC_SAPI_Value>(15)reserved</LLC_SAPI_Value>"},
    };
    for (const OctetCase& c : cases) {
        SCOPED_TRACE(c.hex);
        const auto parsed = RunParse(ParseLlcSapi, std::string(c.hex) + " 34", 1);
        EXPECT_EQ(parsed.result, 1);
        EXPECT_EQ(parsed.position, 8);
        EXPECT_EQ(parsed.record.llcSapi, c.value);
        EXPECT_EQ(RenderText(RenderLlcSapi, parsed.record), std::string(c.line) + "\n");
    }
}

TEST(LlcSapi, LengthRules) {
    const auto longer = RunParse(ParseLlcSapi, "03 AA BB", 2);
    EXPECT_EQ(longer.result, 1);
    EXPECT_EQ(longer.position, 16);
    const auto zero = RunParse(ParseLlcSapi, "03 AA", 0);
    EXPECT_EQ(zero.result, 0);
    EXPECT_EQ(zero.position, 0);
    const auto negative = RunParse(ParseLlcSapi, "03", -1);
    EXPECT_EQ(negative.result, 0);
    EXPECT_EQ(negative.position, 0);
    EXPECT_EQ(negative.record.llcSapi, 0);
}

// ---------------------------------------------- packet flow identifier

TEST(PacketFlowId, LowSevenBitsAndText) {
    const OctetCase cases[] = {
        {"00", 0, "<PacketFlowIdentifierValue>(0)Best Effort</PacketFlowIdentifierValue>"},
        {"81", 1, "<PacketFlowIdentifierValue>(1)Signaling</PacketFlowIdentifierValue>"},
        {"82", 2, "<PacketFlowIdentifierValue>(2)SMS</PacketFlowIdentifierValue>"},
        {"03", 3, "<PacketFlowIdentifierValue>(3)TOM8</PacketFlowIdentifierValue>"},
        {"04", 4, "<PacketFlowIdentifierValue>(4)reserved</PacketFlowIdentifierValue>"},
        {"07", 7, "<PacketFlowIdentifierValue>(7)reserved</PacketFlowIdentifierValue>"},
        {"08", 8, "<PacketFlowIdentifierValue>(8)dynamically assigned</PacketFlowIdentifierValue>"},
        {"7F", 127, "<PacketFlowIdentifierValue>(127)dynamically assigned</PacketFlowIdentifierValue>"},
        {"FF", 127, "<PacketFlowIdentifierValue>(127)dynamically assigned</PacketFlowIdentifierValue>"},
    };
    for (const OctetCase& c : cases) {
        SCOPED_TRACE(c.hex);
        const auto parsed = RunParse(ParsePacketFlowId, std::string(c.hex) + " 27", 1);
        EXPECT_EQ(parsed.result, 1);
        EXPECT_EQ(parsed.position, 8);
        EXPECT_EQ(parsed.record.packetFlowId, c.value);
        EXPECT_EQ(RenderText(RenderPacketFlowId, parsed.record), std::string(c.line) + "\n");
    }
}

TEST(PacketFlowId, LengthRules) {
    const auto longer = RunParse(ParsePacketFlowId, "05 AA BB CC", 3);
    EXPECT_EQ(longer.result, 1);
    EXPECT_EQ(longer.position, 24);
    EXPECT_EQ(longer.record.packetFlowId, 5);
    const auto negative = RunParse(ParsePacketFlowId, "05", -1);
    EXPECT_EQ(negative.result, 0);
    EXPECT_EQ(negative.position, 0);
}

// ----------------------------------------------------------- ESM cause

TEST(EsmCause, EveryText) {
    struct Row {
        int32_t cause;
        const char* text;
    };
    const Row rows[] = {
        {8, "Operator Determined Barring"},
        {26, "Insufficient resources"},
        {27, "Unknown or missing APN"},
        {28, "Unknown PDN type"},
        {29, "User authentication failed"},
        {30, "Request rejected by Serving GW or PDN GW"},
        {31, "Request rejected, unspecified"},
        {32, "Service option not supported"},
        {33, "Requested service option not subscribed"},
        {34, "Service option temporarily out of order"},
        {35, "PTI already in use"},
        {36, "Regular deactivation"},
        {37, "EPS QoS not accepted"},
        {38, "Network failure"},
        {41, "Semantic error in the TFT operation"},
        {42, "Syntactical error in the TFT operation"},
        {43, "Invalid EPS bearer identity"},
        {44, "Semantic errors in packet filter(s)"},
        {45, "Syntactical errors in packet filter(s)"},
        {46, "EPS bearer context without TFT already activated "},
        {47, "PTI mismatch"},
        {49, "Last PDN disconnection not allowed"},
        {50, "PDN type IPv4 only allowed"},
        {51, "PDN type IPv6 only allowed"},
        {52, "Single address bearers only allowed"},
        {53, "ESM information not received"},
        {54, "PDN connection does not exist"},
        {55, "Multiple PDN connections for a given APN not allowed"},
        {56, "Collision with network initiated request"},
        {81, "Invalid PTI value"},
        {95, "Semantically incorrect message"},
        {96, "Invalid mandatory information"},
        {97, "Message type non-existent or not implemented"},
        {98, "Message type not compatible with the protocol state"},
        {99, "Information element non-existent or not implemented"},
        {100, "Conditional IE error"},
        {101, "Message not compatible with the protocol state"},
        {111, "Protocol error, unspecified"},
        {112, "APN restriction value incompatible with active EPS bearer context"},
        // Values without a text of their own.
        {0, "protocol error, unspecified"},
        {7, "protocol error, unspecified"},
        {9, "protocol error, unspecified"},
        {39, "protocol error, unspecified"},
        {48, "protocol error, unspecified"},
        {57, "protocol error, unspecified"},
        {110, "protocol error, unspecified"},
        {113, "protocol error, unspecified"},
        {255, "protocol error, unspecified"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cause);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderEsmCause(row.cause, out), 1); }),
                  "<ESMCause>(" + std::to_string(row.cause) + ")" + row.text + "</ESMCause>\n");
    }
}

TEST(SmFields, RenderWithoutBufferWritesNothing) {
    OutputDocument none;
    EXPECT_EQ(RenderTransactionId(TransactionId{}, none), 0);
    EXPECT_EQ(RenderLlcSapi(LlcSapi{}, none), 0);
    EXPECT_EQ(RenderPacketFlowId(PacketFlowId{}, none), 0);
    EXPECT_EQ(RenderEsmCause(36, none), 0);
}

}  // namespace
}  // namespace corvuna::test
