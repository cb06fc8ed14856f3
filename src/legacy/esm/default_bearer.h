// SPDX-License-Identifier: Apache-2.0
// ACTIVATE DEFAULT EPS BEARER CONTEXT REQUEST (TS 24.301 8.3.6).  Its
// accept and reject are the shared PCO-only and cause-and-PCO bodies.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/esm_bodies.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/sm/apn_pdn.h"
#include "legacy/ie/sm/eps_qos.h"

namespace corvuna {

// The PDP context's QoS is the negotiated QoS.
struct ActivateDefaultEpsBearerContextRequestRecord : PdpContextIes, EsmCauseIe, PcoIe {
    EpsQos epsQos;
    AccessPointName accessPointName;
    PdnAddress pdnAddress;
    uint8_t apnAmbrPresent;
    ApnAmbr apnAmbr;
};

// EPS QoS, APN and PDN address, then a passing scan of the optional IEs.
void ParseActivateDefaultEpsBearerContextRequest(int direction, BitCursor& body, ActivateDefaultEpsBearerContextRequestRecord& record);
int RenderActivateDefaultEpsBearerContextRequest(const ActivateDefaultEpsBearerContextRequestRecord& record,
                                                 OutputDocument& out);

}  // namespace corvuna
