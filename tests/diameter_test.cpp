// SPDX-License-Identifier: Apache-2.0
// Diameter in captures: the S6a Authentication-Information request and
// answer over SCTP and over TCP (segments out of order, repeated, split
// anywhere), answers paired with requests, and damaged messages refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/diameter.h"
#include "capture/frames.h"
#include "support/capture_builders.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

using capture::Bytes;

void Put32(Octets& o, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) o.push_back(static_cast<uint8_t>(v >> shift));
}

// An AVP (RFC 6733 4.1): 3GPP vendor-specific when `vendor` is not 0.
Octets Avp(uint32_t code, uint32_t vendor, const Octets& data) {
    Octets o;
    Put32(o, code);
    const size_t length = (vendor != 0 ? 12 : 8) + data.size();
    Put32(o, (vendor != 0 ? 0xC0000000u : 0x40000000u) | static_cast<uint32_t>(length));
    if (vendor != 0) Put32(o, vendor);
    o.insert(o.end(), data.begin(), data.end());
    while (o.size() % 4 != 0) o.push_back(0);
    return o;
}

Octets Text(const std::string& s) { return Octets(s.begin(), s.end()); }

Octets Join(std::vector<Octets> parts) {
    Octets o;
    for (const Octets& p : parts) o.insert(o.end(), p.begin(), p.end());
    return o;
}

Octets Message(bool request, uint32_t command, uint32_t hopByHop, const Octets& avps) {
    Octets o;
    Put32(o, 0x01000000u | static_cast<uint32_t>(20 + avps.size()));
    Put32(o, (request ? 0xC0000000u : 0x40000000u) | command);
    Put32(o, 16777251);
    Put32(o, hopByHop);
    Put32(o, 0x55667788);
    o.insert(o.end(), avps.begin(), avps.end());
    return o;
}

constexpr uint32_t k3gpp = 10415;

Octets Request(uint32_t hopByHop) {
    return Message(true, 318, hopByHop,
                   Join({Avp(263, 0, Text("mme;1;2;app_s6a")), Avp(1, 0, Text("001010000000001")),
                         Avp(1407, k3gpp, Hex("00f110"))}));
}

