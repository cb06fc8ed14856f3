#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ie/mm/emm_fields.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;
using test::Lines;
using test::Rendered;

// ---------------------------------------------------------------- GPRS timer

struct GprsTimerParseCase {
    const char* name;
    const char* hex;       // octets loaded; the timer starts at octet `start`
    int32_t start;
    int32_t length;
    int result;
    int32_t endPosition;   // bits
    int unit;              // -1: record left untouched
    int timerValue;
};

TEST(GprsTimerTest, ParseTable) {
    const GprsTimerParseCase cases[] = {
        {"deactivated", "E0", 0, 1, 1, 8, 7, 0},
        {"unit 3", "61", 0, 1, 1, 8, 3, 1},
        {"two seconds, after one octet", "AA 0F 55", 1, 1, 1, 16, 0, 15},
        {"decihours max", "5F", 0, 1, 1, 8, 2, 31},
        {"over-long, end inside message", "21 01 02 03", 0, 3, 1, 24, 1, 1},
        {"over-long, end past message", "21 01", 0, 4, 1, 8, 1, 1},
        {"length 0 cuts back", "E1 33", 0, 0, 0, 0, 7, 1},
        {"negative length", "E1", 0, -1, 0, 0, -1, -1},
        {"empty message reads zeros", "", 0, 1, 1, 8, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor;
        LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
        cursor.position = 8 * c.start;
        GprsTimer record{0x5A, 0x5A};
        EXPECT_EQ(ParseGprsTimer(cursor, c.length, record), c.result);
        EXPECT_EQ(cursor.position, c.endPosition);
        if (c.unit < 0) {
            EXPECT_EQ(record.unit, 0x5A);
            EXPECT_EQ(record.timerValue, 0x5A);
        } else {
            EXPECT_EQ(record.unit, c.unit);
            EXPECT_EQ(record.timerValue, c.timerValue);
        }
    }
}

TEST(GprsTimerTest, RenderUnits) {
    struct Case {
        GprsTimer record;
        std::string expected;
    };
    const Case cases[] = {
        {{7, 0}, Lines({"<Unit>(7)value indicates that the timer is deactivated</Unit>", "<TimerValue>0</TimerValue>"})},
        {{3, 1}, Lines({"<Unit>(3)value is incremented in multiples of 1 minute</Unit>", "<TimerValue>1</TimerValue>"})},
        {{0, 31}, Lines({"<Unit>(0)value is incremented in multiples of 2 seconds</Unit>", "<TimerValue>31</TimerValue>"})},
        {{1, 9}, Lines({"<Unit>(1)value is incremented in multiples of 1 minute</Unit>", "<TimerValue>9</TimerValue>"})},
        {{2, 4}, Lines({"<Unit>(2)value is incremented in multiples of decihours</Unit>", "<TimerValue>4</TimerValue>"})},
        {{6, 2}, Lines({"<Unit>(6)value is incremented in multiples of 1 minute</Unit>", "<TimerValue>2</TimerValue>"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        int result = -1;
        EXPECT_EQ(Rendered([&](OutputDocument& out) { result = RenderGprsTimer(c.record, out); }), c.expected);
        EXPECT_EQ(result, 1);
    }
}

TEST(GprsTimerTest, ParsedOctetRendersAsTheStandardReadsIt) {
    const std::vector<uint8_t> octets = Hex("E0");
    BitCursor cursor;
    LoadBits(cursor, octets.data(), 1);
    GprsTimer record{};
    ASSERT_EQ(ParseGprsTimer(cursor, 1, record), 1);
    EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderGprsTimer(record, out); }),
              Lines({"<Unit>(7)value indicates that the timer is deactivated</Unit>", "<TimerValue>0</TimerValue>"}));
}

// ---------------------------------------------------------------- EMM cause

TEST(EmmCauseTest, RenderTable) {
    struct Case {
        int32_t cause;
        const char* text;
    };
    const Case cases[] = {
        {2, "IMSI unknown in HSS"},
        {3, "Illegal UE"},
        {6, "Illegal ME"},
        {7, "EPS services not allowed"},
        {9, "UE identity cannot be derived by the network"},
        {15, "No Suitable Cells In tracking area"},
        {20, "MAC failure"},
        {21, "Synch failure"},
        {24, "Security mode rejected, unspecified"},
        {26, "Non-EPS authentication unacceptable"},
        {39, "CS domain temporarily not available"},
        {40, "No EPS bearer context activated"},
        {95, "Semantically incorrect message"},
        {101, "Message not compatible with the protocol state"},
        {0, "Protocol error, unspecified"},
        {1, "Protocol error, unspecified"},
        {4, "Protocol error, unspecified"},
        {27, "Protocol error, unspecified"},
        {38, "Protocol error, unspecified"},
        {41, "Protocol error, unspecified"},
        {94, "Protocol error, unspecified"},
        {102, "Protocol error, unspecified"},
        {111, "Protocol error, unspecified"},
        {255, "Protocol error, unspecified"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        int result = -1;
        const std::string text = Rendered([&](OutputDocument& out) { result = RenderEmmCause(c.cause, out); });
        EXPECT_EQ(text, "<EMMCause>(" + std::to_string(c.cause) + ")" + c.text + "</EMMCause>\n");
        EXPECT_EQ(result, 1);
    }
}

TEST(EmmCauseTest, WithoutBufferWritesNothingAndStillSucceeds) {
    OutputDocument out;
    EXPECT_EQ(RenderEmmCause(17, out), 1);
    EXPECT_EQ(out.required, 0u);
}

// ---------------------------------------------------------- key set identifier

TEST(KeySetIdentifierTest, RenderTable) {
    struct Case {
        KeySetIdentifier record;
        std::string expected;
    };
    const Case cases[] = {
        {{0, 7},
         Lines({"<TSC>(0)native security context (for KSI_ASME)</TSC>",
                "<NAS_Key_Set_Identifer>(7)no key is available</NAS_Key_Set_Identifer>"})},
        {{1, 0},
         Lines({"<TSC>(1)mapped security context (for KSI_SGSN)</TSC>",
                "<NAS_Key_Set_Identifer>(0)possible values for the NAS key set identifier</NAS_Key_Set_Identifer>"})},
        {{2, 6},
         Lines({"<TSC>2</TSC>",
                "<NAS_Key_Set_Identifer>(6)possible values for the NAS key set identifier</NAS_Key_Set_Identifer>"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderKeySetIdentifier(c.record, out), 1); }),
                  c.expected);
    }
}

// ---------------------------------------------------------------- detach type

TEST(DetachTypeTest, NetworkToUe) {
    struct Case {
        int32_t type;
        const char* text;
    };
    const Case cases[] = {
        {1, "re-attach required"}, {2, "re-attach not required"}, {3, "IMSI detach"},
        {6, "reserved"},           {7, "reserved"},               {0, "re-attach not required"},
        {4, "re-attach not required"}, {5, "re-attach not required"}, {8, "re-attach not required"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const DetachTypeRecord record{1, c.type};
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderDetachTypeToUe(record, out), 1); }),
                  "<Type_of_Detach>(" + std::to_string(c.type) + ")" + c.text + "</Type_of_Detach>\n");
    }
}

