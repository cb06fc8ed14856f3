// SPDX-License-Identifier: Apache-2.0
// The exported entry of the standard view, and the version text.
#include "corvuna/corvuna.h"
#include "view/json_sink.h"
#include "view/text_sink.h"
#include "view/walker.h"

namespace {

#define CORVUNA_STRINGIFY2(x) #x
#define CORVUNA_STRINGIFY(x) CORVUNA_STRINGIFY2(x)
constexpr char kVersion[] = CORVUNA_STRINGIFY(CORVUNA_VERSION_MAJOR) "." CORVUNA_STRINGIFY(
    CORVUNA_VERSION_MINOR) "." CORVUNA_STRINGIFY(CORVUNA_VERSION_PATCH);

static_assert(CORVUNA_MAX_VIEW_LENGTH == corvuna::view::kMaxViewOutput);
static_assert(CORVUNA_MAX_VIEW_INPUT == corvuna::view::kMaxViewInput);
static_assert(CORVUNA_VIEW_CIPHERED == static_cast<int>(corvuna::view::Result::kCiphered));

template <typename Sink>
int Decode(int direction, const unsigned char* message, int length, unsigned int options, char* output,
           size_t capacity, size_t* needed) {
    using namespace corvuna::view;
    Sink out(output, capacity);
    const uint32_t flags = (options & CORVUNA_VIEW_NULL_CIPHERING) != 0 ? kOptionNullCiphering : 0;
    const Result result = DecodeView(direction, message, static_cast<size_t>(length), flags, nullptr, out);
    out.Finish();
    if (needed != nullptr) *needed = out.Required() + 1;
    if (out.Truncated()) {
        output[0] = '\0';
        return CORVUNA_ERR_NO_ROOM;
    }
    return static_cast<int>(result);
}

}  // namespace

extern "C" {

CORVUNA_API const char* CORVUNA_CALL CorvunaVersion(void) { return kVersion; }

CORVUNA_API int CORVUNA_CALL CorvunaDecodeView(int direction, const unsigned char* message, int length, int format,
                                               unsigned int options, char* output, size_t capacity, size_t* needed) {
    if ((direction != 0 && direction != 1) || length < 0 || (message == nullptr && length > 0) ||
        output == nullptr || capacity == 0 || (format != CORVUNA_VIEW_JSON && format != CORVUNA_VIEW_TEXT) ||
        (options & ~CORVUNA_VIEW_NULL_CIPHERING) != 0) {
        return CORVUNA_ERR_ARGUMENT;
    }
    try {
        if (format == CORVUNA_VIEW_JSON) {
            return Decode<corvuna::view::JsonSink>(direction, message, length, options, output, capacity, needed);
        }
        return Decode<corvuna::view::TextSink>(direction, message, length, options, output, capacity, needed);
    } catch (...) {
        output[0] = '\0';
        return CORVUNA_ERR_INTERNAL;
    }
}

}  // extern "C"
