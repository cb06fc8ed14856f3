// SPDX-License-Identifier: Apache-2.0
// NAS security mode messages (TS 24.301 clauses 8.2.20 to 8.2.22):
// SECURITY MODE COMMAND, COMPLETE and REJECT.
//
// SECURITY MODE COMMAND scans its optional IEs with a passing scan (an
// unknown octet, such as the IMEISV request, is passed over alone);
// SECURITY MODE COMPLETE looks at the one octet after the message type.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/mm/capabilities.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

struct SecurityModeCommandRecord {
    int32_t nasSecurityAlgorithms;                      // octet 1, whole
    KeySetIdentifier ksi;                               // low half of octet 2
    UeSecurityCapability replayedUeSecurityCapability;
    uint8_t replayedNonceUePresent;                     // IEI 0x55
    uint32_t replayedNonceUe;
    uint8_t nonceMmePresent;                            // IEI 0x56
    uint32_t nonceMme;
};

struct SecurityModeCompleteRecord {
    uint8_t imeisvPresent;  // IEI 0x23 in the first octet
    MobileIdentity imeisv;
};

void ParseSecurityModeCommand(int direction, BitCursor& body, SecurityModeCommandRecord& record);
int RenderSecurityModeCommand(const SecurityModeCommandRecord& record, OutputDocument& out);

void ParseSecurityModeComplete(int direction, BitCursor& body, SecurityModeCompleteRecord& record);
int RenderSecurityModeComplete(const SecurityModeCompleteRecord& record, OutputDocument& out);

// SECURITY MODE REJECT is the shared EMM cause body.

}  // namespace corvuna
