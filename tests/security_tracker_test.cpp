// SPDX-License-Identifier: Apache-2.0
// The security tracker on message sequences made here: the NAS COUNT
// across sequence number wrap-arounds and gaps, the SERVICE REQUEST's short
// MAC, a UE found again on a new association by its S-TMSI or by its MAC,
// the RES against the keys, mapped contexts and failed MACs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "security/kdf.h"
#include "security/milenage.h"
#include "security/nas_algorithms.h"
#include "security/tracker.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

using namespace corvuna::security;
using Octets = std::vector<uint8_t>;

constexpr const char* kEncHex = "00112233445566778899aabbccddeeff";
constexpr const char* kIntHex = "0f0e0d0c0b0a09080706050403020100";

class Sequence {
public:
    explicit Sequence(const std::string& keysText) {
        std::string error;
        EXPECT_TRUE(ParseKeys(keysText, "test", keys_, error)) << error;
        tracker_ = std::make_unique<SecurityTracker>(&keys_);
    }

    // The message `inner` protected with security header `sht` under the
    // test NAS keys, COUNT `count`, in `direction` (1 uplink).
    // With `fiveG`, a 5GMM message (EPD 0x7E, then the security header
    // type) under the BEARER of 3GPP access, or the `bearer` given.
    Octets Protect(int sht, int algorithm, uint32_t count, int direction, const Octets& inner, bool fiveG = false,
                   int bearer = -1) {
        const Key128 enc = *FixedFromHex<16>(kEncHex), integrity = *FixedFromHex<16>(kIntHex);
        const uint8_t dir = direction == 1 ? kDirectionUplink : kDirectionDownlink;
        const auto b = static_cast<uint8_t>(bearer >= 0 ? bearer : fiveG ? 1 : 0);
        Octets body = inner;
        if (sht == 2 || sht == 4) {
            EXPECT_TRUE(algorithms_.Cipher(algorithm, enc, count, b, dir, inner, inner.size() * 8, body.data()));
        }
        Octets covered{static_cast<uint8_t>(count)};
        covered.insert(covered.end(), body.begin(), body.end());
        const uint32_t mac = algorithms_.Mac(algorithm, integrity, count, b, dir, covered, covered.size() * 8).value_or(0);
        Octets nas = fiveG ? Octets{0x7E, static_cast<uint8_t>(sht)} : Octets{static_cast<uint8_t>(sht << 4 | 7)};
        for (const int shift : {24, 16, 8, 0}) nas.push_back(static_cast<uint8_t>(mac >> shift));
        nas.insert(nas.end(), covered.begin(), covered.end());
        return nas;
    }

    // SERVICE REQUEST with KSI 0 and the short MAC of COUNT `count`.
    Octets ServiceRequest(int algorithm, uint32_t count) {
        const Octets head = {0xC7, static_cast<uint8_t>(count & 0x1F)};
        const uint32_t mac = algorithms_.Mac(algorithm, *FixedFromHex<16>(kIntHex), count, 0, kDirectionUplink, head, 16)
                                 .value_or(0);
        return {0xC7, static_cast<uint8_t>(count & 0x1F), static_cast<uint8_t>(mac >> 8), static_cast<uint8_t>(mac)};
    }

    SecurityFacts Take(const std::string& connection, int direction, const Octets& nas, int64_t sTmsi = -1) {
        SecurityFacts facts;
        NasInput in;
        in.connection = connection;
        in.direction = direction;
        in.nas = nas;
        in.sTmsi = sTmsi;
        tracker_->Process(in, facts);
        return facts;
    }

private:
    KeyStore keys_;
    NasAlgorithms algorithms_;
    std::unique_ptr<SecurityTracker> tracker_;
};

std::string NasKeysLine() { return std::string("* knasenc=") + kEncHex + " knasint=" + kIntHex + "\n"; }

