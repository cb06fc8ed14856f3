// SPDX-License-Identifier: Apache-2.0
// Labels of the standard view's nodes: the standard's name of an IE or field
// ("EPS attach type value"), written "EPS attach type value"_f.  Its JSON
// key, the label in snake case ("eps_attach_type_value"), is made when the
// code is compiled, so writing a field copies its key and never converts
// it.  Field<"Label", "key"> gives a key of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/text.h"

namespace corvuna::view {

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

}  // namespace corvuna::view
