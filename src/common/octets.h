// SPDX-License-Identifier: Apache-2.0
// A run of a message's octets.  At() reads 0 past the end, so that a decoder
// that checks sizes first never reads outside the message.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvuna {

struct Octets {
    const uint8_t* data = nullptr;
    size_t size = 0;

    uint8_t At(size_t i) const { return i < size ? data[i] : 0; }
    Octets From(size_t i) const { return i < size ? Octets{data + i, size - i} : Octets{data + size, 0}; }
    Octets Take(size_t n) const { return Octets{data, n < size ? n : size}; }
    uint32_t Big(size_t i, size_t n) const {  // n (<= 4) octets from i, first most significant
        uint32_t v = 0;
        for (size_t k = 0; k < n; ++k) v = v << 8 | At(i + k);
        return v;
    }
};

}  // namespace corvuna
