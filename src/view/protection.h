// SPDX-License-Identifier: Apache-2.0
// What a caller that follows the UE's security context knows of one
// security-protected NAS message (TS 24.301 4.4, TS 24.501 4.4): how its
// body was read, the algorithms and NAS COUNT, where the keys came from,
// and whether its MAC was verified.  The view prints these facts as the
// protected message's "ciphering" member; it never computes them (the
// library holds no cryptography).
#pragma once

#include <cstdint>

#include "common/octets.h"
#include "common/text.h"

namespace corvuna::view {

struct Protection {
    // How the body of the message was read.
    enum class Body : uint8_t {
        kNotCiphered,    // security header type 1 or 3: integrity protected only
        kNullCiphering,  // ciphered with EEA0 (the security context says so, or the caller)
        kDeciphered,     // deciphered with the key of the security context: `plain`
        kGuessedNull,    // no security context known: the body reads as a plain message, taken as EEA0
        kLeftCiphered,   // stays ciphered: `reason` says why
    };
    enum class Mac : uint8_t {
        kNotChecked,   // no key for it: `macReason` says why
        kVerified,     // the MAC computed with the integrity key equals the message's
        kFailed,       // it differs: `expectedMac` is the one computed
        kUncheckable,  // the algorithm is not available here: `macReason`
    };

    Body body = Body::kLeftCiphered;
    Text reason;                   // why the body stays ciphered, or why it was guessed
    int cipheringAlgorithm = -1;   // EEA0..7 / 5G-EA0..7 of the security context, -1 unknown
    int integrityAlgorithm = -1;   // EIA0..7 / 5G-IA0..7, -1 unknown
    int64_t count = -1;            // the NAS COUNT of the message, -1 unknown
    Text keySource;                // where the NAS keys came from; empty when none
    Mac mac = Mac::kNotChecked;
    uint32_t expectedMac = 0;      // kFailed: the MAC computed
    Text macReason;
    Octets plain;                  // kDeciphered: the deciphered body (the plain NAS message)
};

}  // namespace corvuna::view
