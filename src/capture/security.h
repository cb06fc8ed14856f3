// SPDX-License-Identifier: Apache-2.0
// The security-protected NAS message (TS 24.301 9.1, TS 24.501 9.1): its
// header and, when readable, the message it protects.  (The security
// context of each UE the security tracker follows.)
#pragma once

#include <cstdint>

#include "capture/bytes.h"

namespace corvuna::capture {

struct ProtectedNas {
    int securityHeader = -1;  // EMM and 5GMM: the security header type (0 plain); -1 for other protocols
    uint32_t mac = 0;         // header types 1-4
    int sequence = -1;        // header types 1-4
    Bytes plain;              // the plain message, when it can be read
    bool ciphered = false;    // header types 2 and 4
    bool serviceRequest = false;  // header types 12-15
    bool shortHeader = false;     // header types 1-4 cut inside the security header
};

// The header of `nas`; `nullCiphering` tells that a ciphered message's
// inner octets are plain (EEA0).
ProtectedNas ReadProtectedNas(Bytes nas, bool nullCiphering);

// The direction of a plain EPS NAS message from its message type, where the
// type is sent in one direction only: 1 uplink, 0 downlink, -1 either.
int DirectionOfMessage(Bytes plain);

}  // namespace corvuna::capture
