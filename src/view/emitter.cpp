// SPDX-License-Identifier: Apache-2.0
#include "view/emitter.h"

#include "doc/writer.h"

namespace corvuna::view {

namespace {

constexpr char kHex[] = "0123456789abcdef";
constexpr char kIndent[] =
    "                                                                                                    "
    "                                                                                                    ";

// Per byte: whether a JSON string holds it as it is (UTF-8 continuation
// and lead bytes apart).
constexpr auto kJsonPlain = [] {
    struct Table {
        bool plain[256];
    } table{};
    for (int i = 0x20; i < 0x80; ++i) table.plain[i] = i != '"' && i != '\\';
    return table;
}();

// Per byte: whether the text tree shows it as it is.
constexpr auto kTextPlain = [] {
    struct Table {
        bool plain[256];
    } table{};
    for (int i = 0x20; i < 0x7F; ++i) table.plain[i] = true;
    return table;
}();

}  // namespace

Emitter::Emitter(Format format, char* buffer, size_t capacity)
    : format_(format), buffer_(buffer), cur_(buffer), limit_(buffer) {
    if (buffer != nullptr && capacity > 0) {
        buffer[0] = '\0';
        limit_ = buffer + (capacity - 1);
    }
    state_[0] = kInList;  // the root object has no key
    if (buffer != nullptr && capacity > kFastRoom + 1) {
        const size_t end = capacity - 1 - kFastRoom;
        fastEnd_ = static_cast<ptrdiff_t>(end < kOutputLimit ? end : kOutputLimit);
    }
}

void Emitter::Miss(size_t n) {
    missed_ += n;
    limit_ = cur_;  // nothing after a piece that did not fit
    fastEnd_ = -1;
}

void Emitter::Finish() {
    if (buffer_ == nullptr) return;
    if (missed_ > 0) {
        buffer_[0] = '\0';
    } else {
        *cur_ = '\0';
    }
}

const char* Emitter::SmallDecimal(int64_t value) { return corvuna::detail::kSmallDecimals.text + 4 * value; }

size_t Emitter::FormatLongDecimal(int64_t value, char* p) { return static_cast<size_t>(FormatDecimal64(value, p)); }

void Emitter::PutLongDecimal(int64_t value) {
    char digits[24];
    Put(digits, static_cast<size_t>(FormatDecimal64(value, digits)));
}

void Emitter::TextLine(Label label) {
    const size_t indent = static_cast<size_t>(depth_) * 4;
    Put(kIndent, indent < sizeof kIndent - 1 ? indent : sizeof kIndent - 1);
    Put(label.text());
}

bool Emitter::Key(Label label) {
    if (!limited_ && !resumed_ && Required() > kOutputLimit) {
        limited_ = true;
        limitDepth_ = depth_;
    }
    if (limited_) return false;
    if (format_ == Format::kText) {
        TextLine(label);
        return true;
    }
    const int slot = Slot();
    const bool comma = (state_[slot] & kHasMember) != 0;
    state_[slot] |= kHasMember;
    if ((state_[slot] & kInList) != 0 || !label) {
        if (comma) PutChar(',');
        return true;
    }
    const LabelData* d = label.data();
    if (comma) {
        PutKey(d->key, d->keySize);
    } else {
        PutKey(d->key + 1, d->keySize - 1);
    }
    return true;
}

void Emitter::Close(char closer) {
    const int closing = depth_;
    if (depth_ > 0) --depth_;
    if (format_ == Format::kJson && (!limited_ || closing <= limitDepth_)) PutChar(closer);
}

void Emitter::Begin(Label label) {
    if (format_ == Format::kJson && Fast()) {
        char* p = FastKey(cur_, label);
        *p++ = '{';
        cur_ = p;
    } else if (Key(label)) {
        PutChar(format_ == Format::kJson ? '{' : '\n');
    }
    Open(false);
}

void Emitter::BeginNoted(Label label, std::string_view note) {
    if (format_ == Format::kJson) {
        Begin(label);
        return;
    }
    if (Key(label)) {
        Put(": ", 2);
        Put(note);
        PutChar('\n');
    }
    Open(false);
}

void Emitter::BeginList(Label label) {
    if (format_ == Format::kJson && Fast()) {
        char* p = FastKey(cur_, label);
        *p++ = '[';
        cur_ = p;
    } else if (Key(label)) {
        PutChar(format_ == Format::kJson ? '[' : '\n');
    }
    Open(true);
}

void Emitter::Number(Label label, int64_t value) {
    if (format_ == Format::kJson && Fast()) {
        cur_ = FastDecimal(FastKey(cur_, label), value);
        return;
    }
    if (!Key(label)) return;
    if (format_ == Format::kJson) {
        PutDecimal(value);
        return;
    }
    Put(": ", 2);
    PutDecimal(value);
    PutChar('\n');
}

void Emitter::Quantity(Label label, int64_t value, Text unit) {
    if (format_ == Format::kJson && Fast()) {
        cur_ = FastDecimal(FastKey(cur_, label), value);
        return;
    }
    if (!Key(label)) return;
    if (format_ == Format::kJson) {
        PutDecimal(value);
        return;
    }
    Put(": ", 2);
    PutDecimal(value);
    PutChar(' ');
    Put(unit);
    PutChar('\n');
}

void Emitter::Absent(Label label, Text text) {
    if (!Key(label)) return;
    if (format_ == Format::kJson) {
        Put("null", 4);
        return;
    }
    Put(": ", 2);
    Put(text);
    PutChar('\n');
}

void Emitter::HexNumber(Label label, uint32_t value, int digits) {
    if (format_ == Format::kJson) {
        Number(label, value);
        return;
    }
    if (!Key(label)) return;
    char text[12] = {'0', 'x'};
    if (digits < 1) digits = 1;
    if (digits > 8) digits = 8;
    for (int i = 0; i < digits; ++i) text[2 + i] = kHex[(value >> (4 * (digits - 1 - i))) & 0x0F];
    Put(": ", 2);
    Put(text, static_cast<size_t>(2 + digits));
    PutChar('\n');
}

void Emitter::EnumHex(Label label, uint32_t value, int digits, Text text) {
    if (format_ == Format::kJson) {
        Enum(label, value, text);
        return;
    }
    if (!Key(label)) return;
    char hex[12] = {'0', 'x'};
    if (digits < 1) digits = 1;
    if (digits > 8) digits = 8;
    for (int i = 0; i < digits; ++i) hex[2 + i] = kHex[(value >> (4 * (digits - 1 - i))) & 0x0F];
    Put(": ", 2);
    if (text) {
        Put(text);
        Put(" (", 2);
    }
    Put(hex, static_cast<size_t>(2 + digits));
    if (text) PutChar(')');
    PutChar('\n');
}

void Emitter::Identifier(Label label, Label name) {
    if (format_ != Format::kJson) return;
    if (Fast()) {
        cur_ = FastIdentifier(FastKey(cur_, label), name);
        return;
    }
    if (!Key(label)) return;
    Put(name.quotedIdentifier());
}

void Emitter::BeginIe(Label role, int iei, size_t offset, size_t length) {
    if (format_ == Format::kJson && Fast()) {
        char* p = FastKey(cur_, Label());
        p = FastIdentifier(FastLiteral(p, "{\"ie\":"), role);
        if (iei >= 0) p = FastDecimal(FastLiteral(p, ",\"iei\":"), iei);
        p = FastDecimal(FastLiteral(p, ",\"offset\":"), static_cast<int64_t>(offset));
        p = FastDecimal(FastLiteral(p, ",\"length\":"), static_cast<int64_t>(length));
        cur_ = FastLiteral(p, ",\"value\":{");
        Open(false);
        state_[Slot()] = kHasMember;
        Open(false);
        return;
    }
    const bool written = Key(Label());
    Open(false);
    state_[Slot()] = kHasMember;
    Open(false);
    if (!written) return;
    Put("{\"ie\":", 6);
    Put(role.quotedIdentifier());
    if (iei >= 0) {
        Put(",\"iei\":", 7);
        PutDecimal(iei);
    }
    Put(",\"offset\":", 10);
    PutDecimal(static_cast<int64_t>(offset));
    Put(",\"length\":", 10);
    PutDecimal(static_cast<int64_t>(length));
    Put(",\"value\":{", 10);
}

void Emitter::Enum(Label label, int64_t value, Text text) {
    if (format_ == Format::kJson && Fast() && (text.plain || !text) && text.size <= kFastValue) {
        char* p = FastDecimal(FastLiteral(FastKey(cur_, label), "{\"value\":"), value);
        if (text) {
            p = FastLiteral(p, ",\"text\":\"");
            p = FastCopy(p, text.text, text.size);
            *p++ = '"';
        }
        *p++ = '}';
        cur_ = p;
        return;
    }
    if (!Key(label)) return;
    if (format_ == Format::kJson) {
        Put("{\"value\":", 9);
        PutDecimal(value);
        if (text) {
            Put(",\"text\":", 8);
            JsonText(text);
        }
        PutChar('}');
        return;
    }
    Put(": ", 2);
    if (text) {
        Put(text);
        Put(" (", 2);
        PutDecimal(value);
        PutChar(')');
    } else {
        PutDecimal(value);
    }
    PutChar('\n');
}

void Emitter::Flag(Label label, bool value, Text yes, Text no) {
    if (format_ == Format::kJson && Fast()) {
        char* p = FastKey(cur_, label);
        cur_ = value ? FastLiteral(p, "true") : FastLiteral(p, "false");
        return;
    }
    if (!Key(label)) return;
    if (format_ == Format::kJson) {
        if (value) {
            Put("true", 4);
        } else {
            Put("false", 5);
        }
        return;
    }
    Put(": ", 2);
    Put(value ? yes : no);
    PutChar('\n');
}

void Emitter::String(Label label, std::string_view value, bool utf8) {
    if (!Key(label)) return;
    if (format_ == Format::kJson) {
        JsonString(value, utf8);
        return;
    }
    Put(": ", 2);
    TextValue(value, utf8);
    PutChar('\n');
}

void Emitter::Ascii(Label label, std::string_view value) {
    if (format_ == Format::kJson && Fast() && value.size() <= kFastValue) {
        char* p = FastKey(cur_, label);
        *p++ = '"';
        p = FastCopy(p, value.data(), value.size());
        *p++ = '"';
        cur_ = p;
        return;
    }
    if (!Key(label)) return;
    if (format_ == Format::kJson) {
        PutChar('"');
        Put(value);
        PutChar('"');
        return;
    }
    Put(": ", 2);
    Put(value);
    PutChar('\n');
}

void Emitter::Hex(Label label, const uint8_t* octets, size_t count) {
    if (!Key(label)) return;
    if (format_ == Format::kJson) {
        PutChar('"');
    } else {
        Put(": ", 2);
    }
    if (2 * count <= static_cast<size_t>(limit_ - cur_)) {
        for (size_t i = 0; i < count; ++i) {
            cur_[0] = kHex[octets[i] >> 4];
            cur_[1] = kHex[octets[i] & 0x0F];
            cur_ += 2;
        }
    } else {
        Miss(2 * count);
    }
    PutChar(format_ == Format::kJson ? '"' : '\n');
}

void Emitter::JsonText(Text text) {
    if (!text.plain) {
        JsonString(std::string_view(text.text, text.size), true);
        return;
    }
    PutChar('"');
    Put(text);
    PutChar('"');
}

namespace {

// Whether any of the eight bytes of `x` may be one a JSON string cannot hold
// as it is: a control character, '"', '\\' or, unless `utf8`, a byte of
// 0x80 or above (a borrow between bytes may also say so: the bytes are then
// looked at one by one).
[[gnu::always_inline]] inline bool NeedsEscape(uint64_t x, bool utf8) {
    constexpr uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
    const auto zeroByte = [](uint64_t v) { return (v - kOnes) & ~v & kHigh; };
    const uint64_t control = (x - 0x2020202020202020ull) & ~x & kHigh;  // a byte below 0x20 (or borrow)
    const uint64_t quote = zeroByte(x ^ 0x2222222222222222ull);
    const uint64_t backslash = zeroByte(x ^ 0x5C5C5C5C5C5C5C5Cull);
    return (control | quote | backslash) != 0 || (!utf8 && (x & kHigh) != 0);
}

}  // namespace

void Emitter::JsonString(std::string_view value, bool utf8) {
    PutChar('"');
    size_t run = 0;
    const size_t n = value.size();
    size_t i = 0;
    // Eight characters at a time while none needs escaping.
    while (i + 8 <= n) {
        uint64_t x;
        std::memcpy(&x, value.data() + i, 8);
        if (NeedsEscape(x, utf8)) break;
        i += 8;
    }
    for (; i < n; ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (kJsonPlain.plain[c] || (utf8 && c >= 0x80)) continue;
        Put(value.data() + run, i - run);
        run = i + 1;
        char escape[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0x0F]};
        if (c == '"' || c == '\\') {
            escape[1] = static_cast<char>(c);
            Put(escape, 2);
        } else {
            Put(escape, 6);
        }
    }
    Put(value.data() + run, n - run);
    PutChar('"');
}

void Emitter::TextValue(std::string_view value, bool utf8) {
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
