// SPDX-License-Identifier: Apache-2.0
// The capture component on frames the tests make: every link type and
// carrier, S1AP's NAS-PDUs and E-RAB items, SCTP bundles and fragments,
// and the frames that must give warnings or nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/frames.h"
#include "capture/security.h"
#include "support/capture_builders.h"
#include "support/per_messages.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

using capture::FrameDecoder;
using capture::linktype::kEthernet;

const Octets kAttachRequest = Hex("0741710831012098802351f002804000040201d031");
const Octets kAttachAccept = Hex("27aabbccdd0507420249062000f11000010000");

Octets InitialUeMessage(const Octets& nas) {
    return S1apPdu(0, 12, {S1apIe(8, S1apEnbUeIdValue(77)), S1apIe(26, S1apNasPduValue(nas))});
}
Octets S1apOverSctp(const Octets& pdu) { return Sctp(40000, 36412, {{3, 1, 1, 18, pdu}}); }

std::vector<capture::FoundNas> DecodeOne(FrameDecoder& d, int type, const Octets& frame, size_t wire = 0) {
    d.Decode(type, capture::Bytes{frame.data(), frame.size()}, wire != 0 ? wire : frame.size());
    return d.found();
}

Octets OctetsOf(const capture::FoundNas& f) { return Octets(f.octets.data, f.octets.data + f.octets.size); }

