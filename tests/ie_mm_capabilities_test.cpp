// SPDX-License-Identifier: Apache-2.0
// Capability elements: UE network, UE security and MS network capability,
// mobile station classmark 2, DRX parameter, EPS network feature support.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "legacy/ie/mm/capabilities.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;
using test::Lines;
using test::Rendered;

struct Parsed {
    int result;
    int32_t position;
};

// Runs `parse` over `message` with the cursor on octet `startOctet`.
template <typename Record>
Parsed RunParse(int (*parse)(BitCursor&, int32_t, Record&), const std::vector<uint8_t>& message,
                int32_t startOctet, int32_t length, Record& record) {
    BitCursor cursor;
    LoadBits(cursor, message.data(), static_cast<uint32_t>(message.size()));
    cursor.position = startOctet * 8;
    const int result = parse(cursor, length, record);
    return {result, cursor.position};
}

// The record's flag octets as '0'/'1' characters (records made only of
// one-octet flags).
template <typename Record>
std::string FlagString(const Record& record, size_t offset = 0) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    std::string flags;
    for (size_t i = offset; i < sizeof(Record); ++i) flags += bytes[i] == 0 ? '0' : bytes[i] == 1 ? '1' : '?';
    return flags;
}

// Expected flags written with blanks between groups.
std::string Compact(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

size_t LineCount(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

// A record filled with a marker, to show that a parser left it alone.
template <typename Record>
Record Marked() {
    Record record;
    std::memset(&record, 0x77, sizeof record);
    return record;
}

template <typename Record>
bool StillMarked(const Record& record) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    return std::all_of(bytes, bytes + sizeof record, [](uint8_t b) { return b == 0x77; });
}

// ---------------------------------------------------------------------------
// UE network capability

struct UeNetworkCase {
    const char* label;
    const char* hex;
    int32_t start;   // octet the value starts at
    int32_t length;  // declared
    int result;
    int32_t position;  // bits, after the parse
    const char* flags;  // EEA0-7 EIA1-7 UEA0-7 UCS2 UIA1-7 SRVCC
};

const UeNetworkCase kUeNetworkCases[] = {
    {"EPS octets only, message ends", "E0 E0", 0, 2, 0, 16, "11100000 1100000 00000000 0 0000000 0"},
    {"EPS octets only, next IE over-read", "07 E0 E0 5C 00 0A", 1, 2, 0, 24,
     "11100000 1100000 01011100 0 0000000 1"},
    {"all set, EIA0 not kept", "FF FF FF FF FF", 0, 5, 1, 40, "11111111 1111111 11111111 1 1111111 1"},
    {"first and last bits", "80 40 80 01 FD", 0, 5, 1, 40, "10000000 1000000 10000000 0 0000001 0"},
    {"UCS2 and SRVCC only", "00 80 00 80 02", 0, 5, 1, 40, "00000000 0000000 00000000 1 0000000 1"},
    {"longer element skipped to its end", "E0 E0 C0 40 02 AA BB 01", 0, 7, 1, 56,
     "11100000 1100000 11000000 0 1000000 1"},
    {"declared end beyond the message", "E0 E0 C0 40 02 AA BB", 0, 9, 1, 40,
     "11100000 1100000 11000000 0 1000000 1"},
    {"length 0 moves back to the start", "E0 E0 C0 40 02", 0, 0, 0, 0, "11100000 1100000 11000000 0 1000000 1"},
};

TEST(UeNetworkCapabilityTest, ParsesFlagsAndReconcilesCursor) {
    for (const UeNetworkCase& c : kUeNetworkCases) {
        SCOPED_TRACE(c.label);
        UeNetworkCapability record{};
        const Parsed parsed = RunParse(ParseUeNetworkCapability, Hex(c.hex), c.start, c.length, record);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(FlagString(record), Compact(c.flags));
    }
}

TEST(UeNetworkCapabilityTest, NegativeLengthReadsNothing) {
    auto record = Marked<UeNetworkCapability>();
    const Parsed parsed = RunParse(ParseUeNetworkCapability, Hex("07 E0 E0"), 1, -1, record);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 8);
    EXPECT_TRUE(StillMarked(record));
}

// One line of an algorithm flag: prefix, name, "supported" or "not supported".
std::string AlgorithmLine(const std::string& element, int flag, const std::string& prefix, const std::string& name) {
    return "<" + element + ">(" + std::to_string(flag) + ")" + prefix + " " + name +
           (flag != 0 ? " supported" : " not supported") + "</" + element + ">\n";
}

