// SPDX-License-Identifier: Apache-2.0
// Message classification and the dispatch tables of the EMM and ESM
// message codecs.
#pragma once

#include <cstdint>
#include <span>

#include "legacy/codec/codec.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// MessageCode bases: ESM 0x200 + message type, EMM 0x700 + message type.
inline constexpr uint32_t kEsmCodeBase = 0x200;
inline constexpr uint32_t kEmmCodeBase = 0x700;

// One row of a dispatch table: the MessageCode, the message element's name
// (its one place in the library) and the codec.  `decode` is null for a
// message whose codec is not available: such a message yields the document
// frame alone.
struct MessageEntry {
    uint32_t code;
    const char* name;
    MessageDecoder decode;
    uint32_t nameSize;

    constexpr MessageEntry(uint32_t messageCode, Name element, MessageDecoder decoder)
        : code(messageCode), name(element.text), decode(decoder), nameSize(element.size) {}

    // The element name as the writers take it.
    constexpr Name element() const { return Name::Trusted(name, nameSize); }
};

std::span<const MessageEntry> EsmMessageTable();
std::span<const MessageEntry> EmmMessageTable();

// The row of `code`, or null when the code is unknown.
const MessageEntry* FindMessage(std::span<const MessageEntry> table, uint32_t code);

// MessageCode of a message: PD 2 -> 0x200 + octet 3, PD 7 -> 0x700 +
// octet 2, any other PD -> the PD.  `length` guards the octets read: a
// message too short for its message type octet classifies as its PD.
uint32_t ClassifyMessage(const uint8_t* message, int32_t length);

// Decode one body with the codec registered for `code`.  Return -1 for a
// negative body length (nothing written), else 1.
int DispatchEsm(int direction, int32_t bodyLength, uint32_t code, const uint8_t* body, OutputDocument& out);
int DispatchEmm(int direction, int32_t bodyLength, uint32_t code, const uint8_t* body, OutputDocument& out);

// The entry's body: checks the arguments (0 without writing on failure),
// writes the frame and the message element, returns 1.
int DecodeMessage(int direction, const uint8_t* message, int32_t length, OutputDocument& out, int32_t fifth,
                  int32_t sixth);

}  // namespace corvuna
