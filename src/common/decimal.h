// SPDX-License-Identifier: Apache-2.0
// Decimal and character writing shared by the legacy document and the
// standard view: digits from tables, copies without a library call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace corvuna {

// Copies `n` characters without reading a byte outside the source; short
// runs, the common case, go without a library call.  (GCC 12 warns about
// the branches for longer runs where they are inlined with a short literal
// and cannot be taken.)
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif
[[gnu::always_inline]] inline char* CopyChars(char* to, const char* from, size_t n) {
    if (n >= 16) {
        char* const end = to + n;
        const char* const last = from + n - 16;
        for (; n > 16; n -= 16, to += 16, from += 16) std::memcpy(to, from, 16);
        std::memcpy(end - 16, last, 16);
        return end;
    }
    if (n >= 8) {
        uint64_t a, b;
        std::memcpy(&a, from, 8);
        std::memcpy(&b, from + n - 8, 8);
        std::memcpy(to, &a, 8);
        std::memcpy(to + n - 8, &b, 8);
    } else if (n >= 4) {
        uint32_t a, b;
        std::memcpy(&a, from, 4);
        std::memcpy(&b, from + n - 4, 4);
        std::memcpy(to, &a, 4);
        std::memcpy(to + n - 4, &b, 4);
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
    return to + n;
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace detail {

// "00" .. "99".
struct DigitPairs {
    char text[200];
};
inline constexpr DigitPairs kDigitPairs = [] {
    DigitPairs pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs.text[2 * i] = static_cast<char>('0' + i / 10);
        pairs.text[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Digits of `value` in decimal.
constexpr size_t DecimalDigits(uint64_t value) {
    size_t digits = 1;
    for (; value >= 10000; value /= 10000) digits += 4;
    return digits + (value >= 10) + (value >= 100) + (value >= 1000);
}

// Writes the `digits` decimal digits of `value` at `p`, two at a time from
// the last.
[[gnu::always_inline]] inline void PutDigits(char* p, uint64_t value, size_t digits) {
    char* end = p + digits;
    while (value >= 100) {
        const unsigned pair = static_cast<unsigned>(value % 100);
        value /= 100;
        end -= 2;
        std::memcpy(end, kDigitPairs.text + 2 * pair, 2);
    }
    if (value >= 10) {
        std::memcpy(end - 2, kDigitPairs.text + 2 * value, 2);
    } else {
        end[-1] = static_cast<char>('0' + value);
    }
}

// "0" .. "999", each in four characters (the digits, then blanks).
struct SmallDecimals {
    char text[4000];
};
inline constexpr SmallDecimals kSmallDecimals = [] {
    SmallDecimals table{};
    for (int i = 0; i < 1000; ++i) {
        char* p = table.text + 4 * i;
        p[0] = p[1] = p[2] = p[3] = ' ';
        if (i >= 100) *p++ = static_cast<char>('0' + i / 100);
        if (i >= 10) *p++ = static_cast<char>('0' + i / 10 % 10);
        *p = static_cast<char>('0' + i % 10);
    }
    return table;
}();

}  // namespace detail

// Decimal text of `value` into `text` (at least 11, or 20, characters); its
// length.
size_t FormatDecimal(int32_t value, char* text);
size_t FormatDecimal64(int64_t value, char* text);
size_t FormatUnsigned64(uint64_t value, char* text);

}  // namespace corvuna
