// SPDX-License-Identifier: Apache-2.0
// The decode entries: argument checks, the document frame, classification
// and dispatch, and the bounded entry's outcomes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/dispatch.h"
#include "corvuna/corvuna.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Decode;
using test::Framed;
using test::Hex;

TEST(Classify, GivesTheMessageCode) {
    struct Case {
        const char* hex;
        uint32_t code;
    };
    const Case cases[] = {
        {"52 01 C2", 706},  {"02 00 C1 05", 705}, {"07 41", 1857}, {"27 41", 1857},
        {"17 5D", 1885},    {"05", 5},            {"0F 41", 15},   {"00", 0},
    };
    for (const Case& c : cases) {
        const auto octets = Hex(c.hex);
        EXPECT_EQ(ClassifyMessage(octets.data(), static_cast<int32_t>(octets.size())), c.code) << c.hex;
    }
}

TEST(Decode, WritesTheFrameForUnknownAndShortMessages) {
    struct Case {
        int direction;
        const char* hex;
        const char* inner;
    };
    const Case cases[] = {
        {1, "02 00 C4", ""},         // ESM type 0xC4 (code 708) is unknown
        {0, "02 00 FF 01 02", ""},   // unknown ESM type with a body
        {1, "07 47", ""},            // EMM type 0x47 (code 1863) is unknown
        {1, "07 FF", ""},            // EMM type 0xFF
        {1, "", ""},                 // nothing to classify
        {1, "02 00", ""},            // ESM too short for the message type
        {0, "07", ""},               // EMM too short for the message type
        {1, "05", "<Error_Message>Unknown protocol discriminator:5</Error_Message>\n"},
        {0, "0F 41 42", "<Error_Message>Unknown protocol discriminator:F</Error_Message>\n"},
        {1, "A3", "<Error_Message>Unknown protocol discriminator:3</Error_Message>\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner)) << c.hex;
    }
}

TEST(Decode, EveryKnownCodeHasOneRow) {
    struct Range {
        std::span<const MessageEntry> table;
        uint32_t base;
        size_t rows;
    };
    const Range ranges[] = {{EsmMessageTable(), kEsmCodeBase, 22}, {EmmMessageTable(), kEmmCodeBase, 28}};
    for (const Range& r : ranges) {
        EXPECT_EQ(r.table.size(), r.rows);
        for (const MessageEntry& entry : r.table) {
            EXPECT_GE(entry.code, r.base);
            EXPECT_LE(entry.code, r.base + 0xFF);
            EXPECT_EQ(FindMessage(r.table, entry.code), &entry) << entry.name;
        }
    }
    EXPECT_EQ(FindMessage(EsmMessageTable(), 708), nullptr);
    for (const MessageEntry& entry : EsmMessageTable()) EXPECT_NE(entry.decode, nullptr) << entry.name;
    for (const MessageEntry& entry : EmmMessageTable()) EXPECT_NE(entry.decode, nullptr) << entry.name;
    EXPECT_EQ(FindMessage(EmmMessageTable(), 1863), nullptr);
}

TEST(Decode, RejectsBadArgumentsWithoutWriting) {
    const auto message = Hex("07 43");
    struct Case {
        int direction;
        const unsigned char* message;
        int length;
        bool output;
        int fifth;
    };
    const Case cases[] = {
        {2, message.data(), 2, true, 0},       {-1, message.data(), 2, true, 0},
        {1, nullptr, 2, true, 0},              {1, message.data(), -1, true, 0},
        {1, message.data(), 2, false, 0},      {0, message.data(), 2, true, -1},
    };
    for (const Case& c : cases) {
        char buffer[64] = "kept";
        EXPECT_EQ(Corvunadecode(c.direction, c.message, c.length, c.output ? buffer : nullptr, c.fifth, 0), 0);
        EXPECT_STREQ(buffer, "kept");
    }
    // The sixth argument is not checked.
    std::vector<char> buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1, '\0');
    EXPECT_EQ(Corvunadecode(1, message.data(), 2, buffer.data(), 0, -7), 1);
}

TEST(Decode, AppendsToTheCallersString) {
    const auto message = Hex("05");
    std::vector<char> buffer(2 * CORVUNA_MAX_DOCUMENT_LENGTH, '\0');
    std::strcpy(buffer.data(), "previous\n");
    ASSERT_EQ(Corvunadecode(0, message.data(), 1, buffer.data(), 3, 0), 1);
    ASSERT_EQ(Corvunadecode(1, message.data(), 1, buffer.data(), 0, 0), 1);
    const std::string error = "<Error_Message>Unknown protocol discriminator:5</Error_Message>\n";
    EXPECT_EQ(std::string(buffer.data()), "previous\n" + Framed(0, error) + Framed(1, error));
}

