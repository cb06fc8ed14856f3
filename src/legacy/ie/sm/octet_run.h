// SPDX-License-Identifier: Apache-2.0
// Runs of raw value octets (APN labels, PCO container contents).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "legacy/bits/bit_cursor.h"

namespace corvuna {

// Takes a run of `count` octets at the cursor.  When the data still holds
// `count` whole octets from the position, the first min(count, capacity)
// of them are stored at `dest`, the position passes the whole run and the
// result is true.  Otherwise nothing is stored, the position moves to the
// end of the data and the result is false.
inline bool TakeOctetRun(BitCursor& cursor, uint32_t count, uint8_t* dest, size_t capacity) {
    if (RemainingOctets(cursor) < static_cast<int64_t>(count)) {
        cursor.position = cursor.bitCount;
        return false;
    }
    if ((cursor.position & 7) == 0 && cursor.position >= 0) {
        // On an octet boundary the run is the caller's octets as they are.
        const size_t kept = count < capacity ? count : capacity;
        if (kept > 0) std::memcpy(dest, cursor.octets + (cursor.position >> 3), kept);
        cursor.position += static_cast<int32_t>(8 * count);
        return true;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t octet = ReadOctet(cursor);
        if (i < capacity) dest[i] = octet;
    }
    return true;
}

}  // namespace corvuna
