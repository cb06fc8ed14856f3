// SPDX-License-Identifier: Apache-2.0
#include "capture/tcp_stream.h"

#include "capture/diameter.h"

namespace corvuna::capture {

namespace {

constexpr uint8_t kFin = 0x01;
constexpr uint8_t kSyn = 0x02;
constexpr uint8_t kRst = 0x04;
// Held past a gap before the gap is taken as lost.
constexpr size_t kMaxEarlyOctets = 1 << 20;
constexpr size_t kMaxEarlySegments = 256;
// No S6a message comes near this.
constexpr size_t kMaxMessage = 1 << 20;

int32_t Distance(uint32_t from, uint32_t to) { return static_cast<int32_t>(to - from); }

}  // namespace

void DiameterTcp::Append(Flow& flow, uint32_t sequence, Bytes payload) {
    const int32_t ahead = Distance(flow.next, sequence);
    if (ahead > 0) return;  // the caller holds it
    const size_t skip = static_cast<size_t>(-static_cast<int64_t>(ahead));
    if (skip >= payload.size) return;  // all of it seen already
    flow.buffer.insert(flow.buffer.end(), payload.data + skip, payload.data + payload.size);
    flow.next += static_cast<uint32_t>(payload.size - skip);
}

void DiameterTcp::Cut(Flow& flow, std::deque<std::vector<uint8_t>>& messages, std::vector<std::string>& problems) {
    size_t at = 0;
    while (flow.buffer.size() - at >= 4) {
        const Bytes rest{flow.buffer.data() + at, flow.buffer.size() - at};
        const size_t length = DiameterMessageLength(rest);
        if (length == 0 || length > kMaxMessage) {
            problems.push_back("TCP port 3868: " + std::to_string(rest.size) +
                               " octets that do not start a Diameter message were skipped");
            at = flow.buffer.size();
            break;
        }
        if (length > rest.size) break;
        messages.emplace_back(rest.data, rest.data + length);
        at += length;
    }
    flow.buffer.erase(flow.buffer.begin(), flow.buffer.begin() + static_cast<std::ptrdiff_t>(at));
}

void DiameterTcp::Segment(const std::string& key, uint32_t sequence, uint8_t flags, Bytes payload,
                          std::deque<std::vector<uint8_t>>& messages, std::vector<std::string>& problems) {
    auto found = flows_.find(key);
    if ((flags & kSyn) != 0 || found == flows_.end()) {
        // A new connection, or the first segment seen of one.
        Flow& flow = flows_[key];
        flow = Flow{};
        flow.next = (flags & kSyn) != 0 ? sequence + 1 : sequence;
        found = flows_.find(key);
        if ((flags & kSyn) != 0) sequence += 1;
    }
    Flow& flow = found->second;
    if (payload.size > 0) {
        if (Distance(flow.next, sequence) > 0) {
            if (flow.early.size() < kMaxEarlySegments && flow.earlyOctets + payload.size <= kMaxEarlyOctets &&
                flow.early.find(sequence) == flow.early.end()) {
                flow.early[sequence].assign(payload.data, payload.data + payload.size);
                flow.earlyOctets += payload.size;
            } else {
                // The gap is not going to fill: what came before it is lost.
                problems.push_back("TCP port 3868: a lost segment; the Diameter message it belonged to is skipped");
                flow.buffer.clear();
                flow.next = flow.early.empty() ? sequence : flow.early.begin()->first;
            }
        } else {
            Append(flow, sequence, payload);
        }
        // Segments that the gap kept waiting.
        for (auto it = flow.early.begin(); it != flow.early.end();) {
            if (Distance(flow.next, it->first) > 0) break;
            Append(flow, it->first, Bytes{it->second.data(), it->second.size()});
            flow.earlyOctets -= it->second.size();
            it = flow.early.erase(it);
        }
        Cut(flow, messages, problems);
    }
    if ((flags & (kFin | kRst)) != 0) flows_.erase(found);
}

}  // namespace corvuna::capture
