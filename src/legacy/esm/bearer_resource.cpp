// SPDX-License-Identifier: Apache-2.0
#include "legacy/esm/bearer_resource.h"

#include "legacy/codec/esm_bodies.h"
#include "legacy/codec/optional_ies.h"
#include "legacy/ie/sm/sm_fields.h"

namespace corvuna {

namespace {

constexpr Name kRequiredQosGroup{"Required_traffic_flow_QoS"};

using Modification = BearerResourceModificationRequestRecord;

// Only the first optional IE of the modification request is examined.
constexpr OptionalIe<Modification> kModificationRows[] = {
    Tlv<&Modification::requiredTrafficFlowQosPresent, &Modification::requiredTrafficFlowQos, ParseEpsQos>(
        kIeiEpsQos),
    esm_rows::kEsmCause<Modification>,
    esm_rows::kPco<Modification>,
};
constexpr OptionalIes<Modification> kModificationIes{Scan::kSingleLook, kModificationRows};

// The bearer identity half-octet, then the traffic flow aggregate: its
// length octet and its value passed over (to the end of the body when it
// runs past it).
uint32_t ReadBearerAndSkipAggregate(BitCursor& cursor) {
    const uint32_t identity = ReadOctet(cursor) & 0x0Fu;
    SkipIe(cursor, ReadOctet(cursor));
    return identity;
}

}  // namespace

void ParseBearerResourceAllocationRequest(int, BitCursor& cursor, BearerResourceAllocationRequestRecord& record) {
    record.linkedEpsBearerIdentity = ReadBearerAndSkipAggregate(cursor);
    ParseEpsQos(cursor, ReadOctet(cursor), record.requiredTrafficFlowQos);
    ScanForPco(cursor, Scan::kSingleLook, record);
}

int RenderBearerResourceAllocationRequest(const BearerResourceAllocationRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber(kLinkedBearerIdentity, record.linkedEpsBearerIdentity, out);
    // The aggregate is not decoded: its group is always empty.
    WriteEmptyGroup("Traffic_flow_aggregate", out);
    WriteGroup(kRequiredQosGroup, record.requiredTrafficFlowQos, RenderEpsQos, out);
    WritePco(record, out);
    return 1;
}

void ParseBearerResourceModificationRequest(int, BitCursor& cursor, Modification& record) {
    record.epsBearerIdentityForPacketFilter = ReadBearerAndSkipAggregate(cursor);
    ScanOptionalIes(cursor, kModificationIes, record);
}

int RenderBearerResourceModificationRequest(const Modification& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("EPS_bearer_identity_for_Packet_filter", record.epsBearerIdentityForPacketFilter, out);
    WriteEmptyGroup("Traffic_flow_aggregate", out);
    WriteIfPresent(record.requiredTrafficFlowQosPresent, kRequiredQosGroup,
                   record.requiredTrafficFlowQos, RenderEpsQos, out);
    WriteEsmCause(record, out);
    WritePco(record, out);
    return 1;
}

}  // namespace corvuna
