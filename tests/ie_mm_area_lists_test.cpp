// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "legacy/ie/mm/area_lists.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;
using test::Lines;
using test::Rendered;

// Parses `hex` from octet `start`, checks the result and the end position
// (bits), and returns what `render` then writes.
template <typename Record, typename Parse, typename Render>
std::string ParseRender(const std::string& hex, int32_t start, int32_t length, int result, int32_t end, Parse parse,
                        Render render, Record record = Record{}) {
    const std::vector<uint8_t> octets = Hex(hex);
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    cursor.position = 8 * start;
    EXPECT_EQ(parse(cursor, length, record), result);
    EXPECT_EQ(cursor.position, end);
    return Rendered([&](OutputDocument& out) { EXPECT_EQ(render(record, out), 1); });
}

std::string Area(const char* code, int mcc, int mnc, int value) {
    return "<MCC>" + std::to_string(mcc) + "</MCC>\n<MNC>" + std::to_string(mnc) + "</MNC>\n<" + code + ">" +
           std::to_string(value) + "</" + code + ">\n";
}

struct AreaCase {
    const char* hex;
    int32_t start, length, result, end;
    std::string text;
};

TEST(TrackingAreaIdentityTest, ListKeepsItsHeaderGuess) {
    const AreaCase cases[] = {
        {"00 64 F0 10 12 34", 0, 6, 1, 48, Area("TAC", 460, 1, 4660)},
        {"64 F0 10 12 34", 0, 5, 1, 40, Area("TAC", 460, 1, 4660)},              // no header
        {"54 08 01 21 63 54 00 01 00 02 77", 2, 8, 1, 80, Area("TAC", 123, 45, 1)},  // second TAI skipped
        {"00 64 F0 10 12 34", 0, 3, 0, 24, Area("TAC", 460, 1, 4660)},           // over-short
        {"00 64 F0 10 12 34", 0, 20, 1, 48, Area("TAC", 460, 1, 4660)},          // end past the message
        {"21 63 54 00 01 77", 0, 5, 0, 40, Area("TAC", 364, 0, 375)},            // a lone TAI loses an octet
        {"00 64 F0 10 12 34", 0, -1, 0, 0, Area("TAC", 9, 9, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        EXPECT_EQ(ParseRender(c.hex, c.start, c.length, c.result, c.end, ParseTrackingAreaIdentityList,
                              RenderTrackingAreaIdentity, TrackingAreaIdentity{9, 9, 9}),
                  c.text);
    }
}

TEST(TrackingAreaIdentityTest, SingleIdentityHasNoHeader) {
    const AreaCase cases[] = {
        {"21 63 54 00 01", 0, 5, 1, 40, Area("TAC", 123, 45, 1)},
        {"52 21 63 54 00 01 57 02 20 00", 1, 5, 1, 48, Area("TAC", 123, 45, 1)},
        {"64 F0 10 12 34 99", 0, 5, 1, 40, Area("TAC", 460, 1, 4660)},
        {"21 63 54 00 01", 0, 4, 0, 32, Area("TAC", 123, 45, 1)},
        {"21 63 54 00 01 AA BB", 0, 7, 1, 56, Area("TAC", 123, 45, 1)},
        {"21 63 54", 0, 5, 1, 40, Area("TAC", 123, 45, 0)},
        {"21 63 54 00 01", 0, -5, 0, 0, Area("TAC", 9, 9, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        EXPECT_EQ(ParseRender(c.hex, c.start, c.length, c.result, c.end, ParseTrackingAreaIdentity,
                              RenderTrackingAreaIdentity, TrackingAreaIdentity{9, 9, 9}),
                  c.text);
    }
}

TEST(LocationAreaIdentificationTest, ParseAndRender) {
    const AreaCase cases[] = {
        {"64 F0 10 12 34", 0, 5, 1, 40, Area("LAC", 460, 1, 4660)},
        {"21 63 54 FF FE", 0, 3, 0, 24, Area("LAC", 123, 45, 65534)},
        {"13 21 63 54 00 07 01 02", 1, 7, 1, 64, Area("LAC", 123, 45, 7)},
        {"64 F0 10 12 34", 0, -1, 0, 0, Area("LAC", 9, 9, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        EXPECT_EQ(ParseRender(c.hex, c.start, c.length, c.result, c.end, ParseLocationAreaIdentification,
                              RenderLocationAreaIdentification, LocationAreaIdentification{9, 9, 9}),
                  c.text);
    }
}

std::string Plmn(int mcc, int mnc) {
    return Lines({"<PLMN>", "<MCC>" + std::to_string(mcc) + "</MCC>", "<MNC>" + std::to_string(mnc) + "</MNC>",
                  "</PLMN>"});
}

TEST(PlmnListTest, ParseAndRender) {
    std::string sixteen, fifteenBlocks;
    for (int i = 0; i < 16; ++i) sixteen += "21 63 54 ";
    for (int i = 0; i < 15; ++i) fifteenBlocks += Plmn(123, 456);
    const AreaCase cases[] = {
        {"64 F0 10 64 00 10", 0, 6, 1, 48, Plmn(460, 1) + Plmn(460, 10)},
        {"64 F0 10", 0, 2, 1, 16, ""},
        {"64 F0 10 21 63 54 AA 99", 0, 7, 1, 56, Plmn(460, 1) + Plmn(123, 456)},  // incomplete entry skipped
        {sixteen.c_str(), 0, 48, 1, 384, fifteenBlocks},                            // sixteenth skipped
        {"64 F0 10 21 F3 54", 0, 9, 1, 72, Plmn(460, 1) + Plmn(123, 45) + Plmn(0, 0)},  // past the message
        {"64 F0 10", 0, -3, 0, 0, Plmn(9, 9)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        PlmnList stale{};
        stale.plmnCount = 1;
        stale.plmnMcc[0] = stale.plmnMnc[0] = 9;
        EXPECT_EQ(ParseRender(c.hex, c.start, c.length, c.result, c.end, ParsePlmnList, RenderPlmnList, stale),
                  c.text);
    }
    PlmnList wild{};  // counts outside 0..15 never reach beyond the arrays
    wild.plmnCount = 1000;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderPlmnList(wild, out); }).size(), 15 * Plmn(0, 0).size());
    wild.plmnCount = -4;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderPlmnList(wild, out); }), "");
}

std::string Number(int category, const char* digits) {
    return Lines({"<EmergSerCateValue>" + std::to_string(category) + "</EmergSerCateValue>",
                  std::string("<NumDigit>") + digits + "</NumDigit>"});
}

TEST(EmergencyNumberListTest, ParseAndRender) {
    const AreaCase cases[] = {
        {"03 01 21 43 02 05 99", 0, 4, 1, 32, Number(1, "1234")},
        {"03 1F 11 F2 02 02 11", 0, 7, 1, 56, Number(31, "112") + Number(2, "11")},  // end mark dropped
        {"03 1F 11 F2 02 02 11 02 04 99 77", 0, 10, 1, 80, Number(31, "112") + Number(2, "11")},
        {"03 01 F1 21", 0, 4, 1, 32, Number(1, "1?12")},  // a filler inside the number is no end mark
        {"07 05 21 43 65 87 09 21 02 03 54", 0, 11, 1, 88, Number(5, "1234567890") + Number(3, "45")},
        {"01 05 02 03 21", 0, 5, 1, 40, Number(3, "12")},
        {"00 05 02 03 21", 0, 5, 1, 40, Number(3, "12")},
        {"03 01 21 43", 0, 2, 0, 16, Number(1, "1234")},
        {"09 01 21 43", 0, 4, 0, 32, Number(1, "1234000000")},
        {"03 01 21 43", 0, 10, 1, 48, Number(1, "1234")},
        {"03 01 21 43", 0, -1, 0, 0, Number(9, "9") + Number(8, "8888888888")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        EmergencyNumberList stale{};  // an earlier, longer list must not show through
        stale.numbers[0] = {9, 1, "9"};
        stale.numbers[1] = {8, 10, "8888888888"};
        EXPECT_EQ(ParseRender(c.hex, c.start, c.length, c.result, c.end, ParseEmergencyNumberList,
                              RenderEmergencyNumberList, stale),
                  c.text);
    }
    EmergencyNumberList wild{};  // unterminated text and a count beyond it
    wild.numbers[1] = {200, 50, {}};
    std::memset(wild.numbers[1].numberDigits, '7', sizeof wild.numbers[1].numberDigits);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderEmergencyNumberList(wild, out); }), Number(200, "7777777777"));
}

