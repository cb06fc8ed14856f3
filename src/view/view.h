// SPDX-License-Identifier: Apache-2.0
// The standard view: one NAS message decoded as TS 24.301 and TS 24.008
// define it, written as JSON or as a text tree.
#pragma once

#include <cstddef>
#include <cstdint>

#include "view/context.h"
#include "view/emitter.h"

namespace corvuna::view {

enum class Result : int {
    kDecoded = 0,            // every IE decoded
    kDecodedWithErrors = 1,  // decoding met an error and says where
    kUnknownMessage = 2,     // NAS, but a message type or header this view does not know
    kNotNas = 3,             // no EPS NAS message (another protocol discriminator, or no octets)
};

// Octets decoded of one message; a longer one is cut there, and says so.
inline constexpr size_t kMaxViewInput = 10240;

// Decodes `length` octets sent in `direction` (1 uplink, 0 downlink) into
// `out`.  `options` holds kOptionNullCiphering (view/context.h) when the
// ciphered messages are known to use EEA0.
Result DecodeView(int direction, const uint8_t* message, size_t length, uint32_t options, Emitter& out);

}  // namespace corvuna::view
