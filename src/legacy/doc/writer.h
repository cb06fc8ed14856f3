// SPDX-License-Identifier: Apache-2.0
// Writers of the output document.
//
// The document is a sequence of lines: structure tags ("<NAME>" or
// "</NAME>") alone on their line, and one-line value elements
// ("<NAME>value</NAME>").  The codecs write every line through the line
// writers below, which take names and texts measured when the code was
// compiled and check the room once per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "common/decimal.h"
#include "legacy/doc/value_text.h"

namespace corvuna {

// The caller's text buffer as the renderers see it: where it is, where the
// string in it currently ends and how much room is left.  Appends never
// rescan the string and never write past the capacity; a piece that does
// not fit sets `truncated` and is not written, nor is anything after it, but
// the characters missed are counted, so that Required() tells the length the
// whole document would have had.
struct OutputDocument {
    char* buffer = nullptr;  // null: a handle without a buffer (writes nothing)
    char* end = nullptr;     // the terminating NUL
    size_t room = 0;         // characters that may still be appended, NUL apart
    size_t missed = 0;       // characters of the pieces not written
    bool truncated = false;

    size_t Length() const { return buffer == nullptr ? 0 : static_cast<size_t>(end - buffer); }
    size_t Required() const { return Length() + missed; }
};

// A handle over `buffer` of `capacity` characters (terminating NUL
// included), whose string is `length` characters long.
OutputDocument MakeDocument(char* buffer, size_t length, size_t capacity);

// ---------------------------------------------------------------------------
// Line writing

// The case of BeginPiece where the piece does not fit, or there is no buffer.
char* RefusePiece(OutputDocument& out, size_t length);

// Where a piece of `length` characters goes, or null when it is not to be
// written (no buffer, no room, or an earlier piece did not fit).
[[gnu::always_inline]] inline char* BeginPiece(OutputDocument& out, size_t length) {
    if (length >= out.room) return RefusePiece(out, length);
    char* p = out.end;
    out.end = p + length;
    out.room -= length;
    return p;
}

// Ends a piece that BeginPiece placed, keeping the string terminated.
[[gnu::always_inline]] inline void EndPiece(OutputDocument& out) { *out.end = '\0'; }



namespace detail {

// A signed 32-bit value as its sign and magnitude, and the characters it
// takes.
struct Decimal {
    uint32_t magnitude;
    bool negative;
    size_t size;  // characters, sign included

    explicit Decimal(int32_t value)
        : magnitude(value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value)),
          negative(value < 0),
          size(DecimalDigits(magnitude) + (value < 0 ? 1 : 0)) {}

    // Writes the text at `p`; the four characters after `p` (sign
    // included) may be overwritten whatever the size, so the caller keeps
    // at least four characters of the line after it.
    [[gnu::always_inline]] char* Put(char* p) const {
        if (negative) *p++ = '-';
        const size_t digits = size - (negative ? 1 : 0);
        if (magnitude < 1000) {
            std::memcpy(p, kSmallDecimals.text + 4 * magnitude, 4);
        } else {
            PutDigits(p, magnitude, digits);
        }
        return p + digits;
    }
};

[[gnu::always_inline]] inline char* OpenTag(char* p, Name name) {
    *p++ = '<';
    p = CopyChars(p, name.text, name.size);
    *p++ = '>';
    return p;
}

[[gnu::always_inline]] inline char* CloseTagLine(char* p, Name name) {
    *p++ = '<';
    *p++ = '/';
    p = CopyChars(p, name.text, name.size);
    *p++ = '>';
    *p++ = '\n';
    return p;
}

// Characters of "<name>" and "</name>\n" together.
constexpr size_t ElementTags(Name name) { return 2 * static_cast<size_t>(name.size) + 6; }

}  // namespace detail

// Characters copied into the document as they are (whole lines).
[[gnu::always_inline]] inline void WriteLiteral(Text text, OutputDocument& out) {
    char* p = BeginPiece(out, text.size);
    if (p == nullptr) return;
    CopyChars(p, text.text, text.size);
    EndPiece(out);
}


// The line writers are inline: a name known where the call is compiled
// becomes a fixed copy.

// "<name>\n" and "</name>\n".
[[gnu::always_inline]] inline void WriteLineTag(Name name, OutputDocument& out) {
    const size_t length = static_cast<size_t>(name.size) + 3;
    char* p = BeginPiece(out, length);
    if (p == nullptr) return;
    p = detail::OpenTag(p, name);
    *p = '\n';
    EndPiece(out);
}

