// The standard view's output: a tree of groups, lists and fields written as
// it is decoded, either as JSON (RFC 8259, compact) or as an indented text
// tree for people, one field per line.
//
// Every node has a label, the standard's name of an IE or field ("EPS
// attach type value"); its JSON key is the label in snake case
// ("eps_attach_type_value") unless a key is given.  Writing never goes past
// the buffer's capacity; the length a whole output would need is counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "doc/value_text.h"
#include "doc/writer.h"

namespace corvuna::view {

enum class Format : uint8_t { kJson, kText };

// The longest output of a message, in characters without the terminating
// NUL.  An output that has grown past kOutputLimit takes no more fields (the
// groups already open are still closed) and the message says so in the room
// kept after it: room for the largest single field (the hex of every octet
// of the longest input) and the closing members.
inline constexpr size_t kMaxViewOutput = 1048576;
inline constexpr size_t kOutputLimit = kMaxViewOutput - 32768;

class Emitter {
public:
    Emitter(Format format, char* buffer, size_t capacity);

    Format format() const { return format_; }

    // A group (JSON object) and a list (JSON array).  Inside a list, labels
    // name the entries in the text tree only.
    void Begin(Text label, Text key = {});
    void End();
    void BeginList(Text label, Text key = {});
    void EndList();

    // A group whose text-tree line says more than its label: "label: note".
    void BeginNoted(Text label, std::string_view note, Text key = {});

    // Fields.
    void Number(Text label, int64_t value, Text key = {});
    // A number with its unit: JSON the number, text "label: 128 kbit/s".
    void Quantity(Text label, int64_t value, Text unit, Text key = {});
    // A field that holds no value: JSON null, text "label: text".
    void Absent(Text label, Text text, Text key = {});
    // An enumerated value: JSON {"value":N,"text":"..."}, text "label: text (N)".
    void Enum(Text label, int64_t value, Text text, Text key = {});
    // A flag: JSON true/false, text "label: yes-text" or "label: no-text".
    void Flag(Text label, bool value, Text yes, Text no, Text key = {});
    // Characters: `utf8` tells that they are UTF-8 text; otherwise every
    // octet outside printable ASCII is shown as the code point of its value.
    void String(Text label, std::string_view value, bool utf8 = false, Text key = {});
    // Octets as lower-case hex digits.
    void Hex(Text label, const uint8_t* octets, size_t count, Text key = {});
    // A number shown in hex in the text tree ("0x41") and as a number in JSON.
    void HexNumber(Text label, uint32_t value, int digits, Text key = {});
    // An enumerated value shown in hex in the text tree: "label: text (0x41)".
    void EnumHex(Text label, uint32_t value, int digits, Text text, Text key = {});
    // JSON only: the snake-case identifier of `name` as a string value
    // ("Attach request" gives "attach_request").
    void Identifier(Text label, Text name);

    // Bytes copied as they stand into the output (JSON punctuation, text).
    void Raw(std::string_view text);

    // The string written (without the terminating NUL), and its length had
    // nothing been cut for lack of room.
    size_t Length() const { return out_.Length(); }
    size_t Required() const { return out_.Required(); }
    bool Truncated() const { return out_.truncated; }
    int Depth() const { return depth_; }
    // Whether the innermost open node is a list.
    bool InList() const { return inList_[Slot()]; }

    // Whether the output reached kOutputLimit and fields were left out; then
    // Resume() takes fields again, for the closing members of the message.
    bool LimitReached() const { return limited_; }
    void Resume() {
        limited_ = false;
        resumed_ = true;
    }

private:
    void Key(Text label, Text key);
    void TextLabel(Text label);
    void Newline() { Raw("\n"); }
    void Close(char closer);
    void JsonString(std::string_view value, bool utf8);
    void TextValue(std::string_view value, bool utf8);

    Format format_;
    OutputDocument out_;
    int depth_ = 0;
    // Set when the output passed kOutputLimit at depth limitDepth_: groups
    // opened since are not written, so neither are their closers.
    bool limited_ = false;
    bool resumed_ = false;
    int limitDepth_ = 0;
    // JSON: whether the innermost open object or list already holds a member.
    // Nesting past kMaxDepth (deeper than any message goes) shares the last
    // slot: the output stays balanced.
    static constexpr int kMaxDepth = 32;
    int Slot() const { return depth_ < kMaxDepth ? depth_ : kMaxDepth; }
    bool hasMember_[kMaxDepth + 1] = {};
    bool inList_[kMaxDepth + 1] = {};
};

}  // namespace corvuna::view
