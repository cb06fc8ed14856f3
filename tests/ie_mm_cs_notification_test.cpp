// SPDX-License-Identifier: Apache-2.0
// CS service notification elements: CLI, SS code, LCS indicator, LCS
// client identity.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "legacy/ie/mm/cs_notification.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;
using test::Lines;
using test::Rendered;

struct Parsed {
    int result;
    int32_t position;
};

Parsed RunParseCli(const std::vector<uint8_t>& message, int32_t startOctet, int32_t length, Cli& record) {
    BitCursor cursor;
    LoadBits(cursor, message.data(), static_cast<uint32_t>(message.size()));
    cursor.position = startOctet * 8;
    const int result = ParseCli(cursor, length, record);
    return {result, cursor.position};
}

// The stored digits as hex characters ("12345F").
std::string DigitString(const Cli& record) {
    std::string digits;
    for (int32_t i = 0; i < record.numberDigitCount && i < kMaxCliDigits; ++i)
        digits += "0123456789ABCDEF"[record.numberDigits[i] & 0x0F];
    return digits;
}

struct CliCase {
    const char* label;
    const char* hex;
    int32_t start;
    int32_t length;
    int result;
    int32_t position;
    int octet3a;
    int typeOfNumber;
    int numberingPlan;
    int presentation;
    int screening;
    const char* digits;
};

const CliCase kCliCases[] = {
    {"worked value", "91 00 21 43 F5", 0, 5, 1, 40, 1, 1, 1, 0, 0, "12345F"},
    {"octet 1 only", "81", 0, 1, 1, 8, 0, 0, 1, 0, 0, ""},
    {"octet 1 only, digits not read", "60 01 A1 21 43", 2, 1, 1, 24, 0, 2, 1, 0, 0, ""},
    {"octet 1a read whatever the extension bit", "11 E3", 0, 2, 1, 16, 1, 1, 1, 3, 3, ""},
    {"presentation restricted, verified and passed", "91 21 89 67", 0, 4, 1, 32, 1, 1, 1, 1, 1, "9876"},
    {"twenty digits, the rest skipped", "91 80 10 32 54 76 98 10 32 54 76 98 BA DC 62", 0, 14, 1, 112, 1, 1, 1, 0,
     0, "01234567890123456789"},
    {"digit octets past the message read as zero", "91 80 21", 0, 5, 1, 40, 1, 1, 1, 0, 0, "120000"},
    {"length 0 moves back", "91 80 21", 0, 0, 0, 0, 0, 1, 1, 0, 0, ""},
};

TEST(CliTest, ParsesOctetsAndDigits) {
    for (const CliCase& c : kCliCases) {
        SCOPED_TRACE(c.label);
        Cli record{};
        const Parsed parsed = RunParseCli(Hex(c.hex), c.start, c.length, record);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(record.octet3aPresent, c.octet3a);
        EXPECT_EQ(record.typeOfNumber, c.typeOfNumber);
        EXPECT_EQ(record.numberingPlan, c.numberingPlan);
        EXPECT_EQ(record.presentationIndicator, c.presentation);
        EXPECT_EQ(record.screeningIndicator, c.screening);
        EXPECT_EQ(record.numberDigitCount, static_cast<int32_t>(std::strlen(c.digits)));
        EXPECT_EQ(DigitString(record), c.digits);
    }
}

TEST(CliTest, NegativeLengthReadsNothing) {
    Cli record;
    std::memset(&record, 0x77, sizeof record);
    const Parsed parsed = RunParseCli(Hex("91 00 21"), 0, -1, record);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    EXPECT_TRUE(std::all_of(bytes, bytes + sizeof record, [](uint8_t b) { return b == 0x77; }));
}

TEST(CliTest, LongNumberNeverWritesPastTheDigitArray) {
    struct Guarded {
        Cli record;
        uint8_t guard[16];
    } guarded;
    std::memset(&guarded, 0, sizeof guarded);
    std::memset(guarded.guard, 0x5A, sizeof guarded.guard);
    std::vector<uint8_t> message(257, 0x99);
    message[0] = 255;  // the length octet
    const Parsed parsed = RunParseCli(message, 1, 255, guarded.record);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 256 * 8);
    EXPECT_EQ(guarded.record.numberDigitCount, kMaxCliDigits);
    EXPECT_EQ(DigitString(guarded.record), std::string(20, '9'));
    EXPECT_TRUE(std::all_of(std::begin(guarded.guard), std::end(guarded.guard), [](uint8_t b) { return b == 0x5A; }));
}

TEST(CliTest, ElementParsedAgainReplacesTheEarlierOne) {
    Cli record{};
    RunParseCli(Hex("91 00 21 43 F5"), 0, 5, record);
    RunParseCli(Hex("81"), 0, 1, record);
    EXPECT_EQ(record.octet3aPresent, 0);
    EXPECT_EQ(record.numberDigitCount, 0);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderCli(record, out); }),
              Lines({"<type_of_number>0</type_of_number>",
                     "<Numbering_plan_identification>1</Numbering_plan_identification>"}));
}

TEST(CliTest, RendersWorkedValue) {
    Cli record{};
    RunParseCli(Hex("91 00 21 43 F5"), 0, 5, record);
    const std::string expected = Lines({
        "<type_of_number>1</type_of_number>",
        "<Numbering_plan_identification>1</Numbering_plan_identification>",
        "<presentat_indicator>(0)Presentation allowed</presentat_indicator>",
        "<screening_indicator>(0)User-provided, not screened</screening_indicator>",
        "<Number_Digit>0x01</Number_Digit>",
        "<Number_Digit>0x02</Number_Digit>",
        "<Number_Digit>0x03</Number_Digit>",
        "<Number_Digit>0x04</Number_Digit>",
        "<Number_Digit>0x05</Number_Digit>",
        "<Number_Digit>0x0F</Number_Digit>",
    });
    int result = 0;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderCli(record, out); }), expected);
    EXPECT_EQ(result, 1);
}

