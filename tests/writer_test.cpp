// SPDX-License-Identifier: Apache-2.0
#include "doc/writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Rendered;

TEST(Writer, WritesStructureTags) {
    struct Case {
        const char* name;
        const char* suffix;
        const char* expected;
    };
    const Case cases[] = {
        {"ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REQUEST", "\n", "<ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REQUEST>\n"},
        {"/EPS_QoS", "\n", "</EPS_QoS>\n"},
        {"Error Message", nullptr, "<Error_Message>"},
        {"  padded name  ", "\n", "<padded_name>\n"},
        {"a  b", "", "<a__b>"},
        {"   ", "\n", "<>\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteTag(c.name, c.suffix, out); }), c.expected);
    }
}

TEST(Writer, WritesValueElements) {
    const int8_t three = 3;
    const int8_t zero = 0;
    const uint8_t ff = 0xFF;
    const uint8_t c8 = 0xC8;
    const int16_t minus2 = -2;
    const uint16_t u16 = 0xFFFE;
    const int32_t big = -123456;
    const uint32_t high = 0x80000001u;
    struct Case {
        const char* name;
        const char* format;
        const void* value;
        const char* text;
        int width;
        const char* expected;
        bool result;
    };
    const Case cases[] = {
        {"dir", "%s", "UPLINK", nullptr, -1, "<dir>UPLINK</dir>\n", true},
        {"Radio_priority", "%ld:%s", &three, nullptr, 1, "<Radio_priority>3</Radio_priority>\n", true},
        {"TIFlag", "%ld:%s", &zero, "The message is sent from the side that originates the TI", 1,
         "<TIFlag>(0)The message is sent from the side that originates the TI</TIFlag>\n", true},
        {"X", "%ld;%s", &three, "text", 1, "<X>(3)text</X>\n", true},
        {"X", "%ld:%s", &ff, nullptr, 1, "<X>-1</X>\n", true},
        {"X", "%ld:%s", &c8, nullptr, 1, "<X>-56</X>\n", true},
        {"X", "%lu:%s", &ff, nullptr, 1, "<X>255</X>\n", true},
        {"X", "%ld:%s", &minus2, nullptr, 2, "<X>-2</X>\n", true},
        {"X", "%lu:%s", &u16, nullptr, 2, "<X>65534</X>\n", true},
        {"X", "%ld:%s", &big, nullptr, 4, "<X>-123456</X>\n", true},
        {"X", "%ld:%s", &big, nullptr, -1, "<X>-123456</X>\n", true},
        {"X", "%lu:%s", &high, nullptr, -1, "<X>2147483649</X>\n", true},
        {"X", "%ld:%s", &high, nullptr, 4, "<X>-2147483647</X>\n", true},
        {"X", "value %ld kbps", &big, nullptr, 1, "<X>value -123456 kbps</X>\n", true},
        {"X", "%lu units", &high, nullptr, 1, "<X>2147483649 units</X>\n", true},
        {"X", "0x%s: %s", "1F2E", nullptr, -1, "<X>0x1F2E</X>\n", true},
        {"X", "[%s] 100%%", "a<b>&c", nullptr, -1, "<X>[a<b>&c] 100%</X>\n", true},
        {"Two Words ", "%s", "v", nullptr, -1, "<Two_Words>v</Two_Words>\n", true},
        {"dir", "%d", &three, nullptr, 1, "<dir>format error in MakeXml function</dir>\n", false},
    };
    for (const Case& c : cases) {
        bool result = false;
        const std::string text = Rendered(
            [&](OutputDocument& out) { result = MakeXml(c.name, c.format, c.value, out, c.text, c.width); });
        EXPECT_EQ(text, c.expected) << c.format;
        EXPECT_EQ(result, c.result) << c.format;
    }
}

TEST(Writer, WritesHexElements) {
    const uint8_t tmsi[] = {0x12, 0x34, 0xAB, 0x0C};
    const uint8_t rand[] = {0x05};
    EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteHexElement("M_TMSI", tmsi, out, 4); }),
              "<M_TMSI>0x1234AB0C</M_TMSI>\n");
    EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteHexElement("RAND", rand, out, 1); }), "<RAND>0x05</RAND>\n");
    EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteHexElement("RAND", rand, out, 0); }), "<RAND>0x</RAND>\n");
    EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteHexElement("RAND", rand, out, -3); }), "<RAND>0x</RAND>\n");
}

TEST(Writer, FetchesIntegersOfEachWidth) {
    const uint8_t octets[4] = {0xFE, 0xFF, 0xFF, 0x7F};
    EXPECT_EQ(FetchValue(octets, true, 1), -2);
    EXPECT_EQ(FetchValue(octets, false, 1), 254);
    EXPECT_EQ(FetchValue(octets, true, 2), -2);
    EXPECT_EQ(FetchValue(octets, false, 2), 65534);
    int32_t expected;
    std::memcpy(&expected, octets, 4);
    EXPECT_EQ(FetchValue(octets, true, 4), expected);
    EXPECT_EQ(FetchValue(octets, false, -1), expected);
}

TEST(Writer, HandleWithoutBufferWritesNothing) {
    OutputDocument out;
    const int32_t value = 1;
    EXPECT_FALSE(MakeXml("X", "%ld:%s", &value, out, nullptr, 4));
    WriteTag("X", "\n", out);
    WriteCloseTag("X", out);
    EXPECT_EQ(out.Length(), 0u);
    EXPECT_EQ(out.Required(), 0u);
}

TEST(Writer, NeverWritesPastTheCapacity) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, "ab");
    OutputDocument out = MakeDocument(buffer, 2, 10);
    WriteTag("abc", "\n", out);  // "<abc>\n": 6 characters, fits (2 + 6 + NUL <= 10)
    EXPECT_STREQ(buffer, "ab<abc>\n");
    EXPECT_FALSE(out.truncated);
    WriteTag("d", "\n", out);  // "<d>\n" does not fit whole
    EXPECT_TRUE(out.truncated);
    const std::string full = "ab<abc>\n<d>\n";
    EXPECT_LT(std::strlen(buffer), 10u);
    EXPECT_EQ(full.compare(0, std::strlen(buffer), buffer), 0) << buffer;
    EXPECT_EQ(out.Required(), full.size());
    for (size_t i = 10; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << i;
}

}  // namespace
}  // namespace corvuna
