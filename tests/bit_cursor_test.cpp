// SPDX-License-Identifier: Apache-2.0
#include "legacy/bits/bit_cursor.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;

TEST(BitCursor, ReadsBitsMostSignificantFirst) {
    const auto octets = Hex("A5");
    BitCursor cursor;
    LoadBits(cursor, octets.data(), 1);
    EXPECT_EQ(cursor.bitCount, 8);
    EXPECT_EQ(cursor.position, 0);
    const int expected[] = {1, 0, 1, 0, 0, 1, 0, 1};
    for (int bit : expected) EXPECT_EQ(ReadBits(cursor, 1), static_cast<uint32_t>(bit));
    cursor.position = 0;
    EXPECT_EQ(ReadBits(cursor, 4), 10u);
    EXPECT_EQ(cursor.position, 4);
    EXPECT_EQ(ReadBits(cursor, 4), 5u);
    EXPECT_EQ(cursor.position, 8);
}

TEST(BitCursor, ReadsFieldsOfAnyWidthAndAlignment) {
    const auto octets = Hex("12 34 56 78 9A");
    struct Case {
        int32_t start;
        uint32_t width;
        uint32_t expected;
    };
    const Case cases[] = {
        {0, 0, 0},          {0, 8, 0x12},        {0, 16, 0x1234},      {0, 32, 0x12345678},
        {4, 8, 0x23},       {4, 12, 0x234},      {8, 32, 0x3456789A},  {3, 5, 0x12 & 0x1F},
        {36, 4, 0xA},       {39, 1, 0},          {38, 2, 2},
    };
    for (const Case& c : cases) {
        BitCursor cursor;
        LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
        cursor.position = c.start;
        EXPECT_EQ(ReadBits(cursor, c.width), c.expected) << "start " << c.start << " width " << c.width;
        EXPECT_EQ(cursor.position, c.start + static_cast<int32_t>(c.width));
    }
}

TEST(BitCursor, ReadsPastTheBitCountAsZeroAndStillAdvance) {
    // Only the first two octets are loaded: the third must never be seen.
    const auto octets = Hex("FF FF FF");
    BitCursor cursor;
    LoadBits(cursor, octets.data(), 2);
    cursor.position = 12;
    EXPECT_EQ(ReadBits(cursor, 8), 0xF0u);
    EXPECT_EQ(cursor.position, 20);
    EXPECT_EQ(ReadBits(cursor, 32), 0u);
    EXPECT_EQ(cursor.position, 52);
    cursor.position = -8;
    EXPECT_EQ(ReadBits(cursor, 16), 0x00FFu);
}

TEST(BitCursor, LoadingNothingLeavesAnEmptyCursor) {
    BitCursor cursor;
    cursor.position = 0;
    LoadBits(cursor, nullptr, 0);
    EXPECT_EQ(cursor.bitCount, 0);
    EXPECT_EQ(RemainingOctets(cursor), 0);
    EXPECT_FALSE(HasOctet(cursor));
}

TEST(BitCursor, TruncatesBodiesLongerThanTheCapacity) {
    std::vector<uint8_t> body(kMaxBodyOctets + 100, 0xAB);
    BitCursor cursor;
    LoadBits(cursor, body.data(), static_cast<uint32_t>(body.size()));
    EXPECT_EQ(cursor.bitCount, static_cast<int32_t>(kMaxBodyOctets * 8));
    cursor.position = cursor.bitCount - 8;
    EXPECT_EQ(ReadBits(cursor, 8), 0xABu);
    EXPECT_EQ(ReadBits(cursor, 8), 0u);
}

TEST(BitCursor, TestBitTakesTheBitNumberModulo32) {
    EXPECT_EQ(TestBit(0x05, 0), 1);
    EXPECT_EQ(TestBit(0x05, 1), 0);
    EXPECT_EQ(TestBit(0x05, 2), 1);
    EXPECT_EQ(TestBit(0x80000000u, 31), 1);
    EXPECT_EQ(TestBit(0x05, 32), 1);
    EXPECT_EQ(TestBit(0x05, 33), 0);
}

// The IE length reconciliation: a parser that started with r0 whole octets
// left has consumed `consumed` octets of an IE that declares `declared`.
TEST(BitCursor, ReconcilesTheIeLength) {
    struct Case {
        int32_t declared;
        int32_t consumed;
        int32_t leftAfter;  // whole octets after the parser's reads
        int32_t move;       // expected position change in bits
        int result;
    };
    const Case cases[] = {
        {5, 3, 10, +16, 1},  // shorter parse: skip to the declared end
        {3, 3, 0, 0, 1},     // exact
        {2, 3, 4, -8, 0},    // over-read: back to the declared end
        {10, 3, 4, 0, 1},    // declared end beyond the data: stay
        {0, 0, 7, 0, 1},     // empty IE
        {7, 3, 4, +32, 1},   // declared end exactly at the end of the data
        {0, 1, 0, -8, 0},    // one octet read from an empty IE
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> data(static_cast<size_t>(c.consumed + c.leftAfter), 0);
        BitCursor cursor;
        LoadBits(cursor, data.data(), static_cast<uint32_t>(data.size()));
        const int32_t r0 = RemainingOctets(cursor);
        cursor.position += 8 * c.consumed;
        const int32_t before = cursor.position;
        EXPECT_EQ(ReconcileIeLength(cursor, r0, c.declared), c.result) << "declared " << c.declared;
        EXPECT_EQ(cursor.position - before, c.move) << "declared " << c.declared;
    }
}

TEST(BitCursor, ReconcilesAParseThatRanPastTheData) {
    // Two octets loaded, the IE declares 4 and its parser read 3 (one past
    // the bit count): the declared end lies beyond the data, nothing moves.
    const auto data = Hex("01 02");
    BitCursor cursor;
    LoadBits(cursor, data.data(), 2);
    const int32_t r0 = RemainingOctets(cursor);
    ReadBits(cursor, 24);
    EXPECT_EQ(RemainingOctets(cursor), -1);
    EXPECT_EQ(ReconcileIeLength(cursor, r0, 4), 1);
    EXPECT_EQ(cursor.position, 24);
    // Declared 1 after reading 3: back to the declared end.
    cursor.position = 24;
    EXPECT_EQ(ReconcileIeLength(cursor, r0, 1), 0);
    EXPECT_EQ(cursor.position, 8);
}

TEST(BitCursor, SkipsIeValues) {
    struct Case {
        int32_t start;
        int64_t length;
        bool checked;
        int result;
        int32_t end;
    };
    // Four octets loaded (32 bits).
    const Case cases[] = {
        {8, 2, true, 1, 24},    {8, 3, true, 1, 32},  {8, 4, true, 1, 32},  {8, -1, true, 0, 8},
        {8, 0, true, 1, 8},     {40, 0, true, 1, 32},  {8, 2, false, 1, 24}, {8, 0xFFFFFFFF, false, 1, 32},
    };
    const auto data = Hex("00 00 00 00");
    for (const Case& c : cases) {
        BitCursor cursor;
        LoadBits(cursor, data.data(), 4);
        cursor.position = c.start;
        const int result = c.checked ? SkipIe(cursor, static_cast<int32_t>(c.length))
                                     : SkipIeUnchecked(cursor, static_cast<uint32_t>(c.length));
        EXPECT_EQ(result, c.result) << c.length;
        EXPECT_EQ(cursor.position, c.end) << c.length;
    }
}

}  // namespace
}  // namespace corvuna
