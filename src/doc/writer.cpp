#include "doc/writer.h"

#include <cstring>

namespace corvuna {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Decimal text of a signed 64-bit value into `text` (at least 21 chars).
size_t FormatSigned(int64_t value, char* text) {
    char digits[24];
    size_t n = 0;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    size_t len = 0;
    if (value < 0) text[len++] = '-';
    while (n > 0) text[len++] = digits[--n];
    return len;
}

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

}  // namespace

OutputDocument MakeDocument(char* buffer, size_t length, size_t capacity) {
    OutputDocument doc;
    doc.buffer = buffer;
    doc.length = length;
    doc.capacity = capacity;
    doc.required = length;
    return doc;
}

void Append(OutputDocument& out, const char* text, size_t n) {
    if (out.buffer == nullptr) return;
    out.required += n;
    if (out.truncated || out.length + n + 1 > out.capacity) {
        out.truncated = true;
        return;
    }
    std::memcpy(out.buffer + out.length, text, n);
    out.length += n;
    out.buffer[out.length] = '\0';
}

void Append(OutputDocument& out, const char* text) { Append(out, text, std::strlen(text)); }

namespace {

// Writes "<" + trimmed name with blanks as "_" + ">" and returns the span
// of the name as written, for the closing tag.
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

void WriteTag(const char* name, const char* suffix, OutputDocument& out) {
    if (out.buffer == nullptr) return;
    Append(out, "<", 1);
    AppendTagName(out, name);
    Append(out, ">", 1);
    if (suffix != nullptr) Append(out, suffix);
}

void WriteCloseTag(const char* name, OutputDocument& out) {
    if (out.buffer == nullptr) return;
    Append(out, "</", 2);
    AppendTagName(out, name);
    Append(out, ">\n", 2);
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
        const size_t n = FormatSigned(FetchValue(value, true, width), number);
        if (text != nullptr) {
            Append(out, "(", 1);
            Append(out, number, n);
            Append(out, ")", 1);
            Append(out, text);
        } else {
            Append(out, number, n);
        }
    } else if (hasLd) {
        const size_t n = FormatSigned(FetchValue(value, true, 4), number);
        AppendFormatted(out, format, "%ld", number, n);
    } else if (Contains(format, "0x%s") && Contains(format, ": %s")) {
        Append(out, "0x", 2);
        Append(out, static_cast<const char*>(value));
    } else if (Contains(format, "%lu") && hasS) {
        const size_t n =
            FormatSigned(static_cast<uint32_t>(FetchValue(value, false, width)), number);
        Append(out, number, n);
    } else if (hasS) {
        const char* string = static_cast<const char*>(value);
        AppendFormatted(out, format, "%s", string, std::strlen(string));
    } else if (Contains(format, "%lu")) {
        const size_t n = FormatSigned(static_cast<uint32_t>(FetchValue(value, false, 4)), number);
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

int WriteHexElement(const char* name, const uint8_t* octets, OutputDocument& out, int count) {
    if (out.buffer == nullptr) return 1;
    Append(out, "<", 1);
    Append(out, name);
    Append(out, ">0x", 3);
    char pair[2];
    for (int i = 0; i < count; ++i) {
        pair[0] = kHexDigits[octets[i] >> 4];
        pair[1] = kHexDigits[octets[i] & 0x0F];
        Append(out, pair, 2);
    }
    Append(out, "</", 2);
    Append(out, name);
    Append(out, ">\n", 2);
    return 1;
}

}  // namespace corvuna
