#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ie/mm/area_lists.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;
using test::Lines;
using test::Rendered;

BitCursor CursorAt(const std::vector<uint8_t>& octets, int32_t start) {
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    cursor.position = 8 * start;
    return cursor;
}

struct Outcome {
    int result;
    int32_t position;  // bits
};

std::string AreaText(const char* areaCode, int32_t mcc, int32_t mnc, int32_t code) {
    return "<MCC>" + std::to_string(mcc) + "</MCC>\n<MNC>" + std::to_string(mnc) + "</MNC>\n<" + areaCode + ">" +
           std::to_string(code) + "</" + areaCode + ">\n";
}

// ------------------------------------------------- tracking area identities

struct TaiCase {
    const char* name;
    const char* hex;
    int32_t start;
    int32_t length;
    Outcome expected;
    TrackingAreaIdentity tai;
};

void CheckTai(int (*parse)(BitCursor&, int32_t, TrackingAreaIdentity&), const TaiCase& c) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> octets = Hex(c.hex);
    BitCursor cursor = CursorAt(octets, c.start);
    TrackingAreaIdentity record{};
    EXPECT_EQ(parse(cursor, c.length, record), c.expected.result);
    EXPECT_EQ(cursor.position, c.expected.position);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderTrackingAreaIdentity(record, out), 1); }),
              AreaText("TAC", c.tai.mcc, c.tai.mnc, c.tai.tac));
}

TEST(TrackingAreaIdentityListTest, ParseAndRenderTable) {
    const TaiCase cases[] = {
        {"with header", "00 64 F0 10 12 34", 0, 6, {1, 48}, {460, 1, 4660}},
        {"first octet 0x64: no header", "64 F0 10 12 34", 0, 5, {1, 40}, {460, 1, 4660}},
        {"two TAIs: the second is passed over", "01 21 63 54 00 01 00 02 77", 0, 8, {1, 64}, {123, 45, 1}},
        {"after IEI and length", "54 06 20 21 63 54 FF FF 77", 2, 6, {1, 64}, {123, 45, 65535}},
        {"over-short: read anyway, cut back", "00 64 F0 10 12 34", 0, 3, {0, 24}, {460, 1, 4660}},
        {"over-long past the message", "00 64 F0 10 12 34", 0, 20, {1, 48}, {460, 1, 4660}},
        // A lone TAI given to the list parser loses its first octet as a header.
        {"single TAI read as a list", "21 63 54 00 01 77", 0, 5, {0, 40}, {364, 0, 375}},
    };
    for (const auto& c : cases) CheckTai(ParseTrackingAreaIdentityList, c);
}

TEST(TrackingAreaIdentityTest, ParseAndRenderTable) {
    const TaiCase cases[] = {
        {"last visited registered TAI", "21 63 54 00 01", 0, 5, {1, 40}, {123, 45, 1}},
        {"after the IEI, next IE untouched", "52 21 63 54 00 01 57 02 20 00", 1, 5, {1, 48}, {123, 45, 1}},
        {"first octet 0x64 is a PLMN octet too", "64 F0 10 12 34 99", 0, 5, {1, 40}, {460, 1, 4660}},
        {"three-digit MNC keeps two digits", "21 63 54 80 00", 0, 5, {1, 40}, {123, 45, 32768}},
        {"over-short", "21 63 54 00 01", 0, 4, {0, 32}, {123, 45, 1}},
        {"over-long", "21 63 54 00 01 AA BB", 0, 7, {1, 56}, {123, 45, 1}},
        {"past the message", "21 63 54", 0, 5, {1, 40}, {123, 45, 0}},
    };
    for (const auto& c : cases) CheckTai(ParseTrackingAreaIdentity, c);
}

TEST(TrackingAreaIdentityTest, NegativeLengthReadsNothing) {
    const std::vector<uint8_t> octets = Hex("00 64 F0 10 12 34");
    const TrackingAreaIdentity untouched{1, 2, 3};
    for (auto parse : {ParseTrackingAreaIdentityList, ParseTrackingAreaIdentity}) {
        BitCursor cursor = CursorAt(octets, 0);
        TrackingAreaIdentity record = untouched;
        EXPECT_EQ(parse(cursor, -1, record), 0);
        EXPECT_EQ(cursor.position, 0);
        EXPECT_EQ(std::memcmp(&record, &untouched, sizeof record), 0);
    }
}

