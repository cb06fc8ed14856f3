// SPDX-License-Identifier: Apache-2.0
#include "capture/radio/radio.h"

#include <algorithm>
#include <cstring>

namespace corvuna::capture::radio {

namespace {

constexpr uint8_t kLcidCcch = 0;
constexpr uint8_t kLcidSrb2 = 2;
constexpr uint8_t kLcidCrntiCe = 27;  // UL-SCH: C-RNTI MAC control element
constexpr uint32_t kNoRnti = 0x10000;  // UE identities above: the framing's UE id
constexpr uint32_t kUnknownUe = 0x20000;

// RLC-LTE framing (the layout of Wireshark's rlc-lte framing).
constexpr uint8_t kRlcTagPayload = 0x01;
constexpr uint8_t kRlcTagSnLength = 0x02;
constexpr uint8_t kRlcTagDirection = 0x03;
constexpr uint8_t kRlcTagPriority = 0x04;
constexpr uint8_t kRlcTagUeId = 0x05;
constexpr uint8_t kRlcTagChannelType = 0x06;
constexpr uint8_t kRlcTagChannelId = 0x07;
constexpr uint8_t kRlcTagExtendedLi = 0x08;
constexpr uint8_t kRlcTagNbMode = 0x09;
constexpr uint16_t kChannelCcch = 1;
constexpr uint16_t kChannelSrb = 4;
constexpr uint16_t kChannelDrb = 5;

bool StartsWith(Bytes b, const char* signature) {
    const size_t n = std::strlen(signature);
    return b.size >= n && std::memcmp(b.data, signature, n) == 0;
}

// Makes room in a map of at most `limit` entries: the entry seen longest
// ago (its lastFrame) goes.
template <typename Map>
void EvictOldestAt(Map& map, size_t limit) {
    if (map.size() < limit) return;
    auto oldest = map.begin();
    for (auto i = map.begin(); i != map.end(); ++i) {
        if (i->second.lastFrame < oldest->second.lastFrame) oldest = i;
    }
    map.erase(oldest);
}

}  // namespace

const char* RrcClassName(RrcClass c) {
    switch (c) {
        case RrcClass::kUlCcch: return "UL-CCCH";
        case RrcClass::kDlCcch: return "DL-CCCH";
        case RrcClass::kUlDcch: return "UL-DCCH";
        case RrcClass::kDlDcch: return "DL-DCCH";
    }
    return "";
}

// Takes the SDUs an RLC entity completes: a copy of each, with the PDCP
// COUNT its entity gives it, in order.
class RadioDecoder::Collector : public RlcSduHandler {
public:
    Collector(RadioDecoder& radio, uint32_t stream, UeIdent ue, uint8_t lcid, bool uplink, Channel& channel)
        : radio_(radio), stream_(stream), ue_(ue), lcid_(lcid), uplink_(uplink), channel_(channel) {}
    void Sdu(Bytes sdu, uint64_t firstFrame) override {
        Collected c;
        c.stream = stream_;
        c.ue = ue_;
        c.lcid = lcid_;
        c.uplink = uplink_;
        c.slot = radio_.Keep(sdu);
        c.firstFrame = firstFrame;
        c.pdcpCount = channel_.pdcp.Receive(sdu.At(0));
        radio_.collected_.push_back(c);
    }

private:
    RadioDecoder& radio_;
    uint32_t stream_;
    UeIdent ue_;
    uint8_t lcid_;
    bool uplink_;
    Channel& channel_;
};

void RadioDecoder::BeginFrame(uint64_t frame, uint64_t microseconds) {
    frame_ = frame;
    microseconds_ = microseconds;
    arenaUsed_ = 0;
    warnings_.clear();
    collected_.clear();
}

void RadioDecoder::WarnOnce(bool& given, const std::string& what) {
    if (given) return;
    given = true;
    Warn(what + " (said once for the capture)");
}

uint32_t RadioDecoder::StreamIndex(const std::string& stream) {
    for (size_t i = 0; i < streams_.size(); ++i) {
        if (streams_[i] == stream) return static_cast<uint32_t>(i);
    }
    if (streams_.size() == kMaxStreams) return kMaxStreams;  // the rest share one
    streams_.push_back(stream);
    carriages_.push_back(RadioCarriage::kMacLteFramed);
    return static_cast<uint32_t>(streams_.size() - 1);
}

size_t RadioDecoder::Keep(Bytes sdu) {
    if (arenaUsed_ == arena_.size()) arena_.emplace_back();
    arena_[arenaUsed_].assign(sdu.data, sdu.data + sdu.size);
    return arenaUsed_++;
}

RadioDecoder::UeState& RadioDecoder::UeFor(uint32_t stream, UeIdent ue) {
    const uint64_t key = UeKey(stream, ue);
    auto it = ues_.find(key);
    if (it != ues_.end()) return it->second;
    EvictOldestAt(ues_, kMaxUes);
    UeState& u = ues_[key];
    u.key = "radio" + std::to_string(stream) + "/" +
            (ue < kNoRnti ? "rnti" + std::to_string(ue)
                          : ue < kUnknownUe ? "ueid" + std::to_string(ue - kNoRnti) : std::string("unknown"));
    u.lastFrame = frame_;
    return u;
}

RadioDecoder::Channel& RadioDecoder::ChannelFor(uint32_t stream, UeIdent ue, uint8_t lcid, bool uplink, RlcMode mode,
                                                int snBits) {
    const uint64_t key = ChannelKey(stream, ue, lcid, uplink);
    auto it = channels_.find(key);
    if (it != channels_.end()) {
        if (it->second.rlc.mode() != mode) {
            it->second.rlc.Reset(mode, snBits);
            it->second.pdcp.Reset();
        }
        return it->second;
    }
    EvictOldestAt(channels_, kMaxChannels);
    Channel& c = channels_[key];
    c.rlc.Reset(mode, snBits);
    c.lastFrame = frame_;
    return c;
}

void RadioDecoder::ResetUe(uint32_t stream, UeIdent ue, bool securityToo) {
    for (uint8_t lcid = 1; lcid <= kLcidSrb2; ++lcid) {
        channels_.erase(ChannelKey(stream, ue, lcid, true));
        channels_.erase(ChannelKey(stream, ue, lcid, false));
    }
    if (!securityToo) return;
    ues_.erase(UeKey(stream, ue));
}

void RadioDecoder::MacFramed(Bytes framed, RadioCarriage carriage, const std::string& stream) {
    MacContext c;
    const char* error = "";
    if (ReadMacContext(framed, c, error) != FramingResult::kOk) {
        Warn(error);
        return;
    }
    if (!c.hasPdu) return;
    ++counters_.macPdus;
    if (c.crcStatus >= 0 && c.crcStatus != mac::kCrcOk) {
        ++counters_.macBadCrc;
        return;
    }
    if (c.nbIot) WarnOnce(warnedNbIot_, "NB-IoT MAC PDUs are not read");
    if (c.predefinedData || c.nbIot || (c.rntiType != mac::kCRnti && c.rntiType != mac::kSpsRnti)) {
        ++counters_.macNotForUe;
        return;
    }
    const bool uplink = c.direction == mac::kUplink;
    if (ParseMacPdu(c.pdu, uplink, elements_) != MacParse::kOk) {
        ++counters_.macUnreadable;
        return;
    }
    const uint32_t s = StreamIndex(stream);
    if (s < carriages_.size()) carriages_[s] = carriage;
    UeIdent ue = c.rnti >= 0 ? static_cast<UeIdent>(c.rnti)
                 : c.ueId >= 0 ? kNoRnti + static_cast<UeIdent>(c.ueId) : kUnknownUe;
    // A UE that sends its C-RNTI in the MAC PDU (random access while
    // connected) is that C-RNTI, whatever RNTI the PDU came on.
    if (uplink) {
        for (const MacElement& e : elements_) {
            if (!e.sdu && e.lcid == kLcidCrntiCe && e.octets.size == 2) ue = e.octets.Be16(0);
        }
    }
    collected_.clear();
    for (size_t i = 0; i < elements_.size(); ++i) {
        const MacElement e = elements_[i];
        if (!e.sdu) continue;
        if (e.lcid == kLcidCcch) {
            Ccch(s, ue, uplink, e.octets);
        } else if (e.lcid <= kLcidSrb2) {
            SrbPdu(s, ue, e.lcid, uplink, RlcMode::kAm, 10, e.octets);
        } else {
            ++counters_.drbSdus;
        }
    }
    DeliverCollected(carriage, c.ueId, c.sfn, c.subframe);
}

void RadioDecoder::Ccch(uint32_t stream, UeIdent ue, bool uplink, Bytes sdu) {
    // RRC connection establishment or re-establishment starts on this
    // RNTI: SRB1 and SRB2 start afresh, and so does the AS security, unless
    // the UE's UL-CCCH message began it already.
    if (uplink) {
        ResetUe(stream, ue, true);
        UeFor(stream, ue).connecting = true;
    } else {
        ResetUe(stream, ue, !UeFor(stream, ue).connecting);
    }
    Collected c;
    c.stream = stream;
    c.ue = ue;
    c.lcid = kLcidCcch;
    c.uplink = uplink;
    c.slot = Keep(sdu);
    c.firstFrame = frame_;
    collected_.push_back(c);
}

void RadioDecoder::SrbPdu(uint32_t stream, UeIdent ue, uint8_t lcid, bool uplink, RlcMode mode, int snBits, Bytes pdu) {
    Channel& channel = ChannelFor(stream, ue, lcid, uplink, mode, snBits);
    channel.lastFrame = frame_;
    Collector collector(*this, stream, ue, lcid, uplink, channel);
    if (channel.rlc.Receive(pdu, frame_, microseconds_, collector, counters_.rlc)) return;
    // A STATUS PDU: the peer tells what it received of the other direction.
    ++counters_.rlc.statusPdus;
    if (!ParseAmStatus(pdu, status_)) {
        ++counters_.rlc.malformed;
        return;
    }
    const auto reverse = channels_.find(ChannelKey(stream, ue, lcid, !uplink));
    if (reverse == channels_.end()) return;
    Collector back(*this, stream, ue, lcid, !uplink, reverse->second);
    reverse->second.rlc.PeerStatus(status_, back, counters_.rlc);
}

void RadioDecoder::DeliverCollected(RadioCarriage carriage, int ueId, int sfn, int subframe) {
    for (size_t i = 0; i < collected_.size(); ++i) {
        const Collected c = collected_[i];
        const Bytes sdu{arena_[c.slot].data(), arena_[c.slot].size()};
        RrcPdu p;
        p.direction = c.uplink ? 1 : 0;
        p.rnti = c.ue < kNoRnti ? static_cast<int>(c.ue) : -1;
        p.ueId = ueId;
        p.sfn = sfn;
        p.subframe = subframe;
        p.carriage = carriage;
        p.logicalChannel = c.lcid;
        p.reassembled = c.firstFrame != frame_;
        UeState& u = UeFor(c.stream, c.ue);
        u.lastFrame = frame_;
        if (c.lcid == kLcidCcch) {
            p.channel = c.uplink ? RrcClass::kUlCcch : RrcClass::kDlCcch;
            p.octets = sdu;
        } else {
            PdcpSrbPdu pdcp;
            if (!ParsePdcpSrb(sdu, pdcp)) {
                ++counters_.pdcpMalformed;
                continue;
            }
            p.channel = c.uplink ? RrcClass::kUlDcch : RrcClass::kDlDcch;
            p.octets = pdcp.data;
            p.pdcpSn = pdcp.sn;
            p.pdcpCount = c.pdcpCount;
            p.macI = pdcp.macI;
            u.connecting = false;
            if (u.asCiphering > 0) {
                // Ciphering starts after the SecurityModeCommand downlink,
                // and after the SecurityModeComplete (sent unciphered on
                // SRB1) uplink (TS 36.331 5.3.4.3).
                if (!c.uplink) {
                    p.asCiphered = u.dlCiphered;
                } else if (u.ulAwaitingComplete && c.lcid == 1) {
                    u.ulAwaitingComplete = false;
                    u.ulCiphered = true;
                } else {
                    p.asCiphered = u.ulCiphered;
                }
            }
        }
        p.asCiphering = u.asCiphering;
        p.ueKey = u.key;
        ++counters_.rrcPdus;
        if (p.asCiphered) ++counters_.asCiphered;
        current_ = &c;
        sink_.Deliver(p);
        current_ = nullptr;
    }
    collected_.clear();
}

void RadioDecoder::NoteRrc(const RrcContent& content) {
    if (current_ == nullptr) return;  // GSMTAP: the modem logs RRC in the clear
    const Collected c = *current_;
    if (content.newCrnti >= 0 && content.newCrnti < static_cast<int>(kNoRnti) &&
        static_cast<UeIdent>(content.newCrnti) != c.ue) {
        // Handover: the UE goes on as its new C-RNTI, with its security
        // (and the algorithm the handover command gives, if it gives one).
        UeState moved = UeFor(c.stream, c.ue);
        if (content.asCiphering >= 0) moved.asCiphering = content.asCiphering;
        const UeIdent to = static_cast<UeIdent>(content.newCrnti);
        ResetUe(c.stream, to, true);
        UeState& n = UeFor(c.stream, to);
        n.key = moved.key;
        n.asCiphering = moved.asCiphering;
        n.dlCiphered = n.ulCiphered = moved.asCiphering > 0;
        return;
    }
    UeState& u = UeFor(c.stream, c.ue);
    if (content.asCiphering >= 0 && !c.uplink && c.lcid != kLcidCcch) {
        u.asCiphering = content.asCiphering;
        u.dlCiphered = content.asCiphering > 0;
        u.ulCiphered = false;
        u.ulAwaitingComplete = content.asCiphering > 0;
    }
    if (content.previousCrnti >= 0 && content.previousCrnti < static_cast<int>(kNoRnti) &&
        static_cast<UeIdent>(content.previousCrnti) != c.ue) {
        // Re-establishment: the UE of the earlier C-RNTI goes on here;
        // SRB1 resumes ciphered with the algorithm it had (TS 36.331
        // 5.3.7.5).
        const auto earlier = ues_.find(UeKey(c.stream, static_cast<UeIdent>(content.previousCrnti)));
        if (earlier != ues_.end()) {
            u.key = earlier->second.key;
            u.asCiphering = earlier->second.asCiphering;
            u.dlCiphered = u.ulCiphered = u.asCiphering > 0;
            u.ulAwaitingComplete = false;
        }
    }
}

bool RadioDecoder::Udp(Bytes payload, const std::string& stream, bool warnUnknown) {
    if (StartsWith(payload, "mac-lte")) {
        MacFramed(payload.From(7), RadioCarriage::kMacLteUdp, stream);
        return true;
    }
    if (StartsWith(payload, "rlc-lte")) {
        RlcFramed(payload.From(7), stream);
        return true;
    }
    if (!warnUnknown) return false;
    if (StartsWith(payload, "pdcp-lte")) {
        WarnOnce(warnedPdcpFraming_, "PDCP-LTE framing is not read");
        return true;
    }
    if (StartsWith(payload, "mac-nr") || StartsWith(payload, "rlc-nr") || StartsWith(payload, "pdcp-nr")) {
        WarnOnce(warnedNrFraming_, "5G NR framing (mac-nr, rlc-nr, pdcp-nr) is not read");
        return true;
    }
    return false;
}

void RadioDecoder::RlcFramed(Bytes framed, const std::string& stream) {
    if (framed.size < 1) {
        Warn("RLC-LTE framing cut short");
        return;
    }
    const uint8_t mode = framed.At(0);
    int snBits = mode == static_cast<uint8_t>(RlcMode::kAm) ? 10 : -1;
    int direction = -1;
    int ueId = -1;
    int channelType = -1;
    int channelId = -1;
    bool nbIot = false;
    bool payload = false;
    size_t at = 1;
    while (at < framed.size && !payload) {
        const uint8_t tag = framed.At(at++);
        size_t length = 0;
        switch (tag) {
            case kRlcTagPayload: payload = true; continue;
            case kRlcTagSnLength:
            case kRlcTagDirection:
            case kRlcTagPriority:
            case kRlcTagNbMode: length = 1; break;
            case kRlcTagUeId:
            case kRlcTagChannelType:
            case kRlcTagChannelId: length = 2; break;
            case kRlcTagExtendedLi: length = 0; break;
            default:
                Warn("RLC-LTE framing with an unknown tag");
                return;
        }
        if (at + length > framed.size) {
            Warn("RLC-LTE framing tag runs past the frame");
            return;
        }
        switch (tag) {
            case kRlcTagSnLength: snBits = framed.At(at); break;
            case kRlcTagDirection: direction = framed.At(at); break;
            case kRlcTagUeId: ueId = framed.Be16(at); break;
            case kRlcTagChannelType: channelType = framed.Be16(at); break;
            case kRlcTagChannelId: channelId = framed.Be16(at); break;
            case kRlcTagNbMode: nbIot = framed.At(at) != 0; break;
            default: break;
        }
        at += length;
    }
    if (!payload) return;
    if (direction != 0 && direction != 1) {
        WarnOnce(warnedRlcNoDirection_, "RLC-LTE PDUs without a direction are not read");
        return;
    }
    if (nbIot) {
        WarnOnce(warnedNbIot_, "NB-IoT RLC PDUs are not read");
        return;
    }
    const bool uplink = direction == 0;
    const Bytes pdu = framed.From(at);
    const uint32_t s = StreamIndex(stream);
    if (s < carriages_.size()) carriages_[s] = RadioCarriage::kRlcLteUdp;
    const UeIdent ue = ueId >= 0 ? kNoRnti + static_cast<UeIdent>(ueId) : kUnknownUe;
    collected_.clear();
    if (channelType == kChannelCcch && mode == static_cast<uint8_t>(RlcMode::kTm)) {
        if (pdu.size > 0) Ccch(s, ue, uplink, pdu);
    } else if (channelType == kChannelSrb && (channelId == 1 || channelId == 2)) {
        if (mode == static_cast<uint8_t>(RlcMode::kAm) && snBits == 10) {
            SrbPdu(s, ue, static_cast<uint8_t>(channelId), uplink, RlcMode::kAm, 10, pdu);
        } else if (mode == static_cast<uint8_t>(RlcMode::kUm) && (snBits == 5 || snBits == 10)) {
            SrbPdu(s, ue, static_cast<uint8_t>(channelId), uplink, RlcMode::kUm, snBits, pdu);
        } else {
            WarnOnce(warnedAm16_, "RLC-LTE PDUs of an SRB in a mode or sequence number length not used for SRBs are not read");
        }
    } else if (channelType == kChannelDrb) {
        ++counters_.drbSdus;
    } else {
        ++counters_.macNotForUe;
    }
    DeliverCollected(RadioCarriage::kRlcLteUdp, ueId, -1, -1);
}

void RadioDecoder::GsmtapRrc(uint8_t subtype, Bytes pdu, const std::string& ueKey) {
    // GSMTAP LTE RRC subtypes: 0 DL-CCCH, 1 DL-DCCH, 2 UL-CCCH, 3 UL-DCCH;
    // 4-13 broadcast, paging, multicast and sidelink; 14-17 the NB-IoT
    // CCCH and DCCH.
    RrcClass channel;
    switch (subtype) {
        case 0: channel = RrcClass::kDlCcch; break;
        case 1: channel = RrcClass::kDlDcch; break;
        case 2: channel = RrcClass::kUlCcch; break;
        case 3: channel = RrcClass::kUlDcch; break;
        case 14:
        case 15:
        case 16:
        case 17:
            WarnOnce(warnedNbIot_, "GSMTAP NB-IoT RRC is not read");
            return;
        default:
            return;
    }
    if (pdu.size == 0) return;
    RrcPdu p;
    p.channel = channel;
    p.direction = IsUplink(channel) ? 1 : 0;
    p.octets = pdu;
    p.carriage = RadioCarriage::kGsmtap;
    p.ueKey = ueKey;
    ++counters_.rrcPdus;
    current_ = nullptr;
    sink_.Deliver(p);
}

void RadioDecoder::Finish() {
    arenaUsed_ = 0;
    warnings_.clear();
    std::vector<uint64_t> keys;
    keys.reserve(channels_.size());
    for (const auto& [key, channel] : channels_) keys.push_back(key);
    std::sort(keys.begin(), keys.end());
    for (const uint64_t key : keys) {
        const auto it = channels_.find(key);
        if (it == channels_.end()) continue;
        collected_.clear();
        const uint32_t stream = static_cast<uint32_t>(key >> 40);
        const UeIdent ue = static_cast<UeIdent>((key >> 8) & 0xFFFFFFFF);
        const uint8_t lcid = static_cast<uint8_t>((key >> 1) & 0x7F);
        Collector collector(*this, stream, ue, lcid, (key & 1) != 0, it->second);
        it->second.rlc.Flush(collector, counters_.rlc);
        DeliverCollected(stream < carriages_.size() ? carriages_[stream] : RadioCarriage::kMacLteFramed, -1, -1, -1);
    }
}

}  // namespace corvuna::capture::radio
