// SPDX-License-Identifier: Apache-2.0
// Element names of the legacy document: string literals measured and
// checked when the code is compiled.  The value texts and tables the
// document shares with the standard view are in common/text.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/text.h"

namespace corvuna {

// An element name exactly as it stands in the document: checked when the
// code is compiled to need neither trimming nor blank replacement, so the
// writers copy it as it is.
struct Name {
    const char* text;
    uint32_t size;

    template <size_t N>
    consteval Name(const char (&literal)[N]) : text(literal), size(N - 1) {
        if (N < 2) throw "an element name is not empty";
        for (size_t i = 0; i + 1 < N; ++i) {
            if (literal[i] == ' ' || literal[i] == '<' || literal[i] == '>' || literal[i] == '/' ||
                literal[i] == '\0') {
                throw "an element name is written as it stands in the document: no blank, '<', '>' or '/'";
            }
        }
    }

    // A name held in a table of names whose literals were checked as above.
    static constexpr Name Trusted(const char* text, uint32_t size) { return Name(text, size); }

private:
    constexpr Name(const char* t, uint32_t n) : text(t), size(n) {}
};

}  // namespace corvuna
