// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <vector>

#include "corvuna/corvuna.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

constexpr int kUntouched = 7777;

struct GainCase {
    const char* what;
    const char* hex;
    int result;
    int rate0;  // guaranteed downlink x 1000000, or -1, or kUntouched
    int rate1;  // guaranteed uplink
};

TEST(LteGain, GuaranteedRatesOfTheDefaultBearerRequest) {
    const GainCase cases[] = {
        {"bit rates present", "02 00 C1 05 09 40 40 10 20", 1, 32000000, 16000000},
        {"QCI only", "02 00 C1 01 09", 1, -1, -1},
        {"EPS QoS of length 0", "02 00 C1 00", 1, -1, -1},
        {"EPS QoS of length 4: the octets after the QCI are not rates", "02 00 C1 04 09 40 40 10 20", 1, -1, -1},
        {"extended octets present: still the coded guaranteed octets", "02 07 C1 09 05 01 02 FE FF 11 12 13 14 5D",
         1, 255000000, 254000000},
        {"the rest of the message does not matter", "02 01 C1 05 01 FF FF 00 01 09 05 6E 65 74", 1, 1000000, 0},
        {"bit rates declared but the message ends before the fifth QoS octet", "02 00 C1 05 09 40 40 10", 1, -1,
         -1},
        {"bit rates declared, message ends after the QCI", "02 00 C1 05 09", 1, -1, -1},
        {"EPS bearer identity 5: not this request", "52 00 C1 05 09 40 40 10 20", 1, kUntouched, kUntouched},
        {"protocol discriminator 7", "07 00 C1 05 09 40 40 10 20", 1, kUntouched, kUntouched},
        {"message type 0xC2", "02 00 C2 05 09 40 40 10 20", 1, kUntouched, kUntouched},
        {"shorter than four octets", "02 00 C1", 1, kUntouched, kUntouched},
        {"a single octet", "02", 1, kUntouched, kUntouched},
    };
    for (const GainCase& c : cases) {
        SCOPED_TRACE(c.what);
        // Exactly the message's octets on the heap: a read past them is a
        // fault the sanitizers report.
        const std::vector<uint8_t> message = Hex(c.hex);
        int rates[2] = {kUntouched, kUntouched};
        EXPECT_EQ(LteGain(message.data(), static_cast<int>(message.size()),
                          CORVUNA_CODE_ACTIVATE_DEFAULT_BEARER_REQUEST, rates),
                  c.result);
        EXPECT_EQ(rates[0], c.rate0);
        EXPECT_EQ(rates[1], c.rate1);
    }
}

TEST(LteGain, NeverReadsPastTheGivenLength) {
    // The buffer holds the whole request, but the length given stops one
    // octet short of the guaranteed downlink octet.
    const std::vector<uint8_t> message = Hex("02 00 C1 05 09 40 40 10 20");
    int rates[2] = {kUntouched, kUntouched};
    EXPECT_EQ(LteGain(message.data(), 8, 705, rates), 1);
    EXPECT_EQ(rates[0], -1);
    EXPECT_EQ(rates[1], -1);
}

TEST(LteGain, RejectsArguments) {
    const std::vector<uint8_t> message = Hex("02 00 C1 05 09 40 40 10 20");
    const int length = static_cast<int>(message.size());
    struct Row {
        const char* what;
        const unsigned char* octets;
        int length;
        unsigned code;
        bool withRates;
    };
    const Row rows[] = {
        {"message code 706", message.data(), length, 706, true},
        {"message code 0", message.data(), length, 0, true},
        {"length 0", message.data(), 0, 705, true},
        {"negative length", message.data(), -9, 705, true},
        {"null message", nullptr, length, 705, true},
        {"null output", message.data(), length, 705, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        int rates[2] = {kUntouched, kUntouched};
        EXPECT_EQ(LteGain(row.octets, row.length, row.code, row.withRates ? rates : nullptr), 0);
        EXPECT_EQ(rates[0], kUntouched);
        EXPECT_EQ(rates[1], kUntouched);
    }
}

}  // namespace
}  // namespace corvuna::test