TEST(UeNetworkCapabilityTest, RendersAllThirtyTwoElements) {
    // The EPS octets only: octets 3-5 are over-read from what follows.
    struct Case {
        const char* hex;
        const char* ucs2Line;
        const char* srvccLine;
    };
    const Case cases[] = {
        {"E0 E0 00 00 00",
         "<UCS2>(0)The UE has preference between the use of the default alphabet and the use of UCS2</UCS2>\n",
         "<SRVCC>(0)SRVCC from E-UTRAN to cdma2000 1x CS not supported</SRVCC>\n"},
        {"E0 E0 00 80 02",
         "<UCS2>(1)The UE has no preference between the use of the default alphabet and the use of UCS2</UCS2>\n",
         "<SRVCC>(1)SRVCC from E-UTRAN to cdma2000 1x CS supported</SRVCC>\n"},
    };
    const std::string eeaNames[8] = {"EEA0", "128-EEA1", "128-EEA2", "EEA3", "EEA4", "EEA5", "EEA6", "EEA7"};
    const std::string eiaNames[7] = {"128-EIA1", "128-EIA2", "EIA3", "EIA4", "EIA5", "EIA6", "EIA7"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hex);
        UeNetworkCapability record{};
        RunParse(ParseUeNetworkCapability, Hex(c.hex), 0, 2, record);
        std::string expected;
        for (int i = 0; i < 8; ++i)
            expected += AlgorithmLine("EEA" + std::to_string(i), i < 3, "EPS encryption algorithm", eeaNames[i]);
        for (int i = 0; i < 7; ++i)
            expected += AlgorithmLine("EIA" + std::to_string(i + 1), i < 2, "EPS integrity algorithm", eiaNames[i]);
        for (int i = 0; i < 8; ++i)
            expected +=
                AlgorithmLine("UEA" + std::to_string(i), 0, "UMTS encryption algorithm", "UEA" + std::to_string(i));
        expected += c.ucs2Line;
        for (int i = 1; i <= 7; ++i)
            expected +=
                AlgorithmLine("UIA" + std::to_string(i), 0, "UMTS integrity algorithm", "UIA" + std::to_string(i));
        expected += c.srvccLine;

        int result = 0;
        const std::string text =
            Rendered([&](OutputDocument& out) { result = RenderUeNetworkCapability(record, out); });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(LineCount(text), 32u);
        EXPECT_EQ(text, expected);
        EXPECT_NE(text.find("<EEA1>(1)EPS encryption algorithm 128-EEA1 supported</EEA1>\n"), std::string::npos);
        EXPECT_NE(text.find("<UIA7>(0)UMTS integrity algorithm UIA7 not supported</UIA7>\n"), std::string::npos);
    }
}

// ---------------------------------------------------------------------------
// UE security capability

struct UeSecurityCase {
    const char* label;
    const char* hex;
    int32_t length;
    int result;
    int32_t position;
    const char* flags;  // presence UMTS UIA GPRS, EEA0-7 EIA1-7 UEA0-7 UIA1-7 GEA1-7
    size_t elements;    // rendered
};

const UeSecurityCase kUeSecurityCases[] = {
    {"EPS octets only", "E0 E0 FF FF FF", 2, 1, 16, "000 11100000 1100000 00000000 0000000 0000000", 15},
    {"with UMTS encryption", "E0 E0 C0 FF FF", 3, 1, 24, "100 11100000 1100000 11000000 0000000 0000000", 23},
    {"with UMTS integrity, spare bit 8", "E0 E0 C0 C0 FF", 4, 1, 32, "110 11100000 1100000 11000000 1000000 0000000",
     30},
    {"with GPRS, spare bit 8", "E0 E0 C0 C0 FF", 5, 1, 40, "111 11100000 1100000 11000000 1000000 1111111", 37},
    {"longer element skipped", "F0 70 01 7F 01 00 00", 7, 1, 56, "111 11110000 1110000 00000001 1111111 0000001",
     37},
    {"declared end beyond the message", "F0 70 01 7F 01", 8, 1, 40, "111 11110000 1110000 00000001 1111111 0000001",
     37},
    {"length 1 over-reads the second octet", "80 40 00", 1, 0, 8, "000 10000000 1000000 00000000 0000000 0000000", 15},
    {"length 0", "80 40 00", 0, 0, 0, "000 10000000 1000000 00000000 0000000 0000000", 15},
};

TEST(UeSecurityCapabilityTest, ParsesPresentOctetsAndReconcilesCursor) {
    for (const UeSecurityCase& c : kUeSecurityCases) {
        SCOPED_TRACE(c.label);
        UeSecurityCapability record{};
        const Parsed parsed = RunParse(ParseUeSecurityCapability, Hex(c.hex), 0, c.length, record);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(FlagString(record), Compact(c.flags));
        const std::string text = Rendered([&](OutputDocument& out) { RenderUeSecurityCapability(record, out); });
        EXPECT_EQ(LineCount(text), c.elements);
    }
}

