// SPDX-License-Identifier: Apache-2.0
// The standard view's output: a tree of groups, lists and fields written as
// it is decoded, either as JSON (RFC 8259, compact) or as an indented text
// tree for people, one field per line.
//
// Every node has a label, the standard's name of an IE or field ("EPS
// attach type value"), written "EPS attach type value"_f: its JSON key, the
// label in snake case ("eps_attach_type_value"), is made when the code is
// compiled, so writing a field copies its key and never converts it.
// Field<"Label", "key"> gives a key of its own.  Writing never goes past the
// buffer's capacity; the length a whole output would need is counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "doc/value_text.h"

namespace corvuna::view {

enum class Format : uint8_t { kJson, kText };

// The longest output of a message, in characters without the terminating
// NUL.  An output that has grown past kOutputLimit takes no more fields (the
// groups already open are still closed) and the message says so in the room
// kept after it: room for the largest single field (the hex of every octet
// of the longest input) and the closing members.
inline constexpr size_t kMaxViewOutput = 1048576;
inline constexpr size_t kOutputLimit = kMaxViewOutput - 32768;

// ---------------------------------------------------------------------------
// Labels

struct LabelData {
    Text text;       // "EPS attach type value"
    const char* key; // ",\"eps_attach_type_value\":" (the comma for a member after another)
    uint32_t keySize;
};

// A label: a pointer to its data, made when the code is compiled.  The
// default label is none (an entry of a list, or no IE).
class Label {
public:
    constexpr Label() = default;
    constexpr explicit Label(const LabelData& data) : data_(&data) {}

    constexpr explicit operator bool() const { return data_ != nullptr; }
    Text text() const { return data_ != nullptr ? data_->text : Text(); }
    std::string_view textView() const {
        return data_ != nullptr ? std::string_view(data_->text.text, data_->text.size) : std::string_view();
    }
    // The key with the comma before it and the colon after it.
    const LabelData* data() const { return data_; }
    // The snake-case identifier in quotes, as a JSON string value.
    std::string_view quotedIdentifier() const {
        return data_ != nullptr ? std::string_view(data_->key + 1, data_->keySize - 2) : std::string_view("\"\"");
    }

private:
    const LabelData* data_ = nullptr;
};

namespace detail {

template <size_t N>
struct Literal {
    char chars[N] = {};
    consteval Literal(const char (&s)[N]) {
        for (size_t i = 0; i < N; ++i) chars[i] = s[i];
    }
};

// ,"snake_case":  of a label, or of a key given as it is.  The characters
// are padded, so that a key is copied in whole 16-byte blocks from any of
// its first two characters.
inline constexpr size_t kKeyBlock = 16;
inline constexpr size_t kMaxKey = 160;
template <size_t N>
struct KeyChars {
    char chars[N + 8 + 2 * kKeyBlock] = {};
    uint32_t size = 0;
};

template <size_t N>
consteval KeyChars<N> MakeKey(const char (&label)[N], bool asItIs) {
    KeyChars<N> key;
    key.chars[key.size++] = ',';
    key.chars[key.size++] = '"';
    bool separator = false;
    bool any = false;
    for (size_t i = 0; i + 1 < N; ++i) {
        char c = label[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        const bool word = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (asItIs && c == '_');
        if (!word) {
            separator = any;
            continue;
        }
        if (separator) key.chars[key.size++] = '_';
        separator = false;
        any = true;
        key.chars[key.size++] = c;
    }
    if (!any) throw "a label needs a letter or digit for its key";
    if (key.size + 2 > kMaxKey) throw "a key is longer than the fast path of the emitter allows";
    key.chars[key.size++] = '"';
    key.chars[key.size++] = ':';
    return key;
}

// K empty: the key is S in snake case; otherwise K as it stands.
template <Literal S, Literal K>
struct LabelStore {
    static constexpr auto kKey = [] {
        if constexpr (sizeof K.chars == 1) {
            return MakeKey(S.chars, false);
        } else {
            return MakeKey(K.chars, true);
        }
    }();
    static constexpr LabelData kData{Text::Trusted(S.chars, sizeof S.chars - 1), kKey.chars, kKey.size};
};

}  // namespace detail

// "Label"_f: a label whose key is the label in snake case.
template <detail::Literal S>
constexpr Label operator""_f() {
    return Label(detail::LabelStore<S, detail::Literal<1>("")>::kData);
}

// Field<"Label", "key">: a label with a key of its own.
template <detail::Literal S, detail::Literal K>
inline constexpr Label Field = Label(detail::LabelStore<S, K>::kData);

// ---------------------------------------------------------------------------

class Emitter {
public:
    Emitter(Format format, char* buffer, size_t capacity);

    Format format() const { return format_; }

