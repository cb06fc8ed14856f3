// SPDX-License-Identifier: Apache-2.0
// Messages the tests encode by hand, field by field, from the ASN.1 of the
// protocols (each function says what it holds), with the PER writer of
// capture_builders.h: S1AP and NGAP in aligned PER, LTE RRC in unaligned.
#pragma once

#include "support/capture_builders.h"

namespace corvuna::test {

// S1AP INITIAL UE MESSAGE: eNB-UE-S1AP-ID 77, NAS-PDU `nas`, TAI (PLMN
// 00f110, TAC 0001), EUTRAN-CGI (PLMN 00f110, cell 0x0019b01),
// RRC-Establishment-Cause mo-Signalling, S-TMSI (MMEC 01, M-TMSI
// 2bf07d83): the S-TMSI's value cut after `stmsiOctets` of its 6 octets.
Octets S1apInitialUeMessage(const Octets& nas, size_t stmsiOctets = 6);

// NGAP PDU SESSION RESOURCE SETUP REQUEST: AMF-UE-NGAP-ID 0x0102030405,
// RAN-UE-NGAP-ID 7, NAS-PDU `nas`, PDUSessionResourceSetupListSUReq of
// two items (PDU session 5 with `first`, 6 with `second` as
// pDUSessionNAS-PDU; S-NSSAI SST 1, SD 000001).
Octets NgapPduSessionResourceSetupRequest(const Octets& nas, const Octets& first, const Octets& second);

// NGAP DOWNLINK NAS TRANSPORT: AMF-UE-NGAP-ID `amf`, RAN-UE-NGAP-ID `ran`, NAS-PDU.
Octets NgapDownlinkNasTransport(uint64_t amf, uint32_t ran, const Octets& nas);

// UL-DCCH-Message: ULInformationTransfer-r8 with dedicatedInfoNAS `nas`.
Octets RrcUlInformationTransfer(const Octets& nas);

// DL-DCCH-Message: RRCConnectionReconfiguration (transaction 2), -r8 with
//   measConfig: measIdToRemoveList {3, 7}, s-Measure 50;
//   mobilityControlInfo: targetPhysCellId 301, t304 ms1000, newUE-Identity
//     0x1234, radioResourceConfigCommon (prach-Config rootSequenceIndex 22,
//     pusch-ConfigCommon n-SB 2 interSubFrame offset 4 no 64QAM, group
//     hopping on, group assignment 0, no sequence hopping, cyclic shift 0;
//     ul-CyclicPrefixLength len1), and in its extension additions the
//     group of drb-ContinueROHC-r11 (true);
//   dedicatedInfoNASList {nas1, nas2}.
Octets RrcConnectionReconfiguration(const Octets& nas1, const Octets& nas2);

// DL-DCCH-Message: SecurityModeCommand (transaction 1) selecting
// `ciphering` (CipheringAlgorithm-r12 index) and `integrity`.
Octets RrcSecurityModeCommand(int ciphering, int integrity);

}  // namespace corvuna::test