TEST(UeSecurityCapabilityTest, NegativeLengthReadsNothing) {
    auto record = Marked<UeSecurityCapability>();
    const Parsed parsed = RunParse(ParseUeSecurityCapability, Hex("E0 E0"), 0, -2, record);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_TRUE(StillMarked(record));
}

TEST(UeSecurityCapabilityTest, RendersEpsOctetsWithTheirOwnClearTexts) {
    UeSecurityCapability record{};
    RunParse(ParseUeSecurityCapability, Hex("60 40"), 0, 2, record);
    const std::string expected = Lines({
        "<EEA0>(0)EPS encryption algorithm EEA0 not supported</EEA0>",
        "<EEA1>(1)EPS encryption algorithm 128-EEA1 supported</EEA1>",
        "<EEA2>(1)EPS encryption algorithm 128-EEA2 supported</EEA2>",
        "<EEA3>(0)EEPS encryption algorithm EEA3 not supported</EEA3>",
        "<EEA4>(0)EEPS encryption algorithm EEA4 not supported</EEA4>",
        "<EEA5>(0)EEPS encryption algorithm EEA5 not supported</EEA5>",
        "<EEA6>(0)EEPS encryption algorithm EEA6 not supported</EEA6>",
        "<EEA7>(0)EEPS encryption algorithm EEA7 not supported</EEA7>",
        "<EIA1>(1)EPS integrity algorithm 128-EIA1 supported</EIA1>",
        "<EIA2>(0)EPS integrity algorithm 128-EIA2 not supported</EIA2>",
        "<EIA3>(0)EPS integrity algorithm EIA3 not supported</EIA3>",
        "<EIA4>(0)EPS integrity algorithm EIA4 not supported</EIA4>",
        "<EIA5>(0)EPS integrity algorithm EIA5 not supported</EIA5>",
        "<EIA6>(0)EPS integrity algorithm EIA6 not supported</EIA6>",
        "<EIA7>(0)EPS integrity algorithm EIA7 not supported</EIA7>",
    });
    int result = 0;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderUeSecurityCapability(record, out); }), expected);
    EXPECT_EQ(result, 1);
}

TEST(UeSecurityCapabilityTest, RendersUmtsUiaAndGprsOctets) {
    UeSecurityCapability record{};
    RunParse(ParseUeSecurityCapability, Hex("FF 7F 08 01 40"), 0, 5, record);
    const std::string text = Rendered([&](OutputDocument& out) { RenderUeSecurityCapability(record, out); });
    const std::string expectedTail = Lines({
        "<UEA0>(0)UMTS encryption algorithm UEA0 not supported</UEA0>",
        "<UEA1>(0)UMTS encryption algorithm UEA1 not supported</UEA1>",
        "<UEA2>(0)UMTS encryption algorithm UEA2 not supported</UEA2>",
        "<UEA3>(0)UMTS encryption algorithm UEA3 not supported</UEA3>",
        "<UEA14>(1)UMTS encryption algorithm UEA4 supported</UEA14>",
        "<UEA5>(0)UMTS encryption algorithm UEA5 not supported</UEA5>",
        "<UEA6>(0)UMTS encryption algorithm UEA6 not supported</UEA6>",
        "<UEA7>(0)UMTS encryption algorithm UEA7 not supported</UEA7>",
        "<UIA1>(0)UMTS integrity algorithm UIA1 not supported</UIA1>",
        "<UIA2>(0)UMTS integrity algorithm UIA2 not supported</UIA2>",
        "<UIA3>(0)UMTS integrity algorithm UIA3 not supported</UIA3>",
        "<UIA4>(0)UMTS integrity algorithm UIA4 not supported</UIA4>",
        "<UIA5>(0)UMTS integrity algorithm UIA5 not supported</UIA5>",
        "<UIA6>(0)UMTS integrity algorithm UIA6 not supported</UIA6>",
        "<UIA7>(1)UMTS integrity algorithm UIA7 supported</UIA7>",
        "<GEA1>(1)GPRS encryption algorithm GEA1 supported</GEA1>",
        "<GEA2>(0)GPRS encryption algorithm GEA2 not supported</GEA2>",
        "<GEA3>(0)GPRS encryption algorithm GEA3 not supported</GEA3>",
        "<GEA4>(0)GPRS encryption algorithm GEA4 not supported</GEA4>",
        "<GEA5>(0)GPRS encryption algorithm GEA5 not supported</GEA5>",
        "<GEA6>(0)GPRS encryption algorithm GEA6 not supported</GEA6>",
        "<GEA7>(0)GPRS encryption algorithm GEA7 not supported</GEA7>",
    });
    ASSERT_EQ(LineCount(text), 37u);
    EXPECT_EQ(text.substr(text.size() - expectedTail.size()), expectedTail);
    EXPECT_NE(text.find("<EEA7>(1)EPS encryption algorithm EEA7 supported</EEA7>\n"), std::string::npos);
    EXPECT_NE(text.find("<EIA7>(1)EPS integrity algorithm EIA7 supported</EIA7>\n"), std::string::npos);
}

