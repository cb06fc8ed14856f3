#include "esm/default_bearer.h"

#include "api/codec.h"

namespace corvuna {

namespace {

constexpr char kRequestName[] = "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REQUEST";
constexpr char kAcceptName[] = "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_ACCEPT";
constexpr char kRejectName[] = "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REJECT";

// The optional IEs of the request, one octet at a time; an octet that is no
// known IEI is passed over alone and the next octet is taken as an IEI.
void ScanRequestIes(BitCursor& cursor, ActivateDefaultEpsBearerContextRequestRecord& record) {
    while (HasOctet(cursor)) {
        const uint8_t iei = ReadOctet(cursor);
        if (HighNibble(iei) == kIeiRadioPriority) {
            record.radioPriorityPresent = 1;
            record.radioPriority = static_cast<uint8_t>(iei & 0x07);
            continue;
        }
        switch (iei) {
            case kIeiTransactionId:
                ParseOptionalTlv(cursor, record.transactionIdPresent, record.transactionId, ParseTransactionId);
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
            case kIeiEsmCause:
                record.esmCausePresent = 1;
                record.esmCause = ReadOctet(cursor);
                break;
            case kIeiApnAmbr:
                ParseOptionalTlv(cursor, record.apnAmbrPresent, record.apnAmbr, ParseApnAmbr);
                break;
            case kIeiPco:
                ParseOptionalTlv(cursor, record.pcoPresent, record.pco, ParseProtocolConfigOptions);
                break;
            default:
                break;
        }
    }
}

}  // namespace

void LookForPco(BitCursor& cursor, uint8_t& present, ProtocolConfigOptions& pco) {
    if (!HasOctet(cursor)) return;
    if (ReadOctet(cursor) != kIeiPco) return;
    ParseOptionalTlv(cursor, present, pco, ParseProtocolConfigOptions);
}

void WriteApnGroup(const AccessPointName& apn, OutputDocument& out) {
    WriteLineTag("Access_point_name", out);
    WriteString("APN", apn.apnText, out);
    WriteCloseTag("Access_point_name", out);
}

std::unique_ptr<PcoOnlyRecord> ParsePcoOnlyBody(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<PcoOnlyRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    LookForPco(cursor, record->pcoPresent, record->pco);
    return record;
}

std::unique_ptr<CauseAndPcoRecord> ParseCauseAndPcoBody(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<CauseAndPcoRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    // Read past the end of an empty body, the cause is 0.
    record->esmCause = ReadOctet(cursor);
    LookForPco(cursor, record->pcoPresent, record->pco);
    return record;
}

int RenderPcoOnlyMessage(const char* name, const char* pcoGroup, const PcoOnlyRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(name, out);
    if (record.pcoPresent) WriteGroup(pcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(name, out);
    return 1;
}

int RenderCauseAndPcoMessage(const char* name, const char* pcoGroup, const CauseAndPcoRecord& record,
                             OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(name, out);
    RenderEsmCause(static_cast<int32_t>(record.esmCause), out);
    if (record.pcoPresent) WriteGroup(pcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(name, out);
    return 1;
}

std::unique_ptr<ActivateDefaultEpsBearerContextRequestRecord> ParseActivateDefaultEpsBearerContextRequest(
    int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<ActivateDefaultEpsBearerContextRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    ParseEpsQos(cursor, ReadOctet(cursor), record->epsQos);
    ParseAccessPointName(cursor, ReadOctet(cursor), record->accessPointName);
    ParsePdnAddress(cursor, ReadOctet(cursor), record->pdnAddress);
    ScanRequestIes(cursor, *record);
    return record;
}

int RenderActivateDefaultEpsBearerContextRequest(const ActivateDefaultEpsBearerContextRequestRecord& record,
                                                 OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(kRequestName, out);
    WriteGroup("EPS_QoS", record.epsQos, RenderEpsQos, out);
    WriteString("Access_point_name", record.accessPointName.apnText, out);
    WriteGroup("PDN_Address", record.pdnAddress, RenderPdnAddress, out);
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
    if (record.apnAmbrPresent) WriteGroup("APN_AMBR", record.apnAmbr, RenderApnAmbr, out);
    if (record.esmCausePresent) RenderEsmCause(static_cast<int32_t>(record.esmCause), out);
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(kRequestName, out);
    return 1;
}

int RenderActivateDefaultEpsBearerContextAccept(const PcoOnlyRecord& record, OutputDocument& out) {
    return RenderPcoOnlyMessage(kAcceptName, kPcoGroup, record, out);
}

int RenderActivateDefaultEpsBearerContextReject(const CauseAndPcoRecord& record, OutputDocument& out) {
    return RenderCauseAndPcoMessage(kRejectName, kPcoGroup, record, out);
}

}  // namespace corvuna
