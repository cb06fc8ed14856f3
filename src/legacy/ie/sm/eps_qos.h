// SPDX-License-Identifier: Apache-2.0
// EPS quality of service IE (TS 24.301 9.9.4.3): QCI, then optionally the
// four bit-rate octets and the four extended bit-rate octets.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// Bit-rate fields hold the octets as coded (0..255), not kbps.
struct EpsQos {
    int32_t qci;
    uint8_t bitRatesPresent;  // value octets 2..5 read
    int32_t maxBitRateUl;
    int32_t maxBitRateDl;
    int32_t guaranteedBitRateUl;
    int32_t guaranteedBitRateDl;
    uint8_t extendedPresent;  // value octets 6..9 read
    int32_t maxBitRateUlExt;
    int32_t maxBitRateDlExt;
    int32_t guaranteedBitRateUlExt;
    int32_t guaranteedBitRateDlExt;
};

// Reads the QCI when length >= 1, the bit rates when length >= 5, the
// extended bit rates when length >= 9; octets after the ninth are skipped.
int ParseEpsQos(BitCursor& cursor, int32_t length, EpsQos& record);

// "QCI", then the bit rates and the extended bit rates when present.
int RenderEpsQos(const EpsQos& record, OutputDocument& out);

}  // namespace corvuna
