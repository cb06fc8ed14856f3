// SPDX-License-Identifier: Apache-2.0
// Texts as the document writers and the standard view take them: string
// literals measured when the code is compiled, so that writing one never
// scans it.
//
// A value -> text table is a constexpr array of {value, text} rows; a value
// without a row of its own takes the fallback text (the last row of the
// standard's table, "reserved", ...).  An empty Text means "write the number
// alone".
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace corvuna {

// A value text (or any literal copied into the document), with its length.
// `plain`: a literal of printable ASCII other than '"' and '\\', which a
// JSON string holds as it is.
struct Text {
    const char* text = nullptr;
    uint32_t size = 0;
    bool plain = false;

    constexpr Text() = default;
    consteval Text(decltype(nullptr)) {}
    template <size_t N>
    consteval Text(const char (&literal)[N]) : text(literal), size(N - 1), plain(true) {
        for (size_t i = 0; i + 1 < N; ++i) {
            const char c = literal[i];
            if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') plain = false;
        }
    }

    constexpr explicit operator bool() const { return text != nullptr; }

    // Characters held in a table built when the code is compiled.
    static constexpr Text Trusted(const char* text, uint32_t size) {
        Text t;
        t.text = text;
        t.size = size;
        return t;
    }
    // Characters made at run time of printable ASCII other than '"' and
    // '\\' only (digits, units): JSON holds them as they are.
    static constexpr Text Printable(const char* text, uint32_t size) {
        Text t = Trusted(text, size);
        t.plain = true;
        return t;
    }
};

struct ValueText {
    int32_t value;
    Text text;
};

// Tables as one (a protocol's own rows and rows several protocols or
// messages share), made when the code is compiled.
template <typename T, size_t... N>
consteval std::array<T, (N + ...)> Join(const T (&... parts)[N]) {
    std::array<T, (N + ...)> rows{};
    size_t at = 0;
    ((std::copy(parts, parts + N, rows.begin() + at), at += N), ...);
    return rows;
}

// The name of an enumerator from the names of its enumeration in order;
// "" for a value without one.
template <size_t N, typename Enum>
constexpr const char* NameIn(const char* const (&names)[N], Enum value) {
    const auto i = static_cast<size_t>(value);
    return i < N ? names[i] : "";
}

template <size_t N>
constexpr Text LookupText(const ValueText (&table)[N], int32_t value, Text fallback) {
    for (const ValueText& row : table) {
        if (row.value == value) return row.text;
    }
    return fallback;
}

// Texts indexed by a small value 0..N-1; other values take the fallback.
template <size_t N>
constexpr Text IndexedText(const Text (&texts)[N], int64_t value, Text fallback) {
    return value >= 0 && static_cast<uint64_t>(value) < N ? texts[value] : fallback;
}

// A value -> text table spread over every value 0..N-1 when the code is
// compiled, so that a lookup is one index; values outside it take the
// fallback.
template <size_t N>
struct DenseText {
    std::array<Text, N> texts;
    Text fallback;

    constexpr Text operator()(int64_t value) const {
        return value >= 0 && static_cast<uint64_t>(value) < N ? texts[static_cast<size_t>(value)] : fallback;
    }
};

template <size_t N, size_t Rows>
consteval DenseText<N> MakeDenseText(const std::array<ValueText, Rows>& rows, Text fallback) {
    DenseText<N> dense{};
    dense.fallback = fallback;
    for (Text& text : dense.texts) text = fallback;
    for (const ValueText& row : rows) {
        if (row.value < 0 || static_cast<size_t>(row.value) >= N) throw "a row's value lies outside the table";
        dense.texts[static_cast<size_t>(row.value)] = row.text;
    }
    return dense;
}

template <size_t N, size_t Rows>
consteval DenseText<N> MakeDenseText(const ValueText (&rows)[Rows], Text fallback) {
    return MakeDenseText<N>(std::to_array(rows), fallback);
}

}  // namespace corvuna
