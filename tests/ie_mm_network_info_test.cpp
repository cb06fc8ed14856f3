// SPDX-License-Identifier: Apache-2.0
// Network name, time zone, time zone and time, daylight saving time and the
// single-octet value parser.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "legacy/ie/mm/network_info.h"
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

template <typename Record>
Parsed RunParse(int (*parse)(BitCursor&, int32_t, Record&), const std::vector<uint8_t>& message,
                int32_t startOctet, int32_t length, Record& record) {
    BitCursor cursor;
    LoadBits(cursor, message.data(), static_cast<uint32_t>(message.size()));
    cursor.position = startOctet * 8;
    const int result = parse(cursor, length, record);
    return {result, cursor.position};
}

// ---------------------------------------------------------------------------
// Network name

struct NetworkNameCase {
    const char* label;
    const char* hex;
    int32_t start;
    int32_t length;
    int result;
    int32_t position;
    int32_t codingScheme;
    int32_t addCi;
    int32_t spareBits;
    const char* text;
};

const NetworkNameCase kNetworkNameCases[] = {
    {"GSM default alphabet", "80 41 42", 0, 3, 1, 24, 0, 0, 0, "AB"},
    {"header octet only", "80 41 42", 0, 1, 1, 8, 0, 0, 0, ""},
    {"UCS2, one spare bit, next IE follows", "43 91 41 42 45", 1, 3, 1, 32, 1, 0, 1, "AB"},
    {"add CI, seven spare bits", "8F 41", 0, 2, 1, 16, 0, 1, 7, "A"},
    {"reserved coding scheme, extension bit clear", "70 41", 0, 2, 1, 16, 7, 0, 0, "A"},
    {"zero octet ends the text", "80 41 00 42", 0, 4, 1, 32, 0, 0, 0, "A"},
    {"text runs past the message", "80 41 42", 0, 5, 1, 24, 0, 0, 0, ""},
    {"text runs past the message, later start", "43 04 80 41 42", 2, 9, 1, 40, 0, 0, 0, ""},
    {"text one octet short", "43 04 80 41 42", 2, 4, 1, 40, 0, 0, 0, ""},
    {"length 0 moves back", "80 41 42", 0, 0, 0, 0, 0, 0, 0, ""},
    {"message ends before the header octet", "43 00", 2, 3, 1, 16, 0, 0, 0, ""},
};

TEST(NetworkNameTest, ParsesHeaderAndText) {
    for (const NetworkNameCase& c : kNetworkNameCases) {
        SCOPED_TRACE(c.label);
        NetworkName record{};
        const Parsed parsed = RunParse(ParseNetworkName, Hex(c.hex), c.start, c.length, record);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(record.codingScheme, c.codingScheme);
        EXPECT_EQ(record.addCi, c.addCi);
        EXPECT_EQ(record.spareBitsInLastOctet, c.spareBits);
        EXPECT_STREQ(record.textString, c.text);
    }
}

TEST(NetworkNameTest, NegativeLengthReadsNothing) {
    NetworkName record;
    std::memset(&record, 0x77, sizeof record);
    const Parsed parsed = RunParse(ParseNetworkName, Hex("80 41 42"), 0, -1, record);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(record.codingScheme, 0x77777777);
    EXPECT_EQ(record.textString[0], 0x77);
}

// A message of one header octet and `textOctets` text octets 'x', then
// `trailing` further octets.
std::vector<uint8_t> LongName(size_t textOctets, size_t trailing) {
    std::vector<uint8_t> message(1 + textOctets + trailing, 'x');
    message[0] = 0x80;
    return message;
}

TEST(NetworkNameTest, LongestTextKeepsItsTerminatingZero) {
    NetworkName record{};
    const Parsed parsed = RunParse(ParseNetworkName, LongName(1022, 4), 0, 1023, record);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 1023 * 8);
    EXPECT_EQ(std::string(record.textString), std::string(1022, 'x'));
    EXPECT_EQ(record.textString[1023], 0);
}