Octets Answer(uint32_t hopByHop) {
    const Octets vector = Join({Avp(1419, k3gpp, Hex("00000001")), Avp(1447, k3gpp, Hex("00112233445566778899aabbccddeeff")),
                                Avp(1448, k3gpp, Hex("a54211d5e3ba50bf")),
                                Avp(1449, k3gpp, Hex("55f328b43577b9b94a9ffac354dfafb3")),
                                Avp(1450, k3gpp, Hex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f"))});
    return Message(false, 318, hopByHop,
                   Join({Avp(263, 0, Text("mme;1;2;app_s6a")), Avp(268, 0, Hex("000007d1")),
                         Avp(1413, k3gpp, Avp(1414, k3gpp, vector))}));
}

TEST(Diameter, S6aAnswerPairedWithItsRequest) {
    capture::S6aAuthentication request, answer;
    const Octets r = Request(7), a = Answer(7);
    ASSERT_EQ(capture::ParseDiameter(Bytes{r.data(), r.size()}, request), capture::DiameterResult::kS6aAuthentication);
    ASSERT_EQ(capture::ParseDiameter(Bytes{a.data(), a.size()}, answer), capture::DiameterResult::kS6aAuthentication);
    EXPECT_TRUE(request.request);
    EXPECT_EQ(request.userName, "001010000000001");
    ASSERT_EQ(answer.vectors.size(), 1u);
    EXPECT_EQ(answer.vectors[0].xres, Hex("a54211d5e3ba50bf"));
    EXPECT_EQ(answer.vectors[0].kasme[31], 0x1f);
    capture::S6aMatcher matcher;
    capture::S6aVectors v;
    EXPECT_FALSE(matcher.Take(request, v));
    ASSERT_TRUE(matcher.Take(answer, v));
    EXPECT_EQ(v.imsi, "001010000000001");
    EXPECT_TRUE(v.hasVisitedPlmn);
    EXPECT_EQ(v.visitedPlmn[1], 0xf1);
    // An answer to no request seen: its vectors with no subscriber.
    const Octets other = Answer(8);
    capture::S6aAuthentication lone;
    capture::ParseDiameter(Bytes{other.data(), other.size()}, lone);
    lone.sessionId = "unknown";
    ASSERT_TRUE(matcher.Take(lone, v));
    EXPECT_TRUE(v.imsi.empty());
}

TEST(Diameter, DamagedMessagesAreRefused) {
    const Octets good = Answer(1);
    const struct {
        const char* what;
        Octets message;
        capture::DiameterResult result;
    } cases[] = {
        {"version 2", [&] { Octets m = good; m[0] = 2; return m; }(), capture::DiameterResult::kMalformed},
        {"cut short", Octets(good.begin(), good.end() - 4), capture::DiameterResult::kMalformed},
        {"an AVP longer than the message",
         [&] { Octets m = good; m[20 + 5] = 0; m[20 + 6] = 0xFF; return m; }(), capture::DiameterResult::kMalformed},
        {"another command", Message(false, 316, 1, Avp(263, 0, Text("x"))), capture::DiameterResult::kOther},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        capture::S6aAuthentication m;
        EXPECT_EQ(capture::ParseDiameter(Bytes{c.message.data(), c.message.size()}, m), c.result);
    }
}

TEST(Diameter, OverSctpAndOverTcpInPieces) {
    const Octets request = Request(3), answer = Answer(3);
    capture::FrameDecoder decoder;
    std::vector<Octets> found;
    auto decode = [&](const Octets& frame) {
        decoder.Decode(1, Bytes{frame.data(), frame.size()}, frame.size());
        for (const Bytes& b : decoder.diameter()) found.emplace_back(b.data, b.data + b.size);
        for (const std::string& w : decoder.warnings()) ADD_FAILURE() << w;
    };
    // The request over SCTP (payload protocol 46).
    decode(Ethernet(0x0800, Ipv4(132, Sctp(40000, 3868, {{3, 1, 0, 46, request}})), 0));
    // The answer over TCP: SYN, then three pieces sent as 3, 1, 2, with 1
    // sent twice.
    const uint32_t isn = 0xFFFFFF00;  // the sequence numbers wrap inside the message
    const Octets p1(answer.begin(), answer.begin() + 7), p2(answer.begin() + 7, answer.begin() + 100),
        p3(answer.begin() + 100, answer.end());
    auto segment = [&](uint32_t offset, uint8_t flags, const Octets& payload) {
        return Ethernet(0x0800, Ipv4(6, Tcp(3868, 50000, isn + 1 + offset, flags, payload)), 0);
    };
    decode(segment(static_cast<uint32_t>(-1), 0x12, {}));
    decode(segment(100, 0x18, p3));
    EXPECT_EQ(found.size(), 1u);
    decode(segment(0, 0x18, p1));
    decode(segment(0, 0x18, p1));
    EXPECT_EQ(found.size(), 1u);
    decode(segment(7, 0x18, p2));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], request);
    EXPECT_EQ(found[1], answer);
    // Two messages in one segment, the second cut by the end of it.
    decode(segment(static_cast<uint32_t>(answer.size()), 0x18, Join({answer, Octets(answer.begin(), answer.begin() + 30)})));
    EXPECT_EQ(found.size(), 3u);
    decode(segment(static_cast<uint32_t>(2 * answer.size() + 30), 0x18, Octets(answer.begin() + 30, answer.end())));
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[3], answer);
}

TEST(Diameter, TcpThatIsNotDiameterIsSkippedWithAWarning) {
    capture::FrameDecoder decoder;
    const Octets frame = Ethernet(0x0800, Ipv4(6, Tcp(50000, 3868, 1, 0x18, Text("GET / HTTP/1.1\r\n"))), 0);
    decoder.Decode(1, Bytes{frame.data(), frame.size()}, frame.size());
    EXPECT_TRUE(decoder.diameter().empty());
    ASSERT_EQ(decoder.warnings().size(), 1u);
    EXPECT_NE(decoder.warnings()[0].find("do not start a Diameter message"), std::string::npos);
}

}  // namespace
}  // namespace corvuna::test
