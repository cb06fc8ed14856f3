// SPDX-License-Identifier: Apache-2.0
// What one LTE RRC PDU (TS 36.331, unaligned PER) says that NAS work needs:
// the message's name, the NAS PDUs it carries (every DedicatedInfoNAS: of
// RRCConnectionSetupComplete, ULInformationTransfer, DLInformationTransfer,
// each entry of RRCConnectionReconfiguration's dedicatedInfoNASList, and
// the later releases' fields of that type), the AS security algorithms a
// SECURITY MODE COMMAND (or a handover's securityConfigHO) selects, and
// the C-RNTIs it gives: the new one of mobilityControlInfo (newUE-Identity)
// and the old one a reestablishment request names.
//
// The whole PDU is decoded by the PER engine over the tables generated from
// the ASN.1 of TS 36.331: measConfig, mobilityControlInfo and everything
// else before a NAS PDU is read to find where the NAS PDU starts.
//
//   capture::RrcMessage m;                          // large: keep one around
//   if (capture::DecodeRrc(capture::RrcChannel::kDlDcch, pdu, m) == capture::RrcResult::kOk)
//       for (size_t i = 0; i < m.nasCount(); ++i) use(m.nas(i));
#pragma once

#include <cstddef>
#include <cstdint>

#include "capture/bytes.h"

namespace corvuna::capture {

// The logical channel's message class: which PDU type the octets are.
enum class RrcChannel : uint8_t { kUlCcch, kDlCcch, kUlDcch, kDlDcch };

class RrcMessage {
public:
    static constexpr size_t kMaxNas = 16;           // dedicatedInfoNASList holds up to maxDRB (11)
    static constexpr size_t kMaxNasOctets = 8192;   // a PDCP SDU is at most 8188 octets (TS 36.323)

    // The message: the alternative of the message type CHOICEs that is the
    // message itself ("rrcConnectionSetupComplete", "dlInformationTransfer",
    // "scgFailureInformationNR-r15", "spare1", "messageClassExtension", ...).
    const char* name = "";

    // The NAS PDUs, in encoding order (copies: unaligned PER puts them on
    // any bit).
    size_t nasCount() const { return nasCount_; }
    Bytes nas(size_t i) const { return i < nasCount_ ? Bytes{octets_ + nasAt_[i], nasSize_[i]} : Bytes{}; }
    bool nasCut = false;  // more NAS PDUs or octets than kept

    // AS security (SecurityAlgorithmConfig): CipheringAlgorithm-r12 and
    // integrityProtAlgorithm as their ENUMERATED index (0 eea0 / eia0, 1
    // eea1 / eia1, ...) and name; -1 and "" when the message selects none.
    int cipheringAlgorithm = -1;
    const char* cipheringName = "";
    int integrityAlgorithm = -1;
    const char* integrityName = "";

    // mobilityControlInfo.newUE-Identity: the C-RNTI in the target cell.
    int32_t newCRnti = -1;
    // RRCConnectionReestablishmentRequest ue-Identity.c-RNTI: the UE's
    // C-RNTI in the cell it came from.
    int32_t reestablishmentCRnti = -1;

    // A malformed PDU: what, and where (what was found before is kept).
    char problem[256] = {};

    void Clear();
    // For the decoder: room for the next NAS PDU of `size` octets (nullptr,
    // and nasCut set, when there is none).
    uint8_t* ReserveNas(size_t size);

private:
    size_t nasCount_ = 0;
    size_t used_ = 0;
    size_t nasAt_[kMaxNas] = {};
    size_t nasSize_[kMaxNas] = {};
    uint8_t octets_[kMaxNasOctets] = {};
};

enum class RrcResult { kOk, kMalformed, kUnavailable };

// Decodes one RRC PDU of `channel`'s message class into `out`.  kMalformed
// keeps what was found before the fault; kUnavailable: this build has no
// tables (no ASN.1 modules at build time).
RrcResult DecodeRrc(RrcChannel channel, Bytes pdu, RrcMessage& out);

}  // namespace corvuna::capture
