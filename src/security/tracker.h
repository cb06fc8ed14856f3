// SPDX-License-Identifier: Apache-2.0
// The EPS security context of each UE across a whole capture (TS 24.301
// 4.4, TS 33.401 7.2): the UE associations that belong to one UE (tied
// together by the IMSI, GUTI and S-TMSI they show, or by a MAC that only
// that UE's key verifies), its native contexts with their KSI, the current
// one and the new one a SECURITY MODE COMMAND takes into use, the NAS
// COUNT of each direction (the overflow counter estimated from the 8-bit
// sequence numbers), and the keys: from the keys file (K and OPc through
// Milenage on the RAND and AUTN of the AUTHENTICATION REQUEST, a KASME, or
// the NAS keys) or from the S6a answers of the capture.  Each message gets
// its MAC checked and, when ciphered, its body deciphered.
//
// A UE association is named by its carrier (an S1AP UE association, a
// GSMTAP stream, a raw NAS capture, an RNTI on the radio side): the
// tracker takes any string.
#pragma once

#include <memory>
#include <string_view>

#include "security/facts.h"
#include "security/keys.h"

namespace corvuna::security {

struct NasInput {
    std::string_view connection;  // the UE association
    int direction = -1;           // 1 uplink, 0 downlink, -1 not carried
    ConstOctets nas;
    bool newAssociation = false;     // the first message of a UE association (S1AP INITIAL UE MESSAGE):
                                     // an earlier association of the same name was another's
    int64_t sTmsi = -1;              // S1AP S-TMSI (MMEC << 32 | M-TMSI), -1 when not given
    const uint8_t* taiPlmn = nullptr;  // the S1AP TAI's PLMN identity (3 octets), or null
};

class SecurityTracker {
public:
    // `keys` may be null (no keys file); it must outlive the tracker.
    explicit SecurityTracker(const KeyStore* keys, bool keepKeys = false);
    ~SecurityTracker();
    SecurityTracker(const SecurityTracker&) = delete;
    SecurityTracker& operator=(const SecurityTracker&) = delete;

    // An authentication vector of an S6a answer (`imsi` empty when the
    // request was not seen; `visitedPlmn` null when it gave none).
    void AddVector(std::string_view imsi, const Plmn* visitedPlmn, const Rand& rand, ConstOctets xres, const Autn& autn,
                   const Key256& kasme);

    // One NAS message, in capture order.
    void Process(const NasInput& in, SecurityFacts& out);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvuna::security
