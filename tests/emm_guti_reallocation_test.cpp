// SPDX-License-Identifier: Apache-2.0
// GUTI REALLOCATION COMMAND (single look for the TAI list) and COMPLETE.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "legacy/emm/guti_reallocation.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Decode;
using test::Framed;
using test::Lines;
using test::Rendered;

constexpr int kDownlink = 0;
constexpr int kUplink = 1;

std::string Group(std::string_view name, const std::string& inner) {
    return "<" + std::string(name) + ">\n" + inner + "</" + std::string(name) + ">\n";
}

// GUTI 460/00, group 32769, code 2, M-TMSI C0001234, with its length octet.
constexpr const char* kGutiLv = "0B F6 64 F0 00 80 01 02 C0 00 12 34";
const std::string kGuti =
    Group("EPS_mobile_identity",
          Lines({
              "<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
              "<Type_Of_Indetity>(6)GUTI</Type_Of_Indetity>",
              "<MCC>460</MCC>",
              "<MNC>0</MNC>",
              "<MME_Group_ID>32769</MME_Group_ID>",
              "<MME_Code>2</MME_Code>",
              "<M_TMSI>0xC0001234</M_TMSI>",
          }));

std::string Tai(int mcc, int mnc, int tac) {
    return Group("TAI_list", "<MCC>" + std::to_string(mcc) + "</MCC>\n<MNC>" + std::to_string(mnc) + "</MNC>\n<TAC>" +
                                 std::to_string(tac) + "</TAC>\n");
}

std::string Command(const std::string& inner) { return Group("GUTI_REALLOCATION_COMMAND", inner); }

struct MessageCase {
    const char* label;
    int direction;
    std::string hex;
    std::string inner;
};

TEST(EmmGutiReallocationTest, DecodesCommandAndComplete) {
    const std::string guti = kGutiLv;
    const std::vector<MessageCase> cases = {
        {"GUTI alone", kDownlink, "07 50 " + guti, Command(kGuti)},
        {"GUTI and TAI list with header", kDownlink, "07 50 " + guti + " 54 06 00 64 F0 10 12 34",
         Command(kGuti + Tai(460, 1, 4660))},
        {"TAI list without header", kDownlink, "07 50 " + guti + " 54 05 64 F0 10 12 34",
         Command(kGuti + Tai(460, 1, 4660))},
        {"TAI list of several TAIs: the first one", kDownlink,
         "07 50 " + guti + " 54 0B 01 21 63 54 00 01 21 63 54 00 02", Command(kGuti + Tai(123, 45, 1))},
        {"another octet after the GUTI: identity only", kDownlink, "07 50 " + guti + " 57 02 20 00", Command(kGuti)},
        {"only the octet after the GUTI is looked at", kDownlink, "07 50 " + guti + " 57 54 05 64 F0 10 12 34",
         Command(kGuti)},
        {"GUTI length 12: the extra octet is skipped", kDownlink,
         "07 50 0C F6 64 F0 00 80 01 02 C0 00 12 34 54 54 05 64 F0 10 12 34", Command(kGuti + Tai(460, 1, 4660))},
        {"TAI list cut by the body", kDownlink, "07 50 " + guti + " 54 06 00 64 F0", Command(kGuti + Tai(460, 0, 0))},
        {"GUTI length past the body: octet after it examined", kDownlink,
         "07 50 1F F6 64 F0 00 80 01 02 C0 00 12 34 54 05 64 F0 10 12 34", Command(kGuti + Tai(460, 1, 4660))},
        {"IMSI instead of a GUTI", kDownlink, "07 50 08 49 06 10 32 54 76 98 10",
         Command(
             Group("EPS_mobile_identity",
                   Lines({"<odd_even_indic>(1)odd number of identity digits</odd_even_indic>",
                          "<Type_Of_Indetity>(1)IMSI</Type_Of_Indetity>", "<Identity_Digit>100</Identity_Digit>"})))},
        {"empty body", kDownlink, "07 50",
         Command(Group("EPS_mobile_identity",
                       Lines({"<odd_even_indic>(0)even number of identity digits and also when the GUTI is used"
                              "</odd_even_indic>",
                              "<Type_Of_Indetity>(0)Unknown Type</Type_Of_Indetity>"})))},
        {"complete", kUplink, "07 51", Group("GUTI_REALLOCATION_COMPLETE", "")},
        {"complete with stray octets", kDownlink, "07 51 54 05", Group("GUTI_REALLOCATION_COMPLETE", "")},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner));
    }
}

TEST(EmmGutiReallocationTest, ParserFillsTheRecord) {
    const std::vector<uint8_t> body = test::Hex(std::string(kGutiLv) + " 54 05 64 F0 10 12 34");
    const auto record = test::ParseBody(ParseGutiReallocationCommand, kDownlink, body);
    EXPECT_EQ(record.guti.identityType, 6);
    EXPECT_EQ(record.guti.mTmsi, 0xC0001234u);
    EXPECT_EQ(record.taiListPresent, 1);
    EXPECT_EQ(record.taiList.tac, 0x1234);
    // The renderer writes the record, not the octets.
    GutiReallocationCommandRecord changed = record;
    changed.taiListPresent = 0;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderGutiReallocationCommand(changed, out); }), kGuti);
}

TEST(EmmGutiReallocationTest, RenderersWithoutBufferWriteNothing) {
    OutputDocument none;
    EXPECT_EQ(RenderGutiReallocationCommand(GutiReallocationCommandRecord{}, none), 0);
}

}  // namespace
}  // namespace corvuna
