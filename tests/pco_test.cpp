// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "legacy/ie/sm/pco.h"
#include "sm_ie_test_support.h"

namespace corvuna::test {
namespace {

// `n` times `octet` (two hex digits), separated by `gap`.
std::string Repeat(std::string_view octet, int n, std::string_view gap = " ") {
    std::string hex;
    for (int i = 0; i < n; ++i) {
        hex += octet;
        hex += gap;
    }
    return hex;
}

constexpr char kPppText[] = "<ConfigurationProtocol>(0)PPP for use with IP PDP type, or EPS without use of PPP"
                            "</ConfigurationProtocol>";

struct PcoCase {
    const char* what;
    std::string hex;
    int32_t length;
    int result;
    int32_t endOctet;
    int32_t containers;
    std::string rendered;
};

TEST(ProtocolConfigOptions, ParsesContainersAndRenders) {
    const PcoCase cases[] = {
        {"configuration protocol alone", "80", 1, 1, 1, 0, Lines({kPppText})},
        {"one empty container", "80 00 0D 00", 4, 1, 4, 1,
         Lines({kPppText, "<ProtocolID>13</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>"})},
        {"one container with contents, identifier high octet first", "80 80 21 03 01 02 03 27", 7, 1, 7, 1,
         Lines({kPppText, "<ProtocolID>32801</ProtocolID>", "<ProtocolContents>0x010203</ProtocolContents>"})},
        {"several containers, hex digits upper case", "80 80 21 02 0A FF 00 0D 00 00 0C 01 AB", 13, 1, 13, 3,
         Lines({kPppText, "<ProtocolID>32801</ProtocolID>", "<ProtocolContents>0x0AFF</ProtocolContents>",
                "<ProtocolID>13</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>",
                "<ProtocolID>12</ProtocolID>", "<ProtocolContents>0xAB</ProtocolContents>"})},
        {"EPS use of PPP", "81 00 0D 00", 4, 1, 4, 1,
         Lines({"<ConfigurationProtocol>(1)EPS use of PPP</ConfigurationProtocol>", "<ProtocolID>13</ProtocolID>",
                "<ProtocolContents>0x</ProtocolContents>"})},
        {"configuration protocol 2 has no element; containers still written", "82 00 0D 00", 4, 1, 4, 1,
         Lines({"<ProtocolID>13</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>"})},
        {"configuration protocol 7 has no element", "FF", 1, 1, 1, 0, ""},
        {"a container running past the message: counted, contents shown as zeros, cursor at the end",
         "80 80 21 05 01 02", 9, 1, 6, 1,
         Lines({kPppText, "<ProtocolID>32801</ProtocolID>", "<ProtocolContents>0x0000000000</ProtocolContents>"})},
        {"containers past the message end are read as zeros", "80 00 0D 02 AA", 17, 1, 5, 5,
         Lines({kPppText, "<ProtocolID>13</ProtocolID>", "<ProtocolContents>0x0000</ProtocolContents>",
                "<ProtocolID>0</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>",
                "<ProtocolID>0</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>",
                "<ProtocolID>0</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>",
                "<ProtocolID>0</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>"})},
        {"a container longer than the declared length: the cursor goes back", "80 00 0D 04 01 02 03 04 05", 5, 0,
         5, 1,
         Lines({kPppText, "<ProtocolID>13</ProtocolID>", "<ProtocolContents>0x01020304</ProtocolContents>"})},
        {"two octets left over open another container, which runs past the IE", "80 00 0D 01 55 66 77 02 99 AA", 6,
         0, 6, 2,
         Lines({kPppText, "<ProtocolID>13</ProtocolID>", "<ProtocolContents>0x55</ProtocolContents>",
                "<ProtocolID>26231</ProtocolID>", "<ProtocolContents>0x99AA</ProtocolContents>"})},
        {"length 0 still reads the configuration protocol; the cursor goes back", "81 00", 0, 0, 0, 0,
         Lines({"<ConfigurationProtocol>(1)EPS use of PPP</ConfigurationProtocol>"})},
    };
    for (const PcoCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = RunParse(ParseProtocolConfigOptions, c.hex, c.length);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.endOctet * 8);
        EXPECT_EQ(parsed.record.containerCount, c.containers);
        EXPECT_EQ(RenderText(RenderProtocolConfigOptions, parsed.record), c.rendered);
    }
}

TEST(ProtocolConfigOptions, StopsAfterTwentyFiveContainers) {
    // Thirty empty containers with identifiers 1..30: the first 25 are kept
    // and the reconciliation skips the other five.
    std::string hex = "80 ";
    std::string expected = kPppText;
    expected += "\n";
    for (int id = 1; id <= 30; ++id) {
        char container[16];
        std::snprintf(container, sizeof container, "00 %02X 00 ", id);
        hex += container;
        if (id <= kPcoMaxContainers) {
            expected += "<ProtocolID>" + std::to_string(id) + "</ProtocolID>\n";
            expected += "<ProtocolContents>0x</ProtocolContents>\n";
        }
    }
    hex += "5E";
    const auto parsed = RunParse(ParseProtocolConfigOptions, hex, 91);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 91 * 8);
    EXPECT_EQ(parsed.record.containerCount, kPcoMaxContainers);
    EXPECT_EQ(RenderText(RenderProtocolConfigOptions, parsed.record), expected);
}

