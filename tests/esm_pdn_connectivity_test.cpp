// SPDX-License-Identifier: Apache-2.0
// PDN connectivity and PDN disconnect as whole documents.
#include <gtest/gtest.h>

#include "esm_test_support.h"

namespace corvuna::test {
namespace {

std::string Types(int requestType, int pdnType) {
    return "<request_type>" + std::to_string(requestType) + "</request_type>\n<PDN_type>" + std::to_string(pdnType) +
           "</PDN_type>\n";
}

std::string ApnGroup(std::string_view text) {
    return Group("Access_point_name", "<APN>" + std::string(text) + "</APN>\n");
}

TEST(PdnConnectivityRequest, RendersInItsFixedOrder) {
    const EsmCase cases[] = {
        {"types only", "11", Types(1, 1)},
        {"request type from the low, PDN type from the high nibble", "31", Types(1, 3)},
        {"ESM information transfer flag", "31 D1",
         Types(1, 3) + Lines({"<ESM_Info_Trans_Flag>1</ESM_Info_Trans_Flag>"})},
        {"the whole low nibble of the flag is recorded", "31 DF",
         Types(1, 3) + Lines({"<ESM_Info_Trans_Flag>15</ESM_Info_Trans_Flag>"})},
        {"PCO, APN, flag, with unknown octets: rendered flag, APN, PCO",
         "21 27 01 80 99 28 0D 08 69 6E 74 65 72 6E 65 74 03 63 6F 6D 77 D0",
         Types(1, 2) + Lines({"<ESM_Info_Trans_Flag>0</ESM_Info_Trans_Flag>"}) + ApnGroup("internetcom") +
             Group("Protocol_configuration_options", kPppLine)},
        {"a repeated APN replaces the earlier one", "11 28 09 08 69 6E 74 65 72 6E 65 74 28 03 02 61 62",
         Types(1, 1) + ApnGroup("ab")},
        {"an APN of length 0", "11 28 00", Types(1, 1) + ApnGroup("")},
    };
    for (const EsmCase& c : cases) {
        EXPECT_EQ(Decode(1, "02 01 D0 " + std::string(c.hex)), EsmDocument(1, "PDN_CONNECTIVITY_REQUEST", c.inner))
            << c.what;
    }
}

TEST(PdnDisconnect, RequestLooksAtOneOctetAndRejectsUseTheSharedBody) {
    const EsmNamedCase cases[] = {
        {"disconnect request with PCO", "02 09 D2 F5 27 01 80", "PDN_DISCONNECT_REQUEST",
         Lines({"<Linked_EPS_bear_identity>5</Linked_EPS_bear_identity>"}) +
             Group("Protocol_configuration_options", kPppLine)},
        {"second octet 0x28: no PCO even though one follows", "02 09 D2 05 28 27 01 80", "PDN_DISCONNECT_REQUEST",
         Lines({"<Linked_EPS_bear_identity>5</Linked_EPS_bear_identity>"})},
        {"connectivity reject", "02 09 D1 1B", "PDN_CONNECTIVITY_REJECT", CauseLine(27, "Unknown or missing APN")},
        {"disconnect reject with PCO", "02 09 D3 31 27 01 80", "PDN_DISCONNECT_REJECT",
         CauseLine(49, "Last PDN disconnection not allowed") + Group("Protocol_configuration_options", kPppLine)},
    };
    for (const EsmNamedCase& c : cases) EXPECT_EQ(Decode(1, c.hex), EsmDocument(1, c.name, c.inner)) << c.what;
}

}  // namespace
}  // namespace corvuna::test
