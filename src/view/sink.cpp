// SPDX-License-Identifier: Apache-2.0
#include "view/sink.h"

namespace corvuna::view {

namespace {

constexpr char kHex[] = "0123456789abcdef";

constexpr std::string_view kResultNames[] = {"decoded", "decoded_with_errors", "unknown_message", "not_nas",
                                             "ciphered"};
constexpr std::string_view kResultWords[] = {"decoded", "decoded with errors", "unknown message", "not NAS",
                                             "ciphered"};

}  // namespace

Sink::Sink(char* buffer, size_t capacity, size_t fastRoom) : buffer_(buffer), cur_(buffer), limit_(buffer) {
    if (buffer != nullptr && capacity > 0) {
        buffer[0] = '\0';
        limit_ = buffer + (capacity - 1);
    }
    if (buffer != nullptr && capacity > fastRoom + 1) {
        const size_t end = capacity - 1 - fastRoom;
        fastEnd_ = static_cast<ptrdiff_t>(end < kOutputLimit ? end : kOutputLimit);
    }
}

void Sink::Miss(size_t n) {
    missed_ += n;
    limit_ = cur_;  // nothing after a piece that did not fit
    fastEnd_ = -1;
}

void Sink::Finish() {
    if (buffer_ == nullptr) return;
    if (missed_ > 0) {
        buffer_[0] = '\0';
    } else {
        *cur_ = '\0';
    }
}

void Sink::PutHex(const uint8_t* octets, size_t count) {
    if (2 * count <= static_cast<size_t>(limit_ - cur_)) {
        for (size_t i = 0; i < count; ++i) {
            cur_[0] = kHex[octets[i] >> 4];
            cur_[1] = kHex[octets[i] & 0x0F];
            cur_ += 2;
        }
    } else {
        Miss(2 * count);
    }
}

std::string_view ResultName(Result result) { return kResultNames[static_cast<int>(result)]; }
std::string_view ResultWords(Result result) { return kResultWords[static_cast<int>(result)]; }

}  // namespace corvuna::view
