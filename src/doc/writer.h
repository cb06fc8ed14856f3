// Writers of the output document.
//
// The document is a sequence of lines: structure tags ("<NAME>" or
// "</NAME>") alone on their line, and one-line value elements
// ("<NAME>value</NAME>").  Every byte of the document is written through
// WriteTag, MakeXml and WriteHexElement.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvuna {

// The caller's text buffer as the renderers see it: where it is, where the
// string in it currently ends and how much room it has.  Appends never
// rescan the string and never write past `capacity`; an append that does
// not fit sets `truncated` and writes nothing, but `required` keeps counting
// the length the whole document would have had.
struct OutputDocument {
    char* buffer = nullptr;  // null: a handle without a buffer (writes nothing)
    size_t length = 0;       // index of the terminating NUL
    size_t capacity = 0;     // characters available, terminating NUL included
    size_t required = 0;     // string length if nothing had been truncated
    bool truncated = false;
};

// A handle over `buffer`, whose string is `length` characters long.
OutputDocument MakeDocument(char* buffer, size_t length, size_t capacity);

// Appends `n` characters (all or nothing) and keeps the string terminated.
void Append(OutputDocument& out, const char* text, size_t n);
void Append(OutputDocument& out, const char* text);

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

// "<name>0x" + `count` octets as two upper-case hex digits each + "</name>\n".
int WriteHexElement(const char* name, const uint8_t* octets, OutputDocument& out, int count);

// The integer of `width` octets at `pointer`, sign- or zero-extended.
int32_t FetchValue(const void* pointer, bool isSigned, int width);

// Shorthands for the common element forms.
// "%ld:%s" with an optional value text.
inline void WriteNumber(const char* name, const void* field, int width, OutputDocument& out,
                        const char* text = nullptr) {
    MakeXml(name, "%ld:%s", field, out, text, width);
}
// "%s" string element.
inline void WriteString(const char* name, const char* text, OutputDocument& out) {
    MakeXml(name, "%s", text, out, nullptr, -1);
}
// A structure tag on its own line.
inline void WriteLineTag(const char* name, OutputDocument& out) { WriteTag(name, "\n", out); }
// The closing tag "</name>" on its own line.
void WriteCloseTag(const char* name, OutputDocument& out);

// A group: the tag `name`, the lines `render` writes for `value`, the
// closing tag.
template <typename Value, typename Render>
void WriteGroup(const char* name, const Value& value, Render render, OutputDocument& out) {
    WriteLineTag(name, out);
    render(value, out);
    WriteCloseTag(name, out);
}

}  // namespace corvuna
