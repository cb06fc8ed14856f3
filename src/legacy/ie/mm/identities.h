// SPDX-License-Identifier: Apache-2.0
// Identities and authentication parameters: EPS mobile identity
// (TS 24.301 9.9.3.12), mobile identity (TS 24.008 10.5.1.4), P-TMSI
// signature, nonce, and the authentication failure (AUTS) and response
// (RES) parameters.
//
// Each parser is called with the cursor on the first octet of the IE's
// value and the value's length in octets.  A negative length returns 0 at
// once; otherwise the parser reads its fields and reconciles the cursor
// with the length (0 when it read more than declared).  Each renderer
// writes only the inner elements of its IE and returns 1, or 0 without
// writing when the document has no buffer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// EPS mobile identity: a GUTI or the lead of an IMSI.
struct EpsMobileIdentity {
    uint8_t oddEven;         // bit 4 of the first octet
    uint8_t identityType;    // bits 3-1 of the first octet: 1 IMSI, 6 GUTI
    int32_t mcc;             // GUTI: three-digit mobile country code
    int32_t mnc;             // GUTI: first two MNC digits
    int32_t mmeGroupId;      // GUTI: 16 bits
    int32_t mmeCode;         // GUTI: 8 bits
    uint32_t mTmsi;          // GUTI: first octet most significant
    int32_t imsiLeadDigits;  // IMSI: second octet x 16 + first digit
};

// Mobile identity of TS 24.008: the lead digits of an IMSI, IMEI, IMEISV or
// TMSI, or a TMGI.
inline constexpr size_t kMobileIdentityDigits = 10;

struct MobileIdentity {
    int32_t identityType;                   // bits 3-1 of the first octet
    int32_t oddEven;                        // bit 4 of the first octet
    uint8_t digitCount;                     // digits kept: 0, 1 or 3
    uint8_t digits[kMobileIdentityDigits];  // one digit (nibble) per entry
    uint8_t mbmsSessionIdPresent;           // TMGI: bit 6 of the first octet
    uint8_t mccMncPresent;                  // TMGI: bit 5 of the first octet
    int32_t mbmsServiceId;                  // TMGI: 24 bits
    int32_t mcc;                            // TMGI
    int32_t mnc;                            // TMGI: three-digit form
    int32_t mbmsSessionId;                  // TMGI: the session identity octet
};

// AUTS and RES are kept in arrays of this many octets.
inline constexpr size_t kAuthParameterOctets = 16;

// EPS mobile identity.  An IMSI reads two octets, a GUTI eleven whatever
// the length; any other type reads one octet and returns 0.
int ParseEpsMobileIdentity(BitCursor& cursor, int32_t length, EpsMobileIdentity& record);
// "odd_even_indic", "Type_Of_Indetity", then "Identity_Digit" (IMSI) or
// "MCC", "MNC", "MME_Group_ID", "MME_Code", "M_TMSI" (GUTI).  Returns 0
// after "Unknown Type" for any other type.
int RenderEpsMobileIdentity(const EpsMobileIdentity& record, OutputDocument& out);

// Mobile identity.  Keeps at most three digits of an IMSI, IMEI, IMEISV or
// TMSI (the second octet only when the length exceeds 1); decodes a TMGI.
int ParseMobileIdentity(BitCursor& cursor, int32_t length, MobileIdentity& record);
// TMGI indicators, "Odd_Even_Indic", "Type_Of_Identity", then one "digit"
// per kept digit or the TMGI numbers.
int RenderMobileIdentity(const MobileIdentity& record, OutputDocument& out);

// P-TMSI signature: three octets, the first least significant (callers pass
// length 3).
int ParsePtmsiSignature(BitCursor& cursor, int32_t length, uint32_t& value);
// "P_TMSI_SignatureValue".
int RenderPtmsiSignature(uint32_t value, OutputDocument& out);

// NonceUE / NonceMME: four octets, the first least significant (callers pass
// length 4).
int ParseNonce(BitCursor& cursor, int32_t length, uint32_t& value);
// "NonceValue", printed as a signed 32-bit number.
int RenderNonce(uint32_t value, OutputDocument& out);

// AUTS and RES value: clears the array, then copies the `length` octets
// into its start when they are at most 16 and all present in the message.
// A longer value is skipped with nothing copied; a value that runs past the
// message copies nothing and moves the cursor to the message's end.
int ParseAuthOctetString(BitCursor& cursor, int32_t length, uint8_t (&octets)[kAuthParameterOctets]);
inline int ParseAuts(BitCursor& cursor, int32_t length, uint8_t (&octets)[kAuthParameterOctets]) {
    return ParseAuthOctetString(cursor, length, octets);
}
inline int ParseRes(BitCursor& cursor, int32_t length, uint8_t (&octets)[kAuthParameterOctets]) {
    return ParseAuthOctetString(cursor, length, octets);
}
// Sixteen one-octet hex elements "AUTS" / "RES", whatever the real length.
int RenderAuts(const uint8_t (&octets)[kAuthParameterOctets], OutputDocument& out);
int RenderRes(const uint8_t (&octets)[kAuthParameterOctets], OutputDocument& out);

}  // namespace corvuna
