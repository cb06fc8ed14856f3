// SPDX-License-Identifier: Apache-2.0
// Number elements as data: an element's name and the texts its values
// select, declared together as one constant and written by one writer.
//
//   constexpr auto kIdentityType = Element("IdentityType", {{2, "IMEI"}, {3, "IMEISV"}}, "IMSI");
//   WriteElement(kIdentityType, value, out);  // "<IdentityType>(2)IMEI</IdentityType>"
//
// A value's text comes from rows of (value, text), from texts in the order
// of the values 0, 1, ..., or from a table spread over every value when the
// code is compiled (for the long cause tables); a value that selects no text
// is written as the number alone.  The element is a constant where it is
// written, so its name is copied as a fixed run of characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <utility>

#include "common/text.h"
#include "legacy/doc/value_text.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// Rows of (value, text); a value without a row takes `other`.
template <size_t R>
struct RowTexts {
    ValueText rows[R];
    Text other;

    constexpr Text operator()(int64_t value) const {
        for (const ValueText& row : rows) {
            if (row.value == value) return row.text;
        }
        return other;
    }
};

// The texts of the values 0..N-1 in order; any other value takes `other`.
template <size_t N>
struct OrderedTexts {
    Text texts[N];
    Text other;

    constexpr Text operator()(int64_t value) const {
        return value >= 0 && static_cast<uint64_t>(value) < N ? texts[value] : other;
    }
};

// No text for any value.
struct NoTexts {
    constexpr Text operator()(int64_t) const { return {}; }
};

template <typename Texts>
struct NumberElement {
    Name name;
    Texts texts;
};

// "<name>(value)text</name>" with the text of the row of the value, or
// `other` (empty: the number alone).
template <size_t R>
consteval NumberElement<RowTexts<R>> Element(Name name, const ValueText (&rows)[R], Text other) {
    RowTexts<R> texts{};
    for (size_t i = 0; i < R; ++i) texts.rows[i] = rows[i];
    texts.other = other;
    return {name, texts};
}

// The same with the texts of 0, 1, ... in order.
template <size_t N>
consteval NumberElement<OrderedTexts<N>> Element(Name name, const Text (&inOrder)[N], Text other = nullptr) {
    OrderedTexts<N> texts{};
    for (size_t i = 0; i < N; ++i) texts.texts[i] = inOrder[i];
    texts.other = other;
    return {name, texts};
}

// "<name>value</name>".
consteval NumberElement<NoTexts> Element(Name name) { return {name, {}}; }

// Rows spread over the values 0..N-1 when the code is compiled: one index
// finds the text of a value among many rows.
template <size_t N, size_t R>
consteval NumberElement<DenseText<N>> DenseElement(Name name, const ValueText (&rows)[R], Text other) {
    return {name, MakeDenseText<N>(rows, other)};
}

// The same with rows joined from several tables (Join in common/text.h).
template <size_t N, size_t R>
consteval NumberElement<DenseText<N>> DenseElement(Name name, const std::array<ValueText, R>& rows, Text other) {
    return {name, MakeDenseText<N>(rows, other)};
}

// The element of `value`.  The number is written as WriteNumber writes a
// field of its type; the text is that of the value as it is.
template <typename Texts, typename Field>
[[gnu::always_inline]] inline void WriteElement(const NumberElement<Texts>& element, Field value, OutputDocument& out) {
    WriteNumber(element.name, value, out, element.texts(static_cast<int64_t>(value)));
}

// The renderer of an IE that is this one element: 0 without writing when
// the document has no buffer, else 1.
template <typename Texts, typename Field>
[[gnu::always_inline]] inline int RenderElement(const NumberElement<Texts>& element, Field value, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteElement(element, value, out);
    return 1;
}

// The same for an IE of several elements, given as pairs of element and
// value in the order they are written.
inline void WriteElements(OutputDocument&) {}
template <typename Texts, typename Field, typename... More>
[[gnu::always_inline]] inline void WriteElements(OutputDocument& out, const NumberElement<Texts>& element, Field value,
                                                 const More&... more) {
    WriteElement(element, value, out);
    WriteElements(out, more...);
}
template <typename... ElementsAndValues>
[[gnu::always_inline]] inline int RenderElements(OutputDocument& out, const ElementsAndValues&... pairs) {
    if (out.buffer == nullptr) return 0;
    WriteElements(out, pairs...);
    return 1;
}

// The same for an element that is the number alone.
template <typename Field>
[[gnu::always_inline]] inline int RenderElement(Name name, Field value, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber(name, value, out);
    return 1;
}

// One number field of a record as a row of a table-driven renderer: the
// element's name, the field and the texts of its values (rows of (value,
// text), `other` for a value without a row; none at all: the number alone).
template <typename Record, typename Field = int32_t>
struct NumberField {
    Name name;
    Field Record::*field;
    std::span<const ValueText> rows = {};
    Text other = {};

    constexpr Text TextOf(int64_t value) const {
        for (const ValueText& row : rows) {
            if (row.value == value) return row.text;
        }
        return other;
    }
};

// The elements of the fields that `Rows` (an array of NumberField) name, in
// row order.  The rows are unrolled where the code is compiled, so that
// every name and text table is a constant where it is written.
template <const auto& Rows, typename Record>
[[gnu::always_inline]] inline void WriteFields(const Record& record, OutputDocument& out) {
    [&]<size_t... I>(std::index_sequence<I...>) {
        (WriteNumber(Rows[I].name, record.*Rows[I].field, out, Rows[I].TextOf(record.*Rows[I].field)), ...);
    }(std::make_index_sequence<std::size(Rows)>{});
}

// Sets the fields that `Rows` name, in row order, to `value(0)`,
// `value(1)` ... (unrolled in the same way).
template <const auto& Rows, typename Record, typename Value>
[[gnu::always_inline]] inline void SetFields(Record& record, Value&& value) {
    [&]<size_t... I>(std::index_sequence<I...>) {
        ((record.*Rows[I].field = value(I)), ...);
    }(std::make_index_sequence<std::size(Rows)>{});
}

}  // namespace corvuna
