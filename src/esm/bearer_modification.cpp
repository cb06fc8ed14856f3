#include "esm/bearer_modification.h"

#include "api/codec.h"

namespace corvuna {

namespace {

constexpr char kRequestName[] = "MODIFY_EPS_BEARER_CONTEXT_REQUEST";
constexpr char kAcceptName[] = "MODIFY_EPS_BEARER_CONTEXT_ACCEPT";
constexpr char kRejectName[] = "MODIFY_EPS_BEARER_CONTEXT_REJECT";

void ScanRequestIes(BitCursor& cursor, ModifyEpsBearerContextRequestRecord& record) {
    while (HasOctet(cursor)) {
        const uint8_t iei = ReadOctet(cursor);
        if (HighNibble(iei) == kIeiRadioPriority) {
            record.radioPriorityPresent = 1;
            record.radioPriority = static_cast<uint8_t>(iei & 0x07);
            continue;
        }
        switch (iei) {
            case kIeiEpsQos:
                ParseOptionalTlv(cursor, record.newEpsQosPresent, record.newEpsQos, ParseEpsQos);
                break;
            case kIeiTft:
                ParseOptionalTlv(cursor, record.tftPresent, record.tft, ParseTft);
                break;
            case kIeiQos:
                ParseOptionalTlv(cursor, record.newQosPresent, record.newQos, ParseQos);
                break;
            case kIeiLlcSapi:
                ParseOptionalIe(cursor, kLlcSapiLength, record.negotiatedLlcSapiPresent, record.negotiatedLlcSapi,
                                ParseLlcSapi);
                break;
            case kIeiPacketFlowId:
                ParseOptionalTlv(cursor, record.packetFlowIdPresent, record.packetFlowId, ParsePacketFlowId);
                break;
            case kIeiApnAmbr:
                ParseOptionalTlv(cursor, record.apnAmbrPresent, record.apnAmbr, ParseApnAmbr);
                break;
            case kIeiPco:
                ParseOptionalTlv(cursor, record.pcoPresent, record.pco, ParseProtocolConfigOptions);
                break;
            default:
                break;  // unknown IEI: passed over alone
        }
    }
}

}  // namespace

std::unique_ptr<ModifyEpsBearerContextRequestRecord> ParseModifyEpsBearerContextRequest(int, int32_t bodyLength,
                                                                                        const uint8_t* body) {
    auto record = NewRecord<ModifyEpsBearerContextRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    ScanRequestIes(cursor, *record);
    return record;
}

int RenderModifyEpsBearerContextRequest(const ModifyEpsBearerContextRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(kRequestName, out);
    if (record.newEpsQosPresent) WriteGroup("New_EPS_QoS", record.newEpsQos, RenderEpsQos, out);
    if (record.tftPresent) WriteGroup("TFT", record.tft, RenderTft, out);
    if (record.newQosPresent) WriteGroup("New_QoS", record.newQos, RenderQos, out);
    if (record.negotiatedLlcSapiPresent) {
        WriteGroup("Negotiated_LLC_SAPI", record.negotiatedLlcSapi, RenderLlcSapi, out);
    }
    if (record.radioPriorityPresent) WriteNumber("Radio_priority", &record.radioPriority, 1, out);
    if (record.packetFlowIdPresent) {
        WriteGroup("Packet_flow_identifier", record.packetFlowId, RenderPacketFlowId, out);
    }
    if (record.apnAmbrPresent) WriteGroup("APN_AMBR", record.apnAmbr, RenderApnAmbr, out);
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(kRequestName, out);
    return 1;
}

int RenderModifyEpsBearerContextAccept(const PcoOnlyRecord& record, OutputDocument& out) {
    return RenderPcoOnlyMessage(kAcceptName, kPcoGroup, record, out);
}

int RenderModifyEpsBearerContextReject(const CauseAndPcoRecord& record, OutputDocument& out) {
    return RenderCauseAndPcoMessage(kRejectName, kPcoGroup, record, out);
}

}  // namespace corvuna
