// SPDX-License-Identifier: Apache-2.0
#include "support/per_messages.h"

namespace corvuna::test {

namespace {

// An AP protocol IE (ProtocolIE-Field: id, criticality reject, the value as
// an open type); S1apIe writes the same.
Octets Ie(uint32_t id, const Octets& value) { return S1apIe(id, value); }

}  // namespace

Octets S1apInitialUeMessage(const Octets& nas, size_t stmsiOctets) {
    // TAI ::= SEQUENCE { pLMNidentity (SIZE (3)), tAC (SIZE (2)), iE-Extensions OPTIONAL, ... }:
    // extension bit 0, iE-Extensions absent, then the 3-octet PLMN identity
    // octet-aligned, then the 2-octet TAC (no alignment of its own).
    const Octets tai = {0x00, 0x00, 0xF1, 0x10, 0x00, 0x01};
    // EUTRAN-CGI: the same two bits, the PLMN identity, then cell-ID
    // BIT STRING (SIZE (28)) octet-aligned: 0000 0000 0001 1001 1011 0000 0001.
    const Octets ecgi = {0x00, 0x00, 0xF1, 0x10, 0x00, 0x19, 0xB0, 0x10};
    // RRC-Establishment-Cause: in the root (0), mo-Signalling, the 4th of 5 (011).
    const Octets cause = {0x30};
    // S-TMSI ::= SEQUENCE { mMEC (SIZE (1)), m-TMSI (SIZE (4)), iE-Extensions OPTIONAL, ... }:
    // 0, 0, then MMEC's 8 bits where they fall (a string of 2 octets or
    // less is not aligned), then M-TMSI octet-aligned.
    Octets stmsi = {0x00, 0x40, 0x2B, 0xF0, 0x7D, 0x83};
    stmsi.resize(stmsiOctets);
    return S1apPdu(0, 12,
                   {Ie(8, S1apEnbUeIdValue(77)), Ie(26, S1apNasPduValue(nas)), Ie(67, tai), Ie(100, ecgi),
                    Ie(134, cause), Ie(96, stmsi)});
}

Octets NgapPduSessionResourceSetupRequest(const Octets& nas, const Octets& first, const Octets& second) {
    // AMF-UE-NGAP-ID ::= INTEGER (0..1099511627775): the number of octets
    // (5, as 5 - 1 in 3 bits) then the octets, aligned.
    const Octets amf = {0x80, 0x01, 0x02, 0x03, 0x04, 0x05};
    // RAN-UE-NGAP-ID ::= INTEGER (0..4294967295): one octet (00 in 2 bits).
    const Octets ran = {0x00, 0x07};
    auto item = [](uint8_t session, const Octets& sessionNas) {
        PerWriter w;
        w.Bits(0, 1);  // PDUSessionResourceSetupItemSUReq: extension bit
        w.Bits(1, 1);  // pDUSessionNAS-PDU present
        w.Bits(0, 1);  // iE-Extensions absent
        w.Constrained(session, 256);  // pDUSessionID (0..255): one aligned octet
        w.OpenType(sessionNas);       // pDUSessionNAS-PDU: length and octets
        w.Bits(0, 1);                 // S-NSSAI: extension bit
        w.Bits(1, 1);                 // sD present
        w.Bits(0, 1);                 // iE-Extensions absent
        w.Bits(0x01, 8);              // sST (SIZE (1)): not aligned
        w.Raw({0x00, 0x00, 0x01});    // sD (SIZE (3)): aligned
        // pDUSessionResourceSetupRequestTransfer (CONTAINING ...): its
        // encoding of no IEs (extension bit, count 0 in two octets).
        w.OpenType({0x00, 0x00, 0x00});
        return w.Done();
    };
    PerWriter list;
    list.Constrained(1, 256);  // SIZE (1..256): 2 items
    list.Raw(item(5, first));
    list.Raw(item(6, second));
    return S1apPdu(0, 29, {Ie(10, amf), Ie(85, ran), Ie(38, S1apNasPduValue(nas)), Ie(74, list.Done())});
}

Octets NgapDownlinkNasTransport(uint64_t amf, uint32_t ran, const Octets& nas) {
    PerWriter amfValue;
    amfValue.Constrained(amf, uint64_t{1} << 40);
    PerWriter ranValue;
    ranValue.Constrained(ran, uint64_t{1} << 32);
    return S1apPdu(0, 4, {Ie(10, amfValue.Done()), Ie(85, ranValue.Done()), Ie(38, S1apNasPduValue(nas))});
}

Octets RrcUlInformationTransfer(const Octets& nas) {
    PerWriter w(false);
    w.Bits(0, 1);  // UL-DCCH-MessageType: c1
    w.Bits(9, 4);  // c1: ulInformationTransfer, the 10th of 16
    w.Bits(0, 1);  // criticalExtensions: c1
    w.Bits(0, 2);  // c1: ulInformationTransfer-r8, the 1st of 4
    w.Bits(0, 1);  // ULInformationTransfer-r8-IEs: nonCriticalExtension absent
    w.Bits(0, 2);  // dedicatedInfoType: dedicatedInfoNAS, the 1st of 3
    w.OpenType(nas);  // DedicatedInfoNAS ::= OCTET STRING: 8-bit length, octets where they fall
    return w.Done();
}

Octets RrcConnectionReconfiguration(const Octets& nas1, const Octets& nas2) {
    PerWriter w(false);
    w.Bits(0, 1);         // DL-DCCH-MessageType: c1
    w.Bits(4, 4);         // c1: rrcConnectionReconfiguration, the 5th of 16
    w.Bits(2, 2);         // rrc-TransactionIdentifier (0..3)
    w.Bits(0, 1);         // criticalExtensions: c1
    w.Bits(0, 3);         // c1: rrcConnectionReconfiguration-r8, the 1st of 8
    w.Bits(0b111000, 6);  // measConfig, mobilityControlInfo, dedicatedInfoNASList present; the other 3 absent

    // MeasConfig
    w.Bits(0, 1);               // extension bit
    w.Bits(0b00001000100, 11);  // of 11 OPTIONAL members: measIdToRemoveList (5th), s-Measure (9th)
    w.Bits(1, 5);               // measIdToRemoveList SIZE (1..32): 2
    w.Bits(3 - 1, 5);           // MeasId (1..32): 3
    w.Bits(7 - 1, 5);           // MeasId: 7
    w.Bits(50, 7);              // s-Measure: RSRP-Range (0..97)

    // MobilityControlInfo
    w.Bits(1, 1);       // extension bit: additions follow the root
    w.Bits(0, 4);       // carrierFreq, carrierBandwidth, additionalSpectrumEmission, rach-ConfigDedicated absent
    w.Bits(301, 9);     // targetPhysCellId (0..503)
    w.Bits(5, 3);       // t304: ms1000, the 6th of 8
    w.Bits(0x1234, 16); // newUE-Identity: C-RNTI (SIZE (16))
    // RadioResourceConfigCommon
    w.Bits(0, 1);    // extension bit
    w.Bits(0, 9);    // its 9 OPTIONAL members absent
    w.Bits(0, 1);    // prach-Config: prach-ConfigInfo absent
    w.Bits(22, 10);  // rootSequenceIndex (0..837)
    w.Bits(2 - 1, 2);  // pusch-ConfigBasic: n-SB (1..4)
    w.Bits(0, 1);      // hoppingMode: interSubFrame
    w.Bits(4, 7);      // pusch-HoppingOffset (0..98)
    w.Bits(0, 1);      // enable64QAM: FALSE
    w.Bits(1, 1);      // ul-ReferenceSignalsPUSCH: groupHoppingEnabled TRUE
    w.Bits(0, 5);      // groupAssignmentPUSCH (0..29)
    w.Bits(0, 1);      // sequenceHoppingEnabled FALSE
    w.Bits(0, 3);      // cyclicShift (0..7)
    w.Bits(0, 1);      // ul-CyclicPrefixLength: len1
    // MobilityControlInfo's extension additions: a bit map of 2 (normally
    // small length: 0, then 2 - 1 in 6 bits), the 2nd present; the group
    // [[ drb-ContinueROHC-r11 ENUMERATED {true} OPTIONAL ]] as an open type:
    // its presence bit 1 and no bits for the one-value ENUMERATED.
    w.Bits(0, 1);
    w.Bits(2 - 1, 6);
    w.Bits(0b01, 2);
    w.OpenType({0x80});

    // dedicatedInfoNASList SIZE (1..11): 2, then each DedicatedInfoNAS
    w.Bits(2 - 1, 4);
    w.OpenType(nas1);
    w.OpenType(nas2);
    return w.Done();
}

Octets RrcSecurityModeCommand(int ciphering, int integrity) {
    PerWriter w(false);
    w.Bits(0, 1);  // DL-DCCH-MessageType: c1
    w.Bits(6, 4);  // c1: securityModeCommand, the 7th of 16
    w.Bits(1, 2);  // rrc-TransactionIdentifier
    w.Bits(0, 1);  // criticalExtensions: c1
    w.Bits(0, 2);  // c1: securityModeCommand-r8, the 1st of 4
    w.Bits(0, 1);  // SecurityModeCommand-r8-IEs: nonCriticalExtension absent
    w.Bits(0, 1);  // SecurityConfigSMC: extension bit
    w.Bits(0, 1);  // cipheringAlgorithm: in the root of 8 (extensible)
    w.Bits(static_cast<uint64_t>(ciphering), 3);
    w.Bits(0, 1);  // integrityProtAlgorithm: in the root of 8 (extensible)
    w.Bits(static_cast<uint64_t>(integrity), 3);
    return w.Done();
}

}  // namespace corvuna::test