TEST(DecodeBounded, ReportsSuccessNoRoomAndBadArguments) {
    const auto message = Hex("05");
    const std::string document =
        Framed(1, "<Error_Message>Unknown protocol discriminator:5</Error_Message>\n");
    const size_t exact = document.size() + 1;
    for (size_t capacity : {exact, exact + 100}) {
        std::vector<char> buffer(capacity + 8, '#');
        buffer[0] = '\0';
        size_t needed = 0;
        EXPECT_EQ(CorvunaDecodeBounded(1, message.data(), 1, buffer.data(), capacity, &needed), CORVUNA_OK);
        EXPECT_EQ(needed, exact);
        EXPECT_EQ(std::string(buffer.data()), document);
        for (size_t i = capacity; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#');
    }
    for (size_t capacity : {size_t{1}, size_t{10}, exact - 1}) {
        std::vector<char> buffer(capacity + 8, '#');
        buffer[0] = '\0';
        size_t needed = 0;
        EXPECT_EQ(CorvunaDecodeBounded(1, message.data(), 1, buffer.data(), capacity, &needed), CORVUNA_ERR_NO_ROOM);
        EXPECT_EQ(needed, exact);
        EXPECT_EQ(buffer[0], '\0');
        for (size_t i = capacity; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#');
    }
    // Appends after an existing string and counts it in the size needed.
    {
        std::vector<char> buffer(exact + 3, '\0');
        std::strcpy(buffer.data(), "abc");
        size_t needed = 0;
        EXPECT_EQ(CorvunaDecodeBounded(1, message.data(), 1, buffer.data(), exact + 2, &needed), CORVUNA_ERR_NO_ROOM);
        EXPECT_EQ(needed, exact + 3);
        EXPECT_STREQ(buffer.data(), "abc");
        EXPECT_EQ(CorvunaDecodeBounded(1, message.data(), 1, buffer.data(), exact + 3, nullptr), CORVUNA_OK);
        EXPECT_EQ(std::string(buffer.data()), "abc" + document);
    }
    char buffer[8] = "xyz";
    char full[4] = {'a', 'b', 'c', 'd'};  // no NUL within the capacity
    EXPECT_EQ(CorvunaDecodeBounded(2, message.data(), 1, buffer, sizeof buffer, nullptr), CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(CorvunaDecodeBounded(1, nullptr, 1, buffer, sizeof buffer, nullptr), CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(CorvunaDecodeBounded(1, message.data(), -1, buffer, sizeof buffer, nullptr), CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(CorvunaDecodeBounded(1, message.data(), 1, nullptr, sizeof buffer, nullptr), CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(CorvunaDecodeBounded(1, message.data(), 1, buffer, 0, nullptr), CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(CorvunaDecodeBounded(1, message.data(), 1, full, sizeof full, nullptr), CORVUNA_ERR_ARGUMENT);
    EXPECT_STREQ(buffer, "xyz");
    EXPECT_EQ(std::memcmp(full, "abcd", 4), 0);
}

TEST(Decode, EveryCorpusMessageShowsItsMessageElement) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    for (const auto& m : corpus) {
        const uint32_t code = ClassifyMessage(m.octets.data(), static_cast<int32_t>(m.octets.size()));
        const MessageEntry* entry = FindMessage(code >= kEmmCodeBase ? EmmMessageTable() : EsmMessageTable(), code);
        const std::string document = Decode(m.direction, m.octets);
        if (entry == nullptr) {
            // A type this library does not know: the frame alone.
            EXPECT_EQ(document, Framed(m.direction, "")) << m.name;
            continue;
        }
        EXPECT_EQ(document.rfind(std::string("<message>\n<") + entry->name + ">\n"),
                  document.find("<message>\n")) << m.name;
        EXPECT_NE(document.find(std::string("</") + entry->name + ">\n</message>\n"), std::string::npos) << m.name;
    }
}

TEST(DecodeBounded, MatchesTheLegacyEntryOnTheCorpus) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    std::vector<char> bounded(CORVUNA_MAX_DOCUMENT_LENGTH + 1);
    for (const auto& m : corpus) {
        bounded[0] = '\0';
        size_t needed = 0;
        ASSERT_EQ(CorvunaDecodeBounded(m.direction, m.octets.data(), static_cast<int>(m.octets.size()),
                                       bounded.data(), bounded.size(), &needed),
                  CORVUNA_OK);
        const std::string legacy = Decode(m.direction, m.octets);
        ASSERT_EQ(std::string(bounded.data()), legacy);
        ASSERT_EQ(needed, legacy.size() + 1);
    }
}

}  // namespace
}  // namespace corvuna
