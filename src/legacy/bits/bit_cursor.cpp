// SPDX-License-Identifier: Apache-2.0
#include "legacy/bits/bit_cursor.h"

namespace corvuna {

void LoadBits(BitCursor& cursor, const uint8_t* octets, uint32_t length) {
    if (length > kMaxBodyOctets) length = kMaxBodyOctets;
    if (octets == nullptr) length = 0;
    cursor.octets = octets;
    cursor.bitCount = static_cast<int32_t>(length * 8u);
}

uint32_t ReadBitsSlow(BitCursor& cursor, uint32_t n) {
    if (n > 32) n = 32;
    const int64_t start = cursor.position;
    const int64_t count = cursor.bitCount;
    uint32_t value = 0;
    if (start >= 0 && start + n <= count && (start & 7) == 0 && (n & 7) == 0) {
        // Octet-aligned read entirely inside the data: the common case.
        const uint8_t* p = cursor.octets + (start >> 3);
        for (uint32_t i = 0; i < n / 8; ++i) value = (value << 8) | p[i];
    } else {
        for (uint32_t i = 0; i < n; ++i) {
            const int64_t bit = start + i;
            uint32_t entry = 0;
            if (bit >= 0 && bit < count) entry = (cursor.octets[bit >> 3] >> (7 - (bit & 7))) & 1u;
            value = (value << 1) | entry;
        }
    }
    cursor.position = static_cast<int32_t>(start + n);
    return value;
}

void ReadOctetsSlow(BitCursor& cursor, uint8_t* octets, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) octets[i] = static_cast<uint8_t>(ReadBitsSlow(cursor, 8));
}

int SkipIe(BitCursor& cursor, int32_t declared) {
    if (declared < 0) return 0;
    return SkipIeUnchecked(cursor, static_cast<uint32_t>(declared));
}

int SkipIeUnchecked(BitCursor& cursor, uint32_t declared) {
    const int64_t at = FloorDiv8(cursor.position);
    if (at + static_cast<int64_t>(declared) > cursor.bitCount / 8) {
        cursor.position = cursor.bitCount;
    } else {
        cursor.position = static_cast<int32_t>(cursor.position + 8 * static_cast<int64_t>(declared));
    }
    return 1;
}

}  // namespace corvuna
