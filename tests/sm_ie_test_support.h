// SPDX-License-Identifier: Apache-2.0
// Running one IE parser over hexadecimal test data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "legacy/bits/bit_cursor.h"
#include "support/test_support.h"

namespace corvuna::test {

// The outcome of one parse: the record, the parser's result and where the
// cursor was left (in bits from the start of the data).
template <typename Record>
struct IeParse {
    Record record{};
    int result = -1;
    int32_t position = -1;
    int32_t bitCount = -1;
};

// Loads `hex` (exactly those octets on the heap, so a read past them is a
// fault the sanitizers see), moves to octet `startOctet` and runs `parse`
// with `length` over a zero-filled record.
template <typename Record>
IeParse<Record> RunParse(int (*parse)(BitCursor&, int32_t, Record&), std::string_view hex, int32_t length,
                         int32_t startOctet = 0) {
    const std::vector<uint8_t> octets = Hex(hex);
    BitCursor cursor;
    LoadBits(cursor, octets.empty() ? nullptr : octets.data(), static_cast<uint32_t>(octets.size()));
    cursor.position = startOctet * 8;
    IeParse<Record> outcome;
    outcome.result = parse(cursor, length, outcome.record);
    outcome.position = cursor.position;
    outcome.bitCount = cursor.bitCount;
    return outcome;
}

// The renderer's text for `record`.
template <typename Record>
std::string RenderText(int (*render)(const Record&, OutputDocument&), const Record& record) {
    return Rendered([&](OutputDocument& out) { render(record, out); });
}

// The one line of `text` that holds the element `name` ("" when none).
inline std::string ElementLine(const std::string& text, std::string_view name) {
    const std::string open = "<" + std::string(name) + ">";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (text.compare(start, open.size(), open) == 0) return text.substr(start, end - start);
        start = end + 1;
    }
    return std::string();
}

}  // namespace corvuna::test
