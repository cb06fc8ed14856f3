#include "esm/dedicated_bearer.h"

#include "api/codec.h"

namespace corvuna {

namespace {

constexpr char kRequestName[] = "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REQUEST";
constexpr char kAcceptName[] = "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_ACCEPT";
constexpr char kRejectName[] = "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REJECT";

// Each of the three messages names its PCO group differently.
constexpr char kAcceptPcoGroup[] = "ProtocolConfOp";
constexpr char kRejectPcoGroup[] = "Protocol_Configuration_Options";

void ScanRequestIes(BitCursor& cursor, ActivateDedicatedEpsBearerContextRequestRecord& record) {
    while (HasOctet(cursor)) {
        const uint8_t iei = ReadOctet(cursor);
        if (HighNibble(iei) == kIeiRadioPriority) {
            record.radioPriorityPresent = 1;
            record.radioPriority = static_cast<uint8_t>(iei & 0x07);
            continue;
        }
        switch (iei) {
            case kIeiPco:
                ParseOptionalTlv(cursor, record.pcoPresent, record.pco, ParseProtocolConfigOptions);
                break;
            case kIeiQos:
                ParseOptionalTlv(cursor, record.negotiatedQosPresent, record.negotiatedQos, ParseQos);
                break;
            case kIeiLlcSapi:
                ParseOptionalIe(cursor, kLlcSapiLength, record.negotiatedLlcSapiPresent, record.negotiatedLlcSapi,
                                ParseLlcSapi);
                break;
            case kIeiPacketFlowId:
                ParseOptionalTlv(cursor, record.packetFlowIdPresent, record.packetFlowId, ParsePacketFlowId);
                break;
            case kIeiTransactionId:
                ParseOptionalTlv(cursor, record.transactionIdPresent, record.transactionId, ParseTransactionId);
                break;
            default:
                break;  // unknown IEI: passed over alone
        }
    }
}

// Passing scan for the PCO: any other octet is passed over alone.
void ScanForPco(BitCursor& cursor, uint8_t& present, ProtocolConfigOptions& pco) {
    while (HasOctet(cursor)) {
        if (ReadOctet(cursor) == kIeiPco) ParseOptionalTlv(cursor, present, pco, ParseProtocolConfigOptions);
    }
}

}  // namespace

std::unique_ptr<ActivateDedicatedEpsBearerContextRequestRecord> ParseActivateDedicatedEpsBearerContextRequest(
    int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<ActivateDedicatedEpsBearerContextRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    record->linkedEpsBearerIdentity = ReadOctet(cursor) & 0x0Fu;
    ParseEpsQos(cursor, ReadOctet(cursor), record->epsQos);
    ParseTft(cursor, ReadOctet(cursor), record->tft);
    ScanRequestIes(cursor, *record);
    return record;
}

int RenderActivateDedicatedEpsBearerContextRequest(const ActivateDedicatedEpsBearerContextRequestRecord& record,
                                                   OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(kRequestName, out);
    WriteNumber("Linked_EPS_bear_identity", &record.linkedEpsBearerIdentity, 4, out);
    WriteGroup("EPS_QoS", record.epsQos, RenderEpsQos, out);
    WriteGroup("TFT", record.tft, RenderTft, out);
    if (record.transactionIdPresent) {
        WriteGroup("Transation_identifier", record.transactionId, RenderTransactionId, out);
    }
    if (record.negotiatedQosPresent) WriteGroup("Negotiated_QoS", record.negotiatedQos, RenderQos, out);
    if (record.negotiatedLlcSapiPresent) {
        WriteGroup("Negotiated_LLC_SAPI", record.negotiatedLlcSapi, RenderLlcSapi, out);
    }
    if (record.radioPriorityPresent) WriteNumber("Radio_priority", &record.radioPriority, 1, out);
    if (record.packetFlowIdPresent) {
        WriteGroup("Packet_flow_identifier", record.packetFlowId, RenderPacketFlowId, out);
    }
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(kRequestName, out);
    return 1;
}

std::unique_ptr<PcoOnlyRecord> ParseActivateDedicatedEpsBearerContextAccept(int, int32_t bodyLength,
                                                                            const uint8_t* body) {
    auto record = NewRecord<PcoOnlyRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    ScanForPco(cursor, record->pcoPresent, record->pco);
    return record;
}

int RenderActivateDedicatedEpsBearerContextAccept(const PcoOnlyRecord& record, OutputDocument& out) {
    return RenderPcoOnlyMessage(kAcceptName, kAcceptPcoGroup, record, out);
}

std::unique_ptr<CauseAndPcoRecord> ParseActivateDedicatedEpsBearerContextReject(int, int32_t bodyLength,
                                                                                const uint8_t* body) {
    auto record = NewRecord<CauseAndPcoRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    record->esmCause = ReadOctet(cursor);
    ScanForPco(cursor, record->pcoPresent, record->pco);
    return record;
}

int RenderActivateDedicatedEpsBearerContextReject(const CauseAndPcoRecord& record, OutputDocument& out) {
    return RenderCauseAndPcoMessage(kRejectName, kRejectPcoGroup, record, out);
}

}  // namespace corvuna
