// SPDX-License-Identifier: Apache-2.0
#include "capture/radio/rlc_lte.h"

#include <algorithm>
#include <cstring>

namespace corvuna::capture::radio {

namespace {

// Reads bit fields, most significant bit first, from a run of octets;
// reading past the end sets `overrun` and gives zeros.
class BitReader {
public:
    BitReader(Bytes bytes, size_t bit) : bytes_(bytes), bit_(bit) {}
    uint32_t Read(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i, ++bit_) {
            if (bit_ / 8 >= bytes_.size) overrun = true;
            value = value << 1 | ((bytes_.At(bit_ / 8) >> (7 - bit_ % 8)) & 1u);
        }
        return value;
    }
    size_t bit() const { return bit_; }
    bool overrun = false;

private:
    Bytes bytes_;
    size_t bit_;
};

}  // namespace

bool ParseAmStatus(Bytes pdu, AmStatus& status) {
    status.nacks.clear();
    // D/C 0 and control PDU type 000: a STATUS PDU.
    if (pdu.size < 2 || (pdu.At(0) & 0xF0) != 0) return false;
    BitReader bits(pdu, 4);
    status.ackSn = static_cast<uint16_t>(bits.Read(10));
    bool more = bits.Read(1) != 0;
    while (more && !bits.overrun) {
        AmStatus::Nack nack;
        nack.sn = static_cast<uint16_t>(bits.Read(10));
        more = bits.Read(1) != 0;
        nack.segment = bits.Read(1) != 0;
        if (nack.segment) {
            nack.soStart = static_cast<uint16_t>(bits.Read(15));
            nack.soEnd = static_cast<uint16_t>(bits.Read(15));
        }
        if (bits.overrun || status.nacks.size() == 1024) return false;
        status.nacks.push_back(nack);
    }
    return !bits.overrun;
}

void RlcReceiver::Reset(RlcMode mode, int snBits) {
    mode_ = mode;
    modulus_ = static_cast<uint16_t>(1u << (snBits == 5 ? 5 : 10));
    window_ = static_cast<uint16_t>(modulus_ / 2);
    started_ = false;
    next_ = 0;
    lastArrival_ = 0;
    belowWindow_ = 0;
    waiting_.clear();
    waitingOctets_ = 0;
    partial_.clear();
    partialOpen_ = false;
}

size_t RlcReceiver::HeldOctets() const { return waitingOctets_ + (partialOpen_ ? partial_.size() : 0); }

bool RlcReceiver::ParseData(Bytes pdu, Segment& s) {
    size_t at = 0;
    bool extension = false;
    const uint8_t first = pdu.At(0);
    if (mode_ == RlcMode::kAm) {
        // D/C, RF, P, FI (2), E, SN (10); an AMD PDU segment adds LSF and
        // SO (15).
        if (pdu.size < 2) return false;
        s.framing = (first >> 3) & 0x03;
        extension = (first & 0x04) != 0;
        s.sn = static_cast<uint16_t>((first & 0x03) << 8 | pdu.At(1));
        at = 2;
        if ((first & 0x40) != 0) {
            if (pdu.size < 4) return false;
            s.last = (pdu.At(2) & 0x80) != 0;
            s.offset = pdu.Be16(2) & 0x7FFF;
            s.segment = true;
            at = 4;
        } else {
            s.last = true;
            s.offset = 0;
        }
    } else if (modulus_ == 32) {  // UM, FI (2), E, SN (5)
        if (pdu.size < 1) return false;
        s.framing = first >> 6;
        extension = (first & 0x20) != 0;
        s.sn = first & 0x1F;
        at = 1;
    } else {  // UM, R (3), FI (2), E, SN (10)
        if (pdu.size < 2) return false;
        s.framing = (first >> 3) & 0x03;
        extension = (first & 0x04) != 0;
        s.sn = static_cast<uint16_t>((first & 0x03) << 8 | pdu.At(1));
        at = 2;
    }
    // E and LI (11 bits) pairs, padded to an octet.
    lengths_.clear();
    if (extension) {
        BitReader bits(pdu, at * 8);
        bool more = true;
        while (more) {
            more = bits.Read(1) != 0;
            const size_t length = bits.Read(11);
            if (bits.overrun || length == 0) return false;
            lengths_.push_back(length);
        }
        at = (bits.bit() + 7) / 8;
    }
    if (at >= pdu.size) return false;
    s.data = pdu.From(at);
    size_t sum = 0;
    for (const size_t length : lengths_) sum += length;
    return sum < s.data.size;
}

