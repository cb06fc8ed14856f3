// SPDX-License-Identifier: Apache-2.0
// Frames and capture files made by the tests: an aligned-PER writer for
// S1AP PDUs, the headers of the link, network and transport layers, and
// pcap and pcapng files around frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvuna::test {

using Octets = std::vector<uint8_t>;

// PER as the tests write it, field by field: aligned (S1AP, NGAP) or
// unaligned (LTE RRC).  Written from the rules of ITU-T X.691, apart from
// the reader under test.
class PerWriter {
public:
    explicit PerWriter(bool aligned = true) : aligned_(aligned) {}
    void Bits(uint64_t value, int count);
    void Align();                       // aligned PER only
    void Raw(const Octets& octets);     // octet-aligned in aligned PER
    void Length(size_t n);              // below 16K
    void Constrained(uint64_t value, uint64_t range);
    void OpenType(const Octets& inner) {
        Length(inner.size());
        Raw(inner);
    }
    Octets Done();

private:
    bool aligned_;
    Octets out_;
    size_t bit_ = 0;
};
using AperWriter = PerWriter;

// S1AP pieces.
Octets S1apIe(uint32_t id, const Octets& value);                  // ProtocolIE-Field
Octets S1apNasPduValue(const Octets& nas);                         // NAS-PDU
Octets S1apEnbUeIdValue(uint32_t id);                              // eNB-UE-S1AP-ID
Octets S1apMmeUeIdValue(uint32_t id);                              // MME-UE-S1AP-ID
Octets S1apPdu(int kind, int procedure, const std::vector<Octets>& ies);
// An E-RAB item of INITIAL CONTEXT SETUP REQUEST (id 52), with or without
// its nAS-PDU and GBR QoS information.
Octets ErabCtxtItem(const Octets* nas, bool gbr);
// An E-RAB item of E-RAB MODIFY REQUEST (id 36).
Octets ErabModifyItem(const Octets& nas);
Octets ErabList(uint32_t itemId, const std::vector<Octets>& items);

// Transport and network layers.
struct SctpChunk {
    uint8_t flags;  // 3: a whole message; 2 first fragment, 0 middle, 1 last
    uint32_t tsn;
    uint16_t stream;
    uint32_t ppid;
    Octets data;
};
Octets Sctp(uint16_t sourcePort, uint16_t destinationPort, const std::vector<SctpChunk>& chunks);
Octets SackChunk();
Octets Udp(uint16_t sourcePort, uint16_t destinationPort, const Octets& payload);
// A TCP segment (flags: 0x02 SYN, 0x10 ACK, 0x01 FIN, 0x18 PSH+ACK).
Octets Tcp(uint16_t sourcePort, uint16_t destinationPort, uint32_t sequence, uint8_t flags, const Octets& payload);
Octets Ipv4(uint8_t protocol, const Octets& payload);
Octets Ipv6(uint8_t protocol, const Octets& payload, bool withHopByHop);
Octets Gsmtap(uint8_t type, bool uplink, const Octets& payload, uint8_t subtype = 0);

// The radio side.  A MAC-LTE PDU with Wireshark's context framing, from
// the radio type on (user link type 147; "mac-lte" and a UDP header before
// it make user link type 149).
struct MacFrame {
    bool uplink = true;
    uint8_t rntiType = 3;  // C-RNTI
    uint16_t rnti = 70;
    uint16_t ueId = 0;
    int sfn = -1;  // -1: no SFN/subframe tag
    int subframe = 0;
    int crc = 1;   // -1: no CRC status tag
    Octets pdu;
};
Octets MacLteContext(const MacFrame& frame);
// A DL-SCH or UL-SCH MAC PDU: a subheader per element (a 7-bit length, or
// 15 bits when long or asked, none for fixed-size control elements and the
// last element), then `padding` octets of padding.
struct MacSub {
    uint8_t lcid;
    Octets payload;
    bool fixed = false;
    bool longLength = false;
};
Octets MacPdu(const std::vector<MacSub>& subs, size_t padding = 0);
// An AMD PDU (or AMD PDU segment) with 10-bit sequence numbers.
struct AmdPdu {
    uint16_t sn = 0;
    uint8_t fi = 0;  // 2: the first octet starts no SDU; 1: the last ends none
    std::vector<size_t> lengths;  // length indicators
    Octets data;
    bool poll = false;
    bool segment = false;
    bool lastSegment = false;
    uint16_t offset = 0;
};
Octets RlcAmd(const AmdPdu& pdu);
Octets RlcUmd(int snBits, uint16_t sn, uint8_t fi, const std::vector<size_t>& lengths, const Octets& data);
// A STATUS PDU: ACK_SN and whole PDUs NACKed.
Octets RlcStatus(uint16_t ackSn, const std::vector<uint16_t>& nacks);
Octets PdcpSrb(uint8_t sn, const Octets& rrc, uint32_t macI);
// "rlc-lte" and the RLC-LTE framing (mode 1 TM, 2 UM, 4 AM; channel type
// 1 CCCH, 4 SRB, 5 DRB).
Octets RlcLteFramed(uint8_t mode, int snBits, bool uplink, uint16_t ueId, uint16_t channelType, uint16_t channelId,
                    const Octets& pdu);

// Link layers.
Octets Ethernet(uint16_t ethertype, const Octets& payload, int vlanTags);
Octets LinuxSll(uint16_t protocol, const Octets& payload);
Octets LinuxSll2(uint16_t protocol, const Octets& payload);
Octets BsdLoopback(uint32_t family, const Octets& payload);
Octets ExportedPdu(const std::string& protocol, const Octets& payload);

// Capture files.
struct TestFrame {
    uint32_t seconds;
    uint32_t fraction;  // microseconds, or nanoseconds in a nanosecond file
    Octets data;
    uint32_t wireLength = 0;  // 0: data.size()
    uint32_t interface = 0;   // pcapng
};
Octets PcapFile(int linkType, const std::vector<TestFrame>& frames, bool nanoseconds = false, uint32_t snapLength = 65535);
// A pcapng file with one interface per link type in `linkTypes` (nanosecond
// resolution when asked), in the byte order asked.
Octets PcapngFile(const std::vector<int>& linkTypes, const std::vector<TestFrame>& frames, bool nanoseconds,
                  bool bigEndian);

}  // namespace corvuna::test
