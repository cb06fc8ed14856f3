// Writers of the output document.
//
// The document is a sequence of lines: structure tags ("<NAME>" or
// "</NAME>") alone on their line, and one-line value elements
// ("<NAME>value</NAME>").  The codecs write every line through the line
// writers below, which take names and texts measured when the code was
// compiled and check the room once per line.  WriteTag and MakeXml are the
// general writers, for names and formats known only at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "doc/value_text.h"

namespace corvuna {

// The caller's text buffer as the renderers see it: where it is, where the
// string in it currently ends and how much room it has.  Appends never
// rescan the string and never write past `capacity`; a line that does not
// fit sets `truncated` and is not written, nor is anything after it, but
// `required` keeps counting the length the whole document would have had.
struct OutputDocument {
    char* buffer = nullptr;  // null: a handle without a buffer (writes nothing)
    size_t length = 0;       // index of the terminating NUL
    size_t capacity = 0;     // characters available, terminating NUL included
    size_t required = 0;     // string length if nothing had been truncated
    bool truncated = false;
};

// A handle over `buffer`, whose string is `length` characters long.
OutputDocument MakeDocument(char* buffer, size_t length, size_t capacity);

// ---------------------------------------------------------------------------
// Line writing

// Where a piece of `length` characters goes, or null when it is not to be
// written (no buffer, no room, or an earlier piece did not fit); counts it
// in `required` either way.
inline char* BeginPiece(OutputDocument& out, size_t length) {
    if (out.buffer == nullptr) return nullptr;
    out.required += length;
    if (out.truncated || length + 1 > out.capacity - out.length) {
        out.truncated = true;
        return nullptr;
    }
    return out.buffer + out.length;
}

// Ends a piece that BeginPiece placed, keeping the string terminated.
inline void EndPiece(OutputDocument& out, size_t length) {
    out.length += length;
    out.buffer[out.length] = '\0';
}

// Copies `n` characters without reading a byte outside the source; short
// runs, the common case, go without a library call.
inline char* CopyChars(char* to, const char* from, size_t n) {
    if (n >= 16) {
        char* const end = to + n;
        const char* const last = from + n - 16;
        for (; n > 16; n -= 16, to += 16, from += 16) std::memcpy(to, from, 16);
        std::memcpy(end - 16, last, 16);
        return end;
    }
    if (n >= 8) {
        uint64_t a, b;
        std::memcpy(&a, from, 8);
        std::memcpy(&b, from + n - 8, 8);
        std::memcpy(to, &a, 8);
        std::memcpy(to + n - 8, &b, 8);
    } else if (n >= 4) {
        uint32_t a, b;
        std::memcpy(&a, from, 4);
        std::memcpy(&b, from + n - 4, 4);
        std::memcpy(to, &a, 4);
        std::memcpy(to + n - 4, &b, 4);
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
    return to + n;
}

// Appends `n` characters (all or nothing) and keeps the string terminated.
void Append(OutputDocument& out, const char* text, size_t n);
void Append(OutputDocument& out, const char* text);

// Decimal text of `value` into `text` (at least 11 characters); its length.
size_t FormatDecimal(int32_t value, char* text);

// "<name>\n" and "</name>\n".
void WriteLineTag(Name name, OutputDocument& out);
void WriteCloseTag(Name name, OutputDocument& out);
// A group with nothing inside: the opening and the closing tag.
void WriteEmptyGroup(Name name, OutputDocument& out);

// "<name>" + value + "</name>\n", or "<name>(" + value + ")" + text +
// "</name>\n" when there is a text.
void WriteNumberElement(Name name, int32_t value, Text text, OutputDocument& out);

// The same for an integer field: its value is taken as the signed integer
// of the field's width, as the document has always printed it (an 8-bit
// 0xC8 is -56, a 32-bit 0x80000001 is -2147483647).
template <typename Field>
void WriteNumber(Name name, const Field& field, OutputDocument& out, Text text = {}) {
    static_assert(std::is_integral_v<Field> && (sizeof(Field) == 1 || sizeof(Field) == 2 || sizeof(Field) == 4),
                  "a number element is an 8-, 16- or 32-bit integer field");
    WriteNumberElement(name, static_cast<int32_t>(static_cast<std::make_signed_t<Field>>(field)), text, out);
}

// "<name>" + the characters + "</name>\n", copied as they are.
void WriteCharsElement(Name name, const char* chars, size_t count, OutputDocument& out);
// The same for a NUL-terminated string, and for a literal.
inline void WriteString(Name name, const char* string, OutputDocument& out) {
    WriteCharsElement(name, string, std::strlen(string), out);
}
inline void WriteText(Name name, Text text, OutputDocument& out) { WriteCharsElement(name, text.text, text.size, out); }

// "<name>0x" + `count` octets as two upper-case hex digits each + "</name>\n"
// (nothing between "0x" and the closing tag for a count of 0 or less).
int WriteHexElement(Name name, const uint8_t* octets, OutputDocument& out, int count);

// A group: the tag `name`, the lines `render` writes for `value`, the
// closing tag.
template <typename Value, typename Render>
void WriteGroup(Name name, const Value& value, Render render, OutputDocument& out) {
    WriteLineTag(name, out);
    render(value, out);
    WriteCloseTag(name, out);
}

// ---------------------------------------------------------------------------
// General writers

// "<" + name + ">" with the name trimmed of leading and trailing blanks and
// inner blanks turned into "_", then the suffix when given.
void WriteTag(const char* name, const char* suffix, OutputDocument& out);

// One value element on one line.  `format` selects how the value at
// `value` is written ("%ld:%s" integers with an optional value text, "%s"
// strings, "%lu" unsigned integers ...); `width` is the integer field's
// size in octets (1, 2, or 4; -1 acts as 4).  Returns false when the buffer
// is absent or the format is not supported.
bool MakeXml(const char* name, const char* format, const void* value, OutputDocument& out, const char* text,
             int width);

// The integer of `width` octets at `pointer`, sign- or zero-extended.
int32_t FetchValue(const void* pointer, bool isSigned, int width);

}  // namespace corvuna
