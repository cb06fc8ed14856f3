// SPDX-License-Identifier: Apache-2.0
// Default EPS bearer context activation and the shared body parsers, as
// whole documents.
#include <gtest/gtest.h>

#include "esm_test_support.h"
#include "legacy/ie/sm/qos.h"
#include "sm_ie_test_support.h"

namespace corvuna::test {
namespace {

// EPS QoS 09 40 40 10 20, APN "internet", PDN address IPv4 10.0.0.1.
constexpr char kMandatory[] = "05 09 40 40 10 20  09 08 69 6E 74 65 72 6E 65 74  05 01 0A 00 00 01 ";
const std::string kMandatoryLines =
    Group("EPS_QoS", kQci9 + Lines({"<MaxBitRate_UL>64</MaxBitRate_UL>", "<MaxBitRate_DL>64</MaxBitRate_DL>",
                                    "<GuaranteedBitRate_UL>16</GuaranteedBitRate_UL>",
                                    "<GuaranteedBitRate_DL>32</GuaranteedBitRate_DL>"})) +
    Lines({"<Access_point_name>internet</Access_point_name>"}) +
    Group("PDN_Address", Lines({"<PDNTypeValue>(1)IPv4</PDNTypeValue>", "<PDN_Address>10.0.0.1</PDN_Address>"}));

std::string Request(std::string_view optional) { return "02 01 C1 " + std::string(kMandatory) + std::string(optional); }

TEST(ActivateDefaultEpsBearerContextRequest, RendersInItsFixedOrder) {
    struct Case {
        const char* what;
        std::string hex;
        std::string optional;
    };
    const Case cases[] = {
        {"no optional IE", Request(""), ""},
        {"radio priority from the IEI octet", Request("8B"), Lines({"<Radio_priority>3</Radio_priority>"})},
        {"PCO, radio priority, TI in the message: TI, radio priority, PCO in the document",
         Request("27 01 80  81  5D 02 F0 85"),
         Group("Transation_identifier",
               Lines({"<TIFlag>(1)The message is sent to the side that originates the TI</TIFlag>",
                      "<TIO>(7)The TI value is given by the TIE in octet 2</TIO>", "<TIE>(5)Reserved</TIE>"})) +
             Lines({"<Radio_priority>1</Radio_priority>"}) + Group("Protocol_configuration_options", kPppLine)},
        {"cause and LLC SAPI are IEI plus one octet; the PFI does not change the radio priority",
         Request("58 1F  5E 02 3F 3F  34 01 82  8F  32 93"),
         Group("Negotiated_LLC_SAPI", Lines({"<LLC_SAPI_Value>(3)SAPI 3</LLC_SAPI_Value>"})) +
             Lines({"<Radio_priority>7</Radio_priority>"}) +
             Group("Packet_flow_identifier", Lines({"<PacketFlowIdentifierValue>(2)SMS</PacketFlowIdentifierValue>"})) +
             Group("APN_AMBR", Lines({"<APN_AMBR_DL>(63)kbps</APN_AMBR_DL>", "<APN_AMBR_UL>(63)kbps</APN_AMBR_UL>"})) +
             CauseLine(31, "Request rejected, unspecified")},
        {"negotiated QoS", Request("30 03 1B 93 1F  88"),
         // A QoS of three octets takes its other fields from the octets after
         // it (then zeros past the body); the scan goes on after its third.
         Group("Negotiated_QoS", RenderText(RenderQos, RunParse(ParseQos, "1B 93 1F 88", 3).record)) +
             Lines({"<Radio_priority>0</Radio_priority>"})},
        {"an unknown IEI costs one octet, its length is not skipped", Request("99 03 8D"),
         Lines({"<Radio_priority>5</Radio_priority>"})},
        {"the TFT IEI is unknown here", Request("36 01 21"), ""},
        {"a repeated PCO replaces the earlier one wholly", Request("27 07 80 00 0D 03 AA BB CC  27 04 81 00 0D 03"),
         // The second container's contents run past the body: nothing is
         // copied, and nothing of the first PCO's contents is left.
         Group("Protocol_configuration_options",
               Lines({"<ConfigurationProtocol>(1)EPS use of PPP</ConfigurationProtocol>", "<ProtocolID>13</ProtocolID>",
                      "<ProtocolContents>0x000000</ProtocolContents>"}))},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(0, c.hex),
                  EsmDocument(0, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REQUEST", kMandatoryLines + c.optional))
            << c.what;
    }
}

TEST(ActivateDefaultEpsBearerContextRequest, TruncatedBodyReadsZerosPastItsEnd) {
    // The EPS QoS declares five octets of which one is there; APN and PDN
    // address lengths are read past the body as 0.
    const std::string inner =
        Group("EPS_QoS", kQci9 + Lines({"<MaxBitRate_UL>0</MaxBitRate_UL>", "<MaxBitRate_DL>0</MaxBitRate_DL>",
                                        "<GuaranteedBitRate_UL>0</GuaranteedBitRate_UL>",
                                        "<GuaranteedBitRate_DL>0</GuaranteedBitRate_DL>"})) +
        Lines({"<Access_point_name></Access_point_name>"}) +
        Group("PDN_Address", Lines({"<PDNTypeValue>(0)reserved</PDNTypeValue>", "<PDN_Address>0.0.0.0</PDN_Address>"}));
    EXPECT_EQ(Decode(0, "02 01 C1 05 09"), EsmDocument(0, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REQUEST", inner));
}

TEST(ActivateDefaultEpsBearerContext, AcceptAndRejectLookAtOneOctet) {
    const EsmCase accepts[] = {
        {"empty body: the two tags inside the frame", "52 01 C2", ""},
        {"PCO", "02 05 C2 27 04 80 00 0D 00", Group("Protocol_configuration_options", kPppLine + kDnsContainer)},
        {"first octet not the PCO IEI: a later PCO is not looked at", "02 05 C2 99 27 01 80", ""},
    };
    for (const EsmCase& c : accepts) {
        EXPECT_EQ(Decode(1, c.hex), EsmDocument(1, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_ACCEPT", c.inner)) << c.what;
    }
    const EsmCase rejects[] = {
        {"cause alone", "02 05 C3 1F", CauseLine(31, "Request rejected, unspecified")},
        {"empty body: cause 0", "02 05 C3", CauseLine(0, "protocol error, unspecified")},
        {"cause and PCO", "02 05 C3 1A 27 01 80",
         CauseLine(26, "Insufficient resources") + Group("Protocol_configuration_options", kPppLine)},
        {"octet after the cause not the PCO IEI", "02 05 C3 1A 99 27 01 80", CauseLine(26, "Insufficient resources")},
    };
    for (const EsmCase& c : rejects) {
        EXPECT_EQ(Decode(1, c.hex), EsmDocument(1, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REJECT", c.inner)) << c.what;
    }
}

}  // namespace
}  // namespace corvuna::test
