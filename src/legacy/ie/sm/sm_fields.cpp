// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/sm/sm_fields.h"

#include "legacy/doc/elements.h"
#include "common/causes.h"

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
constexpr ValueText kEsmCauseOwn[] = {
    {27, "Unknown or missing APN"},
    {46, "EPS bearer context without TFT already activated "},
    {111, "Protocol error, unspecified"},
};
constexpr auto kEsmCause = DenseElement<256>("ESMCause", Join(kEsmCauseOwn, kCommonEsmCauses, kProtocolErrorCauses),
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
