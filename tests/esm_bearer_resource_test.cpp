// SPDX-License-Identifier: Apache-2.0
// Bearer resource allocation and modification as whole documents.
#include <gtest/gtest.h>

#include "esm_test_support.h"

namespace corvuna::test {
namespace {

const std::string kAggregate = Group("Traffic_flow_aggregate", "");

TEST(BearerResource, RequestsPassOverTheAggregateAndLookAtOneOptionalIe) {
    const EsmNamedCase cases[] = {
        {"allocation request with PCO", "02 04 D4 A5 03 AA BB CC 01 09 27 01 80", "BEARER_RESOURCE_ALLOCATION_REQUEST",
         Lines({"<Linked_EPS_bear_identity>5</Linked_EPS_bear_identity>"}) + kAggregate +
             Group("Required_traffic_flow_QoS", kQci9) + Group("Protocol_configuration_options", kPppLine)},
        {"allocation request whose octet after the QoS is not the PCO IEI", "02 04 D4 05 00 01 09 99 27 01 80",
         "BEARER_RESOURCE_ALLOCATION_REQUEST",
         Lines({"<Linked_EPS_bear_identity>5</Linked_EPS_bear_identity>"}) + kAggregate +
             Group("Required_traffic_flow_QoS", kQci9)},
        {"aggregate running past the body: nothing after it is read", "02 04 D4 05 FF 01 09 27 01 80",
         "BEARER_RESOURCE_ALLOCATION_REQUEST",
         Lines({"<Linked_EPS_bear_identity>5</Linked_EPS_bear_identity>"}) + kAggregate +
             Group("Required_traffic_flow_QoS", Lines({"<QCI>(0)Reserved</QCI>"}))},
        {"modification request: QoS then PCO renders the QoS only", "02 04 D6 06 01 AA 5B 01 09 27 01 80",
         "BEARER_RESOURCE_MODIFICATION_REQUEST",
         Lines({"<EPS_bearer_identity_for_Packet_filter>6</EPS_bearer_identity_for_Packet_filter>"}) + kAggregate +
             Group("Required_traffic_flow_QoS", kQci9)},
        {"modification request whose first optional IE is the PCO", "02 04 D6 06 00 27 01 80 5B 01 09",
         "BEARER_RESOURCE_MODIFICATION_REQUEST",
         Lines({"<EPS_bearer_identity_for_Packet_filter>6</EPS_bearer_identity_for_Packet_filter>"}) + kAggregate +
             Group("Protocol_configuration_options", kPppLine)},
        {"modification request with a cause", "02 04 D6 06 00 58 24", "BEARER_RESOURCE_MODIFICATION_REQUEST",
         Lines({"<EPS_bearer_identity_for_Packet_filter>6</EPS_bearer_identity_for_Packet_filter>"}) + kAggregate +
             CauseLine(36, "Regular deactivation")},
        {"allocation reject", "02 04 D5 1F", "BEARER_RESOURCE_ALLOCATION_REJECT",
         CauseLine(31, "Request rejected, unspecified")},
        {"modification reject with PCO", "02 04 D7 2E 27 01 80", "BEARER_RESOURCE_MODIFICATION_REJECT",
         CauseLine(46, "EPS bearer context without TFT already activated ") +
             Group("Protocol_configuration_options", kPppLine)},
    };
    for (const EsmNamedCase& c : cases) EXPECT_EQ(Decode(1, c.hex), EsmDocument(1, c.name, c.inner)) << c.what;
}

}  // namespace
}  // namespace corvuna::test
