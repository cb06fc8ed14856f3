// SPDX-License-Identifier: Apache-2.0
// Fixed-size keys and values of the 3GPP security functions, and hex text
// for them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvuna::security {

using Key128 = std::array<uint8_t, 16>;
using Key256 = std::array<uint8_t, 32>;
using Rand = std::array<uint8_t, 16>;
using Autn = std::array<uint8_t, 16>;
using Sqn = std::array<uint8_t, 6>;
using Amf = std::array<uint8_t, 2>;
using Plmn = std::array<uint8_t, 3>;  // as coded in the TAI or GUTI (TS 24.008 10.5.1.13)

using ConstOctets = std::span<const uint8_t>;

// The four octets from `at` as a number, the first most significant (the
// caller has checked that they are there).
inline uint32_t Be32(ConstOctets octets, size_t at = 0) {
    return static_cast<uint32_t>(octets[at]) << 24 | static_cast<uint32_t>(octets[at + 1]) << 16 |
           static_cast<uint32_t>(octets[at + 2]) << 8 | octets[at + 3];
}

// Lower-case hex of `octets`.
std::string ToHex(ConstOctets octets);

// The octets of `hex` (upper or lower case, no separators); nullopt when it
// is not hex of an even number of digits.
std::optional<std::vector<uint8_t>> FromHex(std::string_view hex);

// `hex` as exactly N octets; nullopt otherwise.
template <size_t N>
std::optional<std::array<uint8_t, N>> FixedFromHex(std::string_view hex) {
    const auto octets = FromHex(hex);
    if (!octets || octets->size() != N) return std::nullopt;
    std::array<uint8_t, N> out{};
    for (size_t i = 0; i < N; ++i) out[i] = (*octets)[i];
    return out;
}

}  // namespace corvuna::security
