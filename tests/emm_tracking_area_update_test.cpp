// SPDX-License-Identifier: Apache-2.0
// TRACKING AREA UPDATE REQUEST and ACCEPT decoded through the exported
// entry: mandatory parts, every optional IE, the stopping scan, repeated
// IEs, and the real messages of the corpus.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "legacy/emm/tracking_area_update.h"
#include "support/document_check.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::CheckDocument;
using test::Decode;
using test::Framed;
using test::Hex;
using test::Lines;
using test::Rendered;

constexpr int kUplink = 1;
constexpr int kDownlink = 0;

// A GUTI as an LV value: MCC 123, MNC 45, MME group 32769, MME code 2,
// M-TMSI 0x12345678.
constexpr const char* kGutiLv = "0B F6 21 63 54 80 01 02 12 34 56 78";

std::string GutiLines(int mcc, int mnc, int group, int code, const char* tmsi) {
    return Lines({"<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
                  "<Type_Of_Indetity>(6)GUTI</Type_Of_Indetity>"}) +
           "<MCC>" + std::to_string(mcc) + "</MCC>\n<MNC>" + std::to_string(mnc) + "</MNC>\n<MME_Group_ID>" +
           std::to_string(group) + "</MME_Group_ID>\n<MME_Code>" + std::to_string(code) + "</MME_Code>\n<M_TMSI>" +
           tmsi + "</M_TMSI>\n";
}

std::string Group(const std::string& name, const std::string& inner) {
    return "<" + name + ">\n" + inner + "</" + name + ">\n";
}

std::string Area(const char* code, int mcc, int mnc, int value) {
    return "<MCC>" + std::to_string(mcc) + "</MCC>\n<MNC>" + std::to_string(mnc) + "</MNC>\n<" + code + ">" +
           std::to_string(value) + "</" + code + ">\n";
}

// Sixteen EBI elements for the bearer bitmap `active` (bit k = EBI k).
std::string EbiLines(unsigned active) {
    std::string text;
    for (unsigned k = 0; k < 16; ++k) {
        text +=
            (active >> k & 1u)
                ? "<EBI>(1) the ESM state of the corresponding EPS bearer context is BEARER CONTEXT-ACTIVE</EBI>\n"
                : "<EBI>(0)the ESM state of the corresponding EPS bearer context is BEARER CONTEXT-INACTIVE</EBI>\n";
    }
    return text;
}

std::string Timer(int unit, const char* unitText, int value) {
    return "<Unit>(" + std::to_string(unit) + ")" + unitText + "</Unit>\n<TimerValue>" + std::to_string(value) +
           "</TimerValue>\n";
}

// What the IE codec itself makes of `hex` as a value of `length` octets:
// the inner lines of the capability elements, whose wording their own
// tests pin down.
template <typename Record>
std::string IeLines(int (*parse)(BitCursor&, int32_t, Record&), int (*render)(const Record&, OutputDocument&),
                    const char* hex, int32_t length) {
    const std::vector<uint8_t> octets = Hex(hex);
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    Record record{};
    parse(cursor, length, record);
    return Rendered([&](OutputDocument& out) { render(record, out); });
}

// ---------------------------------------------------------------------------
// TRACKING AREA UPDATE REQUEST

// Body octet 1 0x71 (KSI 7, combined TA/LA updating) and the GUTI above.
const std::string kRequestHead =
    Lines({"<TRACKING_AREA_UPDATE_REQUEST>", "<ActiveFlag>(0)No bearer establishment requested</ActiveFlag>",
           "<EPSUpdateTypeValue>(1)combined TA/LA updating</EPSUpdateTypeValue>", "<NAS_key_Set_identifier>",
           "<TSC>(0)native security context (for KSI_ASME)</TSC>",
           "<NAS_Key_Set_Identifer>(7)no key is available</NAS_Key_Set_Identifer>", "</NAS_key_Set_identifier>"}) +
    Group("Old_GUTI", GutiLines(123, 45, 32769, 2, "0x12345678"));

std::string RequestHex(const std::string& optional) { return std::string("07 48 71 ") + kGutiLv + " " + optional; }

