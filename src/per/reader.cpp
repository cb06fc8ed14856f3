// SPDX-License-Identifier: Apache-2.0
#include "per/reader.h"

#include <bit>

namespace corvuna::per {

namespace {

constexpr size_t k16K = 16384;

// Octets needed for the numbers 0 .. range - 1 (range 0 stands for 2^64).
unsigned OctetsForRange(uint64_t range) {
    if (range == 0) return 8;
    unsigned octets = 0;
    for (uint64_t r = range - 1; r != 0; r >>= 8) ++octets;
    return octets == 0 ? 1 : octets;
}

}  // namespace

unsigned BitsForRange(uint64_t range) {
    return range == 0 ? 64 : static_cast<unsigned>(std::bit_width(range - 1));
}

uint64_t BitSpan::Value(size_t from, unsigned count) const {
    uint64_t v = 0;
    for (unsigned i = 0; i < count && from + i < bits; ++i) v = v << 1 | (Bit(from + i) ? 1 : 0);
    return v;
}

size_t BitSpan::CopyOctets(uint8_t* out, size_t capacity) const {
    size_t n = octets();
    if (n > capacity) n = capacity;
    if (aligned()) {
        const uint8_t* from = begin();
        for (size_t i = 0; i < n; ++i) out[i] = from[i];
        return n;
    }
    const unsigned shift = bit % 8;
    const uint8_t* from = data + bit / 8;
    for (size_t i = 0; i < n; ++i) {
        out[i] = static_cast<uint8_t>(from[i] << shift | from[i + 1] >> (8 - shift));
    }
    return n;
}

void Reader::Fail(const char* why) {
    if (error_ == nullptr) error_ = why;
}

uint64_t Reader::AnyBits(unsigned count) {
    if (error_ != nullptr || count == 0) return 0;
    if (count > 64) {
        Fail("a bit field wider than 64 bits");
        return 0;
    }
    if (count > end_ - pos_) {
        Fail("the encoding ends early");
        return 0;
    }
    const uint8_t* at = data_ + pos_ / 8;
    const unsigned skip = static_cast<unsigned>(pos_ % 8);
    pos_ += count;
    if (skip + count <= 64) {
        // The octets that hold the field, most significant first, then the
        // field cut out of them.  Only those octets are read.
        const unsigned octets = (skip + count + 7) / 8;
        uint64_t v = 0;
        for (unsigned i = 0; i < octets; ++i) v = v << 8 | at[i];
        v <<= 64 - 8 * octets;
        return (v << skip) >> (64 - count);
    }
    // A field of up to 64 bits across 9 octets.
    uint64_t v = 0;
    for (unsigned i = 0; i < 8; ++i) v = v << 8 | at[i];
    const unsigned last = skip + count - 64;  // bits of the 9th octet
    return (v << skip) >> (64 - count + last) << last | at[8] >> (8 - last);
}

void Reader::AlignUp() {
    const size_t next = (pos_ + 7) & ~size_t{7};
    if (next > end_) {
        Fail("the encoding ends early");
        return;
    }
    pos_ = next;
}

BitSpan Reader::TakeFailed() {
    Fail("the encoding ends early");
    return {};
}

uint64_t Reader::ConstrainedWholeNumber(uint64_t range) {
    if (range == 1) return 0;
    uint64_t v = 0;
    if (!aligned_ || (range != 0 && range <= 255)) {
        // A bit field of the fewest bits that hold the range.
        v = Bits(BitsForRange(range));
    } else if (range == 256) {
        Align();
        v = Bits(8);
    } else if (range != 0 && range <= 65536) {
        Align();
        v = Bits(16);
    } else {
        // The indefinite length case: the number of octets (1 to those the
        // range needs) as a constrained whole number, then the octets.
        const unsigned most = OctetsForRange(range);
        const uint64_t octets = Bits(BitsForRange(most)) + 1;
        if (octets > most) {
            Fail("a whole number longer than its range allows");
            return 0;
        }
        Align();
        v = Bits(static_cast<unsigned>(octets * 8));
    }
    if (range != 0 && v >= range && error_ == nullptr) Fail("a whole number beyond its range");
    return error_ != nullptr ? 0 : v;
}

uint64_t Reader::OctetsValue(size_t octets) {
    if (octets > 8) {
        Fail("a whole number of more than 64 bits");
        return 0;
    }
    Align();
    return Bits(static_cast<unsigned>(octets * 8));
}

uint64_t Reader::SemiConstrainedWholeNumber() {
    const Length length = UnconstrainedLength();
    if (length.fragment) {
        Fail("a fragmented whole number");
        return 0;
    }
    return OctetsValue(length.count);
}

int64_t Reader::UnconstrainedWholeNumber() {
    const Length length = UnconstrainedLength();
    if (length.fragment) {
        Fail("a fragmented whole number");
        return 0;
    }
    if (length.count == 0) return 0;
    const uint64_t raw = OctetsValue(length.count);
    if (error_ != nullptr) return 0;  // more than 8 octets, or cut short
    if (length.count == 8) return static_cast<int64_t>(raw);
    // Sign-extend the 2's complement number of count octets.
    const unsigned bits = static_cast<unsigned>(length.count * 8);
    const uint64_t sign = uint64_t{1} << (bits - 1);
    return static_cast<int64_t>((raw ^ sign) - sign);
}

uint64_t Reader::NormallySmall() {
    if (!Bit()) return Bits(6);
    return SemiConstrainedWholeNumber();
}

size_t Reader::ConstrainedLength(size_t lb, size_t ub) {
    if (ub <= lb) return lb;
    return lb + static_cast<size_t>(ConstrainedWholeNumber(static_cast<uint64_t>(ub - lb) + 1));
}

Length Reader::UnconstrainedLength() {
    Align();
    const unsigned first = static_cast<unsigned>(Bits(8));
    if ((first & 0x80) == 0) return {first, false};
    if ((first & 0xC0) == 0x80) return {(first & 0x3Fu) << 8 | static_cast<unsigned>(Bits(8)), false};
    const unsigned m = first & 0x3F;
    if (m < 1 || m > 4) {
        Fail("a fragment length of other than 1 to 4 times 16K");
        return {};
    }
    return {m * k16K, true};
}

size_t Reader::NormallySmallLength() {
    if (!Bit()) return static_cast<size_t>(Bits(6)) + 1;
    const Length length = UnconstrainedLength();
    if (length.fragment) {
        Fail("a fragmented extension bit map");
        return 0;
    }
    return length.count;
}

}  // namespace corvuna::per
