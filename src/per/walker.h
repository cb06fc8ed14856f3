// SPDX-License-Identifier: Apache-2.0
// The walker: decodes an encoding of any type of a Module and tells a
// Visitor, element by element and in encoding order, what it finds.
//
// Constructed elements (SEQUENCE, SEQUENCE OF, CHOICE, and the content of
// an open type whose type the object set gives) are announced by Enter and
// closed by Leave; values of the other types come through Primitive.  The
// visitor answers each with an Action: walk on (kDescend), decode the
// element without telling what is inside (kSkip; the content of an open
// type is then jumped over without being decoded at all), or end the walk
// (kStop).  Octet strings and bit strings come as spans into the encoding
// (unaligned PER need not put them on an octet boundary).
//
// No allocation: the walker's stack is a member array of kMaxDepth frames.
// Fragmented encodings (X.691 11.9.3.8: 16K units and more) are
// reassembled into a scratch area the caller lends, kept until
// ClearScratch().  A malformed encoding ends the walk with the reason, the
// bit where it was met and the path of the element being decoded; the
// visitor has by then been told everything decoded before it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "per/per.h"
#include "per/reader.h"

namespace corvuna::per {

struct Field {
    const char* name = "";  // member or alternative; "" for SEQUENCE OF elements and the outermost type
    TypeId type = kNoType;  // for an open type's content: the type the key chose
    int64_t index = -1;     // SEQUENCE OF element, or CHOICE alternative, number; -1 otherwise
    int64_t key = 0;        // an open type's content: the key (IE id, procedure code) that chose it
    bool keyed = false;     // key is set
    bool extension = false; // an extension addition or an alternative outside the root
};

struct Value {
    Kind kind = Kind::kNull;
    int64_t number = 0;          // INTEGER; ENUMERATED index (root values first); BOOLEAN 0 or 1
    bool extended = false;       // INTEGER or ENUMERATED value outside the root
    const char* text = nullptr;  // ENUMERATED: the value's name (nullptr: an unknown extension value)
    BitSpan bits;                // BIT STRING, OCTET STRING, the strings, OBJECT IDENTIFIER, an open type
                                 // whose type is not known
    unsigned charBits = 0;       // character strings: bits per character
};

enum class Action : uint8_t { kDescend, kSkip, kStop };

class Walker;

class Visitor {
public:
    virtual ~Visitor() = default;
    // A constructed element begins (walker.frame(walker.depth() - 1) is it).
    virtual Action Enter(const Walker&, const Field&) { return Action::kDescend; }
    // It ends (after every Enter that did not stop the walk).  kStop ends the walk.
    virtual Action Leave(const Walker&, const Field&) { return Action::kDescend; }
    // A value.  kStop ends the walk; kDescend on an OCTET STRING or BIT
    // STRING whose type says (CONTAINING T) what it holds walks T over its
    // content; anything else goes on.
    virtual Action Primitive(const Walker&, const Field&, const Value&) { return Action::kSkip; }
};

enum class Status : uint8_t {
    kOk,
    kStopped,     // the visitor said kStop
    kMalformed,   // the encoding breaks the PER rules or ends early
    kTooDeep,     // nesting beyond kMaxDepth
    kNoRoom,      // a fragmented encoding larger than the scratch area
};

struct Result {
    Status status = Status::kOk;
    size_t bit = 0;               // where decoding stopped, in bits from the encoding's start
    const char* reason = "";      // kMalformed: what was wrong
    char path[192] = {};          // the element being decoded, e.g. "S1AP-PDU.initiatingMessage.value(...)"

    bool ok() const { return status == Status::kOk || status == Status::kStopped; }
};

const char* StatusName(Status status);

class Walker {
public:
    static constexpr int kMaxDepth = 96;

    Walker(const Module& module, Visitor& visitor) : module_(module), visitor_(visitor) {}

    // Room to reassemble fragmented encodings in (none by default: a
    // fragmented encoding then ends the walk with kNoRoom).
    void SetScratch(uint8_t* area, size_t size) {
        scratch_ = area;
        scratchSize_ = size;
        scratchUsed_ = 0;
    }
    // Forgets what was reassembled (spans into it become invalid).
    void ClearScratch() { scratchUsed_ = 0; }

    // Decodes one value of `type` from `encoding`.  Octets after the value
    // are not looked at.
    Result Walk(TypeId type, const uint8_t* encoding, size_t size);

    const Module& module() const { return module_; }
    // The elements being decoded, outermost (0) to innermost (depth() - 1).
    int depth() const { return depth_; }
    const Field& frame(int i) const { return frames_[i]; }
    // Whether an element of `type` encloses the current one.
    bool Inside(TypeId type) const;
    // The path of the current element into `out` (NUL-terminated, cut to
    // `capacity`); returns its length.
    size_t Path(char* out, size_t capacity) const;

private:
    bool Element(Reader& r, const Field& field, bool jumpable);
    bool Constructed(Reader& r, const Type& t, bool jumpable);
    bool Sequence(Reader& r, const Type& t, bool additions);
    bool SequenceOf(Reader& r, const Type& t);
    bool Choice(Reader& r, const Type& t);
    bool Primitive(Reader& r, const Type& t);
    bool OpenType(Reader& r, TypeId type, const char* name, int64_t key, bool keyed, bool extension);
    // An open type's (or extension addition's) content: a reader over it.
    bool OpenContent(Reader& r, Reader& content);
    // Content whose type is not known: its octets to the visitor.
    bool Unknown(Reader& content, const char* name, TypeId type);
    // `first` and the units after it (fragments reassembled).
    bool Units(Reader& r, Length first, unsigned unitBits, BitSpan& out);
    bool Strings(Reader& r, const Type& t, unsigned unitBits, bool characters, Value& v);
    bool Fail(const Reader& r, Status status, const char* reason);
    bool Stop();

    const Module& module_;
    Visitor& visitor_;
    Field frames_[kMaxDepth];
    int depth_ = 0;
    int silent_ = 0;  // inside a skipped element: the visitor is not told
    int64_t lastInteger_ = 0;
    size_t steps_ = 0;   // elements decoded in this walk
    size_t budget_ = 0;  // the most an encoding of its size can hold
    const uint8_t* input_ = nullptr;
    size_t scratchOrigin_ = 0;  // where the reassembled encoding being read began
    uint8_t* scratch_ = nullptr;
    size_t scratchSize_ = 0;
    size_t scratchUsed_ = 0;
    Result result_;
};

}  // namespace corvuna::per
