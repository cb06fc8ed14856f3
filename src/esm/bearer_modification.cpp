#include "esm/bearer_modification.h"

#include "codec/esm_bodies.h"
#include "codec/optional_ies.h"

namespace corvuna {

namespace {

using Request = ModifyEpsBearerContextRequestRecord;

constexpr OptionalIe<Request> kRows[] = {
    HalfOctet<&Request::radioPriorityPresent, &Request::radioPriority, 0x07>(kIeiRadioPriority),
    Tlv<&Request::newEpsQosPresent, &Request::newEpsQos, ParseEpsQos>(kIeiEpsQos),
    Tlv<&Request::tftPresent, &Request::tft, ParseTft>(kIeiTft),
    Tlv<&Request::newQosPresent, &Request::newQos, ParseQos>(kIeiQos),
    Tv<&Request::negotiatedLlcSapiPresent, &Request::negotiatedLlcSapi, ParseLlcSapi>(kIeiLlcSapi, kLlcSapiOctets),
    Tlv<&Request::packetFlowIdPresent, &Request::packetFlowId, ParsePacketFlowId>(kIeiPacketFlowId),
    Tlv<&Request::apnAmbrPresent, &Request::apnAmbr, ParseApnAmbr>(kIeiApnAmbr),
    Tlv<&Request::pcoPresent, &Request::pco, ParseProtocolConfigOptions>(kIeiPco),
};
constexpr OptionalIes<Request> kIes{Scan::kPassing, kRows};

}  // namespace

void ParseModifyEpsBearerContextRequest(int, int32_t bodyLength, const uint8_t* body, Request& record) {
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    ScanOptionalIes(cursor, kIes, record);
}

int RenderModifyEpsBearerContextRequest(const Request& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    if (record.newEpsQosPresent) WriteGroup("New_EPS_QoS", record.newEpsQos, RenderEpsQos, out);
    if (record.tftPresent) WriteGroup("TFT", record.tft, RenderTft, out);
    if (record.newQosPresent) WriteGroup("New_QoS", record.newQos, RenderQos, out);
    if (record.negotiatedLlcSapiPresent) {
        WriteGroup("Negotiated_LLC_SAPI", record.negotiatedLlcSapi, RenderLlcSapi, out);
    }
    if (record.radioPriorityPresent) WriteNumber("Radio_priority", record.radioPriority, out);
    if (record.packetFlowIdPresent) {
        WriteGroup("Packet_flow_identifier", record.packetFlowId, RenderPacketFlowId, out);
    }
    if (record.apnAmbrPresent) WriteGroup("APN_AMBR", record.apnAmbr, RenderApnAmbr, out);
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    return 1;
}

}  // namespace corvuna
