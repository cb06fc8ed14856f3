// SPDX-License-Identifier: Apache-2.0
// Diameter over TCP: the segments of each connection and direction put back
// in sequence order (retransmissions and overlaps dropped, segments that
// arrive early held until the gap fills) and cut into whole Diameter
// messages by their Message Length.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "capture/bytes.h"

namespace corvuna::capture {

class DiameterTcp {
public:
    // One segment of the flow `flow` (source and destination), its sequence
    // number, TCP flags and payload.  Whole Diameter messages completed by it
    // are appended to `messages`; what went wrong to `problems`.
    void Segment(const std::string& flow, uint32_t sequence, uint8_t flags, Bytes payload,
                 std::deque<std::vector<uint8_t>>& messages, std::vector<std::string>& problems);

private:
    struct Flow {
        uint32_t next = 0;
        std::vector<uint8_t> buffer;                      // octets in order, not yet a whole message
        std::map<uint32_t, std::vector<uint8_t>> early;   // segments past a gap
        size_t earlyOctets = 0;
    };
    void Append(Flow& flow, uint32_t sequence, Bytes payload);
    void Cut(Flow& flow, std::deque<std::vector<uint8_t>>& messages, std::vector<std::string>& problems);

    std::map<std::string, Flow> flows_;
};

}  // namespace corvuna::capture
