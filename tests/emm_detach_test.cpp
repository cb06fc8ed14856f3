// SPDX-License-Identifier: Apache-2.0
// DETACH REQUEST in its two direction-chosen layouts, and DETACH ACCEPT.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "legacy/emm/detach.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Decode;
using test::Framed;
using test::Lines;
using test::Rendered;

constexpr int kDownlink = 0;
constexpr int kUplink = 1;

// The GUTI 460/00, group 32769, code 2, M-TMSI C0001234 (value octets).
constexpr const char* kGutiOctets = "F6 64 F0 00 80 01 02 C0 00 12 34";
const std::string kGutiLines = Lines({
    "<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
    "<Type_Of_Indetity>(6)GUTI</Type_Of_Indetity>",
    "<MCC>460</MCC>",
    "<MNC>0</MNC>",
    "<MME_Group_ID>32769</MME_Group_ID>",
    "<MME_Code>2</MME_Code>",
    "<M_TMSI>0xC0001234</M_TMSI>",
});

std::string UplinkDetach(std::string_view type, std::string_view switchOff, std::string_view tsc,
                         std::string_view keySetId, const std::string& identity) {
    return Lines({"<DETACH_REQUEST>"}) + std::string(type) + std::string(switchOff) + std::string(tsc) +
           std::string(keySetId) + Lines({"<GUTI_or_IMSI>"}) + identity +
           Lines({"</GUTI_or_IMSI>", "</DETACH_REQUEST>"});
}

struct MessageCase {
    const char* label;
    int direction;
    std::string hex;
    std::string inner;
};

const std::string kNativeTsc = Lines({"<TSC>(0)native security context (for KSI_ASME)</TSC>"});
const std::string kMappedTsc = Lines({"<TSC>(1)mapped security context (for KSI_SGSN)</TSC>"});
const std::string kKeySet0 =
    Lines({"<NAS_Key_Set_Identifer>(0)possible values for the NAS key set identifier</NAS_Key_Set_Identifer>"});
const std::string kKeySet7 = Lines({"<NAS_Key_Set_Identifer>(7)no key is available</NAS_Key_Set_Identifer>"});
const std::string kEpsDetach = Lines({"<Type_of_Detach>(1)EPS detach</Type_of_Detach>"});
const std::string kSwitchOff = Lines({"<Switch_off>(1)switch off</Switch_off>"});
const std::string kNormalDetach = Lines({"<Switch_off>(0)normal detach</Switch_off>"});

TEST(EmmDetachTest, DecodesBothLayoutsAndTheAccept) {
    const std::vector<MessageCase> cases = {
        // UE-terminated (network to UE) layout.
        {"downlink with EMM cause", kDownlink, "07 45 01 53 07",
         Lines({"<DETACH_REQUEST>", "<Type_of_Detach>(1)re-attach required</Type_of_Detach>",
                "<EMMCause>(7)EPS services not allowed</EMMCause>", "</DETACH_REQUEST>"})},
        {"downlink without cause", kDownlink, "07 45 02",
         Lines(
             {"<DETACH_REQUEST>", "<Type_of_Detach>(2)re-attach not required</Type_of_Detach>", "</DETACH_REQUEST>"})},
        {"downlink: another octet after the type is no cause", kDownlink, "07 45 03 50 07",
         Lines({"<DETACH_REQUEST>", "<Type_of_Detach>(3)IMSI detach</Type_of_Detach>", "</DETACH_REQUEST>"})},
        {"downlink: only the octet after the type is looked at", kDownlink, "07 45 01 00 53 07",
         Lines({"<DETACH_REQUEST>", "<Type_of_Detach>(1)re-attach required</Type_of_Detach>", "</DETACH_REQUEST>"})},
        {"downlink: spare half and switch-off bit not written", kDownlink, "07 45 FE 53 FF",
         Lines({"<DETACH_REQUEST>", "<Type_of_Detach>(6)reserved</Type_of_Detach>",
                "<EMMCause>(255)Protocol error, unspecified</EMMCause>", "</DETACH_REQUEST>"})},
        {"downlink: cause IEI ends the body, value reads as 0", kDownlink, "07 45 04 53",
         Lines({"<DETACH_REQUEST>", "<Type_of_Detach>(4)re-attach not required</Type_of_Detach>",
                "<EMMCause>(0)Protocol error, unspecified</EMMCause>", "</DETACH_REQUEST>"})},
        // UE-originating (UE to network) layout.
        {"uplink switch-off EPS detach with GUTI", kUplink, std::string("07 45 09 0B ") + kGutiOctets,
         UplinkDetach(kEpsDetach, kSwitchOff, kNativeTsc, kKeySet0, kGutiLines)},
        {"uplink combined detach, no key", kUplink, std::string("07 45 73 0B ") + kGutiOctets,
         UplinkDetach(Lines({"<Type_of_Detach>(3)combined EPS/IMSI detach</Type_of_Detach>"}), kNormalDetach,
                      kNativeTsc, kKeySet7, kGutiLines)},
        {"uplink with IMSI; the rest of the IMSI passed over", kUplink, "07 45 01 08 49 06 10 32 54 76 98 10",
         UplinkDetach(kEpsDetach, kNormalDetach, kNativeTsc, kKeySet0,
                      Lines({"<odd_even_indic>(1)odd number of identity digits</odd_even_indic>",
                             "<Type_Of_Indetity>(1)IMSI</Type_Of_Indetity>", "<Identity_Digit>100</Identity_Digit>"}))},
        {"uplink reads the cause octets as type and identity length", kUplink, "07 45 01 53 07",
         UplinkDetach(kEpsDetach, kNormalDetach, kNativeTsc, kKeySet0,
                      Lines({"<odd_even_indic>(0)even number of identity digits and also when the GUTI is used"
                             "</odd_even_indic>",
                             "<Type_Of_Indetity>(7)Unknown Type</Type_Of_Indetity>"}))},
        {"uplink: GUTI cut short by the body", kUplink, "07 45 01 0B F6 64 F0",
         UplinkDetach(
             kEpsDetach, kNormalDetach, kNativeTsc, kKeySet0,
             Lines({"<odd_even_indic>(0)even number of identity digits and also when the GUTI is used"
                    "</odd_even_indic>",
                    "<Type_Of_Indetity>(6)GUTI</Type_Of_Indetity>", "<MCC>460</MCC>", "<MNC>0</MNC>",
                    "<MME_Group_ID>0</MME_Group_ID>", "<MME_Code>0</MME_Code>", "<M_TMSI>0x00000000</M_TMSI>"}))},
        // DETACH ACCEPT, same renderer in both directions.
        {"accept downlink", kDownlink, "07 46", Lines({"<DETACH_ACCEPT>", "</DETACH_ACCEPT>"})},
        {"accept uplink with stray octets", kUplink, "07 46 01 02", Lines({"<DETACH_ACCEPT>", "</DETACH_ACCEPT>"})},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner));
    }
}