std::string Bearers(uint16_t active) {
    std::string text;
    for (int k = 0; k < 16; ++k) {
        text += (active >> k & 1)
                    ? "<EBI>(1) the ESM state of the corresponding EPS bearer context is BEARER CONTEXT-ACTIVE</EBI>\n"
                    : "<EBI>(0)the ESM state of the corresponding EPS bearer context is BEARER CONTEXT-INACTIVE</EBI>\n";
    }
    return text;
}

TEST(EpsBearerContextStatusTest, ParseAndRender) {
    const AreaCase cases[] = {
        {"20 00", 0, 2, 1, 16, Bearers(1 << 5)},
        {"FF 00", 0, 2, 1, 16, Bearers(0x00FF)},
        {"01 80", 0, 2, 1, 16, Bearers(0x8001)},
        {"57 04 60 02 FF FF 11", 2, 4, 1, 48, Bearers(0x0260)},
        {"60 02 FF", 0, 1, 0, 8, Bearers(0x0260)},
        {"E0", 0, 2, 1, 16, Bearers(0x00E0)},
        {"FF FF", 0, -2, 0, 0, Bearers(0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        EXPECT_EQ(ParseRender<EpsBearerContextStatus>(c.hex, c.start, c.length, c.result, c.end,
                                                      ParseEpsBearerContextStatus, RenderEpsBearerContextStatus),
                  c.text);
    }
}

TEST(AreaListRenderersTest, WithoutBufferReturnZeroAndWriteNothing) {
    OutputDocument out;
    PlmnList plmns{};
    plmns.plmnCount = 1;
    const EmergencyNumberList numbers{{{1, 1, "1"}, {2, 1, "2"}}};
    EXPECT_EQ(RenderTrackingAreaIdentity({1, 2, 3}, out) + RenderLocationAreaIdentification({1, 2, 3}, out) +
                  RenderPlmnList(plmns, out) + RenderEmergencyNumberList(numbers, out) +
                  RenderEpsBearerContextStatus({}, out),
              0);
    EXPECT_EQ(out.Required(), 0u);
}

}  // namespace
}  // namespace corvuna
