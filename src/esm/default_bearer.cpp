#include "esm/default_bearer.h"

#include "codec/esm_bodies.h"
#include "codec/optional_ies.h"

namespace corvuna {

namespace {

using Request = ActivateDefaultEpsBearerContextRequestRecord;

// Optional IEs of the request, passing scan: an octet that is no listed IEI
// is passed over alone and the next octet is taken as an IEI.
constexpr OptionalIe<Request> kRows[] = {
    HalfOctet<&Request::radioPriorityPresent, &Request::radioPriority, 0x07>(kIeiRadioPriority),
    Tlv<&Request::transactionIdPresent, &Request::transactionId, ParseTransactionId>(kIeiTransactionId),
    Tlv<&Request::negotiatedQosPresent, &Request::negotiatedQos, ParseQos>(kIeiQos),
    Tv<&Request::negotiatedLlcSapiPresent, &Request::negotiatedLlcSapi, ParseLlcSapi>(kIeiLlcSapi, kLlcSapiOctets),
    Tlv<&Request::packetFlowIdPresent, &Request::packetFlowId, ParsePacketFlowId>(kIeiPacketFlowId),
    TvOctet<&Request::esmCausePresent, &Request::esmCause>(kIeiEsmCause),
    Tlv<&Request::apnAmbrPresent, &Request::apnAmbr, ParseApnAmbr>(kIeiApnAmbr),
    Tlv<&Request::pcoPresent, &Request::pco, ParseProtocolConfigOptions>(kIeiPco),
};
constexpr OptionalIes<Request> kIes{Scan::kPassing, kRows};

}  // namespace

void ParseActivateDefaultEpsBearerContextRequest(int, int32_t bodyLength, const uint8_t* body, Request& record) {
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    ParseEpsQos(cursor, ReadOctet(cursor), record.epsQos);
    ParseAccessPointName(cursor, ReadOctet(cursor), record.accessPointName);
    ParsePdnAddress(cursor, ReadOctet(cursor), record.pdnAddress);
    ScanOptionalIes(cursor, kIes, record);
}

int RenderActivateDefaultEpsBearerContextRequest(const Request& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteGroup("EPS_QoS", record.epsQos, RenderEpsQos, out);
    WriteString("Access_point_name", record.accessPointName.apnText, out);
    WriteGroup("PDN_Address", record.pdnAddress, RenderPdnAddress, out);
    if (record.transactionIdPresent) {
        WriteGroup(kTransactionIdGroup, record.transactionId, RenderTransactionId, out);
    }
    if (record.negotiatedQosPresent) WriteGroup("Negotiated_QoS", record.negotiatedQos, RenderQos, out);
    if (record.negotiatedLlcSapiPresent) {
        WriteGroup("Negotiated_LLC_SAPI", record.negotiatedLlcSapi, RenderLlcSapi, out);
    }
    if (record.radioPriorityPresent) WriteNumber("Radio_priority", record.radioPriority, out);
    if (record.packetFlowIdPresent) {
        WriteGroup("Packet_flow_identifier", record.packetFlowId, RenderPacketFlowId, out);
    }
    if (record.apnAmbrPresent) WriteGroup("APN_AMBR", record.apnAmbr, RenderApnAmbr, out);
    if (record.esmCausePresent) RenderEsmCause(static_cast<int32_t>(record.esmCause), out);
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    return 1;
}

}  // namespace corvuna
