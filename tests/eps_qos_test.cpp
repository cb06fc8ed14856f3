// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include "legacy/ie/sm/eps_qos.h"
#include "sm_ie_test_support.h"

namespace corvuna::test {
namespace {

struct EpsQosCase {
    const char* what;
    const char* hex;       // the data from the first value octet
    int32_t length;        // declared value length
    int result;
    int32_t endOctet;      // where the cursor is left, in octets
    std::string rendered;
};

TEST(EpsQos, ParsesEachValueLengthAndRenders) {
    const EpsQosCase cases[] = {
        {"length 0 reads nothing", "09 40 40 10 20", 0, 1, 0, Lines({"<QCI>(0)Reserved</QCI>"})},
        {"length 1: QCI alone", "05 40", 1, 1, 1, Lines({"<QCI>(5)QCI 5</QCI>"})},
        {"length 4: QCI alone, three octets skipped", "09 40 40 10 20", 4, 1, 4, Lines({"<QCI>(9)QCI 9</QCI>"})},
        {"length 5: QCI and bit rates, unconverted", "09 40 40 00 00 77", 5, 1, 5,
         Lines({"<QCI>(9)QCI 9</QCI>", "<MaxBitRate_UL>64</MaxBitRate_UL>", "<MaxBitRate_DL>64</MaxBitRate_DL>",
                "<GuaranteedBitRate_UL>0</GuaranteedBitRate_UL>", "<GuaranteedBitRate_DL>0</GuaranteedBitRate_DL>"})},
        {"length 8: bit rates, no extension", "01 FE 80 11 22 33 44 55 66", 8, 1, 8,
         Lines({"<QCI>(1)QCI 1</QCI>", "<MaxBitRate_UL>254</MaxBitRate_UL>", "<MaxBitRate_DL>128</MaxBitRate_DL>",
                "<GuaranteedBitRate_UL>17</GuaranteedBitRate_UL>", "<GuaranteedBitRate_DL>34</GuaranteedBitRate_DL>"})},
        {"length 9: bit rates and extended bit rates", "07 01 02 03 04 05 06 07 08 99", 9, 1, 9,
         Lines({"<QCI>(7)QCI 7</QCI>", "<MaxBitRate_UL>1</MaxBitRate_UL>", "<MaxBitRate_DL>2</MaxBitRate_DL>",
                "<GuaranteedBitRate_UL>3</GuaranteedBitRate_UL>", "<GuaranteedBitRate_DL>4</GuaranteedBitRate_DL>",
                "<MaxBitRate_UL_Ex>5</MaxBitRate_UL_Ex>", "<MaxBitRate_DL_Ex>6</MaxBitRate_DL_Ex>",
                "<GuaranteedBitRate_UL_Ex>7</GuaranteedBitRate_UL_Ex>",
                "<GuaranteedBitRate_DL_Ex>8</GuaranteedBitRate_DL_Ex>"})},
        {"length 12: nine octets read, the last three skipped", "80 0A 0B 0C 0D 0E 0F 10 FF AA BB CC 5D", 12, 1, 12,
         Lines({"<QCI>(128)Reserved</QCI>", "<MaxBitRate_UL>10</MaxBitRate_UL>", "<MaxBitRate_DL>11</MaxBitRate_DL>",
                "<GuaranteedBitRate_UL>12</GuaranteedBitRate_UL>", "<GuaranteedBitRate_DL>13</GuaranteedBitRate_DL>",
                "<MaxBitRate_UL_Ex>14</MaxBitRate_UL_Ex>", "<MaxBitRate_DL_Ex>15</MaxBitRate_DL_Ex>",
                "<GuaranteedBitRate_UL_Ex>16</GuaranteedBitRate_UL_Ex>",
                "<GuaranteedBitRate_DL_Ex>255</GuaranteedBitRate_DL_Ex>"})},
        {"length 5 in a message ending after three octets: the rest reads 0, the cursor stays past the end",
         "09 40 40", 5, 1, 5,
         Lines({"<QCI>(9)QCI 9</QCI>", "<MaxBitRate_UL>64</MaxBitRate_UL>", "<MaxBitRate_DL>64</MaxBitRate_DL>",
                "<GuaranteedBitRate_UL>0</GuaranteedBitRate_UL>", "<GuaranteedBitRate_DL>0</GuaranteedBitRate_DL>"})},
        {"length 12 in a message ending inside the skipped octets: the cursor stays where the reads stopped",
         "02 01 02 03 04 05 06 07 08 09", 12, 1, 9,
         Lines({"<QCI>(2)QCI 2</QCI>", "<MaxBitRate_UL>1</MaxBitRate_UL>", "<MaxBitRate_DL>2</MaxBitRate_DL>",
                "<GuaranteedBitRate_UL>3</GuaranteedBitRate_UL>", "<GuaranteedBitRate_DL>4</GuaranteedBitRate_DL>",
                "<MaxBitRate_UL_Ex>5</MaxBitRate_UL_Ex>", "<MaxBitRate_DL_Ex>6</MaxBitRate_DL_Ex>",
                "<GuaranteedBitRate_UL_Ex>7</GuaranteedBitRate_UL_Ex>",
                "<GuaranteedBitRate_DL_Ex>8</GuaranteedBitRate_DL_Ex>"})},
    };
    for (const EpsQosCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = RunParse(ParseEpsQos, c.hex, c.length);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.endOctet * 8);
        EXPECT_EQ(RenderText(RenderEpsQos, parsed.record), c.rendered);
    }
}

TEST(EpsQos, StartsWhereTheCursorStands) {
    // IEI and length octet already read by the message parser.
    const auto parsed = RunParse(ParseEpsQos, "5B 05 06 20 21 22 23 58 24", 5, 2);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 7 * 8);
    EXPECT_EQ(parsed.record.qci, 6);
    EXPECT_EQ(parsed.record.guaranteedBitRateDl, 0x23);
}

TEST(EpsQos, NegativeLengthReadsNothing) {
    const auto parsed = RunParse(ParseEpsQos, "09 40 40 10 20", -1, 1);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 8);
    EXPECT_EQ(parsed.record.qci, 0);
    EXPECT_EQ(parsed.record.bitRatesPresent, 0);
}

TEST(EpsQos, QciTexts) {
    struct Row {
        int32_t qci;
        const char* line;
    };
    const Row rows[] = {
        {0, "<QCI>(0)Reserved</QCI>"},
        {1, "<QCI>(1)QCI 1</QCI>"},
        {4, "<QCI>(4)QCI 4</QCI>"},
        {9, "<QCI>(9)QCI 9</QCI>"},
        {10, "<QCI>(10)Reserved</QCI>"},
        {15, "<QCI>(15)Reserved</QCI>"},
        {16, "<QCI>(16)Operator-specific QCIs</QCI>"},
        {23, "<QCI>(23)Operator-specific QCIs</QCI>"},
        {30, "<QCI>(30)Operator-specific QCIs</QCI>"},
        {31, "<QCI>(31)Reserved</QCI>"},
        {128, "<QCI>(128)Reserved</QCI>"},
        {254, "<QCI>(254)Reserved</QCI>"},
        {255, "<QCI>(255)Reserved</QCI>"},
    };
    for (const Row& row : rows) {
        EpsQos record{};
        record.qci = row.qci;
        EXPECT_EQ(RenderText(RenderEpsQos, record), std::string(row.line) + "\n");
    }
}

TEST(EpsQos, RenderWithoutBufferWritesNothing) {
    OutputDocument none;
    EXPECT_EQ(RenderEpsQos(EpsQos{}, none), 0);
}

}  // namespace
}  // namespace corvuna::test
