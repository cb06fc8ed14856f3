// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "legacy/ie/sm/apn_pdn.h"
#include "sm_ie_test_support.h"

namespace corvuna::test {
namespace {

// The hex of one APN label: its length octet, then its characters.
std::string Label(std::string_view text) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    const auto put = [&](unsigned octet) {
        hex += digits[octet >> 4];
        hex += digits[octet & 0x0F];
        hex += ' ';
    };
    put(static_cast<unsigned>(text.size()));
    for (char c : text) put(static_cast<unsigned char>(c));
    return hex;
}

// The APN text as the message renderers write it.
std::string ApnLine(const AccessPointName& record) {
    return Rendered([&](OutputDocument& out) { WriteString("Access_point_name", record.apnText, out); });
}

// ---------------------------------------------------------------- APN

struct ApnCase {
    const char* what;
    std::string hex;
    int32_t length;
    int result;
    int32_t endOctet;
    std::string text;
};

TEST(AccessPointName, JoinsLabels) {
    const std::string sixtyThreeA(63, 'a');
    const std::string sixtyThreeB(63, 'b');
    const ApnCase cases[] = {
        {"two labels, no separator", Label("internet") + Label("com"), 13, 1, 13, "internetcom"},
        {"a shorter label after a longer one", Label("internet") + Label("ab") + "FF", 12, 1, 12, "internetab"},
        {"one label, data after the IE untouched", Label("ims") + "5D 01", 4, 1, 4, "ims"},
        {"length 0 gives an empty text", Label("abc"), 0, 1, 0, ""},
        {"a zero-length label adds nothing", "00 " + Label("x"), 3, 1, 3, "x"},
        {"a label running past the declared length is still taken; the cursor goes back",
         Label("abc") + "FF", 2, 0, 2, "abc"},
        {"declared length past the data, labels inside it", Label("ab"), 5, 1, 3, "ab"},
        {"a label running past the data is not taken; the cursor goes to the end", Label("ab") + "05 61 62", 8, 1,
         6, "ab"},
        {"labels beyond 100 characters are cut at 100",
         Label(sixtyThreeA) + Label(sixtyThreeB) + Label("zz"), 131, 1, 131,
         sixtyThreeA + std::string(37, 'b')},
    };
    for (const ApnCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = RunParse(ParseAccessPointName, c.hex, c.length);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.endOctet * 8);
        EXPECT_EQ(std::string(parsed.record.apnText), c.text);
        EXPECT_EQ(ApnLine(parsed.record), "<Access_point_name>" + c.text + "</Access_point_name>\n");
    }
}

TEST(AccessPointName, FullTextStaysTerminatedAndCursorPassesEveryLabel) {
    // Four labels of 40: the third is cut at 100 characters, the fourth
    // is passed over without being kept.
    std::string hex;
    for (char c : {'p', 'q', 'r', 's'}) hex += Label(std::string(40, c));
    hex += "27";
    const auto parsed = RunParse(ParseAccessPointName, hex, 164);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 164 * 8);
    EXPECT_EQ(std::strlen(parsed.record.apnText), 100u);
    EXPECT_EQ(parsed.record.apnText[100], '\0');
    EXPECT_EQ(std::string(parsed.record.apnText),
              std::string(40, 'p') + std::string(40, 'q') + std::string(20, 'r'));
}

TEST(AccessPointName, LabelsAreCopiedOctetForOctet) {
    // A NUL inside a label does not move the running end: the octets after
    // it are kept, but the "%s" element shows the text up to the NUL.
    const auto parsed = RunParse(ParseAccessPointName, "03 61 00 62 02 63 64", 7);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(std::memcmp(parsed.record.apnText, "a\0bcd", 6), 0);
    EXPECT_EQ(ApnLine(parsed.record), "<Access_point_name>a</Access_point_name>\n");
}

TEST(AccessPointName, TextIsClearedBeforeDecoding) {
    AccessPointName record;
    std::memset(record.apnText, 'x', sizeof record.apnText);
    const std::vector<uint8_t> octets = Hex(Label("ab"));
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    EXPECT_EQ(ParseAccessPointName(cursor, 3, record), 1);
    EXPECT_EQ(std::string(record.apnText), "ab");
    EXPECT_EQ(record.apnText[50], '\0');
    EXPECT_EQ(record.apnText[100], '\0');
}