TEST(EmmDetachTest, ParserKeepsTheDirectionAndOnlyItsLayout) {
    const std::vector<uint8_t> body = test::Hex("F9 53 07");
    const auto downlink = test::ParseBody(ParseDetachRequest, kDownlink, body);
    EXPECT_EQ(downlink.direction, kDownlink);
    EXPECT_EQ(downlink.detach.detachType, 1);
    EXPECT_EQ(downlink.detach.switchOff, 1);
    EXPECT_EQ(downlink.ksi.tsc, 0);  // the high half is spare in this layout
    EXPECT_EQ(downlink.ksi.keySetId, 0);
    EXPECT_EQ(downlink.emmCausePresent, 1);
    EXPECT_EQ(downlink.emmCause, 7);

    const auto uplink = test::ParseBody(ParseDetachRequest, kUplink, body);
    EXPECT_EQ(uplink.direction, kUplink);
    EXPECT_EQ(uplink.ksi.tsc, 1);
    EXPECT_EQ(uplink.ksi.keySetId, 7);
    EXPECT_EQ(uplink.emmCausePresent, 0);
    EXPECT_EQ(uplink.emmCause, 0);

    // A direction that is neither reads the detach type alone and renders
    // nothing inside the message element.
    const auto other = test::ParseBody(ParseDetachRequest, 2, body);
    EXPECT_EQ(other.emmCausePresent, 0);
    EXPECT_EQ(other.ksi.keySetId, 0);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderDetachRequest(other, out); }), "");
}

TEST(EmmDetachTest, RenderersWithoutBufferWriteNothing) {
    OutputDocument none;
    EXPECT_EQ(RenderDetachRequest(DetachRequestRecord{}, none), 0);
}

// Real messages: every detach decodes to its element; an uplink detach with
// a GUTI shows the PLMN and M-TMSI that its octets carry.
TEST(EmmDetachTest, CorpusMessagesDecode) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    int detaches = 0;
    int gutis = 0;
    for (const auto& m : corpus) {
        const char* element = m.name == "Detach request"  ? "DETACH_REQUEST"
                              : m.name == "Detach accept" ? "DETACH_ACCEPT"
                                                          : nullptr;
        if (element == nullptr) continue;
        ++detaches;
        const std::string document = Decode(m.direction, m.octets);
        const std::string open = std::string("<message>\n<") + element + ">\n";
        const std::string close = std::string("</") + element + ">\n</message>\n";
        EXPECT_NE(document.find(open), std::string::npos) << document;
        EXPECT_NE(document.find(close), std::string::npos) << document;
        const auto& o = m.octets;
        if (m.direction == kUplink && o.size() >= 15 && o[1] == 0x45 && o[3] == 11 && (o[4] & 0x07) == 6) {
            ++gutis;
            const int mcc = (o[5] & 0x0F) * 100 + (o[5] >> 4) * 10 + (o[6] & 0x0F);
            const int mnc = (o[7] & 0x0F) * 10 + (o[7] >> 4);
            char tmsi[64];
            std::snprintf(tmsi, sizeof tmsi, "<M_TMSI>0x%02X%02X%02X%02X</M_TMSI>\n", o[11], o[12], o[13], o[14]);
            EXPECT_NE(document.find("<MCC>" + std::to_string(mcc) + "</MCC>\n"), std::string::npos) << document;
            EXPECT_NE(document.find("<MNC>" + std::to_string(mnc) + "</MNC>\n"), std::string::npos) << document;
            EXPECT_NE(document.find(tmsi), std::string::npos) << document;
            const bool switchOff = (o[2] & 0x08) != 0;
            EXPECT_NE(document.find(switchOff ? "<Switch_off>(1)switch off" : "<Switch_off>(0)normal detach"),
                      std::string::npos);
        }
    }
    EXPECT_GT(detaches, 0);
    EXPECT_GT(gutis, 0);
}

}  // namespace
}  // namespace corvuna
