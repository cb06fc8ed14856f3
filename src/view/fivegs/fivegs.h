// SPDX-License-Identifier: Apache-2.0
// 5GS NAS (TS 24.501): 5GS mobility management (extended protocol
// discriminator 0x7E) and 5GS session management (0x2E), their headers and
// message tables.
#pragma once

#include "view/tables.h"

namespace corvuna::view::fivegs {

inline constexpr uint8_t kMm = 0x7E;
inline constexpr uint8_t kSm = 0x2E;

// Every 5GMM and 5GSM message of TS 24.501 Release 17 (message type
// tables 9.7.1 and 9.7.2).
extern const MessageTable kMessageTable;

// The protocol: its discriminators and headers (plain 5GMM, security
// protected 5GMM, 5GSM).
extern const Protocol kProtocol;

}  // namespace corvuna::view::fivegs
