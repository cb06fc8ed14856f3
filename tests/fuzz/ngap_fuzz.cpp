// SPDX-License-Identifier: Apache-2.0
// Fuzz target: the NAS PDUs and UE ids of one NGAP PDU (capture/ap.h).
// The input, a heap block of its exact size, is the PDU; every NAS PDU
// found must lie inside it (or in the decoder's room for reassembled
// fragments) and is read through.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "capture/ap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvuna::capture;
    static ApDecoder* decoder = new ApDecoder(ApProtocol::kNgap);  // its tables are read once
    std::unique_ptr<uint8_t[]> pdu(new uint8_t[size == 0 ? 1 : size]);
    for (size_t i = 0; i < size; ++i) pdu[i] = data[i];
    ApPdu out;
    decoder->ForgetReassembled();
    const ApResult r = decoder->Decode(Bytes{pdu.get(), size}, out);
    if (r == ApResult::kUnavailable) abort();
    if (r == ApResult::kMalformed && out.problem[0] == '\0') abort();
    if (out.nasCount > kMaxNasPerPdu) abort();
    for (size_t i = 0; i < out.nasCount; ++i) {
        const Bytes nas = out.nas[i];
        const bool inPdu = nas.data >= pdu.get() && nas.data + nas.size <= pdu.get() + size;
        if (!inPdu && nas.size < 16384) abort();  // only fragmented NAS-PDUs are reassembled elsewhere
        uint8_t sum = 0;
        for (size_t j = 0; j < nas.size; ++j) sum = static_cast<uint8_t>(sum + nas.data[j]);
        (void)sum;
    }
    return 0;
}