TEST(AccessPointName, NegativeLengthReadsNothing) {
    AccessPointName record;
    std::memset(record.apnText, 'x', sizeof record.apnText);
    const std::vector<uint8_t> octets = Hex(Label("ab"));
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    EXPECT_EQ(ParseAccessPointName(cursor, -1, record), 0);
    EXPECT_EQ(cursor.position, 0);
    EXPECT_EQ(record.apnText[0], 'x');
}

// --------------------------------------------------------- PDN address

struct PdnCase {
    const char* what;
    const char* hex;
    int32_t length;
    int result;
    int32_t endOctet;
    std::string rendered;
};

TEST(PdnAddress, TypesAndAddresses) {
    const PdnCase cases[] = {
        {"IPv4", "01 0A 00 00 01", 5, 1, 5,
         Lines({"<PDNTypeValue>(1)IPv4</PDNTypeValue>", "<PDN_Address>10.0.0.1</PDN_Address>"})},
        {"the five high bits of the type octet are dropped", "09 C0 A8 FF 07 27", 5, 1, 5,
         Lines({"<PDNTypeValue>(1)IPv4</PDNTypeValue>", "<PDN_Address>192.168.255.7</PDN_Address>"})},
        {"IPv6: the first four interface identifier octets", "02 11 22 33 44 55 66 77 88", 9, 1, 9,
         Lines({"<PDNTypeValue>(2)IPv6</PDNTypeValue>", "<PDN_Address>17.34.51.68</PDN_Address>"})},
        {"IPv4v6", "03 00 00 00 00 00 00 00 01 0A 14 1E 28", 13, 1, 13,
         Lines({"<PDNTypeValue>(3)IPv4v6</PDNTypeValue>", "<PDN_Address>0.0.0.0</PDN_Address>"})},
        {"type 0 is reserved", "00 01 02 03 04", 5, 1, 5,
         Lines({"<PDNTypeValue>(0)reserved</PDNTypeValue>", "<PDN_Address>1.2.3.4</PDN_Address>"})},
        {"type 4 is reserved", "04 FF FF FF FF", 5, 1, 5,
         Lines({"<PDNTypeValue>(4)reserved</PDNTypeValue>", "<PDN_Address>255.255.255.255</PDN_Address>"})},
        {"type 7 is reserved", "07 64 09 63 0A", 5, 1, 5,
         Lines({"<PDNTypeValue>(7)reserved</PDNTypeValue>", "<PDN_Address>100.9.99.10</PDN_Address>"})},
        {"length 1: the type alone", "01 0A 00 00 01", 1, 1, 1,
         Lines({"<PDNTypeValue>(1)IPv4</PDNTypeValue>", "<PDN_Address>0.0.0.0</PDN_Address>"})},
        {"length 0 still reads the type; the cursor goes back", "01 0A", 0, 0, 0,
         Lines({"<PDNTypeValue>(1)IPv4</PDNTypeValue>", "<PDN_Address>0.0.0.0</PDN_Address>"})},
        {"address past the data reads as 0", "01 0A 0B", 5, 1, 5,
         Lines({"<PDNTypeValue>(1)IPv4</PDNTypeValue>", "<PDN_Address>10.11.0.0</PDN_Address>"})},
    };
    for (const PdnCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = RunParse(ParsePdnAddress, c.hex, c.length);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.endOctet * 8);
        EXPECT_EQ(RenderText(RenderPdnAddress, parsed.record), c.rendered);
    }
}

