// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "legacy/ie/mm/identities.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;
using test::Lines;
using test::Rendered;

// Parses `hex` from octet `start` with `parse`, checks the result and the end
// position (bits), and returns what `render` then writes.
template <typename Record, typename Parse, typename Render>
std::string ParseRender(const char* hex, int32_t start, int32_t length, int result, int32_t end, Parse parse,
                        Render render, Record record = Record{}) {
    const std::vector<uint8_t> octets = Hex(hex);
    BitCursor cursor;
    LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
    cursor.position = 8 * start;
    EXPECT_EQ(parse(cursor, length, record), result);
    EXPECT_EQ(cursor.position, end);
    return Rendered([&](OutputDocument& out) { render(record, out); });
}

const std::string kGuti = Lines({
    "<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
    "<Type_Of_Indetity>(6)GUTI</Type_Of_Indetity>", "<MCC>460</MCC>", "<MNC>0</MNC>",
    "<MME_Group_ID>32769</MME_Group_ID>", "<MME_Code>2</MME_Code>", "<M_TMSI>0xC0001234</M_TMSI>"});
const std::string kImsi = Lines({"<odd_even_indic>(1)odd number of identity digits</odd_even_indic>",
                                 "<Type_Of_Indetity>(1)IMSI</Type_Of_Indetity>", "<Identity_Digit>100</Identity_Digit>"});

