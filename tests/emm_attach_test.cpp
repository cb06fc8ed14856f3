// SPDX-License-Identifier: Apache-2.0
// ATTACH REQUEST, ACCEPT, COMPLETE and REJECT, decoded whole through the
// exported entry.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "legacy/emm/attach.h"
#include "support/document_check.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Decode;
using test::Framed;
using test::Lines;
using test::Rendered;

std::string Group(const std::string& name, const std::string& inner) {
    return "<" + name + ">\n" + inner + "</" + name + ">\n";
}

// `hex` repeated `times` times.
std::string Repeat(const std::string& hex, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += hex + " ";
    return text;
}

// The inner elements of a renderer for a record built by hand.
template <typename Record, typename Render>
std::string Inner(const Record& record, Render render) {
    return Rendered([&](OutputDocument& out) { render(record, out); });
}

const std::string kGuti = Lines({
    "<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
    "<Type_Of_Indetity>(6)GUTI</Type_Of_Indetity>", "<MCC>123</MCC>", "<MNC>45</MNC>",
    "<MME_Group_ID>32769</MME_Group_ID>", "<MME_Code>2</MME_Code>", "<M_TMSI>0xC0001234</M_TMSI>"});
const char* const kGutiHex = "0B F6 21 F3 54 80 01 02 C0 00 12 34";

// TAI / LAI 234-15 (PLMN octets 32 F4 51).
const std::string kTai234 = Lines({"<MCC>234</MCC>", "<MNC>15</MNC>", "<TAC>7</TAC>"});

// ---------------------------------------------------------------------------
// ATTACH REQUEST

// Mandatory fields after octet 1: the GUTI, a UE network capability of five
// octets (EEA0-2, EIA1-2).  The ESM container follows in each case.
const std::string kRequestIdentities = std::string(kGutiHex) + " 05 E0 60 00 00 00";

std::string RequestHead(const char* attachType = "(1)EPS Attach",
                        const char* tsc = "(0)native security context (for KSI_ASME)",
                        const char* keySetId = "(7)no key is available") {
    UeNetworkCapability ue{};
    ue.eea[0] = ue.eea[1] = ue.eea[2] = 1;
    ue.eia[0] = ue.eia[1] = 1;
    return "<ATTACH_REQUEST>\n<EPS_Attach_Type>" + std::string(attachType) + "</EPS_Attach_Type>\n" +
           Group("NAS_key_set_identifier", "<TSC>" + std::string(tsc) + "</TSC>\n<NAS_Key_Set_Identifer>" +
                                               keySetId + "</NAS_Key_Set_Identifer>\n") +
           Group("Old_GUTI_Or_IMSI", kGuti) + Group("UE_Network_capability", Inner(ue, RenderUeNetworkCapability));
}

const std::string kDrxFirst = Lines({
    "<split_cycle_code>10</split_cycle_code>",
    "<CN_Specific_DRX_cycle_length_coefficient_and_DRX_value_for_S1_mode>(5)CN Specific DRX cycle length "
    "coefficient not specified by the MS.DRX value not specified by the MS"
    "</CN_Specific_DRX_cycle_length_coefficient_and_DRX_value_for_S1_mode>",
    "<split_on_CCCH>(0)Split pg cycle on CCCH is not supported by the mobile station</split_on_CCCH>",
    "<non_DRX_timer>(3)max.4 sec non-DRX mode after transfer state</non_DRX_timer>"});
const std::string kDrxSecond = Lines({
    "<split_cycle_code>32</split_cycle_code>",
    "<CN_Specific_DRX_cycle_length_coefficient_and_DRX_value_for_S1_mode>(9)CN Specific DRX cycle length "
    "coefficient 9 and T = 256</CN_Specific_DRX_cycle_length_coefficient_and_DRX_value_for_S1_mode>",
    "<split_on_CCCH>(1)Split pg cycle on CCCH is supported by the mobile station</split_on_CCCH>",
    "<non_DRX_timer>(6)max.32 sec non-DRX mode after transfer state</non_DRX_timer>"});

