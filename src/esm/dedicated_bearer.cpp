#include "esm/dedicated_bearer.h"

#include "codec/esm_bodies.h"
#include "codec/optional_ies.h"

namespace corvuna {

namespace {

using Request = ActivateDedicatedEpsBearerContextRequestRecord;

// Optional IEs of the request, passing scan.
constexpr OptionalIe<Request> kRows[] = {
    HalfOctet<&Request::radioPriorityPresent, &Request::radioPriority, 0x07>(kIeiRadioPriority),
    Tlv<&Request::pcoPresent, &Request::pco, ParseProtocolConfigOptions>(kIeiPco),
    Tlv<&Request::negotiatedQosPresent, &Request::negotiatedQos, ParseQos>(kIeiQos),
    Tv<&Request::negotiatedLlcSapiPresent, &Request::negotiatedLlcSapi, ParseLlcSapi>(kIeiLlcSapi, kLlcSapiOctets),
    Tlv<&Request::packetFlowIdPresent, &Request::packetFlowId, ParsePacketFlowId>(kIeiPacketFlowId),
    Tlv<&Request::transactionIdPresent, &Request::transactionId, ParseTransactionId>(kIeiTransactionId),
};
constexpr OptionalIes<Request> kIes{Scan::kPassing, kRows};

}  // namespace

void ParseActivateDedicatedEpsBearerContextRequest(int, int32_t bodyLength, const uint8_t* body, Request& record) {
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    record.linkedEpsBearerIdentity = ReadOctet(cursor) & 0x0Fu;
    ParseEpsQos(cursor, ReadOctet(cursor), record.epsQos);
    ParseTft(cursor, ReadOctet(cursor), record.tft);
    ScanOptionalIes(cursor, kIes, record);
}

int RenderActivateDedicatedEpsBearerContextRequest(const Request& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber(kLinkedBearerIdentity, record.linkedEpsBearerIdentity, out);
    WriteGroup("EPS_QoS", record.epsQos, RenderEpsQos, out);
    WriteGroup("TFT", record.tft, RenderTft, out);
    if (record.transactionIdPresent) WriteGroup(kTransactionIdGroup, record.transactionId, RenderTransactionId, out);
    if (record.negotiatedQosPresent) WriteGroup("Negotiated_QoS", record.negotiatedQos, RenderQos, out);
    if (record.negotiatedLlcSapiPresent) {
        WriteGroup("Negotiated_LLC_SAPI", record.negotiatedLlcSapi, RenderLlcSapi, out);
    }
    if (record.radioPriorityPresent) WriteNumber("Radio_priority", record.radioPriority, out);
    if (record.packetFlowIdPresent) {
        WriteGroup("Packet_flow_identifier", record.packetFlowId, RenderPacketFlowId, out);
    }
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    return 1;
}

}  // namespace corvuna
