// Value -> text tables: the wording of the standard for coded values.
//
// A table is a constexpr array of {value, text} rows; a value without a
// row of its own takes the fallback text (the last row of the standard's
// table, "reserved", ...).  nullptr as a text means "write the number
// alone".
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvuna {

struct ValueText {
    int32_t value;
    const char* text;
};

template <size_t N>
constexpr const char* LookupText(const ValueText (&table)[N], int32_t value, const char* fallback) {
    for (const ValueText& row : table) {
        if (row.value == value) return row.text;
    }
    return fallback;
}

// Texts indexed by a small value 0..N-1; other values take the fallback.
template <size_t N>
constexpr const char* IndexedText(const char* const (&texts)[N], int64_t value, const char* fallback) {
    return value >= 0 && static_cast<uint64_t>(value) < N ? texts[value] : fallback;
}

}  // namespace corvuna
