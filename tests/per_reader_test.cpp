// SPDX-License-Identifier: Apache-2.0
// The PER primitives alone (src/per/reader.h), against encodings written
// out by hand from the rules of ITU-T X.691 clause 11, in both variants:
// constrained whole numbers in each of the aligned variant's cases,
// semi-constrained, unconstrained and normally small numbers, length
// determinants with their fragments, alignment, and reads at the end of
// the encoding.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "per/reader.h"

namespace corvuna::per {
namespace {

using Octets = std::vector<uint8_t>;

Reader Over(const Octets& o, Variant v) { return Reader(o.data(), 0, o.size() * 8, v); }

// An encoding and a reader over it, alive together.
struct Encoded {
    Encoded(Octets o, Variant v) : octets(std::move(o)), reader(octets.data(), 0, octets.size() * 8, v) {}
    Encoded(const Encoded&) = delete;
    Octets octets;
    Reader reader;
};

constexpr Variant kA = Variant::kAligned;
constexpr Variant kU = Variant::kUnaligned;

TEST(PerReader, ConstrainedWholeNumbers) {
    // X.691 11.5: `lead` bits are read first (a leading bit shows whether the
    // number is octet-aligned), then the number of `range` values.
    const struct {
        const char* what;
        Variant variant;
        int lead;
        uint64_t range;
        Octets encoding;
        uint64_t value;
        size_t endBit;
    } cases[] = {
        {"one value: no bits", kA, 0, 1, {0xFF}, 0, 0},
        {"range 2: one bit", kA, 0, 2, {0x80}, 1, 1},
        {"range 7: three bits", kA, 0, 7, {0xA0}, 5, 3},
        {"aligned, range 255: a bit field, not aligned", kA, 1, 255, {0x7F, 0x00}, 254, 9},
        {"aligned, range 256: one octet, aligned", kA, 1, 256, {0x80, 0xAB}, 0xAB, 16},
        {"aligned, range 257: two octets, aligned", kA, 1, 257, {0x80, 0x01, 0x00}, 256, 24},
        {"aligned, range 64K: two octets", kA, 0, 65536, {0x12, 0x34}, 0x1234, 16},
        {"aligned, range 64K + 1: a 2-bit octet count (3 octets), then the octets aligned", kA, 0, 65537,
         {0x80, 0x01, 0x00, 0x00}, 65536, 32},
        {"aligned, range 64K + 1, a small value in one octet", kA, 0, 65537, {0x00, 0x05}, 5, 16},
        {"aligned, range 2^32 (MME-UE-S1AP-ID 70000 in 3 octets)", kA, 0, uint64_t{1} << 32,
         {0x80, 0x01, 0x11, 0x70}, 70000, 32},
        {"aligned, range 2^40 (AMF-UE-NGAP-ID): a 3-bit octet count", kA, 0, uint64_t{1} << 40,
         {0x80, 0x01, 0x02, 0x03, 0x04, 0x05}, 0x0102030405, 48},
        {"aligned, range 10^10 + 1 (BitRate): 5 octets at most", kA, 0, 10000000001ull, {0x20, 0x01, 0x2C}, 300,
         24},
        {"aligned, range 2^64 (0 stands for it): a 3-bit octet count", kA, 0, 0, {0x00, 0x01}, 1, 16},
        {"unaligned, range 256: eight bits where they fall", kU, 1, 256, {0xD5, 0x80}, 0xAB, 9},
        {"unaligned, range 64K + 1: seventeen bits", kU, 0, 65537, {0x80, 0x00, 0x00}, 65536, 17},
        {"unaligned, range 2^32: thirty-two bits", kU, 3, uint64_t{1} << 32, {0x00, 0x00, 0x00, 0x00, 0x20}, 1, 35},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reader r = Over(c.encoding, c.variant);
        r.Bits(static_cast<unsigned>(c.lead));
        EXPECT_EQ(r.ConstrainedWholeNumber(c.range), c.value);
        EXPECT_TRUE(r.ok()) << r.error();
        EXPECT_EQ(r.position(), c.endBit);
    }
}

TEST(PerReader, ConstrainedWholeNumbersOutsideTheirRangeFail) {
    const struct {
        const char* what;
        Variant variant;
        uint64_t range;
        Octets encoding;
    } cases[] = {
        {"range 3, bits 11", kA, 3, {0xC0}},
        {"range 257, 0x0101", kA, 257, {0x01, 0x01}},
        {"aligned, range 64K + 1, an octet count of 4", kA, 65537, {0xC0, 0, 0, 0, 0}},
        {"unaligned, range 100, 127", kU, 100, {0xFE}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reader r = Over(c.encoding, c.variant);
        EXPECT_EQ(r.ConstrainedWholeNumber(c.range), 0u);
        EXPECT_FALSE(r.ok());
    }
}

TEST(PerReader, SemiConstrainedUnconstrainedAndNormallySmallNumbers) {
    // X.691 11.7, 11.8: an octet count, then the octets (2's complement
    // for unconstrained numbers); 11.6: six bits below 64, else a bit and a
    // semi-constrained number.
    {
        Encoded e({0x02, 0x01, 0x2C}, kA);
        Reader& r = e.reader;
        EXPECT_EQ(r.SemiConstrainedWholeNumber(), 300u);
        EXPECT_EQ(r.position(), 24u);
    }
    const struct {
        Octets encoding;
        int64_t value;
    } unconstrained[] = {
        {{0x01, 0xFF}, -1}, {{0x02, 0x00, 0x80}, 128}, {{0x02, 0xFF, 0x7F}, -129}, {{0x01, 0x7F}, 127},
        {{0x08, 0x80, 0, 0, 0, 0, 0, 0, 0}, INT64_MIN},
    };
    for (const auto& c : unconstrained) {
        Reader r = Over(c.encoding, kA);
        EXPECT_EQ(r.UnconstrainedWholeNumber(), c.value);
        EXPECT_TRUE(r.ok());
    }
    {
        Encoded e({0x09, 1, 2, 3, 4, 5, 6, 7, 8, 9}, kA);
        Reader& r = e.reader;
        r.UnconstrainedWholeNumber();
        EXPECT_FALSE(r.ok()) << "nine octets do not fit 64 bits";
    }
    {
        Encoded e({0x0A}, kA);
        Reader& r = e.reader;
        EXPECT_EQ(r.NormallySmall(), 5u);
        EXPECT_EQ(r.position(), 7u);
    }
    {
        Encoded e({0x80, 0x01, 0x64}, kA);
        Reader& r = e.reader;  // 1, then aligned: one octet, 100
        EXPECT_EQ(r.NormallySmall(), 100u);
        EXPECT_EQ(r.position(), 24u);
    }
    {
        Encoded e({0x80, 0xB2, 0x00}, kU);
        Reader& r = e.reader;  // 1, 00000001, 01100100: not aligned
        EXPECT_EQ(r.NormallySmall(), 100u);
        EXPECT_EQ(r.position(), 17u);
    }
}

TEST(PerReader, LengthDeterminants) {
    const struct {
        const char* what;
        Variant variant;
        int lead;
        Octets encoding;
        size_t count;
        bool fragment;
        size_t endBit;
    } cases[] = {
        {"one octet, below 128", kA, 0, {0x05}, 5, false, 8},
        {"two octets, 10 and 14 bits", kA, 0, {0x81, 0x00}, 256, false, 16},
        {"the largest two-octet length", kA, 0, {0xBF, 0xFF}, 16383, false, 16},
        {"a fragment of 16K units", kA, 0, {0xC1}, 16384, true, 8},
        {"a fragment of 64K units", kA, 0, {0xC4}, 65536, true, 8},
        {"aligned: after one bit, the length starts on the next octet", kA, 1, {0x80, 0x07}, 7, false, 16},
        {"unaligned: right after the bit", kU, 1, {0x83, 0x80}, 7, false, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reader r = Over(c.encoding, c.variant);
        r.Bits(static_cast<unsigned>(c.lead));
        const Length l = r.UnconstrainedLength();
        EXPECT_TRUE(r.ok()) << r.error();
        EXPECT_EQ(l.count, c.count);
        EXPECT_EQ(l.fragment, c.fragment);
        EXPECT_EQ(r.position(), c.endBit);
    }
    for (const uint8_t bad : {0xC0, 0xC5, 0xFF}) {
        Encoded e(Octets{bad}, kA);
        Reader& r = e.reader;
        r.UnconstrainedLength();
        EXPECT_FALSE(r.ok()) << "fragment octet " << int{bad};
    }
    // Below 64K: a constrained whole number of the range lb..ub (no bits
    // when lb == ub).
    {
        Encoded e({0x80}, kA);
        Reader& r = e.reader;
        EXPECT_EQ(r.ConstrainedLength(1, 8), 5u);  // 5 - 1 in three bits
        EXPECT_EQ(r.position(), 3u);
        EXPECT_EQ(r.ConstrainedLength(4, 4), 4u);
        EXPECT_EQ(r.position(), 3u);
    }
    {
        Encoded e({0x00, 0x03}, kA);
        Reader& r = e.reader;
        EXPECT_EQ(r.ConstrainedLength(0, 65535), 3u);  // ProtocolIE-Container: two octets
        EXPECT_EQ(r.position(), 16u);
    }
    // X.691 11.9.3.4: the extension bit map's normally small length.
    {
        Encoded e({0x04}, kU);
        Reader& r = e.reader;
        EXPECT_EQ(r.NormallySmallLength(), 3u);
        EXPECT_EQ(r.position(), 7u);
    }
    {
        Encoded e({0x80, 0x64}, kA);
        Reader& r = e.reader;
        EXPECT_EQ(r.NormallySmallLength(), 100u);
    }
}

TEST(PerReader, NothingIsReadPastTheEnd) {
    const Octets two = {0xAB, 0xCD};
    {
        // A reader over the first 12 bits only (an open type's content
        // ends there): 13 bits fail, and every read after gives zero.
        Reader r(two.data(), 0, 12, kU);
        EXPECT_EQ(r.Bits(12), 0xABCu);
        Reader s(two.data(), 0, 12, kU);
        EXPECT_EQ(s.Bits(13), 0u);
        EXPECT_FALSE(s.ok());
        EXPECT_EQ(s.Bits(1), 0u);
        EXPECT_EQ(s.position(), 0u) << "a failed read moves nothing";
    }
    {
        Reader r(two.data(), 4, 16, kA);
        r.Bits(4);
        r.Align();
        EXPECT_TRUE(r.ok());
        EXPECT_EQ(r.position(), 8u);
        EXPECT_EQ(r.Take(9).bits, 0u);
        EXPECT_FALSE(r.ok());
    }
    {
        Encoded e({0x81}, kA);
        Reader& r = e.reader;  // a two-octet length cut after its first octet
        r.UnconstrainedLength();
        EXPECT_FALSE(r.ok());
    }
    {
        Encoded e({0xFF}, kA);
        Reader& r = e.reader;
        r.Bits(65);
        EXPECT_FALSE(r.ok()) << "no bit field wider than 64 bits";
    }
}

TEST(PerReader, BitSpansCopyOctetsFromAnyBit) {
    const Octets data = {0xAB, 0xCD, 0xEF, 0x12};
    const BitSpan aligned{data.data(), 8, 16};
    const BitSpan shifted{data.data(), 4, 16};
    uint8_t out[4] = {};
    EXPECT_TRUE(aligned.aligned());
    EXPECT_EQ(aligned.CopyOctets(out, sizeof out), 2u);
    EXPECT_EQ(out[0], 0xCD);
    EXPECT_EQ(out[1], 0xEF);
    EXPECT_FALSE(shifted.aligned());
    EXPECT_EQ(shifted.CopyOctets(out, 1), 1u) << "no more than the room";
    EXPECT_EQ(shifted.CopyOctets(out, sizeof out), 2u);
    EXPECT_EQ(out[0], 0xBC);
    EXPECT_EQ(out[1], 0xDE);
    EXPECT_EQ(shifted.Value(0, 12), 0xBCDu);
    EXPECT_EQ(shifted.Value(12, 8), 0xEu) << "a value stops at the span's end";
    EXPECT_EQ(BitsForRange(1), 0u);
    EXPECT_EQ(BitsForRange(2), 1u);
    EXPECT_EQ(BitsForRange(504), 9u);
    EXPECT_EQ(BitsForRange(0), 64u);
}

}  // namespace
}  // namespace corvuna::per
