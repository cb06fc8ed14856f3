// SPDX-License-Identifier: Apache-2.0
#include "capture/frames.h"

#include <cstring>

#include "capture/ngap.h"
#include "capture/s1ap.h"

namespace corvuna::capture {

namespace {

constexpr uint16_t kEthertypeIpv4 = 0x0800;
constexpr uint16_t kEthertypeIpv6 = 0x86DD;
constexpr uint8_t kProtocolTcp = 6;
constexpr uint8_t kProtocolUdp = 17;
constexpr uint8_t kProtocolSctp = 132;
constexpr uint16_t kPortGsmtap = 4729;
constexpr uint16_t kPortS1ap = 36412;
constexpr uint16_t kPortNgap = 38412;
constexpr uint32_t kPpidS1ap = 18;
constexpr uint32_t kPpidNgap = 60;
constexpr uint8_t kGsmtapLteRrc = 0x0D;
constexpr uint8_t kGsmtapLteMacFramed = 0x0F;
constexpr uint8_t kGsmtapLteNas = 0x12;
constexpr uint16_t kGsmtapUplink = 0x4000;

bool IsVlanTag(uint16_t type) { return type == 0x8100 || type == 0x88A8 || type == 0x9100; }

enum class SctpPayload { kOther, kS1ap, kNgap };

// S1AP: payload protocol 18 (also written in the wrong byte order by some
// implementations), or the S1AP port with a payload protocol that names no
// other protocol (0, or a value no registry holds); NGAP the same with
// payload protocol 60 and its port.
SctpPayload PayloadOf(uint32_t ppid, uint16_t sourcePort, uint16_t destinationPort) {
    if (ppid == kPpidS1ap || ppid == 0x12000000) return SctpPayload::kS1ap;
    if (ppid == kPpidNgap || ppid == 0x3C000000) return SctpPayload::kNgap;
    if (ppid != 0 && ppid <= 0xFFFF) return SctpPayload::kOther;
    if (sourcePort == kPortS1ap || destinationPort == kPortS1ap) return SctpPayload::kS1ap;
    if (sourcePort == kPortNgap || destinationPort == kPortNgap) return SctpPayload::kNgap;
    return SctpPayload::kOther;
}

}  // namespace

const char* CarrierName(Carrier carrier) {
    switch (carrier) {
        case Carrier::kS1ap:
            return "s1ap";
        case Carrier::kGsmtap:
            return "gsmtap";
        case Carrier::kRawNas:
            return "user_dlt";
        case Carrier::kExportedPdu:
            return "exported_pdu";
        case Carrier::kNgap:
            return "ngap";
        case Carrier::kLteRrc:
            return "lte_rrc";
    }
    return "";
}

const char* UserPayloadName(UserPayload payload) {
    switch (payload) {
        case UserPayload::kNone:
            return "";
        case UserPayload::kNas:
            return "nas";
        case UserPayload::kS1ap:
            return "s1ap";
        case UserPayload::kMacLteFramed:
            return "mac-lte-framed";
        case UserPayload::kUdp:
            return "udp";
    }
    return "";
}

int UserPayloadFromName(const std::string& name) {
    if (name == "nas") return static_cast<int>(UserPayload::kNas);
    if (name == "s1ap") return static_cast<int>(UserPayload::kS1ap);
    if (name == "mac-lte-framed") return static_cast<int>(UserPayload::kMacLteFramed);
    if (name == "udp" || name == "mac-lte-udp") return static_cast<int>(UserPayload::kUdp);
    return -1;
}

bool LinkTypeSupported(int type, const std::array<UserPayload, 16>& users) {
    switch (type) {
        case linktype::kNull:
        case linktype::kEthernet:
        case linktype::kRaw:
        case linktype::kLoop:
        case linktype::kLinuxSll:
        case linktype::kUpperPdu:
        case linktype::kIpv4:
        case linktype::kIpv6:
        case linktype::kLinuxSll2:
            return true;
        default:
            return type >= linktype::kUser0 && type <= linktype::kUser15 &&
                   users[static_cast<size_t>(type - linktype::kUser0)] != UserPayload::kNone;
    }
}

// srsRAN and LTESniffer write MAC-LTE in user link types 147 (framed) and
// 149 (after a UDP header), raw NAS in 148.
FrameDecoder::FrameDecoder() {
    users_[0] = UserPayload::kMacLteFramed;
    users_[1] = UserPayload::kNas;
    users_[2] = UserPayload::kUdp;
}

void FrameDecoder::SetUserPayload(int type, UserPayload payload) {
    if (type >= linktype::kUser0 && type <= linktype::kUser15) users_[static_cast<size_t>(type - linktype::kUser0)] = payload;
}

void FrameDecoder::Problem(const std::string& what) {
    warnings_.push_back(truncated_ ? what + " (the frame is cut short by the capture's snap length)" : what);
}

std::string FrameDecoder::AssociationKey(const Endpoint& a, const Endpoint& b) {
    // The same key in both directions.
    const Endpoint& low = a < b ? a : b;
    const Endpoint& high = a < b ? b : a;
    std::string key;
    key.reserve(low.address.size() + high.address.size() + 2 * sizeof low.port);
    key.append(reinterpret_cast<const char*>(low.address.data()), low.address.size());
    key.append(reinterpret_cast<const char*>(&low.port), sizeof low.port);
    key.append(reinterpret_cast<const char*>(high.address.data()), high.address.size());
    key.append(reinterpret_cast<const char*>(&high.port), sizeof high.port);
    return key;
}

void FrameDecoder::Decode(int type, Bytes frame, size_t wireLength, uint64_t microseconds) {
    found_.clear();
    apPdus_.clear();
    warnings_.clear();
    rrcPdus_.clear();
    completedUsed_ = 0;
    diameter_.clear();
    diameterMessages_.clear();
    s1ap_.ForgetReassembled();
    ngap_.ForgetReassembled();
    nasKeptUsed_ = 0;
    truncated_ = wireLength > frame.size;
    radio_.BeginFrame(++frameCount_, microseconds);
    Link(type, frame);
    RadioWarnings();
}

void FrameDecoder::Finish() {
    // What the last frame gave points into that frame, which is gone.
    found_.clear();
    apPdus_.clear();
    warnings_.clear();
    rrcPdus_.clear();
    diameter_.clear();
    diameterMessages_.clear();
    nasKeptUsed_ = 0;
    truncated_ = false;
    radio_.Finish();
    RadioWarnings();
}

void FrameDecoder::RadioWarnings() {
    for (const std::string& w : radio_.warnings()) Problem(w);
}

void FrameDecoder::Link(int type, Bytes frame) {
    switch (type) {
        case linktype::kEthernet: {
            size_t at = 12;
            uint16_t ethertype = frame.Be16(at);
            while (IsVlanTag(ethertype) && at + 6 <= frame.size) {
                at += 4;
                ethertype = frame.Be16(at);
            }
            if (at + 2 > frame.size) {
                if (truncated_) Problem("Ethernet header cut short");
                return;
            }
            if (ethertype == kEthertypeIpv4) Network(4, frame.From(at + 2));
            if (ethertype == kEthertypeIpv6) Network(6, frame.From(at + 2));
            return;
        }
        case linktype::kLinuxSll:
        case linktype::kLinuxSll2: {
            const size_t header = type == linktype::kLinuxSll ? 16 : 20;
            if (frame.size < header) {
                if (truncated_) Problem("Linux cooked header cut short");
                return;
            }
            const uint16_t protocol = type == linktype::kLinuxSll ? frame.Be16(14) : frame.Be16(0);
            if (protocol == kEthertypeIpv4) Network(4, frame.From(header));
            if (protocol == kEthertypeIpv6) Network(6, frame.From(header));
            return;
        }
        case linktype::kNull:
        case linktype::kLoop: {
            if (frame.size < 4) return;
            // The address family, in the byte order of the capturing host
            // (DLT_NULL) or of the network (DLT_LOOP).
            uint32_t family = type == linktype::kLoop ? frame.Be32(0) : frame.Le32(0);
            if (type == linktype::kNull && family > 0xFFFF) family = frame.Be32(0);
            if (family == 2) Network(4, frame.From(4));
            if (family == 24 || family == 28 || family == 30) Network(6, frame.From(4));
            return;
        }
        case linktype::kRaw:
            Network(frame.At(0) >> 4, frame);
            return;
        case linktype::kIpv4:
            Network(4, frame);
            return;
        case linktype::kIpv6:
            Network(6, frame);
            return;
        case linktype::kUpperPdu:
            UpperPdu(frame);
            return;
        default:
            break;
    }
    if (type >= linktype::kUser0 && type <= linktype::kUser15) {
        switch (users_[static_cast<size_t>(type - linktype::kUser0)]) {
            case UserPayload::kNas:
                RawNas(frame, Carrier::kRawNas, "user");
                break;
            case UserPayload::kS1ap:
                Ap(ApProtocol::kS1ap, frame, "user");
                break;
            case UserPayload::kMacLteFramed:
                radio_.MacFramed(frame, radio::RadioCarriage::kMacLteFramed, "user");
                break;
            case UserPayload::kUdp:
                UserUdp(frame);
                break;
            case UserPayload::kNone:
                break;
        }
    }
}

void FrameDecoder::Network(int version, Bytes packet) {
    if (version == 4) Ipv4(packet);
    if (version == 6) Ipv6(packet);
}

void FrameDecoder::Ipv4(Bytes packet) {
    if (packet.size < 20) {
        Problem("IPv4 header cut short");
        return;
    }
    const size_t headerLength = static_cast<size_t>(packet.At(0) & 0x0F) * 4;
    const size_t totalLength = packet.Be16(2);
    if ((packet.At(0) >> 4) != 4 || headerLength < 20 || totalLength < headerLength) {
        Problem("malformed IPv4 header");
        return;
    }
    const uint8_t protocol = packet.At(9);
    if (protocol != kProtocolUdp && protocol != kProtocolSctp && protocol != kProtocolTcp) return;
    const uint16_t fragment = packet.Be16(6);
    if ((fragment & 0x3FFF) != 0) {
        // IP fragments are not reassembled: a warning where they may hold
        // NAS (SCTP, or the first fragment of a GSMTAP datagram).
        const Bytes first = packet.From(headerLength);
        const bool gsmtap = (fragment & 0x1FFF) == 0 && (first.Be16(0) == kPortGsmtap || first.Be16(2) == kPortGsmtap);
        if (protocol == kProtocolSctp || (protocol == kProtocolUdp && gsmtap)) {
            Problem("IPv4 fragment: IP reassembly is not done");
        }
        return;
    }
    if (totalLength > packet.size) {
        if (!truncated_) {
            Problem("IPv4 total length beyond the frame");
            return;
        }
    }
    Endpoint from, to;
    std::memcpy(from.address.data(), packet.data + 12, 4);
    std::memcpy(to.address.data(), packet.data + 16, 4);
    const Bytes payload = packet.Take(totalLength).From(headerLength);
    if (protocol == kProtocolUdp || protocol == kProtocolTcp) {
        from.port = payload.Be16(0);
        to.port = payload.Be16(2);
        if (protocol == kProtocolUdp) Udp(from, to, payload);
        if (protocol == kProtocolTcp) Tcp(from, to, payload);
    } else {
        Sctp(from, to, payload);
    }
}

void FrameDecoder::Ipv6(Bytes packet) {
    if (packet.size < 40) {
        Problem("IPv6 header cut short");
        return;
    }
    if ((packet.At(0) >> 4) != 6) {
        Problem("malformed IPv6 header");
        return;
    }
    const size_t payloadLength = packet.Be16(4);
    uint8_t next = packet.At(6);
    Endpoint from, to;
    std::memcpy(from.address.data(), packet.data + 8, 16);
    std::memcpy(to.address.data(), packet.data + 24, 16);
    Bytes rest = packet.From(40).Take(payloadLength);
    if (payloadLength > packet.size - 40 && !truncated_) {
        Problem("IPv6 payload length beyond the frame");
        return;
    }
    // Extension headers before the upper layer.
    for (int hops = 0; hops < 8; ++hops) {
        if (next == 0 || next == 43 || next == 60) {  // hop-by-hop, routing, destination options
            if (rest.size < 8) {
                Problem("IPv6 extension header cut short");
                return;
            }
            const size_t length = (static_cast<size_t>(rest.At(1)) + 1) * 8;
            next = rest.At(0);
            rest = rest.From(length);
        } else if (next == 51) {  // authentication header
            const size_t length = (static_cast<size_t>(rest.At(1)) + 2) * 4;
            next = rest.At(0);
            rest = rest.From(length);
        } else if (next == 44) {  // fragment
            if (rest.size >= 8 && (rest.Be16(2) & 0xFFF9) != 0) {
                const Bytes first = rest.From(8);
                const bool gsmtap = (rest.Be16(2) & 0xFFF8) == 0 &&
                                    (first.Be16(0) == kPortGsmtap || first.Be16(2) == kPortGsmtap);
                if (rest.At(0) == kProtocolSctp || (rest.At(0) == kProtocolUdp && gsmtap)) {
                    Problem("IPv6 fragment: IP reassembly is not done");
                }
                return;
            }
            next = rest.At(0);
            rest = rest.From(8);
        } else {
            break;
        }
    }
    if (next == kProtocolUdp) {
        from.port = rest.Be16(0);
        to.port = rest.Be16(2);
        Udp(from, to, rest);
    } else if (next == kProtocolSctp) {
        Sctp(from, to, rest);
    } else if (next == kProtocolTcp) {
        from.port = rest.Be16(0);
        to.port = rest.Be16(2);
        Tcp(from, to, rest);
    }
}

bool FrameDecoder::Udp(const Endpoint& from, const Endpoint& to, Bytes datagram, bool user) {
    const bool gsmtapPort = from.port == kPortGsmtap || to.port == kPortGsmtap;
    // MAC-LTE and RLC-LTE framings name themselves at the start of the
    // payload, on whatever port.
    const Bytes head = datagram.From(8);
    const bool named = head.size >= 7 && (std::memcmp(head.data, "mac-lte", 7) == 0 ||
                                          std::memcmp(head.data, "rlc-lte", 7) == 0);
    if (!gsmtapPort && !named && !user) return false;
    if (datagram.size < 8) {
        Problem("UDP header cut short");
        return true;
    }
    const size_t length = datagram.Be16(4);
    if (length < 8 || (length > datagram.size && !truncated_)) {
        Problem("malformed UDP header");
        return true;
    }
    const std::string stream = AssociationKey(from, to);
    if (!gsmtapPort) return radio_.Udp(datagram.Take(length).From(8), (user ? "user" : "udp") + stream, user);
    const Bytes gsmtap = datagram.Take(length).From(8);
    // GSMTAP version 2: the header's length in 32-bit words at octet 1,
    // the payload type at octet 2, the uplink flag in the ARFCN field.
    if (gsmtap.size < 16 || gsmtap.At(0) != 2) {
        Problem("malformed GSMTAP header");
        return true;
    }
    const uint8_t type = gsmtap.At(2);
    if (type != kGsmtapLteNas && type != kGsmtapLteRrc && type != kGsmtapLteMacFramed) return true;
    const size_t header = static_cast<size_t>(gsmtap.At(1)) * 4;
    if (header < 16 || header > gsmtap.size) {
        Problem("malformed GSMTAP header");
        return true;
    }
    // The modem's NAS and RRC are one UE: one security context.
    const std::string ueKey = "gsmtap" + stream;
    const Bytes payload = gsmtap.From(header);
    if (type == kGsmtapLteRrc) {
        radio_.GsmtapRrc(gsmtap.At(12), payload, ueKey);
        return true;
    }
    if (type == kGsmtapLteMacFramed) {
        radio_.MacFramed(payload, radio::RadioCarriage::kMacLteFramed, ueKey);
        return true;
    }
    const bool uplink = (gsmtap.Be16(4) & kGsmtapUplink) != 0;
    if (payload.size == 0) return true;
    FoundNas f;
    f.carrier = Carrier::kGsmtap;
    f.direction = uplink ? 1 : 0;
    f.octets = payload;
    f.ueKey = ueKey;
    found_.push_back(std::move(f));
    return true;
}

void FrameDecoder::UserUdp(Bytes datagram) {
    // A UDP header alone, no IP: the ports tell GSMTAP, else the payload's
    // signature tells the framing.
    Endpoint from, to;
    from.port = datagram.Be16(0);
    to.port = datagram.Be16(2);
    if (!Udp(from, to, datagram, true) && !warnedUdp_) {
        warnedUdp_ = true;
        Problem("UDP payload without a mac-lte or rlc-lte signature, not GSMTAP either: not read (said once for the "
                "capture)");
    }
}

void FrameDecoder::Deliver(const radio::RrcPdu& pdu) {
    rrcPdus_.push_back(pdu);
    FoundNas f;
    f.carrier = Carrier::kLteRrc;
    f.direction = pdu.direction;
    f.ueKey = pdu.ueKey;
    f.rrcClass = pdu.channel;
    f.rnti = pdu.rnti;
    f.sfn = pdu.sfn;
    f.subframe = pdu.subframe;
    f.asCiphering = pdu.asCiphering;
    if (pdu.asCiphered) {
        f.asCipheredRrc = true;
        found_.push_back(std::move(f));
        return;
    }
    if (reader_ == nullptr) return;
    content_.Clear();
    reader_->Read(pdu.channel, pdu.octets, content_);
    radio_.NoteRrc(content_);
    if (!content_.decoded) {
        Problem(std::string("malformed LTE RRC ") + radio::RrcClassName(pdu.channel) + " PDU" +
                (content_.message.empty() ? "" : " (" + content_.message + ")") +
                (content_.error.empty() ? "" : ": " + content_.error));
    }
    f.rrcMessage = content_.message;
    for (const radio::RrcNas& nas : content_.nas) {
        if (nas.octets.empty()) {
            Problem("empty NAS PDU in LTE RRC");
            continue;
        }
        if (nasKeptUsed_ == nasKept_.size()) nasKept_.emplace_back();
        std::vector<uint8_t>& kept = nasKept_[nasKeptUsed_++];
        kept = nas.octets;
        FoundNas one = f;
        one.rrcField = nas.field;
        one.octets = Bytes{kept.data(), kept.size()};
        found_.push_back(std::move(one));
    }
}

void FrameDecoder::Sctp(Endpoint from, Endpoint to, Bytes packet) {
    if (packet.size < 12) {
        Problem("SCTP common header cut short");
        return;
    }
    from.port = packet.Be16(0);
    to.port = packet.Be16(2);
    const std::string association = AssociationKey(from, to);
    size_t at = 12;
    while (at + 4 <= packet.size) {
        const uint8_t type = packet.At(at);
        const uint8_t flags = packet.At(at + 1);
        const size_t length = packet.Be16(at + 2);
        if (length < 4) {
            Problem("malformed SCTP chunk (length " + std::to_string(length) + ")");
            return;
        }
        if (at + length > packet.size) {
            Problem("SCTP chunk runs past the packet");
            return;
        }
        const Bytes chunk{packet.data + at, length};
        at += (length + 3) & ~size_t{3};
        if (type != 0) continue;  // DATA chunks only
        if (length < 16) {
            Problem("malformed SCTP DATA chunk");
            continue;
        }
        const uint32_t tsn = chunk.Be32(4);
        const uint16_t stream = chunk.Be16(8);
        const uint32_t ppid = chunk.Be32(12);
        const Bytes data = chunk.From(16);
        const SctpPayload payload = PayloadOf(ppid, from.port, to.port);
        const bool begin = (flags & 0x02) != 0, end = (flags & 0x01) != 0;
        if (begin && end) {
            if (payload == SctpPayload::kS1ap) Ap(ApProtocol::kS1ap, data, association);
            if (payload == SctpPayload::kNgap) Ap(ApProtocol::kNgap, data, association);
            if (payload == SctpPayload::kOther && IsDiameter(ppid, from, to)) Diameter(data);
            continue;
        }
        // A fragment: reassembled per association, direction and stream,
        // in TSN order.
        Fragments& f = fragments_[StreamKey{from, to, stream}];
        if (begin) {
            if (f.open) Problem("SCTP user message of stream " + std::to_string(stream) + " lost its last fragment");
            f.octets.assign(data.data, data.data + data.size);
            f.nextTsn = tsn + 1;
            f.ppid = ppid;
            f.open = true;
            continue;
        }
        if (!f.open || tsn != f.nextTsn) {
            if (tsn + 1 == f.nextTsn && f.open) continue;  // a retransmitted fragment
            Problem("SCTP fragment (TSN " + std::to_string(tsn) + ") without the fragments before it");
            f.open = false;
            continue;
        }
        f.octets.insert(f.octets.end(), data.data, data.data + data.size);
        f.nextTsn = tsn + 1;
        if (!end) continue;
        f.open = false;
        const SctpPayload whole = PayloadOf(f.ppid, from.port, to.port);
        if (whole == SctpPayload::kOther) {
            if (IsDiameter(f.ppid, from, to)) {
                diameterMessages_.push_back(std::move(f.octets));
                Diameter(Bytes{diameterMessages_.back().data(), diameterMessages_.back().size()});
            }
            continue;
        }
        if (completedUsed_ == completed_.size()) completed_.emplace_back();
        std::vector<uint8_t>& message = completed_[completedUsed_++];
        message.swap(f.octets);
        Ap(whole == SctpPayload::kS1ap ? ApProtocol::kS1ap : ApProtocol::kNgap, Bytes{message.data(), message.size()},
           association);
    }
}

void FrameDecoder::Ap(ApProtocol protocol, Bytes pdu, const std::string& association) {
    const bool s1ap = protocol == ApProtocol::kS1ap;
    apPdus_.push_back({protocol, pdu});
    ApDecoder& decoder = s1ap ? s1ap_ : ngap_;
    const ApResult result = decoder.Decode(pdu, pdu_);
    if (result == ApResult::kUnavailable) {
        if (!toldUnavailable_) {
            Problem(std::string(s1ap ? "S1AP" : "NGAP") +
                    " is not decoded: this build has no tables of the ASN.1 modules (CORVUNA_ASN1_DIR)");
        }
        toldUnavailable_ = true;
        return;
    }
    if (result != ApResult::kOk) {
        const char* name = s1ap ? S1apProcedureName(pdu_.procedure) : NgapProcedureName(pdu_.procedure);
        Problem(std::string(s1ap ? "malformed S1AP PDU" : "malformed NGAP PDU") +
                (*name != '\0' ? std::string(" (") + name + ")" : "") + ": " + pdu_.problem);
    }
    if (pdu_.tooManyNas) {
        Problem(std::string(s1ap ? "S1AP" : "NGAP") + " PDU with more than " + std::to_string(kMaxNasPerPdu) +
                " NAS-PDUs: the rest are not shown");
    }
    for (size_t i = 0; i < pdu_.nasCount; ++i) {
        if (pdu_.nas[i].size == 0) {
            Problem(std::string("empty NAS-PDU in ") + (s1ap ? "S1AP" : "NGAP"));
            continue;
        }
        FoundNas f;
        f.carrier = s1ap ? Carrier::kS1ap : Carrier::kNgap;
        f.direction = s1ap ? S1apDirection(pdu_.procedure) : NgapDirection(pdu_.procedure);
        f.octets = pdu_.nas[i];
        f.fivegs = !s1ap;
        f.procedure = pdu_.procedure;
        if (s1ap) {
            f.enbUeId = pdu_.ranUeId;
            f.mmeUeId = pdu_.coreUeId;
            f.location = pdu_.location;
        } else {
            f.ranUeNgapId = pdu_.ranUeId;
            f.amfUeNgapId = pdu_.coreUeId;
        }
        f.ueKey = (s1ap ? "s1ap" : "ngap") + association + "/" + std::to_string(pdu_.ranUeId);
        found_.push_back(std::move(f));
    }
}

void FrameDecoder::UpperPdu(Bytes frame) {
    // Tags: type and length (big-endian 16 bits each), the value padded
    // within its length; tag 0 ends them.  Tag 12 names the protocol.
    size_t at = 0;
    bool nas = false;
    for (;;) {
        if (at + 4 > frame.size) {
            Problem("exported PDU tags run past the frame");
            return;
        }
        const uint16_t tag = frame.Be16(at);
        const size_t length = frame.Be16(at + 2);
        if (at + 4 + length > frame.size) {
            Problem("exported PDU tag runs past the frame");
            return;
        }
        if (tag == 0) {
            at += 4;
            break;
        }
        if (tag == 12) {
            std::string name(reinterpret_cast<const char*>(frame.data + at + 4), length);
            name = name.substr(0, name.find('\0'));
            nas = name == "nas-eps" || name == "nas-eps_plain";
        }
        at += 4 + length;
    }
    if (nas) RawNas(frame.From(at), Carrier::kExportedPdu, "exported");
}

void FrameDecoder::RawNas(Bytes nas, Carrier carrier, const std::string& key) {
    if (nas.size == 0) return;
    FoundNas f;
    f.carrier = carrier;
    f.octets = nas;
    f.ueKey = key;
    found_.push_back(std::move(f));
}

}  // namespace corvuna::capture