TEST(ProtocolConfigOptions, KeepsTwoHundredFiftyContentsOctets) {
    // One container announcing 251 octets, then an empty container: the
    // first keeps 250 octets (nothing spills into the next container's
    // contents), the cursor passes all 251.
    std::string hex = "80 00 10 FB " + Repeat("5A", 250) + "C3 00 11 00 27";
    const std::vector<uint8_t> octets = Hex(hex);
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    auto record = std::make_unique<ProtocolConfigOptions>();
    std::memset(static_cast<void*>(record.get()), 0, sizeof *record);
    EXPECT_EQ(ParseProtocolConfigOptions(cursor, 258, *record), 1);
    EXPECT_EQ(cursor.position, 258 * 8);
    ASSERT_EQ(record->containerCount, 2);
    EXPECT_EQ(record->contentsLength[0], 251);
    EXPECT_EQ(record->contents[0][249], 0x5A);
    EXPECT_EQ(record->protocolId[1], 0x11);
    EXPECT_EQ(record->contentsLength[1], 0);
    EXPECT_EQ(record->contents[1][0], 0);
    const std::string text = RenderText(RenderProtocolConfigOptions, *record);
    EXPECT_EQ(text, Lines({kPppText, "<ProtocolID>16</ProtocolID>",
                           "<ProtocolContents>0x" + Repeat("5A", 250, "") + "</ProtocolContents>",
                           "<ProtocolID>17</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>"}));
}

TEST(ProtocolConfigOptions, OverlongContainerPastTheMessageShowsTwoHundredFiftyZeros) {
    const auto parsed = RunParse(ParseProtocolConfigOptions, "80 00 10 FF 01 02", 255);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 6 * 8);
    EXPECT_EQ(parsed.record.contentsLength[0], 255);
    const std::string text = RenderText(RenderProtocolConfigOptions, parsed.record);
    EXPECT_EQ(ElementLine(text, "ProtocolContents"),
              "<ProtocolContents>0x" + std::string(500, '0') + "</ProtocolContents>");
}

TEST(ProtocolConfigOptions, NegativeLengthReadsNothing) {
    const auto parsed = RunParse(ParseProtocolConfigOptions, "81 00 0D 00", -1);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(parsed.record.configurationProtocol, 0);
    EXPECT_EQ(parsed.record.containerCount, 0);
}

TEST(ProtocolConfigOptions, RenderWithoutBufferWritesNothing) {
    OutputDocument none;
    auto record = std::make_unique<ProtocolConfigOptions>();
    EXPECT_EQ(RenderProtocolConfigOptions(*record, none), 0);
}

}  // namespace
}  // namespace corvuna::test