    // A group (JSON object) and a list (JSON array).  Inside a list, labels
    // name the entries in the text tree only; Begin() is an entry without one.
    void Begin(Label label);
    void Begin() { Begin(Label()); }
    void End() {
        if (format_ == Format::kJson && Fast()) {
            --depth_;
            *cur_++ = '}';
        } else {
            Close('}');
        }
    }
    void BeginList(Label label);
    void EndList() {
        if (format_ == Format::kJson && Fast()) {
            --depth_;
            *cur_++ = ']';
        } else {
            Close(']');
        }
    }

    // A group whose text-tree line says more than its label: "label: note".
    void BeginNoted(Label label, std::string_view note);

    // Fields.
    void Number(Label label, int64_t value);
    // A number with its unit: JSON the number, text "label: 128 kbit/s".
    void Quantity(Label label, int64_t value, Text unit);
    // A field that holds no value: JSON null, text "label: text".
    void Absent(Label label, Text text);
    // An enumerated value: JSON {"value":N,"text":"..."}, text "label: text (N)".
    void Enum(Label label, int64_t value, Text text);
    // A flag: JSON true/false, text "label: yes-text" or "label: no-text".
    void Flag(Label label, bool value, Text yes, Text no);
    // Characters: `utf8` tells that they are UTF-8 text; otherwise every
    // octet outside printable ASCII is shown as the code point of its value.
    void String(Label label, std::string_view value, bool utf8 = false);
    // Characters that need no escaping in either output: printable ASCII
    // other than '"' and '\\' (digits, addresses, texts of this code).
    void Ascii(Label label, std::string_view value);
    // Octets as lower-case hex digits.
    void Hex(Label label, const uint8_t* octets, size_t count);
    // A number shown in hex in the text tree ("0x41") and as a number in JSON.
    void HexNumber(Label label, uint32_t value, int digits);
    // An enumerated value shown in hex in the text tree: "label: text (0x41)".
    void EnumHex(Label label, uint32_t value, int digits, Text text);
    // JSON only: the snake-case identifier of `name` as a string value
    // ("Attach request" gives "attach_request").
    void Identifier(Label label, Label name);

    // JSON only: the entry of an IE in a message's list of IEs, opened up to
    // its value: {"ie":"role","iei":N,"offset":N,"length":N,"value":{ (no
    // "iei" when `iei` is negative).  Two End() calls close it.
    void BeginIe(Label role, int iei, size_t offset, size_t length);

    // Ends the output with its NUL (when there was room for all of it).
    void Finish();

    // The length of the output, and its length had nothing been cut for
    // lack of room.
    size_t Length() const { return static_cast<size_t>(cur_ - buffer_); }
    size_t Required() const { return Length() + missed_; }
    bool Truncated() const { return missed_ > 0; }
    int Depth() const { return depth_; }
    // Whether the innermost open node is a list.
    bool InList() const { return (state_[Slot()] & kInList) != 0; }

    // Whether the output reached kOutputLimit and fields were left out; then
    // Resume() takes fields again, for the closing members of the message.
    bool LimitReached() const { return limited_; }
    void Resume() {
        limited_ = false;
        resumed_ = true;
    }

private:
    // The fast path: while at least kFastRoom characters are free and the
    // output is short of kOutputLimit, a JSON field is written with no check
    // per piece.  Fields whose variable part is longer than kFastValue take
    // the checked path.
    static constexpr size_t kFastValue = 256;
    static constexpr size_t kFastRoom = detail::kMaxKey + 2 * detail::kKeyBlock + kFastValue + 64;
    bool Fast() const { return cur_ - buffer_ <= fastEnd_; }
    // The comma and key of a JSON field at `p` (Fast() holds); where its
    // value goes.
    char* FastKey(char* p, Label label) {
        const int slot = depth_ & kSlotMask;
        const uint8_t state = state_[slot];
        state_[slot] = static_cast<uint8_t>(state | kHasMember);
        const bool comma = (state & kHasMember) != 0;
        if ((state & kInList) != 0 || !label) {
            *p = ',';
            return p + comma;
        }
        const LabelData* d = label.data();
        const char* key = d->key + !comma;
        const size_t n = d->keySize - !comma;
        std::memcpy(p, key, detail::kKeyBlock);
        std::memcpy(p + detail::kKeyBlock, key + detail::kKeyBlock, detail::kKeyBlock);
        for (size_t i = 2 * detail::kKeyBlock; i < n; i += detail::kKeyBlock) {
            std::memcpy(p + i, key + i, detail::kKeyBlock);
        }
        return p + n;
    }
    static char* FastDecimal(char* p, int64_t value) {
        if (static_cast<uint64_t>(value) < 1000) {
            std::memcpy(p, SmallDecimal(value), 4);
            return p + 1 + (value >= 10) + (value >= 100);
        }
        return p + FormatLongDecimal(value, p);
    }
    template <size_t N>
    static char* FastLiteral(char* p, const char (&text)[N]) {
        std::memcpy(p, text, N - 1);
        return p + (N - 1);
    }
    // Copies of fixed sizes that overlap at the end: no call, and no read
    // outside the text.
    static char* FastCopy(char* p, const char* text, size_t n) {
        if (n >= 16) {
            for (size_t i = 0; i + 16 < n; i += 16) std::memcpy(p + i, text + i, 16);
            std::memcpy(p + n - 16, text + n - 16, 16);
        } else if (n >= 8) {
            std::memcpy(p, text, 8);
            std::memcpy(p + n - 8, text + n - 8, 8);
        } else if (n >= 4) {
            std::memcpy(p, text, 4);
            std::memcpy(p + n - 4, text + n - 4, 4);
        } else {
            for (size_t i = 0; i < n; ++i) p[i] = text[i];
        }
        return p + n;
    }
    // A label's quoted identifier, from the padded key storage.
    static char* FastIdentifier(char* p, Label name) {
        if (!name) return FastLiteral(p, "\"\"");
        const LabelData* d = name.data();
        const char* from = d->key + 1;
        const size_t n = d->keySize - 2;
        for (size_t i = 0; i < n; i += detail::kKeyBlock) std::memcpy(p + i, from + i, detail::kKeyBlock);
        return p + n;
    }
    static size_t FormatLongDecimal(int64_t value, char* p);

