// SPDX-License-Identifier: Apache-2.0
// EPS NAS (TS 24.301): EPS mobility management (protocol discriminator 7)
// and EPS session management (2), their headers and message tables.
#pragma once

#include "view/tables.h"

namespace corvuna::view::eps {

inline constexpr uint8_t kEmm = 7;
inline constexpr uint8_t kEsm = 2;

// Every EMM and ESM message of TS 24.301 Release 17 (message type tables
// 9.8.1 and 9.8.2).
extern const MessageTable kMessageTable;

// The protocol: its discriminators and headers (plain, security protected,
// SERVICE REQUEST, ESM).
extern const Protocol kProtocol;

}  // namespace corvuna::view::eps
