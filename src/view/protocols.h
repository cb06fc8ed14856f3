// SPDX-License-Identifier: Apache-2.0
// The NAS protocols the standard view decodes, each a pair of protocol
// discriminators with its headers (protocol.cpp) and its message table
// (messages.cpp) in a folder of its own.
#pragma once

#include "view/tables.h"

namespace corvuna::view {

// EPS NAS (TS 24.301): every EMM and ESM message of Release 17 (message
// type tables 9.8.1 and 9.8.2); the headers plain, security protected,
// SERVICE REQUEST and ESM.
namespace eps {
inline constexpr uint8_t kEmm = 7, kEsm = 2;
extern const Protocol kProtocol;
extern const MessageTable kMessageTable;
}  // namespace eps

// 5GS NAS (TS 24.501): 5GS mobility management (extended protocol
// discriminator 0x7E) and 5GS session management (0x2E), every message of
// Release 17 (message type tables 9.7.1 and 9.7.2); the headers plain
// 5GMM, security protected 5GMM and 5GSM.
namespace fivegs {
inline constexpr uint8_t kMm = 0x7E, kSm = 0x2E;
extern const Protocol kProtocol;
extern const MessageTable kMessageTable;
}  // namespace fivegs

}  // namespace corvuna::view
