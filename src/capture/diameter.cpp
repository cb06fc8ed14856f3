// SPDX-License-Identifier: Apache-2.0
#include "capture/diameter.h"

namespace corvuna::capture {

namespace {

constexpr uint32_t kVendor3gpp = 10415;

// The AVP codes of RFC 6733 and TS 29.272 read here.
enum AvpCode : uint32_t {
    kAvpUserName = 1,
    kAvpSessionId = 263,
    kAvpVisitedPlmnId = 1407,
    kAvpAuthenticationInfo = 1413,
    kAvpEutranVector,  // 1414
    kAvpRand = 1447,
    kAvpXres,   // 1448
    kAvpAutn,   // 1449
    kAvpKasme,  // 1450
};

struct Avp {
    uint32_t code = 0;
    uint32_t vendor = 0;
    Bytes data;
};

// Walks the AVPs of `data`, calling `each` for every one; false when an
// AVP header or length runs past the data.
template <typename F>
bool ForEachAvp(Bytes data, F&& each) {
    size_t at = 0;
    while (at < data.size) {
        if (at + 8 > data.size) return false;
        Avp avp;
        avp.code = data.Be32(at);
        const uint8_t flags = data.At(at + 4);
        const size_t length = data.Be32(at + 4) & 0xFFFFFF;  // after the flags octet
        const size_t header = (flags & 0x80) != 0 ? 12 : 8;
        if (length < header || at + length > data.size) return false;
        if (header == 12) avp.vendor = data.Be32(at + 8);
        avp.data = Bytes{data.data + at + header, length - header};
        if (!each(avp)) return false;
        at += (length + 3) & ~size_t{3};
    }
    return true;
}

template <size_t N>
bool Fixed(const Avp& avp, std::array<uint8_t, N>& out) {
    if (avp.data.size != N) return false;
    for (size_t i = 0; i < N; ++i) out[i] = avp.data.data[i];
    return true;
}

bool ReadVector(Bytes data, EutranVector& v) {
    bool rand = false, autn = false, kasme = false;
    const bool ok = ForEachAvp(data, [&](const Avp& avp) {
        if (avp.vendor != kVendor3gpp) return true;
        switch (avp.code) {
            case kAvpRand:
                rand = Fixed(avp, v.rand);
                break;
            case kAvpXres:
                if (avp.data.size >= 4 && avp.data.size <= 16) v.xres.assign(avp.data.data, avp.data.data + avp.data.size);
                break;
            case kAvpAutn:
                autn = Fixed(avp, v.autn);
                break;
            case kAvpKasme:
                kasme = Fixed(avp, v.kasme);
                break;
            default:
                break;
        }
        return true;
    });
    return ok && rand && autn && kasme;
}

}  // namespace

size_t DiameterMessageLength(Bytes octets) {
    if (octets.size < 4 || octets.At(0) != 1) return 0;
    const size_t length = octets.Be32(0) & 0xFFFFFF;  // after the version octet
    return length >= 20 && length % 4 == 0 ? length : 0;
}

DiameterResult ParseDiameter(Bytes message, S6aAuthentication& out) {
    out = S6aAuthentication{};
    const size_t length = DiameterMessageLength(message);
    if (length == 0 || length > message.size) return DiameterResult::kMalformed;
    const uint8_t flags = message.At(4);
    const uint32_t command = message.Be32(4) & 0xFFFFFF;
    const uint32_t application = message.Be32(8);
    if (command != kDiameterCommandAuthenticationInformation || application != kDiameterApplicationS6a) {
        return DiameterResult::kOther;
    }
    out.request = (flags & 0x80) != 0;
    out.hopByHop = message.Be32(12);
    out.endToEnd = message.Be32(16);
    const bool ok = ForEachAvp(message.Take(length).From(20), [&](const Avp& avp) {
        if (avp.code == kAvpSessionId && avp.vendor == 0) {
            out.sessionId.assign(reinterpret_cast<const char*>(avp.data.data), avp.data.size);
        } else if (avp.code == kAvpUserName && avp.vendor == 0) {
            out.userName.assign(reinterpret_cast<const char*>(avp.data.data), avp.data.size);
        } else if (avp.code == kAvpVisitedPlmnId && avp.vendor == kVendor3gpp) {
            out.hasVisitedPlmn = Fixed(avp, out.visitedPlmn);
        } else if (avp.code == kAvpAuthenticationInfo && avp.vendor == kVendor3gpp) {
            return ForEachAvp(avp.data, [&](const Avp& inner) {
                if (inner.code != kAvpEutranVector || inner.vendor != kVendor3gpp) return true;
                EutranVector v;
                if (ReadVector(inner.data, v)) out.vectors.push_back(std::move(v));
                return true;
            });
        }
        return true;
    });
    return ok ? DiameterResult::kS6aAuthentication : DiameterResult::kMalformed;
}

bool S6aMatcher::Take(const S6aAuthentication& message, S6aVectors& out) {
    if (message.request) {
        Request r{message.userName, message.hasVisitedPlmn, message.visitedPlmn};
        byIds_[{message.hopByHop, message.endToEnd}] = r;
        if (!message.sessionId.empty()) bySession_[message.sessionId] = r;
        return false;
    }
    if (message.vectors.empty()) return false;
    out = S6aVectors{};
    out.vectors = message.vectors;
    const Request* r = nullptr;
    if (const auto it = byIds_.find({message.hopByHop, message.endToEnd}); it != byIds_.end()) {
        r = &it->second;
    } else if (const auto s = bySession_.find(message.sessionId); s != bySession_.end() && !message.sessionId.empty()) {
        r = &s->second;
    }
    if (r != nullptr) {
        out.imsi = r->userName;
        out.hasVisitedPlmn = r->hasVisitedPlmn;
        out.visitedPlmn = r->visitedPlmn;
    }
    return true;
}

}  // namespace corvuna::capture
