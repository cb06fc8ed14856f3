#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "ie/mm/identities.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;
using test::Lines;
using test::Rendered;

// A cursor over `octets` standing on octet `start`.
BitCursor CursorAt(const std::vector<uint8_t>& octets, int32_t start) {
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    cursor.position = 8 * start;
    return cursor;
}

// Where a parse left the cursor and what it returned.
struct Outcome {
    int result;
    int32_t position;  // bits
};

// ------------------------------------------------------- EPS mobile identity

const char* const kGutiExample = "F6 64 F0 00 80 01 02 C0 00 12 34";

const std::string kGutiExampleText = Lines({
    "<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
    "<Type_Of_Indetity>(6)GUTI</Type_Of_Indetity>",
    "<MCC>460</MCC>",
    "<MNC>0</MNC>",
    "<MME_Group_ID>32769</MME_Group_ID>",
    "<MME_Code>2</MME_Code>",
    "<M_TMSI>0xC0001234</M_TMSI>",
});

const std::string kImsiExampleText = Lines({
    "<odd_even_indic>(1)odd number of identity digits</odd_even_indic>",
    "<Type_Of_Indetity>(1)IMSI</Type_Of_Indetity>",
    "<Identity_Digit>100</Identity_Digit>",
});

TEST(EpsMobileIdentityTest, ParseAndRenderTable) {
    struct Case {
        const char* name;
        const char* hex;
        int32_t start;
        int32_t length;
        Outcome expected;
        int renderResult;
        std::string text;
    };
    const Case cases[] = {
        {"GUTI", kGutiExample, 0, 11, {1, 88}, 1, kGutiExampleText},
        {"GUTI after a length octet", "0B F6 64 F0 00 80 01 02 C0 00 12 34 99", 1, 11, {1, 96}, 1, kGutiExampleText},
        {"GUTI over-long: skipped to its end", "F6 64 F0 00 80 01 02 C0 00 12 34 EE EE 99", 0, 13, {1, 104}, 1,
         kGutiExampleText},
        {"GUTI over-long past the message", "F6 64 F0 00 80 01 02 C0 00 12 34", 0, 20, {1, 88}, 1, kGutiExampleText},
        {"GUTI over-short: read anyway, cut back", "F6 64 F0 00 80 01 02 C0 00 12 34", 0, 5, {0, 40}, 1,
         kGutiExampleText},
        {"GUTI with three-digit MNC keeps two digits", "F6 21 43 65 00 01 FF 00 00 00 01", 0, 11, {1, 88}, 1,
         Lines({"<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
                "<Type_Of_Indetity>(6)GUTI</Type_Of_Indetity>", "<MCC>123</MCC>", "<MNC>56</MNC>",
                "<MME_Group_ID>1</MME_Group_ID>", "<MME_Code>255</MME_Code>", "<M_TMSI>0x00000001</M_TMSI>"})},
        {"IMSI", "49 06 10 32 54 76 98 10", 0, 8, {1, 64}, 1, kImsiExampleText},
        {"IMSI length 2", "49 06 77", 0, 2, {1, 16}, 1, kImsiExampleText},
        {"IMSI length 1: over-read", "49 06", 0, 1, {0, 8}, 1, kImsiExampleText},
        {"IMSI past the message", "49 06 10 32", 0, 8, {1, 16}, 1, kImsiExampleText},
        {"IMEI: unknown type, skipped", "33 21 43 65 87 09 21 43 55", 0, 8, {0, 64}, 0,
         Lines({"<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
                "<Type_Of_Indetity>(3)Unknown Type</Type_Of_Indetity>"})},
        {"type 0", "08", 0, 1, {0, 8}, 0,
         Lines({"<odd_even_indic>(1)odd number of identity digits</odd_even_indic>",
                "<Type_Of_Indetity>(0)Unknown Type</Type_Of_Indetity>"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor = CursorAt(octets, c.start);
        EpsMobileIdentity record{};
        EXPECT_EQ(ParseEpsMobileIdentity(cursor, c.length, record), c.expected.result);
        EXPECT_EQ(cursor.position, c.expected.position);
        int result = -1;
        EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderEpsMobileIdentity(record, out); }), c.text);
        EXPECT_EQ(result, c.renderResult);
    }
}