RlcReceiver::Stored* RlcReceiver::Find(uint16_t sn) {
    for (Stored& st : waiting_) {
        if (st.sn == sn) return &st;
    }
    return nullptr;
}

void RlcReceiver::Erase(Stored* st) {
    waitingOctets_ -= st->data.size();
    if (st != &waiting_.back()) *st = std::move(waiting_.back());
    waiting_.pop_back();
}

bool RlcReceiver::Receive(Bytes pdu, uint64_t frame, uint64_t microseconds, RlcSduHandler& out,
                          RlcCounters& counters) {
    if (mode_ == RlcMode::kAm && pdu.size > 0 && (pdu.At(0) & 0x80) == 0) return false;
    Segment s;
    if (!ParseData(pdu, s)) {
        ++counters.malformed;
        return true;
    }
    ++counters.dataPdus;
    if (s.segment) ++counters.segments;
    const bool pause = microseconds > lastArrival_ + kRestartAfterMicroseconds;
    lastArrival_ = microseconds;
    if (!started_) {
        started_ = true;
        next_ = s.sn;
        belowWindow_ = 0;
    }
    if (Distance(s.sn) >= window_) {
        // Below the window: delivered or given up already, unless the peer
        // started over.
        if (!pause && ++belowWindow_ < kRestartAfterPdus) {
            ++counters.duplicates;
            return true;
        }
        Flush(out, counters);
        next_ = s.sn;
        ++counters.restarts;
    }
    belowWindow_ = 0;
    if (Distance(s.sn) == 0 && s.offset == 0 && s.last && Find(s.sn) == nullptr) {
        // In order and whole: its SDUs go straight out.
        cuts_.clear();
        size_t at = 0;
        for (const size_t length : lengths_) cuts_.push_back(at += length);
        Pieces(s.data, cuts_, (s.framing & 0x02) == 0, (s.framing & 0x01) == 0, frame, out, counters);
        next_ = static_cast<uint16_t>((next_ + 1) & (modulus_ - 1));
        Drain(out, counters);
    } else if (Store(s, frame, microseconds, counters)) {
        Drain(out, counters);
    }
    // What waits behind a missing sequence number waits within bounds.
    const uint64_t giveUp = mode_ == RlcMode::kAm ? kAmGiveUpMicroseconds : kUmGiveUpMicroseconds;
    while (!waiting_.empty()) {
        uint64_t oldest = waiting_[0].arrived;
        for (const Stored& st : waiting_) oldest = std::min(oldest, st.arrived);
        const bool tooMany = waiting_.size() > (mode_ == RlcMode::kAm ? kMaxWaitingPdus : kUmMaxWaitingPdus) ||
                             waitingOctets_ > kMaxWaitingOctets;
        if (!tooMany && oldest + giveUp >= microseconds) break;
        GiveUpNext(counters);
        Drain(out, counters);
    }
    return true;
}

bool RlcReceiver::Store(const Segment& s, uint64_t frame, uint64_t microseconds, RlcCounters& counters) {
    const size_t begin = s.offset;
    const size_t end = begin + s.data.size;
    if (end > kMaxSdu) {
        ++counters.discarded;
        return false;
    }
    Stored* st = Find(s.sn);
    if (st != nullptr) {
        if ((st->length >= 0 && end > static_cast<size_t>(st->length)) || (s.last && end < st->data.size())) {
            ++counters.malformed;  // disagrees with the segments already in
            return false;
        }
        bool fresh = true;
        for (const auto& [from, to] : st->have) {
            if (from <= begin && end <= to) fresh = false;
        }
        if (!fresh) {
            ++counters.duplicates;
            return false;
        }
    } else {
        waiting_.emplace_back();
        st = &waiting_.back();
        st->sn = s.sn;
        st->firstFrame = frame;
        st->arrived = microseconds;
    }
    if (st->data.size() < end) {
        waitingOctets_ += end - st->data.size();
        st->data.resize(end);
    }
    std::memcpy(st->data.data() + begin, s.data.data, s.data.size);
    // The octets received, as sorted, merged ranges.
    st->have.emplace_back(begin, end);
    std::sort(st->have.begin(), st->have.end());
    size_t kept = 0;
    for (size_t i = 1; i < st->have.size(); ++i) {
        if (st->have[i].first <= st->have[kept].second) {
            st->have[kept].second = std::max(st->have[kept].second, st->have[i].second);
        } else {
            st->have[++kept] = st->have[i];
        }
    }
    st->have.resize(kept + 1);
    // Where SDUs end inside the data field, as this segment tells.
    size_t at = begin;
    for (const size_t length : lengths_) st->cuts.push_back(at += length);
    if (begin > 0 && (s.framing & 0x02) == 0) st->cuts.push_back(begin);
    if (!s.last && (s.framing & 0x01) == 0) st->cuts.push_back(end);
    std::sort(st->cuts.begin(), st->cuts.end());
    st->cuts.erase(std::unique(st->cuts.begin(), st->cuts.end()), st->cuts.end());
    if (begin == 0) {
        st->firstKnown = true;
        st->firstStarts = (s.framing & 0x02) == 0;
    }
    if (s.last) {
        st->length = static_cast<int>(end);
        st->lastEnds = (s.framing & 0x01) == 0;
    }
    return true;
}

