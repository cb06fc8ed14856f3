// SPDX-License-Identifier: Apache-2.0
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "legacy/ie/mm/emm_fields.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::Hex;
using test::Lines;
using test::Rendered;

TEST(GprsTimerTest, ParseLengthsAndCursor) {
    struct Case {
        const char* hex;
        int32_t length, result, endPosition, unit, timerValue;  // unit -1: record untouched
    };
    const Case cases[] = {
        {"E0", 1, 1, 8, 7, 0},          {"61 FF", 1, 1, 8, 3, 1},
        {"21 01 02", 3, 1, 24, 1, 1},   {"21 01", 4, 1, 8, 1, 1},  // declared end past the message
        {"E1 33", 0, 0, 0, 7, 1},       {"E1", -1, 0, 0, -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hex) + " length " + std::to_string(c.length));
        const std::vector<uint8_t> octets = Hex(c.hex);
        BitCursor cursor;
        LoadBits(cursor, octets.data(), static_cast<uint32_t>(octets.size()));
        GprsTimer record{0x5A, 0x5A};
        EXPECT_EQ(ParseGprsTimer(cursor, c.length, record), c.result);
        EXPECT_EQ(cursor.position, c.endPosition);
        EXPECT_EQ(record.unit, c.unit < 0 ? 0x5A : c.unit);
        EXPECT_EQ(record.timerValue, c.unit < 0 ? 0x5A : c.timerValue);
    }
}

// Each renderer with its input and the complete text it writes.
struct RenderCase {
    std::string expected;
    int (*render)(OutputDocument&);
};

