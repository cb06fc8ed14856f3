// SPDX-License-Identifier: Apache-2.0
#include "capture/security.h"

#include "view/tables.h"

namespace corvuna::capture {

namespace {

// The MAC in the four octets from `macAt`, the sequence number after them,
// then the message they protect (TS 24.301 9.1, TS 24.501 9.1.1), which
// is plain unless ciphered by another algorithm than the null one.
void ReadMacAndBody(Bytes nas, size_t macAt, bool nullCiphering, ProtectedNas& p) {
    if (nas.size < macAt + 5) {
        p.shortHeader = true;
        return;
    }
    p.mac = nas.Be32(macAt);
    p.sequence = nas.At(macAt + 4);
    p.ciphered = p.securityHeader == 2 || p.securityHeader == 4;
    if (!p.ciphered || nullCiphering) p.plain = nas.From(macAt + 5);
}

// The security-protected 5GMM message (TS 24.501 9.1.1): EPD 0x7E, the
// security header type in octet 2, MAC and sequence number, then the
// plain 5GMM message.
ProtectedNas ReadProtected5gmm(Bytes nas, bool nullCiphering) {
    ProtectedNas p;
    p.securityHeader = nas.At(1) & 0x0F;
    if (p.securityHeader == 0) {
        p.plain = nas;
    } else if (p.securityHeader <= 4) {
        ReadMacAndBody(nas, 2, nullCiphering, p);
    }
    return p;
}

}  // namespace

ProtectedNas ReadProtectedNas(Bytes nas, bool nullCiphering) {
    ProtectedNas p;
    if (nas.size == 0) return p;
    const uint8_t first = nas.At(0);
    if (first == 0x7E) return ReadProtected5gmm(nas, nullCiphering);
    if ((first & 0x0F) != 7) {
        p.plain = nas;
        return p;
    }
    p.securityHeader = first >> 4;
    if (p.securityHeader == 0) {
        p.plain = nas;
    } else if (p.securityHeader >= 1 && p.securityHeader <= 4) {
        ReadMacAndBody(nas, 1, nullCiphering, p);
    } else if (p.securityHeader >= 12) {
        p.serviceRequest = true;
    }
    return p;
}

int DirectionOfMessage(Bytes plain) {
    if (plain.size < 2) return -1;
    const uint8_t pd = plain.At(0) & 0x0F;
    uint8_t directions = 0;
    if (pd == 7 && (plain.At(0) >> 4) == 0) directions = view::MessageDirections(7, plain.At(1));
    if (pd == 2 && plain.size >= 3) directions = view::MessageDirections(2, plain.At(2));
    if (directions == view::kUplink) return 1;
    if (directions == view::kDownlink) return 0;
    return -1;
}

}  // namespace corvuna::capture
