// SPDX-License-Identifier: Apache-2.0
// From captured frames to the NAS PDUs they carry: the link layers of the
// supported link types, IPv4 and IPv6, UDP (GSMTAP) and SCTP (S1AP with
// EPS NAS, NGAP with 5GS NAS, user messages fragmented over DATA chunks
// reassembled), raw NAS in a user link type, Wireshark's exported PDUs,
// and the radio side (MAC-LTE and RLC-LTE framings, GSMTAP LTE RRC) up to
// the RRC PDUs that an RRC reader turns into NAS PDUs.  Pure code over
// octets, independent of how the frames are read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "capture/ap.h"
#include "capture/bytes.h"
#include "capture/radio/radio.h"
#include "capture/radio/rrc_pdu.h"
#include "capture/s1ap.h"
#include "capture/tcp_stream.h"

namespace corvuna::capture {

// Link types, as LINKTYPE_ values of the pcap and pcapng formats.
namespace linktype {
inline constexpr int kNull = 0;
inline constexpr int kEthernet = 1;
inline constexpr int kRaw = 101;
inline constexpr int kLoop = 108;
inline constexpr int kLinuxSll = 113;
inline constexpr int kUser0 = 147;
inline constexpr int kUser15 = 162;
inline constexpr int kUpperPdu = 252;
inline constexpr int kIpv4 = 228;
inline constexpr int kIpv6 = 229;
inline constexpr int kLinuxSll2 = 276;
}  // namespace linktype

// What a user link type (147-162) carries: raw NAS, S1AP PDUs, MAC-LTE
// PDUs in Wireshark's framing, or a UDP header and then a framing that
// names itself ("mac-lte", "rlc-lte").
enum class UserPayload : uint8_t { kNone, kNas, kS1ap, kMacLteFramed, kUdp };

// The --user-dlt word of each payload ("nas", "s1ap", "mac-lte-framed",
// "udp"), and back (-1 when unknown; "mac-lte-udp" is taken for "udp").
const char* UserPayloadName(UserPayload payload);
int UserPayloadFromName(const std::string& name);

enum class Carrier : uint8_t { kS1ap, kGsmtap, kRawNas, kExportedPdu, kLteRrc, kNgap };

const char* CarrierName(Carrier carrier);

// One NAS PDU found in a frame.
struct FoundNas {
    Carrier carrier = Carrier::kRawNas;
    int direction = -1;  // 1 uplink, 0 downlink, -1 not carried
    Bytes octets;        // valid until the next frame is decoded
    bool fivegs = false; // 5GS NAS (TS 24.501; NGAP carries no other), not EPS NAS
    // S1AP and NGAP: the procedure and the UE's identities (-1 when absent).
    int procedure = -1;
    int64_t enbUeId = -1;      // S1AP eNB-UE-S1AP-ID
    int64_t mmeUeId = -1;      // S1AP MME-UE-S1AP-ID
    int64_t ranUeNgapId = -1;  // NGAP RAN-UE-NGAP-ID
    int64_t amfUeNgapId = -1;  // NGAP AMF-UE-NGAP-ID
    // S1AP INITIAL UE MESSAGE: the S-TMSI, TAI and E-UTRAN CGI IEs (the
    // S-TMSI and TAI tie a new UE association to the UE's security context).
    UeLocation location;
    // The UE's security context is tracked under this key (the S1AP UE
    // association, the GSMTAP stream, the UE on the radio side, or the
    // capture for raw NAS).
    std::string ueKey;
    // LTE RRC: the field, the RRC message and where it was carried.
    std::string rrcField;    // "dedicatedInfoNAS" or "DedicatedInfoNAS"
    std::string rrcMessage;  // e.g. "ulInformationTransfer"
    radio::RrcClass rrcClass = radio::RrcClass::kUlDcch;
    int rnti = -1;
    int sfn = -1;
    int subframe = -1;
    int asCiphering = -1;  // the UE's AS ciphering algorithm, -1 unknown
    // An RRC PDU that could not be looked into: AS-ciphered (EEA1-3, no
    // keys).  No octets; the RRC fields above say where it was.
    bool asCipheredRrc = false;
};

// Whether the frames of a capture are decoded.
bool LinkTypeSupported(int type, const std::array<UserPayload, 16>& users);

class FrameDecoder : private radio::RrcSink {
public:
    FrameDecoder();
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    // What user link type 147 + i carries (148 carries raw NAS unless told
    // otherwise).
    void SetUserPayload(int type, UserPayload payload);
    const std::array<UserPayload, 16>& userPayloads() const { return users_; }

