// SPDX-License-Identifier: Apache-2.0
// EPS authentication messages (TS 24.301 clauses 8.2.7 to 8.2.10):
// AUTHENTICATION REQUEST, RESPONSE, REJECT and FAILURE.
//
// Their bodies have fixed layouts; AUTHENTICATION FAILURE looks at one
// octet after the cause for its only optional IE.  AUTHENTICATION REJECT is
// the shared empty body.  The authentication
// vectors are written octet by octet, one hex element per octet.
#pragma once

#include <cstddef>
#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

inline constexpr size_t kAuthVectorOctets = 16;

struct AuthenticationRequestRecord {
    KeySetIdentifier ksi;              // NAS key set identifier ASME
    uint8_t rand[kAuthVectorOctets];   // RAND
    uint8_t autn[kAuthVectorOctets];   // AUTN value
};

struct AuthenticationResponseRecord {
    uint8_t res[kAuthParameterOctets];  // RES value, zero-padded
};

struct AuthenticationFailureRecord {
    int32_t emmCause;                    // the whole first octet
    uint8_t autsPresent;                 // IEI 0x30 read
    uint8_t auts[kAuthParameterOctets];  // AUTS, zero-padded
};

void ParseAuthenticationRequest(int direction, BitCursor& body, AuthenticationRequestRecord& record);
int RenderAuthenticationRequest(const AuthenticationRequestRecord& record, OutputDocument& out);

void ParseAuthenticationResponse(int direction, BitCursor& body, AuthenticationResponseRecord& record);
int RenderAuthenticationResponse(const AuthenticationResponseRecord& record, OutputDocument& out);

void ParseAuthenticationFailure(int direction, BitCursor& body, AuthenticationFailureRecord& record);
int RenderAuthenticationFailure(const AuthenticationFailureRecord& record, OutputDocument& out);

}  // namespace corvuna
