// SPDX-License-Identifier: Apache-2.0
// The checks of the standard view's fuzz targets: CorvunaDecodeView in one
// format must give valid JSON without a repeated key, or a well-formed text
// tree, within CORVUNA_MAX_VIEW_LENGTH, with the result member its return
// code says; a buffer one character short must be refused untouched, and
// one of the exact size must give the same output.  A failure aborts with
// the output.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/view_check.h"

namespace corvuna::test::fuzz {


[[noreturn]] inline void Fail(const char* what, const std::string& detail, const char* output) {
    std::fprintf(stderr, "%s: %s\n%s\n", what, detail.c_str(), output);
    std::abort();
}

inline void Check(int direction, unsigned options, const uint8_t* octets, int length, int format) {
    static std::vector<char> large(CORVUNA_MAX_VIEW_LENGTH + 1);
    size_t needed = 0;
    const int result = CorvunaDecodeView(direction, octets, length, format, options, large.data(), large.size(), &needed);
    if (result < CORVUNA_VIEW_DECODED || result > CORVUNA_VIEW_CIPHERED) Fail("result", std::to_string(result), "");
    const size_t written = std::strlen(large.data());
    if (written + 1 != needed || needed > CORVUNA_MAX_VIEW_LENGTH + 1) Fail("needed", std::to_string(needed), "");
    const std::string output(large.data(), written);
    if (format == CORVUNA_VIEW_JSON) {
        const std::string problem = corvuna::test::CheckViewJson(output);
        if (!problem.empty()) Fail("JSON", problem, output.c_str());
        static const char* const kNames[] = {"decoded", "decoded_with_errors", "unknown_message", "not_nas",
                                             "ciphered"};
        const std::string tail = std::string("\"result\":\"") + kNames[result] + "\"";
        if (output.find(tail) == std::string::npos) Fail("result member", kNames[result], output.c_str());
    } else {
        const std::string problem = corvuna::test::CheckViewText(output);
        if (!problem.empty()) Fail("text tree", problem, output.c_str());
    }
    // Heap blocks of exactly the capacity, so that a write past one is caught.
    std::unique_ptr<char[]> exact(new char[needed]);
    size_t again = 0;
    if (CorvunaDecodeView(direction, octets, length, format, options, exact.get(), needed, &again) != result ||
        again != needed || output != exact.get()) {
        Fail("exact buffer", "different output", output.c_str());
    }
    if (needed > 1) {
        std::unique_ptr<char[]> shortBy1(new char[needed - 1]);
        shortBy1[0] = 'x';
        if (CorvunaDecodeView(direction, octets, length, format, options, shortBy1.get(), needed - 1, &again) !=
                CORVUNA_ERR_NO_ROOM ||
            shortBy1[0] != '\0' || again != needed) {
            Fail("short buffer", "not refused", output.c_str());
        }
    }
}

}  // namespace corvuna::test::fuzz