void RlcReceiver::Drain(RlcSduHandler& out, RlcCounters& counters) {
    for (;;) {
        Stored* st = Find(next_);
        if (st == nullptr || !st->Complete()) return;
        const size_t length = static_cast<size_t>(st->length);
        cuts_.clear();
        for (const size_t cut : st->cuts) {
            if (cut > 0 && cut < length) cuts_.push_back(cut);
        }
        Pieces(Bytes{st->data.data(), length}, cuts_, st->firstStarts, st->lastEnds, st->firstFrame, out, counters);
        Erase(st);
        next_ = static_cast<uint16_t>((next_ + 1) & (modulus_ - 1));
    }
}

void RlcReceiver::DiscardNext(RlcCounters& counters) {
    if (Stored* st = Find(next_)) {
        ++counters.discarded;
        Erase(st);
    }
    if (partialOpen_) {
        ++counters.discarded;
        partialOpen_ = false;
    }
}

void RlcReceiver::GiveUpNext(RlcCounters& counters) {
    ++counters.gaps;
    DiscardNext(counters);
    // On to the nearest sequence number that has something.
    uint16_t nearest = 1;
    if (!waiting_.empty()) {
        nearest = Distance(waiting_[0].sn);
        for (const Stored& st : waiting_) nearest = std::min(nearest, Distance(st.sn));
    }
    next_ = static_cast<uint16_t>((next_ + nearest) & (modulus_ - 1));
}

void RlcReceiver::PeerStatus(const AmStatus& status, RlcSduHandler& out, RlcCounters& counters) {
    if (!started_ || mode_ != RlcMode::kAm) return;
    bool run = false;
    for (;;) {
        Drain(out, counters);
        const uint16_t acknowledged = Distance(status.ackSn);
        if (acknowledged == 0 || acknowledged >= window_) return;
        // next_ is below ACK_SN: the peer has it, unless it asks for it again.
        for (const AmStatus::Nack& nack : status.nacks) {
            if (nack.sn == next_) return;
        }
        if (!run) ++counters.gaps;
        run = true;
        DiscardNext(counters);
        next_ = static_cast<uint16_t>((next_ + 1) & (modulus_ - 1));
    }
}

void RlcReceiver::Flush(RlcSduHandler& out, RlcCounters& counters) {
    Drain(out, counters);
    while (!waiting_.empty()) {
        GiveUpNext(counters);
        Drain(out, counters);
    }
    if (partialOpen_) {
        ++counters.discarded;
        partialOpen_ = false;
    }
}

void RlcReceiver::Pieces(Bytes data, const std::vector<size_t>& cuts, bool firstStarts, bool lastEnds, uint64_t frame,
                         RlcSduHandler& out, RlcCounters& counters) {
    size_t from = 0;
    for (const size_t cut : cuts) {
        Take(Bytes{data.data + from, cut - from}, from == 0 ? firstStarts : true, true, frame, out, counters);
        from = cut;
    }
    Take(data.From(from), from == 0 ? firstStarts : true, lastEnds, frame, out, counters);
}

void RlcReceiver::Take(Bytes piece, bool starts, bool ends, uint64_t frame, RlcSduHandler& out, RlcCounters& counters) {
    if (starts) {
        if (partialOpen_) {
            ++counters.discarded;  // the SDU before never ended
            partialOpen_ = false;
        }
        if (ends) {
            out.Sdu(piece, frame);
            return;
        }
        partial_.assign(piece.data, piece.data + piece.size);
        partialOpen_ = true;
        partialFrame_ = frame;
        return;
    }
    if (!partialOpen_) {
        ++counters.discarded;  // its start was lost
        return;
    }
    if (partial_.size() + piece.size > kMaxSdu) {
        ++counters.discarded;
        partialOpen_ = false;
        return;
    }
    partial_.insert(partial_.end(), piece.data, piece.data + piece.size);
    if (ends) {
        partialOpen_ = false;
        out.Sdu(Bytes{partial_.data(), partial_.size()}, partialFrame_);
    }
}

}  // namespace corvuna::capture::radio