std::string RequestDocument(const std::string& optional) {
    return Framed(kUplink, kRequestHead + optional + "</TRACKING_AREA_UPDATE_REQUEST>\n");
}

const std::string kTmsiValid = "<TMSI_Status>(1)valid TMSI available</TMSI_Status>\n";

struct OptionalCase {
    const char* what;
    std::string hex;       // octets after the mandatory part
    std::string expected;  // lines between the mandatory part and the closing tag
};

TEST(TrackingAreaUpdateRequest, MandatoryPart) {
    struct Case {
        const char* what;
        std::string hex;
        std::string inner;
    };
    const std::string noKsi =
        Lines({"<NAS_key_Set_identifier>", "<TSC>(0)native security context (for KSI_ASME)</TSC>",
               "<NAS_Key_Set_Identifer>(7)no key is available</NAS_Key_Set_Identifer>", "</NAS_key_Set_identifier>"});
    const Case cases[] = {
        {"KSI 7, combined TA/LA updating, GUTI", RequestHex(""), kRequestHead + "</TRACKING_AREA_UPDATE_REQUEST>\n"},
        {"active flag and periodic updating, mapped context", std::string("07 48 AB ") + kGutiLv,
         Lines({"<TRACKING_AREA_UPDATE_REQUEST>", "<ActiveFlag>(1)Bearer establishment requested</ActiveFlag>",
                "<EPSUpdateTypeValue>(3)periodic updating</EPSUpdateTypeValue>", "<NAS_key_Set_identifier>",
                "<TSC>(1)mapped security context (for KSI_SGSN)</TSC>",
                "<NAS_Key_Set_Identifer>(2)possible values for the NAS key set identifier</NAS_Key_Set_Identifer>",
                "</NAS_key_Set_identifier>"}) +
             Group("Old_GUTI", GutiLines(123, 45, 32769, 2, "0x12345678")) + "</TRACKING_AREA_UPDATE_REQUEST>\n"},
        {"IMSI as old identity; its remaining octets are passed over", "07 48 7E 08 29 13 21 43 65 87 09 21 91",
         Lines({"<TRACKING_AREA_UPDATE_REQUEST>", "<ActiveFlag>(1)Bearer establishment requested</ActiveFlag>",
                "<EPSUpdateTypeValue>(6)reserved</EPSUpdateTypeValue>"}) +
             noKsi +
             Lines({"<Old_GUTI>", "<odd_even_indic>(1)odd number of identity digits</odd_even_indic>",
                    "<Type_Of_Indetity>(1)IMSI</Type_Of_Indetity>", "<Identity_Digit>306</Identity_Digit>",
                    "</Old_GUTI>"}) +
             kTmsiValid + "</TRACKING_AREA_UPDATE_REQUEST>\n"},
        {"empty body reads zeros", "07 48",
         Lines({"<TRACKING_AREA_UPDATE_REQUEST>", "<ActiveFlag>(0)No bearer establishment requested</ActiveFlag>",
                "<EPSUpdateTypeValue>(0)TA updating</EPSUpdateTypeValue>", "<NAS_key_Set_identifier>",
                "<TSC>(0)native security context (for KSI_ASME)</TSC>",
                "<NAS_Key_Set_Identifer>(0)possible values for the NAS key set identifier</NAS_Key_Set_Identifer>",
                "</NAS_key_Set_identifier>", "<Old_GUTI>",
                "<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
                "<Type_Of_Indetity>(0)Unknown Type</Type_Of_Indetity>", "</Old_GUTI>",
                "</TRACKING_AREA_UPDATE_REQUEST>"})},
        {"GUTI cut short: missing octets read as zeros, no IE after it", "07 48 71 0B F6 21 63",
         Lines({"<TRACKING_AREA_UPDATE_REQUEST>", "<ActiveFlag>(0)No bearer establishment requested</ActiveFlag>",
                "<EPSUpdateTypeValue>(1)combined TA/LA updating</EPSUpdateTypeValue>"}) +
             noKsi + Group("Old_GUTI", GutiLines(123, 0, 0, 0, "0x00000000")) + "</TRACKING_AREA_UPDATE_REQUEST>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decode(kUplink, c.hex), Framed(kUplink, c.inner));
    }
}

TEST(TrackingAreaUpdateRequest, HalfOctetIesKeepTheirWholeLowNibble) {
    const std::string nonCurrent = Group(
        "Non_current_native_NAS_key_set_identifier",
        Lines({"<TSC>(1)mapped security context (for KSI_SGSN)</TSC>",
               "<NAS_Key_Set_Identifer>(1)possible values for the NAS key set identifier</NAS_Key_Set_Identifer>"}));
    const OptionalCase cases[] = {
        {"TMSI status 2", "92", "<TMSI_Status>(2)no valid TMSI available</TMSI_Status>\n"},
        {"TMSI status 1", "91", kTmsiValid},
        {"non-current KSI then CKSN", "B9 81",
         nonCurrent + Group("GPRSCipherKey",
                            "<CipheringKeySequenceNumber>(1)Possible values for the ciphering "
                            "key</CipheringKeySequenceNumber>\n")},
        {"CKSN 15 keeps bit 4", "8F",
         Group("GPRSCipherKey",
               "<CipheringKeySequenceNumber>(15)Possible values for the ciphering key</CipheringKeySequenceNumber>\n")},
        {"radio capability update 3 keeps bit 2", "A3",
         Group("UE_radio_capability_information_update_needed",
               "<UERadioCapabilityInfoUpdateNeeded>(3)UE radio capability information update not "
               "needed</UERadioCapabilityInfoUpdateNeeded>\n")},
        {"additional update type 1", "F1",
         "<AdditionalUpdateResult>(1)CS Fallback not preferred</AdditionalUpdateResult>\n"},
        {"additional update type 13, not masked", "FD",
         "<AdditionalUpdateResult>(13)reserved</AdditionalUpdateResult>\n"},
        {"body order does not change the output order", "F1 92 A1 8F B9",
         nonCurrent +
             Group("GPRSCipherKey",
                   "<CipheringKeySequenceNumber>(15)Possible values for the ciphering "
                   "key</CipheringKeySequenceNumber>\n") +
             Group("UE_radio_capability_information_update_needed",
                   "<UERadioCapabilityInfoUpdateNeeded>(1)UE radio capability information update "
                   "needed</UERadioCapabilityInfoUpdateNeeded>\n") +
             "<TMSI_Status>(2)no valid TMSI available</TMSI_Status>\n" +
             "<AdditionalUpdateResult>(1)CS Fallback not preferred</AdditionalUpdateResult>\n"},
    };
    for (const OptionalCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decode(kUplink, RequestHex(c.hex)), RequestDocument(c.expected));
    }
}

