// SPDX-License-Identifier: Apache-2.0
#include "capture/rrc.h"

namespace corvuna::capture {

void RrcMessage::Clear() {
    name = "";
    nasCut = false;
    cipheringAlgorithm = -1;
    cipheringName = "";
    integrityAlgorithm = -1;
    integrityName = "";
    newCRnti = -1;
    reestablishmentCRnti = -1;
    problem[0] = '\0';
    nasCount_ = 0;
    used_ = 0;
}

uint8_t* RrcMessage::ReserveNas(size_t size) {
    if (nasCount_ == kMaxNas || size > kMaxNasOctets - used_) {
        nasCut = true;
        return nullptr;
    }
    nasAt_[nasCount_] = used_;
    nasSize_[nasCount_] = size;
    ++nasCount_;
    used_ += size;
    return octets_ + nasAt_[nasCount_ - 1];
}

}  // namespace corvuna::capture
