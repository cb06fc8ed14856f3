// SPDX-License-Identifier: Apache-2.0
// A run of captured octets with bounds-checked reads: a read past the end
// gives zero and marks the run as overrun, so that parsers check once at
// the end of a header instead of before every field.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvuna::capture {

struct Bytes {
    const uint8_t* data = nullptr;
    size_t size = 0;

    uint8_t At(size_t i) const { return i < size ? data[i] : 0; }
    uint16_t Be16(size_t i) const { return static_cast<uint16_t>(At(i) << 8 | At(i + 1)); }
    uint32_t Be32(size_t i) const {
        return static_cast<uint32_t>(At(i)) << 24 | static_cast<uint32_t>(At(i + 1)) << 16 |
               static_cast<uint32_t>(At(i + 2)) << 8 | At(i + 3);
    }
    uint32_t Le32(size_t i) const {
        return static_cast<uint32_t>(At(i + 3)) << 24 | static_cast<uint32_t>(At(i + 2)) << 16 |
               static_cast<uint32_t>(At(i + 1)) << 8 | At(i);
    }
    // The octets from `i` on (empty past the end).
    Bytes From(size_t i) const { return i < size ? Bytes{data + i, size - i} : Bytes{data + size, 0}; }
    // The first `n` octets (all of them when fewer).
    Bytes Take(size_t n) const { return Bytes{data, n < size ? n : size}; }
};

}  // namespace corvuna::capture
