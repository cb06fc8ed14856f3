// SPDX-License-Identifier: Apache-2.0
// The standard view's data: IE types (a name, a clause and either bit fields
// or a decoder), the rows of a message's IE list in the form of the
// standard's message tables (TS 24.007 clause 11.2 formats), the messages
// of a protocol, and the protocol itself (its discriminator and header).
// The walker (walker.h) reads them; a second NAS protocol is a new set of
// these tables and a header decoder, not a new walker.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/octets.h"
#include "common/text.h"
#include "view/label.h"
#include "view/sink.h"

namespace corvuna::view {

struct Context;

// Which directions a message is sent in, or a field is read in.
inline constexpr uint8_t kUplink = 1;
inline constexpr uint8_t kDownlink = 2;
inline constexpr uint8_t kBoth = kUplink | kDownlink;

// ---------------------------------------------------------------------------
// Bit fields: an IE whose value is fields of fixed bits is data, read by
// one decoder (DecodeFields in walker.cpp).

enum class Shown : uint8_t {
    kNumber,   // the bits as a number
    kEnum,     // a value -> text table
    kFlag,     // one bit with the standard's wording for its two values
    kSupport,  // one bit: "Supported" / "Not supported"
    kHex,      // the bits as a number, shown in hex in the text tree
    kOctets,   // whole octets from `octet` on (`width` of them, 0: to the end), as hex
};

struct BitField {
    Label label;
    uint8_t octet;  // of the value, 0 first
    uint8_t bit;    // the field's lowest bit, 1 to 8 as the standard numbers them
    uint8_t width;  // in bits
    Shown shown;
    uint8_t directions = kBoth;  // the field as sent in these directions only
    const ValueText* values = nullptr;
    uint16_t valueCount = 0;
    Text fallback;  // kEnum: a value without a row; kFlag: the text of 1
    Text clear;     // kFlag: the text of 0

