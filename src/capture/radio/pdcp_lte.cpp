// SPDX-License-Identifier: Apache-2.0
#include "capture/radio/pdcp_lte.h"

namespace corvuna::capture::radio {

namespace {
constexpr uint8_t kMaximumSn = 31;  // 5-bit sequence numbers
constexpr uint32_t kHfnMask = (1u << 27) - 1;
}  // namespace

bool ParsePdcpSrb(Bytes pdu, PdcpSrbPdu& out) {
    if (pdu.size < 6) return false;
    out.sn = pdu.At(0) & 0x1F;
    out.data = Bytes{pdu.data + 1, pdu.size - 5};
    out.macI = pdu.Be32(pdu.size - 4);
    return true;
}

uint32_t PdcpSrbCount::Receive(uint8_t sn) {
    sn &= kMaximumSn;
    const bool wrapped = sn < nextSn_;
    if (wrapped) hfn_ = (hfn_ + 1) & kHfnMask;
    const uint32_t count = hfn_ << 5 | sn;
    nextSn_ = static_cast<uint8_t>(sn + 1);
    if (nextSn_ > kMaximumSn) {
        nextSn_ = 0;
        hfn_ = (hfn_ + 1) & kHfnMask;
    }
    return count;
}

}  // namespace corvuna::capture::radio