// SECURITY MODE COMMAND selecting 128-EEA`a` and 128-EIA`a`, KSI `ksi`.
Octets ModeCommand(int a, int ksi) { return {0x07, 0x5D, static_cast<uint8_t>(a << 4 | a), static_cast<uint8_t>(ksi), 0x02, 0xE0, 0xE0}; }

const Octets kEmmInformation = Hex("0761490100");
const Octets kModeComplete = Hex("075e");

TEST(SecurityTracker, CountsAcrossWrapAroundsAndGaps) {
    for (int algorithm = 1; algorithm <= 3; ++algorithm) {
        SCOPED_TRACE(algorithm);
        if (IntegrityUnavailable(algorithm) != nullptr || CipheringUnavailable(algorithm) != nullptr) continue;
        Sequence s(NasKeysLine());
        SecurityFacts f = s.Take("a", 0, s.Protect(3, algorithm, 0, 0, ModeCommand(algorithm, 0)));
        EXPECT_EQ(f.mac, MacCheck::kVerified);
        EXPECT_EQ(f.keySource, KeySource::kNasKeys);
        f = s.Take("a", 1, s.Protect(4, algorithm, 0, 1, kModeComplete));
        EXPECT_EQ(f.mac, MacCheck::kVerified);
        EXPECT_EQ(f.body, BodyState::kDeciphered);
        // Downlink COUNTs 1 to 300, then a gap to 700 (the sequence number
        // wraps twice on the way).
        std::vector<uint32_t> counts;
        for (uint32_t c = 1; c <= 300; ++c) counts.push_back(c);
        counts.push_back(700);
        counts.push_back(701);
        for (const uint32_t count : counts) {
            f = s.Take("a", 0, s.Protect(2, algorithm, count, 0, kEmmInformation));
            ASSERT_EQ(f.mac, MacCheck::kVerified) << count;
            EXPECT_TRUE(f.countKnown);
            EXPECT_EQ(f.count, count);
            EXPECT_EQ(f.body, BodyState::kDeciphered);
            EXPECT_EQ(Octets(f.plain.begin() + 6, f.plain.end()), kEmmInformation);
        }
        // A MAC made with another COUNT fails and says what COUNT 702 gives.
        Octets bad = s.Protect(1, algorithm, 5000, 0, kEmmInformation);
        bad[5] = static_cast<uint8_t>(702 & 0xFF);
        f = s.Take("a", 0, bad);
        EXPECT_EQ(f.mac, MacCheck::kFailed);
        const Octets good = s.Protect(1, algorithm, 702, 0, kEmmInformation);
        EXPECT_EQ(f.expectedMac, static_cast<uint32_t>(good[1]) << 24 | static_cast<uint32_t>(good[2]) << 16 |
                                     static_cast<uint32_t>(good[3]) << 8 | good[4]);
        EXPECT_EQ(f.body, BodyState::kClear);
    }
}

