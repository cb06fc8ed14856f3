// SPDX-License-Identifier: Apache-2.0
// What the ESM message codecs share: the IEIs of their optional IEs, the
// two body shapes that many ESM messages have (a body holding at most a
// protocol configuration options IE, and an ESM cause octet followed by at
// most such an IE) and the access point name group.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/apn_pdn.h"
#include "legacy/ie/sm/pco.h"
#include "legacy/ie/sm/qos.h"
#include "legacy/ie/sm/sm_fields.h"

namespace corvuna {

// IEIs of the optional IEs that ESM messages carry (TS 24.301 clause 8.3).
inline constexpr uint8_t kIeiPco = 0x27;
inline constexpr uint8_t kIeiApn = 0x28;
inline constexpr uint8_t kIeiQos = 0x30;
inline constexpr uint8_t kIeiLlcSapi = 0x32;
inline constexpr uint8_t kIeiPacketFlowId = 0x34;
inline constexpr uint8_t kIeiTft = 0x36;
inline constexpr uint8_t kIeiEsmCause = 0x58;
inline constexpr uint8_t kIeiEpsQos = 0x5B;
inline constexpr uint8_t kIeiTransactionId = 0x5D;
inline constexpr uint8_t kIeiApnAmbr = 0x5E;
// Type 1 IEIs, matched on the high nibble of the IEI octet.
inline constexpr uint8_t kIeiRadioPriority = 0x8;
inline constexpr uint8_t kIeiEsmInfoTransferFlag = 0xD;

// The value length an LLC SAPI IE (type 3, no length octet) always has.
inline constexpr int8_t kLlcSapiOctets = 1;

// Group names of the protocol configuration options: most ESM messages use
// the first; the dedicated bearer accept and reject have names of their own.
inline constexpr Name kPcoGroup{"Protocol_configuration_options"};
inline constexpr Name kPcoGroupShort{"ProtocolConfOp"};
inline constexpr Name kPcoGroupCapitals{"Protocol_Configuration_Options"};

// Element names that several ESM messages write.  "Transation" and "bear"
// are misspelt on purpose: hosts match on these names as written.
inline constexpr Name kTransactionIdGroup{"Transation_identifier"};
inline constexpr Name kLinkedBearerIdentity{"Linked_EPS_bear_identity"};

// A body holding at most one protocol configuration options IE.
struct PcoOnlyRecord {
    uint8_t pcoPresent;
    ProtocolConfigOptions pco;
};

// An ESM cause octet followed by at most one protocol configuration options IE.
struct CauseAndPcoRecord {
    uint32_t esmCause;  // 0..255
    uint8_t pcoPresent;
    ProtocolConfigOptions pco;
};

// Optional-IE rows that several ESM messages share: each names the record
// fields it fills, which the messages' records name alike.
namespace esm_rows {

template <typename R>
inline constexpr auto kRadioPriority = HalfOctet<&R::radioPriorityPresent, &R::radioPriority, 0x07>(kIeiRadioPriority);
template <typename R>
inline constexpr auto kTransactionId =
    Tlv<&R::transactionIdPresent, &R::transactionId, ParseTransactionId>(kIeiTransactionId);
template <typename R>
inline constexpr auto kNegotiatedQos = Tlv<&R::negotiatedQosPresent, &R::negotiatedQos, ParseQos>(kIeiQos);
template <typename R>
inline constexpr auto kLlcSapi =
    Tv<&R::negotiatedLlcSapiPresent, &R::negotiatedLlcSapi, ParseLlcSapi>(kIeiLlcSapi, kLlcSapiOctets);
template <typename R>
inline constexpr auto kPacketFlowId = Tlv<&R::packetFlowIdPresent, &R::packetFlowId, ParsePacketFlowId>(kIeiPacketFlowId);
template <typename R>
inline constexpr auto kApnAmbr = Tlv<&R::apnAmbrPresent, &R::apnAmbr, ParseApnAmbr>(kIeiApnAmbr);
template <typename R>
inline constexpr auto kApn = Tlv<&R::apnPresent, &R::accessPointName, ParseAccessPointName>(kIeiApn);
template <typename R>
inline constexpr auto kPco = Tlv<&R::pcoPresent, &R::pco, ParseProtocolConfigOptions>(kIeiPco);

}  // namespace esm_rows

// The negotiated LLC SAPI, radio priority and packet flow identifier, in
// that order, of a bearer context request that carries them.
template <typename R>
void RenderLlcSapiRadioPriorityAndFlow(const R& record, OutputDocument& out) {
    if (record.negotiatedLlcSapiPresent) {
        WriteGroup("Negotiated_LLC_SAPI", record.negotiatedLlcSapi, RenderLlcSapi, out);
    }
    if (record.radioPriorityPresent) WriteNumber("Radio_priority", record.radioPriority, out);
    if (record.packetFlowIdPresent) WriteGroup("Packet_flow_identifier", record.packetFlowId, RenderPacketFlowId, out);
}

// The PCO as the one optional IE of a record with `pcoPresent` and `pco`.
template <typename Record>
inline constexpr OptionalIe<Record> kPcoRowOf[] = {esm_rows::kPco<Record>};

// Looks for the PCO with `scan`: a single look examines the next octet only.
template <typename Record>
void ScanForPco(BitCursor& cursor, Scan scan, Record& record) {
    ScanOptionalIes(cursor, OptionalIes<Record>{scan, kPcoRowOf<Record>}, record);
}

// Looks at the first body octet only, for the PCO.
void ParsePcoOnlyBody(int direction, BitCursor& body, PcoOnlyRecord& record);
// The cause octet (0 for an empty body), then the single look at the octet
// after it.
void ParseCauseAndPcoBody(int direction, BitCursor& body, CauseAndPcoRecord& record);
// The same two shapes with a passing scan for the PCO over the whole body:
// a later PCO replaces an earlier one.
void ParsePcoScanBody(int direction, BitCursor& body, PcoOnlyRecord& record);
void ParseCauseAndPcoScanBody(int direction, BitCursor& body, CauseAndPcoRecord& record);

// The PCO group `Group` when present.
template <const Name& Group>
int RenderPcoOnlyBody(const PcoOnlyRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    if (record.pcoPresent) WriteGroup(Group, record.pco, RenderProtocolConfigOptions, out);
    return 1;
}

// The cause element, then the PCO group `Group` when present.
int RenderCauseAndPco(const CauseAndPcoRecord& record, Name group, OutputDocument& out);
template <const Name& Group>
int RenderCauseAndPcoBody(const CauseAndPcoRecord& record, OutputDocument& out) {
    return RenderCauseAndPco(record, Group, out);
}

// The "Access_point_name" group as the PDN connectivity request and the
// ESM information response write it: the group tags on their own lines
// around one "APN" element holding the APN text.
void WriteApnGroup(const AccessPointName& apn, OutputDocument& out);

}  // namespace corvuna
