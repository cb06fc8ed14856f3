// SPDX-License-Identifier: Apache-2.0
#include "support/capture_builders.h"

namespace corvuna::test {

namespace {

void Put16(Octets& o, uint32_t v) {
    o.push_back(static_cast<uint8_t>(v >> 8));
    o.push_back(static_cast<uint8_t>(v));
}
void Put32(Octets& o, uint32_t v) {
    Put16(o, v >> 16);
    Put16(o, v & 0xFFFF);
}
void Put32Le(Octets& o, uint32_t v) {
    for (int i = 0; i < 4; ++i) o.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16Le(Octets& o, uint32_t v) {
    o.push_back(static_cast<uint8_t>(v));
    o.push_back(static_cast<uint8_t>(v >> 8));
}
Octets Join(Octets a, const Octets& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

void PerWriter::Bits(uint64_t value, int count) {
    for (int i = count - 1; i >= 0; --i, ++bit_) {
        if (bit_ % 8 == 0) out_.push_back(0);
        if ((value >> i) & 1u) out_.back() |= static_cast<uint8_t>(0x80 >> (bit_ % 8));
    }
}

void PerWriter::Align() {
    if (aligned_) bit_ = (bit_ + 7) & ~size_t{7};
}

void PerWriter::Raw(const Octets& octets) {
    Align();
    for (const uint8_t o : octets) Bits(o, 8);
}

void PerWriter::Length(size_t n) {
    Align();
    if (n < 128) {
        Bits(n, 8);
    } else {
        Bits(0x8000 | n, 16);
    }
}

void PerWriter::Constrained(uint64_t value, uint64_t range) {
    if (range <= 1) return;
    int bits = 0;
    while (bits < 64 && (uint64_t{1} << bits) < range) ++bits;
    if (!aligned_ || range <= 255) {
        Bits(value, bits);
    } else if (range == 256) {
        Align();
        Bits(value, 8);
    } else if (range <= 65536) {
        Align();
        Bits(value, 16);
    } else {
        int octets = 0;
        for (uint64_t r = range - 1; r != 0; r >>= 8) ++octets;
        int lengthBits = 0;
        while ((1 << lengthBits) < octets) ++lengthBits;
        int used = 1;
        while (used < 8 && (value >> (8 * used)) != 0) ++used;
        Bits(static_cast<uint64_t>(used - 1), lengthBits);
        Align();
        Bits(value, 8 * used);
    }
}

Octets PerWriter::Done() { return out_; }

Octets S1apIe(uint32_t id, const Octets& value) {
    AperWriter w;
    w.Constrained(id, 65536);
    w.Bits(0, 2);  // reject
    w.OpenType(value);
    return w.Done();
}

Octets S1apNasPduValue(const Octets& nas) {
    AperWriter w;
    w.OpenType(nas);
    return w.Done();
}

Octets S1apEnbUeIdValue(uint32_t id) {
    AperWriter w;
    w.Constrained(id, uint64_t{1} << 24);
    return w.Done();
}

Octets S1apMmeUeIdValue(uint32_t id) {
    AperWriter w;
    w.Constrained(id, uint64_t{1} << 32);
    return w.Done();
}

Octets S1apPdu(int kind, int procedure, const std::vector<Octets>& ies) {
    AperWriter message;
    message.Bits(0, 1);
    message.Constrained(ies.size(), 65536);
    for (const Octets& ie : ies) message.Raw(ie);
    AperWriter w;
    w.Bits(0, 1);
    w.Bits(static_cast<uint64_t>(kind), 2);
    w.Constrained(static_cast<uint64_t>(procedure), 256);
    w.Bits(1, 2);  // ignore
    w.OpenType(message.Done());
    return w.Done();
}

namespace {

void WriteQos(AperWriter& w, bool gbr) {
    w.Bits(0, 1);    // extension
    w.Bits(gbr, 1);  // gbrQosInformation
    w.Bits(0, 1);    // iE-Extensions
    w.Constrained(gbr ? 1 : 9, 256);
    w.Bits(0, 1);  // ARP extension
    w.Bits(0, 1);  // ARP iE-Extensions
    w.Bits(7, 4);
    w.Bits(1, 1);
    w.Bits(0, 1);
    if (gbr) {
        w.Bits(0, 1);
        w.Bits(0, 1);
        for (uint64_t rate : {64000ull, 64000ull, 10000000000ull, 300ull}) w.Constrained(rate, 10000000001ull);
    }
}

}  // namespace

Octets ErabCtxtItem(const Octets* nas, bool gbr) {
    AperWriter w;
    w.Bits(0, 1);
    w.Bits(nas != nullptr, 1);
    w.Bits(0, 1);
    w.Bits(0, 1);  // e-RAB-ID in its root
    w.Bits(5, 4);
    WriteQos(w, gbr);
    w.Bits(0, 1);  // transportLayerAddress in its root
    w.Constrained(31, 160);
    w.Align();
    w.Bits(0xC0A80001, 32);
    w.Raw({0x00, 0x00, 0x00, 0x01});
    if (nas != nullptr) w.OpenType(*nas);
    return w.Done();
}

Octets ErabModifyItem(const Octets& nas) {
    AperWriter w;
    w.Bits(0, 1);
    w.Bits(0, 1);
    w.Bits(0, 1);
    w.Bits(6, 4);
    WriteQos(w, false);
    w.OpenType(nas);
    return w.Done();
}

Octets ErabList(uint32_t itemId, const std::vector<Octets>& items) {
    AperWriter w;
    w.Constrained(items.size() - 1, 256);
    for (const Octets& item : items) w.Raw(S1apIe(itemId, item));
    return w.Done();
}

Octets Sctp(uint16_t sourcePort, uint16_t destinationPort, const std::vector<SctpChunk>& chunks) {
    Octets o;
    Put16(o, sourcePort);
    Put16(o, destinationPort);
    Put32(o, 0x01020304);  // verification tag
    Put32(o, 0);           // checksum (not checked)
    for (const SctpChunk& c : chunks) {
        o.push_back(0);
        o.push_back(c.flags);
        Put16(o, static_cast<uint32_t>(16 + c.data.size()));
        Put32(o, c.tsn);
        Put16(o, c.stream);
        Put16(o, 0);
        Put32(o, c.ppid);
        o.insert(o.end(), c.data.begin(), c.data.end());
        while (o.size() % 4 != 0) o.push_back(0);
    }
    return o;
}

Octets SackChunk() { return {3, 0, 0, 16, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0}; }

Octets Udp(uint16_t sourcePort, uint16_t destinationPort, const Octets& payload) {
    Octets o;
    Put16(o, sourcePort);
    Put16(o, destinationPort);
    Put16(o, static_cast<uint32_t>(8 + payload.size()));
    Put16(o, 0);
    return Join(o, payload);
}

Octets Tcp(uint16_t sourcePort, uint16_t destinationPort, uint32_t sequence, uint8_t flags, const Octets& payload) {
    Octets o;
    Put16(o, sourcePort);
    Put16(o, destinationPort);
    Put32(o, sequence);
    Put32(o, 1);  // acknowledgement number
    o.push_back(5 << 4);
    o.push_back(flags);
    Put16(o, 65535);
    Put32(o, 0);  // checksum (not checked), urgent pointer
    return Join(o, payload);
}

Octets Ipv4(uint8_t protocol, const Octets& payload) {
    Octets o = {0x45, 0};
    Put16(o, static_cast<uint32_t>(20 + payload.size()));
    Put32(o, 0x00004000);  // identification, don't fragment
    o.push_back(64);
    o.push_back(protocol);
    Put16(o, 0);
    Put32(o, 0xC0A80001);
    Put32(o, 0xC0A80002);
    return Join(o, payload);
}

Octets Ipv6(uint8_t protocol, const Octets& payload, bool withHopByHop) {
    Octets o = {0x60, 0, 0, 0};
    Put16(o, static_cast<uint32_t>(payload.size() + (withHopByHop ? 8 : 0)));
    o.push_back(withHopByHop ? 0 : protocol);
    o.push_back(64);
    for (int i = 0; i < 32; ++i) o.push_back(static_cast<uint8_t>(i < 16 ? 0x20 : 0x30));
    if (withHopByHop) o.insert(o.end(), {protocol, 0, 1, 4, 0, 0, 0, 0});
    return Join(o, payload);
}

Octets Gsmtap(uint8_t type, bool uplink, const Octets& payload, uint8_t subtype) {
    Octets o = {2, 4, type, 0};
    Put16(o, uplink ? 0x4000 : 0);
    o.insert(o.end(), {0, 0, 0, 0, 0, 0, subtype, 0, 0, 0});
    return Join(o, payload);
}

Octets MacLteContext(const MacFrame& f) {
    Octets o = {1, f.uplink ? uint8_t{0} : uint8_t{1}, f.rntiType};
    o.push_back(0x02);
    Put16(o, f.rnti);
    o.push_back(0x03);
    Put16(o, f.ueId);
    if (f.sfn >= 0) {
        o.push_back(0x04);
        Put16(o, static_cast<uint32_t>(f.sfn << 4 | f.subframe));
    }
    if (f.crc >= 0) o.insert(o.end(), {0x07, static_cast<uint8_t>(f.crc)});
    o.insert(o.end(), {0x0A, 0x00, 0x0F, 0x00});  // carrier id, NB-IoT mode: as srsRAN writes them
    o.push_back(0x01);
    return Join(o, f.pdu);
}

Octets MacPdu(const std::vector<MacSub>& subs, size_t padding) {
    Octets header, payload;
    // One or two octets of padding go first as padding subheaders; more
    // goes last behind a padding subheader.
    const bool paddingLast = padding > 2;
    for (size_t i = 0; i < (paddingLast ? 0 : padding); ++i) header.push_back(0x20 | 31);
    for (size_t i = 0; i < subs.size(); ++i) {
        const bool last = i + 1 == subs.size() && !paddingLast;
        const MacSub& m = subs[i];
        header.push_back(static_cast<uint8_t>((last ? 0 : 0x20) | m.lcid));
        if (!m.fixed && !last) {
            if (m.payload.size() < 128 && !m.longLength) {
                header.push_back(static_cast<uint8_t>(m.payload.size()));
            } else {
                Put16(header, 0x8000 | static_cast<uint32_t>(m.payload.size()));
            }
        }
        payload.insert(payload.end(), m.payload.begin(), m.payload.end());
    }
    if (paddingLast) {
        header.push_back(31);
        payload.insert(payload.end(), padding, 0);
    }
    return Join(header, payload);
}

Octets RlcAmd(const AmdPdu& p) {
    AperWriter w;
    w.Bits(1, 1);  // D/C: data
    w.Bits(p.segment ? 1 : 0, 1);
    w.Bits(p.poll ? 1 : 0, 1);
    w.Bits(p.fi, 2);
    w.Bits(p.lengths.empty() ? 0 : 1, 1);
    w.Bits(p.sn, 10);
    if (p.segment) {
        w.Bits(p.lastSegment ? 1 : 0, 1);
        w.Bits(p.offset, 15);
    }
    for (size_t i = 0; i < p.lengths.size(); ++i) {
        w.Bits(i + 1 < p.lengths.size() ? 1 : 0, 1);
        w.Bits(p.lengths[i], 11);
    }
    w.Raw(p.data);
    return w.Done();
}

Octets RlcUmd(int snBits, uint16_t sn, uint8_t fi, const std::vector<size_t>& lengths, const Octets& data) {
    AperWriter w;
    if (snBits == 10) w.Bits(0, 3);
    w.Bits(fi, 2);
    w.Bits(lengths.empty() ? 0 : 1, 1);
    w.Bits(sn, snBits);
    for (size_t i = 0; i < lengths.size(); ++i) {
        w.Bits(i + 1 < lengths.size() ? 1 : 0, 1);
        w.Bits(lengths[i], 11);
    }
    w.Raw(data);
    return w.Done();
}

Octets RlcStatus(uint16_t ackSn, const std::vector<uint16_t>& nacks) {
    AperWriter w;
    w.Bits(0, 4);  // D/C: control, CPT 000
    w.Bits(ackSn, 10);
    w.Bits(nacks.empty() ? 0 : 1, 1);
    for (size_t i = 0; i < nacks.size(); ++i) {
        w.Bits(nacks[i], 10);
        w.Bits(i + 1 < nacks.size() ? 1 : 0, 1);
        w.Bits(0, 1);  // E2: the whole PDU
    }
    w.Align();
    return w.Done();
}

Octets PdcpSrb(uint8_t sn, const Octets& rrc, uint32_t macI) {
    Octets o = {static_cast<uint8_t>(sn & 0x1F)};
    o.insert(o.end(), rrc.begin(), rrc.end());
    Put32(o, macI);
    return o;
}

Octets RlcLteFramed(uint8_t mode, int snBits, bool uplink, uint16_t ueId, uint16_t channelType, uint16_t channelId,
                    const Octets& pdu) {
    Octets o = {'r', 'l', 'c', '-', 'l', 't', 'e', mode};
    if (snBits > 0) o.insert(o.end(), {0x02, static_cast<uint8_t>(snBits)});
    o.insert(o.end(), {0x03, uplink ? uint8_t{0} : uint8_t{1}});
    o.push_back(0x05);
    Put16(o, ueId);
    o.push_back(0x06);
    Put16(o, channelType);
    o.push_back(0x07);
    Put16(o, channelId);
    o.push_back(0x01);
    return Join(o, pdu);
}

Octets Ethernet(uint16_t ethertype, const Octets& payload, int vlanTags) {
    Octets o = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    for (int i = 0; i < vlanTags; ++i) {
        Put16(o, i == 0 && vlanTags > 1 ? 0x88A8 : 0x8100);
        Put16(o, 100 + i);
    }
    Put16(o, ethertype);
    return Join(o, payload);
}

Octets LinuxSll(uint16_t protocol, const Octets& payload) {
    Octets o = {0, 0, 0, 1, 0, 6, 1, 2, 3, 4, 5, 6, 0, 0};
    Put16(o, protocol);
    return Join(o, payload);
}

Octets LinuxSll2(uint16_t protocol, const Octets& payload) {
    Octets o;
    Put16(o, protocol);
    Put16(o, 0);
    Put32(o, 2);  // interface index
    o.insert(o.end(), {0, 1, 0, 6, 1, 2, 3, 4, 5, 6, 0, 0});
    return Join(o, payload);
}

Octets BsdLoopback(uint32_t family, const Octets& payload) {
    Octets o;
    Put32Le(o, family);
    return Join(o, payload);
}

Octets ExportedPdu(const std::string& protocol, const Octets& payload) {
    Octets o;
    Put16(o, 12);
    const size_t padded = (protocol.size() + 3) & ~size_t{3};
    Put16(o, static_cast<uint32_t>(padded));
    o.insert(o.end(), protocol.begin(), protocol.end());
    o.resize(o.size() + padded - protocol.size(), 0);
    o.insert(o.end(), {0, 0, 0, 0});
    return Join(o, payload);
}

Octets PcapFile(int linkType, const std::vector<TestFrame>& frames, bool nanoseconds, uint32_t snapLength) {
    Octets o;
    Put32Le(o, nanoseconds ? 0xA1B23C4D : 0xA1B2C3D4);
    Put16Le(o, 2);
    Put16Le(o, 4);
    Put32Le(o, 0);
    Put32Le(o, 0);
    Put32Le(o, snapLength);
    Put32Le(o, static_cast<uint32_t>(linkType));
    for (const TestFrame& f : frames) {
        Put32Le(o, f.seconds);
        Put32Le(o, f.fraction);
        Put32Le(o, static_cast<uint32_t>(f.data.size()));
        Put32Le(o, f.wireLength != 0 ? f.wireLength : static_cast<uint32_t>(f.data.size()));
        o.insert(o.end(), f.data.begin(), f.data.end());
    }
    return o;
}

Octets PcapngFile(const std::vector<int>& linkTypes, const std::vector<TestFrame>& frames, bool nanoseconds,
                  bool bigEndian) {
    Octets o;
    auto u32 = [&](Octets& b, uint32_t v) { bigEndian ? Put32(b, v) : Put32Le(b, v); };
    auto u16 = [&](Octets& b, uint32_t v) { bigEndian ? Put16(b, v) : Put16Le(b, v); };
    auto block = [&](uint32_t type, const Octets& body) {
        u32(o, type);
        u32(o, static_cast<uint32_t>(12 + body.size()));
        o.insert(o.end(), body.begin(), body.end());
        u32(o, static_cast<uint32_t>(12 + body.size()));
    };
    Octets shb;
    u32(shb, 0x1A2B3C4D);
    u16(shb, 1);
    u16(shb, 0);
    u32(shb, 0xFFFFFFFF);
    u32(shb, 0xFFFFFFFF);
    block(0x0A0D0D0A, shb);
    for (int type : linkTypes) {
        Octets idb;
        u16(idb, static_cast<uint32_t>(type));
        u16(idb, 0);
        u32(idb, 65535);
        if (nanoseconds) {
            u16(idb, 9);  // if_tsresol
            u16(idb, 1);
            idb.insert(idb.end(), {9, 0, 0, 0});
            u32(idb, 0);  // opt_endofopt
        }
        block(1, idb);
    }
    for (const TestFrame& f : frames) {
        const uint64_t units = static_cast<uint64_t>(f.seconds) * (nanoseconds ? 1000000000ull : 1000000ull) + f.fraction;
        Octets epb;
        u32(epb, f.interface);
        u32(epb, static_cast<uint32_t>(units >> 32));
        u32(epb, static_cast<uint32_t>(units));
        u32(epb, static_cast<uint32_t>(f.data.size()));
        u32(epb, f.wireLength != 0 ? f.wireLength : static_cast<uint32_t>(f.data.size()));
        epb.insert(epb.end(), f.data.begin(), f.data.end());
        while (epb.size() % 4 != 0) epb.push_back(0);
        block(6, epb);
    }
    return o;
}

}  // namespace corvuna::test
