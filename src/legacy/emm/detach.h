// SPDX-License-Identifier: Apache-2.0
// DETACH REQUEST and DETACH ACCEPT (TS 24.301 8.2.9-8.2.12).
//
// DETACH REQUEST has two layouts chosen by the direction: sent by the UE it
// carries the detach type, the NAS key set identifier and the UE's GUTI or
// IMSI; sent by the network it carries the detach type and, optionally, an
// EMM cause.  The parser reads the layout of the direction it is given and
// keeps the direction in the record, from which the renderer chooses the
// same layout.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

struct DetachRequestRecord {
    int32_t direction;             // 1 uplink (UE-originating), 0 downlink (UE-terminated)
    DetachTypeRecord detach;       // low half of body octet 1
    KeySetIdentifier ksi;          // uplink: high half of body octet 1
    EpsMobileIdentity gutiOrImsi;  // uplink: the UE's GUTI or IMSI
    uint8_t emmCausePresent;       // downlink: EMM cause (IEI 0x53) read
    int32_t emmCause;              // downlink: EMM cause value 0..255
};

void ParseDetachRequest(int direction, BitCursor& body, DetachRequestRecord& record);
int RenderDetachRequest(const DetachRequestRecord& record, OutputDocument& out);

// DETACH ACCEPT (either direction) is the shared empty body.

}  // namespace corvuna
