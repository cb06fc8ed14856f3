// SPDX-License-Identifier: Apache-2.0
// IDENTITY REQUEST/RESPONSE, SERVICE REJECT (single look for T3442),
// TRACKING AREA UPDATE COMPLETE/REJECT and UPLINK NAS TRANSPORT.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "legacy/codec/shared_bodies.h"
#include "legacy/emm/short_messages.h"
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

std::string IdentityRequest(std::string_view line) { return Group("IDENTITY_REQUEST", std::string(line) + "\n"); }

std::string Cause(int value, std::string_view text) {
    return "<EMMCause>(" + std::to_string(value) + ")" + std::string(text) + "</EMMCause>\n";
}

std::string Timer(std::string_view unit, int timerValue) {
    return Group("T3442Value", std::string(unit) + "\n<TimerValue>" + std::to_string(timerValue) + "</TimerValue>\n");
}

const char* const kOddImsi = "<Odd_Even_Indic>(1)odd number of identity digits</Odd_Even_Indic>";
const char* const kEvenTmsi =
    "<Odd_Even_Indic>(0)even number of identity digits and also when the TMSI/P-TMSI or TMGI and optional MBMS "
    "Session Identity is used</Odd_Even_Indic>";

TEST(EmmShortMessagesTest, DecodeToTheirElements) {
    const std::string minute = "<Unit>(1)value is incremented in multiples of 1 minute</Unit>";
    const std::vector<MessageCase> cases = {
        // IDENTITY REQUEST: identity type 2 in bits 3-1.
        {"identity request IMSI", kDownlink, "07 55 01", IdentityRequest("<IdentityType>(1)IMSI</IdentityType>")},
        {"identity request: high half ignored", kDownlink, "07 55 F3",
         IdentityRequest("<IdentityType>(3)IMEISV</IdentityType>")},
        {"identity request: bit 4 ignored", kDownlink, "07 55 0A",
         IdentityRequest("<IdentityType>(2)IMEI</IdentityType>")},
        {"identity request: empty body", kDownlink, "07 55", IdentityRequest("<IdentityType>(0)IMSI</IdentityType>")},
        // IDENTITY RESPONSE: mobile identity (LV).
        {"identity response IMSI", kUplink, "07 56 08 29 26 00 10 32 54 76 98",
         Group("IDENTITY_RESPONSE",
               Group("Mobile_identity", Lines({kOddImsi, "<Type_Of_Identity>(1)IMSI</Type_Of_Identity>",
                                               "<digit>0x02</digit>", "<digit>0x06</digit>", "<digit>0x02</digit>"})))},
        {"identity response TMSI of length 1", kUplink, "07 56 01 F4 AA",
         Group("IDENTITY_RESPONSE",
               Group("Mobile_identity", Lines({kEvenTmsi, "<Type_Of_Identity>(4)TMSI/P-TMSI/M-TMSI</Type_Of_Identity>",
                                               "<digit>0x0F</digit>"})))},
        {"identity response: no identity", kUplink, "07 56 01 00",
         Group("IDENTITY_RESPONSE",
               Group("Mobile_identity", Lines({kEvenTmsi, "<Type_Of_Identity>(0)No Identity</Type_Of_Identity>"})))},
        // SERVICE REJECT: cause, then one look for the T3442 value.
        {"service reject cause only", kDownlink, "07 4E 09",
         Group("SERVICE_REJECT", Cause(9, "UE identity cannot be derived by the network"))},
        {"service reject with T3442", kDownlink, "07 4E 09 5B 21",
         Group("SERVICE_REJECT", Cause(9, "UE identity cannot be derived by the network") + Timer(minute, 1))},
        {"service reject: another octet ends the parse", kDownlink, "07 4E 09 17 21",
         Group("SERVICE_REJECT", Cause(9, "UE identity cannot be derived by the network"))},
        {"service reject: only one octet looked at", kDownlink, "07 4E 09 17 5B 21",
         Group("SERVICE_REJECT", Cause(9, "UE identity cannot be derived by the network"))},
        {"service reject: T3442 IEI ends the body", kDownlink, "07 4E 27 5B",
         Group("SERVICE_REJECT", Cause(39, "CS domain temporarily not available") +
                                     Timer("<Unit>(0)value is incremented in multiples of 2 seconds</Unit>", 0))},
        {"service reject: empty body", kDownlink, "07 4E",
         Group("SERVICE_REJECT", Cause(0, "Protocol error, unspecified"))},
        // TRACKING AREA UPDATE COMPLETE / REJECT.
        {"TAU complete", kUplink, "07 4A", Group("TRACKING_AREA_UPDATE_COMPLETE", "")},
        {"TAU reject: the T3346 value is not examined", kDownlink, "07 4B 0C 5F 01",
         Group("TRACKING_AREA_UPDATE_REJECT", Cause(12, "Tracking Area not allowed"))},
        {"TAU reject cause 255", kDownlink, "07 4B FF",
         Group("TRACKING_AREA_UPDATE_REJECT", Cause(255, "Protocol error, unspecified"))},
        // UPLINK NAS TRANSPORT: the container is not shown.
        {"uplink NAS transport", kUplink, "07 63 03 09 01 02", Group("UPLINK_NAS_TRANSPORT", "")},
        {"uplink NAS transport, empty body", kUplink, "07 63", Group("UPLINK_NAS_TRANSPORT", "")},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner));
    }
}