std::string MsNetworkCapabilityE5E0C0() {
    MsNetworkCapability ms{};
    ms.gea[0] = ms.smViaDedicatedChannels = ms.smViaGprsChannels = 1;
    ms.ssScreeningIndicator = 1;
    ms.revisionLevel = 1;
    ms.pfc = ms.gea[1] = ms.gea[2] = 1;
    ms.psInterRatHoToIu = ms.psInterRatHoToS1 = 1;
    return Group("MS_Network_capability", Inner(ms, RenderMsNetworkCapability));
}

std::string Classmark2_400001() {
    MobileStationClassmark2 cm2{};
    cm2.revisionLevel = 2;
    cm2.a52 = 1;
    return Group("Mobile_station_classmark2", Inner(cm2, RenderMobileStationClassmark2));
}

const std::string kValidTmsi = "<TMSI_Status>(1)valid TMSI available</TMSI_Status>\n";
const std::string kNoValidTmsi = "<TMSI_Status>(0)no valid TMSI available</TMSI_Status>\n";

TEST(AttachRequest, DecodesOctetOneIdentitiesAndOptionalIes) {
    struct Case {
        const char* what;
        std::string octet1, container, tail, expected;
    };
    const std::string head = RequestHead();
    // P-TMSI signature 01 02 03 (first octet least significant), an IMSI
    // as additional GUTI.
    const std::string ptmsi =
        Group("Old_P_TMSI_Signature", "<P_TMSI_SignatureValue>197121</P_TMSI_SignatureValue>\n");
    const std::string imsi =
        Group("Additional_GUTI", Lines({"<odd_even_indic>(1)odd number of identity digits</odd_even_indic>",
                                        "<Type_Of_Indetity>(1)IMSI</Type_Of_Indetity>",
                                        "<Identity_Digit>1074</Identity_Digit>"}));
    const std::string lai = Group("Old_LAI", Lines({"<MCC>234</MCC>", "<MNC>15</MNC>", "<LAC>4660</LAC>"}));
    const std::string classmark3 = "<Mobile_station_classmark3>\n</Mobile_station_classmark3>\n";
    // The container's own octets look like IEs; they must never be read.
    const std::string small = "00 03 91 52 5C";
    const Case cases[] = {
        {"mandatory fields only", "71", small, "", head},
        {"combined attach, key 0", "02", small, "",
         RequestHead("(2)combined EPS/IMSI attach", "(0)native security context (for KSI_ASME)",
                     "(0)possible values for the NAS key set identifier")},
        {"reserved type, mapped context", "F6", small, "",
         RequestHead("(6)reserved", "(1)mapped security context (for KSI_SGSN)", "(7)no key is available")},
        {"spare bit 4 ignored", "79", small, "", head},
        {"last visited TAI is a single TAI", "71", small, "52 32 F4 51 00 07",
         head + Group("Last_Visited_Registered_TAI", kTai234)},
        {"TMSI status 0x91", "71", small, "91", head + kValidTmsi},
        {"TMSI status 0x90", "71", small, "90", head + kNoValidTmsi},
        {"TMSI status 0x9E", "71", small, "9E", head + kNoValidTmsi},
        {"classmark 3 value not examined", "71", small, "20 02 52 91", head + classmark3},
        {"classmark 3 running past the body", "71", small, "20 09 91", head + classmark3},
        {"unknown IEIs pass one octet each", "71", small, "F1 5D 02 91 00", head + kValidTmsi},
        {"every IE, rendered in fixed order", "71", small,
         "40 03 19 91 5C 20 02 52 91 11 03 40 00 01 91 13 32 F4 51 12 34 31 03 E5 E0 C0 5C 0A 53 "
         "52 32 F4 51 00 07 50 02 29 43 19 01 02 03",
         head + ptmsi + imsi + Group("Last_Visited_Registered_TAI", kTai234) + Group("DRX_Parameter", kDrxFirst) +
             MsNetworkCapabilityE5E0C0() + lai + kValidTmsi + Classmark2_400001() +
             classmark3 + "<Supported_Codecs>\n</Supported_Codecs>\n"},
        {"repeated DRX: the second one", "71", small, "5C 0A 53 5C 20 9E",
         head + Group("DRX_Parameter", kDrxSecond)},
        {"repeated TAI: the second one", "71", small, "52 32 F4 51 00 07 52 13 00 62 FF FE",
         head + Group("Last_Visited_Registered_TAI", Lines({"<MCC>310</MCC>", "<MNC>26</MNC>", "<TAC>65534</TAC>"}))},
        // The container length is the 16-bit value of its two length octets.
        {"container of 261 octets", "71", "01 05 " + Repeat("5C 0A 53", 87), "91", head + kValidTmsi},
        {"container of 256 octets", "71", "01 00 " + Repeat("91 13", 128), "90", head + kNoValidTmsi},
        {"container of 255 octets", "71", "00 FF " + Repeat("5C 0A 53", 85), "91", head + kValidTmsi},
        {"container of 261 octets past the body", "71", "01 05 " + Repeat("91", 10), "", head},
        {"container of 255 octets past the body", "71", "00 FF 91 91", "", head},
        {"empty container", "71", "00 00", "91", head + kValidTmsi},
    };
    for (const Case& c : cases) {
        const std::string message = "07 41 " + c.octet1 + " " + kRequestIdentities + " " + c.container + " " + c.tail;
        EXPECT_EQ(Decode(1, message), Framed(1, c.expected + "</ATTACH_REQUEST>\n")) << c.what;
    }
}

