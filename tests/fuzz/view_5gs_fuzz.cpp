// SPDX-License-Identifier: Apache-2.0
// Fuzz target: the standard view's 5GS NAS walker (TS 24.501) through
// CorvunaDecodeView in both formats.  Octet 0 of the input picks the
// direction (bit 1), null ciphering (bit 2) and the header the rest is put
// behind (bits 4-3): none (the rest is the whole message), the plain 5GMM
// header (0x7E 0x00, the rest from the message type on), the 5GSM header
// (0x2E, the rest from the PDU session identity on), or a protected 5GMM
// header with 5G-EA0 around a plain 5GMM header.  The outputs are checked
// as the view fuzz target checks them.
#include <cstdint>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/view_fuzz_check.h"

using corvuna::test::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int direction = data[0] & 1;
    unsigned options = (data[0] & 2) != 0 ? CORVUNA_VIEW_NULL_CIPHERING : 0u;
    static const std::vector<uint8_t> kHeaders[] = {
        {}, {0x7E, 0x00}, {0x2E}, {0x7E, 0x04, 0x01, 0x02, 0x03, 0x04, 0x05, 0x7E, 0x00}};
    const std::vector<uint8_t>& header = kHeaders[(data[0] >> 2) & 3];
    if (((data[0] >> 2) & 3) == 3) options |= CORVUNA_VIEW_NULL_CIPHERING;
    // The message gets a heap block of its exact size, so that a read past
    // it is caught.
    std::vector<uint8_t> message(header);
    message.insert(message.end(), data + 1, data + size);
    const uint8_t* octets = message.empty() ? nullptr : message.data();
    const int length = static_cast<int>(message.size());
    Check(direction, options, octets, length, CORVUNA_VIEW_JSON);
    Check(direction, options, octets, length, CORVUNA_VIEW_TEXT);
    return 0;
}