TEST(TrackingAreaUpdateRequest, FullOctetIesEndWhereTheirLengthSays) {
    // Every IE is followed by a TMSI status, found only when the IE left
    // the cursor at its end.
    const OptionalCase cases[] = {
        {"old P-TMSI signature, first octet least significant", "19 01 02 03 91",
         Group("Old_P_TMSI_signature", "<P_TMSI_SignatureValue>197121</P_TMSI_SignatureValue>\n") + kTmsiValid},
        {"additional GUTI", "50 0B F6 64 F0 10 00 05 09 DE AD BE EF 91",
         Group("Additional_GUTI", GutiLines(460, 1, 5, 9, "0xDEADBEEF")) + kTmsiValid},
        {"NonceUE printed signed", "55 01 00 00 80 91",
         Group("NonceUE", "<NonceValue>-2147483647</NonceValue>\n") + kTmsiValid},
        {"UE network capability", "58 05 E0 E0 C0 40 08 91",
         Group("UE_Network_Capability",
               IeLines(ParseUeNetworkCapability, RenderUeNetworkCapability, "E0 E0 C0 40 08", 5)) +
             kTmsiValid},
        {"last visited TAI read without list header", "52 21 63 54 00 01 91",
         Group("Last_visited_registered_TAI", Area("TAC", 123, 45, 1)) + kTmsiValid},
        {"last visited TAI starting with 0x64", "52 64 F0 10 12 34 91",
         Group("Last_visited_registered_TAI", Area("TAC", 460, 1, 4660)) + kTmsiValid},
        {"DRX parameter", "5C 0A 52 91",
         Group("DRX_parameter", IeLines(ParseDrxParameter, RenderDrxParameter, "0A 52", 2)) + kTmsiValid},
        {"EPS bearer context status", "57 02 20 01 91",
         Group("EPS_bear_context_status", EbiLines(0x0120)) + kTmsiValid},
        {"MS network capability", "31 03 E5 E0 C0 91",
         Group("MS_network_capability", IeLines(ParseMsNetworkCapability, RenderMsNetworkCapability, "E5 E0 C0", 3)) +
             kTmsiValid},
        {"old location area identification", "13 64 F0 10 12 34 91",
         Group("Old_location_area_identification", Area("LAC", 460, 1, 4660)) + kTmsiValid},
        {"mobile station classmark 2, written after the TMSI status", "11 03 57 58 A6 91",
         kTmsiValid + Group("Mobile_Station_classmark2",
                            IeLines(ParseMobileStationClassmark2, RenderMobileStationClassmark2, "57 58 A6", 3))},
        {"classmark 3 and supported codecs are passed over", "20 03 AA BB CC 40 05 01 02 03 04 05 91",
         kTmsiValid + Group("Mobile_Station_classmark3", "") + Group("Supported_Codecs", "")},
        {"an IE shorter than its parser reads is cut back to its length", "58 01 E0 91",
         Group("UE_Network_Capability", IeLines(ParseUeNetworkCapability, RenderUeNetworkCapability, "E0 91", 5)) +
             kTmsiValid},
    };
    for (const OptionalCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decode(kUplink, RequestHex(c.hex)), RequestDocument(c.expected));
    }
}