TEST(PdnAddress, KeepsSixteenOctetsAndPassesAll) {
    // Twenty address octets 0x01..0x14: the first sixteen are kept, the
    // cursor passes all of them, nothing is written beyond the field.
    struct Guarded {
        PdnAddress pdn;
        uint8_t guard[8];
    };
    std::string hex = "03";
    for (int i = 1; i <= 20; ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, " %02X", i);
        hex += pair;
    }
    hex += " 27";
    const std::vector<uint8_t> octets = Hex(hex);
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    Guarded target;
    std::memset(&target, 0, sizeof target);
    std::memset(target.guard, 0xA5, sizeof target.guard);
    EXPECT_EQ(ParsePdnAddress(cursor, 21, target.pdn), 1);
    EXPECT_EQ(cursor.position, 21 * 8);
    EXPECT_EQ(target.pdn.pdnType, 3);
    for (int i = 0; i < kPdnAddressCapacity; ++i) EXPECT_EQ(target.pdn.address[i], i + 1);
    for (uint8_t g : target.guard) EXPECT_EQ(g, 0xA5);
}

TEST(PdnAddress, LongLengthPastTheDataStaysSafe) {
    const auto parsed = RunParse(ParsePdnAddress, "01 0A 00", 255);
    EXPECT_EQ(parsed.result, 1);
    // Every declared octet was read (past the data as 0); the declared end
    // lies beyond the data, so the cursor stays where the reads ended.
    EXPECT_EQ(parsed.position, 255 * 8);
    EXPECT_EQ(parsed.record.address[0], 0x0A);
    EXPECT_EQ(parsed.record.address[15], 0);
}

TEST(PdnAddress, NegativeLengthReadsNothing) {
    const auto parsed = RunParse(ParsePdnAddress, "01 0A 00 00 01", -3);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(parsed.record.pdnType, 0);
}

// ---------------------------------------------------------- APN-AMBR

struct RateCase {
    uint8_t coded;
    int32_t kbps;
};

TEST(ApnAmbr, PrimaryRateAtEveryRangeBoundary) {
    // The range bases are not added: 64 and 128 start again from 0.
    const RateCase cases[] = {
        {0, 0},    {1, 1},     {63, 63},     {64, 0},      {65, 8},      {100, 288},
        {127, 504}, {128, 0},  {129, 64},    {200, 4608},  {254, 8064},  {255, 8128},
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.coded));
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X %02X", c.coded, c.coded);
        const auto parsed = RunParse(ParseApnAmbr, hex, 2);
        EXPECT_EQ(parsed.record.apnAmbrDl, c.kbps);
        EXPECT_EQ(parsed.record.apnAmbrUl, c.kbps);
        EXPECT_EQ(parsed.record.apnAmbrDlExt, 0);
    }
}

TEST(ApnAmbr, ExtendedRateAtEveryRangeBoundary) {
    const RateCase cases[] = {
        {0, 0},         {1, 100},       {74, 7400},     {75, 1000},     {76, 2000},
        {186, 112000},  {187, 2000},    {188, 4000},    {250, 128000},  {255, 138000},
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.coded));
        char hex[16];
        std::snprintf(hex, sizeof hex, "00 00 %02X %02X", c.coded, c.coded);
        const auto parsed = RunParse(ParseApnAmbr, hex, 4);
        EXPECT_EQ(parsed.record.apnAmbrDlExt, c.kbps);
        EXPECT_EQ(parsed.record.apnAmbrUlExt, c.kbps);
        EXPECT_EQ(parsed.record.apnAmbrDlExt2, 0);
    }
}

struct AmbrCase {
    const char* what;
    const char* hex;
    int32_t length;
    int result;
    int32_t endOctet;
    std::string rendered;
};

