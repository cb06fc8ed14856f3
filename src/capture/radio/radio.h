// SPDX-License-Identifier: Apache-2.0
// The radio side of a capture, up to LTE RRC: MAC-LTE PDUs in Wireshark's
// framing (user link type 147, or after a UDP header and the "mac-lte"
// signature), RLC-LTE PDUs after the "rlc-lte" signature, and GSMTAP LTE
// RRC, turned into the RRC PDUs of CCCH and DCCH (SRB0-2) that carry NAS.
// MAC SDUs of CCCH are RRC PDUs (RLC transparent mode); those of SRB1 and
// SRB2 go through an RLC AM entity per (stream, UE, logical channel,
// direction) and PDCP.  Each RRC PDU goes to the RrcSink as soon as it is
// complete, with its RNTI, SFN and subframe, and with the AS security
// state of its UE: what the RRC part reports back (NoteRrc) about the
// SecurityModeCommand and C-RNTI changes is kept per UE.
//
// Counted, not reported one by one: MAC PDUs with a bad CRC, PDUs that are
// not for a UE's SCH (random access responses, broadcast, paging), SDUs of
// data radio bearers, and what RLC gave up or saw twice.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "capture/bytes.h"
#include "capture/radio/mac_lte.h"
#include "capture/radio/pdcp_lte.h"
#include "capture/radio/rlc_lte.h"
#include "capture/radio/rrc_pdu.h"

namespace corvuna::capture::radio {

struct RadioCounters {
    uint64_t macPdus = 0;
    uint64_t macBadCrc = 0;     // skipped
    uint64_t macNotForUe = 0;   // RAR, BCCH, PCCH, predefined data, NB-IoT: skipped
    uint64_t macUnreadable = 0; // a subheader that cannot be read (malformed, reserved LCID)
    uint64_t drbSdus = 0;       // MAC or RLC SDUs of data radio bearers: no NAS there
    uint64_t pdcpMalformed = 0;
    uint64_t rrcPdus = 0;       // delivered to the sink
    uint64_t asCiphered = 0;    // of them, AS-ciphered
    RlcCounters rlc;
};

class RadioDecoder {
public:
    // Bounds on what is kept: RLC entities and UEs (the least recently
    // seen go first), capture streams.
    static constexpr size_t kMaxChannels = 512;
    static constexpr size_t kMaxUes = 512;
    static constexpr size_t kMaxStreams = 64;

    explicit RadioDecoder(RrcSink& sink) : sink_(sink) {}
    RadioDecoder(const RadioDecoder&) = delete;
    RadioDecoder& operator=(const RadioDecoder&) = delete;

    // Starts frame number `frame` (counted from 1) at time `microseconds`;
    // what the frame gives stays valid until the next call.
    void BeginFrame(uint64_t frame, uint64_t microseconds);

    // A MAC-LTE PDU with its framing, from the radio type on.  `stream`
    // tells captures' separate sources apart (an IP endpoint pair).
    void MacFramed(Bytes framed, RadioCarriage carriage, const std::string& stream);
    // An RLC-LTE PDU with its framing, from the RLC mode on.
    void RlcFramed(Bytes framed, const std::string& stream);
    // A UDP payload: MAC-LTE or RLC-LTE after its signature.  False when it
    // holds neither (other signatures the tools write are warned about
    // once as not read).
    bool Udp(Bytes payload, const std::string& stream, bool warnUnknown);
    // GSMTAP LTE RRC (type 0x0D) of `subtype`: the RRC PDU as the modem
    // logged it.  `ueKey` is the key of the UE's security context.
    void GsmtapRrc(uint8_t subtype, Bytes pdu, const std::string& ueKey);

    // What the RRC part found in the PDU being delivered (called from
    // RrcSink::Deliver): the AS algorithms of a SecurityModeCommand and the
    // C-RNTI hints.
    void NoteRrc(const RrcContent& content);

    // The end of the capture: every missing sequence number is given up and
    // what waited is delivered.
    void Finish();

    const RadioCounters& counters() const { return counters_; }
    // Problems met in the current frame (malformed framing), and notes
    // given once per capture (framings that are not read).
    const std::vector<std::string>& warnings() const { return warnings_; }

private:
    // An identity of a UE within a stream: its RNTI, or 0x10000 + the
    // framing's UE id when no RNTI is carried.
    using UeIdent = uint32_t;
    struct Channel {
        RlcReceiver rlc;
        PdcpSrbCount pdcp;
        uint64_t lastFrame = 0;
    };
    struct UeState {
        std::string key;
        int asCiphering = -1;
        bool dlCiphered = false;
        bool ulCiphered = false;
        bool ulAwaitingComplete = false;  // the SecurityModeComplete still to come, unciphered
        bool connecting = false;          // UL-CCCH seen; no DCCH yet
        uint64_t lastFrame = 0;
    };
    // An SDU of CCCH or an SRB, complete, waiting to be handed on.
    struct Collected {
        uint32_t stream = 0;
        UeIdent ue = 0;
        uint8_t lcid = 0;
        bool uplink = false;
        size_t slot = 0;  // in arena_
        uint64_t firstFrame = 0;
        uint32_t pdcpCount = 0;
    };
    class Collector;

    uint32_t StreamIndex(const std::string& stream);
    static uint64_t ChannelKey(uint32_t stream, UeIdent ue, uint8_t lcid, bool uplink) {
        return static_cast<uint64_t>(stream) << 40 | static_cast<uint64_t>(ue) << 8 | static_cast<uint64_t>(lcid) << 1 |
               (uplink ? 1u : 0u);
    }
    static uint64_t UeKey(uint32_t stream, UeIdent ue) { return static_cast<uint64_t>(stream) << 32 | ue; }
    Channel& ChannelFor(uint32_t stream, UeIdent ue, uint8_t lcid, bool uplink, RlcMode mode, int snBits);
    UeState& UeFor(uint32_t stream, UeIdent ue);
    void ResetUe(uint32_t stream, UeIdent ue, bool securityToo);
    size_t Keep(Bytes sdu);
    void Ccch(uint32_t stream, UeIdent ue, bool uplink, Bytes sdu);
    void SrbPdu(uint32_t stream, UeIdent ue, uint8_t lcid, bool uplink, RlcMode mode, int snBits, Bytes pdu);
    void DeliverCollected(RadioCarriage carriage, int ueId, int sfn, int subframe);
    void Warn(const std::string& what) { warnings_.push_back(what); }
    void WarnOnce(bool& given, const std::string& what);

    RrcSink& sink_;
    RadioCounters counters_;
    uint64_t frame_ = 0;
    uint64_t microseconds_ = 0;
    std::vector<std::string> streams_;
    std::vector<RadioCarriage> carriages_;  // of each stream, as last seen
    std::unordered_map<uint64_t, Channel> channels_;
    std::unordered_map<uint64_t, UeState> ues_;
    std::vector<MacElement> elements_;
    AmStatus status_;
    std::vector<std::vector<uint8_t>> arena_;  // this frame's SDUs
    size_t arenaUsed_ = 0;
    std::vector<Collected> collected_;
    const Collected* current_ = nullptr;  // being delivered
    std::vector<std::string> warnings_;
    bool warnedPdcpFraming_ = false;
    bool warnedNrFraming_ = false;
    bool warnedNbIot_ = false;
    bool warnedRlcNoDirection_ = false;
    bool warnedAm16_ = false;
};

}  // namespace corvuna::capture::radio
