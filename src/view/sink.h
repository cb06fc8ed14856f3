// SPDX-License-Identifier: Apache-2.0
// Where the standard view goes: a sink of semantic operations (a group, a
// list, an enumerated field, an IE's place, an error) that the walker and
// the IE decoders call, never knowing the format.  JsonSink (json_sink.h)
// writes compact JSON (RFC 8259), TextSink (text_sink.h) an indented tree
// for people, one field per line.
//
// Both write into the caller's buffer and never past its capacity; the
// length a whole output would need is counted.  An output that has grown
// past kOutputLimit takes no more fields (the groups already open are still
// closed), and the record says so in the room kept after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "common/decimal.h"
#include "common/octets.h"
#include "common/text.h"
#include "view/label.h"

namespace corvuna::view {

// The longest output of a message, in characters without the terminating
// NUL, and the point past which fields are left out: room is kept for the
// largest single field (the hex of every octet of the longest input) and
// the closing members.
inline constexpr size_t kMaxViewOutput = 1048576;
inline constexpr size_t kOutputLimit = kMaxViewOutput - 32768;

// The version of the JSON shape (docs/view.schema.json), in every record.
inline constexpr int kSchemaVersion = 1;

enum class Result : int {
    kDecoded = 0,            // every IE decoded
    kDecodedWithErrors = 1,  // decoding met an error and says where
    kUnknownMessage = 2,     // NAS, but a message type or header this view does not know
    kNotNas = 3,             // no NAS message (another protocol discriminator, or no octets)
    kCiphered = 4,           // a protected message whose body stays ciphered
};

// Where an IE stands in the message.
struct IePlace {
    Label role;      // the IE as the message table names it ("Old GUTI or IMSI")
    Text type;       // the IE type's name ("EPS mobile identity")
    Text reference;  // its clause ("9.9.3.12")
    int iei;         // -1 for a mandatory IE
    size_t offset;   // of its first octet (IEI or value) in the outermost message
    size_t length;   // octets, IEI and length octets included
};

// An error met while decoding: where, in which IE, why.
struct ErrorNote {
    size_t offset;
    Label ie;
    char reason[120];  // NUL-terminated
    std::string_view Reason() const { return std::string_view(reason, std::strlen(reason)); }
};

// How a record ends.
struct RecordEnd {
    Result result;
    std::span<const ErrorNote> errors;  // every error, in order (the first kMaxErrors)
    size_t moreErrors;                  // errors met beyond those
    const ErrorNote* stopped;           // the error that ended decoding, or null
};

class Sink {
public:
    virtual ~Sink() = default;

    // A group (JSON object) and a list (JSON array).  Inside a list, labels
    // name the entries in the text tree only; Begin() is an entry without one.
    virtual void Begin(Label label) = 0;
    void Begin() { Begin(Label()); }
    virtual void End() = 0;
    virtual void BeginList(Label label) = 0;
    virtual void EndList() = 0;

    // Fields.
    virtual void Number(Label label, int64_t value) = 0;
    // A number with its unit: JSON the number (a sink that shows no
    // units), text "label: 128 kbit/s".
    virtual void Quantity(Label label, int64_t value, Text) { Number(label, value); }
    // An enumerated value, or a coded quantity and its meaning: JSON
    // {"value":N,"text":"..."}, text "label: text (N)".
    virtual void Enum(Label label, int64_t value, Text text) = 0;
    // A coding that holds no quantity: JSON {"value":null,"text":"..."},
    // text "label: text" (the text as a line of its own).
    virtual void Absent(Label label, Text text) { Ascii(label, std::string_view(text.text, text.size)); }
    // An enumerated value shown in hex in the text tree: "label: text
    // (0x41)"; elsewhere the enumerated value.
    virtual void EnumHex(Label label, uint32_t value, int, Text text) { Enum(label, value, text); }
    // A flag: JSON true/false, text "label: yes-text" or "label: no-text"
    // (the text of the value as a line of its own).
    virtual void Flag(Label label, bool value, Text yes, Text no) {
        const Text text = value ? yes : no;
        Ascii(label, std::string_view(text.text, text.size));
    }
    // Characters: `utf8` tells that they are UTF-8 text; otherwise every
    // octet outside printable ASCII is shown as the code point of its value.
    virtual void String(Label label, std::string_view value, bool utf8) = 0;
    void String(Label label, std::string_view value) { String(label, value, false); }
    // Characters that need no escaping in either output: printable ASCII
    // other than '"' and '\\' (digits, addresses, texts of this code).
    virtual void Ascii(Label label, std::string_view value) = 0;
    // Octets as lower-case hex digits.
    virtual void Hex(Label label, const uint8_t* octets, size_t count) = 0;
    void Hex(Label label, Octets octets) { Hex(label, octets.data, octets.size); }
    // A number shown in hex in the text tree ("0x41") and as a number in JSON.
    virtual void HexNumber(Label label, uint32_t value, int) { Number(label, value); }
    // A member that holds nothing here: JSON null; the text tree leaves it out.
    virtual void Null(Label label) = 0;

