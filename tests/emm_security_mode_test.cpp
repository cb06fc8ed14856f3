// SPDX-License-Identifier: Apache-2.0
// SECURITY MODE COMMAND, COMPLETE and REJECT, decoded whole through the
// exported entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "legacy/ie/mm/capabilities.h"
#include "support/document_check.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Decode;
using test::Framed;
using test::Lines;
using test::Rendered;

std::string Group(const std::string& name, const std::string& inner) {
    return "<" + name + ">\n" + inner + "</" + name + ">\n";
}

std::string Nonce(const char* name, const char* value) {
    return Group(name, "<NonceValue>" + std::string(value) + "</NonceValue>\n");
}

// The elements of a command's mandatory part: the algorithms octet 0x11, the
// key set identifier octet, and the replayed capabilities E0 E0 (EEA0-2,
// EIA1-2).
std::string CommandHead(const char* tsc, const char* keySetId) {
    UeSecurityCapability capability{};
    capability.eea[0] = capability.eea[1] = capability.eea[2] = 1;
    capability.eia[0] = capability.eia[1] = 1;
    return "<SECURITY_MODE_COMMAND>\n" +
           Group("Selected_NAS_security_algorithms",
                 Lines({"<TypeOfCipherAlgorithm>(1)EPS encryption algorithm 128-EEA1</TypeOfCipherAlgorithm>",
                        "<TypeOfIntProtectionAlgorithm>(1)EPS integrity algorithm 128-EIA1"
                        "</TypeOfIntProtectionAlgorithm>"})) +
           Group("NAS_key_set_identifier_ASME", "<TSC>" + std::string(tsc) + "</TSC>\n<NAS_Key_Set_Identifer>" +
                                                    keySetId + "</NAS_Key_Set_Identifer>\n") +
           Group("Replayed_UE_security_capabilities",
                 Rendered([&](OutputDocument& out) { RenderUeSecurityCapability(capability, out); }));
}

TEST(SecurityModeCommand, MandatoryFieldsAndNonces) {
    struct Case {
        const char* what;
        const char* ksiOctet;
        const char* tail;
        std::string expected;
    };
    const char* const native = "(0)native security context (for KSI_ASME)";
    const char* const one = "(1)possible values for the NAS key set identifier";
    const std::string head = CommandHead(native, one);
    const std::string nonceUe = Nonce("Replayed_nonce_UE", "67305985");
    const std::string nonceMme = Nonce("nonce_MME", "-2012805627");
    const Case cases[] = {
        {"mandatory fields only", "01", "", head},
        {"high half of octet 2 dropped", "F9", "",
         CommandHead("(1)mapped security context (for KSI_SGSN)", one)},
        {"IMEISV request passed over", "01", "C1 55 01 02 03 04", head + nonceUe},
        {"unknown octet passed over", "01", "77 56 05 06 07 88", head + nonceMme},
        {"nonces in fixed order", "01", "56 05 06 07 88 C1 55 01 02 03 04", head + nonceUe + nonceMme},
        {"repeated nonce: the second one", "01", "55 FF FF FF FF 55 01 02 03 04", head + nonceUe},
        {"nonce past the body", "01", "55 0A 0B 0C", head + Nonce("Replayed_nonce_UE", "789258")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(0, std::string("07 5D 11 ") + c.ksiOctet + " 02 E0 E0 " + c.tail),
                  Framed(0, c.expected + "</SECURITY_MODE_COMMAND>\n"))
            << c.what;
    }
}

TEST(SecurityModeCompleteReject, Bodies) {
    struct Case {
        int direction;
        const char* hex;
        std::string inner;
    };
    const std::string empty = "<SECURITY_MODE_COMPLETE>\n</SECURITY_MODE_COMPLETE>\n";
    const std::string imeisv =
        "<SECURITY_MODE_COMPLETE>\n" +
        Group("IMEISV_request",
              Lines({"<Odd_Even_Indic>(0)even number of identity digits and also when the TMSI/P-TMSI or TMGI and "
                     "optional MBMS Session Identity is used</Odd_Even_Indic>",
                     "<Type_Of_Identity>(3)IMEISV</Type_Of_Identity>", "<digit>0x03</digit>", "<digit>0x01</digit>",
                     "<digit>0x02</digit>"})) +
        "</SECURITY_MODE_COMPLETE>\n";
    const Case cases[] = {
        {1, "07 5E 23 09 33 21 43 65 87 09 21 43 F5", imeisv},
        {1, "07 5E 24 09 33 21 43 65 87 09 21 43 F5", empty},
        {1, "07 5E 00 23 09 33 21 43 65 87 09 21 43 F5", empty},  // only the first octet is looked at
        {1, "07 5E", empty},
        {0, "07 5F 18",
         "<SECURITY_MODE_REJECT>\n<EMMCause>(24)Security mode rejected, unspecified</EMMCause>\n"
         "</SECURITY_MODE_REJECT>\n"},
        {0, "07 5F 17 00",
         "<SECURITY_MODE_REJECT>\n<EMMCause>(23)UE security capabilities mismatch</EMMCause>\n"
         "</SECURITY_MODE_REJECT>\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(Decode(c.direction, c.hex), Framed(c.direction, c.inner)) << c.hex;
}

TEST(SecurityModeCorpus, RealMessagesShowTheirValues) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    int commands = 0, completes = 0, rejects = 0;
    for (const auto& message : corpus) {
        const std::vector<uint8_t>& m = message.octets;
        if (m.size() < 3 || m[0] != 0x07 || m[1] < 0x5D || m[1] > 0x5F) continue;
        const std::string document = Decode(message.direction, m);
        EXPECT_EQ(test::CheckDocument(document, message.direction), "") << message.name;
        if (m[1] == 0x5D && m.size() >= 4) {
            ++commands;
            const std::string cipher = "<TypeOfCipherAlgorithm>(" + std::to_string((m[2] >> 4) & 7) + ")";
            const std::string integrity = "<TypeOfIntProtectionAlgorithm>(" + std::to_string(m[2] & 7) + ")";
            const std::string keySetId = "<NAS_Key_Set_Identifer>(" + std::to_string(m[3] & 7) + ")";
            EXPECT_NE(document.find(cipher), std::string::npos) << document;
            EXPECT_NE(document.find(integrity), std::string::npos) << document;
            EXPECT_NE(document.find(keySetId), std::string::npos) << document;
        } else if (m[1] == 0x5E) {
            ++completes;
            const bool imeisv = m[2] == 0x23 && m.size() >= 5;
            EXPECT_EQ(document.find("<IMEISV_request>") != std::string::npos, imeisv) << document;
            if (imeisv) {
                EXPECT_NE(document.find("<Type_Of_Identity>(" + std::to_string(m[4] & 7) + ")"), std::string::npos);
            }
        } else {
            ++rejects;
            EXPECT_NE(document.find("<EMMCause>(" + std::to_string(m[2]) + ")"), std::string::npos) << document;
        }
    }
    EXPECT_GT(commands, 0);
    EXPECT_GT(completes, 0);
    EXPECT_GT(rejects, 0);
}

}  // namespace
}  // namespace corvuna
