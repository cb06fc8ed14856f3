#include "bits/bit_cursor.h"

namespace corvuna {

namespace {

// Division by 8 rounded towards minus infinity (positions may pass the bit
// count, making the difference negative).
int32_t FloorDiv8(int64_t bits) {
    return static_cast<int32_t>(bits >= 0 ? bits / 8 : -((-bits + 7) / 8));
}

}  // namespace

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

int32_t RemainingOctets(const BitCursor& cursor) {
    return FloorDiv8(static_cast<int64_t>(cursor.bitCount) - cursor.position);
}

int ReconcileIeLength(BitCursor& cursor, int32_t remainingAtStart, int32_t declared) {
    const int64_t r1 = RemainingOctets(cursor);
    const int64_t consumed = static_cast<int64_t>(remainingAtStart) - r1;
    const int64_t length = declared;
    if (consumed > length) {
        cursor.position = static_cast<int32_t>(cursor.position - 8 * (consumed - length));
        return 0;
    }
    if (length - consumed <= r1) cursor.position = static_cast<int32_t>(cursor.position + 8 * (length - consumed));
    return 1;
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
