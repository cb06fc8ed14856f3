// SPDX-License-Identifier: Apache-2.0
// Protocol configuration options IE (TS 24.008 10.5.6.3): configuration
// protocol and a list of protocol containers kept as raw octets.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

inline constexpr int kPcoMaxContainers = 25;
inline constexpr int kPcoMaxContents = 250;

// A fresh record holds no container.  The contents octets are not cleared
// with it: only the octets shown, the first min(contentsLength, 250) of each
// container counted, are ever read, and the parser writes all of those.
struct ProtocolConfigOptions {
    int32_t configurationProtocol = 0;                     // value octet 1, bits 3..1
    int32_t protocolId[kPcoMaxContainers] = {};            // protocol / container identifier
    int32_t contentsLength[kPcoMaxContainers] = {};        // the container's length octet
    uint8_t contents[kPcoMaxContainers][kPcoMaxContents];  // first 250 contents octets
    int32_t containerCount = 0;

    ProtocolConfigOptions() noexcept {}  // NOLINT: the contents stay unset on purpose
};

// Reads containers while more than one octet of the declared length is
// unaccounted for, at most 25; the reconciliation skips what remains.
int ParseProtocolConfigOptions(BitCursor& cursor, int32_t length, ProtocolConfigOptions& record);

// "ConfigurationProtocol" (values 0 and 1 only), then "ProtocolID" and
// "ProtocolContents" per container.
int RenderProtocolConfigOptions(const ProtocolConfigOptions& record, OutputDocument& out);

}  // namespace corvuna