TEST(UeSecurityCapabilityTest, ElementParsedAgainReplacesTheEarlierOne) {
    UeSecurityCapability record{};
    RunParse(ParseUeSecurityCapability, Hex("E0 E0 FF FF FF"), 0, 5, record);
    RunParse(ParseUeSecurityCapability, Hex("80 40"), 0, 2, record);
    EXPECT_EQ(FlagString(record).substr(0, 3), "000");
    const std::string text = Rendered([&](OutputDocument& out) { RenderUeSecurityCapability(record, out); });
    EXPECT_EQ(LineCount(text), 15u);
}

// ---------------------------------------------------------------------------
// MS network capability

TEST(MsNetworkCapabilityTest, ParsesAndRendersAllTwentyTwoElements) {
    MsNetworkCapability record{};
    const Parsed parsed = RunParse(ParseMsNetworkCapability, Hex("B9 AA 6B"), 0, 3, record);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 24);
    EXPECT_EQ(record.geranNetworkSharing, 1);
    EXPECT_EQ(record.ssScreeningIndicator, 2);
    const std::string expected = Lines({
        "<GEA1>(1)encryption algorithm GEA/1 available</GEA1>",
        "<SM_capabilities_via_dedicated_channels>(0)Mobile station does not support mobile terminated point to "
        "point SMS via CS domain</SM_capabilities_via_dedicated_channels>",
        "<SM_capabilities_via_GPRS_channels>(1)Mobile station supports mobile terminated point to point SMS via PS "
        "domain</SM_capabilities_via_GPRS_channels>",
        "<UCS2>(1)the ME has no preference between the use of the default alphabet and the use of UCS2</UCS2>",
        "<SS_Screening_Indicator>2</SS_Screening_Indicator>",
        "<SoLSA_capability>(0)location request notification via PS domain not supported</SoLSA_capability>",
        "<Revision_level_indicator>(1)used by a mobile station supporting R99 or later versions of the "
        "protocol</Revision_level_indicator>",
        "<PFC_feature_mode>(1)Mobile station supports BSS packet flow procedures</PFC_feature_mode>",
        "<GEA2>(0)encryption algorithm GEA/2 not available</GEA2>",
        "<GEA3>(1)encryption algorithm GEA/3 available</GEA3>",
        "<GEA4>(0)encryption algorithm GEA/4 not available</GEA4>",
        "<GEA5>(1)encryption algorithm GEA/5 available</GEA5>",
        "<GEA6>(0)encryption algorithm GEA/6 not available</GEA6>",
        "<GEA7>(1)encryption algorithm GEA/7 available</GEA7>",
        "<LCS_VA_capability>(0)location request notification via PS domain not supported</LCS_VA_capability>",
        "<PS_inter_RAT_HO_Iu>(0)PS inter-RAT HO from GERAN to UTRAN Iu mode not supported</PS_inter_RAT_HO_Iu>",
        "<PS_inter_RAT_HO_S1>(1)PS inter-RAT HO from GERAN to E-UTRAN S1 mode supported</PS_inter_RAT_HO_S1>",
        "<EMM_combined_procedure_capability>(1)Mobile station supports EMM combined "
        "procedures</EMM_combined_procedure_capability>",
        "<ISR>(0)The mobile station does not support ISR.</ISR>",
        "<SRVCC_to_GERAN_OR_UTRAN_capability>(1)SRVCC from UTRAN HSPA or E-UTRAN to GERAN/UTRAN "
        "supported</SRVCC_to_GERAN_OR_UTRAN_capability>",
        "<EPC>(0)EPC not supported</EPC>",
        "<NF>(1)Mobile station supports the notification procedure</NF>",
    });
    int result = 0;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderMsNetworkCapability(record, out); }), expected);
    EXPECT_EQ(result, 1);
}