    constexpr unsigned Of(uint8_t octet_value) const {
        return (octet_value >> (bit - 1)) & ((1u << width) - 1u);
    }
};

constexpr BitField Num(Label label, uint8_t octet, uint8_t bit, uint8_t width, uint8_t directions = kBoth) {
    return {label, octet, bit, width, Shown::kNumber, directions, nullptr, 0, Text(), Text()};
}
template <size_t N>
constexpr BitField Coded(Label label, uint8_t octet, uint8_t bit, uint8_t width, const ValueText (&values)[N],
                         Text fallback, uint8_t directions = kBoth) {
    return {label, octet, bit, width, Shown::kEnum, directions, values, static_cast<uint16_t>(N), fallback, Text()};
}
template <size_t N>
constexpr BitField Coded(Label label, uint8_t octet, uint8_t bit, uint8_t width, const std::array<ValueText, N>& values,
                         Text fallback, uint8_t directions = kBoth) {
    return {label, octet, bit, width, Shown::kEnum, directions, values.data(), static_cast<uint16_t>(N), fallback, Text()};
}
constexpr BitField Bit(Label label, uint8_t octet, uint8_t bit, Text set, Text clear, uint8_t directions = kBoth) {
    return {label, octet, bit, 1, Shown::kFlag, directions, nullptr, 0, set, clear};
}
constexpr BitField Support(Label label, uint8_t octet, uint8_t bit) {
    return {label, octet, bit, 1, Shown::kSupport, kBoth, nullptr, 0, Text(), Text()};
}
constexpr BitField HexCode(Label label, uint8_t octet, uint8_t bit, uint8_t width) {
    return {label, octet, bit, width, Shown::kHex, kBoth, nullptr, 0, Text(), Text()};
}
// Octets `octet` to `octet + count - 1` (count 0: to the end of the value).
constexpr BitField Octs(Label label, uint8_t octet, uint8_t count = 0) {
    return {label, octet, 1, count, Shown::kOctets, kBoth, nullptr, 0, Text(), Text()};
}

// ---------------------------------------------------------------------------
// IE types

// A decoder writes the fields of one IE value.
using IeDecoder = void (*)(Context& ctx, Octets value);

struct IeType {
    Text name;       // "EPS mobile identity"
    Text reference;  // "9.9.3.12" (TS 24.301), "24.008 10.5.1.4", "24.501 9.11.3.4"
    IeDecoder decode = nullptr;          // code; null: the value is `fields`
    std::span<const BitField> fields;    // data; with neither, the value is shown as octets
    uint8_t minOctets = 0;               // value octets the fields need
};

// An IE decoded by code.
constexpr IeType Decoded(Text name, Text reference, IeDecoder decode) { return {name, reference, decode, {}, 0}; }
// An IE of bit fields; the value needs the octets of the fields before
// the first field of octet `optionalFrom` (later octets may be left out).
template <size_t N>
constexpr IeType Fields(Text name, Text reference, const BitField (&fields)[N], uint8_t optionalFrom = 0xFF) {
    uint8_t need = 0;
    for (const BitField& f : fields) {
        const unsigned end = f.shown == Shown::kOctets ? f.octet + (f.width > 0 ? f.width : 1u) : f.octet + 1u;
        if (f.octet < optionalFrom && end > need) need = static_cast<uint8_t>(end);
    }
    return {name, reference, nullptr, std::span<const BitField>(fields), need};
}
// An IE whose contents the view shows as octets.
constexpr IeType Opaque(Text name, Text reference) { return {name, reference, nullptr, {}, 0}; }

// ---------------------------------------------------------------------------
// Message tables

// IE formats of TS 24.007 clause 11.2.
enum class IeFormat : uint8_t {
    kV,       // value of fixed length (mandatory)
    kHalfV,   // half an octet (mandatory): the first of a pair is bits 4-1
    kLV,      // length octet and value (mandatory)
    kLVE,     // two length octets and value (mandatory)
    kT,       // type 2: the IEI octet alone (optional)
    kTV1,     // type 1: IEI in bits 8-5, value in bits 4-1 (optional)
    kTV,      // IEI and value of fixed length (optional)
    kTLV,     // IEI, length octet, value (optional)
    kTLVE,    // IEI, two length octets, value (optional)
};

inline constexpr uint16_t kAnyLength = 0xFFFF;

struct IeRow {
    Label role;  // the IE as the message table names it ("Old GUTI or IMSI")
    const IeType* type;
    IeFormat format;
    uint8_t iei;         // optional IEs: the IEI (kTV1: the value of bits 8-5)
    uint16_t minLength;  // the IE's length in octets as the message table
    uint16_t maxLength;  // gives it (IEI and length octets included)
};

// Rows in the form of the standard's tables.  Lengths are the IE's whole
// length as the tables give it (IEI and length octets included).
constexpr IeRow V(Label role, const IeType& type, uint16_t length) {
    return {role, &type, IeFormat::kV, 0, length, length};
}
constexpr IeRow Half(Label role, const IeType& type) { return {role, &type, IeFormat::kHalfV, 0, 1, 1}; }
constexpr IeRow LV(Label role, const IeType& type, uint16_t min, uint16_t max) {
    return {role, &type, IeFormat::kLV, 0, min, max};
}
constexpr IeRow LVE(Label role, const IeType& type, uint16_t min, uint16_t max) {
    return {role, &type, IeFormat::kLVE, 0, min, max};
}
constexpr IeRow T(uint8_t iei, Label role, const IeType& type) { return {role, &type, IeFormat::kT, iei, 1, 1}; }
constexpr IeRow TV1(uint8_t iei, Label role, const IeType& type) { return {role, &type, IeFormat::kTV1, iei, 1, 1}; }
constexpr IeRow TV(uint8_t iei, Label role, const IeType& type, uint16_t length) {
    return {role, &type, IeFormat::kTV, iei, length, length};
}
constexpr IeRow TLV(uint8_t iei, Label role, const IeType& type, uint16_t min, uint16_t max) {
    return {role, &type, IeFormat::kTLV, iei, min, max};
}
constexpr IeRow TLVE(uint8_t iei, Label role, const IeType& type, uint16_t min, uint16_t max) {
    return {role, &type, IeFormat::kTLVE, iei, min, max};
}

// The IEs of a message that has none after its message type.
inline constexpr std::span<const IeRow> kNoIes;

struct MessageLayout {
    uint8_t protocol;   // the protocol discriminator (EPS: 7, 2; 5GS: 0x7E, 0x2E)
    uint8_t type;       // message type
    uint8_t directions;
    Label name;         // "Attach request"
    Text reference;     // clause of the message: "8.2.4"
    std::span<const IeRow> ies;
};

// The messages of a protocol (two discriminators: mobility and session
// management), indexed when the code is compiled: per discriminator,
// direction and message type the layout, and per message the optional IE
// of each IEI octet (1 + its row's index, or 0).
inline constexpr uint8_t kNoLayout = 0xFF;

struct MessageTable {
    uint8_t protocols[2];
    std::span<const MessageLayout> layouts;
    const std::array<uint8_t, 2 * 2 * 256>* byType;
    std::span<const std::array<uint8_t, 256>> optional;

