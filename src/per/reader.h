// SPDX-License-Identifier: Apache-2.0
// The PER primitives of ITU-T X.691 clause 11, for both variants: bit
// fields, octet alignment (aligned variant only), constrained,
// semi-constrained, unconstrained and normally small whole numbers, and
// length determinants, fragmented ones included.
//
// A Reader covers a run of bits [begin, end) of a buffer.  Reading never
// goes past `end`: the first read that would fails the reader, records
// why and where, and every read after it gives zero.
#pragma once

#include <cstddef>
#include <cstdint>

#include "per/per.h"

namespace corvuna::per {

// A run of bits inside an encoding; `bit` counts from the first bit (most
// significant) of data[0].  Octet and bit strings come out as these: in the
// unaligned variant they need not start on an octet boundary.
struct BitSpan {
    const uint8_t* data = nullptr;
    size_t bit = 0;
    size_t bits = 0;

    bool aligned() const { return bit % 8 == 0; }
    size_t octets() const { return bits / 8; }
    // The first octet, when aligned().
    const uint8_t* begin() const { return data + bit / 8; }
    // Bit i (0 the first) of the run.
    bool Bit(size_t i) const { return (data[(bit + i) / 8] >> (7 - (bit + i) % 8)) & 1; }
    // Up to 64 bits from bit `from` on, first bit most significant.
    uint64_t Value(size_t from, unsigned count) const;
    // Copies the run's whole octets (bits / 8 of them, at most `capacity`)
    // to `out`; returns how many were written.
    size_t CopyOctets(uint8_t* out, size_t capacity) const;
};

// What a length determinant says (X.691 11.9): `count` units follow; with
// `fragment` set they are a fragment of 16K, 32K, 48K or 64K units and
// another length determinant follows them.
struct Length {
    size_t count = 0;
    bool fragment = false;
};

class Reader {
public:
    Reader() = default;
    Reader(const uint8_t* data, size_t beginBit, size_t endBit, Variant variant)
        : data_(data), pos_(beginBit), end_(endBit), aligned_(variant == Variant::kAligned) {}

    bool ok() const { return error_ == nullptr; }
    const char* error() const { return error_; }
    // Where the first failure happened (or where reading is now).
    size_t position() const { return pos_; }
    size_t end() const { return end_; }
    size_t remaining() const { return end_ - pos_; }
    bool alignedVariant() const { return aligned_; }
    const uint8_t* data() const { return data_; }

    void Fail(const char* why);

    // `count` bits (<= 64) as an unsigned number, first bit most significant.
    uint64_t Bits(unsigned count) {
        // The common fields: one bit, or one or two whole octets.
        if (error_ == nullptr && count <= end_ - pos_) {
            if (count == 1) {
                const bool bit = (data_[pos_ / 8] >> (7 - pos_ % 8)) & 1;
                ++pos_;
                return bit;
            }
            if (pos_ % 8 == 0 && (count == 8 || count == 16)) {
                const uint8_t* at = data_ + pos_ / 8;
                pos_ += count;
                return count == 8 ? at[0] : static_cast<uint64_t>(at[0]) << 8 | at[1];
            }
        }
        return AnyBits(count);
    }
    bool Bit() { return Bits(1) != 0; }
    // To the next octet boundary of the buffer (aligned variant; nothing in
    // the unaligned one).
    void Align() {
        if (aligned_ && error_ == nullptr && pos_ % 8 != 0) AlignUp();
    }
    // The next `bits` bits as a span, and past them.
    BitSpan Take(size_t bits) {
        if (error_ != nullptr || bits > end_ - pos_) return TakeFailed();
        const BitSpan out{data_, pos_, bits};
        pos_ += bits;
        return out;
    }

    // X.691 11.5: a whole number in [lb, lb + range - 1], as its offset from
    // lb; `range` is ub - lb + 1 (0 stands for 2^64).
    uint64_t ConstrainedWholeNumber(uint64_t range);
    // X.691 11.7: a semi-constrained whole number's offset from lb.
    uint64_t SemiConstrainedWholeNumber();
    // X.691 11.8: an unconstrained whole number (2's complement).
    int64_t UnconstrainedWholeNumber();
    // X.691 11.6: a normally small non-negative whole number.
    uint64_t NormallySmall();
    // X.691 11.9 with an upper bound below 64K: the count in [lb, ub].
    size_t ConstrainedLength(size_t lb, size_t ub);
    // X.691 11.9 without an upper bound below 64K: the general form
    // (one or two octets, or a fragment of 16K to 64K units).
    Length UnconstrainedLength();
    // X.691 11.9.3.4: a normally small length (the extension bit map's).
    size_t NormallySmallLength();

private:
    uint64_t AnyBits(unsigned count);
    void AlignUp();
    BitSpan TakeFailed();
    // Octets of a semi-constrained or unconstrained whole number.
    uint64_t OctetsValue(size_t octets);

    const uint8_t* data_ = nullptr;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool aligned_ = true;
    const char* error_ = nullptr;
};

// Bits needed for the numbers 0 .. range - 1 (0 for a range of 1).
unsigned BitsForRange(uint64_t range);

}  // namespace corvuna::per
