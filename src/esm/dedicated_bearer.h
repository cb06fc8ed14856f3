// Dedicated EPS bearer context activation (TS 24.301 8.3.1 to 8.3.3).
#pragma once

#include <cstdint>
#include <memory>

#include "doc/writer.h"
#include "esm/default_bearer.h"
#include "ie/sm/eps_qos.h"
#include "ie/sm/pco.h"
#include "ie/sm/qos.h"
#include "ie/sm/sm_fields.h"
#include "ie/sm/tft.h"

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
std::unique_ptr<ActivateDedicatedEpsBearerContextRequestRecord> ParseActivateDedicatedEpsBearerContextRequest(
    int direction, int32_t bodyLength, const uint8_t* body);
int RenderActivateDedicatedEpsBearerContextRequest(const ActivateDedicatedEpsBearerContextRequestRecord& record,
                                                   OutputDocument& out);

// The accept and the reject scan their whole body for the PCO (unlike the
// shared body parsers, which look at one octet): a later PCO replaces an
// earlier one.
std::unique_ptr<PcoOnlyRecord> ParseActivateDedicatedEpsBearerContextAccept(int direction, int32_t bodyLength,
                                                                            const uint8_t* body);
int RenderActivateDedicatedEpsBearerContextAccept(const PcoOnlyRecord& record, OutputDocument& out);

std::unique_ptr<CauseAndPcoRecord> ParseActivateDedicatedEpsBearerContextReject(int direction, int32_t bodyLength,
                                                                                const uint8_t* body);
int RenderActivateDedicatedEpsBearerContextReject(const CauseAndPcoRecord& record, OutputDocument& out);

}  // namespace corvuna