TEST(EpsMobileIdentityTest, GutiFields) {
    const std::vector<uint8_t> octets = Hex(kGutiExample);
    BitCursor cursor = CursorAt(octets, 0);
    EpsMobileIdentity record{};
    ASSERT_EQ(ParseEpsMobileIdentity(cursor, 11, record), 1);
    EXPECT_EQ(record.oddEven, 0);
    EXPECT_EQ(record.identityType, 6);
    EXPECT_EQ(record.mcc, 460);
    EXPECT_EQ(record.mnc, 0);
    EXPECT_EQ(record.mmeGroupId, 32769);
    EXPECT_EQ(record.mmeCode, 2);
    EXPECT_EQ(record.mTmsi, 0xC0001234u);
    EXPECT_EQ(record.imsiLeadDigits, 0);
}

TEST(EpsMobileIdentityTest, NegativeLengthReadsNothing) {
    const std::vector<uint8_t> octets = Hex(kGutiExample);
    BitCursor cursor = CursorAt(octets, 0);
    EpsMobileIdentity record{};
    record.mcc = 999;
    EXPECT_EQ(ParseEpsMobileIdentity(cursor, -1, record), 0);
    EXPECT_EQ(cursor.position, 0);
    EXPECT_EQ(record.identityType, 0);
    EXPECT_EQ(record.mcc, 999);
}

// ----------------------------------------------------------- mobile identity

const char* const kEvenTmsiText =
    "<Odd_Even_Indic>(0)even number of identity digits and also when the TMSI/P-TMSI or TMGI and optional MBMS "
    "Session Identity is used</Odd_Even_Indic>";

