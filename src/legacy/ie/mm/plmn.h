// SPDX-License-Identifier: Apache-2.0
// The digits of a PLMN identity as the area, PLMN list and identity IEs
// code them (TS 24.008 10.5.1.3): three octets, MCC digit 2 | MCC digit 1,
// MNC digit 3 | MCC digit 3, MNC digit 2 | MNC digit 1 (high | low nibble).
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"

namespace corvuna {

struct PlmnOctets {
    uint8_t o1;  // MCC digit 2 | MCC digit 1
    uint8_t o2;  // MNC digit 3 | MCC digit 3
    uint8_t o3;  // MNC digit 2 | MNC digit 1
};

// The identity whose first octet `first` was read; the other two are read.
inline PlmnOctets ReadPlmn(BitCursor& cursor, uint8_t first) {
    PlmnOctets plmn{first, 0, 0};
    plmn.o2 = ReadOctet(cursor);
    plmn.o3 = ReadOctet(cursor);
    return plmn;
}

// The three MCC digits as one number.
constexpr int32_t Mcc(const PlmnOctets& p) { return (p.o1 & 0x0F) * 100 + (p.o1 >> 4) * 10 + (p.o2 & 0x0F); }

// MNC digits 1 and 2; digit 3 is not looked at.
constexpr int32_t TwoDigitMnc(const PlmnOctets& p) { return (p.o3 & 0x0F) * 10 + (p.o3 >> 4); }

// MNC digits 1, 2 and 3 as one number, digit 3 last whatever it holds (a
// two-digit MNC gives its digits followed by the filler 15).
constexpr int32_t ThreeDigitMnc(const PlmnOctets& p) {
    return (p.o3 & 0x0F) * 100 + (p.o3 >> 4) * 10 + (p.o2 >> 4);
}

}  // namespace corvuna
