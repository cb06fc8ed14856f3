// SPDX-License-Identifier: Apache-2.0
// Areas, networks and bearers: tracking area identity (list) (TS 24.301
// 9.9.3.32/33), location area identification (TS 24.008 10.5.1.3), PLMN
// list (TS 24.008 10.5.1.13), emergency number list (TS 24.008 10.5.3.13)
// and EPS bearer context status (TS 24.301 9.9.2.1).
//
// Each parser is called with the cursor on the first octet of the IE's
// value and the value's length in octets.  A negative length returns 0 at
// once; otherwise the parser reads its fields and reconciles the cursor
// with the length (0 when it read more than declared).  Each renderer
// writes only the inner elements of its IE and returns 1, or 0 without
// writing when the document has no buffer.
//
// PLMN identity octets (TS 24.008): MCC digit 2 | MCC digit 1, MNC digit 3 |
// MCC digit 3, MNC digit 2 | MNC digit 1 (high nibble | low nibble).
#pragma once

#include <cstddef>
#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// One tracking area identity; for a list, its first entry.
struct TrackingAreaIdentity {
    int32_t mcc;
    int32_t mnc;  // MNC digits 1 and 2 (digit 3 ignored)
    int32_t tac;
};

struct LocationAreaIdentification {
    int32_t mcc;
    int32_t mnc;  // MNC digits 1 and 2 (digit 3 ignored)
    int32_t lac;
};

inline constexpr size_t kMaxPlmns = 15;

struct PlmnList {
    int32_t plmnCount;            // entries decoded, at most kMaxPlmns
    int32_t plmnMcc[kMaxPlmns];
    int32_t plmnMnc[kMaxPlmns];   // two digits when MNC digit 3 is 0xF, else three
};

// Digits kept of one emergency number (further digits are dropped).
inline constexpr size_t kMaxEmergencyDigits = 10;
inline constexpr size_t kEmergencyNumbersKept = 2;

struct EmergencyNumber {
    int32_t category;                            // the whole service category octet
    int32_t digitCount;                          // characters in numberDigits
    char numberDigits[kMaxEmergencyDigits + 1];  // NUL-terminated digit text
};

struct EmergencyNumberList {
    EmergencyNumber numbers[kEmergencyNumbersKept];  // the first two numbers of the list
};

inline constexpr size_t kEpsBearerIdentities = 16;

struct EpsBearerContextStatus {
    uint8_t bearerActive[kEpsBearerIdentities];  // entry k: 1 when EBI k is active
};

// Tracking area identity list (LV value): decodes its first TAI only.  The
// first octet is taken as the list header unless it is 0x64, which is read
// as the first PLMN octet of a list without header.
int ParseTrackingAreaIdentityList(BitCursor& cursor, int32_t length, TrackingAreaIdentity& record);
// A single tracking area identity (the TV value of the last visited
// registered TAI, callers pass length 5): three PLMN octets and the TAC.
int ParseTrackingAreaIdentity(BitCursor& cursor, int32_t length, TrackingAreaIdentity& record);
// "MCC", "MNC", "TAC"; serves both the list and the single identity.
int RenderTrackingAreaIdentity(const TrackingAreaIdentity& record, OutputDocument& out);

// Three PLMN octets and the LAC (callers pass length 5).
int ParseLocationAreaIdentification(BitCursor& cursor, int32_t length, LocationAreaIdentification& record);
// "MCC", "MNC", "LAC".
int RenderLocationAreaIdentification(const LocationAreaIdentification& record, OutputDocument& out);

// One PLMN per three octets of the length, at most kMaxPlmns.
int ParsePlmnList(BitCursor& cursor, int32_t length, PlmnList& record);
// Per PLMN: "PLMN" block with "MCC", "MNC".
int RenderPlmnList(const PlmnList& record, OutputDocument& out);

// The first two emergency numbers of the list (further numbers are passed
// over).  Each keeps at most kMaxEmergencyDigits digit characters, low
// nibble first; the end mark 0xF of an odd digit count is not a digit.
int ParseEmergencyNumberList(BitCursor& cursor, int32_t length, EmergencyNumberList& record);
// Per number holding digits: "EmergSerCateValue", "NumDigit".
int RenderEmergencyNumberList(const EmergencyNumberList& record, OutputDocument& out);

// The two-octet bearer bitmap (EBI 7..0, then EBI 15..8).
int ParseEpsBearerContextStatus(BitCursor& cursor, int32_t length, EpsBearerContextStatus& record);
// Sixteen "EBI" elements, EBI 0 first.
int RenderEpsBearerContextStatus(const EpsBearerContextStatus& record, OutputDocument& out);

}  // namespace corvuna
