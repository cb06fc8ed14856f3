// SPDX-License-Identifier: Apache-2.0
// The exported decode entries and the document frame around one message.
#include <cstring>

#include "api/dispatch.h"
#include "corvuna/corvuna.h"

namespace corvuna {

namespace {

// Returned by ClassifyMessage for a message too short to hold its message
// type octet; outside every MessageCode range and every PD value.
constexpr uint32_t kUnclassified = 0xFFFFFFFFu;

constexpr char kUnknownPdText[] = "Unknown protocol discriminator:";

void WriteUnknownProtocol(uint32_t pd, OutputDocument& out) {
    char text[sizeof kUnknownPdText + 2];
    std::memcpy(text, kUnknownPdText, sizeof kUnknownPdText - 1);
    text[sizeof kUnknownPdText - 1] = "0123456789ABCDEF"[pd & 0x0F];
    text[sizeof kUnknownPdText] = '\0';
    WriteString("Error_Message", text, out);
}

}  // namespace

uint32_t ClassifyMessage(const uint8_t* message, int32_t length) {
    if (message == nullptr || length < 1) return kUnclassified;
    const uint32_t pd = message[0] & 0x0Fu;
    if (pd == 2) return length >= 3 ? kEsmCodeBase + message[2] : kUnclassified;
    if (pd == 7) return length >= 2 ? kEmmCodeBase + message[1] : kUnclassified;
    return pd;
}

int DecodeMessage(int direction, const uint8_t* message, int32_t length, OutputDocument& out, int32_t fifth,
                  int32_t /*sixth*/) {
    if ((direction != 0 && direction != 1) || message == nullptr || out.buffer == nullptr || length < 0 ||
        fifth < 0) {
        return 0;
    }
    // The frame: "<L3Message>", the direction element and "<message>" ...
    WriteLiteral(direction == 1 ? Text("<L3Message>\n<dir>UPLINK</dir>\n<message>\n")
                                : Text("<L3Message>\n<dir>DOWNLINK</dir>\n<message>\n"),
                 out);
    const uint32_t code = ClassifyMessage(message, length);
    if (code >= kEsmCodeBase && code <= kEsmCodeBase + 0xFF) {
        DispatchEsm(direction, length - 3, code, message + 3, out);
    } else if (code >= kEmmCodeBase && code <= kEmmCodeBase + 0xFF) {
        DispatchEmm(direction, length - 2, code, message + 2, out);
    } else if (code != kUnclassified) {
        WriteUnknownProtocol(code, out);
    }
    // ... and their closing tags.
    WriteLiteral("</message>\n</L3Message>\n", out);
    return 1;
}

namespace {

// Runs DecodeMessage with every failure caught: nothing may escape the
// exported entries.
int GuardedDecode(int direction, const unsigned char* message, int length, OutputDocument& out, int fifth,
                  int sixth) noexcept {
    try {
        return DecodeMessage(direction, message, length, out, fifth, sixth);
    } catch (...) {
        return 0;
    }
}

bool ArgumentsValid(int direction, const unsigned char* message, int length, const char* output) {
    return (direction == 0 || direction == 1) && message != nullptr && length >= 0 && output != nullptr;
}

}  // namespace

}  // namespace corvuna

extern "C" {

CORVUNA_API int CORVUNA_CALL Corvunadecode(int direction, const unsigned char* message, int length, char* output,
                                           int reserved1, int reserved2) {
    using namespace corvuna;
    if (!ArgumentsValid(direction, message, length, output) || reserved1 < 0) return 0;
    const size_t start = std::strlen(output);
    OutputDocument out = MakeDocument(output, start, start + CORVUNA_MAX_DOCUMENT_LENGTH + 1);
    return GuardedDecode(direction, message, length, out, reserved1, reserved2);
}

CORVUNA_API int CORVUNA_CALL CorvunaDecodeBounded(int direction, const unsigned char* message, int length,
                                                  char* output, size_t capacity, size_t* needed) {
    using namespace corvuna;
    if (!ArgumentsValid(direction, message, length, output) || capacity == 0) return CORVUNA_ERR_ARGUMENT;
    const void* nul = std::memchr(output, '\0', capacity);
    if (nul == nullptr) return CORVUNA_ERR_ARGUMENT;
    const size_t start = static_cast<size_t>(static_cast<const char*>(nul) - output);
    OutputDocument out = MakeDocument(output, start, capacity);
    const int result = GuardedDecode(direction, message, length, out, 0, 0);
    if (result != 1 || out.truncated) {
        output[start] = '\0';
        if (result != 1) return CORVUNA_ERR_INTERNAL;
        if (needed != nullptr) *needed = out.Required() + 1;
        return CORVUNA_ERR_NO_ROOM;
    }
    if (needed != nullptr) *needed = out.Length() + 1;
    return CORVUNA_OK;
}

}  // extern "C"
