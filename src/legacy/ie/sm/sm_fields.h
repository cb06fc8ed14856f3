// SPDX-License-Identifier: Apache-2.0
// Small session-management fields: transaction identifier (linked TI,
// TS 24.008 10.5.6.7), LLC SAPI (10.5.6.9), packet flow identifier
// (10.5.6.11) and ESM cause (TS 24.301 9.9.4.4).
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

struct TransactionId {
    uint8_t tiFlag;  // value octet 1, bit 8
    uint8_t tio;     // value octet 1, bits 7..5
    uint8_t tie;     // value octet 2, bits 7..1
};

struct LlcSapi {
    int32_t llcSapi;  // value octet 1, bits 4..1
};

struct PacketFlowId {
    int32_t packetFlowId;  // value octet 1, bits 7..1
};

// Always reads two octets: with a length of 1 the TIE comes from the octet
// after the IE and the cursor is put back at the IE's end.
int ParseTransactionId(BitCursor& cursor, int32_t length, TransactionId& record);
// "TIFlag", "TIO", "TIE".
int RenderTransactionId(const TransactionId& record, OutputDocument& out);

// A type 3 IE: the caller passes the fixed length 1.
int ParseLlcSapi(BitCursor& cursor, int32_t length, LlcSapi& record);
// "LLC_SAPI_Value".
int RenderLlcSapi(const LlcSapi& record, OutputDocument& out);

int ParsePacketFlowId(BitCursor& cursor, int32_t length, PacketFlowId& record);
// "PacketFlowIdentifierValue".
int RenderPacketFlowId(const PacketFlowId& record, OutputDocument& out);

// "ESMCause" for the cause octet that the message parser read.
int RenderEsmCause(int32_t cause, OutputDocument& out);

}  // namespace corvuna
