// SPDX-License-Identifier: Apache-2.0
#include "doc/writer.h"

#include <cstring>

namespace corvuna {

namespace {

bool Contains(const char* haystack, const char* needle) { return std::strstr(haystack, needle) != nullptr; }

// The caller's format with its one conversion (`conversion`, such as "%ld")
// replaced by `replacement`; "%%" stands for "%".
void AppendFormatted(OutputDocument& out, const char* format, const char* conversion, const char* replacement,
                     size_t replacementLength) {
    const size_t conversionLength = std::strlen(conversion);
    bool substituted = false;
    const char* run = format;
    const char* p = format;
    while (*p != '\0') {
        if (p[0] == '%' && p[1] == '%') {
            Append(out, run, static_cast<size_t>(p - run) + 1);
            p += 2;
            run = p;
        } else if (!substituted && std::strncmp(p, conversion, conversionLength) == 0) {
            Append(out, run, static_cast<size_t>(p - run));
            Append(out, replacement, replacementLength);
            substituted = true;
            p += conversionLength;
            run = p;
        } else {
            ++p;
        }
    }
    Append(out, run, static_cast<size_t>(p - run));
}

// Writes the name trimmed of blanks at both ends, inner blanks as "_".
void AppendTagName(OutputDocument& out, const char* name) {
    const char* begin = name;
    while (*begin == ' ') ++begin;
    const char* end = begin + std::strlen(begin);
    while (end > begin && end[-1] == ' ') --end;
    for (const char* p = begin; p < end;) {
        const char* blank = static_cast<const char*>(std::memchr(p, ' ', static_cast<size_t>(end - p)));
        const char* stop = blank != nullptr ? blank : end;
        Append(out, p, static_cast<size_t>(stop - p));
        if (blank == nullptr) break;
        Append(out, "_", 1);
        p = blank + 1;
    }
}

}  // namespace

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

void Append(OutputDocument& out, const char* text, size_t n) {
    char* p = BeginPiece(out, n);
    if (p == nullptr) return;
    CopyChars(p, text, n);
    EndPiece(out);
}

void Append(OutputDocument& out, const char* text) { Append(out, text, std::strlen(text)); }


void WriteTag(const char* name, const char* suffix, OutputDocument& out) {
    if (out.buffer == nullptr) return;
    Append(out, "<", 1);
    AppendTagName(out, name);
    Append(out, ">", 1);
    if (suffix != nullptr) Append(out, suffix);
}

int32_t FetchValue(const void* pointer, bool isSigned, int width) {
    if (width == 1) {
        uint8_t v;
        std::memcpy(&v, pointer, 1);
        return isSigned ? static_cast<int32_t>(static_cast<int8_t>(v)) : static_cast<int32_t>(v);
    }
    if (width == 2) {
        uint16_t v;
        std::memcpy(&v, pointer, 2);
        return isSigned ? static_cast<int32_t>(static_cast<int16_t>(v)) : static_cast<int32_t>(v);
    }
    int32_t v;
    std::memcpy(&v, pointer, 4);
    return v;
}

bool MakeXml(const char* name, const char* format, const void* value, OutputDocument& out, const char* text,
             int width) {
    if (out.buffer == nullptr) return false;
    WriteTag(name, nullptr, out);
    bool ok = true;
    char number[24];
    const bool hasLd = Contains(format, "%ld");
    const bool hasS = Contains(format, "%s");
    if (hasLd && hasS) {
        const size_t n = FormatDecimal64(FetchValue(value, true, width), number);
        if (text != nullptr) {
            Append(out, "(", 1);
            Append(out, number, n);
            Append(out, ")", 1);
            Append(out, text);
        } else {
            Append(out, number, n);
        }
    } else if (hasLd) {
        const size_t n = FormatDecimal64(FetchValue(value, true, 4), number);
        AppendFormatted(out, format, "%ld", number, n);
    } else if (Contains(format, "0x%s") && Contains(format, ": %s")) {
        Append(out, "0x", 2);
        Append(out, static_cast<const char*>(value));
    } else if (Contains(format, "%lu") && hasS) {
        const size_t n = FormatUnsigned64(static_cast<uint32_t>(FetchValue(value, false, width)), number);
        Append(out, number, n);
    } else if (hasS) {
        const char* string = static_cast<const char*>(value);
        AppendFormatted(out, format, "%s", string, std::strlen(string));
    } else if (Contains(format, "%lu")) {
        const size_t n = FormatUnsigned64(static_cast<uint32_t>(FetchValue(value, false, 4)), number);
        AppendFormatted(out, format, "%lu", number, n);
    } else {
        Append(out, "format error in MakeXml function");
        ok = false;
    }
    Append(out, "</", 2);
    AppendTagName(out, name);
    Append(out, ">\n", 2);
    return ok;
}

}  // namespace corvuna
