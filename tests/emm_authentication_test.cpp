// SPDX-License-Identifier: Apache-2.0
// AUTHENTICATION REQUEST, RESPONSE, REJECT and FAILURE, decoded whole
// through the exported entry.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/document_check.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Decode;
using test::Framed;
using test::Hex;
using test::Lines;

// One "<name>0xNN</name>" line per octet, padded with zero octets to 16.
std::string OctetLines(const char* name, const std::vector<uint8_t>& octets) {
    std::string text;
    for (size_t i = 0; i < 16; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "<%s>0x%02X</%s>\n", name, i < octets.size() ? octets[i] : 0, name);
        text += line;
    }
    return text;
}

const char* const kRand = "00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF";
const char* const kAutn = "F1 E2 D3 C4 B5 A6 97 88 79 6A 5B 4C 3D 2E 1F 10";

std::string Request(const char* tsc, const char* keySetId, const std::vector<uint8_t>& rand,
                    const std::vector<uint8_t>& autn) {
    return "<AUTHENTICATION_REQUEST>\n<TSC>" + std::string(tsc) + "</TSC>\n<NAS_Key_Set_Identifer>" + keySetId +
           "</NAS_Key_Set_Identifer>\n" + OctetLines("RAND", rand) + OctetLines("AUTN", autn) +
           "</AUTHENTICATION_REQUEST>\n";
}

TEST(AuthenticationRequest, KeySetIdentifierAndVectors) {
    struct Case {
        const char* what;
        std::string hex, inner;
    };
    const char* const mapped = "(1)mapped security context (for KSI_SGSN)";
    const char* const native = "(0)native security context (for KSI_ASME)";
    const char* const three = "(3)possible values for the NAS key set identifier";
    const std::string rand = kRand;
    const std::string autn = kAutn;
    const Case cases[] = {
        // The AUTN length octet 0x10 is never shown.
        {"standard body", "0B " + rand + " 10 " + autn, Request(mapped, three, Hex(rand), Hex(autn))},
        {"spare high half", "70 " + rand + " 10 " + autn,
         Request(native, "(0)possible values for the NAS key set identifier", Hex(rand), Hex(autn))},
        {"no key", "07 " + rand + " 10 " + autn, Request(native, "(7)no key is available", Hex(rand), Hex(autn))},
        {"AUTN length not used", "0B " + rand + " 05 " + autn, Request(mapped, three, Hex(rand), Hex(autn))},
        {"octets after AUTN ignored", "0B " + rand + " 10 " + autn + " 77 88",
         Request(mapped, three, Hex(rand), Hex(autn))},
        {"AUTN one octet short", "0B " + rand + " 10 " + autn.substr(0, autn.size() - 3),
         Request(mapped, three, Hex(rand), {})},
        {"RAND alone", "0B " + rand, Request(mapped, three, Hex(rand), {})},
        {"RAND one octet short", "0B " + rand.substr(0, rand.size() - 3), Request(mapped, three, {}, {})},
        {"empty body", "", Request(native, "(0)possible values for the NAS key set identifier", {}, {})},
    };
    for (const Case& c : cases) EXPECT_EQ(Decode(0, "07 52 " + c.hex), Framed(0, c.inner)) << c.what;
}

TEST(AuthenticationResponseRejectFailure, Bodies) {
    struct Case {
        int direction;
        std::string hex, inner;
    };
    const std::string auts = "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E";
    const std::string res = "A1 B2 C3 D4 E5 F6 07 18";
    const std::string sixteen = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F";
    const auto response = [](const std::vector<uint8_t>& octets) {
        return "<AUTHENTICATION_RESPONSE>\n" + OctetLines("RES", octets) + "</AUTHENTICATION_RESPONSE>\n";
    };
    const auto failure = [](int cause, const std::string& autsLines) {
        return "<AUTHENTICATION_FAILUR>\n<EMM_cause>" + std::to_string(cause) + "</EMM_cause>\n" + autsLines +
               "</AUTHENTICATION_FAILUR>\n";
    };
    const Case cases[] = {
        {1, "07 53 08 " + res, response(Hex(res))},
        {1, "07 53 10 " + sixteen, response(Hex(sixteen))},
        {1, "07 53 11 " + sixteen + " 10", response({})},  // longer than 16: nothing kept
        {1, "07 53 09 " + res, response({})},              // runs past the body
        {1, "07 53", response({})},
        {0, "07 54", "<AUTHENTICATION_REJECT>\n</AUTHENTICATION_REJECT>\n"},
        {0, "07 54 15 30 0E", "<AUTHENTICATION_REJECT>\n</AUTHENTICATION_REJECT>\n"},
        {1, "07 5C 14", failure(20, "")},
        {1, "07 5C C8", failure(200, "")},  // a bare 32-bit number, never negative
        {1, "07 5C 15 30 0E " + auts, failure(21, OctetLines("AUTS", Hex(auts)))},
        {1, "07 5C 15 31 0E " + auts, failure(21, "")},       // only 0x30 is the AUTS IEI
        {1, "07 5C 15 00 30 0E " + auts, failure(21, "")},    // only one octet is looked at
        {1, "07 5C 15 30 0F " + auts, failure(21, OctetLines("AUTS", {}))},  // AUTS past the body
        {1, "07 5C", failure(0, "")},
    };
    for (const Case& c : cases) EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner)) << c.hex;
}

TEST(AuthenticationCorpus, RealMessagesShowTheirValues) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    int requests = 0, responses = 0, failures = 0, rejects = 0;
    for (const auto& message : corpus) {
        const std::vector<uint8_t>& m = message.octets;
        if (m.size() < 2 || m[0] != 0x07) continue;
        const std::string document = Decode(message.direction, m);
        const auto body = [&](size_t from, size_t count) {
            return std::vector<uint8_t>(m.begin() + static_cast<long>(from),
                                        m.begin() + static_cast<long>(from + count));
        };
        std::string expected;
        if (m[1] == 0x52 && m.size() == 36) {
            ++requests;
            expected = OctetLines("RAND", body(3, 16)) + OctetLines("AUTN", body(20, 16));
        } else if (m[1] == 0x53 && m.size() >= 3 && m[2] <= 16 && m.size() >= 3u + m[2]) {
            ++responses;
            expected = "<AUTHENTICATION_RESPONSE>\n" + OctetLines("RES", body(3, m[2]));
        } else if (m[1] == 0x5C && m.size() >= 3) {
            ++failures;
            expected = "<AUTHENTICATION_FAILUR>\n<EMM_cause>" + std::to_string(m[2]) + "</EMM_cause>\n";
            if (m.size() >= 5 && m[3] == 0x30 && m[4] <= 16 && m.size() >= 5u + m[4]) {
                expected += OctetLines("AUTS", body(5, m[4]));
            }
        } else if (m[1] == 0x54) {
            ++rejects;
            expected = "<AUTHENTICATION_REJECT>\n</AUTHENTICATION_REJECT>\n";
        } else {
            continue;
        }
        EXPECT_EQ(test::CheckDocument(document, message.direction), "") << message.name;
        EXPECT_NE(document.find(expected), std::string::npos) << message.name << "\n" << document;
    }
    EXPECT_GT(requests, 0);
    EXPECT_GT(responses, 0);
    EXPECT_GT(failures, 0);
    EXPECT_GT(rejects, 0);
}

}  // namespace
}  // namespace corvuna
