// SPDX-License-Identifier: Apache-2.0
// Fuzz target: the capture component on frames.  Octet 0 picks the link
// type; the rest is a run of frames, each a two-octet length and its
// octets, decoded one after the other by one decoder (so that SCTP
// reassembly keeps state across them).  Every frame is a heap block of its
// exact size, so that a read outside it is caught, and every NAS PDU found
// must lie inside the frame or inside a reassembled message.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "capture/diameter.h"
#include "capture/frames.h"
#include "capture/security.h"

namespace {

constexpr int kLinkTypes[] = {0, 1, 101, 108, 113, 147, 148, 150, 228, 229, 252, 276, 149};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    using namespace corvuna::capture;
    const int type = kLinkTypes[data[0] % (sizeof kLinkTypes / sizeof kLinkTypes[0])];
    FrameDecoder decoder;
    decoder.SetUserPayload(150, UserPayload::kS1ap);
    size_t at = 1;
    while (at + 2 <= size) {
        size_t length = static_cast<size_t>(data[at]) << 8 | data[at + 1];
        at += 2;
        if (length > size - at) length = size - at;
        std::unique_ptr<uint8_t[]> frame(new uint8_t[length == 0 ? 1 : length]);
        for (size_t i = 0; i < length; ++i) frame[i] = data[at + i];
        at += length;
        // Now and then the frame is said to be longer on the wire.
        const size_t wire = (length & 1) != 0 ? length + 7 : length;
        decoder.Decode(type, Bytes{frame.get(), length}, wire);
        // Diameter messages found (port 3868 over SCTP or TCP) are whole and read.
        for (const Bytes& message : decoder.diameter()) {
            if (DiameterMessageLength(message) != message.size) abort();
            S6aAuthentication m;
            ParseDiameter(message, m);
        }
        for (const FoundNas& f : decoder.found()) {
            if (f.octets.size == 0 || f.octets.data == nullptr) abort();
            const bool inFrame = f.octets.data >= frame.get() && f.octets.data + f.octets.size <= frame.get() + length;
            if (!inFrame && f.carrier != Carrier::kS1ap) abort();  // only reassembled S1AP lies elsewhere
            const ProtectedNas p = ReadProtectedNas(f.octets, (f.octets.data[0] & 1) != 0);
            if (p.plain.size > f.octets.size) abort();
            // Every octet of the PDU is read (ASan checks each).
            uint8_t sum = 0;
            for (size_t i = 0; i < f.octets.size; ++i) sum = static_cast<uint8_t>(sum + f.octets.data[i]);
            if (sum == 0 && f.octets.size == 0) abort();
            (void)DirectionOfMessage(p.plain);
        }
    }
    return 0;
}
