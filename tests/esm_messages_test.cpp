// SPDX-License-Identifier: Apache-2.0
// All ESM messages together: every row of the ESM dispatch table decodes,
// the message header's EPS bearer identity and PTI never reach the
// document, the real messages of the corpus decode to their elements, and
// the longest document stays within the published bound.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "api/dispatch.h"
#include "corvuna/corvuna.h"
#include "esm_test_support.h"
#include "support/document_check.h"

namespace corvuna::test {
namespace {

uint8_t MessageType(const MessageEntry& entry) { return static_cast<uint8_t>(entry.code - kEsmCodeBase); }

std::vector<uint8_t> EsmMessage(uint8_t first, uint8_t pti, uint8_t type, std::string_view body) {
    std::vector<uint8_t> message = {first, pti, type};
    const std::vector<uint8_t> octets = Hex(body);
    message.insert(message.end(), octets.begin(), octets.end());
    return message;
}

TEST(EsmMessages, EveryRowOfTheTableDecodesItsElement) {
    for (const MessageEntry& entry : EsmMessageTable()) {
        ASSERT_NE(entry.decode, nullptr) << entry.name;
        const std::string document = Decode(1, EsmMessage(0x02, 0x00, MessageType(entry), ""));
        // The frame around the message element: its opening tag first, its
        // closing tag last.
        const std::string frame = Framed(1, "");
        const std::string open = frame.substr(0, frame.find("</message>")) + "<" + entry.name + ">\n";
        const std::string close = "</" + std::string(entry.name) + ">\n</message>\n</L3Message>\n";
        EXPECT_EQ(document.substr(0, open.size()), open) << entry.name;
        ASSERT_GE(document.size(), open.size() + close.size()) << entry.name;
        EXPECT_EQ(document.substr(document.size() - close.size()), close) << entry.name;
        EXPECT_EQ(CheckDocument(document, 1), "") << entry.name;
    }
}

TEST(EsmMessages, BearerIdentityAndPtiNeverReachTheDocument) {
    // Bodies that every ESM parser reads something from.
    const char* const bodies[] = {"", "05 01 09 27 01 80", "31 D1 28 02 01 61 27 01 80", "58 24 5B 01 09"};
    for (const MessageEntry& entry : EsmMessageTable()) {
        for (const char* body : bodies) {
            const std::string plain = Decode(0, EsmMessage(0x02, 0x00, MessageType(entry), body));
            EXPECT_EQ(Decode(0, EsmMessage(0xF2, 0xA7, MessageType(entry), body)), plain) << entry.name << " " << body;
            EXPECT_EQ(Decode(0, EsmMessage(0x52, 0x01, MessageType(entry), body)), plain) << entry.name << " " << body;
        }
    }
}

TEST(EsmMessages, ApnTextIsWrittenUnescapedAndTheDocumentStaysWellFormed) {
    // Labels 0A and "ab" give the text "\nab": a value element spread over
    // two lines.
    const EsmNamedCase cases[] = {
        {"one-line APN element", "02 00 C1 01 09 05 01 0A 02 61 62 01 01",
         "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REQUEST",
         Group("EPS_QoS", kQci9) + "<Access_point_name>\nab</Access_point_name>\n" +
             Group("PDN_Address",
                   Lines({"<PDNTypeValue>(1)IPv4</PDNTypeValue>", "<PDN_Address>0.0.0.0</PDN_Address>"}))},
        {"APN group", "02 00 DA 28 05 01 0A 02 61 62", "ESM_INFORMATION_RESPONSE",
         Group("Access_point_name", "<APN>\nab</APN>\n")},
    };
    for (const EsmNamedCase& c : cases) {
        const std::string document = Decode(1, c.hex);
        EXPECT_EQ(document, EsmDocument(1, c.name, c.inner)) << c.what;
        EXPECT_EQ(CheckDocument(document, 1), "") << c.what;
    }
}

// The element name the table gives a message, from the name the corpus
// gives it ("Activate default EPS bearer context request").
std::string ElementName(const std::string& corpusName) {
    std::string name;
    for (char c : corpusName) name += c == ' ' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

bool Contains(const std::string& document, const std::string& text) { return document.find(text) != std::string::npos; }

TEST(EsmMessages, RealMessagesDecodeToTheirElements) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    int decoded = 0;
    for (const CorpusMessage& message : corpus) {
        const std::vector<uint8_t>& m = message.octets;
        if (m.size() < 3 || (m[0] & 0x0F) != 2) continue;
        ++decoded;
        SCOPED_TRACE(message.name + " #" + std::to_string(decoded));
        const std::string document = Decode(message.direction, m);
        ASSERT_EQ(CheckDocument(document, message.direction), "");
        const std::string name = ElementName(message.name);
        EXPECT_TRUE(Contains(document, "<message>\n<" + name + ">\n"));
        EXPECT_TRUE(Contains(document, "</" + name + ">\n</message>\n"));
        if (m.size() < 5) continue;
        const std::string first = std::to_string(m[3]);
        const std::string low = std::to_string(m[3] & 0x0F);
        switch (m[2]) {
            case 0xC1:  // EPS QoS length, then the QCI
                if (m[3] >= 1) {
                    EXPECT_TRUE(Contains(document, "<QCI>(" + std::to_string(m[4]) + ")"));
                }
                break;
            case 0xC5:
            case 0xD2:
                EXPECT_TRUE(Contains(document, "<Linked_EPS_bear_identity>" + low + "</"));
                break;
            case 0xD0:
                EXPECT_TRUE(Contains(document, "<request_type>" + low + "</request_type>\n<PDN_type>" +
                                                   std::to_string(m[3] >> 4) + "</"));
                break;
            case 0xC3:
            case 0xC7:
            case 0xCB:
            case 0xCD:
            case 0xD1:
            case 0xD3:
            case 0xD5:
            case 0xD7:
            case 0xE8:
                EXPECT_TRUE(Contains(document, "<ESMCause>(" + first + ")"));
                break;
            default:
                break;
        }
    }
    EXPECT_GT(decoded, 0);
}

std::string Repeat(const std::string& hex, int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += hex + " ";
    return text;
}

// An activate default EPS bearer context request with every IE at its
// longest rendering: the longest document an ESM message can give (the
// other messages carry a subset of its IEs, and a repeated IE replaces the
// earlier one).  The APN's 255 octets are more than its text keeps; of the
// PCO's 25 containers the first 24 fill its declared 255 octets and the
// last runs past them with 250 contents octets.
const std::string kLongestDefaultBearerRequest =
    "02 00 C1  09 " + Repeat("FF", 9) + " FF " + Repeat("3F " + Repeat("78", 63), 3) + "3E " + Repeat("78", 62) +
    " 0D 03 FF FF FF FF 01 02 03 04 05 06 07 08 09 0A 0B 0C  5D 02 80 7F  32 0B  8F  34 01 7F  58 70  5E 06 " +
    Repeat("FF", 6) + " 30 10 0A 21 0D 22 97 FF FF FF FF FF FF 10 FF FF FF FF  27 FF 80 FF FF B5 " + Repeat("EE", 181) +
    Repeat("FF FF 00", 23) + "FF FF FA " + Repeat("EE", 250);

TEST(EsmMessages, LongestDocumentStaysWithinTheBound) {
    const std::string document = Decode(0, kLongestDefaultBearerRequest);
    EXPECT_EQ(CheckDocument(document, 0), "");
    EXPECT_TRUE(Contains(document, "<Radio_priority>7</Radio_priority>"));
    EXPECT_TRUE(Contains(document, "<ProtocolContents>0x" + std::string(500, 'E') + "</ProtocolContents>"));
    EXPECT_LE(document.size(), static_cast<size_t>(CORVUNA_MAX_DOCUMENT_LENGTH));
    RecordProperty("document_length", static_cast<int>(document.size()));
}

}  // namespace
}  // namespace corvuna::test
