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
Octets Gsmtap(uint8_t type, bool uplink, const Octets& payload);

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
