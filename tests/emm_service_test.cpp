// SPDX-License-Identifier: Apache-2.0
// EXTENDED SERVICE REQUEST (single look for the CSFB response), CS SERVICE
// NOTIFICATION (stopping scan) and DOWNLINK NAS TRANSPORT.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "legacy/emm/service.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Decode;
using test::Framed;
using test::Lines;

constexpr int kDownlink = 0;
constexpr int kUplink = 1;

std::string Group(std::string_view name, const std::string& inner) {
    return "<" + std::string(name) + ">\n" + inner + "</" + std::string(name) + ">\n";
}

struct MessageCase {
    const char* label;
    int direction;
    const char* hex;
    std::string inner;
};

// ---------------------------------------------------------------------------
// EXTENDED SERVICE REQUEST

// The M-TMSI identity F4 12 ...: the filler and the first TMSI octet's digits.
const std::string kTmsi = Lines({
    "<Odd_Even_Indic>(0)even number of identity digits and also when the TMSI/P-TMSI or TMGI and optional MBMS "
    "Session Identity is used</Odd_Even_Indic>",
    "<Type_Of_Identity>(4)TMSI/P-TMSI/M-TMSI</Type_Of_Identity>",
    "<digit>0x0F</digit>",
    "<digit>0x02</digit>",
    "<digit>0x01</digit>",
});

const std::string kNoKey = Lines({"<TSC>(0)native security context (for KSI_ASME)</TSC>",
                                  "<NAS_Key_Set_Identifer>(7)no key is available</NAS_Key_Set_Identifer>"});
const std::string kKey0 =
    Lines({"<TSC>(0)native security context (for KSI_ASME)</TSC>",
           "<NAS_Key_Set_Identifer>(0)possible values for the NAS key set identifier</NAS_Key_Set_Identifer>"});
const std::string kMtCsfb = Lines({"<ServiceType>(1)mobile terminating CS fallback or 1xCS fallback</ServiceType>"});

std::string ServiceRequest(const std::string& serviceType, const std::string& ksi, const std::string& tmsi,
                           const std::string& csfb = "") {
    return Group("EXTENDED_SERVICE_REQUEST", serviceType + ksi + Group("M_TMSI", tmsi) + csfb);
}

std::string Csfb(std::string_view element) { return std::string(element) + "\n"; }

TEST(EmmServiceTest, ExtendedServiceRequest) {
    const std::string accepted = Csfb("<CSFB_response>(1)CS fallback accepted by the UE</CSFB_response>");
    const std::vector<MessageCase> cases = {
        {"MT CS fallback, no key", kUplink, "07 4C 71 05 F4 12 34 56 78", ServiceRequest(kMtCsfb, kNoKey, kTmsi)},
        {"reserved service type 9", kUplink, "07 4C 09 05 F4 12 34 56 78",
         ServiceRequest(Lines({"<ServiceType>(9)reserved</ServiceType>"}), kKey0, kTmsi)},
        {"CSFB response accepted", kUplink, "07 4C 71 05 F4 12 34 56 78 B1",
         ServiceRequest(kMtCsfb, kNoKey, kTmsi, accepted)},
        {"CSFB response rejected", kUplink, "07 4C 71 05 F4 12 34 56 78 B0",
         ServiceRequest(kMtCsfb, kNoKey, kTmsi,
                        Csfb("<CSFB_response>(0)CS fallback rejected by the UE</CSFB_response>"))},
        {"CSFB response 5 is reserved", kUplink, "07 4C 71 05 F4 12 34 56 78 B5",
         ServiceRequest(kMtCsfb, kNoKey, kTmsi, Csfb("<CSFB_response>(5)reserved</CSFB_response>"))},
        {"CSFB response bit 4 is spare", kUplink, "07 4C 71 05 F4 12 34 56 78 B9",
         ServiceRequest(kMtCsfb, kNoKey, kTmsi, accepted)},
        {"EPS bearer context status instead: nothing of it written", kUplink, "07 4C 71 05 F4 12 34 56 78 57 02 20 00",
         ServiceRequest(kMtCsfb, kNoKey, kTmsi)},
        {"only the octet after the M-TMSI is looked at", kUplink, "07 4C 71 05 F4 12 34 56 78 57 02 20 00 B1",
         ServiceRequest(kMtCsfb, kNoKey, kTmsi)},
        {"M-TMSI longer than read is skipped to its end", kUplink, "07 4C 71 06 F4 12 34 56 78 9A B1",
         ServiceRequest(kMtCsfb, kNoKey, kTmsi, accepted)},
        {"empty body", kUplink, "07 4C",
         ServiceRequest(Lines({"<ServiceType>(0)mobile originating CS fallback or 1xCS fallback</ServiceType>"}), kKey0,
                        Lines({"<Odd_Even_Indic>(0)even number of identity digits and also when the TMSI/P-TMSI "
                               "or TMGI and optional MBMS Session Identity is used</Odd_Even_Indic>",
                               "<Type_Of_Identity>(0)No Identity</Type_Of_Identity>"}))},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner));
    }
}