TEST(DetachTypeTest, UeToNetwork) {
    struct Case {
        DetachTypeRecord record;
        std::string expected;
    };
    const Case cases[] = {
        {{0, 1}, Lines({"<Type_of_Detach>(1)EPS detach</Type_of_Detach>", "<Switch_off>(0)normal detach</Switch_off>"})},
        {{1, 2}, Lines({"<Type_of_Detach>(2)IMSI detach</Type_of_Detach>", "<Switch_off>(1)switch off</Switch_off>"})},
        {{0, 3},
         Lines({"<Type_of_Detach>(3)combined EPS/IMSI detach</Type_of_Detach>",
                "<Switch_off>(0)normal detach</Switch_off>"})},
        {{0, 0},
         Lines({"<Type_of_Detach>(0)combined EPS/IMSI detach</Type_of_Detach>",
                "<Switch_off>(0)normal detach</Switch_off>"})},
        {{2, 6}, Lines({"<Type_of_Detach>(6)reserved</Type_of_Detach>", "<Switch_off>(2)normal detach</Switch_off>"})},
        {{1, 7}, Lines({"<Type_of_Detach>(7)reserved</Type_of_Detach>", "<Switch_off>(1)switch off</Switch_off>"})},
        {{1, 5},
         Lines({"<Type_of_Detach>(5)combined EPS/IMSI detach</Type_of_Detach>",
                "<Switch_off>(1)switch off</Switch_off>"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderDetachTypeToNetwork(c.record, out), 1); }),
                  c.expected);
    }
}

