// SPDX-License-Identifier: Apache-2.0
#include "security/octets.h"

namespace corvuna::security {

std::string ToHex(ConstOctets octets) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(octets.size() * 2);
    for (const uint8_t o : octets) {
        out += kDigits[o >> 4];
        out += kDigits[o & 0x0F];
    }
    return out;
}

namespace {

int Nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::vector<uint8_t>> FromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::vector<uint8_t> out(hex.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        const int high = Nibble(hex[2 * i]), low = Nibble(hex[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        out[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return out;
}

}  // namespace corvuna::security