// --------------------------------------------- location area identification

TEST(LocationAreaIdentificationTest, ParseAndRenderTable) {
    struct Case {
        const char* name;
        const char* hex;
        int32_t length;
        Outcome expected;
        LocationAreaIdentification lai;
    };
    const Case cases[] = {
        {"two-digit MNC", "64 F0 10 12 34", 5, {1, 40}, {460, 1, 4660}},
        {"three-digit MNC keeps two digits", "21 63 54 FF FE", 5, {1, 40}, {123, 45, 65534}},
        {"over-short", "21 63 54 FF FE", 3, {0, 24}, {123, 45, 65534}},
        {"over-long", "21 63 54 00 07 01 02", 7, {1, 56}, {123, 45, 7}},
        {"length 0", "64 F0 10 12 34", 0, {0, 0}, {460, 1, 4660}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor = CursorAt(octets, 0);
        LocationAreaIdentification record{};
        EXPECT_EQ(ParseLocationAreaIdentification(cursor, c.length, record), c.expected.result);
        EXPECT_EQ(cursor.position, c.expected.position);
        EXPECT_EQ(
            Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderLocationAreaIdentification(record, out), 1); }),
            AreaText("LAC", c.lai.mcc, c.lai.mnc, c.lai.lac));
    }
    const std::vector<uint8_t> octets = Hex("64 F0 10 12 34");
    BitCursor cursor = CursorAt(octets, 0);
    LocationAreaIdentification record{7, 8, 9};
    EXPECT_EQ(ParseLocationAreaIdentification(cursor, -5, record), 0);
    EXPECT_EQ(cursor.position, 0);
    EXPECT_EQ(record.mcc, 7);
}

// ----------------------------------------------------------------- PLMN list

std::string PlmnBlocks(const std::vector<std::pair<int32_t, int32_t>>& plmns) {
    std::string text;
    for (const auto& [mcc, mnc] : plmns) {
        text += "<PLMN>\n<MCC>" + std::to_string(mcc) + "</MCC>\n<MNC>" + std::to_string(mnc) + "</MNC>\n</PLMN>\n";
    }
    return text;
}

TEST(PlmnListTest, ParseAndRenderTable) {
    struct Case {
        const char* name;
        std::string hex;
        int32_t length;
        Outcome expected;
        std::vector<std::pair<int32_t, int32_t>> plmns;
    };
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "21 63 54 ";
    const std::vector<std::pair<int32_t, int32_t>> fifteen(15, {123, 456});
    const Case cases[] = {
        {"two and three digit MNCs", "64 F0 10 64 00 10", 6, {1, 48}, {{460, 1}, {460, 10}}},
        {"length 2: no PLMN", "64 F0 10", 2, {1, 16}, {}},
        {"length 0", "64 F0 10", 0, {1, 0}, {}},
        {"trailing incomplete entry passed over", "64 F0 10 21 63 54 AA 99", 7, {1, 56}, {{460, 1}, {123, 456}}},
        {"sixteenth entry passed over", sixteen + "99", 48, {1, 384}, fifteen},
        {"entries past the message read as zeros", "64 F0 10 21 F3 54", 9, {1, 72}, {{460, 1}, {123, 45}, {0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor = CursorAt(octets, 0);
        PlmnList record{};
        record.plmnCount = 9;  // a stale count from an earlier list
        EXPECT_EQ(ParsePlmnList(cursor, c.length, record), c.expected.result);
        EXPECT_EQ(cursor.position, c.expected.position);
        EXPECT_EQ(record.plmnCount, static_cast<int32_t>(c.plmns.size()));
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderPlmnList(record, out), 1); }),
                  PlmnBlocks(c.plmns));
    }
}

TEST(PlmnListTest, NegativeLengthReadsNothing) {
    const std::vector<uint8_t> octets = Hex("64 F0 10");
    BitCursor cursor = CursorAt(octets, 0);
    PlmnList record{};
    record.plmnCount = 1;
    record.plmnMcc[0] = 310;
    EXPECT_EQ(ParsePlmnList(cursor, -3, record), 0);
    EXPECT_EQ(cursor.position, 0);
    EXPECT_EQ(record.plmnCount, 1);
    EXPECT_EQ(record.plmnMcc[0], 310);
}

