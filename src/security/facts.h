// SPDX-License-Identifier: Apache-2.0
// What the security tracker found out about one NAS message: the context
// and algorithms used, the NAS COUNT, where the key came from, the MAC's
// check, whether the body was deciphered, and the plain octets.  Written
// on the program's comment line and as the `ciphering` member of its JSON.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "security/octets.h"
#include "view/sink.h"

namespace corvuna::security {

enum class KeySource : uint8_t {
    kNone,
    kK,          // Milenage or XOR from the keys file's K, with the RAND of the capture
    kCaptureS6a, // the KASME of an S6a Authentication-Information-Answer in the capture
    kKasme,      // a KASME of the keys file
    kNasKeys,    // NAS keys of the keys file
};

enum class MacCheck : uint8_t {
    kNone,          // not integrity protected
    kVerified,
    kFailed,        // expectedMac holds what the key gives
    kUnverifiable,  // why says why
};

enum class BodyState : uint8_t {
    kClear,          // not ciphered
    kDeciphered,     // with 128-EEA1/2/3
    kNull,           // ciphered with EEA0, as the context says
    kGuessedNull,    // no context: read as EEA0 because it reads as a well-formed message
    kLeftCiphered,   // why says why
};

struct SecurityFacts {
    int securityHeader = -1;  // -1: not an EMM or 5GMM message
    bool fivegs = false;      // a 5GMM message: ngKSI, KAMF, 128-NEA/NIA (named 5G-EA/5G-IA)
    int direction = -1;       // the direction the tracker used (1 uplink, 0 downlink)
    std::string ue;           // "imsi-001010123456789", or "ue<N>" before the UE is known
    // The context used.
    int ksi = -1;
    bool mapped = false;
    int eia = -1;
    int eea = -1;
    bool countKnown = false;
    uint32_t count = 0;
    KeySource keySource = KeySource::kNone;
    MacCheck mac = MacCheck::kNone;
    uint32_t receivedMac = 0;
    uint32_t expectedMac = 0;
    bool shortMac = false;  // SERVICE REQUEST: 16 bits
    std::string macWhy;
    BodyState body = BodyState::kClear;
    std::string bodyWhy;
    // The message with its body in the clear (the security header kept), when
    // it can be read; empty otherwise.
    std::vector<uint8_t> plain;
    // AUTHENTICATION RESPONSE: the RES against what the key gives.
    int resCheck = 0;  // 1 equal, -1 different, 0 not checked
    std::string expectedRes;
    const char* resFrom = "";
    // The keys used (shown only when asked); `kasme` holds KAMF for 5GS.
    std::string kasme, nasEnc, nasInt;
};

const char* KeySourceName(KeySource source);

// " mac_check=verified(eia1) count=3 key=s6a ..." for the comment line
// (starts with a blank; empty for a message without security).  Keys only
// with `showKeys`.
std::string FactsText(const SecurityFacts& facts, bool showKeys);

// The UE's security context beside a capture's record (group "Security":
// the UE, KSI, native or mapped, the RES check; keys only with
// `showKeys`).  How the message itself was protected is the view's
// "ciphering" member.
void WriteContext(view::Sink& out, const SecurityFacts& facts, bool showKeys);

}  // namespace corvuna::security
