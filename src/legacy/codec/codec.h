// SPDX-License-Identifier: Apache-2.0
// What every message codec shares: the shape of a codec and the decoding of
// one message body with it.
//
// Every message codec is a pair of free functions over one plain record:
//   void ParseX(int direction, BitCursor& body, XRecord& record);
//   int RenderX(const XRecord& record, OutputDocument& out);
// The parser fills a zero-filled record from the cursor over the message
// body (the octets after the message type); the renderer writes the lines inside the
// message element and returns 1, or 0 without writing when the document has
// no buffer.  The record lives on the decoding call's stack: decoding takes
// no memory from the heap.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// What a dispatch table row calls for one message body: decodes it and
// writes the message element `name` around its lines.
using MessageDecoder = void (*)(int direction, int32_t bodyLength, const uint8_t* body, Name name,
                                OutputDocument& out);

template <typename Record>
using MessageParser = void (*)(int direction, BitCursor& body, Record& record);
template <typename Record>
using MessageRenderer = int (*)(const Record& record, OutputDocument& out);

// Parse into a fresh record, then render it inside the message element.
template <typename Record, MessageParser<Record> Parse, MessageRenderer<Record> Render>
void DecodeWith(int direction, int32_t bodyLength, const uint8_t* body, Name name, OutputDocument& out) {
    Record record{};
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    Parse(direction, cursor, record);
    WriteGroup(name, record, Render, out);
}

// The record type that a message parser fills.
template <typename Parser>
struct ParsedRecord;
template <typename Record>
struct ParsedRecord<void (*)(int, BitCursor&, Record&)> {
    using type = Record;
};

// DecodeWith for the record that `Parse` fills.
template <auto Parse, auto Render>
inline constexpr MessageDecoder kDecoder =
    DecodeWith<typename ParsedRecord<decltype(Parse)>::type, Parse, Render>;

// Puts an IE record back in the state of a fresh message record, so that an
// IE that occurs again replaces the earlier occurrence wholly.
template <typename Ie>
void Clear(Ie& ie) {
    if constexpr (std::is_array_v<Ie> || std::is_arithmetic_v<Ie>) {
        std::memset(&ie, 0, sizeof ie);
    } else {
        static_assert(std::is_trivially_destructible_v<Ie>);
        ::new (static_cast<void*>(&ie)) Ie{};
    }
}

}  // namespace corvuna