TEST(CaptureFrames, EveryLinkTypeAndCarrierFindsTheNas) {
    const Octets sctp = S1apOverSctp(InitialUeMessage(kAttachRequest));
    const Octets v4 = Ipv4(132, sctp);
    const Octets v6 = Ipv6(132, sctp, true);
    const Octets gsmtapUp = Ipv4(17, Udp(50000, 4729, Gsmtap(0x12, true, kAttachRequest)));
    const struct {
        const char* what;
        int type;
        Octets frame;
        int direction;
        capture::Carrier carrier;
    } cases[] = {
        {"Ethernet", kEthernet, Ethernet(0x0800, v4, 0), 1, capture::Carrier::kS1ap},
        {"Ethernet with 802.1ad and 802.1Q tags", kEthernet, Ethernet(0x0800, v4, 2), 1, capture::Carrier::kS1ap},
        {"Ethernet, IPv6 with a hop-by-hop header", kEthernet, Ethernet(0x86DD, v6, 1), 1, capture::Carrier::kS1ap},
        {"Linux cooked", capture::linktype::kLinuxSll, LinuxSll(0x0800, v4), 1, capture::Carrier::kS1ap},
        {"Linux cooked v2", capture::linktype::kLinuxSll2, LinuxSll2(0x86DD, v6), 1, capture::Carrier::kS1ap},
        {"BSD loopback IPv4", capture::linktype::kNull, BsdLoopback(2, v4), 1, capture::Carrier::kS1ap},
        {"BSD loopback IPv6", capture::linktype::kNull, BsdLoopback(30, v6), 1, capture::Carrier::kS1ap},
        {"raw IP", capture::linktype::kRaw, v6, 1, capture::Carrier::kS1ap},
        {"IPv4 link type, GSMTAP uplink", capture::linktype::kIpv4, gsmtapUp, 1, capture::Carrier::kGsmtap},
        {"GSMTAP downlink", capture::linktype::kIpv4,
         Ipv4(17, Udp(4729, 4729, Gsmtap(0x12, false, kAttachRequest))), 0, capture::Carrier::kGsmtap},
        {"raw NAS in user link type 148", 148, kAttachRequest, -1, capture::Carrier::kRawNas},
        {"S1AP in user link type 150", 150, InitialUeMessage(kAttachRequest), 1, capture::Carrier::kS1ap},
        {"exported PDU nas-eps", capture::linktype::kUpperPdu, ExportedPdu("nas-eps", kAttachRequest), -1,
         capture::Carrier::kExportedPdu},
        {"exported PDU nas-eps_plain", capture::linktype::kUpperPdu, ExportedPdu("nas-eps_plain", kAttachRequest), -1,
         capture::Carrier::kExportedPdu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrameDecoder d;
        d.SetUserPayload(150, capture::UserPayload::kS1ap);
        const auto found = DecodeOne(d, c.type, c.frame);
        EXPECT_TRUE(d.warnings().empty()) << d.warnings().front();
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(OctetsOf(found[0]), kAttachRequest);
        EXPECT_EQ(found[0].direction, c.direction);
        EXPECT_EQ(found[0].carrier, c.carrier);
        if (c.carrier == capture::Carrier::kS1ap) {
            EXPECT_EQ(found[0].procedure, 12);
            EXPECT_EQ(found[0].enbUeId, 77);
        }
    }
}

TEST(CaptureFrames, FramesWithoutEpsNasGiveNothingAndNoWarning) {
    const struct {
        const char* what;
        int type;
        Octets frame;
    } cases[] = {
        {"GSMTAP of another type (LTE RRC)", capture::linktype::kIpv4,
         Ipv4(17, Udp(1, 4729, Gsmtap(0x0D, true, kAttachRequest)))},
        {"UDP to another port", capture::linktype::kIpv4, Ipv4(17, Udp(1, 2152, kAttachRequest))},
        {"NGAP without NAS (an NG SETUP RESPONSE of no IEs)", capture::linktype::kIpv4,
         Ipv4(132, Sctp(38412, 38412, {{3, 1, 1, 60, S1apPdu(1, 21, {})}}))},
        {"exported PDU of LTE RRC", capture::linktype::kUpperPdu, ExportedPdu("lte-rrc.ul.dcch", kAttachRequest)},
        {"an ARP frame", kEthernet, Ethernet(0x0806, Octets(28, 0), 0)},
        {"an S1AP PDU without NAS (S1 SETUP RESPONSE)", capture::linktype::kIpv4,
         Ipv4(132, S1apOverSctp(S1apPdu(1, 17, {S1apIe(105, {0x00, 0x01})})))},
        {"raw NAS in a user link type nobody mapped", 151, kAttachRequest},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrameDecoder d;
        EXPECT_TRUE(DecodeOne(d, c.type, c.frame).empty());
        EXPECT_TRUE(d.warnings().empty());
    }
}

TEST(CaptureFrames, NgapGives5gsNasWithItsUeIds) {
    const Octets nas = Hex("7e005b01");
    const Octets dl = NgapDownlinkNasTransport(0x0102030405, 9, nas);
    const Octets setup = NgapPduSessionResourceSetupRequest(Hex("7e02a1b2c3d401"), Hex("2e0501c1"), Hex("2e0601c1"));
    const struct {
        const char* what;
        Octets frame;
        size_t count;
    } cases[] = {
        {"payload protocol 60", Ipv4(132, Sctp(40000, 38412, {{3, 1, 1, 60, dl}})), 1},
        {"port 38412, payload protocol 0", Ipv4(132, Sctp(38412, 40000, {{3, 1, 1, 0, dl}})), 1},
        {"a bundle: two NGAP PDUs and an S1AP one", Ipv4(132, Sctp(38412, 40000, {{3, 1, 1, 60, dl},
                                                                               {3, 2, 1, 60, setup},
                                                                               {3, 3, 2, 18, InitialUeMessage(kAttachRequest)}})),
         5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrameDecoder d;
        const auto found = DecodeOne(d, capture::linktype::kIpv4, c.frame);
        EXPECT_TRUE(d.warnings().empty()) << d.warnings().front();
        ASSERT_EQ(found.size(), c.count);
        EXPECT_EQ(OctetsOf(found[0]), nas);
        EXPECT_EQ(found[0].carrier, capture::Carrier::kNgap);
        EXPECT_TRUE(found[0].fivegs);
        EXPECT_EQ(found[0].direction, 0);
        EXPECT_EQ(found[0].procedure, 4);
        EXPECT_EQ(found[0].amfUeNgapId, 0x0102030405);
        EXPECT_EQ(found[0].ranUeNgapId, 9);
        EXPECT_EQ(found[0].enbUeId, -1);
        if (c.count == 5) {
            EXPECT_EQ(OctetsOf(found[3]), Hex("2e0601c1"));
            EXPECT_EQ(found[3].procedure, 29);
            EXPECT_FALSE(found[4].fivegs);
            EXPECT_EQ(found[4].carrier, capture::Carrier::kS1ap);
        }
    }
    // A damaged NGAP PDU gives one warning naming it.
    FrameDecoder d;
    Octets cut(dl.begin(), dl.end() - 3);
    DecodeOne(d, capture::linktype::kIpv4, Ipv4(132, Sctp(40000, 38412, {{3, 1, 1, 60, cut}})));
    ASSERT_EQ(d.warnings().size(), 1u);
    EXPECT_EQ(d.warnings()[0].rfind("malformed NGAP PDU (downlinkNASTransport): the encoding ends early", 0), 0u)
        << d.warnings()[0];
}

TEST(CaptureFrames, S1apNasPdusAndErabItemsInOrder) {
    const Octets esm1 = Hex("5201c101090908696e7465726e6574");
    const Octets esm2 = Hex("6200c50601020100");
    const Octets esm3 = Hex("7200c9060d");
    // INITIAL CONTEXT SETUP REQUEST: two E-RAB items (the first with a GBR
    // and a NAS-PDU, the second without a NAS-PDU), then a NAS-PDU IE.
    const Octets ics = S1apPdu(0, 9,
                               {S1apIe(0, S1apMmeUeIdValue(70000)), S1apIe(8, S1apEnbUeIdValue(300)),
                                S1apIe(24, ErabList(52, {ErabCtxtItem(&esm1, true), ErabCtxtItem(nullptr, false)})),
                                S1apIe(26, S1apNasPduValue(esm2))});
    const Octets modify = S1apPdu(0, 6, {S1apIe(30, ErabList(36, {ErabModifyItem(esm3), ErabModifyItem(esm1)}))});
    FrameDecoder d;
    // Both PDUs in one packet, after a SACK chunk and beside a Diameter chunk.
    const Octets diameter = Hex("0100001480000118000000000000000100000002");  // a bare Diameter header
    Octets packet = Sctp(36412, 40000, {{3, 7, 1, 18, ics}, {3, 8, 2, 46, diameter}, {3, 9, 1, 0, modify}});
    const Octets sack = SackChunk();
    packet.insert(packet.begin() + 12, sack.begin(), sack.end());
    // The found octets point into the frame: it must outlive them.
    const Octets frame = Ipv4(132, packet);
    const auto found = DecodeOne(d, capture::linktype::kIpv4, frame);
    EXPECT_TRUE(d.warnings().empty());
    ASSERT_EQ(d.diameter().size(), 1u);
    EXPECT_EQ(Octets(d.diameter()[0].data, d.diameter()[0].data + d.diameter()[0].size), diameter);
    {
        // At the capture's end the frame is gone: nothing still points into it.
        FrameDecoder last;
        DecodeOne(last, capture::linktype::kIpv4, frame);
        last.Finish();
        EXPECT_TRUE(last.diameter().empty());
        EXPECT_TRUE(last.found().empty());
    }
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(OctetsOf(found[0]), esm1);
    EXPECT_EQ(OctetsOf(found[1]), esm2);
    EXPECT_EQ(OctetsOf(found[2]), esm3);
    EXPECT_EQ(OctetsOf(found[3]), esm1);
    EXPECT_EQ(found[0].mmeUeId, 70000);
    EXPECT_EQ(found[0].enbUeId, 300);
    EXPECT_EQ(found[0].direction, 0);
    EXPECT_EQ(found[2].procedure, 6);
}

TEST(CaptureFrames, FragmentedUserMessagesAreReassembled) {
    const Octets pdu = InitialUeMessage(kAttachRequest);
    const Octets a(pdu.begin(), pdu.begin() + 10), b(pdu.begin() + 10, pdu.begin() + 20), c(pdu.begin() + 20, pdu.end());
    auto frame = [](const std::vector<SctpChunk>& chunks) { return Ipv4(132, Sctp(40000, 36412, chunks)); };
    FrameDecoder d;
    EXPECT_TRUE(DecodeOne(d, capture::linktype::kIpv4, frame({{2, 10, 4, 18, a}})).empty());
    // Another stream's whole message in between.
    EXPECT_EQ(DecodeOne(d, capture::linktype::kIpv4, frame({{0, 11, 4, 18, b}, {3, 12, 5, 18, pdu}})).size(), 1u);
    const auto found = DecodeOne(d, capture::linktype::kIpv4, frame({{1, 12, 4, 18, c}}));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(OctetsOf(found[0]), kAttachRequest);
    EXPECT_TRUE(d.warnings().empty());

    // A fragment lost: the rest gives one warning and no NAS.
    FrameDecoder lost;
    DecodeOne(lost, capture::linktype::kIpv4, frame({{2, 10, 4, 18, a}}));
    EXPECT_TRUE(DecodeOne(lost, capture::linktype::kIpv4, frame({{1, 12, 4, 18, c}})).empty());
    ASSERT_EQ(lost.warnings().size(), 1u);
    EXPECT_NE(lost.warnings()[0].find("without the fragments before it"), std::string::npos);
}

TEST(CaptureFrames, DamagedFramesGiveOneWarningEach) {
    const Octets v4 = Ipv4(132, S1apOverSctp(InitialUeMessage(kAttachRequest)));
    Octets cut(v4.begin(), v4.end() - 12);
    Octets badChunk = v4;
    badChunk[20 + 12 + 2] = 0x7F;  // the DATA chunk's length runs past the packet
    Octets badS1ap = Ipv4(132, S1apOverSctp({0x00, 0x0C, 0x40, 0x7F, 0x00}));
    const struct {
        const char* what;
        Octets frame;
        size_t wire;
        const char* says;
    } cases[] = {
        {"cut by the snap length", cut, v4.size(), "snap length"},
        {"a chunk longer than the packet", badChunk, 0, "SCTP chunk runs past the packet"},
        {"an S1AP PDU cut short", badS1ap, 0, "malformed S1AP PDU (initialUEMessage)"},
        {"an IPv4 header shorter than 20 octets", Octets(v4.begin(), v4.begin() + 12), 0, "IPv4 header cut short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrameDecoder d;
        DecodeOne(d, capture::linktype::kIpv4, c.frame, c.wire);
        ASSERT_EQ(d.warnings().size(), 1u);
        EXPECT_NE(d.warnings()[0].find(c.says), std::string::npos) << d.warnings()[0];
    }
}

TEST(CaptureFrames, SecurityHeaderOfEpsAnd5gsMessages) {
    const auto read = [](const Octets& nas, bool eea0) {
        return capture::ReadProtectedNas(capture::Bytes{nas.data(), nas.size()}, eea0);
    };
    const auto integrity = read(Hex("17aabbccdd050761490100"), false);
    EXPECT_EQ(integrity.securityHeader, 1);
    EXPECT_EQ(integrity.mac, 0xaabbccddu);
    EXPECT_EQ(integrity.sequence, 5);
    EXPECT_EQ(integrity.plain.size, 5u);
    EXPECT_EQ(read(kAttachAccept, false).plain.size, 0u);  // ciphered, algorithm unknown
    EXPECT_EQ(read(kAttachAccept, true).plain.size, kAttachAccept.size() - 6);
    EXPECT_TRUE(read(Hex("c741abcd"), false).serviceRequest);
    EXPECT_TRUE(read(Hex("27aabb"), true).shortHeader);
    // 5GMM (TS 24.501 9.1.1): EPD, security header type, MAC, sequence number.
    const Octets registrationComplete = Hex("7e0211223344017e0043");
    const auto fivegs = read(registrationComplete, false);
    EXPECT_EQ(fivegs.securityHeader, 2);
    EXPECT_EQ(fivegs.mac, 0x11223344u);
    EXPECT_EQ(fivegs.sequence, 1);
    EXPECT_EQ(fivegs.plain.size, 0u);
    EXPECT_EQ(read(registrationComplete, true).plain.size, 3u);

    EXPECT_EQ(capture::DirectionOfMessage(capture::Bytes{kAttachRequest.data(), kAttachRequest.size()}), 1);
    const Octets detach = Hex("0745090bf600f110");  // DETACH REQUEST: both directions
    EXPECT_EQ(capture::DirectionOfMessage(capture::Bytes{detach.data(), detach.size()}), -1);
}

}  // namespace
}  // namespace corvuna::test