// ---------------------------------------------------------------------------
// ATTACH ACCEPT

// T3412 0x21, a TAI list with its header, and a container whose octets
// look like a T3402 IE.
const char* const kAcceptMandatory = "21 06 00 32 F4 51 00 07";
const char* const kAcceptContainer = "00 03 17 2C 53";

std::string AcceptHead(const char* result) {
    return "<ATTACH_ACCEPT>\n<EPS_Attach_Result>" + std::string(result) + "</EPS_Attach_Result>\n" +
           Lines({"<Unit>(1)value is incremented in multiples of 1 minute</Unit>", "<TimerValue>1</TimerValue>"}) +
           Group("TAI_List", kTai234);
}

const char* const kEven =
    "even number of identity digits and also when the TMSI/P-TMSI or TMGI and optional MBMS Session Identity is "
    "used";

std::string Tmgi(int sessionIndicator, int mccIndicator, int serviceId, int mcc, int mnc, int session) {
    return Group("MS_identity",
                 Lines({"<MBMS_Sess_ID_Indic>(" + std::to_string(sessionIndicator) + ")MBMS Session Identity is " +
                            (sessionIndicator ? "present" : "not present") + "</MBMS_Sess_ID_Indic>",
                        "<MCC_MNC_Indic>(" + std::to_string(mccIndicator) + ")MCC/MNC is " +
                            (mccIndicator ? "present" : "not present") + "</MCC_MNC_Indic>",
                        "<Odd_Even_Indic>(0)" + std::string(kEven) + "</Odd_Even_Indic>",
                        "<Type_Of_Identity>(5)TMGI and optional MBMS Session Identity</Type_Of_Identity>",
                        "<MBMS_Service_ID>" + std::to_string(serviceId) + "</MBMS_Service_ID>",
                        "<MCC>" + std::to_string(mcc) + "</MCC>", "<MNC>" + std::to_string(mnc) + "</MNC>",
                        "<MBMS_Session_Identity>" + std::to_string(session) + "</MBMS_Session_Identity>"}));
}

