// SPDX-License-Identifier: Apache-2.0
#include "common/decimal.h"

namespace corvuna {

namespace {

using detail::DecimalDigits;
using detail::PutDigits;

size_t FormatUnsigned(uint64_t value, char* text) {
    const size_t digits = DecimalDigits(value);
    PutDigits(text, value, digits);
    return digits;
}

size_t FormatSigned(int64_t value, char* text) {
    if (value >= 0) return FormatUnsigned(static_cast<uint64_t>(value), text);
    text[0] = '-';
    return 1 + FormatUnsigned(0 - static_cast<uint64_t>(value), text + 1);
}

}  // namespace

size_t FormatDecimal(int32_t value, char* text) { return FormatSigned(value, text); }
size_t FormatDecimal64(int64_t value, char* text) { return FormatSigned(value, text); }
size_t FormatUnsigned64(uint64_t value, char* text) { return FormatUnsigned(value, text); }

}  // namespace corvuna
