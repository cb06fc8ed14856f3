// SPDX-License-Identifier: Apache-2.0
// The boundary between the radio layers below LTE RRC (MAC, RLC, PDCP, and
// the GSMTAP carriage of RRC) and the RRC part that reads an RRC PDU: the
// RRC PDU as the layers deliver it, what the RRC part finds in it, and the
// two interfaces that join them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/bytes.h"

namespace corvuna::capture::radio {

// The LTE RRC message classes that carry NAS (TS 36.331 6.2.1 and 6.2.2):
// CCCH on SRB0, DCCH on SRB1 and SRB2.
enum class RrcClass : uint8_t { kUlCcch, kDlCcch, kUlDcch, kDlDcch };

// "UL-CCCH", "DL-CCCH", "UL-DCCH", "DL-DCCH".
const char* RrcClassName(RrcClass c);
inline bool IsUplink(RrcClass c) { return c == RrcClass::kUlCcch || c == RrcClass::kUlDcch; }

// How the RRC PDU reached the capture.
enum class RadioCarriage : uint8_t {
    kMacLteFramed,  // MAC-LTE PDUs with Wireshark's context framing (user link type 147)
    kMacLteUdp,     // the same after a UDP header and the "mac-lte" signature
    kRlcLteUdp,     // RLC-LTE PDUs after a UDP header and the "rlc-lte" signature
    kGsmtap,        // GSMTAP LTE RRC: the RRC PDU as the modem logged it
};

// One RRC PDU, as the layers below RRC deliver it.
struct RrcPdu {
    RrcClass channel = RrcClass::kUlCcch;
    int direction = 1;  // 1 uplink, 0 downlink
    int rnti = -1;      // the RNTI it was sent on; -1 when the carriage gives none
    int ueId = -1;      // the framing's UE id; -1 when absent
    int sfn = -1;       // system frame number and subframe of the MAC PDU that
    int subframe = -1;  // completed it; -1 when not carried
    Bytes octets;       // the RRC PDU; valid until the next frame is decoded

    // Facts of the layers that carried it.
    RadioCarriage carriage = RadioCarriage::kGsmtap;
    int logicalChannel = -1;  // 0 CCCH, 1 SRB1, 2 SRB2; -1 for GSMTAP
    int pdcpSn = -1;          // DCCH: the PDCP sequence number (5 bits)
    uint32_t pdcpCount = 0;   // DCCH: COUNT as the receiver keeps it (HFN and SN)
    uint32_t macI = 0;        // DCCH: the PDCP MAC-I as carried (not checked)
    bool reassembled = false; // built from RLC PDUs of more than one frame
    // The AS ciphering algorithm the UE's SecurityModeCommand selected (0
    // EEA0, 1-3 EEA1-3), -1 while none is known.  With an algorithm other
    // than EEA0 and no keys, a DCCH PDU after the procedure is ciphered:
    // its octets are not RRC and must not be read as RRC.
    int asCiphering = -1;
    bool asCiphered = false;

    // The UE the PDU belongs to: the key its NAS security context is kept
    // under.  It follows the UE across C-RNTI changes the RRC part reports.
    std::string ueKey;
};

// One NAS PDU found in an RRC PDU.
struct RrcNas {
    // The field as tshark's LTE RRC dissector names it: "dedicatedInfoNAS"
    // (ULInformationTransfer, DLInformationTransfer,
    // RRCConnectionSetupComplete) or "DedicatedInfoNAS" (the items of
    // dedicatedInfoNASList in RRCConnectionReconfiguration).
    std::string field;
    std::vector<uint8_t> octets;
};

// What the RRC part found in one RRC PDU.
struct RrcContent {
    bool decoded = false;
    std::string message;  // the RRC message, e.g. "rrcConnectionSetupComplete"
    std::vector<RrcNas> nas;
    // SecurityModeCommand: the AS algorithms selected (TS 36.331
    // SecurityAlgorithmConfig: 0 eea0 ..., 0 eia0-v920 / 1 eia1 ...); -1 when absent.
    int asCiphering = -1;
    int asIntegrity = -1;
    // C-RNTI hints: RRCConnectionReestablishmentRequest gives the UE's
    // C-RNTI in the cell it comes from; mobilityControlInfo gives the
    // C-RNTI the UE takes in the target cell.  -1 when absent.
    int previousCrnti = -1;
    int newCrnti = -1;
    std::string error;  // why it was not decoded

    void Clear() {
        decoded = false;
        message.clear();
        nas.clear();
        asCiphering = asIntegrity = previousCrnti = newCrnti = -1;
        error.clear();
    }
};

// The RRC part: reads one RRC PDU of its class.
class RrcReader {
public:
    virtual ~RrcReader() = default;
    virtual void Read(RrcClass channel, Bytes pdu, RrcContent& content) = 0;
};

// Where the radio layers hand each RRC PDU, in the order they complete it.
class RrcSink {
public:
    virtual ~RrcSink() = default;
    virtual void Deliver(const RrcPdu& pdu) = 0;
};

}  // namespace corvuna::capture::radio