TEST(MsNetworkCapabilityTest, RendersComplementaryTexts) {
    MsNetworkCapability record{};
    RunParse(ParseMsNetworkCapability, Hex("46 55 94"), 0, 3, record);
    const std::string expected = Lines({
        "<GEA1>(0)encryption algorithm GEA/1 not available</GEA1>",
        "<SM_capabilities_via_dedicated_channels>(1)Mobile station supports mobile terminated point to point SMS "
        "via CS domain</SM_capabilities_via_dedicated_channels>",
        "<SM_capabilities_via_GPRS_channels>(0)Mobile station does not support mobile terminated point to point "
        "SMS via PS domain</SM_capabilities_via_GPRS_channels>",
        "<UCS2>(0)the ME has a preference for the default alphabet over UCS2</UCS2>",
        "<SS_Screening_Indicator>1</SS_Screening_Indicator>",
        "<SoLSA_capability>(1)location request notification via PS domain supported</SoLSA_capability>",
        "<Revision_level_indicator>(0)used by a mobile station not supporting R99 or later versions of the "
        "protocol</Revision_level_indicator>",
        "<PFC_feature_mode>(0)Mobile station does not support BSS packet flow procedures</PFC_feature_mode>",
        "<GEA2>(1)encryption algorithm GEA/2 available</GEA2>",
        "<GEA3>(0)encryption algorithm GEA/3 not available</GEA3>",
        "<GEA4>(1)encryption algorithm GEA/4 available</GEA4>",
        "<GEA5>(0)encryption algorithm GEA/5 not available</GEA5>",
        "<GEA6>(1)encryption algorithm GEA/6 available</GEA6>",
        "<GEA7>(0)encryption algorithm GEA/7 not available</GEA7>",
        "<LCS_VA_capability>(1)location request notification via PS domain supported</LCS_VA_capability>",
        "<PS_inter_RAT_HO_Iu>(1)PS inter-RAT HO from GERAN to UTRAN Iu mode supported</PS_inter_RAT_HO_Iu>",
        "<PS_inter_RAT_HO_S1>(0)PS inter-RAT HO from GERAN to E-UTRAN S1 mode not supported</PS_inter_RAT_HO_S1>",
        "<EMM_combined_procedure_capability>(0)Mobile station does not support EMM combined "
        "procedures</EMM_combined_procedure_capability>",
        "<ISR>(1)The mobile station supports ISR.</ISR>",
        "<SRVCC_to_GERAN_OR_UTRAN_capability>(0)SRVCC from UTRAN HSPA or E-UTRAN to GERAN/UTRAN not "
        "supported</SRVCC_to_GERAN_OR_UTRAN_capability>",
        "<EPC>(1)EPC supported</EPC>",
        "<NF>(0)Mobile station does not support the notification procedure</NF>",
    });
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderMsNetworkCapability(record, out); }), expected);
    EXPECT_EQ(record.geranNetworkSharing, 0);
}

struct LengthCase {
    const char* label;
    const char* hex;
    int32_t start;
    int32_t length;
    int result;
    int32_t position;
};

const LengthCase kMsNetworkLengthCases[] = {
    {"exact", "B9 AA 6B", 0, 3, 1, 24},
    {"two octets: the third is over-read", "31 B9 AA 6B", 1, 2, 0, 24},
    {"one octet", "B9 AA 6B", 0, 1, 0, 8},
    {"longer element skipped", "B9 AA 6B 00 00 00", 0, 5, 1, 40},
    {"declared end beyond the message", "B9 AA 6B 00", 0, 6, 1, 24},
    {"length 0", "B9 AA 6B", 0, 0, 0, 0},
};

TEST(MsNetworkCapabilityTest, ReconcilesCursorWithDeclaredLength) {
    for (const LengthCase& c : kMsNetworkLengthCases) {
        SCOPED_TRACE(c.label);
        MsNetworkCapability record{};
        const Parsed parsed = RunParse(ParseMsNetworkCapability, Hex(c.hex), c.start, c.length, record);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        // The three octets are read whatever the length.
        EXPECT_EQ(record.gea[6], 1);
        EXPECT_EQ(record.nf, 1);
    }
}

TEST(MsNetworkCapabilityTest, NegativeLengthReadsNothing) {
    auto record = Marked<MsNetworkCapability>();
    const Parsed parsed = RunParse(ParseMsNetworkCapability, Hex("B9 AA 6B"), 0, -1, record);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_TRUE(StillMarked(record));
}

// ---------------------------------------------------------------------------
// Mobile station classmark 2

TEST(MobileStationClassmark2Test, RendersWorkedValue) {
    MobileStationClassmark2 record{};
    const Parsed parsed = RunParse(ParseMobileStationClassmark2, Hex("33 19 81"), 0, 3, record);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 24);
    const std::string expected = Lines({
        "<Revision_Level>(1)Used by GSM phase 2 mobile stations</Revision_Level>",
        "<ES_IND>(1)Controlled Early Classmark Sending option is implemented in the MS</ES_IND>",
        "<A5_1>(0)encryption algorithm A5/1 available</A5_1>",
        "<RF_Power_capability>(3)class 4</RF_Power_capability>",
        "<PS_capability>(0)PS capability not present</PS_capability>",
        "<SS_Screen_Indicator>1</SS_Screen_Indicator>",
        "<SM_capability>(1)Mobile station supports mobile terminated point to point SMS</SM_capability>",
        "<VBS_notification_reception>(0)no VBS capability or no notifications wanted</VBS_notification_reception>",
        "<VGCS_notification_reception>(0)no VGCS capability or no notifications "
        "wanted</VGCS_notification_reception>",
        "<FC_Frequency_Capability>1</FC_Frequency_Capability>",
        "<CM3>(1)The MS supports options that are indicated in classmark 3 IE</CM3>",
        "<LCS_VA_capability>(0)location request notification via CS domain not supported</LCS_VA_capability>",
        "<UCS2_treatment>(0)the ME has a preference for the default alphabet over UCS2</UCS2_treatment>",
        "<SoLSA>(0)The ME does not support SoLSA</SoLSA>",
        "<CM_Service_Prompt>(0)Network initiated MO CM connection request not supported</CM_Service_Prompt>",
        "<A5_3>(0)encryption algorithm A5/3 not available</A5_3>",
        "<A5_2>(1)Not used. This value was allocated in earlier versions of the protocol</A5_2>",
    });
    int result = 0;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderMobileStationClassmark2(record, out); }), expected);
    EXPECT_EQ(result, 1);
}

