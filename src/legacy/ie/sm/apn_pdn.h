// SPDX-License-Identifier: Apache-2.0
// Access point name (TS 24.008 10.5.6.1), PDN address (TS 24.301 9.9.4.9)
// and APN aggregate maximum bit rate (TS 24.301 9.9.4.2).
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

inline constexpr int kApnTextCapacity = 100;  // characters, terminator apart

// The APN labels joined with no separator.  The message renderers write it
// as a "%s" element; there is no IE renderer.
struct AccessPointName {
    char apnText[kApnTextCapacity + 1];
};

inline constexpr int kPdnAddressCapacity = 16;

struct PdnAddress {
    int32_t pdnType;                       // value octet 1, bits 3..1
    uint8_t address[kPdnAddressCapacity];  // value octets 2..L (first 16)
};

// Rates in kbps; the two second-extension octets as coded.  Zero means
// "not present" to the renderer.
struct ApnAmbr {
    int32_t apnAmbrDl;
    int32_t apnAmbrUl;
    int32_t apnAmbrDlExt;
    int32_t apnAmbrUlExt;
    int32_t apnAmbrDlExt2;
    int32_t apnAmbrUlExt2;
};

// Appends the labels, octet for octet, until `length` octets are consumed.
// The text keeps at most 100 characters (a longer label is cut, the cursor
// still passes it); a label running past the data is not taken and the
// cursor moves to the end of the data.
int ParseAccessPointName(BitCursor& cursor, int32_t length, AccessPointName& record);

// The type octet, then all length - 1 address octets of which the first 16
// are kept.
int ParsePdnAddress(BitCursor& cursor, int32_t length, PdnAddress& record);
// "PDNTypeValue" and "PDN_Address" (the first four octets, dotted decimal).
int RenderPdnAddress(const PdnAddress& record, OutputDocument& out);

// Downlink and uplink rates (read in pairs: a length of 1 still reads two
// octets), the extended pair when length >= 3, the second extended pair
// when length >= 5.
int ParseApnAmbr(BitCursor& cursor, int32_t length, ApnAmbr& record);
// One "kbps" element per non-zero field.
int RenderApnAmbr(const ApnAmbr& record, OutputDocument& out);

}  // namespace corvuna
