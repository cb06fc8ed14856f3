// SPDX-License-Identifier: Apache-2.0
// Bit cursor over one NAS message body.
//
// Fields of a NAS message are read most significant bit first, octet after
// octet; the position is a bit index (0 = bit 8 of the first octet).  The
// cursor reads the caller's octets in place instead of expanding them into
// one byte per bit: every read gives the same value and moves the position
// by the same amount.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace corvuna {

// Largest body decoded, in octets; longer bodies are truncated to it.
inline constexpr uint32_t kMaxBodyOctets = 10240;

struct BitCursor {
    int32_t position = 0;            // next bit to read
    int32_t bitCount = 0;            // 8 x octets loaded
    const uint8_t* octets = nullptr; // the loaded body (not owned)
};

// Loads `length` octets (at most kMaxBodyOctets) as the cursor's data.
// Sets the bit count; does not touch the position.
void LoadBits(BitCursor& cursor, const uint8_t* octets, uint32_t length);

// Loads a message body given with a signed length, as the dispatcher
// passes it; a negative length loads nothing.
inline void LoadBody(BitCursor& cursor, const uint8_t* body, int32_t bodyLength) {
    LoadBits(cursor, body, bodyLength > 0 ? static_cast<uint32_t>(bodyLength) : 0u);
}

// The general case of ReadBits: any position, reads reaching past the data.
uint32_t ReadBitsSlow(BitCursor& cursor, uint32_t n);

// Reads `n` bits (0..32) from the position, first bit most significant, and
// advances the position by `n`.  Bits at or past the bit count read as 0.
inline uint32_t ReadBits(BitCursor& cursor, uint32_t n) {
    const int32_t start = cursor.position;
    if (n <= 25 && start >= 0 && static_cast<int64_t>(start) + n <= cursor.bitCount) {
        // Entirely inside the data: at most four octets hold the field.
        const uint8_t* p = cursor.octets + (start >> 3);
        const uint32_t offset = static_cast<uint32_t>(start) & 7u;
        const uint32_t octets = (offset + n + 7) / 8;
        uint32_t window = 0;
        for (uint32_t i = 0; i < octets; ++i) window = (window << 8) | p[i];
        cursor.position = start + static_cast<int32_t>(n);
        return n == 0 ? 0 : (window >> (8 * octets - offset - n)) & ((1u << n) - 1u);
    }
    return ReadBitsSlow(cursor, n);
}

// Up to 25 bits read from the cursor at once and handed out first bit
// first: the same values and the same cursor movement as reading them one
// field at a time.
class BitWindow {
public:
    BitWindow(BitCursor& cursor, uint32_t n) : bits_(ReadBits(cursor, n)), left_(n) {}

    uint32_t Take(uint32_t n) {
        left_ -= n;
        return (bits_ >> left_) & ((1u << n) - 1u);
    }
    uint8_t Flag() { return static_cast<uint8_t>(Take(1)); }

private:
    uint32_t bits_;
    uint32_t left_;
};

// One octet: ReadBits(cursor, 8).
inline uint8_t ReadOctet(BitCursor& cursor) {
    const int32_t start = cursor.position;
    if ((start & 7) == 0 && start >= 0 && start + 8 <= cursor.bitCount) {
        cursor.position = start + 8;
        return cursor.octets[start >> 3];
    }
    return static_cast<uint8_t>(ReadBitsSlow(cursor, 8));
}

// 1 when bit k (0 = least significant, taken modulo 32) of value is set.
inline int TestBit(uint32_t value, uint32_t k) { return static_cast<int>((value >> (k & 31u)) & 1u); }

// Division by 8 rounded towards minus infinity (positions may pass the bit
// count, making a difference negative).
constexpr int32_t FloorDiv8(int64_t bits) { return static_cast<int32_t>(bits >> 3); }

// Whole octets between the position and the bit count, rounded down
// (negative when the position has passed the bit count).
inline int32_t RemainingOctets(const BitCursor& cursor) {
    return FloorDiv8(static_cast<int64_t>(cursor.bitCount) - cursor.position);
}

// `n` octets from the position into `octets`, as n calls of ReadOctet
// would give them (octets past the data read as 0).
void ReadOctetsSlow(BitCursor& cursor, uint8_t* octets, uint32_t n);
inline void ReadOctets(BitCursor& cursor, uint8_t* octets, uint32_t n) {
    const int32_t start = cursor.position;
    if ((start & 7) == 0 && start >= 0 && static_cast<int64_t>(start) + 8 * static_cast<int64_t>(n) <= cursor.bitCount) {
        if (n > 0) std::memcpy(octets, cursor.octets + (start >> 3), n);
        cursor.position = start + static_cast<int32_t>(8 * n);
        return;
    }
    ReadOctetsSlow(cursor, octets, n);
}

// True while at least one whole octet remains before the bit count.
inline bool HasOctet(const BitCursor& cursor) { return cursor.bitCount - cursor.position >= 8; }

// IE length reconciliation.  `remainingAtStart` is RemainingOctets() taken
// before the IE's first value bit was read, `declared` the IE's length.
// Moves the position back to the declared end when the parser read more
// than declared (result 0); forward to the declared end when that end lies
// within the data (result 1); otherwise leaves it (result 1).
inline int ReconcileIeLength(BitCursor& cursor, int32_t remainingAtStart, int32_t declared) {
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

// What every IE value parser does around its own reading: with the cursor
// on the first value octet and the IE's `declared` length, a negative length
// returns 0 at once, without reading or moving the cursor; otherwise `read`
// takes the fields from the cursor, and the cursor is then reconciled with
// the declared length (ReconcileIeLength, whose 0 for a value read past its
// declared end is the result).  A `read` that returns a result of its own
// (0: a value the parser does not know) gives it when the reconciliation
// found no over-read.
template <typename Read>
[[gnu::always_inline]] inline int ParseIeValue(BitCursor& cursor, int32_t declared, Read&& read) {
    if (declared < 0) return 0;
    const int32_t remainingAtStart = RemainingOctets(cursor);
    if constexpr (std::is_void_v<std::invoke_result_t<Read&>>) {
        read();
        return ReconcileIeLength(cursor, remainingAtStart, declared);
    } else {
        const int result = read();
        return ReconcileIeLength(cursor, remainingAtStart, declared) == 0 ? 0 : result;
    }
}

// Passes over an IE value of `declared` octets: a negative length returns 0
// and changes nothing; a value running past the data moves the position to
// the bit count; otherwise the position advances by 8 x declared.  Result 1.
int SkipIe(BitCursor& cursor, int32_t declared);

// The same move with the length taken as unsigned and no check; result 1.
int SkipIeUnchecked(BitCursor& cursor, uint32_t declared);

}  // namespace corvuna
