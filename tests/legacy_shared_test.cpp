// SPDX-License-Identifier: Apache-2.0
// The pieces the legacy codecs share: the IE value frame, number elements
// and field tables, the PLMN digits, joined row tables and the decoder of a
// dispatch row.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <type_traits>
#include <vector>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/codec.h"
#include "legacy/codec/optional_ies.h"
#include "legacy/codec/shared_bodies.h"
#include "legacy/doc/elements.h"
#include "legacy/esm/esm_information.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/plmn.h"
#include "legacy/ie/sm/sm_fields.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;
using test::Lines;
using test::Rendered;

// ------------------------------------------------------------ IE value frame

TEST(ParseIeValue, ReconcilesWithTheDeclaredLength) {
    struct Case {
        const char* what;
        int32_t declared;
        int read;         // octets the reader takes
        int ownResult;    // the reader's own result; -1: it has none
        int result;
        int32_t endOctet;
    };
    const Case cases[] = {
        {"negative length: nothing read", -1, 2, -1, 0, 0},
        {"read as declared", 2, 2, -1, 1, 2},
        {"shorter than declared: skipped to the end", 4, 1, -1, 1, 4},
        {"declared end past the data: left where reading ended", 9, 1, -1, 1, 1},
        {"read past the declared end: put back, 0", 1, 3, -1, 0, 1},
        {"the reader's 0 without an over-read", 2, 2, 0, 0, 2},
        {"the reader's 1 with an over-read", 1, 2, 1, 0, 1},
    };
    const std::vector<uint8_t> octets = Hex("01 02 03 04 05");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BitCursor cursor;
        LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
        int reads = 0;
        const auto readOctets = [&] {
            for (int i = 0; i < c.read; ++i) ReadOctet(cursor);
            ++reads;
        };
        const int result = c.ownResult < 0 ? ParseIeValue(cursor, c.declared, readOctets)
                                           : ParseIeValue(cursor, c.declared, [&] {
                                                 readOctets();
                                                 return c.ownResult;
                                             });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(cursor.position, 8 * c.endOctet);
        EXPECT_EQ(reads, c.declared < 0 ? 0 : 1);
    }
}

// ----------------------------------------------------------- number elements

constexpr auto kRowsElement = Element("Kind", {{1, "one"}, {200, "two hundred"}}, "other");
constexpr auto kOrderedElement = Element("Step", {"zero", "one", "two"});
constexpr auto kPlainElement = Element("Count");

TEST(NumberElement, ChoosesTheTextOfTheValue) {
    const struct {
        std::string expected;
        void (*write)(OutputDocument&);
    } cases[] = {
        {"<Kind>(1)one</Kind>\n", [](OutputDocument& out) { WriteElement(kRowsElement, 1, out); }},
        {"<Kind>(7)other</Kind>\n", [](OutputDocument& out) { WriteElement(kRowsElement, 7, out); }},
        // An octet field prints signed, its text is that of the octet.
        {"<Kind>(-56)two hundred</Kind>\n",
         [](OutputDocument& out) { WriteElement(kRowsElement, static_cast<uint8_t>(200), out); }},
        {"<Step>(2)two</Step>\n", [](OutputDocument& out) { WriteElement(kOrderedElement, 2, out); }},
        {"<Step>3</Step>\n", [](OutputDocument& out) { WriteElement(kOrderedElement, 3, out); }},
        {"<Step>-1</Step>\n", [](OutputDocument& out) { WriteElement(kOrderedElement, -1, out); }},
        {"<Count>5</Count>\n", [](OutputDocument& out) { WriteElement(kPlainElement, 5, out); }},
    };
    for (const auto& c : cases) EXPECT_EQ(Rendered(c.write), c.expected);
}

TEST(NumberElement, RenderElementsWritesInOrderAndNothingWithoutBuffer) {
    int result = -1;
    EXPECT_EQ(Rendered([&](OutputDocument& out) {
                  result = RenderElements(out, kOrderedElement, 0, kRowsElement, 1, kPlainElement, 2);
              }),
              Lines({"<Step>(0)zero</Step>", "<Kind>(1)one</Kind>", "<Count>2</Count>"}));
    EXPECT_EQ(result, 1);
    OutputDocument none;
    EXPECT_EQ(RenderElements(none, kOrderedElement, 0, kPlainElement, 2), 0);
    EXPECT_EQ(none.Required(), 0u);
}

