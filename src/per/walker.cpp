// SPDX-License-Identifier: Apache-2.0
#include "per/walker.h"

#include <cstdio>
#include <cstring>

#include "common/text.h"

namespace corvuna::per {

namespace {

// A SEQUENCE keeps the INTEGER values of its first members: the keys its
// open types are resolved by (ProtocolIE-Field's id, InitiatingMessage's
// procedureCode).  The generator refuses keys further down.
constexpr unsigned kKeySlots = 4;

// Copies `from` to `to` from bit `toBit` on (toBit a multiple of 8).
void CopyBits(const BitSpan& from, uint8_t* to, size_t toBit) {
    uint8_t* out = to + toBit / 8;
    size_t i = 0;
    if (from.aligned()) {
        std::memcpy(out, from.begin(), from.bits / 8);
        i = from.bits / 8 * 8;
        out += from.bits / 8;
    } else {
        for (; i + 8 <= from.bits; i += 8) *out++ = static_cast<uint8_t>(from.Value(i, 8));
    }
    if (i < from.bits) {
        const unsigned rest = static_cast<unsigned>(from.bits - i);
        *out = static_cast<uint8_t>(from.Value(i, rest) << (8 - rest));
    }
}

}  // namespace

const char* StatusName(Status status) {
    static constexpr const char* kNames[] = {"ok", "stopped", "malformed", "nested too deeply", "no room to reassemble"};
    return NameIn(kNames, status);
}

Result Walker::Walk(TypeId type, const uint8_t* encoding, size_t size) {
    result_ = Result{};
    depth_ = 0;
    silent_ = 0;
    input_ = encoding;
    steps_ = 0;
    // Every element but a few zero-width ones takes a bit at least: an
    // encoding claims no more elements than this.
    budget_ = size * 8 * 8 + 65536;
    Reader r(encoding, 0, size * 8, module_.variant);
    if (type >= module_.typeCount) {
        Fail(r, Status::kMalformed, "no such type");
        return result_;
    }
    if (Element(r, Field{"", type, -1, 0, false, false}, false)) result_.bit = r.position();
    return result_;
}

bool Walker::Inside(TypeId type) const {
    for (int i = 0; i < depth_; ++i) {
        if (frames_[i].type == type) return true;
    }
    return false;
}

size_t Walker::Path(char* out, size_t capacity) const {
    if (capacity == 0) return 0;
    size_t n = 0;
    auto put = [&](const char* text) {
        for (; *text != '\0' && n + 1 < capacity; ++text) out[n++] = *text;
    };
    for (int i = 0; i < depth_; ++i) {
        const Field& f = frames_[i];
        if (i == 0) {
            put(*f.name != '\0' ? f.name : module_.TypeName(f.type));
            continue;
        }
        if (*f.name == '\0' && f.index >= 0) {
            char number[32];
            std::snprintf(number, sizeof number, "[%lld]", static_cast<long long>(f.index));
            put(number);
            continue;
        }
        if (*f.name == '\0') continue;  // a contained encoding
        put(".");
        put(f.name);
        if (f.keyed && *module_.TypeName(f.type) != '\0') {
            put("(");
            put(module_.TypeName(f.type));
            put(")");
        }
    }
    out[n] = '\0';
    return n;
}

bool Walker::Fail(const Reader& r, Status status, const char* reason) {
    if (result_.status != Status::kOk) return false;
    result_.status = status;
    result_.reason = reason != nullptr ? reason : "";
    result_.bit = r.data() == input_ ? r.position() : scratchOrigin_;
    Path(result_.path, sizeof result_.path);
    return false;
}

bool Walker::Stop() {
    if (result_.status == Status::kOk) result_.status = Status::kStopped;
    return false;
}

bool Walker::Element(Reader& r, const Field& field, bool jumpable) {
    if (field.type >= module_.typeCount) return Fail(r, Status::kMalformed, "a descriptor names no type");
    if (depth_ == kMaxDepth) return Fail(r, Status::kTooDeep, "nested too deeply");
    if (++steps_ > budget_) return Fail(r, Status::kMalformed, "more elements than the encoding can hold");
    frames_[depth_++] = field;
    const Type& t = module_.types[field.type];
    const bool ok = t.kind == Kind::kSequence || t.kind == Kind::kSequenceOf || t.kind == Kind::kChoice
                        ? Constructed(r, t, jumpable)
                        : Primitive(r, t);
    --depth_;
    return ok;
}

bool Walker::Constructed(Reader& r, const Type& t, bool jumpable) {
    Action action = Action::kDescend;
    if (silent_ == 0) {
        action = visitor_.Enter(*this, frames_[depth_ - 1]);
        if (action == Action::kStop) return Stop();
    }
    bool ok = true;
    if (action != Action::kSkip || !jumpable) {
        if (action == Action::kSkip) ++silent_;
        switch (t.kind) {
            case Kind::kSequence:
                ok = Sequence(r, t, false);
                break;
            case Kind::kSequenceOf:
                ok = SequenceOf(r, t);
                break;
            default:
                ok = Choice(r, t);
                break;
        }
        if (action == Action::kSkip) --silent_;
    }
    if (!ok) return false;
    if (silent_ == 0 && visitor_.Leave(*this, frames_[depth_ - 1]) == Action::kStop) return Stop();
    return true;
}

bool Walker::Sequence(Reader& r, const Type& t, bool additions) {
    const bool extended = (t.flags & kExtensible) != 0 && r.Bit();
    const BitSpan preamble = r.Take(t.aux);
    if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
    int64_t keys[kKeySlots] = {};
    bool keyed[kKeySlots] = {};
    unsigned optional = 0;
    for (unsigned i = 0; i < t.rootCount; ++i) {
        const Member& m = module_.members[t.ref + i];
        if ((m.flags & (kOptional | kDefault)) != 0 && !preamble.Bit(optional++)) continue;
        const Type& mt = module_.types[m.type];
        if (mt.kind == Kind::kOpenType) {
            const bool haveKey = mt.aux < kKeySlots && keyed[mt.aux];
            if (!OpenType(r, m.type, module_.Name(m.name), haveKey ? keys[mt.aux] : 0, haveKey, additions)) {
                return false;
            }
            continue;
        }
        if (!Element(r, Field{module_.Name(m.name), m.type, -1, 0, false, additions}, false)) return false;
        if (i < kKeySlots && mt.kind == Kind::kInteger) {
            keys[i] = lastInteger_;
            keyed[i] = true;
        }
    }
    if (!extended) return true;
    // Extension additions: a bit map of those present, then each as an
    // open type.
    const size_t count = r.NormallySmallLength();
    const BitSpan present = r.Take(count);
    if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
    for (size_t j = 0; j < count; ++j) {
        if (!present.Bit(j)) continue;
        Reader content;
        if (!OpenContent(r, content)) return false;
        if (j >= t.extCount) {
            if (!Unknown(content, "", kNoType)) return false;
            continue;
        }
        const Member& m = module_.members[t.ref + t.rootCount + j];
        if ((m.flags & kGroup) != 0) {
            // An extension addition group: its members belong to this SEQUENCE.
            if (!Sequence(content, module_.types[m.type], true)) return false;
            continue;
        }
        if (!Element(content, Field{module_.Name(m.name), m.type, -1, 0, false, true}, true)) return false;
    }
    return true;
}

bool Walker::SequenceOf(Reader& r, const Type& t) {
    const bool extended = (t.flags & kExtensible) != 0 && r.Bit();
    const Bounds& b = module_.bounds[t.bounds];
    const uint64_t lower = (t.flags & kLower) != 0 && b.lower > 0 ? static_cast<uint64_t>(b.lower) : 0;
    const uint64_t upper = static_cast<uint64_t>(b.lower) + b.span;
    int64_t index = 0;
    auto elements = [&](size_t n) {
        for (size_t k = 0; k < n; ++k) {
            if (!Element(r, Field{"", t.ref, index++, 0, false, false}, false)) return false;
        }
        return true;
    };
    if (!extended && (t.flags & kUpper) != 0 && b.lower >= 0 && upper < 65536) {
        const size_t n = r.ConstrainedLength(static_cast<size_t>(lower), static_cast<size_t>(upper));
        if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
        return elements(n);
    }
    for (;;) {
        const Length length = r.UnconstrainedLength();
        if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
        if (!elements(length.count)) return false;
        if (!length.fragment) return true;
    }
}

bool Walker::Choice(Reader& r, const Type& t) {
    const bool extended = (t.flags & kExtensible) != 0 && r.Bit();
    if (!extended) {
        if (t.rootCount == 0) return Fail(r, Status::kMalformed, "a CHOICE without alternatives");
        const uint64_t index = r.ConstrainedWholeNumber(t.rootCount);
        if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
        const Member& m = module_.members[t.ref + index];
        return Element(r, Field{module_.Name(m.name), m.type, static_cast<int64_t>(index), 0, false, false}, false);
    }
    const uint64_t index = r.NormallySmall();
    Reader content;
    if (!OpenContent(r, content)) return false;
    if (index >= t.extCount) return Unknown(content, "", kNoType);
    const Member& m = module_.members[t.ref + t.rootCount + index];
    return Element(content,
                   Field{module_.Name(m.name), m.type, static_cast<int64_t>(t.rootCount + index), 0, false, true},
                   true);
}

bool Walker::OpenContent(Reader& r, Reader& content) {
    const Length length = r.UnconstrainedLength();
    BitSpan octets;
    if (!r.ok() || !Units(r, length, 8, octets)) {
        return r.ok() ? false : Fail(r, Status::kMalformed, r.error());
    }
    content = Reader(octets.data, octets.bit, octets.bit + octets.bits, module_.variant);
    return true;
}

bool Walker::OpenType(Reader& r, TypeId type, const char* name, int64_t key, bool keyed, bool extension) {
    const Type& t = module_.types[type];
    Reader content;
    if (!OpenContent(r, content)) return false;
    const SetEntry* entry = keyed ? module_.Lookup(t.ref, key) : nullptr;
    // A key the message's own set lacks: the protocol's type for it.
    if (entry == nullptr && keyed) entry = module_.Lookup(t.bounds, key);
    if (silent_ > 0) return true;  // not decoded: nobody is told of it
    if (entry == nullptr) {
        // A key the object set does not hold: the octets alone.
        if (depth_ == kMaxDepth) return Fail(r, Status::kTooDeep, "nested too deeply");
        frames_[depth_++] = Field{name, type, -1, key, keyed, extension};
        const bool ok = Unknown(content, name, type);
        --depth_;
        return ok;
    }
    return Element(content, Field{name, entry->type, -1, key, true, extension}, true);
}

bool Walker::Unknown(Reader& content, const char* name, TypeId type) {
    if (silent_ > 0) return true;
    Value v;
    v.kind = Kind::kOpenType;
    v.bits = content.Take(content.remaining());
    const Field unknown{name, type, -1, 0, false, true};
    const Field& f = type == kNoType ? unknown : frames_[depth_ - 1];
    if (visitor_.Primitive(*this, f, v) == Action::kStop) return Stop();
    return true;
}

bool Walker::Units(Reader& r, Length first, unsigned unitBits, BitSpan& out) {
    if (!first.fragment) {
        out = r.Take(first.count * unitBits);
        return r.ok() || Fail(r, Status::kMalformed, r.error());
    }
    // Fragments of 16K to 64K units, each followed by another length,
    // reassembled in the scratch area.
    const size_t origin = r.position();
    const size_t start = scratchUsed_ * 8;
    size_t total = 0;
    Length length = first;
    for (;;) {
        const BitSpan part = r.Take(length.count * unitBits);
        if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
        if (scratch_ == nullptr || part.bits > scratchSize_ * 8 - start - total) {
            return Fail(r, Status::kNoRoom, "a fragmented encoding larger than the scratch area");
        }
        CopyBits(part, scratch_, start + total);
        total += part.bits;
        if (!length.fragment) break;
        length = r.UnconstrainedLength();
        if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
    }
    scratchUsed_ += (total + 7) / 8;
    scratchOrigin_ = origin;
    out = BitSpan{scratch_, start, total};
    return true;
}

bool Walker::Strings(Reader& r, const Type& t, unsigned unitBits, bool characters, Value& v) {
    const bool extended = (t.flags & kExtensible) != 0 && r.Bit();
    const Bounds& b = module_.bounds[t.bounds];
    const uint64_t lower = (t.flags & kLower) != 0 && b.lower > 0 ? static_cast<uint64_t>(b.lower) : 0;
    const uint64_t upper = static_cast<uint64_t>(b.lower) + b.span;
    if (!extended && (t.flags & kUpper) != 0 && b.lower >= 0 && upper < 65536) {
        const size_t lb = static_cast<size_t>(lower);
        const size_t ub = static_cast<size_t>(upper);
        size_t n = ub;
        if (lb == ub) {
            // Fixed size: up to 16 bits are not octet-aligned.
            if (n * unitBits > 16) r.Align();
        } else {
            n = r.ConstrainedLength(lb, ub);
            if (n > 0 && (!characters || ub * unitBits > 16)) r.Align();
        }
        v.bits = r.Take(n * unitBits);
        return r.ok() || Fail(r, Status::kMalformed, r.error());
    }
    const Length length = r.UnconstrainedLength();
    if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
    return Units(r, length, unitBits, v.bits);
}

bool Walker::Primitive(Reader& r, const Type& t) {
    Value v;
    v.kind = t.kind;
    switch (t.kind) {
        case Kind::kNull:
            break;
        case Kind::kBoolean:
            v.number = r.Bit() ? 1 : 0;
            break;
        case Kind::kInteger: {
            const Bounds& b = module_.bounds[t.bounds];
            const bool extended = (t.flags & kExtensible) != 0 && r.Bit();
            if (extended) {
                v.number = r.UnconstrainedWholeNumber();
                v.extended = true;
            } else if ((t.flags & (kLower | kUpper)) == (kLower | kUpper)) {
                // The full 64-bit range wraps to 0, which stands for 2^64.
                const uint64_t range = b.span + 1;
                v.number = static_cast<int64_t>(static_cast<uint64_t>(b.lower) + r.ConstrainedWholeNumber(range));
            } else if ((t.flags & kLower) != 0) {
                v.number = static_cast<int64_t>(static_cast<uint64_t>(b.lower) + r.SemiConstrainedWholeNumber());
            } else {
                v.number = r.UnconstrainedWholeNumber();
            }
            lastInteger_ = v.number;
            break;
        }
        case Kind::kEnumerated: {
            const bool extended = (t.flags & kExtensible) != 0 && r.Bit();
            if (!extended) {
                if (t.rootCount == 0) return Fail(r, Status::kMalformed, "an ENUMERATED without values");
                const uint64_t index = r.ConstrainedWholeNumber(t.rootCount);
                v.number = static_cast<int64_t>(index);
                if (r.ok()) v.text = module_.Name(module_.valueNames[t.ref + index]);
            } else {
                const uint64_t index = r.NormallySmall();
                v.number = static_cast<int64_t>(t.rootCount + index);
                v.extended = true;
                if (r.ok() && index < t.extCount) v.text = module_.Name(module_.valueNames[t.ref + t.rootCount + index]);
            }
            break;
        }
        case Kind::kBitString:
            if (!Strings(r, t, 1, false, v)) return false;
            break;
        case Kind::kOctetString:
            if (!Strings(r, t, 8, false, v)) return false;
            break;
        case Kind::kCharString:
            // 7-bit characters, each in an octet in the aligned variant.
            v.charBits = module_.variant == Variant::kAligned ? 8 : 7;
            if (!Strings(r, t, v.charBits, true, v)) return false;
            break;
        case Kind::kUtf8String:
        case Kind::kObjectIdentifier:
        case Kind::kOpenType: {
            const Length length = r.UnconstrainedLength();
            if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
            if (!Units(r, length, 8, v.bits)) return false;
            break;
        }
        default:
            return Fail(r, Status::kMalformed, "a descriptor of no known kind");
    }
    if (!r.ok()) return Fail(r, Status::kMalformed, r.error());
    if (silent_ > 0) return true;
    const Action action = visitor_.Primitive(*this, frames_[depth_ - 1], v);
    if (action == Action::kStop) return Stop();
    if (action == Action::kDescend && t.ref != 0 && (t.kind == Kind::kOctetString || t.kind == Kind::kBitString)) {
        // (CONTAINING T): T's encoding is the string's content.
        Reader content(v.bits.data, v.bits.bit, v.bits.bit + v.bits.bits, module_.variant);
        return Element(content, Field{"", t.ref - 1, -1, 0, false, false}, false);
    }
    return true;
}

}  // namespace corvuna::per
