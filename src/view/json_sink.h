// SPDX-License-Identifier: Apache-2.0
// The standard view as compact JSON (RFC 8259): one object a record, keys
// the labels' snake-case identifiers, enumerated values {"value","text"},
// octets as lower-case hex.  docs/view.schema.json describes the shape.
#pragma once

#include "view/sink.h"

namespace corvuna::view {

class JsonSink final : public Sink {
public:
    JsonSink(char* buffer, size_t capacity);

    void Begin(Label label) override;
    void End() override { Closing('}'); }
    void BeginList(Label label) override;
    void EndList() override { Closing(']'); }

    void Number(Label label, int64_t value) override;
    void Enum(Label label, int64_t value, Text text) override;
    void Absent(Label label, Text text) override;
    void Flag(Label label, bool value, Text yes, Text no) override;
    void String(Label label, std::string_view value, bool utf8) override;
    void Ascii(Label label, std::string_view value) override;
    void Hex(Label label, const uint8_t* octets, size_t count) override;
    void Null(Label label) override;

    void BeginRecord(Label member) override;
    void EndRecord(const RecordEnd& end) override;
    void Heading(int direction, size_t length) override;
    void BeginMessage(Label member) override { Begin(member); }
    void EndMessage() override { End(); }
    void MessageName(Label name) override;
    void BeginIe(const IePlace& place) override;
    void EndIe() override;
    void ExtraIe(uint8_t iei, bool repeated, size_t offset, Octets octets) override;
    void Error(const ErrorNote&) override {}

    using Sink::Begin;
    using Sink::Hex;
    using Sink::String;

private:
    static constexpr size_t kFastRoom = detail::kMaxKey + 2 * detail::kKeyBlock + kFastValue + 64;

    // The comma and key of a field at `p` (Fast() holds); where its value
    // goes.  Keys are copied in whole 16-byte blocks from their padded
    // storage.
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
    // A label's quoted identifier, from the padded key storage.
    static char* FastIdentifier(char* p, Label name) {
        if (!name) return FastLiteral(p, "\"\"");
        const LabelData* d = name.data();
        const char* from = d->key + 1;
        const size_t n = d->keySize - 2;
        for (size_t i = 0; i < n; i += detail::kKeyBlock) std::memcpy(p + i, from + i, detail::kKeyBlock);
        return p + n;
    }

    // An object or a list opened and closed.
    inline void Opening(Label label, char opener, bool list);
    void Closing(char closer) {
        if (Fast()) {
            --depth_;
            *cur_++ = closer;
        } else {
            Close(closer);
        }
    }

    // Starts a field on the checked path: false when it is left out.
    bool Key(Label label);
    void PutKey(const char* key, size_t n);
    void Close(char closer);
    void JsonString(std::string_view value, bool utf8);
    void JsonText(Text text);
    void PutError(const ErrorNote& note);

    // Per open object or list: whether it already holds a member and
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
