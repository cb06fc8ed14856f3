// SPDX-License-Identifier: Apache-2.0
#include "legacy/doc/writer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Rendered;

TEST(Writer, WritesHexElements) {
    const uint8_t tmsi[] = {0x12, 0x34, 0xAB, 0x0C};
    const uint8_t rand[] = {0x05};
    EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteHexElement("M_TMSI", tmsi, out, 4); }),
              "<M_TMSI>0x1234AB0C</M_TMSI>\n");
    EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteHexElement("RAND", rand, out, 1); }), "<RAND>0x05</RAND>\n");
    EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteHexElement("RAND", rand, out, 0); }), "<RAND>0x</RAND>\n");
    EXPECT_EQ(Rendered([&](OutputDocument& out) { WriteHexElement("RAND", rand, out, -3); }), "<RAND>0x</RAND>\n");
}

TEST(Writer, HandleWithoutBufferWritesNothing) {
    OutputDocument out;
    WriteLineTag("X", out);
    WriteCloseTag("X", out);
    EXPECT_EQ(out.Length(), 0u);
    EXPECT_EQ(out.Required(), 0u);
}

TEST(Writer, NeverWritesPastTheCapacity) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, "ab");
    OutputDocument out = MakeDocument(buffer, 2, 10);
    WriteLineTag("abc", out);  // "<abc>\n": 6 characters, fits (2 + 6 + NUL <= 10)
    EXPECT_STREQ(buffer, "ab<abc>\n");
    EXPECT_FALSE(out.truncated);
    WriteLineTag("d", out);  // "<d>\n" does not fit whole
    EXPECT_TRUE(out.truncated);
    const std::string full = "ab<abc>\n<d>\n";
    EXPECT_LT(std::strlen(buffer), 10u);
    EXPECT_EQ(full.compare(0, std::strlen(buffer), buffer), 0) << buffer;
    EXPECT_EQ(out.Required(), full.size());
    for (size_t i = 10; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << i;
}

}  // namespace
}  // namespace corvuna
