// SPDX-License-Identifier: Apache-2.0
#include "capture/aper.h"

namespace corvuna::capture {

size_t AperReader::RemainingOctets() const {
    const size_t octet = (bit_ + 7) / 8;
    return octet < data_.size ? data_.size - octet : 0;
}

uint32_t AperReader::Bits(int count) {
    if (failed_ || count <= 0) return 0;
    if (bit_ + static_cast<size_t>(count) > data_.size * 8) {
        failed_ = true;
        return 0;
    }
    uint32_t value = 0;
    for (int i = 0; i < count; ++i, ++bit_) {
        value = value << 1 | ((data_.data[bit_ / 8] >> (7 - bit_ % 8)) & 1u);
    }
    return value;
}

Bytes AperReader::Octets(size_t count) {
    Align();
    if (failed_ || count > RemainingOctets()) {
        failed_ = true;
        return {};
    }
    const Bytes out{data_.data + bit_ / 8, count};
    bit_ += count * 8;
    return out;
}

size_t AperReader::Length() {
    Align();
    const uint32_t first = Bits(8);
    if ((first & 0x80) == 0) return first;
    if ((first & 0xC0) == 0x80) return (first & 0x3F) << 8 | Bits(8);
    failed_ = true;  // fragmented
    return 0;
}

uint64_t AperReader::Constrained(uint64_t range) {
    if (range <= 1) return 0;
    if (range <= 255) {
        int bits = 0;
        while ((uint64_t{1} << bits) < range) ++bits;
        return Bits(bits);
    }
    if (range == 256) {
        Align();
        return Bits(8);
    }
    if (range <= 65536) {
        Align();
        return Bits(16);
    }
    // The number of octets (1 up to those of range - 1) as a bit field,
    // then the octets, aligned.
    int octets = 0;
    for (uint64_t r = range - 1; r != 0; r >>= 8) ++octets;
    int lengthBits = 0;
    while ((1 << lengthBits) < octets) ++lengthBits;
    const uint32_t length = Bits(lengthBits) + 1;
    Align();
    uint64_t value = 0;
    for (uint32_t i = 0; i < length; ++i) value = value << 8 | Bits(8);
    return value;
}

uint32_t AperReader::NormallySmall() {
    if (!Bit()) return Bits(6);
    const size_t length = Length();
    uint32_t value = 0;
    for (size_t i = 0; i < length && i < 4; ++i) value = value << 8 | Bits(8);
    if (length > 4) failed_ = true;
    return value;
}

void AperReader::SkipExtensionAdditions() {
    const uint32_t count = NormallySmall() + 1;
    uint32_t present = 0;
    for (uint32_t i = 0; i < count && !failed_; ++i) present += Bit() ? 1 : 0;
    for (uint32_t i = 0; i < present && !failed_; ++i) OpenType();
}

void AperReader::SkipProtocolExtensions() {
    const uint64_t count = Constrained(65535) + 1;
    for (uint64_t i = 0; i < count && !failed_; ++i) {
        Constrained(65536);  // id
        Bits(2);             // criticality
        OpenType();          // extensionValue
    }
}

}  // namespace corvuna::capture
