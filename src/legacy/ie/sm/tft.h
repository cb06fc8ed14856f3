// SPDX-License-Identifier: Apache-2.0
// Traffic flow template IE (TS 24.008 10.5.6.12): only the first octet is
// decoded; packet filters and parameters are skipped by the IE length.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

struct Tft {
    uint8_t tftOperationCode;   // bits 8..6
    uint8_t eBit;               // bit 5: parameters list included
    uint8_t packetFilterCount;  // bits 4..1
};

int ParseTft(BitCursor& cursor, int32_t length, Tft& record);

// "TFTOperationCode", "Ebit", "Number_of_packet_filters".
int RenderTft(const Tft& record, OutputDocument& out);

}  // namespace corvuna
