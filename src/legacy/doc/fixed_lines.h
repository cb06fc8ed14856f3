// SPDX-License-Identifier: Apache-2.0
// Whole element lines written out when the code is compiled, for elements
// whose few possible lines are known in advance (a flag and its two texts):
// writing one is a single copy.
#pragma once

#include <cstddef>
#include <cstdint>

#include "legacy/doc/value_text.h"
#include "legacy/doc/writer.h"

namespace corvuna {

template <size_t N>
struct FixedLine {
    char text[N]{};
    uint32_t size = 0;

    constexpr Text AsText() const { return Text::Trusted(text, size); }
};

// Characters of "<name>(d)text</name>\n" for a one-digit value d.
consteval size_t DigitLineSize(Name name, Text text) { return 2 * static_cast<size_t>(name.size) + 9 + text.size; }

// "<name>(d)text</name>\n".
template <size_t N>
consteval FixedLine<N> MakeDigitLine(Name name, char digit, Text text) {
    FixedLine<N> line;
    uint32_t at = 0;
    auto put = [&](const char* from, uint32_t n) {
        for (uint32_t i = 0; i < n; ++i) line.text[at++] = from[i];
    };
    put("<", 1);
    put(name.text, name.size);
    put(">(", 2);
    line.text[at++] = digit;
    put(")", 1);
    put(text.text, text.size);
    put("</", 2);
    put(name.text, name.size);
    put(">\n", 2);
    line.size = at;
    return line;
}

// The lines of an element whose value is 0 or 1, each with a name and text
// of its own.
template <size_t N>
struct BinaryLines {
    FixedLine<N> line[2];
    Name setName;  // and the text of the set value, for values other than 0 and 1
    Text setText;
};

template <size_t N>
consteval BinaryLines<N> MakeBinaryLines(Name clearName, Text clearText, Name setName, Text setText) {
    return {{MakeDigitLine<N>(clearName, '0', clearText), MakeDigitLine<N>(setName, '1', setText)}, setName, setText};
}

// Writes the element of `value`: its prepared line for 0 and 1, the set
// name and text with the value for any other.
template <size_t N>
[[gnu::always_inline]] inline void WriteBinaryElement(const BinaryLines<N>& lines, uint8_t value,
                                                      OutputDocument& out) {
    if (value <= 1) {
        WriteLiteral(lines.line[value].AsText(), out);
    } else {
        WriteNumber(lines.setName, value, out, lines.setText);
    }
}

}  // namespace corvuna
