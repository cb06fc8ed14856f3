// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/mm/emm_fields.h"

#include "legacy/doc/value_text.h"

namespace corvuna {

namespace {

// GPRS timer unit (TS 24.008 table 10.5.172); units 3-6 are read as minutes.
constexpr ValueText kTimerUnit[] = {
    {0, "value is incremented in multiples of 2 seconds"},
    {1, "value is incremented in multiples of 1 minute"},
    {2, "value is incremented in multiples of decihours"},
    {7, "value indicates that the timer is deactivated"},
};
constexpr Text kTimerUnitOther = "value is incremented in multiples of 1 minute";

// EMM cause (TS 24.301 table 9.9.3.9.1).
constexpr ValueText kEmmCause[] = {
    {2, "IMSI unknown in HSS"},
    {3, "Illegal UE"},
    {6, "Illegal ME"},
    {7, "EPS services not allowed"},
    {8, "EPS services and non-EPS services not allowed"},
    {9, "UE identity cannot be derived by the network"},
    {10, "Implicitly detached"},
    {11, "PLMN not allowed"},
    {12, "Tracking Area not allowed"},
    {13, "Roaming not allowed in this tracking area"},
    {14, "EPS services not allowed in this PLMN"},
    {15, "No Suitable Cells In tracking area"},
    {16, "MSC temporarily not reachable"},
    {17, "Network failure"},
    {18, "CS domain not available"},
    {19, "ESM failure"},
    {20, "MAC failure"},
    {21, "Synch failure"},
    {22, "Congestion"},
    {23, "UE security capabilities mismatch"},
    {24, "Security mode rejected, unspecified"},
    {25, "Not authorized for this CSG"},
    {26, "Non-EPS authentication unacceptable"},
    {39, "CS domain temporarily not available"},
    {40, "No EPS bearer context activated"},
    {95, "Semantically incorrect message"},
    {96, "Invalid mandatory information"},
    {97, "Message type non-existent or not implemented"},
    {98, "Message type not compatible with the protocol state"},
    {99, "Information element non-existent or not implemented"},
    {100, "Conditional IE error"},
    {101, "Message not compatible with the protocol state"},
};
constexpr Text kEmmCauseOther = "Protocol error, unspecified";
constexpr auto kEmmCauseText = MakeDenseText<256>(kEmmCause, kEmmCauseOther);

// NAS key set identifier (TS 24.301 9.9.3.21); other TSC values: number alone.
constexpr Text kSecurityContextType[] = {
    "native security context (for KSI_ASME)",
    "mapped security context (for KSI_SGSN)",
};
constexpr ValueText kKeySetId[] = {
    {7, "no key is available"},
};
constexpr Text kKeySetIdOther = "possible values for the NAS key set identifier";

// Type of detach (TS 24.301 9.9.3.7), one table per direction.
constexpr ValueText kDetachToUe[] = {
    {1, "re-attach required"},
    {2, "re-attach not required"},
    {3, "IMSI detach"},
    {6, "reserved"},
    {7, "reserved"},
};
constexpr Text kDetachToUeOther = "re-attach not required";

constexpr ValueText kDetachToNetwork[] = {
    {1, "EPS detach"},
    {2, "IMSI detach"},
    {3, "combined EPS/IMSI detach"},
    {6, "reserved"},
    {7, "reserved"},
};
constexpr Text kDetachToNetworkOther = "combined EPS/IMSI detach";

constexpr ValueText kSwitchOff[] = {
    {1, "switch off"},
};
constexpr Text kSwitchOffOther = "normal detach";

// Service type (TS 24.301 9.9.3.27).
constexpr Text kServiceType[] = {
    "mobile originating CS fallback or 1xCS fallback",
    "mobile terminating CS fallback or 1xCS fallback",
    "mobile originating CS fallback emergency call or 1xCS fallback emergency call",
};
constexpr Text kServiceTypeOther = "reserved";

// Identity type 2 (TS 24.008 10.5.5.9); unassigned values are taken as IMSI.
constexpr ValueText kIdentityType[] = {
    {2, "IMEI"},
    {3, "IMEISV"},
    {4, "TMSI"},
};
constexpr Text kIdentityTypeOther = "IMSI";

// EPS update result (TS 24.301 9.9.3.13).
constexpr ValueText kEpsUpdateResult[] = {
    {0, "TA updated"},
    {1, "combined TA/LA updated"},
    {4, "TA updated and ISR activated"},
    {5, "combined TA/LA updated and ISR activated"},
};
constexpr Text kEpsUpdateResultOther = "reserved";

// Additional update result (TS 24.301 9.9.3.0A), as stored by the message
// parsers: "SMS only" is the value 4.
constexpr ValueText kAdditionalUpdateResult[] = {
    {0, "no additional information"},
    {1, "CS Fallback not preferred"},
    {4, "SMS only"},
};
constexpr Text kAdditionalUpdateResultOther = "reserved";

// EPS update type (TS 24.301 9.9.3.14).
constexpr Text kActiveFlag[] = {
    "No bearer establishment requested",
    "Bearer establishment requested",
};
constexpr Text kEpsUpdateTypeValue[] = {
    "TA updating",
    "combined TA/LA updating",
    "combined TA/LA updating with IMSI attach",
    "periodic updating",
    "unused",
    "unused",
    "reserved",
    "reserved",
};

// Ciphering key sequence number (TS 24.008 10.5.1.2).
constexpr ValueText kKeySequence[] = {
    {7, "No key is available"},
};
constexpr Text kKeySequenceOther = "Possible values for the ciphering key";

// TMSI status (TS 24.008 10.5.5.4): only the value 1 means a valid TMSI.
constexpr ValueText kTmsiStatus[] = {
    {1, "valid TMSI available"},
};
constexpr Text kTmsiStatusOther = "no valid TMSI available";

// UE radio capability information update needed (TS 24.301 9.9.3.35).
constexpr ValueText kRadioCapabilityUpdate[] = {
    {1, "UE radio capability information update needed"},
};
constexpr Text kRadioCapabilityUpdateOther = "UE radio capability information update not needed";

// NAS security algorithms (TS 24.301 9.9.3.23).
constexpr Text kCipherAlgorithm[] = {
    "EPS encryption algorithm EEA0 (ciphering not used)",
    "EPS encryption algorithm 128-EEA1",
    "EPS encryption algorithm 128-EEA2",
    "EPS encryption algorithm EEA3",
    "EPS encryption algorithm EEA4",
    "EPS encryption algorithm EEA5",
    "EPS encryption algorithm EEA6",
    "EPS encryption algorithm EEA7",
};
constexpr Text kIntegrityAlgorithm[] = {
    "Reserved",
    "EPS integrity algorithm 128-EIA1",
    "EPS integrity algorithm 128-EIA2",
    "EPS integrity algorithm EIA3",
    "EPS integrity algorithm EIA4",
    "EPS integrity algorithm EIA5",
    "EPS integrity algorithm EIA6",
    "EPS integrity algorithm EIA7",
};

}  // namespace

int ParseGprsTimer(BitCursor& cursor, int32_t length, GprsTimer& record) {
    return ParseIeValue(cursor, length, [&] {
        record.unit = static_cast<uint8_t>(ReadBits(cursor, 3));
        record.timerValue = static_cast<uint8_t>(ReadBits(cursor, 5));
    });
}

int RenderGprsTimer(const GprsTimer& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("Unit", record.unit, out, LookupText(kTimerUnit, record.unit, kTimerUnitOther));
    WriteNumber("TimerValue", record.timerValue, out);
    return 1;
}

int RenderEmmCause(int32_t cause, OutputDocument& out) {
    WriteNumber("EMMCause", cause, out, kEmmCauseText(cause));
    return 1;
}

int RenderKeySetIdentifier(const KeySetIdentifier& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("TSC", record.tsc, out, IndexedText(kSecurityContextType, record.tsc, nullptr));
    WriteNumber("NAS_Key_Set_Identifer", record.keySetId, out,
                LookupText(kKeySetId, record.keySetId, kKeySetIdOther));
    return 1;
}

int RenderDetachTypeToUe(const DetachTypeRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("Type_of_Detach", record.detachType, out,
                LookupText(kDetachToUe, record.detachType, kDetachToUeOther));
    return 1;
}

int RenderDetachTypeToNetwork(const DetachTypeRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("Type_of_Detach", record.detachType, out,
                LookupText(kDetachToNetwork, record.detachType, kDetachToNetworkOther));
    WriteNumber("Switch_off", record.switchOff, out, LookupText(kSwitchOff, record.switchOff, kSwitchOffOther));
    return 1;
}

int RenderServiceType(int32_t serviceType, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("ServiceType", serviceType, out, IndexedText(kServiceType, serviceType, kServiceTypeOther));
    return 1;
}

int RenderIdentityType(int32_t identityType, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("IdentityType", identityType, out, LookupText(kIdentityType, identityType, kIdentityTypeOther));
    return 1;
}

int RenderEpsUpdateResult(int32_t result, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("EPSUpdateResult", result, out, LookupText(kEpsUpdateResult, result, kEpsUpdateResultOther));
    return 1;
}

int RenderAdditionalUpdateResult(int32_t result, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("AdditionalUpdateResult", result, out, LookupText(kAdditionalUpdateResult, result, kAdditionalUpdateResultOther));
    return 1;
}

int RenderEpsUpdateType(int32_t halfOctet, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    const uint8_t activeFlag = static_cast<uint8_t>(TestBit(static_cast<uint32_t>(halfOctet), 3));
    const uint8_t updateType = static_cast<uint8_t>(halfOctet & 0x07);
    WriteNumber("ActiveFlag", activeFlag, out, IndexedText(kActiveFlag, activeFlag, nullptr));
    WriteNumber("EPSUpdateTypeValue", updateType, out, IndexedText(kEpsUpdateTypeValue, updateType, nullptr));
    return 1;
}

int RenderCipheringKeySequenceNumber(int32_t keySequence, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("CipheringKeySequenceNumber", keySequence, out, LookupText(kKeySequence, keySequence, kKeySequenceOther));
    return 1;
}

int RenderTmsiStatus(int32_t tmsiStatus, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("TMSI_Status", tmsiStatus, out, LookupText(kTmsiStatus, tmsiStatus, kTmsiStatusOther));
    return 1;
}

int RenderUeRadioCapabilityInfoUpdateNeeded(int32_t updateNeeded, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("UERadioCapabilityInfoUpdateNeeded", updateNeeded, out, LookupText(kRadioCapabilityUpdate, updateNeeded, kRadioCapabilityUpdateOther));
    return 1;
}

int RenderNasSecurityAlgorithms(int32_t octet, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    const uint8_t cipher = static_cast<uint8_t>((octet >> 4) & 0x07);
    const uint8_t integrity = static_cast<uint8_t>(octet & 0x07);
    WriteNumber("TypeOfCipherAlgorithm", cipher, out, IndexedText(kCipherAlgorithm, cipher, nullptr));
    WriteNumber("TypeOfIntProtectionAlgorithm", integrity, out,
                IndexedText(kIntegrityAlgorithm, integrity, nullptr));
    return 1;
}

}  // namespace corvuna