    // The RRC part that finds the NAS PDUs in LTE RRC PDUs; without one,
    // the RRC PDUs are delivered (rrcPdus()) and no NAS is looked for in
    // them.  The reader must outlive the decoder's use of it.
    void SetRrcReader(radio::RrcReader* reader) { reader_ = reader; }

    // Decodes one frame of `type`, `wireLength` octets long on the wire
    // (more than frame.size when the snap length cut it), captured at
    // `microseconds` (any clock; it tells how long RLC waits for a missing
    // PDU).  The NAS PDUs found, the RRC PDUs met and the problems are in
    // found(), rrcPdus() and warnings() until the next call.
    void Decode(int type, Bytes frame, size_t wireLength, uint64_t microseconds = 0);
    // The end of the capture: what RLC still holds behind a missing PDU is
    // given up to, and its NAS PDUs are in found().
    void Finish();

    const std::vector<FoundNas>& found() const { return found_; }
    // The S1AP and NGAP PDUs of the frame, whole (valid as found() is).
    struct ApMessage {
        ApProtocol protocol;
        Bytes pdu;
    };
    const std::vector<ApMessage>& apPdus() const { return apPdus_; }
    const std::vector<std::string>& warnings() const { return warnings_; }
    // Whole Diameter messages of the frame (port 3868 over SCTP or TCP,
    // TCP segments reassembled), valid until the next frame is decoded.
    const std::vector<Bytes>& diameter() const { return diameter_; }
    const std::vector<radio::RrcPdu>& rrcPdus() const { return rrcPdus_; }
    const radio::RadioCounters& radioCounters() const { return radio_.counters(); }

private:
    struct Endpoint {
        std::array<uint8_t, 16> address{};
        uint16_t port = 0;
        bool operator<(const Endpoint& o) const {
            return address != o.address ? address < o.address : port < o.port;
        }
        bool operator==(const Endpoint& o) const { return address == o.address && port == o.port; }
    };
    struct StreamKey {
        Endpoint from, to;
        uint16_t stream = 0;
        bool operator<(const StreamKey& o) const {
            if (!(from == o.from)) return from < o.from;
            if (!(to == o.to)) return to < o.to;
            return stream < o.stream;
        }
    };
    struct Fragments {
        std::vector<uint8_t> octets;
        uint32_t nextTsn = 0;
        uint32_t ppid = 0;
        bool open = false;
    };

    void Problem(const std::string& what);
    void Network(int version, Bytes packet);
    void Ipv4(Bytes packet);
    void Ipv6(Bytes packet);
    // False when the datagram is none of GSMTAP, MAC-LTE or RLC-LTE.
    bool Udp(const Endpoint& from, const Endpoint& to, Bytes datagram, bool user = false);
    void Link(int type, Bytes frame);
    void Sctp(Endpoint from, Endpoint to, Bytes packet);
    void Ap(ApProtocol protocol, Bytes pdu, const std::string& association);
    void UpperPdu(Bytes frame);
    void RawNas(Bytes nas, Carrier carrier, const std::string& key);
    // Diameter (frames_diameter.cpp).
    void Tcp(const Endpoint& from, const Endpoint& to, Bytes segment);
    void Diameter(Bytes message);
    static bool IsDiameter(uint32_t ppid, const Endpoint& from, const Endpoint& to);
    void UserUdp(Bytes datagram);
    void RadioWarnings();
    void Deliver(const radio::RrcPdu& pdu) override;
    static std::string AssociationKey(const Endpoint& a, const Endpoint& b);

    std::array<UserPayload, 16> users_{};
    bool truncated_ = false;  // the frame was cut by the snap length
    std::vector<FoundNas> found_;
    std::vector<ApMessage> apPdus_;
    std::vector<std::string> warnings_;
    std::map<StreamKey, Fragments> fragments_;
    // User messages completed in this frame (found_ points into them).
    std::vector<std::vector<uint8_t>> completed_;
    size_t completedUsed_ = 0;
    std::vector<Bytes> diameter_;
    std::deque<std::vector<uint8_t>> diameterMessages_;  // reassembled in this frame (stable addresses)
    DiameterTcp tcp_;
    ApDecoder s1ap_{ApProtocol::kS1ap};
    ApDecoder ngap_{ApProtocol::kNgap};
    ApPdu pdu_;
    bool toldUnavailable_ = false;
    // The radio side.
    radio::RadioDecoder radio_{*this};
    radio::RrcReader* reader_ = nullptr;
    radio::RrcContent content_;
    std::vector<radio::RrcPdu> rrcPdus_;
    std::vector<std::vector<uint8_t>> nasKept_;  // NAS PDUs out of RRC, this frame's
    size_t nasKeptUsed_ = 0;
    uint64_t frameCount_ = 0;
    bool warnedUdp_ = false;
};

}  // namespace corvuna::capture
