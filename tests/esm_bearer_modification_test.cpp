// SPDX-License-Identifier: Apache-2.0
// EPS bearer context modification as whole documents.
#include <gtest/gtest.h>

#include "esm_test_support.h"

namespace corvuna::test {
namespace {

TEST(ModifyEpsBearerContextRequest, EveryIeIsOptionalAndRendersInItsFixedOrder) {
    const EsmCase cases[] = {
        {"empty body", "", ""},
        {"APN-AMBR alone", "5E 04 FE FE 4A 4B",
         Group("APN_AMBR",
               Lines({"<APN_AMBR_DL>(8064)kbps</APN_AMBR_DL>", "<APN_AMBR_UL>(8064)kbps</APN_AMBR_UL>",
                      "<APN_AMBR_DL_EX>(7400)kbps</APN_AMBR_DL_EX>", "<APN_AMBR_UL_EX>(1000)kbps</APN_AMBR_UL_EX>"}))},
        {"PCO, radio priority, PFI, LLC SAPI, TFT, new EPS QoS: rendered in the fixed order",
         "27 01 80  84  34 01 01  32 00  36 03 F0 AA BB  5B 01 09",
         Group("New_EPS_QoS", kQci9) +
             Group("TFT", Lines({"<TFTOperationCode>(7)Reserved </TFTOperationCode>",
                                 "<Ebit>(1)parameters list is included</Ebit>",
                                 "<Number_of_packet_filters>0</Number_of_packet_filters>"})) +
             Group("Negotiated_LLC_SAPI", Lines({"<LLC_SAPI_Value>(0)LLC SAPI not assigned</LLC_SAPI_Value>"})) +
             Lines({"<Radio_priority>4</Radio_priority>"}) +
             Group("Packet_flow_identifier",
                   Lines({"<PacketFlowIdentifierValue>(1)Signaling</PacketFlowIdentifierValue>"})) +
             Group("Protocol_configuration_options", kPppLine)},
        {"a repeated new EPS QoS replaces the earlier one wholly: no bit rates of the first are left",
         "5B 05 09 40 40 10 20  5B 01 08", Group("New_EPS_QoS", Lines({"<QCI>(8)QCI 8</QCI>"}))},
    };
    for (const EsmCase& c : cases) {
        EXPECT_EQ(Decode(0, "02 00 C9 " + std::string(c.hex)),
                  EsmDocument(0, "MODIFY_EPS_BEARER_CONTEXT_REQUEST", c.inner))
            << c.what;
    }
}

TEST(ModifyEpsBearerContext, AcceptAndRejectUseTheSharedBodies) {
    const EsmNamedCase cases[] = {
        {"accept with PCO", "02 00 CA 27 01 80", "MODIFY_EPS_BEARER_CONTEXT_ACCEPT",
         Group("Protocol_configuration_options", kPppLine)},
        {"accept whose first octet is not the PCO IEI", "02 00 CA 28 27 01 80", "MODIFY_EPS_BEARER_CONTEXT_ACCEPT", ""},
        {"reject with cause and PCO", "02 00 CB 25 27 01 80", "MODIFY_EPS_BEARER_CONTEXT_REJECT",
         CauseLine(37, "EPS QoS not accepted") + Group("Protocol_configuration_options", kPppLine)},
    };
    for (const EsmNamedCase& c : cases) EXPECT_EQ(Decode(1, c.hex), EsmDocument(1, c.name, c.inner)) << c.what;
}

}  // namespace
}  // namespace corvuna::test