TEST(EpsMobileIdentityTest, ParseAndRender) {
    struct Case {
        const char* hex;
        int32_t start, length, result, end, renderResult;
        std::string text;
    };
    const char* guti = "F6 64 F0 00 80 01 02 C0 00 12 34 EE EE";
    const Case cases[] = {
        {guti, 0, 11, 1, 88, 1, kGuti},
        {"0B F6 64 F0 00 80 01 02 C0 00 12 34 99", 1, 11, 1, 96, 1, kGuti},
        {guti, 0, 13, 1, 104, 1, kGuti},  // over-long: skipped to its end
        {guti, 0, 5, 0, 40, 1, kGuti},    // over-short: read anyway, cut back
        {guti, 0, 30, 1, 88, 1, kGuti},   // declared end past the message
        {"49 06 10 32 54 76 98 10", 0, 8, 1, 64, 1, kImsi},
        {"49 06 10 32", 0, 8, 1, 16, 1, kImsi},
        {"49 06", 0, 1, 0, 8, 1, kImsi},
        {"F6 21 43 65 00 01 FF 00 00 00 01", 0, 11, 1, 88, 1,
         Lines({"<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
                "<Type_Of_Indetity>(6)GUTI</Type_Of_Indetity>", "<MCC>123</MCC>", "<MNC>56</MNC>",
                "<MME_Group_ID>1</MME_Group_ID>", "<MME_Code>255</MME_Code>", "<M_TMSI>0x00000001</M_TMSI>"})},
        {"33 21 43 65 87 09 21 43 55", 0, 8, 0, 64, 0,  // IMEI: not an EPS identity, skipped
         Lines({"<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
                "<Type_Of_Indetity>(3)Unknown Type</Type_Of_Indetity>"})},
        {guti, 0, -1, 0, 0, 0,  // nothing read: the record keeps its type 7
         Lines({"<odd_even_indic>(0)even number of identity digits and also when the GUTI is used</odd_even_indic>",
                "<Type_Of_Indetity>(7)Unknown Type</Type_Of_Indetity>"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        int rendered = -1;
        const auto render = [&](const EpsMobileIdentity& r, OutputDocument& out) {
            rendered = RenderEpsMobileIdentity(r, out);
        };
        EXPECT_EQ(ParseRender(c.hex, c.start, c.length, c.result, c.end, ParseEpsMobileIdentity, render,
                              EpsMobileIdentity{0, 7, 0, 0, 0, 0, 0, 0}),
                  c.text);
        EXPECT_EQ(rendered, c.renderResult);
    }
}

const char* const kEven =
    "<Odd_Even_Indic>(0)even number of identity digits and also when the TMSI/P-TMSI or TMGI and optional MBMS "
    "Session Identity is used</Odd_Even_Indic>";
const char* const kOdd = "<Odd_Even_Indic>(1)odd number of identity digits</Odd_Even_Indic>";
const char* const kTmgi = "<Type_Of_Identity>(5)TMGI and optional MBMS Session Identity</Type_Of_Identity>";

TEST(MobileIdentityTest, ParseAndRender) {
    struct Case {
        const char* hex;
        int32_t length, result, end;
        std::string text;
    };
    const Case cases[] = {
        {"49 06 10 32 54 76 98 10", 8, 1, 64,
         Lines({kOdd, "<Type_Of_Identity>(1)IMSI</Type_Of_Identity>", "<digit>0x04</digit>", "<digit>0x06</digit>",
                "<digit>0x00</digit>"})},
        {"F4 12", 1, 1, 8, Lines({kEven, "<Type_Of_Identity>(4)TMSI/P-TMSI/M-TMSI</Type_Of_Identity>",
                                  "<digit>0x0F</digit>"})},
        {"33 21 43 65 87 09 21 43 F5", 9, 1, 72,
         Lines({kEven, "<Type_Of_Identity>(3)IMEISV</Type_Of_Identity>", "<digit>0x03</digit>",
                "<digit>0x01</digit>", "<digit>0x02</digit>"})},
        {"3A 21", 0, 0, 0, Lines({kOdd, "<Type_Of_Identity>(2)IMEI</Type_Of_Identity>", "<digit>0x03</digit>"})},
        {"35 01 02 03 64 F0 10 07 AA", 8, 1, 64,
         Lines({"<MBMS_Sess_ID_Indic>(1)MBMS Session Identity is present</MBMS_Sess_ID_Indic>",
                "<MCC_MNC_Indic>(1)MCC/MNC is present</MCC_MNC_Indic>", kEven, kTmgi,
                "<MBMS_Service_ID>66051</MBMS_Service_ID>", "<MCC>460</MCC>", "<MNC>25</MNC>",
                "<MBMS_Session_Identity>7</MBMS_Session_Identity>"})},
        {"15 FF FF FF 21 63 54", 4, 0, 32,  // over-short TMGI: read anyway, cut back
         Lines({"<MBMS_Sess_ID_Indic>(0)MBMS Session Identity is not present</MBMS_Sess_ID_Indic>",
                "<MCC_MNC_Indic>(1)MCC/MNC is present</MCC_MNC_Indic>", kEven, kTmgi,
                "<MBMS_Service_ID>16777215</MBMS_Service_ID>", "<MCC>123</MCC>", "<MNC>456</MNC>",
                "<MBMS_Session_Identity>0</MBMS_Session_Identity>"})},
        {"00 11 22 33", 3, 1, 24, Lines({kEven, "<Type_Of_Identity>(0)No Identity</Type_Of_Identity>"})},
        {"0E", 1, 1, 8, Lines({kOdd, "<Type_Of_Identity>(6)reserved</Type_Of_Identity>"})},
        {"49 06", -1, 0, 0, Lines({kEven, "<Type_Of_Identity>(0)No Identity</Type_Of_Identity>"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        EXPECT_EQ(ParseRender<MobileIdentity>(c.hex, 0, c.length, c.result, c.end, ParseMobileIdentity,
                                              RenderMobileIdentity),
                  c.text);
    }
    MobileIdentity overfull{};  // a digit count beyond the array renders the array alone
    overfull.identityType = 1;
    overfull.digitCount = 200;
    const std::string text = Rendered([&](OutputDocument& out) { RenderMobileIdentity(overfull, out); });
    EXPECT_EQ(text.size() - text.find("<digit>"), kMobileIdentityDigits * std::string("<digit>0x00</digit>\n").size());
}

TEST(PtmsiSignatureAndNonceTest, ParseAndRender) {
    struct Case {
        const char* hex;
        int32_t length, result, end;
        bool nonce;
        const char* text;
    };
    const Case cases[] = {
        {"01 02 03", 3, 1, 24, false, "<P_TMSI_SignatureValue>197121</P_TMSI_SignatureValue>\n"},
        {"FF FF FF 04 05", 5, 1, 40, false, "<P_TMSI_SignatureValue>16777215</P_TMSI_SignatureValue>\n"},
        {"01 02 03", 2, 0, 16, false, "<P_TMSI_SignatureValue>197121</P_TMSI_SignatureValue>\n"},
        {"01 02 03", -1, 0, 0, false, "<P_TMSI_SignatureValue>9</P_TMSI_SignatureValue>\n"},
        {"01 00 00 80", 4, 1, 32, true, "<NonceValue>-2147483647</NonceValue>\n"},
        {"78 56 34 12", 4, 1, 32, true, "<NonceValue>305419896</NonceValue>\n"},
        {"01 00 00 00 07", 3, 0, 24, true, "<NonceValue>1</NonceValue>\n"},
        {"01 00 00 00", -4, 0, 0, true, "<NonceValue>9</NonceValue>\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        const std::string text =
            c.nonce ? ParseRender<uint32_t>(c.hex, 0, c.length, c.result, c.end, ParseNonce, RenderNonce, 9)
                    : ParseRender<uint32_t>(c.hex, 0, c.length, c.result, c.end, ParsePtmsiSignature,
                                            RenderPtmsiSignature, 9);
        EXPECT_EQ(text, c.text);
    }
}

// The sixteen one-octet elements of `name`: `value` first, zeros after.
std::string AuthLines(const char* name, const std::vector<uint8_t>& value) {
    std::string text;
    for (size_t i = 0; i < kAuthParameterOctets; ++i) {
        char line[48];
        std::snprintf(line, sizeof line, "<%s>0x%02X</%s>\n", name, i < value.size() ? value[i] : 0, name);
        text += line;
    }
    return text;
}

struct AuthOctets {
    uint8_t octets[kAuthParameterOctets];
};

TEST(AuthOctetStringTest, ParseAndRender) {
    struct Case {
        const char* hex;
        int32_t start, length, result, end;
        const char* kept;  // the octets expected at the start of the array
    };
    const Case cases[] = {
        {"11 22 33 44 55 66 77 88", 0, 8, 1, 64, "11 22 33 44 55 66 77 88"},
        {"30 0E A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD 99", 2, 14, 1, 128,
         "A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD"},
        {"F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF", 0, 16, 1, 128,
         "F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF"},
        {"01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 99", 0, 17, 1, 136, ""},  // too long: skipped
        {"01 02 03 04 05 06 07 08 09 0A", 0, 17, 1, 80, ""},  // past the message: to its end
        {"AA 01 02 03 04 05", 1, 8, 1, 48, ""},
        {"01 02", 0, 0, 1, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        AuthOctets stale;
        for (uint8_t& octet : stale.octets) octet = 0xEE;  // an earlier value never shows through
        const auto parse = [](BitCursor& cursor, int32_t length, AuthOctets& r) {
            return ParseAuts(cursor, length, r.octets);
        };
        const auto render = [](const AuthOctets& r, OutputDocument& out) { return RenderAuts(r.octets, out); };
        EXPECT_EQ(ParseRender(c.hex, c.start, c.length, c.result, c.end, parse, render, stale),
                  AuthLines("AUTS", Hex(c.kept)));
    }
    uint8_t octets[kAuthParameterOctets] = {0x11, 0x22};
    const std::vector<uint8_t> message = Hex("01 02");
    BitCursor cursor;
    LoadBits(cursor, message.data(), 2);
    EXPECT_EQ(ParseRes(cursor, -1, octets), 0);
    EXPECT_EQ(cursor.position, 0);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderRes(octets, out), 1); }),
              AuthLines("RES", {0x11, 0x22}));
}

TEST(IdentityRenderersTest, WithoutBufferReturnZeroAndWriteNothing) {
    OutputDocument out;
    const uint8_t octets[kAuthParameterOctets] = {1};
    EXPECT_EQ(RenderEpsMobileIdentity(EpsMobileIdentity{0, 6, 460, 1, 1, 1, 1, 0}, out), 0);
    EXPECT_EQ(RenderMobileIdentity(MobileIdentity{1, 1, 1, {4}, 0, 0, 0, 0, 0, 0}, out), 0);
    EXPECT_EQ(RenderPtmsiSignature(1, out) + RenderNonce(1, out) + RenderAuts(octets, out) + RenderRes(octets, out), 0);
    EXPECT_EQ(out.Required(), 0u);
}

}  // namespace
}  // namespace corvuna
