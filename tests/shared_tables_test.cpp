// SPDX-License-Identifier: Apache-2.0
// The tables that several protocols, or the legacy document and the view,
// build from shared rows: every joined table holds each coded value once
// (a lookup takes the first row of a value, so a value given twice would
// hide a text), and the joined tables keep the rows of every part.
#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>

#include "common/causes.h"
#include "common/text.h"
#include "view/eps/emm_ies.h"
#include "view/eps/esm_ies.h"
#include "view/fivegs/mm_ies.h"
#include "view/fivegs/sm_ies.h"

namespace corvuna::test {
namespace {

struct JoinedTable {
    const char* what;
    std::span<const ValueText> rows;
    size_t parts;  // rows the parts hold together
};

TEST(SharedTables, JoinedTablesHoldEveryRowOfTheirPartsAndEachValueOnce) {
    const JoinedTable tables[] = {
        {"EMM cause", view::eps::kEmmCauses,
         std::size(view::eps::kEmmCauseValues) + std::size(kCommonEmmCauses) + std::size(kProtocolErrorCauses) + 1},
        {"ESM cause", view::eps::kEsmCauses,
         std::size(view::eps::kEsmCauseValues) + std::size(kCommonEsmCauses) + std::size(kProtocolErrorCauses) + 1},
    };
    for (const JoinedTable& t : tables) {
        SCOPED_TRACE(t.what);
        EXPECT_EQ(t.rows.size(), t.parts);
        std::set<int32_t> values;
        for (const ValueText& row : t.rows) EXPECT_TRUE(values.insert(row.value).second) << "value " << row.value;
    }
}

TEST(SharedTables, CauseTextsComeFromTheirOwnRowsThenTheProtocolErrors) {
    const struct {
        const char* what;
        const DenseText<256>& texts;
        int value;
        const char* text;
    } cases[] = {
        // TS 24.501 annex A and B: a row of the protocol's own, a shared
        // protocol error, #111, and a value without a row.
        {"5GMM own", view::fivegs::kMmCauseTexts, 3, "Illegal UE"},
        {"5GMM protocol error", view::fivegs::kMmCauseTexts, 96, "Invalid mandatory information"},
        {"5GMM #111", view::fivegs::kMmCauseTexts, 111, "Protocol error, unspecified"},
        {"5GMM unassigned", view::fivegs::kMmCauseTexts, 200,
         "unassigned (treated as #111, protocol error, unspecified)"},
        {"5GSM own", view::fivegs::kSmCauseTexts, 27, "Missing or unknown DNN"},
        {"5GSM protocol error", view::fivegs::kSmCauseTexts, 101, "Message not compatible with the protocol state"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Text text = c.texts(c.value);
        EXPECT_EQ(std::string(text.text, text.size), c.text);
    }
}

enum class Colour : uint8_t { kRed, kGreen, kBlue };

TEST(SharedTables, EnumeratorNamesAreLookedUpInOrderAndUnnamedOnesAreEmpty) {
    static constexpr const char* kNames[] = {"red", "green"};
    EXPECT_STREQ(NameIn(kNames, Colour::kRed), "red");
    EXPECT_STREQ(NameIn(kNames, Colour::kGreen), "green");
    EXPECT_STREQ(NameIn(kNames, Colour::kBlue), "");
    EXPECT_STREQ(NameIn(kNames, static_cast<Colour>(200)), "");
}

}  // namespace
}  // namespace corvuna::test
