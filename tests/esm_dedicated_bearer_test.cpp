// SPDX-License-Identifier: Apache-2.0
// Dedicated EPS bearer context activation as whole documents: the request's
// fixed render order, the accept and reject scans that go on past unknown
// octets, and the three names of the PCO group.
#include <gtest/gtest.h>

#include "esm_test_support.h"

namespace corvuna::test {
namespace {

// Linked EPS bearer identity 6 (high nibble ignored), EPS QoS QCI 9, TFT 21.
constexpr char kMandatory[] = "02 07 C5  56  01 09  01 21 ";
const std::string kMandatoryLines = Lines({"<Linked_EPS_bear_identity>6</Linked_EPS_bear_identity>"}) +
                                    Group("EPS_QoS", kQci9) +
                                    Group("TFT", Lines({"<TFTOperationCode>(1)Create new TFT</TFTOperationCode>",
                                                        "<Ebit>(0)parameters list is not included</Ebit>",
                                                        "<Number_of_packet_filters>1</Number_of_packet_filters>"}));

TEST(ActivateDedicatedEpsBearerContextRequest, RendersInItsFixedOrder) {
    const EsmCase cases[] = {
        {"no optional IE", "", ""},
        {"IEs in reverse order; LLC SAPI is IEI plus one octet", "27 01 80  34 01 08  8A  32 05  99  5D 02 80 07",
         Group("Transation_identifier",
               Lines({"<TIFlag>(1)The message is sent to the side that originates the TI</TIFlag>",
                      "<TIO>(0)TI value 0</TIO>", "<TIE>(7)The TI value is the binary representation of TIE</TIE>"})) +
             Group("Negotiated_LLC_SAPI", Lines({"<LLC_SAPI_Value>(5)SAPI 5</LLC_SAPI_Value>"})) +
             Lines({"<Radio_priority>2</Radio_priority>"}) +
             Group("Packet_flow_identifier",
                   Lines({"<PacketFlowIdentifierValue>(8)dynamically assigned</PacketFlowIdentifierValue>"})) +
             Group("Protocol_configuration_options", kPppLine)},
    };
    for (const EsmCase& c : cases) {
        EXPECT_EQ(Decode(0, std::string(kMandatory) + c.hex),
                  EsmDocument(0, "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REQUEST", kMandatoryLines + c.inner))
            << c.what;
    }
}

TEST(ActivateDedicatedEpsBearerContext, AcceptAndRejectScanTheWholeBody) {
    const EsmCase accepts[] = {
        {"empty body", "02 07 C6", ""},
        {"an unknown octet, then a PCO of length 2", "02 07 C6 99 27 02 80 00",
         // The container list runs past the IE into zeros read past the body.
         Group("ProtocolConfOp",
               kPppLine + Lines({"<ProtocolID>0</ProtocolID>", "<ProtocolContents>0x</ProtocolContents>"}))},
        {"a repeated PCO replaces the earlier one wholly", "02 07 C6 27 07 80 00 0D 03 AA BB CC 27 04 80 00 0D 03",
         Group("ProtocolConfOp",
               kPppLine + Lines({"<ProtocolID>13</ProtocolID>", "<ProtocolContents>0x000000</ProtocolContents>"}))},
    };
    for (const EsmCase& c : accepts) {
        EXPECT_EQ(Decode(1, c.hex), EsmDocument(1, "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_ACCEPT", c.inner)) << c.what;
    }
    const EsmCase rejects[] = {
        {"empty body: cause 0", "02 07 C7", CauseLine(0, "protocol error, unspecified")},
        {"cause, unknown octets, PCO", "02 07 C7 2B 99 98 27 01 80",
         CauseLine(43, "Invalid EPS bearer identity") + Group("Protocol_Configuration_Options", kPppLine)},
    };
    for (const EsmCase& c : rejects) {
        EXPECT_EQ(Decode(1, c.hex), EsmDocument(1, "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REJECT", c.inner)) << c.what;
    }
}

}  // namespace
}  // namespace corvuna::test
