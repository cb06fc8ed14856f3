// SPDX-License-Identifier: Apache-2.0
#include "capture/radio/rrc_reader.h"

namespace corvuna::capture::radio {

// No LTE RRC decoder is built in yet: the PER decoder of the LTE RRC
// ASN.1 plugs in here.
std::unique_ptr<RrcReader> MakeRrcReader() { return nullptr; }

}  // namespace corvuna::capture::radio
