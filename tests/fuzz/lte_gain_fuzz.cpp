// SPDX-License-Identifier: Apache-2.0
// Fuzz target: LteGain with random message codes.  Octet 0 selects the
// code (even: 705, odd: octets 1-2 as a code); the rest is the message.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "corvuna/corvuna.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const unsigned int code = (data[0] & 1) ? (static_cast<unsigned int>(data[1]) << 8 | data[2]) : 705u;
    std::vector<uint8_t> message(data + 3, data + size);
    const uint8_t* octets = message.empty() ? data : message.data();
    const int length = static_cast<int>(message.size());
    int rates[2] = {12345, 67890};
    const int result = LteGain(octets, length, code, rates);
    const bool valid = code == 705u && length > 0;
    if (result != (valid ? 1 : 0)) abort();
    if (!valid && (rates[0] != 12345 || rates[1] != 67890)) abort();
    // Stored rates are -1/-1 or octet values times 1000000.
    for (int rate : rates) {
        if (rate == 12345 || rate == 67890 || rate == -1) continue;
        if (rate < 0 || rate % 1000000 != 0 || rate / 1000000 > 255) abort();
    }
    if ((rates[0] == -1) != (rates[1] == -1)) abort();
    return 0;
}
