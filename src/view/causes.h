// SPDX-License-Identifier: Apache-2.0
// The causes every NAS cause table of TS 24.301 and TS 24.501 ends with:
// the protocol errors (annex A of each, causes #95 to #101 and #111).
#pragma once

#include "common/text.h"

namespace corvuna::view {

inline constexpr ValueText kProtocolErrorCauses[] = {
    {95, "Semantically incorrect message"},
    {96, "Invalid mandatory information"},
    {97, "Message type non-existent or not implemented"},
    {98, "Message type not compatible with the protocol state"},
    {99, "Information element non-existent or not implemented"},
    {100, "Conditional IE error"},
    {101, "Message not compatible with the protocol state"},
    {111, "Protocol error, unspecified"},
};

// A cause without a row of its own is treated as #111.
inline constexpr Text kUnassignedCause = "unassigned (treated as #111, protocol error, unspecified)";

}  // namespace corvuna::view