TEST(TrackingAreaUpdateRequest, ScanStopsAtTheFirstUnknownOctet) {
    const OptionalCase cases[] = {
        {"voice domain preference", "5D 58 02 E0 E0", ""},
        {"MS network feature support", "91 C1 92", kTmsiValid},
        {"old GUTI type", "E1 91", ""},
        {"unknown octet between known IEs", "91 00 A1", kTmsiValid},
        {"classmark 3 running past the message takes the rest", "20 FF 91", Group("Mobile_Station_classmark3", "")},
        {"supported codecs running past the message take the rest", "40 FF 91", Group("Supported_Codecs", "")},
        {"a TLV running past the message keeps what it read", "57 05 01 00",
         Group("EPS_bear_context_status", EbiLines(0x0001))},
    };
    for (const OptionalCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decode(kUplink, RequestHex(c.hex)), RequestDocument(c.expected));
    }
}

TEST(TrackingAreaUpdateRequest, RepeatedIeReplacesTheEarlierOne) {
    const OptionalCase cases[] = {
        {"bearer status", "57 02 20 00 57 02 01 80", Group("EPS_bear_context_status", EbiLines(0x8001))},
        {"last visited TAI", "52 21 63 54 00 01 52 64 F0 10 12 34",
         Group("Last_visited_registered_TAI", Area("TAC", 460, 1, 4660))},
    };
    for (const OptionalCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decode(kUplink, RequestHex(c.hex)), RequestDocument(c.expected));
    }

    // A GUTI followed by an IMSI: nothing of the GUTI stays in the record.
    const std::vector<uint8_t> body =
        Hex(std::string("71 ") + kGutiLv + " 50 0B F6 64 F0 10 00 05 09 DE AD BE EF" + " 50 02 29 13");
    const auto record = test::ParseBody(ParseTrackingAreaUpdateRequest, kUplink, body);
    EXPECT_EQ(record.additionalGutiPresent, 1);
    EXPECT_EQ(record.additionalGuti.identityType, 1);
    EXPECT_EQ(record.additionalGuti.imsiLeadDigits, 306);
    EXPECT_EQ(record.additionalGuti.mcc, 0);
    EXPECT_EQ(record.additionalGuti.mmeGroupId, 0);
    EXPECT_EQ(record.additionalGuti.mTmsi, 0u);
}

