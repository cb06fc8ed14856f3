// SPDX-License-Identifier: Apache-2.0
// The frame decoder's Diameter part: port 3868 over SCTP (payload protocol
// 46 or 47, or none) and over TCP.
#include "capture/diameter.h"
#include "capture/frames.h"

namespace corvuna::capture {

bool FrameDecoder::IsDiameter(uint32_t ppid, const Endpoint& from, const Endpoint& to) {
    if (ppid == 46 || ppid == 47) return true;
    return (from.port == kDiameterPort || to.port == kDiameterPort) && ppid == 0;
}

void FrameDecoder::Tcp(const Endpoint& from, const Endpoint& to, Bytes segment) {
    if (from.port != kDiameterPort && to.port != kDiameterPort) return;
    if (segment.size < 20) {
        Problem("TCP header cut short");
        return;
    }
    const size_t header = static_cast<size_t>(segment.At(12) >> 4) * 4;
    if (header < 20 || header > segment.size) {
        Problem("malformed TCP header");
        return;
    }
    std::string flow(reinterpret_cast<const char*>(from.address.data()), from.address.size());
    flow.append(reinterpret_cast<const char*>(&from.port), sizeof from.port);
    flow.append(reinterpret_cast<const char*>(to.address.data()), to.address.size());
    flow.append(reinterpret_cast<const char*>(&to.port), sizeof to.port);
    const size_t before = diameterMessages_.size();
    std::vector<std::string> problems;
    tcp_.Segment(flow, segment.Be32(4), segment.At(13), segment.From(header), diameterMessages_, problems);
    for (const std::string& p : problems) Problem(p);
    for (size_t i = before; i < diameterMessages_.size(); ++i) {
        diameter_.push_back(Bytes{diameterMessages_[i].data(), diameterMessages_[i].size()});
    }
}

void FrameDecoder::Diameter(Bytes message) {
    const size_t length = DiameterMessageLength(message);
    if (length == 0 || length > message.size) {
        Problem("malformed Diameter message on SCTP");
        return;
    }
    diameter_.push_back(message.Take(length));
}

}  // namespace corvuna::capture
