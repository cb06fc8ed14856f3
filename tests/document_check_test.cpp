// SPDX-License-Identifier: Apache-2.0
// The document checker used by the corpus tests and the fuzz targets must
// reject what is malformed, or those checks could never fail.
#include "support/document_check.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace corvuna::test {
namespace {

TEST(DocumentCheck, AcceptsWellFormedAndRejectsMalformedDocuments) {
    struct Case {
        const char* what;
        std::string document;
        bool wellFormed;
    };
    const Case cases[] = {
        {"frame alone", Framed(1, ""), true},
        {"nested groups", Framed(1, Lines({"<A>", "<B>", "<V>(1)text</V>", "</B>", "</A>"})), true},
        {"value with < and >", Framed(1, Lines({"<NumDigit>1<2>3</NumDigit>"})), true},
        {"APN text with a line feed", Framed(1, Lines({"<G>", "<APN>a", "b</APN>", "</G>"})), true},
        {"APN text holding a closing tag", Framed(1, Lines({"<G>", "<APN>x</APN>", "</G>", "y</APN>", "</G>"})),
         true},
        {"name text starting with a line feed", Framed(1, Lines({"<TextString>", "z</TextString>"})), true},
        {"wrong direction", Framed(0, ""), false},
        {"missing frame end", "<L3Message>\n<dir>UPLINK</dir>\n<message>\n</message>\n", false},
        {"unclosed group", Framed(1, Lines({"<A>", "<V>1</V>"})), false},
        {"crossed groups", Framed(1, Lines({"<A>", "<B>", "</A>", "</B>"})), false},
        {"value element not closed", Framed(1, Lines({"<V>1"})), false},
        {"value closed by another name", Framed(1, Lines({"<V>1</W>"})), false},
        {"text outside an element", Framed(1, Lines({"stray"})), false},
        {"unterminated free text", Framed(1, Lines({"<APN>a", "b"})), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckDocument(c.document, 1).empty(), c.wellFormed) << c.what << ": " << CheckDocument(c.document, 1);
    }
}

}  // namespace
}  // namespace corvuna::test