TEST(ApnAmbr, ParsesAndRendersByLength) {
    const AmbrCase cases[] = {
        {"63 and 63 kbps", "3F 3F", 2, 1, 2,
         Lines({"<APN_AMBR_DL>(63)kbps</APN_AMBR_DL>", "<APN_AMBR_UL>(63)kbps</APN_AMBR_UL>"})},
        {"zero rates are not written", "40 80", 2, 1, 2, ""},
        {"length 4", "FE FE 4A 4B", 4, 1, 4,
         Lines({"<APN_AMBR_DL>(8064)kbps</APN_AMBR_DL>", "<APN_AMBR_UL>(8064)kbps</APN_AMBR_UL>",
                "<APN_AMBR_DL_EX>(7400)kbps</APN_AMBR_DL_EX>", "<APN_AMBR_UL_EX>(1000)kbps</APN_AMBR_UL_EX>"})},
        {"length 6: the second extension unconverted, zero omitted", "01 40 02 00 FA 00", 6, 1, 6,
         Lines({"<APN_AMBR_DL>(1)kbps</APN_AMBR_DL>", "<APN_AMBR_DL_EX>(200)kbps</APN_AMBR_DL_EX>",
                "<APN_AMBR_DL_EX2>(250)kbps</APN_AMBR_DL_EX2>"})},
        {"length 6, every field", "81 C1 BB 4B 01 FF", 6, 1, 6,
         Lines({"<APN_AMBR_DL>(64)kbps</APN_AMBR_DL>", "<APN_AMBR_UL>(4160)kbps</APN_AMBR_UL>",
                "<APN_AMBR_DL_EX>(2000)kbps</APN_AMBR_DL_EX>", "<APN_AMBR_UL_EX>(1000)kbps</APN_AMBR_UL_EX>",
                "<APN_AMBR_DL_EX2>(1)kbps</APN_AMBR_DL_EX2>", "<APN_AMBR_UL_EX2>(255)kbps</APN_AMBR_UL_EX2>"})},
        {"length 1 reads the octet after the IE as uplink; the cursor goes back", "3F 3F", 1, 0, 1,
         Lines({"<APN_AMBR_DL>(63)kbps</APN_AMBR_DL>", "<APN_AMBR_UL>(63)kbps</APN_AMBR_UL>"})},
        {"length 3 reads four octets; the cursor goes back", "01 02 03 04 05", 3, 0, 3,
         Lines({"<APN_AMBR_DL>(1)kbps</APN_AMBR_DL>", "<APN_AMBR_UL>(2)kbps</APN_AMBR_UL>",
                "<APN_AMBR_DL_EX>(300)kbps</APN_AMBR_DL_EX>", "<APN_AMBR_UL_EX>(400)kbps</APN_AMBR_UL_EX>"})},
        {"length 5 reads six octets; the cursor goes back", "01 02 03 04 05 06", 5, 0, 5,
         Lines({"<APN_AMBR_DL>(1)kbps</APN_AMBR_DL>", "<APN_AMBR_UL>(2)kbps</APN_AMBR_UL>",
                "<APN_AMBR_DL_EX>(300)kbps</APN_AMBR_DL_EX>", "<APN_AMBR_UL_EX>(400)kbps</APN_AMBR_UL_EX>",
                "<APN_AMBR_DL_EX2>(5)kbps</APN_AMBR_DL_EX2>", "<APN_AMBR_UL_EX2>(6)kbps</APN_AMBR_UL_EX2>"})},
        {"length 8: two octets skipped", "01 02 03 04 05 06 07 08 09", 8, 1, 8,
         Lines({"<APN_AMBR_DL>(1)kbps</APN_AMBR_DL>", "<APN_AMBR_UL>(2)kbps</APN_AMBR_UL>",
                "<APN_AMBR_DL_EX>(300)kbps</APN_AMBR_DL_EX>", "<APN_AMBR_UL_EX>(400)kbps</APN_AMBR_UL_EX>",
                "<APN_AMBR_DL_EX2>(5)kbps</APN_AMBR_DL_EX2>", "<APN_AMBR_UL_EX2>(6)kbps</APN_AMBR_UL_EX2>"})},
        {"length 0 reads nothing", "3F 3F", 0, 1, 0, ""},
    };
    for (const AmbrCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = RunParse(ParseApnAmbr, c.hex, c.length);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.endOctet * 8);
        EXPECT_EQ(RenderText(RenderApnAmbr, parsed.record), c.rendered);
    }
}

TEST(ApnAmbr, NegativeLengthReadsNothing) {
    const auto parsed = RunParse(ParseApnAmbr, "3F 3F", -1);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(parsed.record.apnAmbrDl, 0);
}

TEST(ApnPdn, RenderWithoutBufferWritesNothing) {
    OutputDocument none;
    EXPECT_EQ(RenderPdnAddress(PdnAddress{}, none), 0);
    ApnAmbr ambr{};
    ambr.apnAmbrDl = 5;
    EXPECT_EQ(RenderApnAmbr(ambr, none), 0);
}

}  // namespace
}  // namespace corvuna::test
