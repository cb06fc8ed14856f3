// SPDX-License-Identifier: Apache-2.0
// Finds an IE in a plain EMM or 5GMM message through the standard view's message
// tables (view/protocols.h): the mandatory part in order, then the optional
// IEs by IEI, as TS 24.007 11.2 lays them out.  The security tracker reads
// identities, RAND, AUTN, RES, algorithms and KSIs with it instead of
// offsets of its own.
#pragma once

#include <cstdint>
#include <optional>

#include "security/octets.h"

namespace corvuna::view {
struct IeType;
}

namespace corvuna::security {

struct LocatedIe {
    ConstOctets value;  // the value octets (no IEI, no length)
    int half = -1;      // a half-octet IE: its value (0-15)
};

// The `occurrence`-th IE of type `type` in the plain EMM message `plain`
// (security header type 0 and protocol discriminator 7 first), or the plain
// 5GMM message (EPD 0x7E, security header type 0), sent in
// `direction` (1 uplink, 0 downlink); nullopt when the message has none or
// ends before it.
std::optional<LocatedIe> LocateIe(ConstOctets plain, int direction, const view::IeType& type, int occurrence = 0);

}  // namespace corvuna::security
