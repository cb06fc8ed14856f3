// Glue between the dispatch tables and the message codecs.
//
// Every message codec is a pair of free functions over one plain record:
//   std::unique_ptr<XRecord> ParseX(int direction, int32_t bodyLength, const uint8_t* body);
//   int RenderX(const XRecord& record, OutputDocument& out);
// The parser returns null when the record cannot be allocated; the record
// is freed once the renderer has run.
#pragma once

#include <cstdint>
#include <memory>
#include <new>

#include "doc/writer.h"

namespace corvuna {

// A zero-filled record on the heap, or null when memory is short.
template <typename Record>
std::unique_ptr<Record> NewRecord() {
    return std::unique_ptr<Record>(new (std::nothrow) Record{});
}

// What a dispatch table row calls for one message body.
using MessageDecoder = void (*)(int direction, int32_t bodyLength, const uint8_t* body, OutputDocument& out);

// Parse, render when the record exists, free.
template <typename Record, std::unique_ptr<Record> (*Parse)(int, int32_t, const uint8_t*),
          int (*Render)(const Record&, OutputDocument&)>
void DecodeWith(int direction, int32_t bodyLength, const uint8_t* body, OutputDocument& out) {
    const std::unique_ptr<Record> record = Parse(direction, bodyLength, body);
    if (record) Render(*record, out);
}

}  // namespace corvuna
