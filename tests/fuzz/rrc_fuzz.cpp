// SPDX-License-Identifier: Apache-2.0
// Fuzz target: the RRC extraction (capture/rrc.h).  Octet 0 picks the
// channel (UL-CCCH, DL-CCCH, UL-DCCH, DL-DCCH); the rest, a heap block of
// its exact size, is the PDU.  The NAS PDUs found are copies, each read
// through; the facts must be in their ranges.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "capture/rrc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvuna::capture;
    if (size < 1) return 0;
    static constexpr RrcChannel kChannels[] = {RrcChannel::kUlCcch, RrcChannel::kDlCcch, RrcChannel::kUlDcch,
                                               RrcChannel::kDlDcch};
    const size_t n = size - 1;
    std::unique_ptr<uint8_t[]> pdu(new uint8_t[n == 0 ? 1 : n]);
    for (size_t i = 0; i < n; ++i) pdu[i] = data[1 + i];
    static RrcMessage* m = new RrcMessage;
    const RrcResult r = DecodeRrc(kChannels[data[0] % 4], Bytes{pdu.get(), n}, *m);
    if (r == RrcResult::kUnavailable) abort();
    if (r == RrcResult::kMalformed && m->problem[0] == '\0') abort();
    size_t total = 0;
    for (size_t i = 0; i < m->nasCount(); ++i) {
        const Bytes nas = m->nas(i);
        total += nas.size;
        uint8_t sum = 0;
        for (size_t j = 0; j < nas.size; ++j) sum = static_cast<uint8_t>(sum + nas.data[j]);
        (void)sum;
    }
    if (total > n) abort();
    if (m->cipheringAlgorithm > 7 && m->cipheringName[0] != '\0') abort();
    if (m->newCRnti > 0xFFFF || m->reestablishmentCRnti > 0xFFFF) abort();
    (void)std::strlen(m->name);
    return 0;
}
