// SPDX-License-Identifier: Apache-2.0
// ASN.1 Packed Encoding Rules (ITU-T X.691), aligned and unaligned, driven
// by descriptor tables.
//
// How the generator and the runtime meet: tools/per_gen/asn1_per_gen.py
// reads the ASN.1 modules of a protocol (TS 36.413 S1AP, TS 38.413 NGAP,
// TS 36.331 LTE RRC) at build time and writes per_NAME.h/.cpp into the
// build directory: one constexpr `Module` holding a `Type` per ASN.1 type
// (named types, types written inline, instances of parameterised types),
// the `Member`s of SEQUENCE and CHOICE types, ENUMERATED value names,
// value and size `Bounds`, and the information object sets (`ObjectSet`,
// `SetEntry`: key -> type) that the open types of the AP protocols are
// resolved through (IE id -> IE type, procedureCode -> message type).  The
// header gives each named type's index as per::NAME::type::X and each
// integer value as per::NAME::value::x.  The runtime (this folder: the
// PER primitives in reader.h, the walker in walker.h) knows nothing of
// any protocol: it walks any descriptor over an encoding, in the variant
// the module names, and tells a visitor what it finds.
//
// Outside the core library; standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvuna::per {

enum class Variant : uint8_t { kAligned, kUnaligned };

enum class Kind : uint8_t {
    kNull,
    kBoolean,
    kInteger,
    kEnumerated,
    kBitString,
    kOctetString,
    kCharString,  // PrintableString, VisibleString, IA5String: 7-bit characters
    kUtf8String,
    kObjectIdentifier,
    kSequence,
    kSequenceOf,
    kChoice,
    kOpenType,
};

using TypeId = uint32_t;
inline constexpr TypeId kNoType = 0xFFFFFFFFu;
inline constexpr uint32_t kNoSet = 0xFFFFFFFFu;

// Type::flags.
inline constexpr uint8_t kExtensible = 1;  // extension marker, or an extensible constraint
inline constexpr uint8_t kLower = 2;       // INTEGER: a lower bound; strings, SEQUENCE OF: a size lower bound
inline constexpr uint8_t kUpper = 4;       // the same for the upper bound

// Member::flags.
inline constexpr uint8_t kOptional = 1;
inline constexpr uint8_t kDefault = 2;
inline constexpr uint8_t kGroup = 4;  // an extension addition group: its members belong to the parent

struct Type {
    Kind kind;
    uint8_t flags;
    uint16_t rootCount;  // SEQUENCE, CHOICE: root members; ENUMERATED: root values
    uint16_t extCount;   // SEQUENCE, CHOICE: extension additions; ENUMERATED: values after the marker
    uint16_t aux;        // SEQUENCE: OPTIONAL or DEFAULT root members; open type: the key member's index
    uint32_t name;       // the type's name in the name pool ("" for a type written inline)
    uint32_t ref;        // SEQUENCE, CHOICE: first member; SEQUENCE OF: element type; ENUMERATED: first
                         // value name; BIT and OCTET STRING: contained type + 1 (0: none); open type: set
    uint32_t bounds;     // INTEGER: value bounds; strings, SEQUENCE OF: size bounds; open type: the set of
                         // every object of the class, for keys its own set lacks (kNoSet: none)
};

struct Member {
    uint32_t name;
    TypeId type;
    uint8_t flags;
};

// lower .. lower + span (a span up to 2^64 - 1: INTEGER (0..18446744073709551615) occurs).
struct Bounds {
    int64_t lower;
    uint64_t span;
};

struct ObjectSet {
    uint32_t first;  // in the entries
    uint32_t count;
};

struct SetEntry {
    int64_t key;
    TypeId type;
    uint32_t name;  // the information object's name ("" for one written inline)
};

// An INTEGER value assignment of the modules: `id-NAS-PDU ProtocolIE-ID ::= 26`.
struct Constant {
    uint32_t name;
    uint32_t typeName;
    int64_t value;
};

struct Module {
    const char* protocol;
    Variant variant;
    const Type* types;
    uint32_t typeCount;
    const Member* members;
    const uint32_t* valueNames;
    const Bounds* bounds;
    const ObjectSet* sets;
    uint32_t setCount;
    const SetEntry* entries;
    const Constant* constants;
    uint32_t constantCount;
    const char* names;

    const char* Name(uint32_t offset) const { return names + offset; }
    const Type& type(TypeId id) const { return types[id]; }
    const char* TypeName(TypeId id) const { return id < typeCount ? Name(types[id].name) : ""; }

    // The entry of `key` in object set `set`, or nullptr.
    const SetEntry* Lookup(uint32_t set, int64_t key) const;
    // The named type called `name`, or kNoType (for tests and tools: linear).
    TypeId FindType(std::string_view name) const;
    // The name of the value assignment of type `typeName` whose value is
    // `value` ("" when none), e.g. ("ProcedureCode", 12) -> "id-initialUEMessage".
    const char* ConstantName(std::string_view typeName, int64_t value) const;
};

// Marks in `reaches` (typeCount entries) every type whose values can hold
// a value of `target`: through members, SEQUENCE OF elements and the types
// of open types' own object sets (not the class-wide sets of keys a set
// lacks, not through CONTAINING).  A visitor that wants
// one type skips what cannot hold it.
void MarkTypesHolding(const Module& module, TypeId target, bool* reaches);
// The same for any of `count` targets.
void MarkTypesHolding(const Module& module, const TypeId* targets, size_t count, bool* reaches);

}  // namespace corvuna::per
