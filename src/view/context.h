// SPDX-License-Identifier: Apache-2.0
// The decoding context of one message, and what the view's decoders share:
// the errors met and where, and the helpers that turn coded octets into the
// values TS 24.301, TS 24.501 and TS 24.008 define (digits, PLMN codes,
// addresses, bit rates).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/octets.h"
#include "common/text.h"
#include "view/label.h"
#include "view/protection.h"
#include "view/sink.h"

namespace corvuna::view {

// Options of one decoding (CORVUNA_VIEW_* flags).
inline constexpr uint32_t kOptionNullCiphering = 1;

// Errors kept with their place; more are counted.
inline constexpr size_t kMaxErrors = 8;

struct Context {
    Context(Sink& sink, int direction, uint32_t options, const uint8_t* base, const Protection* protection)
        : out(sink), direction(direction), options(options), base(base), protection(protection) {}

    Sink& out;
    int direction;  // 1 uplink, 0 downlink
    uint32_t options;
    const uint8_t* base;  // the buffer decoded: octet offsets are from it,
    size_t bias = 0;      // plus this
    // What the caller knows of the outermost message's protection (its
    // security context); null when nothing.
    const Protection* protection;
    int nesting = 0;  // messages inside messages
    // The payload container type an earlier IE of a 5GMM message gave
    // (TS 24.501 9.11.3.40), for the payload container after it; -1 none.
    int payloadContainerType = -1;

    // The IE being decoded, named by errors inside its value.
    Label ie;
    const uint8_t* ieStart = nullptr;

    size_t OffsetOf(const uint8_t* p) const { return static_cast<size_t>(p - base) + bias; }

    // Decoding octets of another buffer (a deciphered body) that stand at
    // `offset` of the message: Enter gives the place to Leave back to.
    struct Place {
        const uint8_t* base;
        size_t bias;
    };
    Place Enter(const uint8_t* buffer, size_t offset) {
        const Place outer{base, bias};
        base = buffer;
        bias = offset;
        return outer;
    }
    void Leave(Place outer) {
        base = outer.base;
        bias = outer.bias;
    }
    bool HasErrors() const { return errorCount + moreErrors > 0; }
    bool IsStopped() const { return stopped_; }

    // An error inside the current IE's value (decoding goes on after the
    // IE), at the IE or at octet `at` of the message.
    void ValueError(std::string_view reason) { Note(ieStart != nullptr ? ieStart : base, ie, reason, false); }
    void ValueErrorAt(const uint8_t* at, std::string_view reason) { Note(at, ie, reason, false); }
    // Decoding of the message ends here.
    void Stopped(const uint8_t* at, Label where, std::string_view reason) { Note(at, where, reason, true); }

    // How the record ends.
    RecordEnd End(Result result) const {
        return RecordEnd{result, std::span<const ErrorNote>(errors, errorCount), moreErrors,
                         stopped_ ? &stop_ : nullptr};
    }

private:
    void Note(const uint8_t* at, Label where, std::string_view reason, bool stops);

    ErrorNote errors[kMaxErrors];
    size_t errorCount = 0;
    size_t moreErrors = 0;
    ErrorNote stop_;
    bool stopped_ = false;
};

// ---------------------------------------------------------------------------
// Writing fields

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
inline void WriteOctets(Context& ctx, Octets value, Label label = "Contents"_f) { ctx.out.Hex(label, value); }

// A value too short for what its type holds: says so and how long it is.
bool RequireOctets(Context& ctx, Octets value, size_t needed);

// An entry of a type octet and a length octet before its value, at `at`
// of `v` (the optional IEs of a payload container entry, the parameters of
// a QoS flow description); one that runs past `v` does not fit and is
// reported at its type octet.
struct TypedValue {
    bool fits;
    uint8_t type;
    Octets value;
};
TypedValue NextTypedValue(Context& ctx, Octets v, size_t at, std::string_view overrun);

// ---------------------------------------------------------------------------
// Coded values

// Characters for a field of fixed digits, NUL-free, at most 39 of them.
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

// The decimal digits of an identity (IMSI, IMEI, IMEISV, SUCI's MSIN):
// `v` from the octet whose high half is the first digit (TS 24.008
// 10.5.1.4); `odd` tells whether the last octet's high half is a digit or
// the filler.  A semi-octet that is no decimal digit is written "?" and
// noted as an error at its octet.
Digits IdentityDigits(Context& ctx, Octets v, bool odd, std::string_view what);
// BCD digits, low half first, the filler 0xF ending them (numbers dialled,
// emergency numbers: '*', '#', 'a'..'c' are digits of those).
Digits BcdDigits(Octets v);

// MCC and MNC of the three PLMN octets of TS 24.008 figure 10.5.3: the MNC
// has three digits unless MNC digit 3 is the filler 0xF.  A digit that is
// no decimal digit is written "?" (see WritePlmn).
struct Plmn {
    Digits mcc;
    Digits mnc;
    bool valid = true;
};
Plmn DecodePlmn(Octets three);
// Writes the "MCC" and "MNC" fields of a PLMN; a PLMN with a digit that is
// no decimal digit is noted as an error.
void WritePlmn(Context& ctx, Octets three);

// Dotted-quad text of four octets; colon-separated groups of an IPv6
// address (RFC 5952).
Digits Ipv4Text(Octets four);
struct Ipv6Text {
    char text[48];
    size_t size = 0;
    std::string_view view() const { return std::string_view(text, size); }
};
Ipv6Text Ipv6AddressText(Octets sixteen);

// Bit rates in kbit/s (TS 24.301 9.9.4.2 and 9.9.4.3, TS 24.008 10.5.6.5):
// the octet, its extended octet and its extended-2 octet (0 when absent).
// Returns 0 for the coding "0 kbit/s" (0xFF) and -1 for the octet 0.
int64_t BitRateKbps(uint8_t base, uint8_t extended, uint8_t extended2, bool hasExtended, bool hasExtended2);
// Writes a bit rate: its kbit/s and "N kbit/s"; the coding 0 holds no rate:
// "subscribed maximum bit rate" from the UE, "reserved" from the network.
void WriteBitRate(Context& ctx, Label label, int64_t kbps);

}  // namespace corvuna::view