// The causes #95-#101 are one table in both cause elements; the values
// around them keep each element's own texts.
TEST(NumberElement, EmmAndEsmCauseShareTheProtocolErrors) {
    const struct {
        int32_t cause;
        const char* emm;
        const char* esm;
    } cases[] = {
        {95, "Semantically incorrect message", "Semantically incorrect message"},
        {99, "Information element non-existent or not implemented",
         "Information element non-existent or not implemented"},
        {101, "Message not compatible with the protocol state", "Message not compatible with the protocol state"},
        {94, "Protocol error, unspecified", "protocol error, unspecified"},
        {102, "Protocol error, unspecified", "protocol error, unspecified"},
        {111, "Protocol error, unspecified", "Protocol error, unspecified"},
        {26, "Non-EPS authentication unacceptable", "Insufficient resources"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        const std::string value = "(" + std::to_string(c.cause) + ")";
        EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderEmmCause(c.cause, out); }),
                  "<EMMCause>" + value + c.emm + "</EMMCause>\n");
        EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderEsmCause(c.cause, out); }),
                  "<ESMCause>" + value + c.esm + "</ESMCause>\n");
    }
}

struct Triple {
    int32_t first;
    int32_t second;
    int32_t third;
};
constexpr NumberField<Triple> kTripleFields[] = {
    {"Third", &Triple::third},
    {"First", &Triple::first, kRowsElement.texts.rows, "other"},
    {"Second", &Triple::second},
};

TEST(NumberField, FillsAndWritesInRowOrder) {
    const std::vector<uint8_t> octets = Hex("09 01 05");
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    Triple triple{};
    SetFields<kTripleFields>(triple, [&](size_t) { return ReadOctet(cursor); });
    EXPECT_EQ(triple.third, 9);
    EXPECT_EQ(triple.first, 1);
    EXPECT_EQ(triple.second, 5);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteFields<kTripleFields>(triple, out); }),
              Lines({"<Third>9</Third>", "<First>(1)one</First>", "<Second>5</Second>"}));
}

// --------------------------------------------------------------- PLMN digits

TEST(PlmnDigits, DigitsOfTheIdentityOctets) {
    const struct {
        const char* hex;
        int32_t mcc, twoDigitMnc, threeDigitMnc;
    } cases[] = {
        {"13 00 14", 310, 41, 410},  // MCC 310, MNC 410
        {"62 F2 10", 262, 1, 25},    // MCC 262, MNC 01: the filler 15 is the third digit
        {"00 F1 10", 1, 1, 25},      // the test network 001 01
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hex);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor;
        LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
        const PlmnOctets plmn = ReadPlmn(cursor, ReadOctet(cursor));
        EXPECT_EQ(cursor.position, 24);
        EXPECT_EQ(Mcc(plmn), c.mcc);
        EXPECT_EQ(TwoDigitMnc(plmn), c.twoDigitMnc);
        EXPECT_EQ(ThreeDigitMnc(plmn), c.threeDigitMnc);
    }
}

// ------------------------------------------------- row tables and decoders

struct TwoFlags {
    uint8_t aPresent;
    uint8_t a;
    uint8_t bPresent;
    uint8_t b;
};

TEST(JoinRows, OwnRowsThenTheGroupsRows) {
    constexpr std::array group = {TvOctet<&TwoFlags::bPresent, &TwoFlags::b>(0x22)};
    constexpr auto rows = JoinRows<TwoFlags>({TvOctet<&TwoFlags::aPresent, &TwoFlags::a>(0x11)}, group);
    static_assert(rows.size() == 2);
    EXPECT_EQ(rows[0].iei, 0x11);
    EXPECT_EQ(rows[1].iei, 0x22);
    // Both rows are looked up whatever their place: a stopping scan takes
    // the group's IE first, then its own.
    const std::vector<uint8_t> body = Hex("22 07 11 09 33 05");
    BitCursor cursor;
    LoadBits(cursor, body.data(), static_cast<uint32_t>(body.size()));
    TwoFlags record{};
    ScanOptionalIes(cursor, OptionalIes<TwoFlags>{Scan::kStopping, rows}, record);
    EXPECT_EQ(record.b, 7);
    EXPECT_EQ(record.a, 9);
    EXPECT_EQ(cursor.position, 40);  // stopped after the unknown 0x33
}

TEST(Decoder, RowDecoderParsesIntoTheParsersRecord) {
    static_assert(std::is_same_v<ParsedRecord<decltype(&ParseEsmInformationResponse)>::type,
                                 EsmInformationResponseRecord>);
    const std::vector<uint8_t> body = Hex("24");
    constexpr MessageDecoder decode = kDecoder<ParseSingleOctetBody, RenderEsmStatus>;
    constexpr Name kStatus{"ESM_STATUS"};
    EXPECT_EQ(Rendered([&](OutputDocument& out) { decode(0, 1, body.data(), kStatus, out); }),
              Lines({"<ESM_STATUS>", "<ESMCause>(36)Regular deactivation</ESMCause>", "</ESM_STATUS>"}));
}

}  // namespace
}  // namespace corvuna
