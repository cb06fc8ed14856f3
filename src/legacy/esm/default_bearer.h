// SPDX-License-Identifier: Apache-2.0
// ACTIVATE DEFAULT EPS BEARER CONTEXT REQUEST (TS 24.301 8.3.6).  Its
// accept and reject are the shared PCO-only and cause-and-PCO bodies.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/apn_pdn.h"
#include "legacy/ie/sm/eps_qos.h"
#include "legacy/ie/sm/pco.h"
#include "legacy/ie/sm/qos.h"
#include "legacy/ie/sm/sm_fields.h"

namespace corvuna {

struct ActivateDefaultEpsBearerContextRequestRecord {
    EpsQos epsQos;
    AccessPointName accessPointName;
    PdnAddress pdnAddress;
    uint8_t transactionIdPresent;
    TransactionId transactionId;
    uint8_t negotiatedQosPresent;
    Qos negotiatedQos;
    uint8_t negotiatedLlcSapiPresent;
    LlcSapi negotiatedLlcSapi;
    uint8_t radioPriorityPresent;
    uint8_t radioPriority;  // 0..7
    uint8_t packetFlowIdPresent;
    PacketFlowId packetFlowId;
    uint8_t apnAmbrPresent;
    ApnAmbr apnAmbr;
    uint8_t esmCausePresent;
    uint32_t esmCause;  // 0..255
    uint8_t pcoPresent;
    ProtocolConfigOptions pco;
};

// EPS QoS, APN and PDN address, then a passing scan of the optional IEs.
void ParseActivateDefaultEpsBearerContextRequest(int direction, BitCursor& body, ActivateDefaultEpsBearerContextRequestRecord& record);
int RenderActivateDefaultEpsBearerContextRequest(const ActivateDefaultEpsBearerContextRequestRecord& record,
                                                 OutputDocument& out);

}  // namespace corvuna