TEST(PlmnListTest, RenderKeepsToTheRecordArrays) {
    PlmnList record{};
    for (size_t i = 0; i < kMaxPlmns; ++i) {
        record.plmnMcc[i] = 200 + static_cast<int32_t>(i);
        record.plmnMnc[i] = static_cast<int32_t>(i);
    }
    std::vector<std::pair<int32_t, int32_t>> all;
    for (size_t i = 0; i < kMaxPlmns; ++i) all.emplace_back(record.plmnMcc[i], record.plmnMnc[i]);
    record.plmnCount = 1000;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderPlmnList(record, out); }), PlmnBlocks(all));
    record.plmnCount = -4;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderPlmnList(record, out); }), "");
}

// ---------------------------------------------------- emergency number list

struct ExpectedNumber {
    int32_t category;
    const char* digits;  // "" when the number holds no digit
};

std::string NumberLines(const ExpectedNumber& n) {
    if (n.digits[0] == '\0') return "";
    return "<EmergSerCateValue>" + std::to_string(n.category) + "</EmergSerCateValue>\n<NumDigit>" + n.digits +
           "</NumDigit>\n";
}

TEST(EmergencyNumberListTest, ParseAndRenderTable) {
    struct Case {
        const char* name;
        const char* hex;
        int32_t length;
        Outcome expected;
        ExpectedNumber first;
        ExpectedNumber second;
    };
    const Case cases[] = {
        {"one number fills the element", "03 01 21 43 02 05 99", 4, {1, 32}, {1, "1234"}, {0, ""}},
        {"two numbers, end mark dropped", "03 1F 11 F2 02 02 11", 7, {1, 56}, {31, "112"}, {2, "11"}},
        {"third number passed over", "03 1F 11 F2 02 02 11 02 04 99 77", 10, {1, 80}, {31, "112"}, {2, "11"}},
        {"filler inside a number is not an end mark", "03 01 F1 21", 4, {1, 32}, {1, "1?12"}, {0, ""}},
        {"more than ten digits: kept ten, octets consumed", "07 05 21 43 65 87 09 21 02 03 54", 11, {1, 88},
         {5, "1234567890"}, {3, "45"}},
        {"number without digits", "01 05 02 03 21", 5, {1, 40}, {0, ""}, {3, "12"}},
        {"zero length octet still has a category", "00 05 02 03 21", 5, {1, 40}, {0, ""}, {3, "12"}},
        {"over-short: read anyway, cut back", "03 01 21 43", 2, {0, 16}, {1, "1234"}, {0, ""}},
        {"number longer than the element", "09 01 21 43", 4, {0, 32}, {1, "1234000000"}, {0, ""}},
        {"over-long past the message", "03 01 21 43", 10, {1, 48}, {1, "1234"}, {0, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor = CursorAt(octets, 0);
        EmergencyNumberList record{};
        EXPECT_EQ(ParseEmergencyNumberList(cursor, c.length, record), c.expected.result);
        EXPECT_EQ(cursor.position, c.expected.position);
        EXPECT_STREQ(record.numbers[0].numberDigits, c.first.digits);
        EXPECT_EQ(record.numbers[0].digitCount, static_cast<int32_t>(std::strlen(c.first.digits)));
        EXPECT_STREQ(record.numbers[1].numberDigits, c.second.digits);
        EXPECT_EQ(record.numbers[1].digitCount, static_cast<int32_t>(std::strlen(c.second.digits)));
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderEmergencyNumberList(record, out), 1); }),
                  NumberLines(c.first) + NumberLines(c.second));
    }
}

TEST(EmergencyNumberListTest, ReparseReplacesEarlierDigits) {
    EmergencyNumberList record{};
    const std::vector<uint8_t> longer = Hex("06 01 21 43 65 87 09 03 02 21 F3");
    BitCursor cursor = CursorAt(longer, 0);
    ASSERT_EQ(ParseEmergencyNumberList(cursor, 11, record), 1);
    EXPECT_STREQ(record.numbers[0].numberDigits, "1234567890");
    EXPECT_STREQ(record.numbers[1].numberDigits, "123");
    const std::vector<uint8_t> shorter = Hex("02 06 11");
    cursor = CursorAt(shorter, 0);
    ASSERT_EQ(ParseEmergencyNumberList(cursor, 3, record), 1);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderEmergencyNumberList(record, out); }),
              Lines({"<EmergSerCateValue>6</EmergSerCateValue>", "<NumDigit>11</NumDigit>"}));
}

