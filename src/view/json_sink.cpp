// SPDX-License-Identifier: Apache-2.0
#include "view/json_sink.h"

namespace corvuna::view {

namespace {

constexpr char kHex[] = "0123456789abcdef";

// Per byte: whether a JSON string holds it as it is (UTF-8 continuation
// and lead bytes apart).
constexpr auto kJsonPlain = [] {
    struct Table {
        bool plain[256];
    } table{};
    for (int i = 0x20; i < 0x80; ++i) table.plain[i] = i != '"' && i != '\\';
    return table;
}();

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

JsonSink::JsonSink(char* buffer, size_t capacity) : Sink(buffer, capacity, kFastRoom) {
    state_[0] = kInList;  // the root object has no key
}

bool JsonSink::Key(Label label) {
    if (!Admit()) return false;
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

void JsonSink::PutKey(const char* key, size_t n) {
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

void JsonSink::Close(char closer) {
    const int closing = depth_;
    if (depth_ > 0) --depth_;
    if (Closes(closing)) PutChar(closer);
}

void JsonSink::Opening(Label label, char opener, bool list) {
    if (Fast()) {
        char* p = FastKey(cur_, label);
        *p++ = opener;
        cur_ = p;
    } else if (Key(label)) {
        PutChar(opener);
    }
    Open(list);
}

void JsonSink::Begin(Label label) { Opening(label, '{', false); }

void JsonSink::BeginList(Label label) { Opening(label, '[', true); }

void JsonSink::Number(Label label, int64_t value) {
    if (Fast()) {
        cur_ = FastDecimal(FastKey(cur_, label), value);
        return;
    }
    if (Key(label)) PutDecimal(value);
}

void JsonSink::Null(Label label) {
    if (Fast()) {
        cur_ = FastLiteral(FastKey(cur_, label), "null");
        return;
    }
    if (Key(label)) Put("null", 4);
}

void JsonSink::Enum(Label label, int64_t value, Text text) {
    if (Fast() && (text.plain || !text) && text.size <= kFastValue) {
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
    Put("{\"value\":", 9);
    PutDecimal(value);
    if (text) {
        Put(",\"text\":", 8);
        JsonText(text);
    }
    PutChar('}');
}

void JsonSink::Absent(Label label, Text text) {
    if (Fast() && text.plain && text.size <= kFastValue) {
        char* p = FastLiteral(FastKey(cur_, label), "{\"value\":null,\"text\":\"");
        p = FastCopy(p, text.text, text.size);
        cur_ = FastLiteral(p, "\"}");
        return;
    }
    if (!Key(label)) return;
    Put("{\"value\":null,\"text\":", 21);
    JsonText(text);
    PutChar('}');
}

void JsonSink::Flag(Label label, bool value, Text, Text) {
    if (Fast()) {
        char* p = FastKey(cur_, label);
        cur_ = value ? FastLiteral(p, "true") : FastLiteral(p, "false");
        return;
    }
    if (!Key(label)) return;
    if (value) {
        Put("true", 4);
    } else {
        Put("false", 5);
    }
}

void JsonSink::String(Label label, std::string_view value, bool utf8) {
    if (Key(label)) JsonString(value, utf8);
}

void JsonSink::Ascii(Label label, std::string_view value) {
    if (Fast() && value.size() <= kFastValue) {
        char* p = FastKey(cur_, label);
        *p++ = '"';
        p = FastCopy(p, value.data(), value.size());
        *p++ = '"';
        cur_ = p;
        return;
    }
    if (!Key(label)) return;
    PutChar('"');
    Put(value);
    PutChar('"');
}

void JsonSink::Hex(Label label, const uint8_t* octets, size_t count) {
    if (Fast() && 2 * count <= kFastValue) {
        char* p = FastKey(cur_, label);
        *p++ = '"';
        p = FastHex(p, octets, count);
        *p++ = '"';
        cur_ = p;
        return;
    }
    if (!Key(label)) return;
    PutChar('"');
    PutHex(octets, count);
    PutChar('"');
}

void JsonSink::BeginRecord(Label member) {
    if (member) {
        Begin(member);
        return;
    }
    if (Key(Label())) {
        Put("{\"schema_version\":", 18);
        PutDecimal(kSchemaVersion);
    }
    Open(false);
    state_[Slot()] = kHasMember;
}

void JsonSink::Heading(int direction, size_t length) {
    Ascii("Direction"_f, direction == 1 ? "uplink" : "downlink");
    Number("Length"_f, static_cast<int64_t>(length));
}

void JsonSink::MessageName(Label name) {
    if (Fast()) {
        cur_ = FastIdentifier(FastKey(cur_, "Name"_f), name);
        return;
    }
    if (Key("Name"_f)) Put(name.quotedIdentifier());
}

void JsonSink::PutError(const ErrorNote& note) {
    Begin();
    Number("Offset"_f, static_cast<int64_t>(note.offset));
    if (note.ie) {
        if (Key(Field<"IE", "ie">)) Put(note.ie.quotedIdentifier());
    } else {
        Null(Field<"IE", "ie">);
    }
    String("Reason"_f, note.Reason());
    End();
}

void JsonSink::EndRecord(const RecordEnd& end) {
    Ascii("Result"_f, ResultName(end.result));
    BeginList("Errors"_f);
    for (const ErrorNote& note : end.errors) PutError(note);
    if (end.moreErrors > 0) {
        Begin();
        Null("Offset"_f);
        Null(Field<"IE", "ie">);
        char reason[64];
        const size_t n = FormatUnsigned64(end.moreErrors, reason);
        std::memcpy(reason + n, " more errors not listed", 23);
        String("Reason"_f, std::string_view(reason, n + 23));
        End();
    }
    EndList();
    if (end.stopped != nullptr) {
        Begin("Stopped"_f);
        Number("Offset"_f, static_cast<int64_t>(end.stopped->offset));
        if (end.stopped->ie) {
            if (Key(Field<"IE", "ie">)) Put(end.stopped->ie.quotedIdentifier());
        } else {
            Null(Field<"IE", "ie">);
        }
        String("Reason"_f, end.stopped->Reason());
        End();
    } else {
        Null("Stopped"_f);
    }
    End();
}

void JsonSink::BeginIe(const IePlace& place) {
    if (Fast()) {
        char* p = FastKey(cur_, Label());
        p = FastIdentifier(FastLiteral(p, "{\"ie\":"), place.role);
        p = place.iei >= 0 ? FastDecimal(FastLiteral(p, ",\"iei\":"), place.iei) : FastLiteral(p, ",\"iei\":null");
        p = FastDecimal(FastLiteral(p, ",\"offset\":"), static_cast<int64_t>(place.offset));
        p = FastDecimal(FastLiteral(p, ",\"length\":"), static_cast<int64_t>(place.length));
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
    Put(place.role.quotedIdentifier());
    if (place.iei >= 0) {
        Put(",\"iei\":", 7);
        PutDecimal(place.iei);
    } else {
        Put(",\"iei\":null", 11);
    }
    Put(",\"offset\":", 10);
    PutDecimal(static_cast<int64_t>(place.offset));
    Put(",\"length\":", 10);
    PutDecimal(static_cast<int64_t>(place.length));
    Put(",\"value\":{", 10);
}

void JsonSink::EndIe() {
    End();
    End();
}

void JsonSink::ExtraIe(uint8_t iei, bool repeated, size_t offset, Octets octets) {
    Begin();
    if (Key(Field<"IE", "ie">)) Put(repeated ? "\"repeated_ie\"" : "\"unknown_ie\"");
    Number("IEI"_f, iei);
    Number("Offset"_f, static_cast<int64_t>(offset));
    Number("Length"_f, static_cast<int64_t>(octets.size));
    Begin("Value"_f);
    Hex("Octets"_f, octets);
    End();
    End();
}

void JsonSink::JsonText(Text text) {
    if (!text.plain) {
        JsonString(std::string_view(text.text, text.size), true);
        return;
    }
    PutChar('"');
    Put(text);
    PutChar('"');
}

void JsonSink::JsonString(std::string_view value, bool utf8) {
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

}  // namespace corvuna::view