TEST(EmmShortMessagesTest, RenderersWithoutBufferWriteNothing) {
    OutputDocument none;
    EXPECT_EQ(RenderIdentityRequest(IdentityRequestRecord{}, none), 0);
    EXPECT_EQ(RenderIdentityResponse(IdentityResponseRecord{}, none), 0);
    EXPECT_EQ(RenderServiceReject(ServiceRejectRecord{}, none), 0);
    EXPECT_EQ(RenderEmptyBody(EmptyBodyRecord{}, none), 0);
    EXPECT_EQ(RenderEmmCauseBody(SingleOctetRecord{}, none), 0);
}

// Real messages: each decodes to its element, with the identity type, the
// identity's first digits or the cause that its octets carry.
TEST(EmmShortMessagesTest, CorpusMessagesDecode) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    struct Kind {
        const char* name;
        const char* element;
    };
    static const Kind kKinds[] = {
        {"Identity request", "IDENTITY_REQUEST"},
        {"Identity response", "IDENTITY_RESPONSE"},
        {"Service reject", "SERVICE_REJECT"},
        {"Tracking area update complete", "TRACKING_AREA_UPDATE_COMPLETE"},
        {"Tracking area update reject", "TRACKING_AREA_UPDATE_REJECT"},
        {"Uplink NAS transport", "UPLINK_NAS_TRANSPORT"},
    };
    std::set<std::string> seen;
    for (const auto& m : corpus) {
        const Kind* kind = nullptr;
        for (const Kind& k : kKinds) {
            if (m.name == k.name) kind = &k;
        }
        if (kind == nullptr) continue;
        seen.insert(kind->element);
        SCOPED_TRACE(m.name);
        const std::string document = Decode(m.direction, m.octets);
        const std::string element = kind->element;
        const size_t open = document.find("<message>\n<" + element + ">\n");
        ASSERT_NE(open, std::string::npos) << document;
        EXPECT_NE(document.find("</" + element + ">\n</message>\n"), std::string::npos) << document;
        const auto& o = m.octets;
        if (element == "IDENTITY_REQUEST") {
            EXPECT_NE(document.find("<IdentityType>(" + std::to_string(o[2] & 0x07) + ")"), std::string::npos);
        } else if (element == "IDENTITY_RESPONSE" && o.size() >= 5 && (o[3] & 0x07) >= 1 && (o[3] & 0x07) <= 4) {
            char digits[96];
            std::snprintf(digits, sizeof digits,
                          "<digit>0x%02X</digit>\n<digit>0x%02X</digit>\n<digit>0x%02X</digit>\n", o[3] >> 4,
                          o[4] & 0x0F, o[4] >> 4);
            EXPECT_NE(document.find(digits), std::string::npos) << document;
        } else if (element == "SERVICE_REJECT" || element == "TRACKING_AREA_UPDATE_REJECT") {
            EXPECT_NE(document.find("<EMMCause>(" + std::to_string(o[2]) + ")"), std::string::npos);
        }
    }
    EXPECT_EQ(seen.size(), std::size(kKinds));  // the corpus holds each of these messages
}

}  // namespace
}  // namespace corvuna
