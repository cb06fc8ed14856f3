// SPDX-License-Identifier: Apache-2.0
// ACTIVATE DEDICATED EPS BEARER CONTEXT REQUEST (TS 24.301 8.3.3).  Its
// accept and reject scan their whole body for the PCO (the shared PCO scan
// bodies), unlike the other ESM accepts and rejects, which look at one
// octet.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/eps_qos.h"
#include "legacy/ie/sm/pco.h"
#include "legacy/ie/sm/qos.h"
#include "legacy/ie/sm/sm_fields.h"
#include "legacy/ie/sm/tft.h"

namespace corvuna {

struct ActivateDedicatedEpsBearerContextRequestRecord {
    uint32_t linkedEpsBearerIdentity;  // 0..15
    EpsQos epsQos;
    Tft tft;
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
    uint8_t pcoPresent;
    ProtocolConfigOptions pco;
};

// Linked EPS bearer identity, EPS QoS and TFT, then a passing scan of the
// optional IEs.
void ParseActivateDedicatedEpsBearerContextRequest(int direction, BitCursor& body, ActivateDedicatedEpsBearerContextRequestRecord& record);
int RenderActivateDedicatedEpsBearerContextRequest(const ActivateDedicatedEpsBearerContextRequestRecord& record,
                                                   OutputDocument& out);

}  // namespace corvuna