TEST(EmergencyNumberListTest, NegativeLengthReadsNothing) {
    const std::vector<uint8_t> octets = Hex("03 01 21 43");
    BitCursor cursor = CursorAt(octets, 0);
    EmergencyNumberList record{};
    record.numbers[0].digitCount = 1;
    record.numbers[0].numberDigits[0] = '9';
    EXPECT_EQ(ParseEmergencyNumberList(cursor, -1, record), 0);
    EXPECT_EQ(cursor.position, 0);
    EXPECT_EQ(record.numbers[0].digitCount, 1);
    EXPECT_STREQ(record.numbers[0].numberDigits, "9");
}

TEST(EmergencyNumberListTest, RenderKeepsToTheDigitText) {
    EmergencyNumberList record{};
    record.numbers[1].category = 200;
    record.numbers[1].digitCount = 50;
    std::memset(record.numbers[1].numberDigits, '7', sizeof record.numbers[1].numberDigits);  // no terminator
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderEmergencyNumberList(record, out); }),
              Lines({"<EmergSerCateValue>200</EmergSerCateValue>", "<NumDigit>7777777777</NumDigit>"}));
}

// ------------------------------------------------ EPS bearer context status

std::string BearerLines(const std::set<int>& active) {
    std::string text;
    for (int k = 0; k < 16; ++k) {
        text += active.count(k) != 0
                    ? "<EBI>(1) the ESM state of the corresponding EPS bearer context is BEARER CONTEXT-ACTIVE</EBI>\n"
                    : "<EBI>(0)the ESM state of the corresponding EPS bearer context is BEARER CONTEXT-INACTIVE</EBI>\n";
    }
    return text;
}

TEST(EpsBearerContextStatusTest, ParseAndRenderTable) {
    struct Case {
        const char* name;
        const char* hex;
        int32_t length;
        Outcome expected;
        std::set<int> active;
    };
    const Case cases[] = {
        {"EBI 5", "20 00", 2, {1, 16}, {5}},
        {"EBI 0 to 7", "FF 00", 2, {1, 16}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"EBI 15", "00 80", 2, {1, 16}, {15}},
        {"EBI 0 and 8", "01 01", 2, {1, 16}, {0, 8}},
        {"none", "00 00", 2, {1, 16}, {}},
        {"over-long", "60 02 FF FF 11", 4, {1, 32}, {5, 6, 9}},
        {"over-short", "60 02 FF", 1, {0, 8}, {5, 6, 9}},
        {"past the message", "E0", 2, {1, 16}, {5, 6, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor = CursorAt(octets, 0);
        EpsBearerContextStatus record{};
        EXPECT_EQ(ParseEpsBearerContextStatus(cursor, c.length, record), c.expected.result);
        EXPECT_EQ(cursor.position, c.expected.position);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderEpsBearerContextStatus(record, out), 1); }),
                  BearerLines(c.active));
    }
    const std::vector<uint8_t> octets = Hex("FF FF");
    BitCursor cursor = CursorAt(octets, 0);
    EpsBearerContextStatus record{};
    EXPECT_EQ(ParseEpsBearerContextStatus(cursor, -2, record), 0);
    EXPECT_EQ(cursor.position, 0);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderEpsBearerContextStatus(record, out); }), BearerLines({}));
}

// ------------------------------------------------------- no output buffer

TEST(AreaListRenderersTest, WithoutBufferReturnZeroAndWriteNothing) {
    OutputDocument out;
    PlmnList plmns{};
    plmns.plmnCount = 1;
    EmergencyNumberList numbers{};
    numbers.numbers[0].digitCount = 1;
    numbers.numbers[0].numberDigits[0] = '1';
    EXPECT_EQ(RenderTrackingAreaIdentity(TrackingAreaIdentity{1, 2, 3}, out), 0);
    EXPECT_EQ(RenderLocationAreaIdentification(LocationAreaIdentification{1, 2, 3}, out), 0);
    EXPECT_EQ(RenderPlmnList(plmns, out), 0);
    EXPECT_EQ(RenderEmergencyNumberList(numbers, out), 0);
    EXPECT_EQ(RenderEpsBearerContextStatus(EpsBearerContextStatus{}, out), 0);
    EXPECT_EQ(out.required, 0u);
}

}  // namespace
}  // namespace corvuna
