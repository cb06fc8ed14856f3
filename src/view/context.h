// SPDX-License-Identifier: Apache-2.0
// What the standard view's decoders share: the octets of one IE value, the
// decoding context of one message, and the helpers that turn coded octets
// into the values TS 24.301 and TS 24.008 define (digits, PLMN codes,
// addresses, bit rates).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "doc/value_text.h"
#include "view/emitter.h"

namespace corvuna::view {

// A run of the message's octets.  At() reads 0 past the end, so that a
// decoder that checks sizes first never reads outside the message.
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

// Options of one decoding (CORVUNA_VIEW_* flags).
inline constexpr uint32_t kOptionNullCiphering = 1;

// Why decoding stopped, where and in which IE.
struct Stop {
    bool stopped = false;
    size_t offset = 0;
    Label ie;
    char reason[120] = {};
};

struct Context {
    Emitter& out;
    int direction;  // 1 uplink, 0 downlink
    uint32_t options;
    const uint8_t* base;  // the outermost message, for octet offsets
    int nesting = 0;      // messages inside messages
    bool errors = false;  // an error node was written
    Stop stop;            // the first error that ended decoding

    size_t OffsetOf(const uint8_t* p) const { return static_cast<size_t>(p - base); }

    // An error inside an IE value (decoding goes on after the IE).
    void ValueError(std::string_view reason);
    // Decoding of the message ends here.
    void Stopped(const uint8_t* at, Label ie, std::string_view reason);
};

// A group `label` that tells where decoding stopped: the octet offset, the
// IE (in JSON its identifier) and the reason.
void WriteStopPlace(Emitter& out, Label label, size_t offset, Label ie, std::string_view reason);

// An IE decoder writes the fields of one IE value.
using IeDecoder = void (*)(Context& ctx, Octets value);

// ---------------------------------------------------------------------------
// Coded values

// Characters for a field of fixed digits, NUL-free, at most 32 of them.
struct Digits {
    char text[40];
    size_t size = 0;

    void Put(char c) {
        if (size < sizeof text - 1) text[size++] = c;
    }
    std::string_view view() const { return std::string_view(text, size); }
};

// The TBCD digit of a semi-octet ('0'..'9', '*', '#', 'a', 'b', 'c', or 'f'
// for a filler).
char TbcdDigit(unsigned nibble);

// MCC and MNC of the three PLMN octets of TS 24.008 figure 10.5.3: the MNC
// has three digits unless MNC digit 3 is the filler 0xF.
struct Plmn {
    Digits mcc;
    Digits mnc;
};
Plmn DecodePlmn(Octets three);
// Writes the "MCC" and "MNC" fields of a PLMN.
void WritePlmn(Context& ctx, Octets three);

// Dotted-quad text of four octets; colon-separated groups of an IPv6
// address or of the low half of one (an interface identifier).
Digits Ipv4Text(Octets four);
struct Ipv6Text {
    char text[48];
    size_t size = 0;
    std::string_view view() const { return std::string_view(text, size); }
};
Ipv6Text Ipv6AddressText(Octets sixteen);
Ipv6Text InterfaceIdText(Octets eight);

// Bit rates in kbit/s (TS 24.301 9.9.4.2 and 9.9.4.3): the octet, its
// extended octet and its extended-2 octet (0 when absent).  Returns 0 for
// the coding "0 kbit/s" (0xFF) and -1 for the reserved value 0.
int64_t BitRateKbps(uint8_t base, uint8_t extended, uint8_t extended2, bool hasExtended, bool hasExtended2);

}  // namespace corvuna::view

namespace corvuna::view {

// An enumerated field of a value -> text table.
template <size_t N>
void WriteEnum(Context& ctx, Label label, int64_t value, const ValueText (&table)[N], Text fallback) {
    ctx.out.Enum(label, value, LookupText(table, static_cast<int32_t>(value), fallback));
}

// A one-bit flag with the standard's wording for its two values.
inline void WriteBit(Context& ctx, Label label, unsigned bit, Text set, Text clear) {
    ctx.out.Enum(label, bit & 1u, (bit & 1u) != 0 ? set : clear);
}

// A capability flag: "Supported" or "Not supported".
inline void WriteSupport(Context& ctx, Label label, unsigned bit) {
    ctx.out.Flag(label, (bit & 1u) != 0, "Supported", "Not supported");
}

// The value's octets as hex, for IEs whose content is not decoded further.
inline void WriteOctets(Context& ctx, Octets value, Label label = "Contents"_f) {
    ctx.out.Hex(label, value.data, value.size);
}

// A value too short for what its type holds: says so and how long it is.
bool RequireOctets(Context& ctx, Octets value, size_t needed);

}  // namespace corvuna::view