// ---------------------------------------------------------------------------
// CS SERVICE NOTIFICATION

const std::string kImsiPaging = Lines({"<Paging_Identity>(0)IMSI</Paging_Identity>"});
const std::string kTmsiPaging = Lines({"<Paging_Identity>(1)TMSI</Paging_Identity>"});
const std::string kLcsClient = Group("LSC_client_identity", "");

std::string Notification(const std::string& inner) { return Group("CS_SERVICE_NOTIFICATION", inner); }
std::string SsCode(int value) {
    return Group("SS_Code", "<ss_code_value>" + std::to_string(value) + "</ss_code_value>\n");
}
std::string LcsIndicator(std::string_view line) { return Group("LCS_indicator", std::string(line) + "\n"); }

std::string CliHeader(int typeOfNumber, int plan) {
    return "<type_of_number>" + std::to_string(typeOfNumber) + "</type_of_number>\n" +
           "<Numbering_plan_identification>" + std::to_string(plan) + "</Numbering_plan_identification>\n";
}

std::string CliDigits(std::initializer_list<const char*> digits) {
    std::string text;
    for (const char* d : digits) text += std::string("<Number_Digit>0x") + d + "</Number_Digit>\n";
    return text;
}

const std::string kAllowedUnscreened =
    Lines({"<presentat_indicator>(0)Presentation allowed</presentat_indicator>",
           "<screening_indicator>(0)User-provided, not screened</screening_indicator>"});

TEST(EmmServiceTest, CsServiceNotification) {
    const std::string mtLr = "<LCS_indicator_value>(1)MT-LR</LCS_indicator_value>";
    const std::vector<MessageCase> cases = {
        {"TMSI paging alone", kDownlink, "07 64 01", Notification(kTmsiPaging)},
        {"paging bits 8-2 ignored", kDownlink, "07 64 FE", Notification(kImsiPaging)},
        {"SS code", kDownlink, "07 64 00 61 11", Notification(kImsiPaging + SsCode(17))},
        {"LCS client identity skipped, not scanned", kDownlink, "07 64 00 63 02 61 11",
         Notification(kImsiPaging + kLcsClient)},
        {"unknown IEI ends the scan", kDownlink, "07 64 00 70 61 11", Notification(kImsiPaging)},
        {"every IE, fixed order", kDownlink, "07 64 01 63 00 62 01 61 2A 60 05 91 00 21 43 F5",
         Notification(
             kTmsiPaging +
             Group("CLI", CliHeader(1, 1) + kAllowedUnscreened + CliDigits({"01", "02", "03", "04", "05", "0F"})) +
             SsCode(42) + LcsIndicator(mtLr) + kLcsClient)},
        {"CLI of octet 1 alone", kDownlink, "07 64 00 60 01 81",
         Notification(kImsiPaging + Group("CLI", CliHeader(0, 1)))},
        {"a later CLI replaces the earlier wholly", kDownlink, "07 64 00 60 04 91 A3 21 43 60 01 A8",
         Notification(kImsiPaging + Group("CLI", CliHeader(2, 8)))},
        {"a later SS code replaces the earlier", kDownlink, "07 64 00 61 11 61 22",
         Notification(kImsiPaging + SsCode(34))},
        {"LCS client identity past the body", kDownlink, "07 64 00 63 09 61 11",
         Notification(kImsiPaging + kLcsClient)},
        {"SS code IEI ends the body: value reads as 0", kDownlink, "07 64 00 61",
         Notification(kImsiPaging + SsCode(0))},
        {"an IE value octet is not taken as an IEI", kDownlink, "07 64 00 60 02 81 61 62 01",
         Notification(kImsiPaging +
                      Group("CLI", CliHeader(0, 1) + Lines({"<presentat_indicator>(3)reserved</presentat_indicator>",
                                                            "<screening_indicator>(1)User-provided, verified and passed"
                                                            "</screening_indicator>"})) +
                      LcsIndicator(mtLr))},
        {"empty body", kDownlink, "07 64", Notification(kImsiPaging)},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner));
    }
}

