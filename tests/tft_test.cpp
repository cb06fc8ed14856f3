// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cstdio>

#include "legacy/ie/sm/tft.h"
#include "sm_ie_test_support.h"

namespace corvuna::test {
namespace {

struct TftCase {
    const char* what;
    std::string hex;
    int32_t length;
    int result;
    int32_t endOctet;
    std::string rendered;
};

TEST(Tft, DecodesTheFirstOctetAndSkipsTheRest) {
    std::string fortyOctets = "31";
    for (int i = 1; i < 40; ++i) fortyOctets += " 10";
    fortyOctets += " 5E";
    const TftCase cases[] = {
        {"create new TFT, one filter", "21", 1, 1, 1,
         Lines({"<TFTOperationCode>(1)Create new TFT</TFTOperationCode>",
                "<Ebit>(0)parameters list is not included</Ebit>",
                "<Number_of_packet_filters>1</Number_of_packet_filters>"})},
        {"operation 7 keeps its trailing blank; E bit set", "F0 00", 1, 1, 1,
         Lines({"<TFTOperationCode>(7)Reserved </TFTOperationCode>", "<Ebit>(1)parameters list is included</Ebit>",
                "<Number_of_packet_filters>0</Number_of_packet_filters>"})},
        {"length 40: one octet decoded, the cursor after the fortieth", fortyOctets, 40, 1, 40,
         Lines({"<TFTOperationCode>(1)Create new TFT</TFTOperationCode>",
                "<Ebit>(1)parameters list is included</Ebit>",
                "<Number_of_packet_filters>1</Number_of_packet_filters>"})},
        {"fifteen filters", "6F", 1, 1, 1,
         Lines({"<TFTOperationCode>(3)Add packet filters to existing TFT</TFTOperationCode>",
                "<Ebit>(0)parameters list is not included</Ebit>",
                "<Number_of_packet_filters>15</Number_of_packet_filters>"})},
        {"length 0 still reads the octet; the cursor goes back", "C0", 0, 0, 0,
         Lines({"<TFTOperationCode>(6)No TFT operation</TFTOperationCode>",
                "<Ebit>(0)parameters list is not included</Ebit>",
                "<Number_of_packet_filters>0</Number_of_packet_filters>"})},
        {"declared end past the data: the cursor stays after the octet", "42 01", 9, 1, 1,
         Lines({"<TFTOperationCode>(2)Delete existing TFT</TFTOperationCode>",
                "<Ebit>(0)parameters list is not included</Ebit>",
                "<Number_of_packet_filters>2</Number_of_packet_filters>"})},
    };
    for (const TftCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = RunParse(ParseTft, c.hex, c.length);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.endOctet * 8);
        EXPECT_EQ(RenderText(RenderTft, parsed.record), c.rendered);
    }
}

TEST(Tft, OperationCodeTexts) {
    const char* const texts[] = {
        "Spare",
        "Create new TFT",
        "Delete existing TFT",
        "Add packet filters to existing TFT",
        "Replace packet filters in existing TFT",
        "Delete packet filters from existing TFT",
        "No TFT operation",
        "Reserved ",
    };
    for (int code = 0; code < 8; ++code) {
        SCOPED_TRACE(code);
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", code << 5);
        const auto parsed = RunParse(ParseTft, hex, 1);
        EXPECT_EQ(parsed.record.tftOperationCode, code);
        EXPECT_EQ(ElementLine(RenderText(RenderTft, parsed.record), "TFTOperationCode"),
                  "<TFTOperationCode>(" + std::to_string(code) + ")" + texts[code] + "</TFTOperationCode>");
    }
}

TEST(Tft, NegativeLengthReadsNothing) {
    const auto parsed = RunParse(ParseTft, "21", -1);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(parsed.record.packetFilterCount, 0);
}

TEST(Tft, RenderWithoutBufferWritesNothing) {
    OutputDocument none;
    EXPECT_EQ(RenderTft(Tft{}, none), 0);
}

}  // namespace
}  // namespace corvuna::test
