// SPDX-License-Identifier: Apache-2.0
// MODIFY EPS BEARER CONTEXT REQUEST (TS 24.301 8.3.18).  Its accept and
// reject are the shared PCO-only and cause-and-PCO bodies.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/esm_bodies.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/apn_pdn.h"
#include "legacy/ie/sm/eps_qos.h"
#include "legacy/ie/sm/tft.h"

namespace corvuna {

// Every IE of the request is optional; the PDP context's QoS is the new QoS,
// and the request carries no transaction identifier.
struct ModifyEpsBearerContextRequestRecord : PdpContextIes, PcoIe {
    uint8_t newEpsQosPresent;
    EpsQos newEpsQos;
    uint8_t tftPresent;
    Tft tft;
    uint8_t apnAmbrPresent;
    ApnAmbr apnAmbr;
};

// A passing scan of the optional IEs from the first body octet.
void ParseModifyEpsBearerContextRequest(int direction, BitCursor& body, ModifyEpsBearerContextRequestRecord& record);
int RenderModifyEpsBearerContextRequest(const ModifyEpsBearerContextRequestRecord& record, OutputDocument& out);

}  // namespace corvuna
