// SPDX-License-Identifier: Apache-2.0
// EPS bearer context deactivation as whole documents.
#include <gtest/gtest.h>

#include "esm_test_support.h"

namespace corvuna::test {
namespace {

TEST(DeactivateEpsBearerContext, RequestAndAcceptLookAtOneOptionalOctet) {
    const EsmNamedCase cases[] = {
        {"request body of one octet", "62 03 CD 24", "DEACTIVATE_EPS_BEARER_CONTEXT_REQUEST",
         CauseLine(36, "Regular deactivation")},
        {"request whose second octet is not the PCO IEI", "62 03 CD 24 28 27 01 80",
         "DEACTIVATE_EPS_BEARER_CONTEXT_REQUEST", CauseLine(36, "Regular deactivation")},
        {"request with PCO", "62 03 CD 6F 27 04 80 00 0D 00", "DEACTIVATE_EPS_BEARER_CONTEXT_REQUEST",
         CauseLine(111, "Protocol error, unspecified") +
             Group("Protocol_configuration_options", kPppLine + kDnsContainer)},
        {"empty accept", "62 03 CE", "DEACTIVATE_EPS_BEARER_CONTEXT_ACCEPT", ""},
        {"accept with PCO", "62 03 CE 27 01 80", "DEACTIVATE_EPS_BEARER_CONTEXT_ACCEPT",
         Group("Protocol_configuration_options", kPppLine)},
    };
    for (const EsmNamedCase& c : cases) EXPECT_EQ(Decode(0, c.hex), EsmDocument(0, c.name, c.inner)) << c.what;
}

}  // namespace
}  // namespace corvuna::test
