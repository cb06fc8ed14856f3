// SPDX-License-Identifier: Apache-2.0
// Fuzz target: CorvunaDecodeView in both formats.  Octet 0 of the input
// picks the direction (bit 1) and null ciphering (bit 2); the rest is the
// message.  Every output must be valid JSON without a repeated key, or a
// well-formed text tree, within CORVUNA_MAX_VIEW_LENGTH; a buffer one
// character short must be refused untouched, and one of the exact size
// must give the same output.
#include <cstdint>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/view_fuzz_check.h"

using corvuna::test::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int direction = data[0] & 1;
    const unsigned options = (data[0] & 2) != 0 ? CORVUNA_VIEW_NULL_CIPHERING : 0u;
    // The message gets a heap block of its exact size, so that a read past
    // it is caught.
    std::vector<uint8_t> message(data + 1, data + size);
    const uint8_t* octets = message.empty() ? nullptr : message.data();
    const int length = static_cast<int>(message.size());
    Check(direction, options, octets, length, CORVUNA_VIEW_JSON);
    Check(direction, options, octets, length, CORVUNA_VIEW_TEXT);
    return 0;
}
