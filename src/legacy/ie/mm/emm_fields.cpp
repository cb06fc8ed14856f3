// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/mm/emm_fields.h"

#include "legacy/doc/elements.h"
#include "common/causes.h"

namespace corvuna {

namespace {

// GPRS timer (TS 24.008 table 10.5.172); units 3-6 are read as minutes.
constexpr auto kTimerUnit = Element("Unit",
                                    {
                                        {0, "value is incremented in multiples of 2 seconds"},
                                        {1, "value is incremented in multiples of 1 minute"},
                                        {2, "value is incremented in multiples of decihours"},
                                        {7, "value indicates that the timer is deactivated"},
                                    },
                                    "value is incremented in multiples of 1 minute");
constexpr auto kTimerValue = Element("TimerValue");

// EMM cause (TS 24.301 table 9.9.3.9.1).
constexpr ValueText kEmmCauseOwn[] = {
    {39, "CS domain temporarily not available"},
};
constexpr auto kEmmCause = DenseElement<256>("EMMCause", Join(kEmmCauseOwn, kCommonEmmCauses, kProtocolErrorCauses),
                                             "Protocol error, unspecified");

// NAS key set identifier (TS 24.301 9.9.3.21); other TSC values: number alone.
constexpr auto kTsc =
    Element("TSC", {"native security context (for KSI_ASME)", "mapped security context (for KSI_SGSN)"});
constexpr auto kKeySetId =
    Element("NAS_Key_Set_Identifer", {{7, "no key is available"}}, "possible values for the NAS key set identifier");

// Type of detach (TS 24.301 9.9.3.7), one table per direction.
constexpr auto kDetachToUe = Element("Type_of_Detach",
                                     {
                                         {1, "re-attach required"},
                                         {2, "re-attach not required"},
                                         {3, "IMSI detach"},
                                         {6, "reserved"},
                                         {7, "reserved"},
                                     },
                                     "re-attach not required");
constexpr auto kDetachToNetwork = Element("Type_of_Detach",
                                          {
                                              {1, "EPS detach"},
                                              {2, "IMSI detach"},
                                              {3, "combined EPS/IMSI detach"},
                                              {6, "reserved"},
                                              {7, "reserved"},
                                          },
                                          "combined EPS/IMSI detach");
constexpr auto kSwitchOff = Element("Switch_off", {{1, "switch off"}}, "normal detach");

// Service type (TS 24.301 9.9.3.27).
constexpr auto kServiceType =
    Element("ServiceType",
            {
                "mobile originating CS fallback or 1xCS fallback",
                "mobile terminating CS fallback or 1xCS fallback",
                "mobile originating CS fallback emergency call or 1xCS fallback emergency call",
            },
            "reserved");

// Identity type 2 (TS 24.008 10.5.5.9); unassigned values are taken as IMSI.
constexpr auto kIdentityType = Element("IdentityType", {{2, "IMEI"}, {3, "IMEISV"}, {4, "TMSI"}}, "IMSI");

// EPS update result (TS 24.301 9.9.3.13).
constexpr auto kEpsUpdateResult = Element("EPSUpdateResult",
                                          {
                                              {0, "TA updated"},
                                              {1, "combined TA/LA updated"},
                                              {4, "TA updated and ISR activated"},
                                              {5, "combined TA/LA updated and ISR activated"},
                                          },
                                          "reserved");

// Additional update result (TS 24.301 9.9.3.0A), as stored by the message
// parsers: "SMS only" is the value 4.
constexpr auto kAdditionalUpdateResult =
    Element("AdditionalUpdateResult",
            {{0, "no additional information"}, {1, "CS Fallback not preferred"}, {4, "SMS only"}}, "reserved");

// EPS update type (TS 24.301 9.9.3.14).
constexpr auto kActiveFlag =
    Element("ActiveFlag", {"No bearer establishment requested", "Bearer establishment requested"});
constexpr auto kEpsUpdateTypeValue = Element("EPSUpdateTypeValue",
                                             {
                                                 "TA updating",
                                                 "combined TA/LA updating",
                                                 "combined TA/LA updating with IMSI attach",
                                                 "periodic updating",
                                                 "unused",
                                                 "unused",
                                                 "reserved",
                                                 "reserved",
                                             });

// Ciphering key sequence number (TS 24.008 10.5.1.2).
constexpr auto kKeySequence =
    Element("CipheringKeySequenceNumber", {{7, "No key is available"}}, "Possible values for the ciphering key");

// TMSI status (TS 24.008 10.5.5.4): only the value 1 means a valid TMSI.
constexpr auto kTmsiStatus = Element("TMSI_Status", {{1, "valid TMSI available"}}, "no valid TMSI available");

// UE radio capability information update needed (TS 24.301 9.9.3.35).
constexpr auto kRadioCapabilityUpdate = Element("UERadioCapabilityInfoUpdateNeeded",
                                                {{1, "UE radio capability information update needed"}},
                                                "UE radio capability information update not needed");

// NAS security algorithms (TS 24.301 9.9.3.23).
constexpr auto kCipherAlgorithm = Element("TypeOfCipherAlgorithm",
                                          {
                                              "EPS encryption algorithm EEA0 (ciphering not used)",
                                              "EPS encryption algorithm 128-EEA1",
                                              "EPS encryption algorithm 128-EEA2",
                                              "EPS encryption algorithm EEA3",
                                              "EPS encryption algorithm EEA4",
                                              "EPS encryption algorithm EEA5",
                                              "EPS encryption algorithm EEA6",
                                              "EPS encryption algorithm EEA7",
                                          });
constexpr auto kIntegrityAlgorithm = Element("TypeOfIntProtectionAlgorithm",
                                             {
                                                 "Reserved",
                                                 "EPS integrity algorithm 128-EIA1",
                                                 "EPS integrity algorithm 128-EIA2",
                                                 "EPS integrity algorithm EIA3",
                                                 "EPS integrity algorithm EIA4",
                                                 "EPS integrity algorithm EIA5",
                                                 "EPS integrity algorithm EIA6",
                                                 "EPS integrity algorithm EIA7",
                                             });

}  // namespace

int ParseGprsTimer(BitCursor& cursor, int32_t length, GprsTimer& record) {
    return ParseIeValue(cursor, length, [&] {
        record.unit = static_cast<uint8_t>(ReadBits(cursor, 3));
        record.timerValue = static_cast<uint8_t>(ReadBits(cursor, 5));
    });
}

int RenderGprsTimer(const GprsTimer& record, OutputDocument& out) {
    return RenderElements(out, kTimerUnit, record.unit, kTimerValue, record.timerValue);
}

int RenderEmmCause(int32_t cause, OutputDocument& out) {
    WriteElement(kEmmCause, cause, out);
    return 1;
}

int RenderKeySetIdentifier(const KeySetIdentifier& record, OutputDocument& out) {
    return RenderElements(out, kTsc, record.tsc, kKeySetId, record.keySetId);
}

int RenderDetachTypeToUe(const DetachTypeRecord& record, OutputDocument& out) {
    return RenderElement(kDetachToUe, record.detachType, out);
}

int RenderDetachTypeToNetwork(const DetachTypeRecord& record, OutputDocument& out) {
    return RenderElements(out, kDetachToNetwork, record.detachType, kSwitchOff, record.switchOff);
}

int RenderEpsUpdateType(int32_t halfOctet, OutputDocument& out) {
    const uint8_t activeFlag = static_cast<uint8_t>(TestBit(static_cast<uint32_t>(halfOctet), 3));
    return RenderElements(out, kActiveFlag, activeFlag, kEpsUpdateTypeValue, static_cast<uint8_t>(halfOctet & 0x07));
}

int RenderNasSecurityAlgorithms(int32_t octet, OutputDocument& out) {
    return RenderElements(out, kCipherAlgorithm, static_cast<uint8_t>((octet >> 4) & 0x07), kIntegrityAlgorithm,
                          static_cast<uint8_t>(octet & 0x07));
}

// The IEs that are one element each.

int RenderServiceType(int32_t value, OutputDocument& out) { return RenderElement(kServiceType, value, out); }

int RenderIdentityType(int32_t value, OutputDocument& out) { return RenderElement(kIdentityType, value, out); }

int RenderEpsUpdateResult(int32_t value, OutputDocument& out) { return RenderElement(kEpsUpdateResult, value, out); }

int RenderAdditionalUpdateResult(int32_t value, OutputDocument& out) {
    return RenderElement(kAdditionalUpdateResult, value, out);
}

int RenderCipheringKeySequenceNumber(int32_t value, OutputDocument& out) {
    return RenderElement(kKeySequence, value, out);
}

int RenderTmsiStatus(int32_t value, OutputDocument& out) { return RenderElement(kTmsiStatus, value, out); }

int RenderUeRadioCapabilityInfoUpdateNeeded(int32_t value, OutputDocument& out) {
    return RenderElement(kRadioCapabilityUpdate, value, out);
}

}  // namespace corvuna
