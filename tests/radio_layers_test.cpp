// SPDX-License-Identifier: Apache-2.0
// The radio side on PDUs the tests build from the formats of TS 36.321,
// 36.322 and 36.323 and Wireshark's framings: MAC framing and subheaders,
// RLC reassembly (segmentation, concatenation, re-segmentation,
// retransmission, gaps, duplicates, bounds), PDCP, and the frames of every
// radio carriage up to the RRC PDUs, the AS security of each UE and the
// NAS that the RRC part finds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "capture/frames.h"
#include "capture/radio/mac_lte.h"
#include "capture/radio/pdcp_lte.h"
#include "capture/radio/rlc_lte.h"
#include "support/capture_builders.h"
#include "support/scripted_rrc.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

using capture::Bytes;
using namespace capture::radio;

Bytes B(const Octets& o) { return Bytes{o.data(), o.size()}; }
Octets Cat(Octets a, const Octets& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Octets O(Bytes b) { return Octets(b.data, b.data + b.size); }
std::string HexOf(Bytes b) {
    std::string s;
    for (size_t i = 0; i < b.size; ++i) {
        s += "0123456789abcdef"[b.data[i] >> 4];
        s += "0123456789abcdef"[b.data[i] & 15];
    }
    return s;
}

// ---------------------------------------------------------------- MAC

TEST(RadioMac, FramingGivesTheContext) {
    const struct {
        const char* what;
        const char* framed;
        FramingResult result;
        int rnti, sfn, subframe, crc;
        bool hasPdu;
        const char* pdu;
    } cases[] = {
        // Radio type FDD, uplink, C-RNTI; RNTI 70, UE id 0, SFN 38 and
        // subframe 8 (0x026 << 4 | 8), CRC OK, carrier 0, NB-IoT mode 0.
        {"as srsRAN writes it", "010003" "020046" "030000" "040268" "0701" "0a00" "0f00" "01" "3d21", FramingResult::kOk,
         70, 38, 8, 1, true, "3d21"},
        {"PHY and SR tags of their own lengths", "010103" "0b03aabbcc" "11000100010002" "020123" "01" "ff",
         FramingResult::kOk, 0x123, -1, -1, -1, true, "ff"},
        {"empty payload", "010103" "01", FramingResult::kOk, -1, -1, -1, -1, true, ""},
        {"an event without a PDU", "010003" "020046" "090501", FramingResult::kOk, 70, -1, -1, -1, false, ""},
        {"a tag this framing has not", "010003" "2000" "01ff", FramingResult::kMalformed, -1, -1, -1, -1, false, ""},
        {"a tag cut by the frame's end", "010003" "0200", FramingResult::kMalformed, -1, -1, -1, -1, false, ""},
        {"a PHY tag longer than the frame", "010003" "0b09aabb", FramingResult::kMalformed, -1, -1, -1, -1, false, ""},
        {"radio type 3", "030003" "01ff", FramingResult::kMalformed, -1, -1, -1, -1, false, ""},
        {"two octets", "0100", FramingResult::kMalformed, -1, -1, -1, -1, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Octets framed = Hex(c.framed);
        MacContext context;
        const char* error = "";
        ASSERT_EQ(ReadMacContext(B(framed), context, error), c.result);
        if (c.result != FramingResult::kOk) {
            EXPECT_STRNE(error, "");
            continue;
        }
        EXPECT_EQ(context.rnti, c.rnti);
        EXPECT_EQ(context.sfn, c.sfn);
        EXPECT_EQ(context.subframe, c.subframe);
        EXPECT_EQ(context.crcStatus, c.crc);
        EXPECT_EQ(context.hasPdu, c.hasPdu);
        EXPECT_EQ(HexOf(context.pdu), c.pdu);
    }
}

TEST(RadioMac, SubheadersSplitThePdu) {
    const struct {
        const char* what;
        bool uplink;
        const char* pdu;
        MacParse result;
        const char* elements;  // LCID:HEX, in order
    } cases[] = {
        // PHR (26, 1 octet), Long BSR (30, 3 octets), two SDUs of LCID 1
        // with 7-bit lengths, padding to the end.
        {"control elements, two SDUs, padding last", true, "3a3e" "2102" "2103" "1f" "35" "000102" "aabb" "ccddee" "0000",
         MacParse::kOk, "26:35 30:000102 1:aabb 1:ccddee"},
        // UE Contention Resolution Identity (28, 6), Timing Advance (29, 1),
        // then CCCH without a length: the rest.
        {"downlink control elements, CCCH last", false, "3c3d00" "112233445566" "1f" "60129b", MacParse::kOk,
         "28:112233445566 29:1f 0:60129b"},
        {"one or two octets of padding go first", true, "3f3f01" "0a0b0c", MacParse::kOk, "1:0a0b0c"},
        {"C-RNTI and Short BSR", true, "3b3d02" "0046" "00" "2000", MacParse::kOk, "27:0046 29:00 2:2000"},
        {"15-bit length (F = 1)", true, "228003" "01" "aabbcc" "dd", MacParse::kOk, "2:aabbcc 1:dd"},
        {"16-bit length (F2 = 1)", false, "620002" "01" "aabb" "cc", MacParse::kOk, "2:aabb 1:cc"},
        {"Extended PHR carries a length", true, "3902" "02" "1122" "33", MacParse::kOk, "25:1122 2:33"},
        {"DRX Command has no payload", false, "3e01" "77", MacParse::kOk, "30: 1:77"},
        {"a reserved LCID in the uplink", true, "2c01" "00", MacParse::kUnknownLcid, ""},
        {"a reserved LCID in the downlink", false, "2c01" "00", MacParse::kUnknownLcid, ""},
        {"a length past the end", true, "211001" "aabb", MacParse::kMalformed, ""},
        {"a fixed element past the end", false, "1c" "1122", MacParse::kMalformed, ""},
        {"subheaders that never end", true, "2101" "21", MacParse::kMalformed, ""},
        {"nothing", true, "", MacParse::kMalformed, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Octets pdu = Hex(c.pdu);
        std::vector<MacElement> elements;
        ASSERT_EQ(ParseMacPdu(B(pdu), c.uplink, elements), c.result);
        std::string got;
        for (const MacElement& e : elements) {
            if (!got.empty()) got += ' ';
            got += std::to_string(e.lcid) + ':' + HexOf(e.octets);
            EXPECT_EQ(e.sdu, e.lcid <= 10) << got;
        }
        EXPECT_EQ(got, c.elements);
    }
}

// ---------------------------------------------------------------- RLC

struct SduList : RlcSduHandler {
    std::vector<std::string> sdus;
    std::vector<uint64_t> frames;
    void Sdu(Bytes sdu, uint64_t firstFrame) override {
        sdus.push_back(HexOf(sdu));
        frames.push_back(firstFrame);
    }
};

// One step of a scenario: a PDU at a time, the peer's STATUS PDU, or the
// end of the capture.
struct Step {
    enum Kind { kPdu, kStatus, kFlush } kind = kPdu;
    Octets octets;
    uint64_t microseconds = 0;
};
Step Pdu(const AmdPdu& p, uint64_t us = 0) { return {Step::kPdu, RlcAmd(p), us}; }
Step Status(uint16_t ack, std::vector<uint16_t> nacks = {}) { return {Step::kStatus, RlcStatus(ack, nacks), 0}; }
Step Flush() { return {Step::kFlush, {}, 0}; }

struct Outcome {
    std::vector<std::string> sdus;
    RlcCounters counters;
};

Outcome RunEntity(RlcMode mode, int snBits, const std::vector<Step>& steps) {
    RlcReceiver r;
    r.Reset(mode, snBits);
    SduList out;
    Outcome o;
    uint64_t frame = 0;
    for (const Step& s : steps) {
        ++frame;
        if (s.kind == Step::kPdu) {
            EXPECT_TRUE(r.Receive(B(s.octets), frame, s.microseconds, out, o.counters));
        } else if (s.kind == Step::kStatus) {
            AmStatus status;
            EXPECT_TRUE(ParseAmStatus(B(s.octets), status));
            r.PeerStatus(status, out, o.counters);
        } else {
            r.Flush(out, o.counters);
        }
    }
    o.sdus = out.sdus;
    return o;
}

std::vector<std::string> Sdus(std::initializer_list<const char*> hex) { return {hex.begin(), hex.end()}; }

AmdPdu Amd(uint16_t sn, uint8_t fi, const char* data, std::vector<size_t> lengths = {}) {
    AmdPdu p;
    p.sn = sn;
    p.fi = fi;
    p.data = Hex(data);
    p.lengths = std::move(lengths);
    return p;
}
AmdPdu AmdSegment(uint16_t sn, uint16_t offset, bool last, uint8_t fi, const char* data, std::vector<size_t> lengths = {}) {
    AmdPdu p = Amd(sn, fi, data, std::move(lengths));
    p.segment = true;
    p.offset = offset;
    p.lastSegment = last;
    return p;
}

TEST(RadioRlc, AmReassemblesInSequenceNumberOrder) {
    // FI: 1 = the last octet ends no SDU, 2 = the first octet starts none.
    std::vector<Step> many = {Pdu(Amd(0, 0, "00"))};
    for (uint16_t sn = 2; sn <= 66; ++sn) many.push_back(Pdu(Amd(sn, 0, "ee")));
    const struct {
        const char* what;
        std::vector<Step> steps;
        std::vector<std::string> sdus;
        uint64_t duplicates, gaps, discarded, segments;
    } cases[] = {
        {"whole PDUs in order", {Pdu(Amd(0, 0, "0a0b")), Pdu(Amd(1, 0, "0c"))}, Sdus({"0a0b", "0c"}), 0, 0, 0, 0},
        {"three SDUs concatenated", {Pdu(Amd(0, 0, "aabbccdddd", {2, 1}))}, Sdus({"aabb", "cc", "dddd"}), 0, 0, 0, 0},
        {"an SDU over three PDUs, another after it",
         {Pdu(Amd(0, 1, "aa")), Pdu(Amd(1, 3, "bb")), Pdu(Amd(2, 2, "ccdd", {1}))}, Sdus({"aabbcc", "dd"}), 0, 0, 0, 0},
        {"out of order", {Pdu(Amd(0, 0, "00")), Pdu(Amd(2, 0, "bb")), Pdu(Amd(1, 0, "aa"))}, Sdus({"00", "aa", "bb"}), 0,
         0, 0, 0},
        {"a retransmission of what was delivered", {Pdu(Amd(0, 0, "aa")), Pdu(Amd(0, 0, "aa"))}, Sdus({"aa"}), 1, 0, 0,
         0},
        {"a retransmission fills the gap",
         {Pdu(Amd(0, 1, "aa")), Pdu(Amd(2, 0, "cc")), Pdu(Amd(1, 2, "bb"))}, Sdus({"aabb", "cc"}), 0, 0, 0, 0},
        // SN 6 (SDUs aabb and ccdd, LI 2) lost; retransmitted in two
        // segments cut inside the second SDU.
        {"re-segmented retransmission",
         {Pdu(Amd(5, 0, "55")), Pdu(Amd(7, 0, "ee")), Pdu(AmdSegment(6, 0, false, 1, "aabbcc", {2})),
          Pdu(AmdSegment(6, 3, true, 2, "dd"))},
         Sdus({"55", "aabb", "ccdd", "ee"}), 0, 0, 0, 2},
        {"segments in reverse order, one twice",
         {Pdu(AmdSegment(0, 3, true, 2, "dd")), Pdu(AmdSegment(0, 3, true, 2, "dd")),
          Pdu(AmdSegment(0, 0, false, 1, "aabbcc", {2}))},
         Sdus({"aabb", "ccdd"}), 1, 0, 0, 3},
        {"a segment cut exactly between two SDUs",
         {Pdu(AmdSegment(0, 2, true, 0, "ccdd")), Pdu(AmdSegment(0, 0, false, 0, "aabb"))}, Sdus({"aabb", "ccdd"}), 0, 0,
         0, 2},
        // SN 1, the middle of the SDU that SN 0 starts, is never seen; the
        // peer acknowledges up to SN 3.  The SDU's two pieces are thrown
        // away, not glued; "dd" that SN 2 starts goes through.
        {"the peer acknowledges what was never seen",
         {Pdu(Amd(0, 1, "aa")), Pdu(Amd(2, 2, "ccdd", {1})), Status(3)}, Sdus({"dd"}), 0, 1, 2, 0},
        {"what the peer asks again is waited for",
         {Pdu(Amd(0, 0, "aa")), Pdu(Amd(2, 0, "cc")), Status(3, {1}), Pdu(Amd(1, 0, "bb"))}, Sdus({"aa", "bb", "cc"}), 0,
         0, 0, 0},
        {"a STATUS PDU about what was delivered changes nothing", {Pdu(Amd(0, 0, "aa")), Status(1)}, Sdus({"aa"}), 0, 0,
         0, 0},
        {"too many PDUs waiting behind a gap", many, {}, 0, 1, 0, 0},
        {"waiting too long behind a gap",
         {Pdu(Amd(0, 0, "aa"), 0), Pdu(Amd(2, 0, "cc"), 1000000), Pdu(Amd(3, 0, "dd"), 3100000)},
         Sdus({"aa", "cc", "dd"}), 0, 1, 0, 0},
        {"not yet too long", {Pdu(Amd(0, 0, "aa"), 0), Pdu(Amd(2, 0, "cc"), 1000000), Pdu(Amd(3, 0, "dd"), 2900000)},
         Sdus({"aa"}), 0, 0, 0, 0},
        {"sequence numbers wrap", {Pdu(Amd(1022, 0, "01")), Pdu(Amd(1023, 0, "02")), Pdu(Amd(0, 0, "03"))},
         Sdus({"01", "02", "03"}), 0, 0, 0, 0},
        {"below the window", {Pdu(Amd(5, 0, "05")), Pdu(Amd(4, 0, "04"))}, Sdus({"05"}), 1, 0, 0, 0},
        {"the end of the capture gives up the gap", {Pdu(Amd(0, 0, "aa")), Pdu(Amd(2, 0, "cc")), Flush()},
         Sdus({"aa", "cc"}), 0, 1, 0, 0},
        {"the first PDU seen continues an SDU", {Pdu(Amd(7, 2, "77")), Pdu(Amd(8, 0, "99"))}, Sdus({"99"}), 0, 0, 1, 0},
        {"an SDU that never ends before the next starts", {Pdu(Amd(0, 1, "aa")), Pdu(Amd(1, 0, "bb"))}, Sdus({"bb"}), 0,
         0, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome o = RunEntity(RlcMode::kAm, 10, c.steps);
        if (std::string(c.what) == "too many PDUs waiting behind a gap") {
            ASSERT_EQ(o.sdus.size(), 66u);  // "00", then the 65 behind SN 1
            EXPECT_EQ(o.sdus.front(), "00");
        } else {
            EXPECT_EQ(o.sdus, c.sdus);
        }
        EXPECT_EQ(o.counters.duplicates, c.duplicates);
        EXPECT_EQ(o.counters.gaps, c.gaps);
        EXPECT_EQ(o.counters.discarded, c.discarded);
        EXPECT_EQ(o.counters.segments, c.segments);
        EXPECT_EQ(o.counters.malformed, 0u);
    }
}

TEST(RadioRlc, APeerThatStartsOverUnseenIsFollowed) {
    // After a pause of more than 5 s, SN 0 starts a new run.
    Outcome o = RunEntity(RlcMode::kAm, 10,
                          {Pdu(Amd(300, 0, "01"), 1000000), Pdu(Amd(0, 0, "02"), 6100000), Pdu(Amd(1, 0, "03"), 6200000)});
    EXPECT_EQ(o.sdus, Sdus({"01", "02", "03"}));
    EXPECT_EQ(o.counters.restarts, 1u);
    // No pause: a retransmission is below the window, and so is a run of
    // PDUs from a peer that started over, until the sixteenth in a row.
    std::vector<Step> steps = {Pdu(Amd(300, 0, "aa"))};
    for (uint16_t sn = 0; sn < 17; ++sn) steps.push_back(Pdu(Amd(sn, 0, sn < 15 ? "bb" : sn == 15 ? "cc" : "dd")));
    o = RunEntity(RlcMode::kAm, 10, steps);
    EXPECT_EQ(o.sdus, Sdus({"aa", "cc", "dd"}));
    EXPECT_EQ(o.counters.duplicates, 15u);
    EXPECT_EQ(o.counters.restarts, 1u);
    // An isolated retransmission does not restart anything; nor does a
    // pause in a run that goes on.
    o = RunEntity(RlcMode::kAm, 10,
                  {Pdu(Amd(600, 0, "aa")), Pdu(Amd(599, 0, "bb")), Pdu(Amd(601, 0, "cc"), 9000000)});
    EXPECT_EQ(o.sdus, Sdus({"aa", "cc"}));
    EXPECT_EQ(o.counters.restarts, 0u);
}

TEST(RadioRlc, MalformedPdusAreCountedAndLeaveNoTrace) {
    const std::pair<const char*, Octets> cases[] = {
        {"length indicators reach the end of the data", RlcAmd(Amd(0, 0, "aabb", {2}))},
        {"a length indicator of zero", RlcAmd(Amd(0, 0, "aabb", {0}))},
        {"no data field", Hex("8000")},
        {"a segment header cut short", Hex("c000")},
        {"length indicators past the end", Hex("8400ff")},
    };
    for (const auto& [what, pdu] : cases) {
        SCOPED_TRACE(what);
        // The entity starts with the first good PDU.
        const Outcome o = RunEntity(RlcMode::kAm, 10, {{Step::kPdu, pdu, 0}, Pdu(Amd(9, 0, "99"))});
        EXPECT_EQ(o.counters.malformed, 1u);
        EXPECT_EQ(o.sdus, Sdus({"99"}));
    }
    // A STATUS PDU is no data: the caller hands it on.
    RlcReceiver r;
    r.Reset(RlcMode::kAm, 10);
    SduList out;
    RlcCounters counters;
    EXPECT_FALSE(r.Receive(B(RlcStatus(5, {})), 1, 0, out, counters));
}

TEST(RadioRlc, StatusPdus) {
    // D/C 0, CPT 000, ACK_SN 5, E1; NACK_SN 2, E1, E2 0; NACK_SN 3, E1 0,
    // E2, SOstart 10, SOend 20; padding.
    const Octets pdu = Hex("001601401a002800a0");
    AmStatus s;
    ASSERT_TRUE(ParseAmStatus(B(pdu), s));
    EXPECT_EQ(s.ackSn, 5);
    ASSERT_EQ(s.nacks.size(), 2u);
    EXPECT_EQ(s.nacks[0].sn, 2);
    EXPECT_FALSE(s.nacks[0].segment);
    EXPECT_EQ(s.nacks[1].sn, 3);
    EXPECT_TRUE(s.nacks[1].segment);
    EXPECT_EQ(s.nacks[1].soStart, 10);
    EXPECT_EQ(s.nacks[1].soEnd, 20);
    EXPECT_FALSE(ParseAmStatus(B(Octets(pdu.begin(), pdu.begin() + 4)), s));  // cut inside a NACK
    EXPECT_FALSE(ParseAmStatus(B(Hex("8000aa")), s));                          // a data PDU
    EXPECT_FALSE(ParseAmStatus(B(Hex("1000")), s));                            // control PDU type 1
}

TEST(RadioRlc, UmReassembles) {
    const struct {
        const char* what;
        int snBits;
        std::vector<Octets> pdus;
        std::vector<std::string> sdus;
        uint64_t gaps, discarded;
    } cases[] = {
        {"5-bit, segmented and concatenated", 5,
         {RlcUmd(5, 0, 1, {}, Hex("aa")), RlcUmd(5, 1, 2, {1}, Hex("bbcc"))}, Sdus({"aabb", "cc"}), 0, 0},
        {"5-bit, wraps", 5, {RlcUmd(5, 31, 0, {}, Hex("1f")), RlcUmd(5, 0, 0, {}, Hex("00"))}, Sdus({"1f", "00"}), 0, 0},
        {"10-bit, reordered", 10,
         {RlcUmd(10, 0, 0, {}, Hex("00")), RlcUmd(10, 2, 0, {}, Hex("02")), RlcUmd(10, 1, 0, {}, Hex("01"))},
         Sdus({"00", "01", "02"}), 0, 0},
        // Nine PDUs behind a lost one: UM does not wait that long.
        {"5-bit, a lost PDU", 5,
         {RlcUmd(5, 0, 1, {}, Hex("aa")), RlcUmd(5, 2, 0, {}, Hex("02")), RlcUmd(5, 3, 0, {}, Hex("03")),
          RlcUmd(5, 4, 0, {}, Hex("04")), RlcUmd(5, 5, 0, {}, Hex("05")), RlcUmd(5, 6, 0, {}, Hex("06")),
          RlcUmd(5, 7, 0, {}, Hex("07")), RlcUmd(5, 8, 0, {}, Hex("08")), RlcUmd(5, 9, 0, {}, Hex("09")),
          RlcUmd(5, 10, 0, {}, Hex("0a"))},
         Sdus({"02", "03", "04", "05", "06", "07", "08", "09", "0a"}), 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Step> steps;
        for (const Octets& p : c.pdus) steps.push_back({Step::kPdu, p, 0});
        const Outcome o = RunEntity(RlcMode::kUm, c.snBits, steps);
        EXPECT_EQ(o.sdus, c.sdus);
        EXPECT_EQ(o.counters.gaps, c.gaps);
        EXPECT_EQ(o.counters.discarded, c.discarded);
    }
}

TEST(RadioRlc, WhatIsHeldStaysBounded) {
    // PDUs and segments of random sequence numbers, offsets and sizes: the
    // entity never holds more than its bounds, and what it delivers is
    // made of octets it was given (all 0x5a here).
    std::mt19937 random(7);
    RlcReceiver r;
    r.Reset(RlcMode::kAm, 10);
    SduList out;
    RlcCounters counters;
    for (int i = 0; i < 5000; ++i) {
        AmdPdu p;
        p.sn = static_cast<uint16_t>(random() % 1024);
        p.fi = static_cast<uint8_t>(random() % 4);
        p.data.assign(1 + random() % 1500, 0x5a);
        p.segment = random() % 3 == 0;
        p.offset = static_cast<uint16_t>(random() % 20000);
        p.lastSegment = random() % 2 == 0;
        const Octets pdu = RlcAmd(p);
        r.Receive(B(pdu), static_cast<uint64_t>(i), static_cast<uint64_t>(i) * 1000, out, counters);
        ASSERT_LE(r.HeldOctets(), RlcReceiver::kMaxWaitingOctets + RlcReceiver::kMaxSdu);
    }
    for (const std::string& sdu : out.sdus) ASSERT_EQ(sdu.find_first_not_of("5a"), std::string::npos);
    EXPECT_GT(out.sdus.size(), 0u);
    EXPECT_GT(counters.gaps, 0u);
    r.Flush(out, counters);
    EXPECT_EQ(r.HeldOctets(), 0u);
}

// ---------------------------------------------------------------- PDCP

TEST(RadioPdcp, SrbPduAndCount) {
    PdcpSrbPdu p;
    const Octets pdu = Hex("0b1000353ba8c3");
    ASSERT_TRUE(ParsePdcpSrb(B(pdu), p));
    EXPECT_EQ(p.sn, 11);
    EXPECT_EQ(HexOf(p.data), "1000");
    EXPECT_EQ(p.macI, 0x353ba8c3u);
    EXPECT_FALSE(ParsePdcpSrb(B(Hex("0b353ba8c3")), p));  // no RRC octet

    // COUNT = RX_HFN << 5 | SN; the HFN goes up when the SN wraps.
    PdcpSrbCount count;
    const struct {
        uint8_t sn;
        uint32_t count;
    } steps[] = {{30, 30}, {31, 31}, {0, 32}, {1, 33}, {5, 37}, {3, 67}};
    for (const auto& s : steps) EXPECT_EQ(count.Receive(s.sn), s.count) << int(s.sn);
}

// ------------------------------------------------------ frames to RRC PDUs

using capture::FrameDecoder;

constexpr int kUserMac = 147;
constexpr int kUserUdp = 149;

Octets MacFramed(bool uplink, uint16_t rnti, const Octets& pdu, int crc = 1, uint8_t rntiType = 3) {
    MacFrame f;
    f.uplink = uplink;
    f.rnti = rnti;
    f.pdu = pdu;
    f.crc = crc;
    f.rntiType = rntiType;
    f.sfn = 38;
    f.subframe = 8;
    return MacLteContext(f);
}
// An SRB1 AMD PDU holding one PDCP PDU whole.
Octets Srb1(uint16_t sn, const Octets& rrc, uint8_t pdcpSn, uint32_t macI = 0) {
    AmdPdu p;
    p.sn = sn;
    p.data = PdcpSrb(pdcpSn, rrc, macI);
    return MacPdu({{1, RlcAmd(p)}});
}

const std::vector<capture::radio::RrcPdu>& Feed(FrameDecoder& d, int type, const Octets& frame) {
    d.Decode(type, B(frame), frame.size());
    return d.rrcPdus();
}

// The PDCP PDU of `rrc` cut after `at` octets into two AMD PDUs, SN and
// SN + 1.
std::pair<Octets, Octets> Split(const Octets& rrc, size_t at, uint16_t sn, uint8_t pdcpSn, uint32_t macI = 0) {
    const Octets pdcp = PdcpSrb(pdcpSn, rrc, macI);
    AmdPdu first, second;
    first.sn = sn;
    first.fi = 1;
    first.data.assign(pdcp.begin(), pdcp.begin() + static_cast<long>(at));
    second.sn = static_cast<uint16_t>(sn + 1);
    second.fi = 2;
    second.data.assign(pdcp.begin() + static_cast<long>(at), pdcp.end());
    return {RlcAmd(first), RlcAmd(second)};
}

TEST(RadioFrames, MacFramesGiveTheRrcPdus) {
    FrameDecoder d;
    // Msg3: CCCH on the temporary C-RNTI, with a Short BSR.
    auto pdus = Feed(d, kUserMac, MacFramed(true, 70, MacPdu({{29, Hex("00"), true}, {0, Hex("41a0b6dee6d8")}})));
    ASSERT_EQ(pdus.size(), 1u);
    EXPECT_EQ(pdus[0].channel, RrcClass::kUlCcch);
    EXPECT_EQ(HexOf(pdus[0].octets), "41a0b6dee6d8");
    EXPECT_EQ(std::make_tuple(pdus[0].rnti, pdus[0].sfn, pdus[0].subframe, pdus[0].direction),
              std::make_tuple(70, 38, 8, 1));
    // A PDCP PDU cut over two RLC PDUs of two frames.
    const auto [first, second] = Split(Hex("2000402f3d0137"), 4, 0, 0, 0x01020304);
    EXPECT_TRUE(Feed(d, kUserMac, MacFramed(true, 70, MacPdu({{1, first}}, 10))).empty());
    pdus = Feed(d, kUserMac, MacFramed(true, 70, MacPdu({{1, second}})));
    ASSERT_EQ(pdus.size(), 1u);
    EXPECT_EQ(pdus[0].channel, RrcClass::kUlDcch);
    EXPECT_EQ(HexOf(pdus[0].octets), "2000402f3d0137");
    EXPECT_EQ(pdus[0].macI, 0x01020304u);
    EXPECT_TRUE(pdus[0].reassembled);
    // A bad CRC: skipped; the same PDU again with a good one.
    EXPECT_TRUE(Feed(d, kUserMac, MacFramed(true, 70, Srb1(2, Hex("480160eac1"), 1), 0)).empty());
    pdus = Feed(d, kUserMac, MacFramed(true, 70, Srb1(2, Hex("480160eac1"), 1)));
    ASSERT_EQ(pdus.size(), 1u);
    EXPECT_EQ(pdus[0].pdcpSn, 1);
    EXPECT_FALSE(pdus[0].reassembled);
    // A random access response, a DRB's SDU, broadcast: no RRC PDU.
    EXPECT_TRUE(Feed(d, kUserMac, MacFramed(false, 2, Hex("4200ccbbaa0046"), 1, 2)).empty());
    EXPECT_TRUE(Feed(d, kUserMac, MacFramed(true, 70, MacPdu({{3, Hex("450000")}}))).empty());
    EXPECT_TRUE(Feed(d, kUserMac, MacFramed(false, 0xFFFF, Hex("0080"), 1, 4)).empty());
    const RadioCounters& c = d.radioCounters();
    EXPECT_EQ(std::make_tuple(c.macBadCrc, c.macNotForUe, c.drbSdus), std::make_tuple(1u, 2u, 1u));
    // A UE that sends its C-RNTI from a temporary one goes on as itself:
    // the SDU that SN 3 starts on RNTI 70 ends in SN 4 sent on RNTI 71.
    const auto [start, end] = Split(Hex("4802a2e8369a44"), 3, 3, 2);
    EXPECT_TRUE(Feed(d, kUserMac, MacFramed(true, 70, MacPdu({{1, start}}))).empty());
    pdus = Feed(d, kUserMac, MacFramed(true, 71, MacPdu({{27, Hex("0046"), true}, {1, end}})));
    ASSERT_EQ(pdus.size(), 1u);
    EXPECT_EQ(pdus[0].rnti, 70);
    EXPECT_EQ(HexOf(pdus[0].octets), "4802a2e8369a44");
    EXPECT_TRUE(d.warnings().empty());
    EXPECT_EQ(c.rlc.gaps + c.rlc.discarded + c.rlc.duplicates, 0u);
}

TEST(RadioFrames, EveryRadioCarriage) {
    const Octets rrc = Hex("0800183aa808");
    const Octets udpMac = Udp(48879, 57005, Cat(Octets{'m', 'a', 'c', '-', 'l', 't', 'e'},
                                                  MacFramed(false, 70, Srb1(0, rrc, 0))));
    const Octets rlcAm = [&] {
        AmdPdu p;
        p.data = PdcpSrb(0, rrc, 0);
        return RlcAmd(p);
    }();
    const struct {
        const char* what;
        int type;
        Octets frame;
        RrcClass channel;
        RadioCarriage carriage;
        int rnti;
    } cases[] = {
        {"MAC-LTE framed (user link type 147)", kUserMac, MacFramed(false, 70, Srb1(0, rrc, 0)), RrcClass::kDlDcch,
         RadioCarriage::kMacLteFramed, 70},
        {"UDP header and mac-lte (user link type 149)", kUserUdp, udpMac, RrcClass::kDlDcch, RadioCarriage::kMacLteUdp,
         70},
        {"mac-lte in a UDP datagram over IPv4 on any port", capture::linktype::kIpv4, Ipv4(17, udpMac),
         RrcClass::kDlDcch, RadioCarriage::kMacLteUdp, 70},
        {"rlc-lte, AM on SRB1", kUserUdp, Udp(1, 2, RlcLteFramed(4, 10, false, 3, 4, 1, rlcAm)), RrcClass::kDlDcch,
         RadioCarriage::kRlcLteUdp, -1},
        {"rlc-lte, TM on CCCH", kUserUdp, Udp(1, 2, RlcLteFramed(1, 0, true, 3, 1, 0, rrc)), RrcClass::kUlCcch,
         RadioCarriage::kRlcLteUdp, -1},
        {"GSMTAP LTE RRC, DL-CCCH", capture::linktype::kIpv4, Ipv4(17, Udp(1, 4729, Gsmtap(0x0D, false, rrc, 0))),
         RrcClass::kDlCcch, RadioCarriage::kGsmtap, -1},
        {"GSMTAP LTE RRC, DL-DCCH", capture::linktype::kIpv4, Ipv4(17, Udp(1, 4729, Gsmtap(0x0D, false, rrc, 1))),
         RrcClass::kDlDcch, RadioCarriage::kGsmtap, -1},
        // The uplink flag is not what tells the direction: the class is.
        {"GSMTAP LTE RRC, UL-CCCH", capture::linktype::kIpv4, Ipv4(17, Udp(1, 4729, Gsmtap(0x0D, false, rrc, 2))),
         RrcClass::kUlCcch, RadioCarriage::kGsmtap, -1},
        {"GSMTAP LTE RRC, UL-DCCH", capture::linktype::kIpv4, Ipv4(17, Udp(1, 4729, Gsmtap(0x0D, false, rrc, 3))),
         RrcClass::kUlDcch, RadioCarriage::kGsmtap, -1},
        {"GSMTAP LTE MAC framed", capture::linktype::kIpv4,
         Ipv4(17, Udp(1, 4729, Gsmtap(0x0F, false, MacFramed(false, 70, Srb1(0, rrc, 0))))), RrcClass::kDlDcch,
         RadioCarriage::kMacLteFramed, 70},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrameDecoder d;
        const auto pdus = Feed(d, c.type, c.frame);
        EXPECT_TRUE(d.warnings().empty()) << d.warnings().front();
        ASSERT_EQ(pdus.size(), 1u);
        EXPECT_EQ(O(pdus[0].octets), rrc);
        EXPECT_EQ(pdus[0].channel, c.channel);
        EXPECT_EQ(pdus[0].direction, IsUplink(c.channel) ? 1 : 0);
        EXPECT_EQ(pdus[0].carriage, c.carriage);
        EXPECT_EQ(pdus[0].rnti, c.rnti);
    }
}

TEST(RadioFrames, WhatIsNotReadSaysSoOnce) {
    const struct {
        const char* what;
        int type;
        Octets frame;
        const char* says;  // "" for silence
    } cases[] = {
        {"GSMTAP broadcast RRC", capture::linktype::kIpv4, Ipv4(17, Udp(1, 4729, Gsmtap(0x0D, false, Hex("00"), 5))), ""},
        {"GSMTAP NB-IoT RRC", capture::linktype::kIpv4, Ipv4(17, Udp(1, 4729, Gsmtap(0x0D, false, Hex("00"), 15))),
         "NB-IoT RRC is not read"},
        {"5G NR MAC", kUserUdp, Udp(1, 2, Octets{'m', 'a', 'c', '-', 'n', 'r', 1, 2}), "5G NR framing"},
        {"PDCP-LTE framing", kUserUdp, Udp(1, 2, Octets{'p', 'd', 'c', 'p', '-', 'l', 't', 'e', 1}),
         "PDCP-LTE framing is not read"},
        {"a UDP payload that names nothing", kUserUdp, Udp(1, 2, Hex("0102030405")), "without a mac-lte or rlc-lte"},
        {"a MAC framing with an unknown tag", kUserMac, Hex("0100032000"), "unknown tag"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrameDecoder d;
        EXPECT_TRUE(Feed(d, c.type, c.frame).empty());
        if (*c.says == '\0') {
            EXPECT_TRUE(d.warnings().empty());
            continue;
        }
        ASSERT_EQ(d.warnings().size(), 1u);
        EXPECT_NE(d.warnings()[0].find(c.says), std::string::npos) << d.warnings()[0];
        // Framings not read are said once; a malformed frame each time.
        Feed(d, c.type, c.frame);
        EXPECT_EQ(d.warnings().size(), std::string(c.says) == "unknown tag" ? 1u : 0u);
    }
}

RrcContent Smc(int algorithm) {
    RrcContent c;
    c.message = "securityModeCommand";
    c.asCiphering = algorithm;
    c.asIntegrity = 2;
    return c;
}

TEST(RadioFrames, AsSecurityFollowsTheUe) {
    ScriptedRrc rrc;
    const Octets smcEea2 = Hex("300020"), smcEea0 = Hex("300000"), complete = Hex("2800"), request = Hex("4100");
    const Octets reestablish = Hex("0046aa"), handover = Hex("2016aa");
    rrc.Say(smcEea2, Smc(2));
    rrc.Say(smcEea0, Smc(0));
    RrcContent r;
    r.message = "rrcConnectionReestablishmentRequest";
    r.previousCrnti = 70;
    rrc.Say(reestablish, r);
    RrcContent h;
    h.message = "rrcConnectionReconfiguration";
    h.newCrnti = 90;
    rrc.Say(handover, h);

    FrameDecoder d;
    d.SetRrcReader(&rrc);
    uint16_t ulSn = 0, dlSn = 0;
    uint8_t ulPdcp = 0, dlPdcp = 0;
    auto dl = [&](uint16_t rnti, const Octets& pdu) {
        return Feed(d, kUserMac, MacFramed(false, rnti, Srb1(dlSn++, pdu, dlPdcp++)));
    };
    auto ul = [&](uint16_t rnti, const Octets& pdu) {
        return Feed(d, kUserMac, MacFramed(true, rnti, Srb1(ulSn++, pdu, ulPdcp++)));
    };
    auto ccch = [&](uint16_t rnti, const Octets& pdu) {
        ulSn = dlSn = 0;
        ulPdcp = dlPdcp = 0;
        return Feed(d, kUserMac, MacFramed(true, rnti, MacPdu({{0, pdu}})));
    };
    ccch(70, request);
    EXPECT_FALSE(dl(70, smcEea2)[0].asCiphered);
    // After the SecurityModeCommand: downlink ciphered; the
    // SecurityModeComplete is not, the uplink after it is.
    auto p = dl(70, Hex("0a0b"));
    EXPECT_TRUE(p[0].asCiphered);
    EXPECT_EQ(p[0].asCiphering, 2);
    ASSERT_EQ(d.found().size(), 1u);
    EXPECT_TRUE(d.found()[0].asCipheredRrc);
    EXPECT_FALSE(ul(70, complete)[0].asCiphered);
    EXPECT_TRUE(ul(70, Hex("0c0d"))[0].asCiphered);
    const std::string ue70 = p[0].ueKey;
    // The ciphered PDUs were not given to the RRC part.
    EXPECT_EQ(rrc.read.size(), 3u);  // the SMC, the complete, and the CCCH message
    // Re-establishment on RNTI 80 from RNTI 70: the same UE, ciphered at once.
    ccch(80, reestablish);
    p = dl(80, Hex("0e0f"));
    EXPECT_TRUE(p[0].asCiphered);
    EXPECT_EQ(p[0].ueKey, ue70);
    // A new connection on RNTI 70 starts without AS security.
    ccch(70, request);
    p = dl(70, Hex("1011"));
    EXPECT_FALSE(p[0].asCiphered);
    EXPECT_EQ(p[0].asCiphering, -1);
    dl(70, smcEea0);
    p = dl(70, Hex("1213"));
    EXPECT_FALSE(p[0].asCiphered);
    EXPECT_EQ(p[0].asCiphering, 0);
    // Handover to C-RNTI 90: the UE goes on there under its key.
    dl(70, handover);
    ulSn = 0;
    ulPdcp = 0;
    p = ul(90, Hex("1415"));
    EXPECT_EQ(p[0].ueKey, ue70);
    EXPECT_EQ(p[0].rnti, 90);
    EXPECT_EQ(p[0].asCiphering, 0);
}

}  // namespace
}  // namespace corvuna::test
