// SPDX-License-Identifier: Apache-2.0
// The NAS-PDUs of one S1AP PDU (TS 36.413, aligned PER): the NAS-PDU
// protocol IE of any procedure and the nAS-PDU of the E-RAB items of
// INITIAL CONTEXT SETUP REQUEST, E-RAB SETUP REQUEST and E-RAB MODIFY
// REQUEST, in the order of the encoding, with the UE's S1AP identities.
#pragma once

#include <cstddef>
#include <cstdint>

#include "capture/bytes.h"

namespace corvuna::capture {

inline constexpr size_t kMaxNasPerS1ap = 32;

struct S1apPdu {
    int kind = -1;          // 0 initiatingMessage, 1 successfulOutcome, 2 unsuccessfulOutcome
    int procedure = -1;     // procedureCode
    int64_t enbUeId = -1;   // eNB-UE-S1AP-ID, when present
    int64_t mmeUeId = -1;   // MME-UE-S1AP-ID, when present
    Bytes nas[kMaxNasPerS1ap];
    size_t nasCount = 0;
    bool tooManyNas = false;  // more NAS-PDUs than kMaxNasPerS1ap (the rest not kept)
};

enum class S1apResult { kOk, kMalformed };

// Walks `pdu`.  kMalformed when the encoding ends early or breaks the PER
// rules; the NAS-PDUs found before the fault are still in `out`.
S1apResult ParseS1ap(Bytes pdu, S1apPdu& out);

// The elementary procedure's name (TS 36.413 clause 9.1), "" when unknown.
const char* S1apProcedureName(int procedure);

// NAS is uplink in INITIAL UE MESSAGE and UPLINK NAS TRANSPORT, downlink in
// any other procedure.
inline int S1apDirection(int procedure) { return procedure == 12 || procedure == 13 ? 1 : 0; }

}  // namespace corvuna::capture
