// Body parsers shared by several messages: the empty body and the body of
// one octet (a cause).
#pragma once

#include <cstdint>
#include <memory>

#include "doc/writer.h"

namespace corvuna {

// Record of a message whose body is not read.
struct EmptyBodyRecord {
    uint8_t unused;
};

// Record of a message of which only the first body octet is read.
struct SingleOctetRecord {
    uint32_t value;  // first body octet, 0..255
};

std::unique_ptr<EmptyBodyRecord> ParseEmptyBody(int direction, int32_t bodyLength, const uint8_t* body);
std::unique_ptr<SingleOctetRecord> ParseSingleOctetBody(int direction, int32_t bodyLength, const uint8_t* body);

// The opening and closing tags of a message element with nothing between.
int RenderEmptyMessage(const char* name, OutputDocument& out);

}  // namespace corvuna