    // Characters copied as they are; once a piece does not fit, no later
    // piece is written either, and they are all counted.
    void Put(const char* text, size_t n) {
        if (n <= static_cast<size_t>(limit_ - cur_)) {
            std::memcpy(cur_, text, n);
            cur_ += n;
        } else {
            Miss(n);
        }
    }
    void Put(std::string_view text) { Put(text.data(), text.size()); }
    // A key from its padded storage (see detail::KeyChars).
    void PutKey(const char* key, size_t n) {
        char* p = cur_;
        if (static_cast<size_t>(limit_ - p) >= n + 2 * detail::kKeyBlock) {
            // Most keys take two blocks.
            std::memcpy(p, key, detail::kKeyBlock);
            std::memcpy(p + detail::kKeyBlock, key + detail::kKeyBlock, detail::kKeyBlock);
            for (size_t i = 2 * detail::kKeyBlock; i < n; i += detail::kKeyBlock) {
                std::memcpy(p + i, key + i, detail::kKeyBlock);
            }
            cur_ = p + n;
        } else {
            Put(key, n);
        }
    }
    void Put(Text text) { Put(text.text, text.size); }
    void PutChar(char c) {
        if (cur_ < limit_) {
            *cur_++ = c;
        } else {
            Miss(1);
        }
    }
    void Miss(size_t n);
    void PutDecimal(int64_t value) {
        if (static_cast<uint64_t>(value) < 1000 && limit_ - cur_ >= 4) {
            std::memcpy(cur_, SmallDecimal(value), 4);
            cur_ += 1 + (value >= 10) + (value >= 100);
        } else {
            PutLongDecimal(value);
        }
    }
    static const char* SmallDecimal(int64_t value);
    void PutLongDecimal(int64_t value);

    // Starts a field: false when the output is past its limit and the field
    // is left out.
    bool Key(Label label);
    void TextLine(Label label);  // indent and "label"
    void Close(char closer);
    void JsonString(std::string_view value, bool utf8);
    void JsonText(Text text);
    void TextValue(std::string_view value, bool utf8);

    Format format_;
    char* buffer_;
    char* cur_;
    char* limit_;  // the last character that may be written (room for the NUL kept)
    size_t missed_ = 0;
    int depth_ = 0;
    // Set when the output passed kOutputLimit at depth limitDepth_: groups
    // opened since are not written, so neither are their closers.
    bool limited_ = false;
    bool resumed_ = false;
    int limitDepth_ = 0;
    // Offset of the last position the fast path starts a field at (negative:
    // never).
    ptrdiff_t fastEnd_ = -1;
    // JSON, per open object or list: whether it already holds a member and
    // whether it is a list.  Nesting goes nowhere near kSlotMask deep (a
    // message holds at most three levels of messages); were it to, the
    // output would stay balanced, only its commas could be wrong.
    static constexpr uint8_t kHasMember = 1, kInList = 2;
    static constexpr int kSlotMask = 63;
    int Slot() const { return depth_ & kSlotMask; }
    uint8_t state_[kSlotMask + 1] = {};
    void Open(bool list) { state_[++depth_ & kSlotMask] = list ? kInList : 0; }
};

}  // namespace corvuna::view
