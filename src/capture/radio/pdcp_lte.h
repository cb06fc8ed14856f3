// SPDX-License-Identifier: Apache-2.0
// LTE PDCP for signalling radio bearers (TS 36.323): the data PDU of SRB1
// and SRB2 (6.2.2: a 5-bit sequence number, the RRC PDU, the 4-octet
// MAC-I) and the receive COUNT (5.1.2.2) that AS ciphering and integrity
// protection take as input.
#pragma once

#include <cstdint>

#include "capture/bytes.h"

namespace corvuna::capture::radio {

struct PdcpSrbPdu {
    uint8_t sn = 0;
    Bytes data;  // the RRC PDU (ciphered when AS ciphering is on)
    uint32_t macI = 0;
};

// False when the PDU is shorter than its header and MAC-I and one octet.
bool ParsePdcpSrb(Bytes pdu, PdcpSrbPdu& out);

// The receiving side's COUNT of one SRB: RX_HFN and Next_PDCP_RX_SN.
class PdcpSrbCount {
public:
    // The COUNT of a received PDU with sequence number `sn`; the state
    // moves on as for a PDU whose integrity check passed.
    uint32_t Receive(uint8_t sn);
    void Reset() { hfn_ = 0, nextSn_ = 0; }

private:
    uint32_t hfn_ = 0;
    uint8_t nextSn_ = 0;
};

}  // namespace corvuna::capture::radio
