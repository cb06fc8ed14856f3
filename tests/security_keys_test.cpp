// SPDX-License-Identifier: Apache-2.0
// The keys file: every kind of line, and bad lines named by file and line.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "security/keys.h"
#include "security/milenage.h"

namespace corvuna::test {
namespace {

using namespace corvuna::security;

TEST(SecurityKeys, EveryKindOfLine) {
    // OP needs Milenage (libcrypto); a build without it is given the OPc.
    const std::string anyLine = MilenageAvailable()
                                    ? "* k=465b5ce8b199b49faa5f0a2ee238a6bc op=5f1d289c5d354d0a140c2548f5f3e3ba\n"
                                    : "* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca\n";
    const std::string text =
        "# open5gs and srsRAN test subscribers\n"
        "\n"
        "001010000000001 k=bdfdfd2be954a1aa29765db6daeef5e7 opc=358422278845a5632bbfb7b354db103a\r\n"
        "  001010123456789\tk=00112233445566778899AABBCCDDEEFF algorithm=XOR\n"
        + anyLine +
        "901700000000001 kasme=000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f ksi=3\n"
        "901700000000002 knasenc=00000000000000000000000000000001 knasint=00000000000000000000000000000002 eea=2 "
        "eia=1\n";
    KeyStore store;
    std::string error;
    ASSERT_TRUE(ParseKeys(text, "keys.txt", store, error)) << error;
    EXPECT_EQ(store.size(), 5u);
    const SubscriberKeys* srs = store.Find("001010000000001");
    ASSERT_NE(srs, nullptr);
    EXPECT_EQ(srs->kind, SubscriberKeys::Kind::kMilenage);
    EXPECT_EQ(ToHex(srs->opc), "358422278845a5632bbfb7b354db103a");
    EXPECT_EQ(srs->line, 3);
    EXPECT_EQ(store.Find("001010123456789")->kind, SubscriberKeys::Kind::kXor);
    // Any other subscriber takes the '*' line, whose OPc comes from OP: the
    // README's open5gs pair (OP 5f1d..., OPc e8ed...).
    const SubscriberKeys* any = store.Find("999999999999999");
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(any->subscriber, "*");
    EXPECT_EQ(ToHex(any->opc), "e8ed289deba952e4283b54e88e6183ca");
    EXPECT_EQ(store.Find("")->subscriber, "*");
    const SubscriberKeys* kasme = store.Find("901700000000001");
    EXPECT_EQ(kasme->kind, SubscriberKeys::Kind::kKasme);
    EXPECT_EQ(kasme->ksi, 3);
    EXPECT_EQ(kasme->kasme[31], 0x1f);
    const SubscriberKeys* nas = store.Find("901700000000002");
    EXPECT_EQ(nas->kind, SubscriberKeys::Kind::kNasKeys);
    EXPECT_EQ(nas->eea, 2);
    EXPECT_EQ(nas->eia, 1);
    EXPECT_EQ(nas->nasInt[15], 2);
}

TEST(SecurityKeys, BadLinesSayWhereAndWhy) {
    const struct {
        const char* line;
        const char* says;
    } cases[] = {
        {"0010 k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca", "'0010' is neither an IMSI"},
        {"00101000000000a k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca", "neither an IMSI"},
        {"* k=465b5ce8b199b49faa5f0a2ee238a6bc", "Milenage needs opc or op"},
        {"* k=465b5ce8b199b49faa5f0a2ee238a6 opc=e8ed289deba952e4283b54e88e6183ca", "k has 120 bits, not 128"},
        {"* k=465b5ce8b199b49faa5f0a2ee238a6bx opc=e8ed289deba952e4283b54e88e6183ca", "k is not hex"},
        {"* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca op=00", "not both"},
        {"* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca ki=1", "unknown field 'ki'"},
        {"* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca k=00", "field 'k' given twice"},
        {"* opc=e8ed289deba952e4283b54e88e6183ca", "no keys"},
        {"* k=465b5ce8b199b49faa5f0a2ee238a6bc algorithm=comp128", "not milenage or xor"},
        {"* k=465b5ce8b199b49faa5f0a2ee238a6bc algorithm=xor opc=e8ed289deba952e4283b54e88e6183ca", "takes no op"},
        {"* kasme=00 ksi=1", "kasme has 8 bits, not 256"},
        {"* kasme=000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f ksi=7", "ksi is '7'"},
        {"* kasme=000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f eea=1", "goes with knasenc"},
        {"* knasenc=00000000000000000000000000000001", "go together"},
        {"* knasenc=00000000000000000000000000000001 knasint=00000000000000000000000000000002 eia=4",
         "eia is '4', not a number from 0 to 3"},
        {"* kasme=000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f k=465b5ce8b199b49faa5f0a2ee238a6bc",
         "only one of"},
        {"* k", "is not NAME=VALUE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        KeyStore store;
        std::string error;
        const std::string text = std::string("# header\n") + c.line + "\n";
        EXPECT_FALSE(ParseKeys(text, "subscribers.keys", store, error));
        EXPECT_EQ(error.rfind("subscribers.keys:2: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        // No key value is repeated in the message.
        EXPECT_EQ(error.find("465b5ce8"), std::string::npos) << error;
        EXPECT_EQ(error.find("e8ed289d"), std::string::npos) << error;
    }
    // The same subscriber twice.
    KeyStore store;
    std::string error;
    EXPECT_FALSE(ParseKeys("* kasme=000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f\n"
                           "* kasme=000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f\n",
                           "k", store, error));
    EXPECT_EQ(error, "k:2: subscriber * has a line already");
}

TEST(SecurityKeys, FromAFile) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "corvuna-keys-test.keys";
    std::ofstream(path) << "* kasme=000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f\n* k=1\n";
    KeyStore store;
    std::string error;
    EXPECT_FALSE(LoadKeysFile(path.string(), store, error));
    EXPECT_EQ(error.rfind(path.string() + ":2: ", 0), 0u) << error;
    EXPECT_FALSE(LoadKeysFile(path.string() + ".missing", store, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace corvuna::test
