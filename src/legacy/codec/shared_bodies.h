// SPDX-License-Identifier: Apache-2.0
// Message bodies that several messages share: the body that is not read,
// the body of one octet, and the EMM cause message built on it.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// Record of a message whose body is not read.
struct EmptyBodyRecord {
    uint8_t unused;
};

// Record of a message of which only the first body octet is read.
struct SingleOctetRecord {
    uint32_t value;  // first body octet, 0..255; 0 for an empty body
};

void ParseEmptyBody(int direction, BitCursor& body, EmptyBodyRecord& record);
void ParseSingleOctetBody(int direction, BitCursor& body, SingleOctetRecord& record);

// Nothing between the message element's tags.
int RenderEmptyBody(const EmptyBodyRecord& record, OutputDocument& out);

// The "EMMCause" element of the first body octet (ATTACH REJECT, TRACKING
// AREA UPDATE REJECT, SECURITY MODE REJECT, EMM STATUS).
int RenderEmmCauseBody(const SingleOctetRecord& record, OutputDocument& out);

}  // namespace corvuna