TEST(CliTest, RendersOctetOneOnly) {
    Cli record{};
    RunParseCli(Hex("C9"), 0, 1, record);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderCli(record, out); }),
              Lines({"<type_of_number>4</type_of_number>",
                     "<Numbering_plan_identification>9</Numbering_plan_identification>"}));
}

struct IndicatorCase {
    const char* octet1a;
    const char* presentationLine;
    const char* screeningLine;
};

const IndicatorCase kIndicatorCases[] = {
    {"80", "<presentat_indicator>(0)Presentation allowed</presentat_indicator>",
     "<screening_indicator>(0)User-provided, not screened</screening_indicator>"},
    {"A1", "<presentat_indicator>(1)Presentation restricted</presentat_indicator>",
     "<screening_indicator>(1)User-provided, verified and passed</screening_indicator>"},
    {"C2", "<presentat_indicator>(2)Number not available due to interworking</presentat_indicator>",
     "<screening_indicator>(2)User-provided, verified and failed</screening_indicator>"},
    {"FF", "<presentat_indicator>(3)reserved</presentat_indicator>",
     "<screening_indicator>(3)Network provided</screening_indicator>"},
};

TEST(CliTest, RendersPresentationAndScreeningValues) {
    for (const IndicatorCase& c : kIndicatorCases) {
        SCOPED_TRACE(c.octet1a);
        Cli record{};
        RunParseCli(Hex(std::string("91 ") + c.octet1a), 0, 2, record);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderCli(record, out); }),
                  Lines({"<type_of_number>1</type_of_number>",
                         "<Numbering_plan_identification>1</Numbering_plan_identification>", c.presentationLine,
                         c.screeningLine}));
    }
}

TEST(CliTest, RenderKeepsWithinTheDigitArray) {
    Cli record{};
    std::memset(record.numberDigits, 0x03, sizeof record.numberDigits);
    record.numberDigitCount = 1000;
    const std::string text = Rendered([&](OutputDocument& out) { RenderCli(record, out); });
    const std::string digitLine = "<Number_Digit>0x03</Number_Digit>\n";
    size_t digits = 0;
    for (size_t at = text.find(digitLine); at != std::string::npos; at = text.find(digitLine, at + 1)) ++digits;
    EXPECT_EQ(digits, 20u);
    EXPECT_EQ(text.find("<Number_Digit>0x00"), std::string::npos);
}

// ---------------------------------------------------------------------------
// SS code, LCS indicator, LCS client identity

struct ValueCase {
    int32_t value;
    const char* expected;
};

TEST(SsCodeTest, RendersNumber) {
    const ValueCase cases[] = {
        {0x11, "<ss_code_value>17</ss_code_value>\n"},
        {0xF0, "<ss_code_value>240</ss_code_value>\n"},
    };
    for (const ValueCase& c : cases) {
        int result = 0;
        EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderSsCode(c.value, out); }), c.expected);
        EXPECT_EQ(result, 1);
    }
}

TEST(LcsIndicatorTest, RendersMtLrOrNormal) {
    const ValueCase cases[] = {
        {1, "<LCS_indicator_value>(1)MT-LR</LCS_indicator_value>\n"},
        {0, "<LCS_indicator_value>(0)Normal, unspecified in this version of the protocol</LCS_indicator_value>\n"},
        {2, "<LCS_indicator_value>(2)Normal, unspecified in this version of the protocol</LCS_indicator_value>\n"},
        {255,
         "<LCS_indicator_value>(255)Normal, unspecified in this version of the protocol</LCS_indicator_value>\n"},
    };
    for (const ValueCase& c : cases) {
        int result = 0;
        EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderLcsIndicator(c.value, out); }), c.expected);
        EXPECT_EQ(result, 1);
    }
}

TEST(SsCodeTest, ReadWithTheSingleOctetParser) {
    // SS code 0x61 then LCS indicator 0x62 as TV elements after their IEIs.
    const std::vector<uint8_t> body = Hex("61 21 62 01");
    BitCursor cursor;
    LoadBits(cursor, body.data(), static_cast<uint32_t>(body.size()));
    int32_t ssCode = 0;
    int32_t lcsIndicator = 0;
    cursor.position = 8;
    EXPECT_EQ(ParseSingleOctetValue(cursor, 1, ssCode), 1);
    EXPECT_EQ(cursor.position, 16);
    cursor.position = 24;
    EXPECT_EQ(ParseSingleOctetValue(cursor, 1, lcsIndicator), 1);
    EXPECT_EQ(cursor.position, 32);
    EXPECT_EQ(ssCode, 0x21);
    EXPECT_EQ(lcsIndicator, 1);
}

TEST(CsNotificationRenderersTest, WriteNothingWithoutBuffer) {
    OutputDocument none;
    EXPECT_EQ(RenderCli(Cli{}, none), 0);
    EXPECT_EQ(RenderSsCode(1, none), 0);
    EXPECT_EQ(RenderLcsIndicator(1, none), 0);
    EXPECT_EQ(none.Required(), 0u);
}

}  // namespace
}  // namespace corvuna