TEST(MobileStationClassmark2Test, RendersComplementaryTexts) {
    MobileStationClassmark2 record{};
    RunParse(ParseMobileStationClassmark2, Hex("08 66 7E"), 0, 3, record);
    const std::string expected = Lines({
        "<Revision_Level>(0)Reserved for GSM phase 1</Revision_Level>",
        "<ES_IND>(0)Controlled Early Classmark Sending option is not implemented in the MS</ES_IND>",
        "<A5_1>(1)encryption algorithm A5/1 not available</A5_1>",
        "<RF_Power_capability>(0)class 1</RF_Power_capability>",
        "<PS_capability>(1)PS capability present</PS_capability>",
        "<SS_Screen_Indicator>2</SS_Screen_Indicator>",
        "<SM_capability>(0)Mobile station does not support mobile terminated point to point SMS</SM_capability>",
        "<VBS_notification_reception>(1)VBS capability or no notifications wanted</VBS_notification_reception>",
        "<VGCS_notification_reception>(1)VGCS capability or no notifications wanted</VGCS_notification_reception>",
        "<FC_Frequency_Capability>0</FC_Frequency_Capability>",
        "<CM3>(0)The MS does not support any options that are indicated in CM3</CM3>",
        "<LCS_VA_capability>(1)location request notification via CS domain supported</LCS_VA_capability>",
        "<UCS2_treatment>(1)the ME has no preference between the use of the default alphabet and the use of "
        "UCS2</UCS2_treatment>",
        "<SoLSA>(1)The ME supports SoLSA</SoLSA>",
        "<CM_Service_Prompt>(1)Network initiated MO CM connection request supported for at least one CM "
        "protocol</CM_Service_Prompt>",
        "<A5_3>(1)encryption algorithm A5/3 available</A5_3>",
        "<A5_2>(0)encryption algorithm A5/2 not available</A5_2>",
    });
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderMobileStationClassmark2(record, out); }), expected);
}

struct Classmark2Octet1Case {
    const char* hex;
    const char* revisionLine;
    const char* rfPowerLine;
};

const Classmark2Octet1Case kClassmark2Octet1Cases[] = {
    {"00 00 00", "<Revision_Level>(0)Reserved for GSM phase 1</Revision_Level>",
     "<RF_Power_capability>(0)class 1</RF_Power_capability>"},
    {"A1 00 00", "<Revision_Level>(1)Used by GSM phase 2 mobile stations</Revision_Level>",
     "<RF_Power_capability>(1)class 2</RF_Power_capability>"},
    {"C2 00 00",
     "<Revision_Level>(2)Used by mobile stations supporting R99 or later versions of the protocol</Revision_Level>",
     "<RF_Power_capability>(2)class 3</RF_Power_capability>"},
    {"64 00 00",
     "<Revision_Level>(3)Reserved for future use. If the network receives a revision level specified as 'reserved "
     "for future use', then it shall use the highest revision level supported by the network.</Revision_Level>",
     "<RF_Power_capability>(4)class 5</RF_Power_capability>"},
    {"05 00 00", "<Revision_Level>(0)Reserved for GSM phase 1</Revision_Level>",
     "<RF_Power_capability>(5)reserved</RF_Power_capability>"},
    {"06 00 00", "<Revision_Level>(0)Reserved for GSM phase 1</Revision_Level>",
     "<RF_Power_capability>(6)reserved</RF_Power_capability>"},
    {"FF 00 00",
     "<Revision_Level>(3)Reserved for future use. If the network receives a revision level specified as 'reserved "
     "for future use', then it shall use the highest revision level supported by the network.</Revision_Level>",
     "<RF_Power_capability>(7)reserved</RF_Power_capability>"},
};

