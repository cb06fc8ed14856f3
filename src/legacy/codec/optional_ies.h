// SPDX-License-Identifier: Apache-2.0
// The optional part of a message as data, and the one walker that reads it.
//
// A message lists its optional IEs as constexpr rows: the IEI (a whole octet,
// or the high nibble of a type 1 IE), the value format (TV of a fixed number
// of octets, TLV with a length octet, or the half-octet value of a type 1
// IE) and what takes the IE into the record: for most rows the record field
// with its presence flag and the IE parser.  The message names its scan
// form:
//   passing scan  an octet that is no listed IEI is passed over alone and
//                 the next octet is examined;
//   stopping scan the first octet that is no listed IEI ends the scan;
//   single look   only the next octet is examined.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/codec.h"

namespace corvuna {

enum class Scan : uint8_t { kPassing, kStopping, kSingleLook };

template <typename Record>
struct OptionalIe {
    // What takes the IE into the record: the whole IEI octet (a type 1 IE's
    // value is in its low half) and the value length, already read for TLV.
    using Take = void (*)(BitCursor& cursor, uint8_t ieiOctet, int32_t length, Record& record);

    uint8_t iei;          // the IEI octet, or the high nibble of a type 1 IEI
    bool halfOctet;       // type 1: matched on the high nibble
    int8_t valueOctets;   // TV: fixed value length; kTlv: a length octet precedes the value
    Take take;

    static constexpr int8_t kTlv = -1;

    constexpr bool Matches(uint8_t octet) const { return halfOctet ? (octet >> 4) == iei : octet == iei; }
};

template <typename Record>
struct OptionalIes {
    Scan scan;
    std::span<const OptionalIe<Record>> rows;
};

// A message's own rows followed by the rows of an IE group its record
// holds, as one table.  Each IEI has one row, so the order of the rows changes nothing
// but the time a look takes.
template <typename Record, size_t N, size_t M>
consteval std::array<OptionalIe<Record>, N + M> JoinRows(const OptionalIe<Record> (&own)[N],
                                                         const std::array<OptionalIe<Record>, M>& group) {
    std::array<OptionalIe<Record>, N + M> rows{};
    for (size_t i = 0; i < N; ++i) rows[i] = own[i];
    for (size_t i = 0; i < M; ++i) rows[N + i] = group[i];
    return rows;
}

// Reads the optional part of a message from the cursor into `record`.
template <typename Record>
void ScanOptionalIes(BitCursor& cursor, const OptionalIes<Record>& ies, Record& record) {
    while (HasOctet(cursor)) {
        const uint8_t octet = ReadOctet(cursor);
        const OptionalIe<Record>* found = nullptr;
        for (const OptionalIe<Record>& row : ies.rows) {
            if (row.Matches(octet)) {
                found = &row;
                break;
            }
        }
        if (found != nullptr) {
            const int32_t length = found->valueOctets == OptionalIe<Record>::kTlv ? ReadOctet(cursor)
                                                                                  : found->valueOctets;
            found->take(cursor, octet, length, record);
        } else if (ies.scan != Scan::kPassing) {
            return;
        }
        if (ies.scan == Scan::kSingleLook) return;
    }
}

// ---------------------------------------------------------------------------
// Rows

namespace ie_rows {

template <typename T>
struct MemberOf;
template <typename Record, typename Field>
struct MemberOf<Field Record::*> {
    using record = Record;
};
template <auto Member>
using RecordOf = typename MemberOf<decltype(Member)>::record;

// Sets the presence flag, clears the field and runs the IE parser on it.
template <typename Record, auto Present, auto Field, auto Parse>
void TakeParsed(BitCursor& cursor, uint8_t, int32_t length, Record& record) {
    record.*Present = 1;
    Clear(record.*Field);
    Parse(cursor, length, record.*Field);
}

// A one-octet value kept as the number it is.
template <typename Record, auto Present, auto Field>
void TakeOctet(BitCursor& cursor, uint8_t, int32_t, Record& record) {
    record.*Present = 1;
    record.*Field = ReadOctet(cursor);
}

// The bits of a type 1 IEI octet that hold its value.
template <typename Record, auto Present, auto Field, uint8_t Mask>
void TakeHalfOctet(BitCursor&, uint8_t octet, int32_t, Record& record) {
    record.*Present = 1;
    record.*Field = static_cast<std::remove_reference_t<decltype(record.*Field)>>(octet & Mask);
}

// An IE whose value is passed over, not decoded: only its presence is kept.
template <typename Record, auto Present>
void TakePresence(BitCursor& cursor, uint8_t, int32_t length, Record& record) {
    record.*Present = 1;
    SkipIe(cursor, length);
}

}  // namespace ie_rows

// The rows below are rows of the record whose members they name; a row of
// an IE group that several records share (a base of theirs) names the
// record that scans for it as `Record`.

// TLV: a length octet, then the value for the IE parser.
template <auto Present, auto Field, auto Parse, typename Record = ie_rows::RecordOf<Present>>
constexpr OptionalIe<Record> Tlv(uint8_t iei) {
    return {iei, false, OptionalIe<Record>::kTlv, &ie_rows::TakeParsed<Record, Present, Field, Parse>};
}

// TV: a value of `octets` octets for the IE parser.
template <auto Present, auto Field, auto Parse, typename Record = ie_rows::RecordOf<Present>>
constexpr OptionalIe<Record> Tv(uint8_t iei, int8_t octets) {
    return {iei, false, octets, &ie_rows::TakeParsed<Record, Present, Field, Parse>};
}

// TV of one octet kept as a number (a cause).
template <auto Present, auto Field, typename Record = ie_rows::RecordOf<Present>>
constexpr OptionalIe<Record> TvOctet(uint8_t iei) {
    return {iei, false, 1, &ie_rows::TakeOctet<Record, Present, Field>};
}

// Type 1: IEI in the high nibble, the value in the bits of `Mask`.
template <auto Present, auto Field, uint8_t Mask = 0x0F, typename Record = ie_rows::RecordOf<Present>>
constexpr OptionalIe<Record> HalfOctet(uint8_t ieiNibble) {
    return {ieiNibble, true, 0, &ie_rows::TakeHalfOctet<Record, Present, Field, Mask>};
}

// TLV whose value is passed over.
template <auto Present, typename Record = ie_rows::RecordOf<Present>>
constexpr OptionalIe<Record> TlvPresence(uint8_t iei) {
    return {iei, false, OptionalIe<Record>::kTlv, &ie_rows::TakePresence<Record, Present>};
}

// A row with a take function of its own, for an IE with a quirk.
template <typename Record>
constexpr OptionalIe<Record> Custom(uint8_t iei, bool halfOctet, int8_t valueOctets,
                                    typename OptionalIe<Record>::Take take) {
    return {iei, halfOctet, valueOctets, take};
}

}  // namespace corvuna
