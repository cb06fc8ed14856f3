// SPDX-License-Identifier: Apache-2.0
// UE-requested PDN connectivity and PDN disconnect (TS 24.301 8.3.20,
// 8.3.22).  The two rejects are the shared cause-and-PCO body.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/esm_bodies.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/apn_pdn.h"

namespace corvuna {

struct PdnConnectivityRequestRecord : PcoIe {
    uint32_t requestType;  // 0..15, low nibble of body octet 1
    uint32_t pdnType;      // 0..15, high nibble of body octet 1
    uint8_t esmInfoTransferFlagPresent;
    uint32_t esmInfoTransferFlag;  // 0..15, the whole low nibble of the IEI octet
    uint8_t apnPresent;
    AccessPointName accessPointName;
};

struct PdnDisconnectRequestRecord : PcoIe {
    uint32_t linkedEpsBearerIdentity;  // 0..15
};

// Request type and PDN type, then a passing scan of the optional IEs.
void ParsePdnConnectivityRequest(int direction, BitCursor& body, PdnConnectivityRequestRecord& record);
int RenderPdnConnectivityRequest(const PdnConnectivityRequestRecord& record, OutputDocument& out);

// Linked EPS bearer identity, then a single look for the PCO.
void ParsePdnDisconnectRequest(int direction, BitCursor& body, PdnDisconnectRequestRecord& record);
int RenderPdnDisconnectRequest(const PdnDisconnectRequestRecord& record, OutputDocument& out);

}  // namespace corvuna
