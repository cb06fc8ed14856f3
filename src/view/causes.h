// SPDX-License-Identifier: Apache-2.0
// The causes every NAS cause table of TS 24.301 and TS 24.501 ends with:
// the protocol errors (annex A of each, causes #95 to #101, shared with
// the legacy document, and #111).
#pragma once

#include "common/causes.h"
#include "common/text.h"
#include "view/context.h"

namespace corvuna::view {

inline constexpr ValueText kProtocolErrorUnspecified[] = {{111, "Protocol error, unspecified"}};

// A cause without a row of its own is treated as #111.
inline constexpr Text kUnassignedCause = "unassigned (treated as #111, protocol error, unspecified)";

// The texts of a cause octet: a protocol's own rows, then the protocol
// errors, spread over every value.
template <size_t N>
consteval DenseText<256> CauseTexts(const ValueText (&own)[N]) {
    return MakeDenseText<256>(Join(own, kProtocolErrorCauses, kProtocolErrorUnspecified), kUnassignedCause);
}

// The decoder of a cause IE of one octet whose texts are `Texts` (5GMM and
// 5GSM causes).
template <const DenseText<256>& Texts>
void DecodeCause(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) ctx.out.Enum("Cause value"_f, v.At(0), Texts(v.At(0)));
}

}  // namespace corvuna::view