TEST(MobileStationClassmark2Test, RendersRevisionLevelAndRfPowerValues) {
    for (const Classmark2Octet1Case& c : kClassmark2Octet1Cases) {
        SCOPED_TRACE(c.hex);
        MobileStationClassmark2 record{};
        RunParse(ParseMobileStationClassmark2, Hex(c.hex), 0, 3, record);
        const std::string text = Rendered([&](OutputDocument& out) { RenderMobileStationClassmark2(record, out); });
        EXPECT_NE(text.find(std::string(c.revisionLine) + "\n"), std::string::npos) << text;
        EXPECT_NE(text.find(std::string(c.rfPowerLine) + "\n"), std::string::npos) << text;
    }
}

const LengthCase kClassmark2LengthCases[] = {
    {"exact", "33 19 81", 0, 3, 1, 24},
    {"two octets: the third is over-read", "11 33 19 81", 1, 2, 0, 24},
    {"longer element skipped", "33 19 81 00 00", 0, 5, 1, 40},
    {"declared end beyond the message", "33 19 81", 0, 4, 1, 24},
    {"length 0", "33 19 81", 0, 0, 0, 0},
};

TEST(MobileStationClassmark2Test, ReconcilesCursorWithDeclaredLength) {
    for (const LengthCase& c : kClassmark2LengthCases) {
        SCOPED_TRACE(c.label);
        MobileStationClassmark2 record{};
        const Parsed parsed = RunParse(ParseMobileStationClassmark2, Hex(c.hex), c.start, c.length, record);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(record.rfPowerCapability, 3);
        EXPECT_EQ(record.a52, 1);
    }
}

TEST(MobileStationClassmark2Test, NegativeLengthReadsNothing) {
    auto record = Marked<MobileStationClassmark2>();
    const Parsed parsed = RunParse(ParseMobileStationClassmark2, Hex("33 19 81"), 0, -3, record);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_TRUE(StillMarked(record));
}

// ---------------------------------------------------------------------------
// DRX parameter

TEST(DrxParameterTest, RendersWorkedValue) {
    DrxParameter record{};
    const Parsed parsed = RunParse(ParseDrxParameter, Hex("00 0A"), 0, 2, record);
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.position, 16);
    const std::string expected = Lines({
        "<split_cycle_code>0</split_cycle_code>",
        "<CN_Specific_DRX_cycle_length_coefficient_and_DRX_value_for_S1_mode>(0)For Iu mode, CN Specific DRX cycle "
        "length coefficient not specified by the MS. For S1 mode, DRX value not specified by the "
        "MS</CN_Specific_DRX_cycle_length_coefficient_and_DRX_value_for_S1_mode>",
        "<split_on_CCCH>(1)Split pg cycle on CCCH is supported by the mobile station</split_on_CCCH>",
        "<non_DRX_timer>(2)max.2 sec non-DRX mode after transfer state</non_DRX_timer>",
    });
    int result = 0;
    EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderDrxParameter(record, out); }), expected);
    EXPECT_EQ(result, 1);
}

struct DrxCase {
    const char* hex;
    const char* lines;  // the expected lines, each ended by "\n"
};

const DrxCase kDrxCases[] = {
    {"C8 60",
     "<split_cycle_code>200</split_cycle_code>\n"
     "<CN_Specific_DRX_cycle_length_coefficient_and_DRX_value_for_S1_mode>(6)CN Specific DRX cycle length "
     "coefficient 6 and T = 32</CN_Specific_DRX_cycle_length_coefficient_and_DRX_value_for_S1_mode>\n"
     "<split_on_CCCH>(0)Split pg cycle on CCCH is not supported by the mobile station</split_on_CCCH>\n"
     "<non_DRX_timer>(0)no non-DRX mode after transfer state</non_DRX_timer>\n"},
    {"00 71", "(7)CN Specific DRX cycle length coefficient 7 and T = 64</CN_Specific"},
    {"00 81", "(8)CN Specific DRX cycle length coefficient 8 and T = 128</CN_Specific"},
    {"00 91", "(9)CN Specific DRX cycle length coefficient 9 and T = 256</CN_Specific"},
    {"00 50",
     "(5)CN Specific DRX cycle length coefficient not specified by the MS.DRX value not specified by the "
     "MS</CN_Specific"},
    {"00 F0",
     "(15)CN Specific DRX cycle length coefficient not specified by the MS.DRX value not specified by the "
     "MS</CN_Specific"},
    {"00 01", "<non_DRX_timer>(1)max.1 sec non-DRX mode after transfer state</non_DRX_timer>\n"},
    {"00 03", "<non_DRX_timer>(3)max.4 sec non-DRX mode after transfer state</non_DRX_timer>\n"},
    {"00 04", "<non_DRX_timer>(4)max.8 sec non-DRX mode after transfer state</non_DRX_timer>\n"},
    {"00 05", "<non_DRX_timer>(5)max.16 sec non-DRX mode after transfer state</non_DRX_timer>\n"},
    {"00 06", "<non_DRX_timer>(6)max.32 sec non-DRX mode after transfer state</non_DRX_timer>\n"},
    {"00 0F",
     "<split_on_CCCH>(1)Split pg cycle on CCCH is supported by the mobile station</split_on_CCCH>\n"
     "<non_DRX_timer>(7)max.64 sec non-DRX mode after transfer state</non_DRX_timer>\n"},
};

