#include "esm/bearer_resource.h"

#include "api/codec.h"

namespace corvuna {

namespace {

constexpr char kAllocationRequestName[] = "BEARER_RESOURCE_ALLOCATION_REQUEST";
constexpr char kModificationRequestName[] = "BEARER_RESOURCE_MODIFICATION_REQUEST";
constexpr char kTrafficFlowAggregateGroup[] = "Traffic_flow_aggregate";
constexpr char kRequiredQosGroup[] = "Required_traffic_flow_QoS";

// The traffic flow aggregate: its length octet, then its value passed over
// (to the end of the body when it runs past it).
void SkipTrafficFlowAggregate(BitCursor& cursor) {
    const int32_t length = ReadOctet(cursor);
    SkipIe(cursor, length);
}

// The aggregate is not decoded: its group is always empty.
void WriteTrafficFlowAggregate(OutputDocument& out) {
    WriteLineTag(kTrafficFlowAggregateGroup, out);
    WriteCloseTag(kTrafficFlowAggregateGroup, out);
}

}  // namespace

std::unique_ptr<BearerResourceAllocationRequestRecord> ParseBearerResourceAllocationRequest(int, int32_t bodyLength,
                                                                                            const uint8_t* body) {
    auto record = NewRecord<BearerResourceAllocationRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    record->linkedEpsBearerIdentity = ReadOctet(cursor) & 0x0Fu;
    SkipTrafficFlowAggregate(cursor);
    ParseEpsQos(cursor, ReadOctet(cursor), record->requiredTrafficFlowQos);
    LookForPco(cursor, record->pcoPresent, record->pco);
    return record;
}

int RenderBearerResourceAllocationRequest(const BearerResourceAllocationRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(kAllocationRequestName, out);
    WriteNumber("Linked_EPS_bear_identity", &record.linkedEpsBearerIdentity, 4, out);
    WriteTrafficFlowAggregate(out);
    WriteGroup(kRequiredQosGroup, record.requiredTrafficFlowQos, RenderEpsQos, out);
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(kAllocationRequestName, out);
    return 1;
}

int RenderBearerResourceAllocationReject(const CauseAndPcoRecord& record, OutputDocument& out) {
    return RenderCauseAndPcoMessage("BEARER_RESOURCE_ALLOCATION_REJECT", kPcoGroup, record, out);
}

std::unique_ptr<BearerResourceModificationRequestRecord> ParseBearerResourceModificationRequest(int, int32_t bodyLength,
                                                                                                const uint8_t* body) {
    auto record = NewRecord<BearerResourceModificationRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    record->epsBearerIdentityForPacketFilter = ReadOctet(cursor) & 0x0Fu;
    SkipTrafficFlowAggregate(cursor);
    // Only the first optional IE is examined.
    if (!HasOctet(cursor)) return record;
    switch (ReadOctet(cursor)) {
        case kIeiEpsQos:
            ParseOptionalTlv(cursor, record->requiredTrafficFlowQosPresent, record->requiredTrafficFlowQos,
                             ParseEpsQos);
            break;
        case kIeiEsmCause:
            record->esmCausePresent = 1;
            record->esmCause = ReadOctet(cursor);
            break;
        case kIeiPco:
            ParseOptionalTlv(cursor, record->pcoPresent, record->pco, ParseProtocolConfigOptions);
            break;
        default:
            break;
    }
    return record;
}

int RenderBearerResourceModificationRequest(const BearerResourceModificationRequestRecord& record,
                                            OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(kModificationRequestName, out);
    WriteNumber("EPS_bearer_identity_for_Packet_filter", &record.epsBearerIdentityForPacketFilter, 4, out);
    WriteTrafficFlowAggregate(out);
    if (record.requiredTrafficFlowQosPresent) {
        WriteGroup(kRequiredQosGroup, record.requiredTrafficFlowQos, RenderEpsQos, out);
    }
    if (record.esmCausePresent) RenderEsmCause(static_cast<int32_t>(record.esmCause), out);
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(kModificationRequestName, out);
    return 1;
}

int RenderBearerResourceModificationReject(const CauseAndPcoRecord& record, OutputDocument& out) {
    return RenderCauseAndPcoMessage("BEARER_RESOURCE_MODIFICATION_REJECT", kPcoGroup, record, out);
}

}  // namespace corvuna