// ---------------------------------------------------------------------------
// TRACKING AREA UPDATE ACCEPT

std::string AcceptDocument(const std::string& inner) {
    return Framed(kDownlink, "<TRACKING_AREA_UPDATE_ACCEPT>\n" + inner + "</TRACKING_AREA_UPDATE_ACCEPT>\n");
}

const std::string kTaUpdated = "<EPSUpdateResult>(0)TA updated</EPSUpdateResult>\n";
const std::string kCsfbNotPreferred = "<AdditionalUpdateResult>(1)CS Fallback not preferred</AdditionalUpdateResult>\n";

TEST(TrackingAreaUpdateAccept, UpdateResultAndScanEnd) {
    const OptionalCase cases[] = {
        {"result alone", "07 49 00", kTaUpdated},
        {"empty body reads zero", "07 49", kTaUpdated},
        {"bits 8-4 are not the result", "07 49 FC",
         "<EPSUpdateResult>(4)TA updated and ISR activated</EPSUpdateResult>\n"},
        {"T3412 and cause", "07 49 01 5A 21 53 11",
         "<EPSUpdateResult>(1)combined TA/LA updated</EPSUpdateResult>\n" +
             Group("T3412", Timer(1, "value is incremented in multiples of 1 minute", 1)) +
             "<EMMCause>(17)Network failure</EMMCause>\n"},
        {"additional update result keeps two bits", "07 49 00 F5", kTaUpdated + kCsfbNotPreferred},
        {"additional update result 3", "07 49 00 FF",
         kTaUpdated + "<AdditionalUpdateResult>(3)reserved</AdditionalUpdateResult>\n"},
        {"T3412 extended value stops the scan", "07 49 00 5E 01 21 5A 21", kTaUpdated},
        {"unknown octet stops the scan", "07 49 00 F1 00 5A 21", kTaUpdated + kCsfbNotPreferred},
        {"a repeated timer replaces the earlier", "07 49 00 5A 21 5A E0",
         kTaUpdated + Group("T3412", Timer(7, "value indicates that the timer is deactivated", 0))},
    };
    for (const OptionalCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decode(kDownlink, c.hex), AcceptDocument(c.expected));
    }
}

TEST(TrackingAreaUpdateAccept, EveryIeInTheFixedOrder) {
    // The IEs in the reverse of the output order; each must end where its
    // length says for the next one to be found.
    const std::string hex = std::string("07 49 04 F1 64 01 01 34 08 03 01 21 43 03 02 19 F1 4A 06 64 F0 10 64 00 10 ") +
                            "59 49 17 2C 53 0F 23 05 F4 12 34 56 78 13 64 F0 10 12 34 57 02 00 80 " +
                            "54 0B 01 21 63 54 00 01 21 63 54 00 02 50 " + kGutiLv + " 5A E0";
    const std::string expected =
        "<EPSUpdateResult>(4)TA updated and ISR activated</EPSUpdateResult>\n" +
        Group("T3412", Timer(7, "value indicates that the timer is deactivated", 0)) +
        Group("GUTI", GutiLines(123, 45, 32769, 2, "0x12345678")) + Group("TAIList", Area("TAC", 123, 45, 1)) +
        Group("EPS_Bear_Context_Status", EbiLines(0x8000)) +
        Group("Location_Area_Identification", Area("LAC", 460, 1, 4660)) +
        Group("MS_Identity",
              Lines({"<Odd_Even_Indic>(0)even number of identity digits and also when the TMSI/P-TMSI or TMGI and "
                     "optional MBMS Session Identity is used</Odd_Even_Indic>",
                     "<Type_Of_Identity>(4)TMSI/P-TMSI/M-TMSI</Type_Of_Identity>", "<digit>0x0F</digit>",
                     "<digit>0x02</digit>", "<digit>0x01</digit>"})) +
        "<EMMCause>(15)No Suitable Cells In tracking area</EMMCause>\n" +
        Group("T3402", Timer(1, "value is incremented in multiples of 1 minute", 12)) +
        Group("T3423", Timer(2, "value is incremented in multiples of decihours", 9)) +
        Group("Equivalent_PLMNS",
              Group("PLMN", "<MCC>460</MCC>\n<MNC>1</MNC>\n") + Group("PLMN", "<MCC>460</MCC>\n<MNC>10</MNC>\n")) +
        Group("Emergency_Number_List",
              Lines({"<EmergSerCateValue>1</EmergSerCateValue>", "<NumDigit>1234</NumDigit>",
                     "<EmergSerCateValue>2</EmergSerCateValue>", "<NumDigit>911</NumDigit>"})) +
        Group("EPSNetworkFeatureSupport", "<IMS_VoPS>(1)IMS voice over PS session in S1 mode supported</IMS_VoPS>\n") +
        kCsfbNotPreferred;
    EXPECT_EQ(Decode(kDownlink, hex), AcceptDocument(expected));
}

