// SPDX-License-Identifier: Apache-2.0
// UE-requested bearer resource allocation and modification (TS 24.301
// 8.3.8, 8.3.10).  The traffic flow aggregate of both requests is passed
// over, not decoded; the rejects are the shared cause-and-PCO body.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/esm_bodies.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/eps_qos.h"

namespace corvuna {

struct BearerResourceAllocationRequestRecord : PcoIe {
    uint32_t linkedEpsBearerIdentity;  // 0..15
    EpsQos requiredTrafficFlowQos;
};

struct BearerResourceModificationRequestRecord : EsmCauseIe, PcoIe {
    uint32_t epsBearerIdentityForPacketFilter;  // 0..15
    uint8_t requiredTrafficFlowQosPresent;
    EpsQos requiredTrafficFlowQos;
};

// Linked EPS bearer identity, traffic flow aggregate (passed over), required
// traffic flow QoS, then a single look for the PCO.
void ParseBearerResourceAllocationRequest(int direction, BitCursor& body, BearerResourceAllocationRequestRecord& record);
int RenderBearerResourceAllocationRequest(const BearerResourceAllocationRequestRecord& record, OutputDocument& out);

// EPS bearer identity for packet filter, traffic flow aggregate (passed
// over), then a single look at the first optional IE.
void ParseBearerResourceModificationRequest(int direction, BitCursor& body, BearerResourceModificationRequestRecord& record);
int RenderBearerResourceModificationRequest(const BearerResourceModificationRequestRecord& record,
                                            OutputDocument& out);

}  // namespace corvuna
