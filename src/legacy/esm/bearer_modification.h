// SPDX-License-Identifier: Apache-2.0
// MODIFY EPS BEARER CONTEXT REQUEST (TS 24.301 8.3.18).  Its accept and
// reject are the shared PCO-only and cause-and-PCO bodies.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/apn_pdn.h"
#include "legacy/ie/sm/eps_qos.h"
#include "legacy/ie/sm/pco.h"
#include "legacy/ie/sm/qos.h"
#include "legacy/ie/sm/sm_fields.h"
#include "legacy/ie/sm/tft.h"

namespace corvuna {

// Every IE of the request is optional.
struct ModifyEpsBearerContextRequestRecord {
    uint8_t newEpsQosPresent;
    EpsQos newEpsQos;
    uint8_t tftPresent;
    Tft tft;
    uint8_t newQosPresent;
    Qos newQos;
    uint8_t negotiatedLlcSapiPresent;
    LlcSapi negotiatedLlcSapi;
    uint8_t radioPriorityPresent;
    uint8_t radioPriority;  // 0..7
    uint8_t packetFlowIdPresent;
    PacketFlowId packetFlowId;
    uint8_t apnAmbrPresent;
    ApnAmbr apnAmbr;
    uint8_t pcoPresent;
    ProtocolConfigOptions pco;
};

// A passing scan of the optional IEs from the first body octet.
void ParseModifyEpsBearerContextRequest(int direction, BitCursor& body, ModifyEpsBearerContextRequestRecord& record);
int RenderModifyEpsBearerContextRequest(const ModifyEpsBearerContextRequestRecord& record, OutputDocument& out);

}  // namespace corvuna
