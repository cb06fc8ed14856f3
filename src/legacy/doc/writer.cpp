// SPDX-License-Identifier: Apache-2.0
#include "legacy/doc/writer.h"

namespace corvuna {

OutputDocument MakeDocument(char* buffer, size_t length, size_t capacity) {
    OutputDocument doc;
    if (buffer == nullptr) return doc;
    doc.buffer = buffer;
    doc.end = buffer + length;
    doc.room = capacity > length ? capacity - length : 0;
    doc.missed = 0;
    return doc;
}

char* RefusePiece(OutputDocument& out, size_t length) {
    if (out.buffer == nullptr) return nullptr;
    out.missed += length;
    out.truncated = true;
    out.room = 0;
    return nullptr;
}

}  // namespace corvuna
