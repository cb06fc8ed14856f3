// SPDX-License-Identifier: Apache-2.0
// ESM INFORMATION RESPONSE (TS 24.301 8.3.14).  ESM INFORMATION REQUEST is
// the shared empty body; ESM STATUS the ESM cause of the shared one-octet
// body.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/esm_bodies.h"
#include "legacy/codec/shared_bodies.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/apn_pdn.h"

namespace corvuna {

struct EsmInformationResponseRecord : PcoIe {
    uint8_t apnPresent;
    AccessPointName accessPointName;
};

// A passing scan for the APN and the PCO.
void ParseEsmInformationResponse(int direction, BitCursor& body, EsmInformationResponseRecord& record);
int RenderEsmInformationResponse(const EsmInformationResponseRecord& record, OutputDocument& out);

// ESM STATUS: the "ESMCause" element of the first body octet.
int RenderEsmStatus(const SingleOctetRecord& record, OutputDocument& out);

}  // namespace corvuna