TEST(AttachAccept, DecodesMandatoryFieldsAndOptionalIes) {
    struct Case {
        const char* what;
        std::string octet1, container, tail, expected;
    };
    const std::string head = AcceptHead("(2)combined EPS/IMSI");
    const std::string t3402 = Lines({"<Unit>(1)value is incremented in multiples of 1 minute</Unit>",
                                     "<TimerValue>12</TimerValue>"});
    const std::string t3423 = Lines({"<Unit>(2)value is incremented in multiples of decihours</Unit>",
                                     "<TimerValue>9</TimerValue>"});
    const std::string cause = "<EMMCause>(18)CS domain not available</EMMCause>\n";
    const std::string plmns = Group("Equivalent_PLMNs", Group("PLMN", "<MCC>234</MCC>\n<MNC>15</MNC>\n") +
                                                            Group("PLMN", "<MCC>310</MCC>\n<MNC>260</MNC>\n"));
    const std::string emergency =
        Group("Emergency_Number_List", Lines({"<EmergSerCateValue>1</EmergSerCateValue>", "<NumDigit>112</NumDigit>",
                                              "<EmergSerCateValue>4</EmergSerCateValue>", "<NumDigit>911</NumDigit>"}));
    const std::string lai = Group("Location_Area_Identification",
                                  Lines({"<MCC>234</MCC>", "<MNC>15</MNC>", "<LAC>4660</LAC>"}));
    const std::string tmgi = Tmgi(1, 1, 258, 234, 165, 9);
    const Case cases[] = {
        {"mandatory fields only", "02", kAcceptContainer, "", head},
        {"EPS only", "01", kAcceptContainer, "", AcceptHead("(1)EPS Only")},
        {"reserved result", "06", kAcceptContainer, "", AcceptHead("(6)reserved")},
        {"high half ignored", "F2", kAcceptContainer, "", head},
        {"EMM cause, no group", "02", kAcceptContainer, "53 12", head + cause},
        {"T3402 before T3423 whatever their order", "02", kAcceptContainer, "59 49 17 2C", head + t3402 + t3423},
        // EPS network feature support is no IEI here: its length octet is
        // passed over too, and its value 0x17 is then taken as T3402.
        {"unknown IEIs pass one octet each", "02", kAcceptContainer, "64 01 17 2C F0 5E 01", head + t3402},
        {"every IE, rendered in fixed order", "02", kAcceptContainer,
         "34 08 03 01 11 F2 03 04 19 F1 4A 06 32 F4 51 13 00 62 59 49 17 2C 53 12 23 08 35 00 01 02 32 F4 51 09 "
         "13 32 F4 51 12 34 50 " +
             std::string(kGutiHex),
         head + Group("GUTI", kGuti) + lai + tmgi + cause + t3402 + t3423 + plmns + emergency},
        {"repeated MS identity: the second one wholly", "02", kAcceptContainer,
         "23 08 35 00 01 02 32 F4 51 09 23 04 05 00 00 07", head + Tmgi(0, 0, 7, 0, 0, 0)},
        {"container of 261 octets", "02", "01 05 " + Repeat("53 12 17", 87), "59 49", head + t3423},
        {"container of 261 octets past the body", "02", "01 05 " + Repeat("53", 12), "", head},
        {"container of 255 octets past the body", "02", "00 FF 53 12", "", head},
    };
    for (const Case& c : cases) {
        const std::string message = "07 42 " + c.octet1 + " " + kAcceptMandatory + " " + c.container + " " + c.tail;
        EXPECT_EQ(Decode(0, message), Framed(0, c.expected + "</ATTACH_ACCEPT>\n")) << c.what;
    }
}

// ---------------------------------------------------------------------------
// ATTACH COMPLETE, ATTACH REJECT and short bodies