// ------------------------------------------- single-element value renderers

struct ValueCase {
    int32_t value;
    const char* text;
};

void ExpectSingleElement(int (*render)(int32_t, OutputDocument&), const char* name,
                         std::initializer_list<ValueCase> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(name) + " " + std::to_string(c.value));
        const std::string open = std::string("<") + name + ">";
        const std::string close = std::string("</") + name + ">\n";
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(render(c.value, out), 1); }),
                  open + "(" + std::to_string(c.value) + ")" + c.text + close);
    }
}

TEST(EmmValueRenderersTest, ServiceType) {
    ExpectSingleElement(RenderServiceType, "ServiceType",
                        {{0, "mobile originating CS fallback or 1xCS fallback"},
                         {1, "mobile terminating CS fallback or 1xCS fallback"},
                         {2, "mobile originating CS fallback emergency call or 1xCS fallback emergency call"},
                         {3, "reserved"},
                         {15, "reserved"},
                         {-1, "reserved"}});
}

TEST(EmmValueRenderersTest, IdentityType) {
    ExpectSingleElement(RenderIdentityType, "IdentityType",
                        {{1, "IMSI"}, {2, "IMEI"}, {3, "IMEISV"}, {4, "TMSI"}, {0, "IMSI"}, {5, "IMSI"}, {7, "IMSI"}});
}

TEST(EmmValueRenderersTest, EpsUpdateResult) {
    ExpectSingleElement(RenderEpsUpdateResult, "EPSUpdateResult",
                        {{0, "TA updated"},
                         {1, "combined TA/LA updated"},
                         {4, "TA updated and ISR activated"},
                         {5, "combined TA/LA updated and ISR activated"},
                         {2, "reserved"},
                         {3, "reserved"},
                         {7, "reserved"}});
}

TEST(EmmValueRenderersTest, AdditionalUpdateResult) {
    ExpectSingleElement(RenderAdditionalUpdateResult, "AdditionalUpdateResult",
                        {{0, "no additional information"},
                         {1, "CS Fallback not preferred"},
                         {2, "reserved"},
                         {3, "reserved"},
                         {4, "SMS only"},
                         {8, "reserved"}});
}

TEST(EmmValueRenderersTest, CipheringKeySequenceNumber) {
    ExpectSingleElement(RenderCipheringKeySequenceNumber, "CipheringKeySequenceNumber",
                        {{7, "No key is available"},
                         {0, "Possible values for the ciphering key"},
                         {6, "Possible values for the ciphering key"}});
}

TEST(EmmValueRenderersTest, UeRadioCapabilityInfoUpdateNeeded) {
    ExpectSingleElement(RenderUeRadioCapabilityInfoUpdateNeeded, "UERadioCapabilityInfoUpdateNeeded",
                        {{1, "UE radio capability information update needed"},
                         {0, "UE radio capability information update not needed"}});
}

// -------------------------------------------- split-value renderers

TEST(EpsUpdateTypeTest, SplitsActiveFlagAndValue) {
    struct Case {
        int32_t halfOctet;
        std::string expected;
    };
    const Case cases[] = {
        {0x9, Lines({"<ActiveFlag>(1)Bearer establishment requested</ActiveFlag>",
                     "<EPSUpdateTypeValue>(1)combined TA/LA updating</EPSUpdateTypeValue>"})},
        {0x4, Lines({"<ActiveFlag>(0)No bearer establishment requested</ActiveFlag>",
                     "<EPSUpdateTypeValue>(4)unused</EPSUpdateTypeValue>"})},
        {0x0, Lines({"<ActiveFlag>(0)No bearer establishment requested</ActiveFlag>",
                     "<EPSUpdateTypeValue>(0)TA updating</EPSUpdateTypeValue>"})},
        {0xA, Lines({"<ActiveFlag>(1)Bearer establishment requested</ActiveFlag>",
                     "<EPSUpdateTypeValue>(2)combined TA/LA updating with IMSI attach</EPSUpdateTypeValue>"})},
        {0x3, Lines({"<ActiveFlag>(0)No bearer establishment requested</ActiveFlag>",
                     "<EPSUpdateTypeValue>(3)periodic updating</EPSUpdateTypeValue>"})},
        {0xD, Lines({"<ActiveFlag>(1)Bearer establishment requested</ActiveFlag>",
                     "<EPSUpdateTypeValue>(5)unused</EPSUpdateTypeValue>"})},
        {0xF, Lines({"<ActiveFlag>(1)Bearer establishment requested</ActiveFlag>",
                     "<EPSUpdateTypeValue>(7)reserved</EPSUpdateTypeValue>"})},
        {0x6, Lines({"<ActiveFlag>(0)No bearer establishment requested</ActiveFlag>",
                     "<EPSUpdateTypeValue>(6)reserved</EPSUpdateTypeValue>"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.halfOctet);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderEpsUpdateType(c.halfOctet, out), 1); }),
                  c.expected);
    }
}

