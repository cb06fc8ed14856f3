// SPDX-License-Identifier: Apache-2.0
// ACTIVATE DEDICATED EPS BEARER CONTEXT REQUEST (TS 24.301 8.3.3).  Its
// accept and reject scan their whole body for the PCO (the shared PCO scan
// bodies), unlike the other ESM accepts and rejects, which look at one
// octet.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/esm_bodies.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/eps_qos.h"
#include "legacy/ie/sm/tft.h"

namespace corvuna {

// The PDP context's QoS is the negotiated QoS.
struct ActivateDedicatedEpsBearerContextRequestRecord : PdpContextIes, PcoIe {
    uint32_t linkedEpsBearerIdentity;  // 0..15
    EpsQos epsQos;
    Tft tft;
};

// Linked EPS bearer identity, EPS QoS and TFT, then a passing scan of the
// optional IEs.
void ParseActivateDedicatedEpsBearerContextRequest(int direction, BitCursor& body, ActivateDedicatedEpsBearerContextRequestRecord& record);
int RenderActivateDedicatedEpsBearerContextRequest(const ActivateDedicatedEpsBearerContextRequestRecord& record,
                                                   OutputDocument& out);

}  // namespace corvuna