TEST(NetworkNameTest, TooLongForTheRecordCopiesNothing) {
    struct Case {
        const char* label;
        std::vector<uint8_t> message;
        int32_t length;
        int32_t position;
    };
    const Case cases[] = {
        {"element fits in the message: skipped", LongName(1100, 0), 1024, 1024 * 8},
        {"element runs past the message: cursor after the header", LongName(100, 0), 1024, 8},
        {"very long declared length", LongName(10, 0), 0x7FFFFFFF, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        NetworkName record{};
        const Parsed parsed = RunParse(ParseNetworkName, c.message, 0, c.length, record);
        EXPECT_EQ(parsed.result, 1);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(record.textString[0], 0);
    }
}

TEST(NetworkNameTest, NameParsedAgainReplacesTheEarlierText) {
    NetworkName record{};
    RunParse(ParseNetworkName, Hex("80 41 42 43 44"), 0, 5, record);
    ASSERT_STREQ(record.textString, "ABCD");
    RunParse(ParseNetworkName, Hex("80 58 59"), 0, 3, record);
    EXPECT_STREQ(record.textString, "XY");
    RunParse(ParseNetworkName, Hex("80 58 59"), 0, 6, record);
    EXPECT_STREQ(record.textString, "");
}

TEST(NetworkNameTest, RendersWorkedValue) {
    NetworkName record{};
    RunParse(ParseNetworkName, Hex("80 41 42"), 0, 3, record);
    const std::string expected = Lines({
        "<coding_scheme>(0)Cell Broadcast data coding scheme</coding_scheme>",
        "<AddCI>(0)The MS should not add the letters for the Country's Initials to the text string</AddCI>",
        "<Numberofsparebitsinlastoctet>(0)this field carries no information about the number of spare bits in "
        "octet n</Numberofsparebitsinlastoctet>",
        "<TextString>AB</TextString>",
    });
    int result = 0;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderNetworkName(record, out); }), expected);
    EXPECT_EQ(result, 1);
}

TEST(NetworkNameTest, RendersUcs2WithCountryInitialsAndEmptyText) {
    NetworkName record{};
    RunParse(ParseNetworkName, Hex("9A"), 0, 1, record);
    const std::string expected = Lines({
        "<coding_scheme>(1)UCS2</coding_scheme>",
        "<AddCI>(1)The MS should add the letters for the Country's Initials and a separator to the text "
        "string</AddCI>",
        "<Numberofsparebitsinlastoctet>(2)bits 7 and 8 are spare and set to 0 in octet "
        "n</Numberofsparebitsinlastoctet>",
        "<TextString></TextString>",
    });
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderNetworkName(record, out); }), expected);
}

struct HeaderLineCase {
    const char* hex;
    const char* line;
};

const HeaderLineCase kNameHeaderCases[] = {
    {"81", "<Numberofsparebitsinlastoctet>(1)bit 8 is spare and set to 0 in octet n</Numberofsparebitsinlastoctet>"},
    {"83",
     "<Numberofsparebitsinlastoctet>(3)bits 6 to 8(inclusive) are spare and set to 0 in octet "
     "n</Numberofsparebitsinlastoctet>"},
    {"84",
     "<Numberofsparebitsinlastoctet>(4)bits 5 to 8(inclusive) are spare and set to 0 in octet "
     "n</Numberofsparebitsinlastoctet>"},
    {"85",
     "<Numberofsparebitsinlastoctet>(5)bits 4 to 8(inclusive) are spare and set to 0 in octet "
     "n</Numberofsparebitsinlastoctet>"},
    {"86",
     "<Numberofsparebitsinlastoctet>(6)bits 3 to 8(inclusive) are spare and set to 0 in octet "
     "n</Numberofsparebitsinlastoctet>"},
    {"87",
     "<Numberofsparebitsinlastoctet>(7)bits 2 to 8(inclusive) are spare and set to 0 in octet "
     "n</Numberofsparebitsinlastoctet>"},
    {"A0", "<coding_scheme>(2)reserved</coding_scheme>"},
    {"F0", "<coding_scheme>(7)reserved</coding_scheme>"},
};

