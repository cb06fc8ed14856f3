// SPDX-License-Identifier: Apache-2.0
// Fuzz target: Corvunadecode in both directions.  Octet 0 of the input
// picks the direction (its low bit); the rest is the message.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/document_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int direction = data[0] & 1;
    // The message gets a heap block of its exact size, so that a read past
    // it is caught.
    std::vector<uint8_t> message(data + 1, data + size);
    const uint8_t* octets = message.empty() ? data : message.data();
    std::vector<char> buffer(CORVUNA_MAX_DOCUMENT_LENGTH + 1);
    buffer[0] = '\0';
    const int result = Corvunadecode(direction, octets, static_cast<int>(message.size()), buffer.data(), 0, 0);
    if (result != 1) abort();
    const size_t length = std::strlen(buffer.data());
    if (length > CORVUNA_MAX_DOCUMENT_LENGTH) abort();
    const std::string problem = corvuna::test::CheckDocument(std::string(buffer.data(), length), direction);
    if (!problem.empty()) {
        fprintf(stderr, "malformed document: %s\n%s\n", problem.c_str(), buffer.data());
        abort();
    }
    return 0;
}
