// SPDX-License-Identifier: Apache-2.0
// Fuzz target: the security component's parsers of outside input.  Octet 0
// picks what the rest feeds:
//   0  the keys file parser, the rest as its text;
//   1  a Diameter message (the S6a reader), then the same octets as TCP
//      segments of port 3868 (each a flags octet, a length octet and its
//      octets, sent with sequence numbers that may repeat or jump);
//   2+ the security tracker: a run of NAS messages, each a control octet
//      (the UE association in bits 1-2, the direction in bits 3-4, an S1AP
//      S-TMSI in bit 5), a length octet and its octets, with the open5gs test
//      keys for every subscriber (and the 5GC capture's for its one) and an
//      S6a vector made of the first 80
//      octets.
// Every message is a heap block of its exact size, so that a read outside
// it is caught; the facts must describe the message they came from.
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "capture/diameter.h"
#include "capture/tcp_stream.h"
#include "security/keys.h"
#include "security/tracker.h"

namespace {

using namespace corvuna;

void Keys(const uint8_t* data, size_t size) {
    security::KeyStore store;
    std::string error;
    const bool ok = security::ParseKeys(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz", store, error);
    if (ok != error.empty() && !ok) abort();
    if (!ok && error.rfind("fuzz:", 0) != 0) abort();
}

void Diameter(const uint8_t* data, size_t size) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size == 0 ? 1 : size]);
    for (size_t i = 0; i < size; ++i) copy[i] = data[i];
    capture::S6aAuthentication m;
    capture::S6aMatcher matcher;
    if (capture::ParseDiameter(capture::Bytes{copy.get(), size}, m) == capture::DiameterResult::kS6aAuthentication) {
        for (const capture::EutranVector& v : m.vectors) {
            if (v.xres.size() > 16) abort();
        }
        capture::S6aVectors out;
        matcher.Take(m, out);
    }
    capture::DiameterTcp tcp;
    std::deque<std::vector<uint8_t>> messages;
    std::vector<std::string> problems;
    uint32_t sequence = 1000;
    size_t at = 0;
    while (at + 2 <= size) {
        const uint8_t flags = data[at];
        size_t length = data[at + 1];
        at += 2;
        if (length > size - at) length = size - at;
        std::unique_ptr<uint8_t[]> segment(new uint8_t[length == 0 ? 1 : length]);
        for (size_t i = 0; i < length; ++i) segment[i] = data[at + i];
        at += length;
        // Bits 6-8 of the flags move the sequence number back or ahead.
        const uint32_t shift = static_cast<uint32_t>(flags >> 5) * 7;
        tcp.Segment("flow", (flags & 0x80) != 0 ? sequence - shift : sequence + shift, flags & 0x07,
                    capture::Bytes{segment.get(), length}, messages, problems);
        sequence += static_cast<uint32_t>(length);
    }
    for (const std::vector<uint8_t>& m : messages) {
        if (capture::DiameterMessageLength(capture::Bytes{m.data(), m.size()}) != m.size()) abort();
        capture::S6aAuthentication parsed;
        capture::ParseDiameter(capture::Bytes{m.data(), m.size()}, parsed);
    }
}

void Tracker(const uint8_t* data, size_t size) {
    security::KeyStore keys;
    std::string error;
    security::ParseKeys("* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca\n"
                        "001010000000002 kasme=000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f\n"
                        "001010000000003 knasenc=00000000000000000000000000000001 "
                        "knasint=00000000000000000000000000000002 eea=2 eia=2\n"
                        // The subscriber of the open5gs 5GC capture (5G AKA, KAMF).
                        "901700000021309 k=70d49a71dd1a2b806a25abe0ef749f1e opc=6f1bf53d624b3a43af6592854e2444c7\n",
                        "fuzz", keys, error);
    security::SecurityTracker tracker(&keys, (size & 1) != 0);
    if (size >= 80) {
        security::Rand rand{};
        security::Autn autn{};
        security::Key256 kasme{};
        for (size_t i = 0; i < 16; ++i) rand[i] = data[i];
        for (size_t i = 0; i < 16; ++i) autn[i] = data[16 + i];
        for (size_t i = 0; i < 32; ++i) kasme[i] = data[32 + i];
        const security::Plmn plmn{data[64], data[65], data[66]};
        tracker.AddVector("001010123456789", (data[67] & 1) != 0 ? &plmn : nullptr, rand,
                          security::ConstOctets(data + 68, data[67] % 13), autn, kasme);
    }
    static const char* const kConnections[] = {"s1ap/1", "s1ap/2", "gsmtap", "user"};
    size_t at = 0;
    security::SecurityFacts facts;
    while (at + 2 <= size) {
        const uint8_t control = data[at];
        size_t length = data[at + 1];
        at += 2;
        if (length > size - at) length = size - at;
        std::unique_ptr<uint8_t[]> nas(new uint8_t[length == 0 ? 1 : length]);
        for (size_t i = 0; i < length; ++i) nas[i] = data[at + i];
        at += length;
        security::NasInput in;
        in.connection = kConnections[control & 0x03];
        in.direction = (control >> 2 & 0x03) == 3 ? -1 : (control >> 2) & 0x01;
        in.nas = security::ConstOctets(nas.get(), length);
        if ((control & 0x10) != 0) in.sTmsi = 0x0100000009;
        tracker.Process(in, facts);
        if (!facts.plain.empty() && facts.plain.size() != length) abort();
        if (facts.mac == security::MacCheck::kVerified && facts.securityHeader <= 0) abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    switch (data[0]) {
        case 0:
            Keys(data + 1, size - 1);
            break;
        case 1:
            Diameter(data + 1, size - 1);
            break;
        default:
            Tracker(data + 1, size - 1);
            break;
    }
    return 0;
}