TEST(NetworkNameTest, RendersHeaderValues) {
    for (const HeaderLineCase& c : kNameHeaderCases) {
        SCOPED_TRACE(c.hex);
        NetworkName record{};
        RunParse(ParseNetworkName, Hex(c.hex), 0, 1, record);
        const std::string text = Rendered([&](OutputDocument& out) { RenderNetworkName(record, out); });
        EXPECT_NE(text.find(std::string(c.line) + "\n"), std::string::npos) << text;
    }
}

TEST(NetworkNameTest, RendersTextOctetsUnchanged) {
    NetworkName record{};
    RunParse(ParseNetworkName, Hex("80 C8 3C 26 FF"), 0, 5, record);
    const std::string text = Rendered([&](OutputDocument& out) { RenderNetworkName(record, out); });
    EXPECT_NE(text.find("<TextString>\xC8<&\xFF</TextString>\n"), std::string::npos);
}

TEST(NetworkNameTest, RenderStopsAtTheEndOfAnUnterminatedText) {
    NetworkName record{};
    std::memset(record.textString, 'y', sizeof record.textString);
    const std::string text = Rendered([&](OutputDocument& out) { RenderNetworkName(record, out); });
    EXPECT_NE(text.find("<TextString>" + std::string(1024, 'y') + "</TextString>\n"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Single-octet value and time zone

struct SingleOctetCase {
    const char* label;
    const char* hex;
    int32_t length;
    int result;
    int32_t position;
    int32_t value;
};

const SingleOctetCase kSingleOctetCases[] = {
    {"one octet", "80 47", 1, 1, 8, 128},
    {"high octet stays positive", "FF", 1, 1, 8, 255},
    {"longer element skipped", "21 00 00 49", 3, 1, 24, 33},
    {"declared end beyond the message", "21", 2, 1, 8, 33},
    {"length 0 moves back", "21", 0, 0, 0, 33},
    {"read past the message", "", 1, 1, 8, 0},
};

TEST(SingleOctetValueTest, ReadsOneOctetAndReconciles) {
    for (const SingleOctetCase& c : kSingleOctetCases) {
        SCOPED_TRACE(c.label);
        int32_t value = -1;
        const Parsed parsed = RunParse(ParseSingleOctetValue, Hex(c.hex), 0, c.length, value);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(value, c.value);
    }
    int32_t value = -1;
    const Parsed parsed = RunParse(ParseSingleOctetValue, Hex("21"), 0, -1, value);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(value, -1);
}

TEST(TimeZoneTest, RendersRawOctet) {
    EXPECT_EQ(Rendered([](OutputDocument& out) { EXPECT_EQ(RenderTimeZone(128, out), 1); }),
              "<TimeZone>128</TimeZone>\n");
    EXPECT_EQ(Rendered([](OutputDocument& out) { RenderTimeZone(0x21, out); }), "<TimeZone>33</TimeZone>\n");
}

// ---------------------------------------------------------------------------
// Time zone and time

TEST(TimeZoneAndTimeTest, RendersWorkedValue) {
    TimeZoneAndTime record{};
    const Parsed parsed = RunParse(ParseTimeZoneAndTime, Hex("21 70 11 21 43 65 80"), 0, 7, record);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 56);
    const std::string expected = Lines({
        "<Year>33</Year>",
        "<Month>112</Month>",
        "<Day>17</Day>",
        "<Hour>33</Hour>",
        "<Minute>67</Minute>",
        "<Second>101</Second>",
        "<TimeZone>128</TimeZone>",
    });
    int result = 0;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderTimeZoneAndTime(record, out); }), expected);
    EXPECT_EQ(result, 1);
}

struct TimeLengthCase {
    const char* label;
    const char* hex;
    int32_t start;
    int32_t length;
    int result;
    int32_t position;
    int32_t timeZone;  // the seventh octet read
};

