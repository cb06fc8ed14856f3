// Default EPS bearer context activation (TS 24.301 8.3.6 to 8.3.8) and the
// two body shapes that many ESM messages share: a body holding at most a
// protocol configuration options IE, and an ESM cause octet followed by at
// most such an IE.
#pragma once

#include <cstdint>
#include <memory>

#include "bits/bit_cursor.h"
#include "doc/writer.h"
#include "ie/sm/apn_pdn.h"
#include "ie/sm/eps_qos.h"
#include "ie/sm/pco.h"
#include "ie/sm/qos.h"
#include "ie/sm/sm_fields.h"

namespace corvuna {

// --- helpers of the ESM message codecs ---

// IEIs of the optional IEs that ESM messages carry.
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
inline constexpr int32_t kLlcSapiLength = 1;

// The high nibble of an IEI octet, against which type 1 IEIs match.
inline constexpr uint8_t HighNibble(uint8_t octet) { return static_cast<uint8_t>(octet >> 4); }

// Parses one occurrence of an optional IE of `length` value octets: sets its
// presence flag and parses into a record started again from zero, so that a
// repeated IE replaces the earlier occurrence wholly instead of mixing with
// it.  The IE parser's result is of no interest to the message.
template <typename Ie>
void ParseOptionalIe(BitCursor& cursor, int32_t length, uint8_t& present, Ie& ie,
                     int (*parse)(BitCursor&, int32_t, Ie&)) {
    present = 1;
    ie = {};
    parse(cursor, length, ie);
}

// The same for an IE with a length octet: the length is read first.
template <typename Ie>
void ParseOptionalTlv(BitCursor& cursor, uint8_t& present, Ie& ie, int (*parse)(BitCursor&, int32_t, Ie&)) {
    const int32_t length = ReadOctet(cursor);
    ParseOptionalIe(cursor, length, present, ie, parse);
}

// Single look for a protocol configuration options IE: examines the next
// octet only (when a whole octet remains) and parses the PCO when that
// octet is its IEI.  Nothing after it is examined.
void LookForPco(BitCursor& cursor, uint8_t& present, ProtocolConfigOptions& pco);

// The "Access_point_name" group as the PDN connectivity request and the
// ESM information response write it: the group tags on their own lines
// around one "APN" element holding the APN text.
void WriteApnGroup(const AccessPointName& apn, OutputDocument& out);

// Group name of the protocol configuration options in most ESM messages.
inline constexpr char kPcoGroup[] = "Protocol_configuration_options";

// --- shared body records and parsers ---

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

// Looks at the first body octet only: when it is the PCO IEI, the PCO is
// parsed; nothing after it (or after any other first octet) is examined.
std::unique_ptr<PcoOnlyRecord> ParsePcoOnlyBody(int direction, int32_t bodyLength, const uint8_t* body);

// The cause octet (0 for an empty body), then the single look of
// ParsePcoOnlyBody at the octet after it.
std::unique_ptr<CauseAndPcoRecord> ParseCauseAndPcoBody(int direction, int32_t bodyLength, const uint8_t* body);

// The message element `name` holding the PCO group `pcoGroup` when present.
int RenderPcoOnlyMessage(const char* name, const char* pcoGroup, const PcoOnlyRecord& record, OutputDocument& out);

// The message element `name` holding the cause element and the PCO group
// `pcoGroup` when present.
int RenderCauseAndPcoMessage(const char* name, const char* pcoGroup, const CauseAndPcoRecord& record,
                             OutputDocument& out);

// --- activate default EPS bearer context request ---

struct ActivateDefaultEpsBearerContextRequestRecord {
    EpsQos epsQos;
    AccessPointName accessPointName;
    PdnAddress pdnAddress;
    uint8_t transactionIdPresent;
    TransactionId transactionId;
    uint8_t negotiatedQosPresent;
    Qos negotiatedQos;
    uint8_t negotiatedLlcSapiPresent;
    LlcSapi negotiatedLlcSapi;
    uint8_t radioPriorityPresent;
    uint8_t radioPriority;  // 0..7
    uint8_t packetFlowIdPresent;
    PacketFlowId packetFlowId;
    uint8_t apnAmbrPresent;
    ApnAmbr apnAmbr;
    uint8_t esmCausePresent;
    uint32_t esmCause;  // 0..255
    uint8_t pcoPresent;
    ProtocolConfigOptions pco;
};

// EPS QoS, APN and PDN address, then a passing scan of the optional IEs.
std::unique_ptr<ActivateDefaultEpsBearerContextRequestRecord> ParseActivateDefaultEpsBearerContextRequest(
    int direction, int32_t bodyLength, const uint8_t* body);
int RenderActivateDefaultEpsBearerContextRequest(const ActivateDefaultEpsBearerContextRequestRecord& record,
                                                 OutputDocument& out);

// --- accept and reject ---

// Parsed by ParsePcoOnlyBody.
int RenderActivateDefaultEpsBearerContextAccept(const PcoOnlyRecord& record, OutputDocument& out);
// Parsed by ParseCauseAndPcoBody.
int RenderActivateDefaultEpsBearerContextReject(const CauseAndPcoRecord& record, OutputDocument& out);

}  // namespace corvuna
