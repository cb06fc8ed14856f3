// SPDX-License-Identifier: Apache-2.0
// The standard view as a tree for people: one node a line, "label: value",
// indented by four spaces a level; an IE's line says its type, clause,
// offset and length.
#pragma once

#include "view/sink.h"

namespace corvuna::view {

class TextSink final : public Sink {
public:
    TextSink(char* buffer, size_t capacity);

    void Begin(Label label) override;
    void End() override { Close(); }
    void BeginList(Label label) override { Begin(label); }
    void EndList() override { Close(); }

    void Number(Label label, int64_t value) override;
    void Quantity(Label label, int64_t value, Text unit) override;
    void Enum(Label label, int64_t value, Text text) override;
    void EnumHex(Label label, uint32_t value, int digits, Text text) override;
    void String(Label label, std::string_view value, bool utf8) override;
    void Ascii(Label label, std::string_view value) override;
    void Hex(Label label, const uint8_t* octets, size_t count) override;
    void HexNumber(Label label, uint32_t value, int digits) override;
    void Null(Label) override {}

    void BeginRecord(Label member) override;
    void EndRecord(const RecordEnd& end) override;
    void Heading(int direction, size_t length) override;
    void BeginMessage(Label member) override;
    void EndMessage() override;
    void MessageName(Label) override {}
    void BeginIe(const IePlace& place) override;
    void EndIe() override { Close(); }
    void ExtraIe(uint8_t iei, bool repeated, size_t offset, Octets octets) override;
    void Error(const ErrorNote& note) override;

    using Sink::Begin;
    using Sink::Hex;
    using Sink::String;

private:
    // Indentation is at most kMaxIndent characters deep.
    static constexpr size_t kMaxIndent = 200;
    static constexpr size_t kFastRoom = kMaxIndent + detail::kMaxKey + kFastValue + 96;

    // The indentation and "label: " of a field at `p` (Fast() holds); where
    // its value goes.
    char* FastLine(char* p, Label label) const;
    // The same on the checked path: false when the field is left out.
    bool Line(Label label);
    void Close() {
        if (depth_ > 0) --depth_;
    }
    void TextValue(std::string_view value, bool utf8);
    // "label: note" opening a node.
    void BeginNoted(Label label, std::string_view note);
    template <typename FastValue, typename PutValue>
    void TextAndValue(Label label, Text text, FastValue fast, PutValue put);
    void PutNumbered(size_t offset, size_t length);

    // The depth of the record's outermost message, shown on the record's
    // own level (-1 before it begins).
    int flatDepth_ = -1;
};

}  // namespace corvuna::view