// 5GMM: the security header after the EPD, the MAC over the sequence number
// and body from octet 7, and the BEARER of 3GPP access (1), for 128-5G-IA
// and 128-5G-EA 1 to 3 with the NAS keys given.
TEST(SecurityTracker, FiveGmmMessagesVerifyAndDecipher) {
    // 5G SECURITY MODE COMMAND selecting 128-5G-EA`a`/128-5G-IA`a`, ngKSI 0;
    // SECURITY MODE COMPLETE; 5GMM STATUS (cause #111).
    const auto modeCommand = [](int a) {
        return Octets{0x7E, 0x00, 0x5D, static_cast<uint8_t>(a << 4 | a), 0x00, 0x02, 0xF0, 0xF0};
    };
    const Octets complete = Hex("7e005e"), status = Hex("7e00646f");
    for (int algorithm = 1; algorithm <= 3; ++algorithm) {
        SCOPED_TRACE(algorithm);
        if (IntegrityUnavailable(algorithm) != nullptr || CipheringUnavailable(algorithm) != nullptr) continue;
        Sequence s(NasKeysLine());
        SecurityFacts f = s.Take("ngap/1", 0, s.Protect(3, algorithm, 0, 0, modeCommand(algorithm), true));
        EXPECT_EQ(f.mac, MacCheck::kVerified);
        EXPECT_TRUE(f.fivegs);
        f = s.Take("ngap/1", 1, s.Protect(4, algorithm, 0, 1, complete, true));
        EXPECT_EQ(f.mac, MacCheck::kVerified);
        EXPECT_EQ(f.body, BodyState::kDeciphered);
        for (uint32_t count = 1; count <= 3; ++count) {
            f = s.Take("ngap/1", 0, s.Protect(2, algorithm, count, 0, status, true));
            EXPECT_EQ(f.mac, MacCheck::kVerified) << count;
            EXPECT_EQ(f.count, count);
            ASSERT_EQ(f.body, BodyState::kDeciphered) << count;
            EXPECT_EQ(Octets(f.plain.begin() + 7, f.plain.end()), status);
        }
        // The EPS BEARER (0) gives a MAC this context does not verify.
        f = s.Take("ngap/1", 0, s.Protect(1, algorithm, 4, 0, status, true, 0));
        EXPECT_EQ(f.mac, MacCheck::kFailed);
    }
}