[[gnu::always_inline]] inline void WriteCloseTag(Name name, OutputDocument& out) {
    const size_t length = static_cast<size_t>(name.size) + 4;
    char* p = BeginPiece(out, length);
    if (p == nullptr) return;
    detail::CloseTagLine(p, name);
    EndPiece(out);
}

// A group with nothing inside: the opening and the closing tag.
inline void WriteEmptyGroup(Name name, OutputDocument& out) {
    WriteLineTag(name, out);
    WriteCloseTag(name, out);
}

// "<name>" + value + "</name>\n", or "<name>(" + value + ")" + text +
// "</name>\n" when there is a text.
[[gnu::always_inline]] inline void WriteNumberElement(Name name, int32_t value, Text text, OutputDocument& out) {
    const detail::Decimal decimal(value);
    const size_t length =
        detail::ElementTags(name) + decimal.size + (text ? 2 + static_cast<size_t>(text.size) : 0);
    char* p = BeginPiece(out, length);
    if (p == nullptr) return;
    p = detail::OpenTag(p, name);
    if (text) {
        *p++ = '(';
        p = decimal.Put(p);
        *p++ = ')';
        p = CopyChars(p, text.text, text.size);
    } else {
        p = decimal.Put(p);
    }
    detail::CloseTagLine(p, name);
    EndPiece(out);
}

// The same for an integer field: its value is taken as the signed integer
// of the field's width, as the document has always printed it (an 8-bit
// 0xC8 is -56, a 32-bit 0x80000001 is -2147483647).
template <typename Field>
[[gnu::always_inline]] inline void WriteNumber(Name name, const Field& field, OutputDocument& out, Text text = {}) {
    static_assert(std::is_integral_v<Field> && (sizeof(Field) == 1 || sizeof(Field) == 2 || sizeof(Field) == 4),
                  "a number element is an 8-, 16- or 32-bit integer field");
    WriteNumberElement(name, static_cast<int32_t>(static_cast<std::make_signed_t<Field>>(field)), text, out);
}

// "<name>" + the characters + "</name>\n", copied as they are.
inline void WriteCharsElement(Name name, const char* chars, size_t count, OutputDocument& out) {
    const size_t length = detail::ElementTags(name) + count;
    char* p = BeginPiece(out, length);
    if (p == nullptr) return;
    p = detail::OpenTag(p, name);
    p = CopyChars(p, chars, count);
    detail::CloseTagLine(p, name);
    EndPiece(out);
}
// The same for a NUL-terminated string, and for a literal.
inline void WriteString(Name name, const char* string, OutputDocument& out) {
    WriteCharsElement(name, string, std::strlen(string), out);
}
inline void WriteText(Name name, Text text, OutputDocument& out) { WriteCharsElement(name, text.text, text.size, out); }

namespace detail {

// "00" .. "FF", upper case.
struct HexPairs {
    char text[512];
};
inline constexpr HexPairs kHexPairs = [] {
    constexpr char kDigits[] = "0123456789ABCDEF";
    HexPairs pairs{};
    for (int i = 0; i < 256; ++i) {
        pairs.text[2 * i] = kDigits[i >> 4];
        pairs.text[2 * i + 1] = kDigits[i & 0x0F];
    }
    return pairs;
}();

}  // namespace detail

// "<name>0x" + `count` octets as two upper-case hex digits each + "</name>\n"
// (nothing between "0x" and the closing tag for a count of 0 or less).
[[gnu::always_inline]] inline int WriteHexElement(Name name, const uint8_t* octets, OutputDocument& out, int count) {
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    const size_t length = detail::ElementTags(name) + 2 + 2 * n;
    char* p = BeginPiece(out, length);
    if (p == nullptr) return 1;
    p = detail::OpenTag(p, name);
    *p++ = '0';
    *p++ = 'x';
    for (size_t i = 0; i < n; ++i, p += 2) std::memcpy(p, detail::kHexPairs.text + 2 * octets[i], 2);
    detail::CloseTagLine(p, name);
    EndPiece(out);
    return 1;
}

// A group: the tag `name`, the lines `render` writes for `value`, the
// closing tag.
template <typename Value, typename Render>
void WriteGroup(Name name, const Value& value, Render render, OutputDocument& out) {
    WriteLineTag(name, out);
    render(value, out);
    WriteCloseTag(name, out);
}

// The group of an optional IE, when the message holds it.
template <typename Value, typename Render>
[[gnu::always_inline]] inline void WriteIfPresent(uint8_t present, Name name, const Value& value, Render render,
                                                  OutputDocument& out) {
    if (present) WriteGroup(name, value, render, out);
}

}  // namespace corvuna
