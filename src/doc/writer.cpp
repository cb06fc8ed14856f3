#include "doc/writer.h"

#include <cstring>

namespace corvuna {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// "00" .. "99".
constexpr auto kDigitPairs = [] {
    struct Pairs {
        char text[200];
    } pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs.text[2 * i] = static_cast<char>('0' + i / 10);
        pairs.text[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Decimal text of an unsigned 64-bit value; its length (at most 20).
size_t FormatUnsigned(uint64_t value, char* text) {
    char digits[20];
    char* p = digits + sizeof digits;
    while (value >= 100) {
        const unsigned pair = static_cast<unsigned>(value % 100);
        value /= 100;
        p -= 2;
        p[0] = kDigitPairs.text[2 * pair];
        p[1] = kDigitPairs.text[2 * pair + 1];
    }
    if (value >= 10) {
        p -= 2;
        p[0] = kDigitPairs.text[2 * value];
        p[1] = kDigitPairs.text[2 * value + 1];
    } else {
        *--p = static_cast<char>('0' + value);
    }
    const size_t n = static_cast<size_t>(digits + sizeof digits - p);
    std::memcpy(text, p, n);
    return n;
}

size_t FormatSigned(int64_t value, char* text) {
    if (value >= 0) return FormatUnsigned(static_cast<uint64_t>(value), text);
    text[0] = '-';
    return 1 + FormatUnsigned(0 - static_cast<uint64_t>(value), text + 1);
}

char* OpenTag(char* p, Name name) {
    *p++ = '<';
    p = CopyChars(p, name.text, name.size);
    *p++ = '>';
    return p;
}

char* CloseTagLine(char* p, Name name) {
    *p++ = '<';
    *p++ = '/';
    p = CopyChars(p, name.text, name.size);
    *p++ = '>';
    *p++ = '\n';
    return p;
}

// Characters of "<name>" and "</name>\n" together.
constexpr size_t ElementTags(Name name) { return 2 * static_cast<size_t>(name.size) + 6; }

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
    doc.buffer = buffer;
    doc.length = length;
    doc.capacity = capacity;
    doc.required = length;
    return doc;
}

void Append(OutputDocument& out, const char* text, size_t n) {
    char* p = BeginPiece(out, n);
    if (p == nullptr) return;
    CopyChars(p, text, n);
    EndPiece(out, n);
}

void Append(OutputDocument& out, const char* text) { Append(out, text, std::strlen(text)); }

size_t FormatDecimal(int32_t value, char* text) { return FormatSigned(value, text); }

void WriteLineTag(Name name, OutputDocument& out) {
    const size_t length = static_cast<size_t>(name.size) + 3;
    char* p = BeginPiece(out, length);
    if (p == nullptr) return;
    p = OpenTag(p, name);
    *p = '\n';
    EndPiece(out, length);
}

void WriteCloseTag(Name name, OutputDocument& out) {
    const size_t length = static_cast<size_t>(name.size) + 4;
    char* p = BeginPiece(out, length);
    if (p == nullptr) return;
    CloseTagLine(p, name);
    EndPiece(out, length);
}

void WriteEmptyGroup(Name name, OutputDocument& out) {
    const size_t length = 2 * static_cast<size_t>(name.size) + 7;
    char* p = BeginPiece(out, length);
    if (p == nullptr) return;
    p = OpenTag(p, name);
    *p++ = '\n';
    CloseTagLine(p, name);
    EndPiece(out, length);
}

void WriteNumberElement(Name name, int32_t value, Text text, OutputDocument& out) {
    if (out.buffer == nullptr) return;
    char digits[16];
    const size_t n = FormatSigned(value, digits);
    const size_t length = ElementTags(name) + n + (text ? 2 + static_cast<size_t>(text.size) : 0);
    char* p = BeginPiece(out, length);
    if (p == nullptr) return;
    p = OpenTag(p, name);
    if (text) {
        *p++ = '(';
        p = CopyChars(p, digits, n);
        *p++ = ')';
        p = CopyChars(p, text.text, text.size);
    } else {
        p = CopyChars(p, digits, n);
    }
    CloseTagLine(p, name);
    EndPiece(out, length);
}

void WriteCharsElement(Name name, const char* chars, size_t count, OutputDocument& out) {
    const size_t length = ElementTags(name) + count;
    char* p = BeginPiece(out, length);
    if (p == nullptr) return;
    p = OpenTag(p, name);
    p = CopyChars(p, chars, count);
    CloseTagLine(p, name);
    EndPiece(out, length);
}

int WriteHexElement(Name name, const uint8_t* octets, OutputDocument& out, int count) {
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    const size_t length = ElementTags(name) + 2 + 2 * n;
    char* p = BeginPiece(out, length);
    if (p == nullptr) return 1;
    p = OpenTag(p, name);
    *p++ = '0';
    *p++ = 'x';
    for (size_t i = 0; i < n; ++i) {
        *p++ = kHexDigits[octets[i] >> 4];
        *p++ = kHexDigits[octets[i] & 0x0F];
    }
    CloseTagLine(p, name);
    EndPiece(out, length);
    return 1;
}

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
        const size_t n = FormatUnsigned(static_cast<uint32_t>(FetchValue(value, false, width)), number);
        Append(out, number, n);
    } else if (hasS) {
        const char* string = static_cast<const char*>(value);
        AppendFormatted(out, format, "%s", string, std::strlen(string));
    } else if (Contains(format, "%lu")) {
        const size_t n = FormatUnsigned(static_cast<uint32_t>(FetchValue(value, false, 4)), number);
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