TEST(TrackingAreaUpdateAccept, RepeatedIeReplacesTheEarlierOne) {
    // A TMGI with MCC/MNC and session identity, then one with neither: the
    // second shows no trace of the first.
    const std::string hex = "07 49 00 23 08 35 00 00 01 64 F0 10 07 23 04 05 00 00 02";
    const std::string expected =
        kTaUpdated +
        Group("MS_Identity",
              Lines({"<MBMS_Sess_ID_Indic>(0)MBMS Session Identity is not present</MBMS_Sess_ID_Indic>",
                     "<MCC_MNC_Indic>(0)MCC/MNC is not present</MCC_MNC_Indic>",
                     "<Odd_Even_Indic>(0)even number of identity digits and also when the TMSI/P-TMSI or TMGI and "
                     "optional MBMS Session Identity is used</Odd_Even_Indic>",
                     "<Type_Of_Identity>(5)TMGI and optional MBMS Session Identity</Type_Of_Identity>",
                     "<MBMS_Service_ID>2</MBMS_Service_ID>", "<MCC>0</MCC>", "<MNC>0</MNC>",
                     "<MBMS_Session_Identity>0</MBMS_Session_Identity>"}));
    EXPECT_EQ(Decode(kDownlink, hex), AcceptDocument(expected));

    const std::vector<uint8_t> body = Hex(std::string("00 50 ") + kGutiLv + " 50 02 29 13");
    const auto record = test::ParseBody(ParseTrackingAreaUpdateAccept, kDownlink, body);
    EXPECT_EQ(record.guti.identityType, 1);
    EXPECT_EQ(record.guti.imsiLeadDigits, 306);
    EXPECT_EQ(record.guti.mcc, 0);
    EXPECT_EQ(record.guti.mTmsi, 0u);
}

// ---------------------------------------------------------------------------
// Longest documents and real messages

// Every optional IE present, the flag octets all set (`fill` FF) or all
// clear (`fill` 00), identities and lists at their longest.
std::string LongestRequest(const std::string& fill) {
    const std::string f = " " + fill;
    return RequestHex("BF 8F 19" + f + f + f + " 50 0B F6 99 99 99 FF FF FF FF FF FF FF 55 FF FF FF FF 58 05" + f + f +
                      f + f + f + " 52 99 99 99 FF FF 5C FF F7 AF 57 02" + f + f + " 31 03" + f + f + f +
                      " 13 99 99 99 FF FF 9F 11 03" + f + f + f + " 20 00 40 00 FF");
}

std::string LongestAccept(const std::string& fill) {
    std::string plmns = "4A 2D";
    for (int i = 0; i < 15; ++i) plmns += " 64 00 10";
    return "07 49 07 5A FF 50 0B F6 99 99 99 FF FF FF FF FF FF FF 54 06 00 99 99 99 FF FF 57 02 " + fill + " " + fill +
           " 13 99 99 99 FF FF 23 08 35 FF FF FF 99 99 99 FF 53 FF 17 FF 59 FF " + plmns +
           " 34 0E 06 FF 99 99 99 99 99 06 FF 99 99 99 99 99 64 01 " + fill + " FF";
}