TEST(AttachShortMessages, CompleteAndReject) {
    struct Case {
        int direction;
        const char* hex;
        std::string inner;
    };
    const Case cases[] = {
        {1, "07 43", "<ATTACH_COMPLET>\n</ATTACH_COMPLET>\n"},
        {1, "07 43 00 03 52 01 C2", "<ATTACH_COMPLET>\n</ATTACH_COMPLET>\n"},
        {0, "07 44 03", "<ATTACH_REJECT>\n<EMMCause>(3)Illegal UE</EMMCause>\n</ATTACH_REJECT>\n"},
        {0, "07 44 0F 78 00 03 52 01 C2",
         "<ATTACH_REJECT>\n<EMMCause>(15)No Suitable Cells In tracking area</EMMCause>\n</ATTACH_REJECT>\n"},
        {0, "07 44 C8", "<ATTACH_REJECT>\n<EMMCause>(200)Protocol error, unspecified</EMMCause>\n</ATTACH_REJECT>\n"},
        {0, "07 44", "<ATTACH_REJECT>\n<EMMCause>(0)Protocol error, unspecified</EMMCause>\n</ATTACH_REJECT>\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner)) << c.hex;
}

// ---------------------------------------------------------------------------
// Real messages

// The text of the first group `name` in `document` (empty when absent).
std::string GroupText(const std::string& document, const std::string& name) {
    const std::string open = "<" + name + ">\n";
    const size_t start = document.find(open);
    if (start == std::string::npos) return "";
    const size_t end = document.find("</" + name + ">\n", start);
    return end == std::string::npos ? "" : document.substr(start + open.size(), end - start - open.size());
}

int Mcc(uint8_t o1, uint8_t o2) { return (o1 & 0x0F) * 100 + (o1 >> 4) * 10 + (o2 & 0x0F); }

TEST(AttachCorpus, RealMessagesShowTheirValues) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    int requests = 0, guti = 0, accepts = 0, others = 0;
    for (const auto& message : corpus) {
        const std::vector<uint8_t>& m = message.octets;
        if (m.size() < 2 || m[0] != 0x07 || m[1] < 0x41 || m[1] > 0x44) continue;
        const std::string document = Decode(message.direction, m);
        ASSERT_EQ(test::CheckDocument(document, message.direction), "") << message.name;
        const char* const names[] = {"ATTACH_REQUEST", "ATTACH_ACCEPT", "ATTACH_COMPLET", "ATTACH_REJECT"};
        const std::string name = names[m[1] - 0x41];
        ASSERT_EQ(document.find("<message>\n<" + name + ">\n"), document.find("<message>\n")) << message.name;
        if (m[1] == 0x41 && m.size() > 4) {
            ++requests;
            EXPECT_EQ(message.name, "Attach request");
            const int keySetId = (m[2] >> 4) & 7;
            EXPECT_NE(document.find("<NAS_Key_Set_Identifer>(" + std::to_string(keySetId) + ")"), std::string::npos);
            EXPECT_NE(document.find("<EPS_Attach_Type>(" + std::to_string(m[2] & 7) + ")"), std::string::npos);
            const std::string identity = GroupText(document, "Old_GUTI_Or_IMSI");
            if ((m[4] & 7) == 6 && m[3] >= 11 && m.size() >= 15) {
                ++guti;
                EXPECT_NE(identity.find("<MCC>" + std::to_string(Mcc(m[5], m[6])) + "</MCC>"), std::string::npos);
                char tmsi[32];
                std::snprintf(tmsi, sizeof tmsi, "<M_TMSI>0x%02X%02X%02X%02X</M_TMSI>", m[11], m[12], m[13], m[14]);
                EXPECT_NE(identity.find(tmsi), std::string::npos) << identity;
            }
        } else if (m[1] == 0x42 && m.size() > 10) {
            ++accepts;
            EXPECT_EQ(message.name, "Attach accept");
            EXPECT_NE(document.find("<EPS_Attach_Result>(" + std::to_string(m[2] & 7) + ")"), std::string::npos);
            // The first TAI of the list: after the list header, unless the
            // list starts with PLMN octet 0x64.
            const size_t plmn = m[5] == 0x64 ? 5 : 6;
            const int tac = m[plmn + 3] * 256 + m[plmn + 4];
            EXPECT_EQ(GroupText(document, "TAI_List").find("<MCC>" + std::to_string(Mcc(m[plmn], m[plmn + 1])) +
                                                           "</MCC>"),
                      0u);
            EXPECT_NE(GroupText(document, "TAI_List").find("<TAC>" + std::to_string(tac) + "</TAC>"),
                      std::string::npos);
        } else if (m[1] == 0x44 && m.size() > 2) {
            ++others;
            EXPECT_NE(document.find("<EMMCause>(" + std::to_string(m[2]) + ")"), std::string::npos);
        }
    }
    EXPECT_GT(requests, 0);
    EXPECT_GT(guti, 0);
    EXPECT_GT(accepts, 0);
    EXPECT_GT(others, 0);
}

}  // namespace
}  // namespace corvuna