TEST(DrxParameterTest, RendersEachCodedValue) {
    for (const DrxCase& c : kDrxCases) {
        SCOPED_TRACE(c.hex);
        DrxParameter record{};
        RunParse(ParseDrxParameter, Hex(c.hex), 0, 2, record);
        const std::string text = Rendered([&](OutputDocument& out) { RenderDrxParameter(record, out); });
        EXPECT_EQ(LineCount(text), 4u);
        EXPECT_NE(text.find(c.lines), std::string::npos) << text;
    }
}

const LengthCase kDrxLengthCases[] = {
    {"fixed length 2", "5C 00 0A 17", 1, 2, 1, 24},
    {"length 1: second octet over-read", "00 0A", 0, 1, 0, 8},
    {"length 3 skips an octet", "00 0A 17", 0, 3, 1, 24},
    {"length 0", "00 0A", 0, 0, 0, 0},
};

TEST(DrxParameterTest, ReconcilesCursorWithDeclaredLength) {
    for (const LengthCase& c : kDrxLengthCases) {
        SCOPED_TRACE(c.label);
        DrxParameter record{};
        const Parsed parsed = RunParse(ParseDrxParameter, Hex(c.hex), c.start, c.length, record);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        EXPECT_EQ(record.nonDrxTimer, 2);
    }
    auto record = Marked<DrxParameter>();
    const Parsed parsed = RunParse(ParseDrxParameter, Hex("00 0A"), 0, -1, record);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_TRUE(StillMarked(record));
}

// ---------------------------------------------------------------------------
// EPS network feature support

struct FeatureCase {
    const char* hex;
    int32_t length;
    int result;
    int32_t position;
    const char* line;
};

const FeatureCase kFeatureCases[] = {
    {"01", 1, 1, 8, "<IMS_VoPS>(1)IMS voice over PS session in S1 mode supported</IMS_VoPS>\n"},
    {"FE", 1, 1, 8, "<IMS_VoPS>(0)IMS voice over PS session in S1 mode not supported</IMS_VoPS>\n"},
    {"03 00", 2, 1, 16, "<IMS_VoPS>(1)IMS voice over PS session in S1 mode supported</IMS_VoPS>\n"},
    {"01", 3, 1, 8, "<IMS_VoPS>(1)IMS voice over PS session in S1 mode supported</IMS_VoPS>\n"},
    {"01 64", 0, 0, 0, "<IMS_VoPS>(1)IMS voice over PS session in S1 mode supported</IMS_VoPS>\n"},
};

TEST(EpsNetworkFeatureSupportTest, ParsesImsVoPsAndRendersIt) {
    for (const FeatureCase& c : kFeatureCases) {
        SCOPED_TRACE(c.hex);
        EpsNetworkFeatureSupport record{};
        const Parsed parsed = RunParse(ParseEpsNetworkFeatureSupport, Hex(c.hex), 0, c.length, record);
        EXPECT_EQ(parsed.result, c.result);
        EXPECT_EQ(parsed.position, c.position);
        int result = 0;
        EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderEpsNetworkFeatureSupport(record, out); }),
                  c.line);
        EXPECT_EQ(result, 1);
    }
    auto record = Marked<EpsNetworkFeatureSupport>();
    const Parsed parsed = RunParse(ParseEpsNetworkFeatureSupport, Hex("01"), 0, -1, record);
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.position, 0);
    EXPECT_TRUE(StillMarked(record));
}

// ---------------------------------------------------------------------------

TEST(CapabilityRenderersTest, WriteNothingWithoutBuffer) {
    OutputDocument none;
    EXPECT_EQ(RenderUeNetworkCapability(UeNetworkCapability{}, none), 0);
    EXPECT_EQ(RenderUeSecurityCapability(UeSecurityCapability{}, none), 0);
    EXPECT_EQ(RenderMsNetworkCapability(MsNetworkCapability{}, none), 0);
    EXPECT_EQ(RenderMobileStationClassmark2(MobileStationClassmark2{}, none), 0);
    EXPECT_EQ(RenderDrxParameter(DrxParameter{}, none), 0);
    EXPECT_EQ(RenderEpsNetworkFeatureSupport(EpsNetworkFeatureSupport{}, none), 0);
    EXPECT_EQ(none.Required(), 0u);
}

}  // namespace
}  // namespace corvuna