TEST(TrackingAreaUpdate, LongestDocumentsStayWithinTheBound) {
    struct Case {
        int direction;
        std::string hex;
        const char* lastGroup;  // the last group of the message, present when the scan got through
    };
    const Case cases[] = {
        {kUplink, LongestRequest("FF"), "<Supported_Codecs>\n"},
        {kUplink, LongestRequest("00"), "<Supported_Codecs>\n"},
        {kDownlink, LongestAccept("FF"), "<EPSNetworkFeatureSupport>\n"},
        {kDownlink, LongestAccept("00"), "<EPSNetworkFeatureSupport>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hex);
        const std::string document = Decode(c.direction, c.hex);
        EXPECT_EQ(CheckDocument(document, c.direction), "");
        EXPECT_NE(document.find(c.lastGroup), std::string::npos);
        EXPECT_LE(document.size(), static_cast<size_t>(CORVUNA_MAX_DOCUMENT_LENGTH));
    }
}

TEST(TrackingAreaUpdate, RealMessagesDecode) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    int requests = 0;
    int accepts = 0;
    for (const test::CorpusMessage& m : corpus) {
        const std::vector<uint8_t>& o = m.octets;
        const bool isRequest = m.name == "Tracking area update request";
        const bool isAccept = m.name == "Tracking area update accept";
        if (!isRequest && !isAccept) continue;
        ASSERT_GE(o.size(), 3u);
        SCOPED_TRACE(m.name + " " + std::to_string(isRequest ? requests : accepts));
        const std::string document = Decode(m.direction, o);
        EXPECT_EQ(CheckDocument(document, m.direction), "");
        const std::string head = Framed(m.direction, "");
        const std::string frameHead = head.substr(0, head.size() - std::string("</message>\n</L3Message>\n").size());
        const int low3 = o[2] & 0x07;
        if (isRequest) {
            ++requests;
            EXPECT_EQ(document.compare(frameHead.size(), 31, "<TRACKING_AREA_UPDATE_REQUEST>\n"), 0);
            EXPECT_NE(document.find("<EPSUpdateTypeValue>(" + std::to_string(low3) + ")"), std::string::npos);
            EXPECT_NE(document.find("<NAS_Key_Set_Identifer>(" + std::to_string(o[2] >> 4 & 0x07) + ")"),
                      std::string::npos);
            // An old GUTI: its MCC and M-TMSI as the octets carry them.
            if (o.size() >= 15 && o[3] == 11 && (o[4] & 0x07) == 6) {
                const int mcc = (o[5] & 0x0F) * 100 + (o[5] >> 4) * 10 + (o[6] & 0x0F);
                char tmsi[16];
                std::snprintf(tmsi, sizeof tmsi, "0x%02X%02X%02X%02X", o[11], o[12], o[13], o[14]);
                const size_t guti = document.find("<Old_GUTI>\n");
                ASSERT_NE(guti, std::string::npos);
                EXPECT_EQ(document.find("<MCC>" + std::to_string(mcc) + "</MCC>", guti), document.find("<MCC>", guti));
                EXPECT_NE(document.find(std::string("<M_TMSI>") + tmsi + "</M_TMSI>", guti), std::string::npos);
            }
        } else {
            ++accepts;
            EXPECT_EQ(document.compare(frameHead.size(), 30, "<TRACKING_AREA_UPDATE_ACCEPT>\n"), 0);
            EXPECT_NE(document.find("<EPSUpdateResult>(" + std::to_string(low3) + ")"), std::string::npos);
            // A T3412 right after the result: its unit and value.
            if (o.size() >= 5 && o[3] == 0x5A) {
                EXPECT_NE(document.find("<T3412>\n<Unit>(" + std::to_string(o[4] >> 5) + ")"), std::string::npos);
                EXPECT_NE(document.find("<TimerValue>" + std::to_string(o[4] & 0x1F) + "</TimerValue>\n</T3412>"),
                          std::string::npos);
            }
        }
    }
    EXPECT_GT(requests, 0);
    EXPECT_GT(accepts, 0);
}

}  // namespace
}  // namespace corvuna
