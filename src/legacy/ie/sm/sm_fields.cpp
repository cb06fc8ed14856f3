// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/sm/sm_fields.h"

#include "legacy/doc/elements.h"
#include "legacy/ie/protocol_errors.h"

namespace corvuna {

namespace {

// --- transaction identifier ---

constexpr Text kTiFlagTexts[] = {
    "The message is sent from the side that originates the TI",
    "The message is sent to the side that originates the TI",
};

constexpr Text kTioTexts[] = {
    "TI value 0", "TI value 1", "TI value 2", "TI value 3",
    "TI value 4", "TI value 5", "TI value 6", "The TI value is given by the TIE in octet 2",
};

// TIE values 0..6 would fit in the TIO and are reserved in the extension.
constexpr uint8_t kLastReservedTie = 6;
constexpr Text kTieReservedText = "Reserved";
constexpr Text kTieValueText = "The TI value is the binary representation of TIE";

// --- LLC SAPI ---

constexpr auto kLlcSapi = Element("LLC_SAPI_Value",
                                  {{0, "LLC SAPI not assigned"}, {3, "SAPI 3"}, {5, "SAPI 5"}, {9, "SAPI 9"}},
                                  "reserved");

// --- packet flow identifier ---

constexpr auto kPacketFlowId = Element("PacketFlowIdentifierValue",
                                       {
                                           {0, "Best Effort"}, {1, "Signaling"}, {2, "SMS"},      {3, "TOM8"},
                                           {4, "reserved"},    {5, "reserved"},  {6, "reserved"}, {7, "reserved"},
                                       },
                                       "dynamically assigned");

// --- ESM cause ---

// Any cause without a row of its own is treated as 111, written in lower case.
constexpr auto kEsmCause = DenseElement<256>(
    "ESMCause",
    {
        {8, "Operator Determined Barring"},
        {26, "Insufficient resources"},
        {27, "Unknown or missing APN"},
        {28, "Unknown PDN type"},
        {29, "User authentication failed"},
        {30, "Request rejected by Serving GW or PDN GW"},
        {31, "Request rejected, unspecified"},
        {32, "Service option not supported"},
        {33, "Requested service option not subscribed"},
        {34, "Service option temporarily out of order"},
        {35, "PTI already in use"},
        {36, "Regular deactivation"},
        {37, "EPS QoS not accepted"},
        {38, "Network failure"},
        {41, "Semantic error in the TFT operation"},
        {42, "Syntactical error in the TFT operation"},
        {43, "Invalid EPS bearer identity"},
        {44, "Semantic errors in packet filter(s)"},
        {45, "Syntactical errors in packet filter(s)"},
        {46, "EPS bearer context without TFT already activated "},
        {47, "PTI mismatch"},
        {49, "Last PDN disconnection not allowed"},
        {50, "PDN type IPv4 only allowed"},
        {51, "PDN type IPv6 only allowed"},
        {52, "Single address bearers only allowed"},
        {53, "ESM information not received"},
        {54, "PDN connection does not exist"},
        {55, "Multiple PDN connections for a given APN not allowed"},
        {56, "Collision with network initiated request"},
        {81, "Invalid PTI value"},
        {111, "Protocol error, unspecified"},
        {112, "APN restriction value incompatible with active EPS bearer context"},
    },
    kProtocolErrorCauses,
    "protocol error, unspecified");

}  // namespace

int ParseTransactionId(BitCursor& cursor, int32_t length, TransactionId& record) {
    return ParseIeValue(cursor, length, [&] {
        const uint8_t first = ReadOctet(cursor);
        const uint8_t second = ReadOctet(cursor);
        record.tiFlag = static_cast<uint8_t>(first >> 7);
        record.tio = static_cast<uint8_t>((first >> 4) & 0x07);
        record.tie = static_cast<uint8_t>(second & 0x7F);
    });
}

int RenderTransactionId(const TransactionId& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("TIFlag", record.tiFlag, out, kTiFlagTexts[record.tiFlag & 0x01]);
    WriteNumber("TIO", record.tio, out, kTioTexts[record.tio & 0x07]);
    WriteNumber("TIE", record.tie, out, record.tie > kLastReservedTie ? kTieValueText : kTieReservedText);
    return 1;
}

int ParseLlcSapi(BitCursor& cursor, int32_t length, LlcSapi& record) {
    return ParseIeValue(cursor, length, [&] { record.llcSapi = ReadOctet(cursor) & 0x0F; });
}

int RenderLlcSapi(const LlcSapi& record, OutputDocument& out) { return RenderElement(kLlcSapi, record.llcSapi, out); }

int ParsePacketFlowId(BitCursor& cursor, int32_t length, PacketFlowId& record) {
    return ParseIeValue(cursor, length, [&] { record.packetFlowId = ReadOctet(cursor) & 0x7F; });
}

int RenderPacketFlowId(const PacketFlowId& record, OutputDocument& out) {
    return RenderElement(kPacketFlowId, record.packetFlowId, out);
}

int RenderEsmCause(int32_t cause, OutputDocument& out) { return RenderElement(kEsmCause, cause, out); }

}  // namespace corvuna