    // The message of `protocol` and `type` as sent in `direction` (1
    // uplink, 0 downlink): the layout for the direction, or else the
    // message's layout in the other direction, so that a message seen in
    // the direction it is not sent in is still decoded; null when the
    // protocol has no such message.
    const MessageLayout* Find(uint8_t protocol, uint8_t type, int direction) const {
        const int slot = protocol == protocols[0] ? 0 : protocol == protocols[1] ? 1 : -1;
        if (slot < 0) return nullptr;
        const uint8_t m = (*byType)[static_cast<size_t>((slot * 2 + (direction == 1 ? 1 : 0)) * 256 + type)];
        return m == kNoLayout ? nullptr : &layouts[m];
    }
    // The directions the message is sent in (0 when unknown).
    uint8_t Directions(uint8_t protocol, uint8_t type) const {
        uint8_t directions = 0;
        for (const MessageLayout& layout : layouts) {
            if (layout.protocol == protocol && layout.type == type) directions |= layout.directions;
        }
        return directions;
    }
    // The optional IE of `layout` that `iei` introduces: its index in
    // layout.ies, or -1.
    int OptionalRow(const MessageLayout& layout, uint8_t iei) const {
        return optional[static_cast<size_t>(&layout - layouts.data())][iei] - 1;
    }
};

template <size_t N>
consteval std::array<uint8_t, 2 * 2 * 256> IndexMessages(const MessageLayout (&layouts)[N], uint8_t first,
                                                          uint8_t second) {
    static_assert(N < kNoLayout);
    std::array<uint8_t, 2 * 2 * 256> index{};
    for (uint8_t& i : index) i = kNoLayout;
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t m = 0; m < N; ++m) {
            const MessageLayout& layout = layouts[m];
            if (layout.protocol != first && layout.protocol != second) throw "a layout of another protocol";
            for (int direction = 0; direction < 2; ++direction) {
                const uint8_t want = direction == 1 ? kUplink : kDownlink;
                const bool fits = (layout.directions & want) != 0;
                // First pass: layouts for the direction; second: the others
                // where the direction has none.
                if (pass == 0 ? !fits : fits) continue;
                uint8_t& slot = index[((layout.protocol == first ? 0 : 1) * 2 + direction) * 256 + layout.type];
                if (slot == kNoLayout) slot = static_cast<uint8_t>(m);
            }
        }
    }
    return index;
}

// Per message of `layouts`, the optional IE of each IEI octet.  A type 1 IE
// answers for the sixteen octets of its half-octet IEI; where rows share an
// IEI, the first in the table wins.
template <size_t N>
consteval std::array<std::array<uint8_t, 256>, N> IndexOptionalIes(const MessageLayout (&layouts)[N]) {
    std::array<std::array<uint8_t, 256>, N> index{};
    for (size_t m = 0; m < N; ++m) {
        const std::span<const IeRow> ies = layouts[m].ies;
        if (ies.size() > 64) throw "the walker marks the optional IEs seen in 64 bits";
        for (size_t r = ies.size(); r-- > 0;) {
            const IeRow& row = ies[r];
            if (row.format < IeFormat::kT) continue;
            if (row.format == IeFormat::kTV1) {
                for (unsigned low = 0; low < 16; ++low) index[m][row.iei << 4 | low] = static_cast<uint8_t>(r + 1);
            } else {
                index[m][row.iei] = static_cast<uint8_t>(r + 1);
            }
        }
    }
    return index;
}

// The message table of `Layouts`, the messages of the protocols `First`
// and `Second`, with its indexes made when the code is compiled.
template <const auto& Layouts, uint8_t First, uint8_t Second>
struct IndexedMessages {
    static constexpr auto kByType = IndexMessages(Layouts, First, Second);
    static constexpr auto kOptional = IndexOptionalIes(Layouts);
    static constexpr MessageTable kTable{{First, Second}, Layouts, &kByType, kOptional};
};

// ---------------------------------------------------------------------------
// Protocols

// A NAS protocol: which first octets are its, and how its header is read
// (the header decoder reads what precedes the message type, then hands the
// rest to the walker with the protocol's message table).
struct Protocol {
    bool (*claims)(uint8_t firstOctet);
    Result (*decode)(Context& ctx, Octets message);
    const MessageTable* messages;
};

// The protocols the view knows (EPS first).
std::span<const Protocol* const> Protocols();

// The message table of the protocol `protocol` belongs to, or null.
const MessageTable* MessagesOf(uint8_t protocol);

// The directions a message of `protocol` and `type` is sent in (0 when
// unknown).
uint8_t MessageDirections(uint8_t protocol, uint8_t type);

}  // namespace corvuna::view