// The longest CS SERVICE NOTIFICATION: a CLI with the most digits kept,
// every other IE, all repeated.
TEST(EmmServiceTest, LongestNotificationKeepsTwentyDigits) {
    std::vector<uint8_t> message = {0x07, 0x64, 0x01};
    for (int round = 0; round < 2; ++round) {
        message.insert(message.end(), {0x60, 0xFF, 0x91, 0x00});
        message.insert(message.end(), 253, 0x98);
        message.insert(message.end(), {0x61, 0xFF, 0x62, 0x01, 0x63, 0x01, 0x00});
    }
    const std::string document = Decode(kDownlink, message);
    std::string digits;
    for (int i = 0; i < 10; ++i) digits += CliDigits({"08", "09"});
    EXPECT_EQ(
        document,
        Framed(kDownlink,
               Notification(kTmsiPaging + Group("CLI", CliHeader(1, 1) + kAllowedUnscreened + digits) + SsCode(255) +
                            LcsIndicator("<LCS_indicator_value>(1)MT-LR</LCS_indicator_value>") + kLcsClient)));
}

// ---------------------------------------------------------------------------
// DOWNLINK NAS TRANSPORT

TEST(EmmServiceTest, DownlinkNasTransportShowsNoContainer) {
    const std::string inner = Group("DOWNLINK_NAS_TRANSPORT", "");
    const std::vector<MessageCase> cases = {
        {"container of three octets", kDownlink, "07 62 03 01 02 03", inner},
        {"container running past the body", kDownlink, "07 62 FF 01", inner},
        {"empty body", kDownlink, "07 62", inner},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner));
    }
}

TEST(EmmServiceTest, RenderersWithoutBufferWriteNothing) {
    OutputDocument none;
    EXPECT_EQ(RenderExtendedServiceRequest(ExtendedServiceRequestRecord{}, none), 0);
    EXPECT_EQ(RenderCsServiceNotification(CsServiceNotificationRecord{}, none), 0);
}

// Real messages: each decodes to its element; an extended service request
// shows the service type and CSFB response its octets carry.
TEST(EmmServiceTest, CorpusMessagesDecode) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    int requests = 0;
    int transports = 0;
    for (const auto& m : corpus) {
        const std::string document = Decode(m.direction, m.octets);
        const auto& o = m.octets;
        if (m.name == "Downlink NAS transport") {
            ++transports;
            EXPECT_NE(document.find("<message>\n<DOWNLINK_NAS_TRANSPORT>\n</DOWNLINK_NAS_TRANSPORT>\n</message>"),
                      std::string::npos);
        } else if (m.name == "Extended service request") {
            ++requests;
            ASSERT_GE(o.size(), 4u);
            EXPECT_NE(document.find("<message>\n<EXTENDED_SERVICE_REQUEST>\n<ServiceType>(" +
                                    std::to_string(o[2] & 0x0F) + ")"),
                      std::string::npos)
                << document;
            const size_t after = 4 + size_t{o[3]};
            const bool csfb = after < o.size() && (o[after] >> 4) == 0xB;
            EXPECT_EQ(document.find("<CSFB_response>(" + std::to_string(csfb ? (o[after] & 7) : 0) + ")") !=
                          std::string::npos,
                      csfb)
                << document;
        }
    }
    EXPECT_GT(requests, 0);
    EXPECT_GT(transports, 0);
}

}  // namespace
}  // namespace corvuna
