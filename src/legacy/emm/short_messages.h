// SPDX-License-Identifier: Apache-2.0
// Short EMM messages: IDENTITY REQUEST and RESPONSE, SERVICE REJECT
// (TS 24.301 8.2.18, 8.2.19, 8.2.24).  Each body holds at most one
// mandatory field and one optional IE.  TRACKING AREA UPDATE COMPLETE and
// UPLINK NAS TRANSPORT (its container is not shown) are the shared empty
// body, TRACKING AREA UPDATE REJECT the shared EMM cause body.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

struct IdentityRequestRecord {
    int32_t identityType;  // identity type 2, bits 3-1 of body octet 1
};

struct IdentityResponseRecord {
    MobileIdentity mobileIdentity;
};

struct ServiceRejectRecord {
    int32_t emmCause;      // body octet 1
    uint8_t t3442Present;  // T3442 value (IEI 0x5B) read
    GprsTimer t3442;
};

void ParseIdentityRequest(int direction, BitCursor& body, IdentityRequestRecord& record);
int RenderIdentityRequest(const IdentityRequestRecord& record, OutputDocument& out);

void ParseIdentityResponse(int direction, BitCursor& body, IdentityResponseRecord& record);
int RenderIdentityResponse(const IdentityResponseRecord& record, OutputDocument& out);

void ParseServiceReject(int direction, BitCursor& body, ServiceRejectRecord& record);
int RenderServiceReject(const ServiceRejectRecord& record, OutputDocument& out);

}  // namespace corvuna
