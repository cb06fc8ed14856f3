// SPDX-License-Identifier: Apache-2.0
#include "view/text_sink.h"

namespace corvuna::view {

namespace {

constexpr char kHex[] = "0123456789abcdef";

// Blanks of the deepest indentation, padded for block copies.
struct Indent {
    char text[256];
};
constexpr Indent kIndent = [] {
    Indent indent{};
    for (char& c : indent.text) c = ' ';
    return indent;
}();

// Per byte: whether the text tree shows it as it is.
constexpr auto kTextPlain = [] {
    struct Table {
        bool plain[256];
    } table{};
    for (int i = 0x20; i < 0x7F; ++i) table.plain[i] = true;
    return table;
}();

size_t IndentOf(int depth) {
    const size_t indent = static_cast<size_t>(depth > 0 ? depth : 0) * 4;
    return indent < 200 ? indent : 200;
}

}  // namespace

TextSink::TextSink(char* buffer, size_t capacity) : Sink(buffer, capacity, kFastRoom) {}

// The indentation of `depth` and the label's text at `p`.
char* FastLabel(char* p, int depth, Label label) {
    const size_t indent = IndentOf(depth);
    for (size_t i = 0; i < indent; i += 32) std::memcpy(p + i, kIndent.text, 32);
    p += indent;
    const Text text = label.text();
    return CopyChars(p, text.text, text.size);
}

char* TextSink::FastLine(char* p, Label label) const {
    p = FastLabel(p, depth_, label);
    p[0] = ':';
    p[1] = ' ';
    return p + 2;
}

bool TextSink::Line(Label label) {
    if (!Admit()) return false;
    Put(kIndent.text, IndentOf(depth_));
    Put(label.text());
    Put(": ", 2);
    return true;
}

void TextSink::Begin(Label label) {
    if (Fast()) {
        char* p = FastLabel(cur_, depth_, label);
        *p++ = '\n';
        cur_ = p;
        ++depth_;
        return;
    }
    if (Admit()) {
        Put(kIndent.text, IndentOf(depth_));
        Put(label.text());
        PutChar('\n');
    }
    ++depth_;
}

void TextSink::BeginNoted(Label label, std::string_view note) {
    if (Line(label)) {
        Put(note);
        PutChar('\n');
    }
    ++depth_;
}

void TextSink::Number(Label label, int64_t value) {
    if (Fast()) {
        char* p = FastDecimal(FastLine(cur_, label), value);
        *p++ = '\n';
        cur_ = p;
        return;
    }
    if (!Line(label)) return;
    PutDecimal(value);
    PutChar('\n');
}

void TextSink::Quantity(Label label, int64_t value, Text unit) {
    if (!Line(label)) return;
    PutDecimal(value);
    PutChar(' ');
    Put(unit);
    PutChar('\n');
}

// "text (value)", or the value alone where there is no text: `fast`
// writes the value at a position of the fast path and returns its end,
// `put` writes it on the checked path.
template <typename FastValue, typename PutValue>
[[gnu::always_inline]] inline void TextSink::TextAndValue(Label label, Text text, FastValue fast, PutValue put) {
    if (Fast() && text.size <= kFastValue) {
        char* p = FastLine(cur_, label);
        if (text) {
            p = FastCopy(p, text.text, text.size);
            p[0] = ' ';
            p[1] = '(';
            p += 2;
        }
        p = fast(p);
        if (text) *p++ = ')';
        *p++ = '\n';
        cur_ = p;
        return;
    }
    if (!Line(label)) return;
    if (text) {
        Put(text);
        Put(" (", 2);
    }
    put();
    if (text) PutChar(')');
    PutChar('\n');
}

void TextSink::Enum(Label label, int64_t value, Text text) {
    TextAndValue(
        label, text, [value](char* p) { return FastDecimal(p, value); }, [this, value] { PutDecimal(value); });
}

void TextSink::EnumHex(Label label, uint32_t value, int digits, Text text) {
    char hex[12] = {'0', 'x'};
    if (digits < 1) digits = 1;
    if (digits > 8) digits = 8;
    for (int i = 0; i < digits; ++i) hex[2 + i] = kHex[(value >> (4 * (digits - 1 - i))) & 0x0F];
    const size_t n = static_cast<size_t>(2 + digits);
    TextAndValue(
        label, text, [&hex, n](char* p) { return FastCopy(p, hex, n); }, [this, &hex, n] { Put(hex, n); });
}

void TextSink::HexNumber(Label label, uint32_t value, int digits) { EnumHex(label, value, digits, Text()); }

void TextSink::String(Label label, std::string_view value, bool utf8) {
    if (!Line(label)) return;
    TextValue(value, utf8);
    PutChar('\n');
}

void TextSink::Ascii(Label label, std::string_view value) {
    if (Fast() && value.size() <= kFastValue) {
        char* p = FastCopy(FastLine(cur_, label), value.data(), value.size());
        *p++ = '\n';
        cur_ = p;
        return;
    }
    if (!Line(label)) return;
    Put(value);
    PutChar('\n');
}

void TextSink::Hex(Label label, const uint8_t* octets, size_t count) {
    if (Fast() && 2 * count <= kFastValue) {
        char* p = FastHex(FastLine(cur_, label), octets, count);
        *p++ = '\n';
        cur_ = p;
        return;
    }
    if (!Line(label)) return;
    PutHex(octets, count);
    PutChar('\n');
}

void TextSink::BeginRecord(Label member) {
    // The heading is the record's first line; a record inside a caller's
    // group is a node of its own.
    if (member) Begin(member);
}

void TextSink::Heading(int direction, size_t length) {
    char note[48];
    char* p = note;
    p = direction == 1 ? FastLiteral(p, "uplink, ") : FastLiteral(p, "downlink, ");
    p += FormatUnsigned64(length, p);
    p = length == 1 ? FastLiteral(p, " octet") : FastLiteral(p, " octets");
    BeginNoted("NAS message"_f, std::string_view(note, static_cast<size_t>(p - note)));
}

void TextSink::EndRecord(const RecordEnd& end) {
    Ascii("Result"_f, ResultWords(end.result));
    if (end.stopped != nullptr) {
        Begin("Stopped"_f);
        Number("Offset"_f, static_cast<int64_t>(end.stopped->offset));
        if (end.stopped->ie) String("IE"_f, end.stopped->ie.textView());
        String("Reason"_f, end.stopped->Reason());
        End();
    }
    Close();
}

void TextSink::BeginMessage(Label member) {
    if (flatDepth_ < 0) {
        flatDepth_ = depth_;
        return;
    }
    Begin(member);
}

void TextSink::EndMessage() {
    if (depth_ != flatDepth_) Close();
}

void TextSink::Error(const ErrorNote& note) {
    Begin("Error"_f);
    Number("Offset"_f, static_cast<int64_t>(note.offset));
    if (note.ie) String("IE"_f, note.ie.textView());
    String("Reason"_f, note.Reason());
    End();
}

void TextSink::PutNumbered(size_t offset, size_t length) {
    Put("offset ", 7);
    PutDecimal(static_cast<int64_t>(offset));
    Put(", ", 2);
    PutDecimal(static_cast<int64_t>(length));
    if (length == 1) {
        Put(" octet\n", 7);
    } else {
        Put(" octets\n", 8);
    }
}

void TextSink::BeginIe(const IePlace& place) {
    // "role: [type ]clause, offset N, L octets"; the type only where the
    // message table names the IE otherwise.
    const bool named = place.type.size == place.role.text().size &&
                       std::memcmp(place.type.text, place.role.text().text, place.type.size) == 0;
    if (Fast() && place.type.size + place.reference.size <= kFastValue - 64) {
        char* p = FastLine(cur_, place.role);
        if (!named) {
            p = FastCopy(p, place.type.text, place.type.size);
            *p++ = ' ';
        }
        p = FastCopy(p, place.reference.text, place.reference.size);
        p = FastLiteral(p, ", offset ");
        p = FastDecimal(p, static_cast<int64_t>(place.offset));
        p = FastLiteral(p, ", ");
        p = FastDecimal(p, static_cast<int64_t>(place.length));
        p = place.length == 1 ? FastLiteral(p, " octet\n") : FastLiteral(p, " octets\n");
        cur_ = p;
        ++depth_;
        return;
    }
    if (Line(place.role)) {
        if (!named) {
            Put(place.type);
            PutChar(' ');
        }
        Put(place.reference);
        Put(", ", 2);
        PutNumbered(place.offset, place.length);
    }
    ++depth_;
}

void TextSink::ExtraIe(uint8_t iei, bool repeated, size_t offset, Octets octets) {
    if (Line(repeated ? "Repeated IE (ignored)"_f : "Unknown IE"_f)) {
        const char iei_text[] = {'I', 'E', 'I', ' ', '0', 'x', kHex[iei >> 4], kHex[iei & 0x0F], ',', ' '};
        Put(iei_text, sizeof iei_text);
        PutNumbered(offset, octets.size);
    }
    ++depth_;
    Hex("Octets"_f, octets);
    Close();
}

void TextSink::TextValue(std::string_view value, bool utf8) {
    size_t run = 0;
    const size_t n = value.size();
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (kTextPlain.plain[c] || (utf8 && c >= 0x80)) continue;
        Put(value.data() + run, i - run);
        run = i + 1;
        const char escape[4] = {'\\', 'x', kHex[c >> 4], kHex[c & 0x0F]};
        Put(escape, 4);
    }
    Put(value.data() + run, n - run);
}

}  // namespace corvuna::view
