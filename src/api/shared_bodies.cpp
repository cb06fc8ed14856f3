#include "api/shared_bodies.h"

#include "api/codec.h"
#include "bits/bit_cursor.h"

namespace corvuna {

std::unique_ptr<EmptyBodyRecord> ParseEmptyBody(int, int32_t, const uint8_t*) {
    return NewRecord<EmptyBodyRecord>();
}

std::unique_ptr<SingleOctetRecord> ParseSingleOctetBody(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<SingleOctetRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    record->value = ReadBits(cursor, 8);
    return record;
}

int RenderEmptyMessage(const char* name, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(name, out);
    WriteCloseTag(name, out);
    return 1;
}

}  // namespace corvuna