const TimeLengthCase kTimeLengthCases[] = {
    {"fixed length 7 after the IEI", "47 21 70 11 21 43 65 80 49", 1, 7, 1, 64, 0x80},
    {"three octets: seven read, cursor back", "21 70 11 46 43 65 8A", 0, 3, 0, 24, 0x8A},
    {"longer element skipped", "21 70 11 21 43 65 80 00 00", 0, 9, 1, 72, 0x80},
    {"message ends inside the element", "21 70 11", 0, 7, 1, 56, 0},
    {"length 0", "21 70 11 21 43 65 80", 0, 0, 0, 0, 0x80},
};

TEST(TimeZoneAndTimeTest, ReconcilesCursorWithDeclaredLength) {
    for (const TimeLengthCase& c : kTimeLengthCases) {
        SCOPED_TRACE(c.label);
        TimeZoneAndTime record{};
        const Parsed parsed = RunParse(ParseTimeZoneAndTime, Hex(c.hex), c.start, c.length, record);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(record.year, 0x21);
        EXPECT_EQ(record.timeZone, c.timeZone);
    }
    TimeZoneAndTime record{};
    record.year = -5;
    const Parsed parsed = RunParse(ParseTimeZoneAndTime, Hex("21 70"), 0, -7, record);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(record.year, -5);
}

// ---------------------------------------------------------------------------
// Network daylight saving time

struct DaylightCase {
    const char* hex;
    int32_t value;
    const char* line;
};

const DaylightCase kDaylightCases[] = {
    {"00", 0, "<value>(0)No adjustment for Daylight Saving Time</value>\n"},
    {"01", 1, "<value>(1)+1 hour adjustment for Daylight Saving Time</value>\n"},
    {"02", 2, "<value>(2)+2 hours adjustment for Daylight Saving Time</value>\n"},
    {"03", 3, "<value>(3)Reserved</value>\n"},
    {"FE", 2, "<value>(2)+2 hours adjustment for Daylight Saving Time</value>\n"},
    {"FC", 0, "<value>(0)No adjustment for Daylight Saving Time</value>\n"},
};

TEST(DaylightSavingTimeTest, KeepsBitsTwoToOneAndRendersThem) {
    for (const DaylightCase& c : kDaylightCases) {
        SCOPED_TRACE(c.hex);
        int32_t value = -1;
        const Parsed parsed = RunParse(ParseDaylightSavingTime, Hex(c.hex), 0, 1, value);
        EXPECT_EQ(parsed.result, 1);
        EXPECT_EQ(parsed.position, 8);
        EXPECT_EQ(value, c.value);
        int result = 0;
        EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderDaylightSavingTime(value, out); }), c.line);
        EXPECT_EQ(result, 1);
    }
}

TEST(DaylightSavingTimeTest, ReconcilesCursorWithDeclaredLength) {
    const SingleOctetCase cases[] = {
        {"longer element skipped", "01 00 43", 2, 1, 16, 1},
        {"declared end beyond the message", "01", 4, 1, 8, 1},
        {"length 0", "01", 0, 0, 0, 1},
    };
    for (const SingleOctetCase& c : cases) {
        SCOPED_TRACE(c.label);
        int32_t value = -1;
        const Parsed parsed = RunParse(ParseDaylightSavingTime, Hex(c.hex), 0, c.length, value);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(value, c.value);
    }
    int32_t value = -1;
    const Parsed parsed = RunParse(ParseDaylightSavingTime, Hex("01"), 0, -1, value);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_EQ(value, -1);
}

// ---------------------------------------------------------------------------

TEST(NetworkInfoRenderersTest, WriteNothingWithoutBuffer) {
    OutputDocument none;
    const NetworkName name{};
    EXPECT_EQ(RenderNetworkName(name, none), 0);
    EXPECT_EQ(RenderTimeZone(1, none), 0);
    EXPECT_EQ(RenderTimeZoneAndTime(TimeZoneAndTime{}, none), 0);
    EXPECT_EQ(RenderDaylightSavingTime(1, none), 0);
    EXPECT_EQ(none.Required(), 0u);
}

}  // namespace
}  // namespace corvuna
