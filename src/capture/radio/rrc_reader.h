// SPDX-License-Identifier: Apache-2.0
// The RRC part this build reads LTE RRC with.
#pragma once

#include <memory>

#include "capture/radio/rrc_pdu.h"

namespace corvuna::capture::radio {

// A new reader of LTE RRC PDUs; null when this build has none, in which
// case the RRC PDUs are delivered and counted and no NAS is looked for in
// them.
std::unique_ptr<RrcReader> MakeRrcReader();

}  // namespace corvuna::capture::radio