TEST(EmmFieldRenderersTest, WordingOfTheStandard) {
    const RenderCase cases[] = {
        {Lines({"<Unit>(7)value indicates that the timer is deactivated</Unit>", "<TimerValue>0</TimerValue>"}),
         [](OutputDocument& out) { return RenderGprsTimer({7, 0}, out); }},
        {Lines({"<Unit>(3)value is incremented in multiples of 1 minute</Unit>", "<TimerValue>1</TimerValue>"}),
         [](OutputDocument& out) { return RenderGprsTimer({3, 1}, out); }},
        {Lines({"<Unit>(2)value is incremented in multiples of decihours</Unit>", "<TimerValue>31</TimerValue>"}),
         [](OutputDocument& out) { return RenderGprsTimer({2, 31}, out); }},
        {"<EMMCause>(21)Synch failure</EMMCause>\n", [](OutputDocument& out) { return RenderEmmCause(21, out); }},
        {"<EMMCause>(101)Message not compatible with the protocol state</EMMCause>\n",
         [](OutputDocument& out) { return RenderEmmCause(101, out); }},
        {Lines({"<TSC>(0)native security context (for KSI_ASME)</TSC>",
                "<NAS_Key_Set_Identifer>(7)no key is available</NAS_Key_Set_Identifer>"}),
         [](OutputDocument& out) { return RenderKeySetIdentifier({0, 7}, out); }},
        {Lines({"<TSC>(1)mapped security context (for KSI_SGSN)</TSC>",
                "<NAS_Key_Set_Identifer>(2)possible values for the NAS key set identifier</NAS_Key_Set_Identifer>"}),
         [](OutputDocument& out) { return RenderKeySetIdentifier({1, 2}, out); }},
        {"<Type_of_Detach>(0)re-attach not required</Type_of_Detach>\n",
         [](OutputDocument& out) { return RenderDetachTypeToUe({1, 0}, out); }},
        {"<Type_of_Detach>(3)IMSI detach</Type_of_Detach>\n",
         [](OutputDocument& out) { return RenderDetachTypeToUe({0, 3}, out); }},
        {Lines({"<Type_of_Detach>(0)combined EPS/IMSI detach</Type_of_Detach>",
                "<Switch_off>(0)normal detach</Switch_off>"}),
         [](OutputDocument& out) { return RenderDetachTypeToNetwork({0, 0}, out); }},
        {Lines({"<Type_of_Detach>(7)reserved</Type_of_Detach>", "<Switch_off>(1)switch off</Switch_off>"}),
         [](OutputDocument& out) { return RenderDetachTypeToNetwork({1, 7}, out); }},
        {"<ServiceType>(2)mobile originating CS fallback emergency call or 1xCS fallback emergency call</ServiceType>\n",
         [](OutputDocument& out) { return RenderServiceType(2, out); }},
        {"<ServiceType>(9)reserved</ServiceType>\n", [](OutputDocument& out) { return RenderServiceType(9, out); }},
        {"<IdentityType>(4)TMSI</IdentityType>\n", [](OutputDocument& out) { return RenderIdentityType(4, out); }},
        {"<IdentityType>(6)IMSI</IdentityType>\n", [](OutputDocument& out) { return RenderIdentityType(6, out); }},
        {"<EPSUpdateResult>(5)combined TA/LA updated and ISR activated</EPSUpdateResult>\n",
         [](OutputDocument& out) { return RenderEpsUpdateResult(5, out); }},
        {"<EPSUpdateResult>(2)reserved</EPSUpdateResult>\n",
         [](OutputDocument& out) { return RenderEpsUpdateResult(2, out); }},
        {"<AdditionalUpdateResult>(2)reserved</AdditionalUpdateResult>\n",
         [](OutputDocument& out) { return RenderAdditionalUpdateResult(2, out); }},
        {"<AdditionalUpdateResult>(4)SMS only</AdditionalUpdateResult>\n",
         [](OutputDocument& out) { return RenderAdditionalUpdateResult(4, out); }},
        {Lines({"<ActiveFlag>(1)Bearer establishment requested</ActiveFlag>",
                "<EPSUpdateTypeValue>(1)combined TA/LA updating</EPSUpdateTypeValue>"}),
         [](OutputDocument& out) { return RenderEpsUpdateType(0x9, out); }},
        {Lines({"<ActiveFlag>(0)No bearer establishment requested</ActiveFlag>",
                "<EPSUpdateTypeValue>(4)unused</EPSUpdateTypeValue>"}),
         [](OutputDocument& out) { return RenderEpsUpdateType(0x4, out); }},
        {"<CipheringKeySequenceNumber>(7)No key is available</CipheringKeySequenceNumber>\n",
         [](OutputDocument& out) { return RenderCipheringKeySequenceNumber(7, out); }},
        {"<UERadioCapabilityInfoUpdateNeeded>(0)UE radio capability information update not needed"
         "</UERadioCapabilityInfoUpdateNeeded>\n",
         [](OutputDocument& out) { return RenderUeRadioCapabilityInfoUpdateNeeded(0, out); }},
        {Lines({"<TypeOfCipherAlgorithm>(1)EPS encryption algorithm 128-EEA1</TypeOfCipherAlgorithm>",
                "<TypeOfIntProtectionAlgorithm>(2)EPS integrity algorithm 128-EIA2</TypeOfIntProtectionAlgorithm>"}),
         [](OutputDocument& out) { return RenderNasSecurityAlgorithms(0x12, out); }},
        {Lines({"<TypeOfCipherAlgorithm>(0)EPS encryption algorithm EEA0 (ciphering not used)</TypeOfCipherAlgorithm>",
                "<TypeOfIntProtectionAlgorithm>(0)Reserved</TypeOfIntProtectionAlgorithm>"}),
         [](OutputDocument& out) { return RenderNasSecurityAlgorithms(0x00, out); }},
        // Bits 8 and 4 are spare.
        {Lines({"<TypeOfCipherAlgorithm>(7)EPS encryption algorithm EEA7</TypeOfCipherAlgorithm>",
                "<TypeOfIntProtectionAlgorithm>(7)EPS integrity algorithm EIA7</TypeOfIntProtectionAlgorithm>"}),
         [](OutputDocument& out) { return RenderNasSecurityAlgorithms(0xFF, out); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        int result = -1;
        EXPECT_EQ(Rendered([&](OutputDocument& out) { result = c.render(out); }), c.expected);
        EXPECT_EQ(result, 1);
        OutputDocument none;  // no buffer: nothing written; 0 except for the EMM cause
        const int noBuffer = c.render(none);
        EXPECT_EQ(none.Required(), 0u);
        EXPECT_EQ(noBuffer, c.expected.rfind("<EMMCause>", 0) == 0 ? 1 : 0);
    }
}

TEST(EmmCauseTest, UnlistedValuesAreProtocolErrors) {
    for (int32_t cause : {0, 1, 4, 27, 38, 41, 94, 102, 111, 255}) {
        SCOPED_TRACE(cause);
        EXPECT_EQ(Rendered([&](OutputDocument& out) { RenderEmmCause(cause, out); }),
                  "<EMMCause>(" + std::to_string(cause) + ")Protocol error, unspecified</EMMCause>\n");
    }
}

}  // namespace
}  // namespace corvuna
