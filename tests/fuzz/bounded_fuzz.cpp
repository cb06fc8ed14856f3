// SPDX-License-Identifier: Apache-2.0
// Fuzz target: the bounded entry with random capacities.  Octets 0-1 give
// the capacity, octet 2 the direction; the rest is the message.  The buffer
// is a heap block of exactly the capacity, so a write past it is caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/document_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const size_t capacity = 1 + ((static_cast<size_t>(data[0]) << 8 | data[1]) % (CORVUNA_MAX_DOCUMENT_LENGTH + 1));
    const int direction = data[2] & 1;
    std::vector<uint8_t> message(data + 3, data + size);
    const uint8_t* octets = message.empty() ? data : message.data();
    const int length = static_cast<int>(message.size());

    char* buffer = static_cast<char*>(malloc(capacity));
    buffer[0] = '\0';
    size_t needed = 0;
    const int result = CorvunaDecodeBounded(direction, octets, length, buffer, capacity, &needed);
    if (result == CORVUNA_OK) {
        if (std::strlen(buffer) + 1 != needed || needed > capacity) abort();
        if (!corvuna::test::CheckDocument(buffer, direction).empty()) abort();
    } else if (result == CORVUNA_ERR_NO_ROOM) {
        if (buffer[0] != '\0' || needed <= capacity || needed > CORVUNA_MAX_DOCUMENT_LENGTH + 1) abort();
        // The size reported is enough.
        char* larger = static_cast<char*>(malloc(needed));
        larger[0] = '\0';
        size_t again = 0;
        if (CorvunaDecodeBounded(direction, octets, length, larger, needed, &again) != CORVUNA_OK || again != needed) {
            abort();
        }
        free(larger);
    } else {
        abort();
    }
    free(buffer);
    return 0;
}
