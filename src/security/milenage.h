// SPDX-License-Identifier: Apache-2.0
// The authentication functions of the USIM: Milenage (TS 35.206, on AES-128
// from OpenSSL's libcrypto) and the XOR test algorithm of TS 34.108 8.1.2
// that test SIMs use.
#pragma once

#include <optional>

#include "security/octets.h"

namespace corvuna::security {

// Whether this build has Milenage (it needs libcrypto).
bool MilenageAvailable();

// OPc = E_K(OP) xor OP.  nullopt when Milenage is unavailable.
std::optional<Key128> MilenageOpc(const Key128& k, const Key128& op);

// Every output of Milenage for one RAND, SQN and AMF (TS 35.206 4.1).
struct MilenageOutput {
    std::array<uint8_t, 8> macA{};    // f1
    std::array<uint8_t, 8> macS{};    // f1*
    std::array<uint8_t, 8> res{};     // f2
    Key128 ck{};                      // f3
    Key128 ik{};                      // f4
    std::array<uint8_t, 6> ak{};      // f5
    std::array<uint8_t, 6> akStar{};  // f5*
};

std::optional<MilenageOutput> Milenage(const Key128& k, const Key128& opc, const Rand& rand, const Sqn& sqn,
                                       const Amf& amf);

// What the USIM computes from the RAND and AUTN of an AUTHENTICATION
// REQUEST: its RES, CK and IK, and the SQN it finds in the AUTN (SQN xor AK,
// AK removed) with the check of the AUTN's MAC.
struct AkaResult {
    std::array<uint8_t, 16> res{};  // the first resLength octets are the RES
    size_t resLength = 8;
    Key128 ck{};
    Key128 ik{};
    Sqn sqnXorAk{};  // as the AUTN carries it (the KASME derivation's input)
    Sqn sqn{};
    bool macMatches = false;  // the AUTN's MAC is the one K computes
};

std::optional<AkaResult> MilenageAka(const Key128& k, const Key128& opc, const Rand& rand, const Autn& autn);

// The test algorithm of TS 34.108 8.1.2 (XDOUT = K xor RAND); `resLength`
// octets of RES (4 to 16).
AkaResult XorAka(const Key128& k, const Rand& rand, const Autn& autn, size_t resLength);

}  // namespace corvuna::security
