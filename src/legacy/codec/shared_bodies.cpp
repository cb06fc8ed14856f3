// SPDX-License-Identifier: Apache-2.0
#include "legacy/codec/shared_bodies.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/ie/mm/emm_fields.h"

namespace corvuna {

void ParseEmptyBody(int, BitCursor&, EmptyBodyRecord&) {}

void ParseSingleOctetBody(int, BitCursor& cursor, SingleOctetRecord& record) {
    record.value = ReadBits(cursor, 8);
}

int RenderEmptyBody(const EmptyBodyRecord&, OutputDocument& out) { return out.buffer == nullptr ? 0 : 1; }

int RenderEmmCauseBody(const SingleOctetRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderEmmCause(static_cast<int32_t>(record.value), out);
    return 1;
}

}  // namespace corvuna
