// SPDX-License-Identifier: Apache-2.0
#include "capture/security.h"

#include "view/tables.h"

namespace corvuna::capture {

ProtectedNas ReadProtectedNas(Bytes nas, bool nullCiphering) {
    ProtectedNas p;
    if (nas.size == 0) return p;
    const uint8_t first = nas.At(0);
    if ((first & 0x0F) != 7) {
        p.plain = nas;
        return p;
    }
    p.securityHeader = first >> 4;
    if (p.securityHeader == 0) {
        p.plain = nas;
    } else if (p.securityHeader >= 1 && p.securityHeader <= 4) {
        if (nas.size < 6) {
            p.shortHeader = true;
            return p;
        }
        p.mac = nas.Be32(1);
        p.sequence = nas.At(5);
        p.ciphered = p.securityHeader == 2 || p.securityHeader == 4;
        if (!p.ciphered || nullCiphering) p.plain = nas.From(6);
    } else if (p.securityHeader >= 12) {
        p.serviceRequest = true;
    }
    return p;
}

void SecurityContexts::Observe(const std::string& key, Bytes plain) {
    // SECURITY MODE COMMAND: 07 5D, then the selected NAS security
    // algorithms (type of ciphering algorithm in bits 7-5).
    if (plain.size >= 3 && plain.At(0) == 0x07 && plain.At(1) == 0x5D) ciphering_[key] = (plain.At(2) >> 4) & 0x07;
}

int SecurityContexts::Ciphering(const std::string& key) const {
    const auto it = ciphering_.find(key);
    return it == ciphering_.end() ? -1 : it->second;
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
