// SPDX-License-Identifier: Apache-2.0
// The causes of the protocol error class, which the EMM cause (TS 24.301
// table 9.9.3.9.1) and the ESM cause (table 9.9.4.4.1) code alike.
#pragma once

#include "common/text.h"

namespace corvuna {

inline constexpr ValueText kProtocolErrorCauses[] = {
    {95, "Semantically incorrect message"},
    {96, "Invalid mandatory information"},
    {97, "Message type non-existent or not implemented"},
    {98, "Message type not compatible with the protocol state"},
    {99, "Information element non-existent or not implemented"},
    {100, "Conditional IE error"},
    {101, "Message not compatible with the protocol state"},
};

}  // namespace corvuna