TEST(MobileIdentityTest, ParseAndRenderTable) {
    struct Case {
        const char* name;
        const char* hex;
        int32_t length;
        Outcome expected;
        std::string text;
    };
    const Case cases[] = {
        {"IMSI keeps three digits", "49 06 10 32 54 76 98 10", 8, {1, 64},
         Lines({"<Odd_Even_Indic>(1)odd number of identity digits</Odd_Even_Indic>",
                "<Type_Of_Identity>(1)IMSI</Type_Of_Identity>", "<digit>0x04</digit>", "<digit>0x06</digit>",
                "<digit>0x00</digit>"})},
        {"TMSI of length 1", "F4 12", 1, {1, 8},
         Lines({kEvenTmsiText, "<Type_Of_Identity>(4)TMSI/P-TMSI/M-TMSI</Type_Of_Identity>", "<digit>0x0F</digit>"})},
        {"TMSI keeps the filler and the first octet", "F4 12 34 56 78", 5, {1, 40},
         Lines({kEvenTmsiText, "<Type_Of_Identity>(4)TMSI/P-TMSI/M-TMSI</Type_Of_Identity>", "<digit>0x0F</digit>",
                "<digit>0x02</digit>", "<digit>0x01</digit>"})},
        {"IMEI", "3A 21 43 65 87 09 21 43 05", 8, {1, 64},
         Lines({"<Odd_Even_Indic>(1)odd number of identity digits</Odd_Even_Indic>",
                "<Type_Of_Identity>(2)IMEI</Type_Of_Identity>", "<digit>0x03</digit>", "<digit>0x01</digit>",
                "<digit>0x02</digit>"})},
        {"IMEISV", "33 21 43 65 87 09 21 43 F5", 9, {1, 72},
         Lines({kEvenTmsiText, "<Type_Of_Identity>(3)IMEISV</Type_Of_Identity>", "<digit>0x03</digit>",
                "<digit>0x01</digit>", "<digit>0x02</digit>"})},
        {"IMSI over-long past the message", "49 06", 8, {1, 16},
         Lines({"<Odd_Even_Indic>(1)odd number of identity digits</Odd_Even_Indic>",
                "<Type_Of_Identity>(1)IMSI</Type_Of_Identity>", "<digit>0x04</digit>", "<digit>0x06</digit>",
                "<digit>0x00</digit>"})},
        {"IMSI length 0: over-read", "49 06", 0, {0, 0},
         Lines({"<Odd_Even_Indic>(1)odd number of identity digits</Odd_Even_Indic>",
                "<Type_Of_Identity>(1)IMSI</Type_Of_Identity>", "<digit>0x04</digit>"})},
        {"TMGI with MCC/MNC and session", "35 01 02 03 64 F0 10 07 AA", 8, {1, 64},
         Lines({"<MBMS_Sess_ID_Indic>(1)MBMS Session Identity is present</MBMS_Sess_ID_Indic>",
                "<MCC_MNC_Indic>(1)MCC/MNC is present</MCC_MNC_Indic>", kEvenTmsiText,
                "<Type_Of_Identity>(5)TMGI and optional MBMS Session Identity</Type_Of_Identity>",
                "<MBMS_Service_ID>66051</MBMS_Service_ID>", "<MCC>460</MCC>", "<MNC>25</MNC>",
                "<MBMS_Session_Identity>7</MBMS_Session_Identity>"})},
        {"TMGI with three-digit MNC", "15 FF FF FF 21 63 54", 7, {1, 56},
         Lines({"<MBMS_Sess_ID_Indic>(0)MBMS Session Identity is not present</MBMS_Sess_ID_Indic>",
                "<MCC_MNC_Indic>(1)MCC/MNC is present</MCC_MNC_Indic>", kEvenTmsiText,
                "<Type_Of_Identity>(5)TMGI and optional MBMS Session Identity</Type_Of_Identity>",
                "<MBMS_Service_ID>16777215</MBMS_Service_ID>", "<MCC>123</MCC>", "<MNC>456</MNC>",
                "<MBMS_Session_Identity>0</MBMS_Session_Identity>"})},
        {"TMGI service ID only", "05 00 00 2A", 4, {1, 32},
         Lines({"<MBMS_Sess_ID_Indic>(0)MBMS Session Identity is not present</MBMS_Sess_ID_Indic>",
                "<MCC_MNC_Indic>(0)MCC/MNC is not present</MCC_MNC_Indic>", kEvenTmsiText,
                "<Type_Of_Identity>(5)TMGI and optional MBMS Session Identity</Type_Of_Identity>",
                "<MBMS_Service_ID>42</MBMS_Service_ID>", "<MCC>0</MCC>", "<MNC>0</MNC>",
                "<MBMS_Session_Identity>0</MBMS_Session_Identity>"})},
        {"TMGI over-short: read anyway, cut back", "35 01 02 03 64 F0 10 07", 4, {0, 32},
         Lines({"<MBMS_Sess_ID_Indic>(1)MBMS Session Identity is present</MBMS_Sess_ID_Indic>",
                "<MCC_MNC_Indic>(1)MCC/MNC is present</MCC_MNC_Indic>", kEvenTmsiText,
                "<Type_Of_Identity>(5)TMGI and optional MBMS Session Identity</Type_Of_Identity>",
                "<MBMS_Service_ID>66051</MBMS_Service_ID>", "<MCC>460</MCC>", "<MNC>25</MNC>",
                "<MBMS_Session_Identity>7</MBMS_Session_Identity>"})},
        {"no identity, over-long", "00 11 22 33", 3, {1, 24},
         Lines({kEvenTmsiText, "<Type_Of_Identity>(0)No Identity</Type_Of_Identity>"})},
        {"reserved type", "0E", 1, {1, 8},
         Lines({"<Odd_Even_Indic>(1)odd number of identity digits</Odd_Even_Indic>",
                "<Type_Of_Identity>(6)reserved</Type_Of_Identity>"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor = CursorAt(octets, 0);
        MobileIdentity record{};
        EXPECT_EQ(ParseMobileIdentity(cursor, c.length, record), c.expected.result);
        EXPECT_EQ(cursor.position, c.expected.position);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderMobileIdentity(record, out), 1); }), c.text);
    }
}

TEST(MobileIdentityTest, NegativeLengthReadsNothing) {
    const std::vector<uint8_t> octets = Hex("49 06");
    BitCursor cursor = CursorAt(octets, 0);
    MobileIdentity record{};
    EXPECT_EQ(ParseMobileIdentity(cursor, -3, record), 0);
    EXPECT_EQ(cursor.position, 0);
    EXPECT_EQ(record.identityType, 0);
    EXPECT_EQ(record.digitCount, 0);
}

