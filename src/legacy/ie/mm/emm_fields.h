// SPDX-License-Identifier: Apache-2.0
// EMM information elements whose whole value fits in one octet or half-octet
// (TS 24.301 clause 9.9.3, TS 24.008 clause 10.5).
//
// The message parsers take these values out of the message themselves and
// keep the numbers in their records; the renderers here turn the numbers
// into elements worded as in the standards.  Only the GPRS timer has a
// parser of its own.  Every renderer writes only the inner elements of its
// IE (the message renderer writes the group tags around it) and returns 1,
// or 0 without writing when the document has no buffer.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// GPRS timer (TS 24.008 10.5.7.3): one octet, unit in bits 8-6, timer value
// in bits 5-1.
struct GprsTimer {
    uint8_t unit;        // 0: 2 s, 1: 1 min, 2: decihours, 7: deactivated
    uint8_t timerValue;  // 0..31
};

// NAS key set identifier (TS 24.301 9.9.3.21): half an octet.
struct KeySetIdentifier {
    uint8_t tsc;       // type of security context flag (bit 4)
    uint8_t keySetId;  // bits 3-1; 7 = no key available
};

// The identifier in the low four bits of `halfOctet`, wherever the message
// carries it (a half of a mandatory octet, or a type 1 IE's value).
constexpr KeySetIdentifier KeySetIdentifierOf(uint32_t halfOctet) {
    return {static_cast<uint8_t>((halfOctet >> 3) & 0x01), static_cast<uint8_t>(halfOctet & 0x07)};
}

// Detach type (TS 24.301 9.9.3.7): half an octet.
struct DetachTypeRecord {
    int32_t switchOff;   // bit 4
    int32_t detachType;  // bits 3-1
};

// Reads the timer octet into `record` and reconciles with `length` (the
// message parsers pass 1).  Returns 0 for a negative or too short length.
int ParseGprsTimer(BitCursor& cursor, int32_t length, GprsTimer& record);
// "Unit", "TimerValue".
int RenderGprsTimer(const GprsTimer& record, OutputDocument& out);

// "EMMCause" for a cause value 0..255.  Writes through the element writer
// alone, which does nothing without a buffer; returns 1 in every case.
int RenderEmmCause(int32_t cause, OutputDocument& out);

// "TSC", "NAS_Key_Set_Identifer".
int RenderKeySetIdentifier(const KeySetIdentifier& record, OutputDocument& out);

// DETACH REQUEST sent by the network: "Type_of_Detach" only.
int RenderDetachTypeToUe(const DetachTypeRecord& record, OutputDocument& out);
// DETACH REQUEST sent by the UE: "Type_of_Detach", "Switch_off".
int RenderDetachTypeToNetwork(const DetachTypeRecord& record, OutputDocument& out);

// "ServiceType" for the service type half-octet.
int RenderServiceType(int32_t serviceType, OutputDocument& out);

// "IdentityType" for the identity type 2 value (bits 3-1).
int RenderIdentityType(int32_t identityType, OutputDocument& out);

// "EPSUpdateResult" for the EPS update result value (bits 3-1).
int RenderEpsUpdateResult(int32_t result, OutputDocument& out);

// "AdditionalUpdateResult"; also serves the additional update type of
// TRACKING AREA UPDATE REQUEST.
int RenderAdditionalUpdateResult(int32_t result, OutputDocument& out);

// "ActiveFlag" (bit 4) and "EPSUpdateTypeValue" (bits 3-1) of the whole
// EPS update type half-octet.
int RenderEpsUpdateType(int32_t halfOctet, OutputDocument& out);

// "CipheringKeySequenceNumber" for the key sequence (bits 3-1).
int RenderCipheringKeySequenceNumber(int32_t keySequence, OutputDocument& out);

// "TMSI_Status" for the TMSI status value (the TMSI flag, or the whole
// half-octet where the message keeps it).
int RenderTmsiStatus(int32_t tmsiStatus, OutputDocument& out);

// "UERadioCapabilityInfoUpdateNeeded" for the URC upd flag (bit 1).
int RenderUeRadioCapabilityInfoUpdateNeeded(int32_t updateNeeded, OutputDocument& out);

// "TypeOfCipherAlgorithm" (bits 7-5) and "TypeOfIntProtectionAlgorithm"
// (bits 3-1) of the whole NAS security algorithms octet.
int RenderNasSecurityAlgorithms(int32_t octet, OutputDocument& out);

}  // namespace corvuna