    // A record: the root of one output.  `member` names it when the record
    // is written inside a group of the caller's (a capture's record).
    virtual void BeginRecord(Label member) = 0;
    virtual void EndRecord(const RecordEnd& end) = 0;
    // The root's first members: direction and length of the message.
    virtual void Heading(int direction, size_t length) = 0;
    // A message: a group of its own, except that the text tree shows the
    // record's outermost message on the record's own level.
    virtual void BeginMessage(Label member) = 0;
    virtual void EndMessage() = 0;
    // A message's name ("Attach request"): JSON its identifier; the text
    // tree says it through the message type.
    virtual void MessageName(Label name) = 0;
    // An IE of a message's list: its place, then (until EndIe) its fields.
    virtual void BeginIe(const IePlace& place) = 0;
    virtual void EndIe() = 0;
    // An IE the table does not list, or one repeated: its octets.
    virtual void ExtraIe(uint8_t iei, bool repeated, size_t offset, Octets octets) = 0;
    // An error where decoding is: the text tree shows it in place; JSON
    // lists every error in the record's "errors".
    virtual void Error(const ErrorNote& note) = 0;

    // Ends the output with its NUL (when there was room for all of it).
    void Finish();

    // The length of the output, and its length had nothing been cut for
    // lack of room.
    size_t Length() const { return static_cast<size_t>(cur_ - buffer_); }
    size_t Required() const { return Length() + missed_; }
    bool Truncated() const { return missed_ > 0; }
    int Depth() const { return depth_; }

    // Whether the output reached kOutputLimit and fields were left out; then
    // Resume() takes fields again, for the closing members of the record.
    bool LimitReached() const { return limited_; }
    void Resume() {
        limited_ = false;
        resumed_ = true;
    }

protected:
    Sink(char* buffer, size_t capacity, size_t fastRoom);

    // The fast path: while at least the fast room is free and the output is
    // short of kOutputLimit, a field is written with no check per piece.
    // Fields whose variable part is longer than kFastValue take the checked
    // path.
    static constexpr size_t kFastValue = 256;
    bool Fast() const { return cur_ - buffer_ <= fastEnd_; }

    // Whether a field is taken: false when the output is past its limit.
    bool Admit() {
        if (!limited_ && !resumed_ && Required() > kOutputLimit) {
            limited_ = true;
            limitDepth_ = depth_;
        }
        return !limited_;
    }
    // Whether the closer of the node at depth `closing` is written.
    bool Closes(int closing) const { return !limited_ || closing <= limitDepth_; }

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
    void Put(Text text) { Put(text.text, text.size); }
    void PutChar(char c) {
        if (cur_ < limit_) {
            *cur_++ = c;
        } else {
            Miss(1);
        }
    }
    void PutDecimal(int64_t value) {
        if (static_cast<uint64_t>(value) < 1000 && limit_ - cur_ >= 4) {
            std::memcpy(cur_, corvuna::detail::kSmallDecimals.text + 4 * value, 4);
            cur_ += 1 + (value >= 10) + (value >= 100);
        } else {
            char digits[24];
            Put(digits, FormatDecimal64(value, digits));
        }
    }
    // Hex digits of `count` octets.
    void PutHex(const uint8_t* octets, size_t count);
    void Miss(size_t n);

    static char* FastDecimal(char* p, int64_t value) {
        if (static_cast<uint64_t>(value) < 1000) {
            std::memcpy(p, corvuna::detail::kSmallDecimals.text + 4 * value, 4);
            return p + 1 + (value >= 10) + (value >= 100);
        }
        return p + FormatDecimal64(value, p);
    }
    template <size_t N>
    static char* FastLiteral(char* p, const char (&text)[N]) {
        std::memcpy(p, text, N - 1);
        return p + (N - 1);
    }
    static char* FastCopy(char* p, const char* text, size_t n) { return CopyChars(p, text, n); }
    // Hex digits of `count` octets at `p`.
    static char* FastHex(char* p, const uint8_t* octets, size_t count) {
        static constexpr char kDigits[] = "0123456789abcdef";
        for (size_t i = 0; i < count; ++i) {
            p[0] = kDigits[octets[i] >> 4];
            p[1] = kDigits[octets[i] & 0x0F];
            p += 2;
        }
        return p;
    }

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
};

// The text of a result: JSON's identifier and the text tree's words.
std::string_view ResultName(Result result);
std::string_view ResultWords(Result result);

}  // namespace corvuna::view