TEST(MobileIdentityTest, RenderNeverReadsBeyondTheDigitArray) {
    MobileIdentity record{};
    record.identityType = 1;
    record.digitCount = 200;
    for (uint8_t i = 0; i < kMobileIdentityDigits; ++i) record.digits[i] = i;
    std::string expected = Lines({kEvenTmsiText, "<Type_Of_Identity>(1)IMSI</Type_Of_Identity>"});
    for (int i = 0; i < static_cast<int>(kMobileIdentityDigits); ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "<digit>0x%02X</digit>\n", i);
        expected += line;
    }
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderMobileIdentity(record, out); }), expected);
}

// -------------------------------------------------- P-TMSI signature, nonce

TEST(PtmsiSignatureTest, ParseAndRenderTable) {
    struct Case {
        const char* name;
        const char* hex;
        int32_t length;
        Outcome expected;
        uint32_t value;
    };
    const Case cases[] = {
        {"first octet least significant", "01 02 03", 3, {1, 24}, 197121},
        {"largest", "FF FF FF 19", 3, {1, 24}, 16777215},
        {"over-long", "01 02 03 04 05", 5, {1, 40}, 197121},
        {"over-short", "01 02 03 04", 2, {0, 16}, 197121},
        {"past the message", "01 02", 3, {1, 24}, 513},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor = CursorAt(octets, 0);
        uint32_t value = 0;
        EXPECT_EQ(ParsePtmsiSignature(cursor, c.length, value), c.expected.result);
        EXPECT_EQ(cursor.position, c.expected.position);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderPtmsiSignature(value, out), 1); }),
                  "<P_TMSI_SignatureValue>" + std::to_string(c.value) + "</P_TMSI_SignatureValue>\n");
    }
}

TEST(NonceTest, ParseAndRenderTable) {
    struct Case {
        const char* name;
        const char* hex;
        int32_t length;
        Outcome expected;
        uint32_t value;
        const char* text;
    };
    const Case cases[] = {
        {"fourth octet 0x80 prints negative", "01 00 00 80", 4, {1, 32}, 0x80000001u,
         "<NonceValue>-2147483647</NonceValue>\n"},
        {"positive", "78 56 34 12", 4, {1, 32}, 0x12345678u, "<NonceValue>305419896</NonceValue>\n"},
        {"all ones", "FF FF FF FF", 4, {1, 32}, 0xFFFFFFFFu, "<NonceValue>-1</NonceValue>\n"},
        {"over-short", "01 00 00 00 07", 3, {0, 24}, 1u, "<NonceValue>1</NonceValue>\n"},
        {"over-long", "02 00 00 00 07 08", 6, {1, 48}, 2u, "<NonceValue>2</NonceValue>\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor = CursorAt(octets, 0);
        uint32_t value = 0;
        EXPECT_EQ(ParseNonce(cursor, c.length, value), c.expected.result);
        EXPECT_EQ(cursor.position, c.expected.position);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderNonce(value, out), 1); }), c.text);
    }
}

TEST(PtmsiSignatureAndNonceTest, NegativeLengthReadsNothing) {
    const std::vector<uint8_t> octets = Hex("01 02 03 04");
    BitCursor cursor = CursorAt(octets, 0);
    uint32_t value = 77;
    EXPECT_EQ(ParsePtmsiSignature(cursor, -1, value), 0);
    EXPECT_EQ(ParseNonce(cursor, -1, value), 0);
    EXPECT_EQ(cursor.position, 0);
    EXPECT_EQ(value, 77u);
}

// -------------------------------------------------------------- AUTS and RES

using AuthArray = std::array<uint8_t, kAuthParameterOctets>;

// The sixteen one-octet elements of `name` for `octets`.
std::string AuthLines(const char* name, const AuthArray& octets) {
    std::string text;
    for (uint8_t octet : octets) {
        char line[48];
        std::snprintf(line, sizeof line, "<%s>0x%02X</%s>\n", name, octet, name);
        text += line;
    }
    return text;
}

