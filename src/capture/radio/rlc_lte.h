// SPDX-License-Identifier: Apache-2.0
// LTE RLC (TS 36.322), the receiving side: the data PDUs of an
// unacknowledged-mode (UM) or acknowledged-mode (AM) entity, with
// segmentation, concatenation, AM re-segmentation (segment offsets) and
// retransmissions, reassembled into RLC SDUs in sequence-number order.
// Transparent mode (CCCH) needs nothing: its PDU is the SDU.
//
// A capture is not the receiver: it may miss PDUs that the receiver got,
// and see PDUs twice.  A sequence number is given up (a gap, counted) when
// the peer's STATUS PDU acknowledges it, when too much waits behind it, or
// when what waits behind it has waited too long; the pieces of SDUs that
// lost a part are thrown away (counted), never glued to other pieces.  A
// PDU or segment that brings nothing new is a duplicate (counted).  All
// the state of an entity is in one RlcReceiver, bounded in size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "capture/bytes.h"

namespace corvuna::capture::radio {

enum class RlcMode : uint8_t { kTm = 1, kUm = 2, kAm = 4 };

struct RlcCounters {
    uint64_t dataPdus = 0;
    uint64_t segments = 0;    // AMD PDU segments (re-segmented retransmissions)
    uint64_t statusPdus = 0;  // AM control PDUs
    uint64_t duplicates = 0;  // data PDUs and segments that brought nothing new
    uint64_t gaps = 0;        // runs of sequence numbers given up
    uint64_t discarded = 0;   // SDU pieces thrown away: another piece of the SDU was lost, or it grew too long
    uint64_t malformed = 0;
    uint64_t restarts = 0;    // the peer entity started over unseen (after a pause, or far below the window)
};

// Where the completed SDUs go.  `firstFrame` is the frame counter of the
// first PDU that carried a part of the SDU.
class RlcSduHandler {
public:
    virtual ~RlcSduHandler() = default;
    virtual void Sdu(Bytes sdu, uint64_t firstFrame) = 0;
};

// An AM STATUS PDU with 10-bit sequence numbers (TS 36.322 6.2.1.6).
struct AmStatus {
    struct Nack {
        uint16_t sn = 0;
        bool segment = false;  // only the octets soStart..soEnd are missing
        uint16_t soStart = 0;
        uint16_t soEnd = 0;
    };
    uint16_t ackSn = 0;
    std::vector<Nack> nacks;
};

// Reads a STATUS PDU; false when it is not one or is cut short.
bool ParseAmStatus(Bytes pdu, AmStatus& status);

class RlcReceiver {
public:
    // Limits: the SDU being reassembled, the octets and PDUs waiting
    // behind a missing sequence number, and how long they wait.
    static constexpr size_t kMaxSdu = 16384;
    static constexpr size_t kMaxWaitingOctets = 32768;
    static constexpr size_t kMaxWaitingPdus = 64;   // AM
    static constexpr size_t kUmMaxWaitingPdus = 8;  // UM: nothing is retransmitted
    static constexpr uint64_t kAmGiveUpMicroseconds = 2000000;
    static constexpr uint64_t kUmGiveUpMicroseconds = 200000;
    // A peer entity re-established without the capture showing it (a
    // connection on a reused RNTI whose setup was missed) starts its
    // sequence numbers over: a PDU below the window starts the entity over
    // when it comes after a pause this long, or is the last of this many
    // in a row below the window.
    static constexpr uint64_t kRestartAfterMicroseconds = 5000000;
    static constexpr uint32_t kRestartAfterPdus = 16;

    // A fresh entity of `mode` (kUm or kAm) with `snBits`-bit sequence
    // numbers (UM 5 or 10, AM 10).
    void Reset(RlcMode mode, int snBits);
    RlcMode mode() const { return mode_; }

    // Receives one PDU of frame number `frame` at time `microseconds`; the
    // SDUs it completes go to `out`, in order.  False for an AM control
    // PDU, which the caller hands to the peer entity (PeerStatus).
    bool Receive(Bytes pdu, uint64_t frame, uint64_t microseconds, RlcSduHandler& out, RlcCounters& counters);

    // The peer's STATUS PDU about the data this entity receives: what it
    // acknowledges and this entity never saw is given up.
    void PeerStatus(const AmStatus& status, RlcSduHandler& out, RlcCounters& counters);

    // Gives up every missing sequence number and delivers what waited.
    void Flush(RlcSduHandler& out, RlcCounters& counters);

    // What is held: octets of waiting PDUs and of the SDU being reassembled.
    size_t HeldOctets() const;

private:
    struct Segment {
        uint16_t sn = 0;
        uint16_t offset = 0;  // segment offset (AM re-segmentation), else 0
        bool last = true;     // holds the last octet of the PDU's data field
        uint8_t framing = 0;  // FI: 2 the first octet starts no SDU, 1 the last ends none
        bool segment = false; // an AMD PDU segment
        Bytes data;
    };
    struct Stored {
        uint16_t sn = 0;
        int length = -1;  // of the data field, once the last segment is in
        bool firstStarts = false;
        bool lastEnds = false;
        bool firstKnown = false;
        std::vector<uint8_t> data;
        std::vector<std::pair<size_t, size_t>> have;  // octets received, sorted and merged
        std::vector<size_t> cuts;                     // offsets where one SDU ends and the next starts
        uint64_t firstFrame = 0;
        uint64_t arrived = 0;  // microseconds
        bool Complete() const {
            return length >= 0 && have.size() == 1 && have[0].first == 0 && have[0].second == static_cast<size_t>(length);
        }
    };

    bool ParseData(Bytes pdu, Segment& segment);
    void Erase(Stored* st);
    uint16_t Distance(uint16_t sn) const { return static_cast<uint16_t>((sn - next_) & (modulus_ - 1)); }
    Stored* Find(uint16_t sn);
    bool Store(const Segment& s, uint64_t frame, uint64_t microseconds, RlcCounters& counters);
    void Drain(RlcSduHandler& out, RlcCounters& counters);
    void GiveUpNext(RlcCounters& counters);
    // Drops what is held of next_: its stored PDU and the SDU left open.
    void DiscardNext(RlcCounters& counters);
    // The pieces of one whole data field, split at `cuts`.
    void Pieces(Bytes data, const std::vector<size_t>& cuts, bool firstStarts, bool lastEnds, uint64_t frame,
                RlcSduHandler& out, RlcCounters& counters);
    void Take(Bytes piece, bool starts, bool ends, uint64_t frame, RlcSduHandler& out, RlcCounters& counters);

    RlcMode mode_ = RlcMode::kAm;
    uint16_t modulus_ = 1024;
    uint16_t window_ = 512;
    bool started_ = false;
    uint16_t next_ = 0;  // the lowest sequence number not yet delivered
    uint64_t lastArrival_ = 0;
    uint32_t belowWindow_ = 0;  // PDUs in a row below the window
    std::vector<Stored> waiting_;
    size_t waitingOctets_ = 0;
    std::vector<uint8_t> partial_;  // the SDU being reassembled
    bool partialOpen_ = false;
    uint64_t partialFrame_ = 0;
    std::vector<size_t> lengths_;  // scratch: the length indicators of a PDU
    std::vector<size_t> cuts_;     // scratch
};

}  // namespace corvuna::capture::radio
