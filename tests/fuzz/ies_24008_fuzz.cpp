// SPDX-License-Identifier: Apache-2.0
// Fuzz target: the TS 24.008 IE decoders of the standard view (mobile
// station classmark 3, quality of service, DRX parameter, extended DRX
// parameters) on IE values of any content and length.  Octet 0 of the
// input picks the decoder (bits 1-2) and the direction (bit 3); the rest is
// the value, in a heap block of its exact size so that a read past it is
// caught.  Both outputs must be well formed (JSON without a repeated key, a
// text tree), the same in a buffer of exactly their size, and refused in
// one a character short.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/view_check.h"
#include "view/eps/ies_24008.h"
#include "view/json_sink.h"
#include "view/tables.h"
#include "view/text_sink.h"

namespace {

using namespace corvuna::view;  // Context, the sinks, the "..."_f labels
using namespace corvuna::view::eps;
using corvuna::Octets;

enum class Format { kJson, kText };

[[noreturn]] void Fail(const char* what, const std::string& detail, const std::string& output) {
    std::fprintf(stderr, "%s: %s\n%s\n", what, detail.c_str(), output.c_str());
    std::abort();
}

constexpr IeDecoder kDecoders[] = {DecodeMsClassmark3, DecodeQualityOfService, DecodeDrxParameter,
                                   DecodeExtendedDrxParameters};

// The value decoded inside a frame the view checks accept; returns the
// length the whole output needs, and whether it fitted.
template <typename Sink>
bool DecodeInto(int direction, unsigned which, const std::vector<uint8_t>& value, char* buffer, size_t capacity,
                size_t& required) {
    Sink out(buffer, capacity);
    Context ctx(out, direction, 0, value.data(), nullptr);
    out.BeginRecord(Label());
    out.Heading(direction, value.size());
    out.Begin("Value"_f);
    kDecoders[which](ctx, Octets{value.data(), value.size()});
    out.End();
    out.EndRecord(ctx.End(Result::kDecoded));
    out.Finish();
    required = out.Required() + 1;
    return !out.Truncated();
}

bool Decode(Format format, int direction, unsigned which, const std::vector<uint8_t>& value, char* buffer,
            size_t capacity, size_t& required) {
    return format == Format::kJson ? DecodeInto<JsonSink>(direction, which, value, buffer, capacity, required)
                                   : DecodeInto<TextSink>(direction, which, value, buffer, capacity, required);
}

void Check(Format format, int direction, unsigned which, const std::vector<uint8_t>& value) {
    static std::vector<char> large(1 << 20);
    size_t needed = 0;
    if (!Decode(format, direction, which, value, large.data(), large.size(), needed)) Fail("room", "", "");
    const std::string output(large.data());
    if (output.size() + 1 != needed) Fail("needed", std::to_string(needed), output);
    const std::string problem = format == Format::kJson ? corvuna::test::CheckViewJson(output)
                                                        : corvuna::test::CheckViewText(output);
    if (!problem.empty()) Fail(format == Format::kJson ? "JSON" : "text tree", problem, output);
    std::unique_ptr<char[]> exact(new char[needed]);
    size_t again = 0;
    if (!Decode(format, direction, which, value, exact.get(), needed, again) || again != needed ||
        output != exact.get()) {
        Fail("exact buffer", "different output", output);
    }
    std::unique_ptr<char[]> shortBy1(new char[needed - 1]);
    if (Decode(format, direction, which, value, shortBy1.get(), needed - 1, again) || shortBy1[0] != '\0') {
        Fail("short buffer", "not refused", output);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const unsigned which = (data[0] >> 1) & 3;
    const int direction = (data[0] >> 3) & 1;
    const std::vector<uint8_t> value(data + 1, data + size);
    Check(Format::kJson, direction, which, value);
    Check(Format::kText, direction, which, value);
    return 0;
}
