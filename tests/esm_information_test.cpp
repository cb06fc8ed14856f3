// SPDX-License-Identifier: Apache-2.0
// ESM information request and response and ESM status as whole documents.
#include <gtest/gtest.h>

#include "esm_test_support.h"

namespace corvuna::test {
namespace {

TEST(EsmInformationAndStatus, Decode) {
    const EsmNamedCase cases[] = {
        {"information request: the two tags whatever the body holds", "02 02 D9 28 01 00", "ESM_INFORMATION_REQUEST",
         ""},
        {"empty information response", "02 02 DA", "ESM_INFORMATION_RESPONSE", ""},
        {"information response with PCO, unknown octet and APN",
         "02 02 DA 27 01 80 99 28 09 08 69 6E 74 65 72 6E 65 74", "ESM_INFORMATION_RESPONSE",
         Group("Access_point_name", Lines({"<APN>internet</APN>"})) +
             Group("Protocol_configuration_options", kPppLine)},
        {"status: the first octet only", "02 02 E8 1F 60", "ESM_STATUS",
         CauseLine(31, "Request rejected, unspecified")},
        {"status with an empty body: cause 0", "02 02 E8", "ESM_STATUS", CauseLine(0, "protocol error, unspecified")},
    };
    for (const EsmNamedCase& c : cases) EXPECT_EQ(Decode(1, c.hex), EsmDocument(1, c.name, c.inner)) << c.what;
}

}  // namespace
}  // namespace corvuna::test
