// SPDX-License-Identifier: Apache-2.0
// What the ESM message codecs share: the IEIs of their optional IEs, the
// groups of IEs that several messages carry (with their rows and writers),
// the two body shapes that many ESM messages have (a body holding at most a
// protocol configuration options IE, and an ESM cause octet followed by at
// most such an IE) and the access point name group.
#pragma once

#include <array>
#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/apn_pdn.h"
#include "legacy/ie/sm/pco.h"
#include "legacy/ie/sm/qos.h"
#include "legacy/ie/sm/sm_fields.h"

namespace corvuna {

// IEIs of the optional IEs that ESM messages carry (TS 24.301 clause 8.3);
// those of type 1 are matched on the high nibble of the IEI octet.
enum EsmIei : uint8_t {
    kIeiPco = 0x27,
    kIeiApn = 0x28,
    kIeiQos = 0x30,
    kIeiLlcSapi = 0x32,
    kIeiPacketFlowId = 0x34,
    kIeiTft = 0x36,
    kIeiEsmCause = 0x58,
    kIeiEpsQos = 0x5B,
    kIeiTransactionId = 0x5D,
    kIeiApnAmbr = 0x5E,
    kIeiRadioPriority = 0x8,        // type 1
    kIeiEsmInfoTransferFlag = 0xD,  // type 1
};

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

// IE groups: the optional IEs that several ESM messages carry, as bases
// of their records, each with the members that the rows of esm_rows name.

// The protocol configuration options, which almost every ESM message may
// carry.
struct PcoIe {
    uint8_t pcoPresent;
    ProtocolConfigOptions pco;
};

// An ESM cause carried as an optional IE (TV).
struct EsmCauseIe {
    uint8_t esmCausePresent;
    uint32_t esmCause;  // 0..255
};

// The IEs with which a bearer context request gives the PDP context for
// interworking with GERAN and UTRAN (TS 24.301 8.3.3, 8.3.6, 8.3.18): the
// transaction identifier (activations only), the QoS (the negotiated QoS,
// or the new QoS of a modification), LLC SAPI, radio priority and packet
// flow identifier.
struct PdpContextIes {
    uint8_t transactionIdPresent;
    TransactionId transactionId;
    uint8_t qosPresent;
    Qos qos;
    uint8_t negotiatedLlcSapiPresent;
    LlcSapi negotiatedLlcSapi;
    uint8_t radioPriorityPresent;
    uint8_t radioPriority;  // 0..7
    uint8_t packetFlowIdPresent;
    PacketFlowId packetFlowId;
};

// A body holding at most one protocol configuration options IE.
struct PcoOnlyRecord : PcoIe {};

// An ESM cause octet followed by at most one protocol configuration options IE.
struct CauseAndPcoRecord : PcoIe {
    uint32_t esmCause;  // 0..255
};

// Optional-IE rows that several ESM messages share: each names the record
// fields it fills, which the messages' records name alike or take from an
// IE group.
namespace esm_rows {

template <typename R>
inline constexpr auto kRadioPriority =
    HalfOctet<&R::radioPriorityPresent, &R::radioPriority, 0x07, R>(kIeiRadioPriority);
template <typename R>
inline constexpr auto kTransactionId =
    Tlv<&R::transactionIdPresent, &R::transactionId, ParseTransactionId, R>(kIeiTransactionId);
template <typename R>
inline constexpr auto kQos = Tlv<&R::qosPresent, &R::qos, ParseQos, R>(kIeiQos);
template <typename R>
inline constexpr auto kLlcSapi =
    Tv<&R::negotiatedLlcSapiPresent, &R::negotiatedLlcSapi, ParseLlcSapi, R>(kIeiLlcSapi, kLlcSapiOctets);
template <typename R>
inline constexpr auto kPacketFlowId =
    Tlv<&R::packetFlowIdPresent, &R::packetFlowId, ParsePacketFlowId, R>(kIeiPacketFlowId);
template <typename R>
inline constexpr auto kApnAmbr = Tlv<&R::apnAmbrPresent, &R::apnAmbr, ParseApnAmbr>(kIeiApnAmbr);
template <typename R>
inline constexpr auto kApn = Tlv<&R::apnPresent, &R::accessPointName, ParseAccessPointName>(kIeiApn);
template <typename R>
inline constexpr auto kEsmCause = TvOctet<&R::esmCausePresent, &R::esmCause, R>(kIeiEsmCause);
template <typename R>
inline constexpr auto kPco = Tlv<&R::pcoPresent, &R::pco, ParseProtocolConfigOptions, R>(kIeiPco);

// The rows of PdpContextIes, its transaction identifier apart (the
// modification request carries none).
template <typename R>
inline constexpr std::array kPdpContextRows = {kQos<R>, kLlcSapi<R>, kRadioPriority<R>, kPacketFlowId<R>};

}  // namespace esm_rows

// The writers of the IE groups, inline so that the group names are constants
// where they are written.

// The transaction identifier, the QoS group `qosGroup`, the negotiated LLC
// SAPI, radio priority and packet flow identifier, each when present.
[[gnu::always_inline]] inline void WritePdpContext(const PdpContextIes& ies, Name qosGroup, OutputDocument& out) {
    WriteIfPresent(ies.transactionIdPresent, kTransactionIdGroup, ies.transactionId, RenderTransactionId, out);
    WriteIfPresent(ies.qosPresent, qosGroup, ies.qos, RenderQos, out);
    WriteIfPresent(ies.negotiatedLlcSapiPresent, "Negotiated_LLC_SAPI", ies.negotiatedLlcSapi, RenderLlcSapi, out);
    if (ies.radioPriorityPresent) WriteNumber("Radio_priority", ies.radioPriority, out);
    WriteIfPresent(ies.packetFlowIdPresent, "Packet_flow_identifier", ies.packetFlowId, RenderPacketFlowId, out);
}

// The ESM cause element when present.
[[gnu::always_inline]] inline void WriteEsmCause(const EsmCauseIe& ies, OutputDocument& out) {
    if (ies.esmCausePresent) RenderEsmCause(static_cast<int32_t>(ies.esmCause), out);
}

// The PCO group `group` when present.
[[gnu::always_inline]] inline void WritePco(const PcoIe& ies, Name group, OutputDocument& out) {
    WriteIfPresent(ies.pcoPresent, group, ies.pco, RenderProtocolConfigOptions, out);
}
[[gnu::always_inline]] inline void WritePco(const PcoIe& ies, OutputDocument& out) {
    WritePco(ies, kPcoGroup, out);
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
    WritePco(record, Group, out);
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
