// SPDX-License-Identifier: Apache-2.0
// A reader of ASN.1 aligned PER (ITU-T X.691, the ALIGNED variant) as far
// as S1AP needs it: bit fields, octet alignment, length determinants,
// constrained whole numbers, sequence preambles and extension additions.
// Reading never goes past the encoding; the first read that would sets
// failed() and gives zeros from then on.
#pragma once

#include <cstddef>
#include <cstdint>

#include "capture/bytes.h"

namespace corvuna::capture {

class AperReader {
public:
    explicit AperReader(Bytes encoding) : data_(encoding) {}

    bool failed() const { return failed_; }
    // Octets not yet read (from the next octet boundary).
    size_t RemainingOctets() const;

    // `count` (<= 32) bits as an unsigned number, first bit most significant.
    uint32_t Bits(int count);
    bool Bit() { return Bits(1) != 0; }
    void Align() { bit_ = (bit_ + 7) & ~size_t{7}; }

    // `count` octets from the next octet boundary.
    Bytes Octets(size_t count);

    // A length determinant (X.691 11.9.3.6-8), octet-aligned.  Fragmented
    // lengths (16K and above) are not used by S1AP's NAS-PDUs and fail.
    size_t Length();

    // A constrained whole number of `range` values (ub - lb + 1, >= 1),
    // as its offset from the lower bound (X.691 11.5.7).
    uint64_t Constrained(uint64_t range);

    // An open type's octets (length determinant and value).
    Bytes OpenType() { return Octets(Length()); }

    // A normally small non-negative whole number (X.691 11.6).
    uint32_t NormallySmall();

    // Skips the extension additions of a SEQUENCE whose extension bit was
    // set: the bit map and each present addition as an open type.
    void SkipExtensionAdditions();

    // Skips a ProtocolExtensionContainer (SEQUENCE (SIZE (1..65535)) OF
    // ProtocolExtensionField): the iE-Extensions of S1AP types.
    void SkipProtocolExtensions();

private:
    Bytes data_;
    size_t bit_ = 0;
    bool failed_ = false;
};

}  // namespace corvuna::capture