// Only 5 to 15 decimal digits name a subscriber: an S6a User-Name of other
// characters, or an IMSI whose first digit is not decimal, leaves the UE
// unnamed (the UE's label is written into records and comment lines).
TEST(SecurityTracker, OnlyDecimalImsisNameTheUe) {
    const Octets rand = Hex("3527919dcefbc89511fc63a56101118c"), autn = Hex("4bd76e8d3ebf80006f9c8a54556a89aa");
    Octets request = {0x07, 0x52, 0x00};
    request.insert(request.end(), rand.begin(), rand.end());
    request.push_back(0x10);
    request.insert(request.end(), autn.begin(), autn.end());
    const struct {
        std::string userName;
        Octets identityResponse;  // IDENTITY RESPONSE before the request (none: empty)
        const char* ue;
    } cases[] = {
        {"001010000000001", {}, "imsi-001010000000001"},
        {std::string("00101000000000\0", 15), {}, "ue1"},
        {"0010100000000012", {}, "ue1"},  // sixteen digits
        {"", Hex("075608f910100000000010"), "ue1"},  // first digit 0xF
        {"", Hex("0756080910100000000010"), "imsi-001010000000001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ue);
        SecurityTracker tracker(nullptr);
        Rand r{};
        Autn a{};
        std::copy(rand.begin(), rand.end(), r.begin());
        std::copy(autn.begin(), autn.end(), a.begin());
        const Key256 kasme{};
        if (!c.userName.empty()) tracker.AddVector(c.userName, nullptr, r, {}, a, kasme);
        SecurityFacts facts;
        NasInput in;
        in.connection = "s1ap/1";
        if (!c.identityResponse.empty()) {
            in.direction = 1;
            in.nas = c.identityResponse;
            tracker.Process(in, facts);
        }
        in.direction = 0;
        in.nas = request;
        facts = SecurityFacts();
        tracker.Process(in, facts);
        EXPECT_EQ(facts.ue, c.ue);
    }
}

TEST(SecurityTracker, ServiceRequestsAndNewAssociations) {
    if (IntegrityUnavailable(2) != nullptr) GTEST_SKIP() << "128-EIA2 unavailable";
    Sequence s(NasKeysLine());
    s.Take("a", 0, s.Protect(3, 2, 0, 0, ModeCommand(2, 0)));
    s.Take("a", 1, s.Protect(4, 2, 0, 1, kModeComplete));
    // The UE's TMSI, from an IDENTITY RESPONSE.
    SecurityFacts f = s.Take("a", 1, s.Protect(2, 2, 1, 1, Hex("075605f4c0ffee01")));
    EXPECT_EQ(f.mac, MacCheck::kVerified);
    const std::string ue = f.ue;
    // On a new association: by the S1AP S-TMSI, by the MAC alone, and one no key verifies.
    f = s.Take("b", 1, s.ServiceRequest(2, 2), int64_t{0x01} << 32 | 0xc0ffee01);
    EXPECT_EQ(f.mac, MacCheck::kVerified);
    EXPECT_TRUE(f.shortMac);
    EXPECT_EQ(f.count, 2u);
    EXPECT_EQ(f.ue, ue);
    f = s.Take("c", 1, s.ServiceRequest(2, 35));  // COUNT 35: sequence number 3 after a wrap of the 5 bits
    EXPECT_EQ(f.mac, MacCheck::kVerified);
    EXPECT_EQ(f.count, 35u);
    EXPECT_EQ(f.ue, ue);
    // The association "c" is that UE's from now on: its ciphered messages read.
    f = s.Take("c", 0, s.Protect(2, 2, 1, 0, kEmmInformation));
    EXPECT_EQ(f.mac, MacCheck::kVerified);
    EXPECT_EQ(f.body, BodyState::kDeciphered);
    Octets other = s.ServiceRequest(2, 36);
    other[3] ^= 0xFF;
    f = s.Take("d", 1, other);
    EXPECT_EQ(f.mac, MacCheck::kUnverifiable);
    EXPECT_NE(f.macWhy.find("UE not identified"), std::string::npos) << f.macWhy;
}

TEST(SecurityTracker, ResCheckedAgainstTheKeys) {
    if (!MilenageAvailable()) GTEST_SKIP() << "Milenage unavailable";
    // TS 35.208 test set 1, the AUTN built from its SQN, AMF, AK and MAC-A.
    Sequence s("* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=cd63cb71954a9f4e48a5994e37a02baf\n");
    const Octets request = Hex("07520023553cbe9637a89d218ae64dae47bf351055f328b43577b9b94a9ffac354dfafb3");
    s.Take("a", 0, request);
    SecurityFacts f = s.Take("a", 1, Hex("075308a54211d5e3ba50bf"));
    EXPECT_EQ(f.resCheck, 1);
    EXPECT_STREQ(f.resFrom, "k");
    s.Take("a", 0, request);
    f = s.Take("a", 1, Hex("075308a54211d5e3ba50be"));
    EXPECT_EQ(f.resCheck, -1);
    EXPECT_EQ(f.expectedRes, "a54211d5e3ba50bf");
}

TEST(SecurityTracker, WhatCannotBeCheckedSaysWhy) {
    Sequence s(NasKeysLine());
    // A mapped context (TSC set): no K'ASME from UMTS keys here.
    SecurityFacts f = s.Take("a", 0, s.Protect(3, 2, 0, 0, ModeCommand(2, 0x08 | 1)));
    EXPECT_EQ(f.mac, MacCheck::kUnverifiable);
    EXPECT_EQ(f.macWhy, "mapped context");
    EXPECT_TRUE(f.mapped);
    // No keys at all: the SECURITY MODE COMMAND's EEA0 makes the bodies readable.
    Sequence none("");
    f = none.Take("x", 0, Octets{0x37, 1, 2, 3, 4, 0, 0x07, 0x5D, 0x02, 0x00, 0x02, 0xE0, 0xE0});
    EXPECT_EQ(f.mac, MacCheck::kUnverifiable);
    EXPECT_EQ(f.macWhy, "no key");
    f = none.Take("x", 0, Octets{0x27, 1, 2, 3, 4, 1, 0x07, 0x61, 0x49, 0x01, 0x00});
    EXPECT_EQ(f.body, BodyState::kNull);
    EXPECT_EQ(f.eea, 0);
    EXPECT_EQ(f.count, 1u);
}

}  // namespace
}  // namespace corvuna::test
