// SPDX-License-Identifier: Apache-2.0
// The security functions against the standards' test data, each through
// the function the decoder calls: Milenage (TS 35.207/35.208 test sets),
// 128-EEA1 as UEA2 (TS 35.217, as TS 33.401 C.3 repeats them), 128-EIA1
// (TS 33.401 C.4), 128-EEA2/EIA2 (TS 33.401 C.1/C.2), 128-EEA3/EIA3
// (TS 35.223 via TS 33.401 C.5/C.6).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "security/kdf.h"
#include "security/milenage.h"
#include "security/nas_algorithms.h"

namespace corvuna::test {
namespace {

using namespace corvuna::security;

std::vector<uint8_t> H(const std::string& hex) {
    const auto octets = FromHex(hex);
    EXPECT_TRUE(octets.has_value()) << hex;
    return octets.value_or(std::vector<uint8_t>{});
}

template <size_t N>
std::array<uint8_t, N> A(const std::string& hex) {
    const auto a = FixedFromHex<N>(hex);
    EXPECT_TRUE(a.has_value()) << hex;
    return a.value_or(std::array<uint8_t, N>{});
}

// The first `bits` bits of `octets` (the rest of the last octet cleared).
std::vector<uint8_t> FirstBits(std::vector<uint8_t> octets, size_t bits) {
    octets.resize((bits + 7) / 8);
    if (bits % 8 != 0) octets.back() &= static_cast<uint8_t>(0xFF00 >> (bits % 8));
    return octets;
}

TEST(SecurityMilenage, TestSets) {
    const struct {
        const char *k, *rand, *sqn, *amf, *op, *opc, *f1, *f1Star, *f2, *f3, *f4, *f5, *f5Star;
    } sets[] = {
        {"465b5ce8b199b49faa5f0a2ee238a6bc", "23553cbe9637a89d218ae64dae47bf35", "ff9bb4d0b607", "b9b9",
         "cdc202d5123e20f62b6d676ac72cb318", "cd63cb71954a9f4e48a5994e37a02baf", "4a9ffac354dfafb3",
         "01cfaf9ec4e871e9", "a54211d5e3ba50bf", "b40ba9a3c58b2a05bbf0d987b21bf8cb",
         "f769bcd751044604127672711c6d3441", "aa689c648370", "451e8beca43b"},
        {"0396eb317b6d1c36f19c1c84cd6ffd16", "c00d603103dcee52c4478119494202e8", "fd8eef40df7d", "af17",
         "ff53bade17df5d4e793073ce9d7579fa", "53c15671c60a4b731c55b4a441c0bde2", "5df5b31807e258b0",
         "a8c016e51ef4a343", "d3a628ed988620f0", "58c433ff7a7082acd424220f2b67c556",
         "21a8c1f929702adb3e738488b9f5c5da", "c47783995f72", nullptr},
        {"fec86ba6eb707ed08905757b1bb44b8f", "9f7c8d021accf4db213ccff0c7f71a6a", "9d0277595ffc", "725c",
         "dbc59adcb6f9a0ef735477b7fadf8374", "1006020f0a478bf6b699f15c062e42b3", "9cabc3e99baf7281",
         "95814ba2b3044324", "8011c48c0c214ed2", "5dbdbb2954e8f3cde665b046179a5098",
         "59a92d3b476a0443487055cf88b2307b", "33484dc2136b", "deacdd848cc6"},
        {"9e5944aea94b81165c82fbf9f32db751", "ce83dbc54ac0274a157c17f80d017bd6", "0b604a81eca8", "9e09",
         "223014c5806694c007ca1eeef57f004f", "a64a507ae1a2a98bb88eb4210135dc87", "74a58220cba84c49",
         "ac2cc74a96871837", "f365cd683cd92e96", "e203edb3971574f5a94b0d61b816345d",
         "0c4524adeac041c4dd830d20854fc46b", "f0b9c08ad02e", "6085a86c6f63"},
        {"4ab1deb05ca6ceb051fc98e77d026a84", "74b0cd6031a1c8339b2b6ce2b8c4a186", "e880a1b580b6", "9f07",
         "2d16c5cd1fdf6b22383584e3bef2a8d8", "dcf07cbd51855290b92a07a9891e523e", "49e785dd12626ef2",
         "9e85790336bb3fa2", "5860fc1bce351e7e", "7657766b373d1c2138f307e3de9242f9",
         "1c42e960d89b8fa99f2744e0708ccb53", "31e11a609118", "fe2555e54aa9"},
    };
    if (!MilenageAvailable()) GTEST_SKIP() << "built without libcrypto: Milenage unavailable";
    for (const auto& s : sets) {
        SCOPED_TRACE(s.k);
        const Key128 k = A<16>(s.k);
        const auto opc = MilenageOpc(k, A<16>(s.op));
        ASSERT_TRUE(opc.has_value());
        EXPECT_EQ(ToHex(*opc), s.opc);
        const auto o = Milenage(k, *opc, A<16>(s.rand), A<6>(s.sqn), A<2>(s.amf));
        ASSERT_TRUE(o.has_value());
        EXPECT_EQ(ToHex(o->macA), s.f1);
        EXPECT_EQ(ToHex(o->macS), s.f1Star);
        EXPECT_EQ(ToHex(o->res), s.f2);
        EXPECT_EQ(ToHex(o->ck), s.f3);
        EXPECT_EQ(ToHex(o->ik), s.f4);
        EXPECT_EQ(ToHex(o->ak), s.f5);
        if (s.f5Star != nullptr) {
            EXPECT_EQ(ToHex(o->akStar), s.f5Star);
        }
        // The same through the AUTN the network would send: SQN xor AK || AMF || MAC-A.
        Autn autn{};
        for (size_t i = 0; i < 6; ++i) autn[i] = A<6>(s.sqn)[i] ^ o->ak[i];
        autn[6] = A<2>(s.amf)[0];
        autn[7] = A<2>(s.amf)[1];
        for (size_t i = 0; i < 8; ++i) autn[8 + i] = o->macA[i];
        const auto aka = MilenageAka(k, *opc, A<16>(s.rand), autn);
        ASSERT_TRUE(aka.has_value());
        EXPECT_TRUE(aka->macMatches);
        EXPECT_EQ(ToHex(aka->sqn), s.sqn);
        EXPECT_EQ(ToHex(std::span(aka->res).first(8)), s.f2);
        autn[15] ^= 1;
        EXPECT_FALSE(MilenageAka(k, *opc, A<16>(s.rand), autn)->macMatches);
    }
}

struct CipherSet {
    int eea;
    const char* key;
    uint32_t count;
    uint8_t bearer;
    uint8_t direction;
    size_t bits;
    const char* plain;
    const char* ciphered;
};

TEST(SecurityAlgorithms, Ciphering) {
    const CipherSet sets[] = {
        // 128-EEA1 = UEA2 (TS 35.217 test sets 1 and 3)
        {1, "d3c5d592327fb11c4035c6680af8c6d1", 0x398a59b4, 0x15, 1, 253,
         "981ba6824c1bfb1ab485472029b71d808ce33e2cc3c0b5fc1f3de8a6dc66b1f0",
         "5d5bfe75eb04f68ce0a12377ea00b37d47c6a0ba06309155086a859c4341b378"},
        {1, "0a8b6bd8d9b08b08d64e32d1817777fb", 0x544d49cd, 0x04, 0, 310,
         "fd40a41d370a1f65745095687d47ba1d36d2349e23f644392c8ea9c49d40c13271aff264d0f248",
         "48148e5452a210c05f46bc80dc6f73495b02048c1b958b026102ca97280279a4c18d2ee308921c"},
        // 128-EEA2 (TS 33.401 C.1 test sets 1 and 3)
        {2, "d3c5d592327fb11c4035c6680af8c6d1", 0x398a59b4, 0x15, 1, 253,
         "981ba6824c1bfb1ab485472029b71d808ce33e2cc3c0b5fc1f3de8a6dc66b1f0",
         "e9fed8a63d155304d71df20bf3e82214b20ed7dad2f233dc3c22d7bdeeed8e78"},
        {2, "0a8b6bd8d9b08b08d64e32d1817777fb", 0x544d49cd, 0x04, 0, 310,
         "fd40a41d370a1f65745095687d47ba1d36d2349e23f644392c8ea9c49d40c13271aff264d0f248",
         "75750d37b4bba2a4dedb34235bd68c6645acdaaca48138a3b0c471e2a7041a576423d2927287f0"},
        // 128-EEA3 (TS 35.223 test sets 1 and 2)
        {3, "173d14ba5003731d7a60049470f00a29", 0x66035492, 0x0f, 0, 193,
         "6cf65340735552ab0c9752fa6f9025fe0bd675d9005875b200", "a6c85fc66afb8533aafc2518dfe784940ee1e4b030238cc800"},
        {3, "e5bd3ea0eb55ade866c6ac58bd54302a", 0x00056823, 0x18, 1, 800,
         "14a8ef693d678507bbe7270a7f67ff5006c3525b9807e467c4e56000ba338f5d429559036751822246c80d3b38f07f4be2d8ff5805f5"
         "1322"
         "29bde93bbbdcaf382bf1ee972fbf9977bada8945847a2a6c9ad34a667554e04d1f7fa2c33241bd8f01ba220d",
         "131d43e0dea1be5c5a1bfd971d852cbf712d7b4f57961fea3208afa8bca433f456ad09c7417e58bc69cf8866d1353f74865e80781d"
         "202dfb"
         "3ecff7fcbc3b190fe82a204ed0e350fc0f6f2613b2f2bca6df5a473a57a4a00d985ebad880d6f23864a07b01"},
    };
    NasAlgorithms engine;
    for (const CipherSet& s : sets) {
        SCOPED_TRACE(std::string("EEA") + std::to_string(s.eea) + " " + s.key);
        if (const char* why = CipheringUnavailable(s.eea)) {
            std::printf("[ skipped  ] 128-EEA%d: %s\n", s.eea, why);
            continue;
        }
        const std::vector<uint8_t> plain = H(s.plain);
        std::vector<uint8_t> out(plain.size());
        ASSERT_TRUE(engine.Cipher(s.eea, A<16>(s.key), s.count, s.bearer, s.direction, plain, s.bits, out.data()));
        EXPECT_EQ(ToHex(FirstBits(out, s.bits)), ToHex(FirstBits(H(s.ciphered), s.bits)));
        // Deciphering is the same operation.
        std::vector<uint8_t> back(out.size());
        ASSERT_TRUE(engine.Cipher(s.eea, A<16>(s.key), s.count, s.bearer, s.direction, out, s.bits, back.data()));
        EXPECT_EQ(ToHex(FirstBits(back, s.bits)), ToHex(FirstBits(plain, s.bits)));
    }
}

struct IntegritySet {
    int eia;
    const char* key;
    uint32_t count;
    uint8_t bearer;
    uint8_t direction;
    size_t bits;
    const char* message;
    uint32_t mac;
};

TEST(SecurityAlgorithms, Integrity) {
    const IntegritySet sets[] = {
        // 128-EIA1 (TS 33.401 C.4 test sets 1 to 3)
        {1, "2bd6459f82c5b300952c49104881ff48", 0x38a6f056, 0x1f, 0, 88, "33323462633938613734790000000000", 0x731f1165},
        {1, "7e5e94431e11d73828d739cc6ced4573", 0x36af6144, 0x18, 1, 254,
         "b3d3c9170a4e1632f60f861013d22d84b726b6a278d802d1eeaf1321ba5929dc", 0xe3259f6f},
        {1, "d3419be821087acd02123a9248033359", 0xc7590ea9, 0x17, 0, 511,
         "bbb057038809496bcff86d6fbc8ce5b135a06b166054f2d565be8ace75dc851e0bcdd8f07141c495872fb5d8c0c66a8b6da556663e4e46"
         "1205d84580bee5bc7e",
         0x9a16c77d},
        // 128-EIA2 (TS 33.401 C.2 test sets 2 and 5, whole octets)
        {2, "d3c5d592327fb11c4035c6680af8c6d1", 0x398a59b4, 0x1a, 1, 64, "484583d5afe082ae", 0xb93787e6},
        {2, "83fd23a244a74cf358da3019f1722635", 0x36af6144, 0x0f, 1, 768,
         "35c68716633c66fb750c266865d53c11ea05b1e9fa49c8398d48e1efa5909d3947902837f5ae96d5a05bc8d61ca8dbef1b13a4b4abfe4f"
         "b1006045b674bb54729304c382be53a5af05556176f6eaa2ef1d05e4b083181ee674cda5a485f74d7a",
         0xe657e182},
        // 128-EIA3 (TS 35.223 test sets 1 to 3)
        {3, "00000000000000000000000000000000", 0, 0, 0, 1, "00000000", 0xc8a9595e},
        {3, "47054125561eb2dda94059da05097850", 0x561eb2dd, 0x14, 0, 90, "000000000000000000000000", 0x6719a088},
        {3, "c9e6cec4607c72db000aefa88385ab0a", 0xa94059da, 0x0a, 1, 577,
         "983b41d47d780c9e1ad11d7eb70391b1de0b35da2dc62f83e7b78d6306ca0ea07e941b7be91348f9fcb170e2217fecd97f9f68adb16e5d"
         "7d21e569d280ed775cebde3f4093c5388100000000",
         0xfae8ff0b},
    };
    NasAlgorithms engine;
    for (const IntegritySet& s : sets) {
        SCOPED_TRACE(std::string("EIA") + std::to_string(s.eia) + " " + s.key);
        if (const char* why = IntegrityUnavailable(s.eia)) {
            std::printf("[ skipped  ] 128-EIA%d: %s\n", s.eia, why);
            continue;
        }
        const std::vector<uint8_t> message = H(s.message);
        const auto mac = engine.Mac(s.eia, A<16>(s.key), s.count, s.bearer, s.direction, message, s.bits);
        ASSERT_TRUE(mac.has_value());
        EXPECT_EQ(*mac, s.mac) << std::hex << *mac;
        // One bit changed in the message changes the MAC.
        std::vector<uint8_t> changed = message;
        changed[0] ^= 0x80;
        EXPECT_NE(engine.Mac(s.eia, A<16>(s.key), s.count, s.bearer, s.direction, changed, s.bits), s.mac);
    }
    // EIA0 has no MAC; EIA2 of a length in bits that is not whole octets is refused.
    EXPECT_EQ(engine.Mac(0, Key128{}, 1, 0, 0, H("0102"), 16), 0u);
    EXPECT_FALSE(engine.Mac(2, Key128{}, 1, 0, 0, H("0102"), 15).has_value());
    EXPECT_FALSE(engine.Mac(5, Key128{}, 1, 0, 0, H("0102"), 16).has_value());
    EXPECT_STREQ(IntegrityUnavailable(5), "unknown algorithm");
}

TEST(SecurityAlgorithms, Uia2WithItsFresh) {
    // UIA2 test sets 1 and 2 of the SNOW 3G conformance data (TS 35.217),
    // whose FRESH is not of the 128-EIA1 form.
    const struct {
        const char* key;
        uint32_t count, fresh;
        uint8_t direction;
        size_t bits;
        const char* message;
        uint32_t mac;
    } sets[] = {
        {"c736c6aab22bfff91e2698d2e22ad57e", 0x14793e41, 0x0397e8fd, 1, 384,
         "d0a7d463df9fb2b278833fa02e235aa172bd970c1473e12907fb648b6599aaa0b24a038665422b20a499276a50427009", 0x38b554c0},
        {"f4ebec69e73eaf2eb2cf6af4b3120ffd", 0x296f393c, 0x6b227737, 1, 1000,
         "10bfff839e0c71658dbb2d1707e145724f41c16f48bf403c3b18e38fd5d1663b6f6d900193e3cea8bb4f1b4f5be8220322"
         "32a78d7d75238d5e6daecd3b4322cf59bc7ea84ab18811b5bfb7bc553f4fe44478ce287a14879990d18d12ca79d2c855149021"
         "cd5ce8ca0371ca04fcce143e3d7cfee94585b5885cac46068b",
         0x061745ae},
    };
    if (IntegrityUnavailable(1) != nullptr) GTEST_SKIP() << "UIA2 unavailable: " << IntegrityUnavailable(1);
    NasAlgorithms engine;
    for (const auto& s : sets) {
        SCOPED_TRACE(s.key);
        EXPECT_EQ(engine.Uia2(A<16>(s.key), s.count, s.fresh, s.direction, H(s.message), s.bits), s.mac);
    }
}

TEST(SecurityKdf, FiveGDerivationsOfAWorkedExample) {
    // A published 5G AKA worked example (IMSI 001 01 0123456789, SQN 1,
    // AMF 8000): Milenage, then XRES* with the serving network name of
    // PLMN 001 01.
    if (!MilenageAvailable()) GTEST_SKIP() << "built without libcrypto";
    const Key128 k = A<16>("00112233445566778899aabbccddeeff");
    const Key128 opc = A<16>("62e75b8d6fa5bf46ec87a9276f9df54d");
    const Rand rand = A<16>("00112233445566778899aabbccddeeff");
    const auto o = Milenage(k, opc, rand, A<6>("000000000001"), A<2>("8000"));
    ASSERT_TRUE(o.has_value());
    EXPECT_EQ(ToHex(o->ck), "b379874b3d183d2a21291d439e7761e1");
    EXPECT_EQ(ToHex(o->ik), "f4706f66629cf7ddf881d80025bf1255");
    EXPECT_EQ(ToHex(o->res), "700eb2300b2c4799");
    const std::string name = "5G:mnc001.mcc001.3gppnetwork.org";
    const auto resStar = DeriveResStar(o->ck, o->ik, name, rand, o->res);
    ASSERT_TRUE(resStar.has_value());
    EXPECT_EQ(ToHex(*resStar), "31b6d938a5290ccc65bc829f9820a8d9");
}

// The open5gs 5GC run of ../shared/captures/neg_ngap_5g_registration: its
// UDM gives K and OPc (frame 69) and KAUSF with XRES* (frame 71), its AUSF
// KSEAF (frame 83), all in the clear; the AUTHENTICATION REQUEST (frame 74)
// the RAND and AUTN.  The derivations of TS 33.501 A.2, A.4 and A.6 give
// the same keys from K.
TEST(SecurityKdf, FiveGKeysTheCoreNetworkOfACaptureSent) {
    if (!MilenageAvailable()) GTEST_SKIP() << "built without libcrypto";
    const auto aka = MilenageAka(A<16>("70d49a71dd1a2b806a25abe0ef749f1e"), A<16>("6f1bf53d624b3a43af6592854e2444c7"),
                                 A<16>("3527919dcefbc89511fc63a56101118c"), A<16>("4bd76e8d3ebf80006f9c8a54556a89aa"));
    ASSERT_TRUE(aka.has_value());
    EXPECT_TRUE(aka->macMatches);
    const std::string name = "5G:mnc070.mcc901.3gppnetwork.org";
    const auto resStar = DeriveResStar(aka->ck, aka->ik, name, A<16>("3527919dcefbc89511fc63a56101118c"),
                                       ConstOctets(aka->res.data(), aka->resLength));
    const auto kausf = DeriveKausf(aka->ck, aka->ik, name, aka->sqnXorAk);
    ASSERT_TRUE(resStar && kausf);
    EXPECT_EQ(ToHex(*resStar), "c1399f835bd6b1606c645f5adf8ad5ab");
    EXPECT_EQ(ToHex(*kausf), "34a65c31371579703595d08c0e9cbfac1d7a3074350b254c198ecb46d2e0215c");
    const auto kseaf = DeriveKseaf(*kausf, name);
    ASSERT_TRUE(kseaf.has_value());
    EXPECT_EQ(ToHex(*kseaf), "d93c4b6b01b0b04d91dc923a3355707d94bbf97ea4cefd08c3ca4a9e691ebcc4");
}

TEST(SecurityAlgorithms, InputBlocks) {
    // TS 33.401 C.1 test set 1: COUNT 398a59b4, BEARER 15, DIRECTION 1.
    EXPECT_EQ(ToHex(Eea2CounterBlock(0x398a59b4, 0x15, 1)), "398a59b4ac0000000000000000000000");
    EXPECT_EQ(ToHex(Eia2Prefix(0x398a59b4, 0x1a, 1)), "398a59b4d4000000");
    EXPECT_EQ(Eia1Fresh(0x1f), 0xf8000000u);
}

}  // namespace
}  // namespace corvuna::test