TEST(AuthOctetStringTest, ParseTable) {
    struct Case {
        const char* name;
        const char* hex;
        int32_t start;
        int32_t length;
        Outcome expected;
        int copied;  // octets of the value expected at the start of the array
    };
    const Case cases[] = {
        {"RES of 8 octets", "11 22 33 44 55 66 77 88", 0, 8, {1, 64}, 8},
        {"AUTS of 14 octets after IEI and length", "30 0E 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E", 2, 14,
         {1, 128}, 14},
        {"16 octets fill the array", "F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF 99", 0, 16, {1, 128}, 16},
        {"17 octets: skipped, nothing copied", "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 99", 0, 17,
         {1, 136}, 0},
        {"17 octets past the message: to its end", "01 02 03 04 05 06 07 08 09 0A", 0, 17, {1, 80}, 0},
        {"8 octets past the message: to its end", "AA 01 02 03 04 05", 1, 8, {1, 48}, 0},
        {"255 octets past the message: to its end", "01 02 03", 0, 255, {1, 24}, 0},
        {"length 0", "01 02", 0, 0, {1, 0}, 0},
        {"value ends exactly at the message end", "09 01 02 03", 1, 3, {1, 32}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor = CursorAt(octets, c.start);
        uint8_t array[kAuthParameterOctets] = {};
        EXPECT_EQ(ParseAuthOctetString(cursor, c.length, array), c.expected.result);
        EXPECT_EQ(cursor.position, c.expected.position);
        AuthArray expected{};
        for (int i = 0; i < c.copied; ++i) expected[i] = octets[c.start + i];
        for (size_t i = 0; i < kAuthParameterOctets; ++i) EXPECT_EQ(array[i], expected[i]) << "octet " << i;
    }
}

TEST(AuthOctetStringTest, ShorterValueClearsWhatAnEarlierValueLeft) {
    const std::vector<uint8_t> octets = Hex("01 02 03 04");
    BitCursor cursor = CursorAt(octets, 0);
    uint8_t array[kAuthParameterOctets];
    for (uint8_t& octet : array) octet = 0xEE;
    EXPECT_EQ(ParseRes(cursor, 4, array), 1);
    const AuthArray expected{0x01, 0x02, 0x03, 0x04};
    for (size_t i = 0; i < kAuthParameterOctets; ++i) EXPECT_EQ(array[i], expected[i]) << "octet " << i;
}

TEST(AuthOctetStringTest, NegativeLengthReadsNothing) {
    const std::vector<uint8_t> octets = Hex("01 02 03 04");
    BitCursor cursor = CursorAt(octets, 0);
    uint8_t array[kAuthParameterOctets];
    for (uint8_t& octet : array) octet = 0xEE;
    EXPECT_EQ(ParseAuts(cursor, -1, array), 0);
    EXPECT_EQ(cursor.position, 0);
    for (uint8_t octet : array) EXPECT_EQ(octet, 0xEE);
}

TEST(AuthOctetStringTest, RenderAlwaysSixteenElements) {
    const std::vector<uint8_t> res = Hex("11 22 33 44 55 66 77 88");
    BitCursor cursor = CursorAt(res, 0);
    uint8_t array[kAuthParameterOctets] = {};
    ASSERT_EQ(ParseRes(cursor, 8, array), 1);
    const AuthArray expected{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderRes(array, out), 1); }),
              AuthLines("RES", expected));

    const std::vector<uint8_t> auts = Hex("A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD");
    cursor = CursorAt(auts, 0);
    ASSERT_EQ(ParseAuts(cursor, 14, array), 1);
    const AuthArray expectedAuts{0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD};
    const std::string text = Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderAuts(array, out), 1); });
    EXPECT_EQ(text, AuthLines("AUTS", expectedAuts));
    EXPECT_NE(text.find("<AUTS>0xAD</AUTS>\n<AUTS>0x00</AUTS>\n<AUTS>0x00</AUTS>\n"), std::string::npos);
}

// ------------------------------------------------------- no output buffer

TEST(IdentityRenderersTest, WithoutBufferReturnZeroAndWriteNothing) {
    OutputDocument out;
    const EpsMobileIdentity guti{0, 6, 460, 1, 1, 1, 1, 0};
    const MobileIdentity imsi{1, 1, 1, {4}, 0, 0, 0, 0, 0, 0};
    const uint8_t array[kAuthParameterOctets] = {1};
    EXPECT_EQ(RenderEpsMobileIdentity(guti, out), 0);
    EXPECT_EQ(RenderMobileIdentity(imsi, out), 0);
    EXPECT_EQ(RenderPtmsiSignature(1, out), 0);
    EXPECT_EQ(RenderNonce(1, out), 0);
    EXPECT_EQ(RenderAuts(array, out), 0);
    EXPECT_EQ(RenderRes(array, out), 0);
    EXPECT_EQ(out.required, 0u);
}

}  // namespace
}  // namespace corvuna