TEST(NasSecurityAlgorithmsTest, SplitsCipheringAndIntegrity) {
    struct Case {
        int32_t octet;
        std::string expected;
    };
    const Case cases[] = {
        {0x12, Lines({"<TypeOfCipherAlgorithm>(1)EPS encryption algorithm 128-EEA1</TypeOfCipherAlgorithm>",
                      "<TypeOfIntProtectionAlgorithm>(2)EPS integrity algorithm 128-EIA2</TypeOfIntProtectionAlgorithm>"})},
        {0x00, Lines({"<TypeOfCipherAlgorithm>(0)EPS encryption algorithm EEA0 (ciphering not used)</TypeOfCipherAlgorithm>",
                      "<TypeOfIntProtectionAlgorithm>(0)Reserved</TypeOfIntProtectionAlgorithm>"})},
        // Bits 8 and 4 are spare and ignored.
        {0xFF, Lines({"<TypeOfCipherAlgorithm>(7)EPS encryption algorithm EEA7</TypeOfCipherAlgorithm>",
                      "<TypeOfIntProtectionAlgorithm>(7)EPS integrity algorithm EIA7</TypeOfIntProtectionAlgorithm>"})},
        {0xB9, Lines({"<TypeOfCipherAlgorithm>(3)EPS encryption algorithm EEA3</TypeOfCipherAlgorithm>",
                      "<TypeOfIntProtectionAlgorithm>(1)EPS integrity algorithm 128-EIA1</TypeOfIntProtectionAlgorithm>"})},
        {0x23, Lines({"<TypeOfCipherAlgorithm>(2)EPS encryption algorithm 128-EEA2</TypeOfCipherAlgorithm>",
                      "<TypeOfIntProtectionAlgorithm>(3)EPS integrity algorithm EIA3</TypeOfIntProtectionAlgorithm>"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.octet);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { EXPECT_EQ(RenderNasSecurityAlgorithms(c.octet, out), 1); }),
                  c.expected);
    }
}

// ------------------------------------------------------ no output buffer

TEST(EmmFieldRenderersTest, WithoutBufferReturnZeroAndWriteNothing) {
    const std::function<int(OutputDocument&)> renderers[] = {
        [](OutputDocument& out) { return RenderGprsTimer(GprsTimer{1, 2}, out); },
        [](OutputDocument& out) { return RenderKeySetIdentifier(KeySetIdentifier{0, 1}, out); },
        [](OutputDocument& out) { return RenderDetachTypeToUe(DetachTypeRecord{0, 1}, out); },
        [](OutputDocument& out) { return RenderDetachTypeToNetwork(DetachTypeRecord{0, 1}, out); },
        [](OutputDocument& out) { return RenderServiceType(0, out); },
        [](OutputDocument& out) { return RenderIdentityType(1, out); },
        [](OutputDocument& out) { return RenderEpsUpdateResult(0, out); },
        [](OutputDocument& out) { return RenderAdditionalUpdateResult(0, out); },
        [](OutputDocument& out) { return RenderEpsUpdateType(9, out); },
        [](OutputDocument& out) { return RenderCipheringKeySequenceNumber(7, out); },
        [](OutputDocument& out) { return RenderUeRadioCapabilityInfoUpdateNeeded(1, out); },
        [](OutputDocument& out) { return RenderNasSecurityAlgorithms(0x12, out); },
    };
    int index = 0;
    for (const auto& render : renderers) {
        SCOPED_TRACE(index++);
        OutputDocument out;
        EXPECT_EQ(render(out), 0);
        EXPECT_EQ(out.required, 0u);
    }
}

}  // namespace
}  // namespace corvuna
