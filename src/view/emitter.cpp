#include "view/emitter.h"

#include <cstring>

namespace corvuna::view {

namespace {

constexpr char kHex[] = "0123456789abcdef";
constexpr char kIndent[] =
    "                                                                                                    "
    "                                                                                                    ";

// Per byte: what it becomes in a JSON key (0: a separator).
constexpr auto kKeyChar = [] {
    struct Table {
        char c[256];
    } table{};
    for (int i = 0; i < 256; ++i) {
        if (i >= 'a' && i <= 'z') table.c[i] = static_cast<char>(i);
        if (i >= '0' && i <= '9') table.c[i] = static_cast<char>(i);
        if (i >= 'A' && i <= 'Z') table.c[i] = static_cast<char>(i - 'A' + 'a');
    }
    return table;
}();

// Bytes that a JSON string cannot hold as they are.
constexpr bool NeedsJsonEscape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\' || c >= 0x80; }

size_t SnakeCase(Text label, char* key, size_t capacity) {
    size_t n = 0;
    bool separator = false;
    for (uint32_t i = 0; i < label.size && n + 1 < capacity; ++i) {
        const char c = kKeyChar.c[static_cast<unsigned char>(label.text[i])];
        if (c == 0) {
            separator = n > 0;
            continue;
        }
        if (separator) key[n++] = '_';
        separator = false;
        key[n++] = c;
    }
    return n;
}

}  // namespace

Emitter::Emitter(Format format, char* buffer, size_t capacity)
    : format_(format), out_(MakeDocument(buffer, 0, capacity)) {
    if (buffer != nullptr && capacity > 0) buffer[0] = '\0';
    inList_[0] = true;  // the root object has no key
}

void Emitter::Raw(std::string_view text) {
    if (!limited_) Append(out_, text.data(), text.size());
}

void Emitter::Close(char closer) {
    const int closing = depth_;
    if (depth_ > 0) --depth_;
    if (format_ == Format::kJson && (!limited_ || closing <= limitDepth_)) Append(out_, &closer, 1);
}

void Emitter::TextLabel(Text label) {
    const size_t indent = static_cast<size_t>(depth_) * 4;
    Raw(std::string_view(kIndent, indent < sizeof kIndent - 1 ? indent : sizeof kIndent - 1));
    Raw(std::string_view(label.text, label.size));
}

void Emitter::Key(Text label, Text key) {
    if (!limited_ && !resumed_ && out_.Required() > kOutputLimit) {
        limited_ = true;
        limitDepth_ = depth_;
    }
    if (limited_) return;
    if (format_ == Format::kText) {
        TextLabel(label);
        return;
    }
    if (hasMember_[Slot()]) Raw(",");
    hasMember_[Slot()] = true;
    if (inList_[Slot()]) return;
    char snake[160];
    size_t n = 0;
    if (key) {
        n = key.size < sizeof snake ? key.size : sizeof snake;
        std::memcpy(snake, key.text, n);
    } else {
        n = SnakeCase(label, snake, sizeof snake);
    }
    char* p = BeginPiece(out_, n + 3);
    if (p == nullptr) return;
    *p++ = '"';
    p = CopyChars(p, snake, n);
    *p++ = '"';
    *p = ':';
    EndPiece(out_);
}

void Emitter::Begin(Text label, Text key) {
    Key(label, key);
    if (format_ == Format::kJson) {
        Raw("{");
    } else {
        Newline();
    }
    ++depth_;
    hasMember_[Slot()] = false;
    inList_[Slot()] = false;
}

void Emitter::BeginNoted(Text label, std::string_view note, Text key) {
    if (format_ == Format::kJson) {
        Begin(label, key);
        return;
    }
    TextLabel(label);
    Raw(": ");
    Raw(note);
    Newline();
    ++depth_;
}

void Emitter::End() { Close('}'); }

void Emitter::BeginList(Text label, Text key) {
    Key(label, key);
    if (format_ == Format::kJson) {
        Raw("[");
    } else {
        Newline();
    }
    ++depth_;
    hasMember_[Slot()] = false;
    inList_[Slot()] = true;
}

void Emitter::EndList() { Close(']'); }

void Emitter::Number(Text label, int64_t value, Text key) {
    char digits[24];
    const size_t n = static_cast<size_t>(FormatDecimal64(value, digits));
    Key(label, key);
    if (format_ == Format::kText) Raw(": ");
    Raw(std::string_view(digits, n));
    if (format_ == Format::kText) Newline();
}

void Emitter::Quantity(Text label, int64_t value, Text unit, Text key) {
    if (format_ == Format::kJson) {
        Number(label, value, key);
        return;
    }
    char digits[24];
    const size_t n = static_cast<size_t>(FormatDecimal64(value, digits));
    Key(label, key);
    Raw(": ");
    Raw(std::string_view(digits, n));
    Raw(" ");
    Raw(std::string_view(unit.text, unit.size));
    Newline();
}

void Emitter::Absent(Text label, Text text, Text key) {
    Key(label, key);
    if (format_ == Format::kJson) {
        Raw("null");
        return;
    }
    Raw(": ");
    Raw(std::string_view(text.text, text.size));
    Newline();
}

void Emitter::HexNumber(Text label, uint32_t value, int digits, Text key) {
    if (format_ == Format::kJson) {
        Number(label, value, key);
        return;
    }
    char text[12] = {'0', 'x'};
    if (digits < 1) digits = 1;
    if (digits > 8) digits = 8;
    for (int i = 0; i < digits; ++i) text[2 + i] = kHex[(value >> (4 * (digits - 1 - i))) & 0x0F];
    Key(label, key);
    Raw(": ");
    Raw(std::string_view(text, static_cast<size_t>(2 + digits)));
    Newline();
}

void Emitter::EnumHex(Text label, uint32_t value, int digits, Text text, Text key) {
    if (format_ == Format::kJson) {
        Enum(label, value, text, key);
        return;
    }
    char hex[12] = {'0', 'x'};
    if (digits < 1) digits = 1;
    if (digits > 8) digits = 8;
    for (int i = 0; i < digits; ++i) hex[2 + i] = kHex[(value >> (4 * (digits - 1 - i))) & 0x0F];
    Key(label, key);
    Raw(": ");
    if (text) {
        Raw(std::string_view(text.text, text.size));
        Raw(" (");
    }
    Raw(std::string_view(hex, static_cast<size_t>(2 + digits)));
    if (text) Raw(")");
    Newline();
}

void Emitter::Identifier(Text label, Text name) {
    if (format_ != Format::kJson) return;
    char snake[160];
    const size_t n = SnakeCase(name, snake, sizeof snake);
    Key(label, {});
    Raw("\"");
    Raw(std::string_view(snake, n));
    Raw("\"");
}

void Emitter::Enum(Text label, int64_t value, Text text, Text key) {
    char digits[24];
    const size_t n = static_cast<size_t>(FormatDecimal64(value, digits));
    Key(label, key);
    if (format_ == Format::kJson) {
        Raw("{\"value\":");
        Raw(std::string_view(digits, n));
        if (text) {
            Raw(",\"text\":");
            JsonString(std::string_view(text.text, text.size), true);
        }
        Raw("}");
        return;
    }
    Raw(": ");
    if (text) {
        Raw(std::string_view(text.text, text.size));
        Raw(" (");
        Raw(std::string_view(digits, n));
        Raw(")");
    } else {
        Raw(std::string_view(digits, n));
    }
    Newline();
}

void Emitter::Flag(Text label, bool value, Text yes, Text no, Text key) {
    Key(label, key);
    if (format_ == Format::kJson) {
        Raw(value ? "true" : "false");
        return;
    }
    Raw(": ");
    const Text shown = value ? yes : no;
    Raw(std::string_view(shown.text, shown.size));
    Newline();
}

void Emitter::String(Text label, std::string_view value, bool utf8, Text key) {
    Key(label, key);
    if (format_ == Format::kJson) {
        JsonString(value, utf8);
        return;
    }
    Raw(": ");
    TextValue(value, utf8);
    Newline();
}

void Emitter::Hex(Text label, const uint8_t* octets, size_t count, Text key) {
    Key(label, key);
    if (format_ == Format::kJson) Raw("\"");
    if (format_ == Format::kText) Raw(": ");
    char* p = limited_ ? nullptr : BeginPiece(out_, 2 * count);
    if (p != nullptr) {
        for (size_t i = 0; i < count; ++i) {
            *p++ = kHex[octets[i] >> 4];
            *p++ = kHex[octets[i] & 0x0F];
        }
        EndPiece(out_);
    }
    if (format_ == Format::kJson) Raw("\"");
    if (format_ == Format::kText) Newline();
}

void Emitter::JsonString(std::string_view value, bool utf8) {
    Raw("\"");
    size_t run = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (!NeedsJsonEscape(c) || (utf8 && c >= 0x80)) continue;
        Raw(value.substr(run, i - run));
        run = i + 1;
        char escape[7] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0x0F], 0};
        if (c == '"' || c == '\\') {
            escape[1] = static_cast<char>(c);
            Raw(std::string_view(escape, 2));
        } else {
            Raw(std::string_view(escape, 6));
        }
    }
    Raw(value.substr(run));
    Raw("\"");
}

void Emitter::TextValue(std::string_view value, bool utf8) {
    size_t run = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if ((c >= 0x20 && c < 0x7F) || (utf8 && c >= 0x80)) continue;
        Raw(value.substr(run, i - run));
        run = i + 1;
        const char escape[4] = {'\\', 'x', kHex[c >> 4], kHex[c & 0x0F]};
        Raw(std::string_view(escape, 4));
    }
    Raw(value.substr(run));
}

}  // namespace corvuna::view
