// SPDX-License-Identifier: Apache-2.0
// S1AP (TS 36.413, aligned PER): the tables the NAS PDU decoder (ap.h)
// reads it with, its procedures' names, and which way NAS goes in each.
#pragma once

namespace corvuna::capture {

// The elementary procedure's name as the module's ProcedureCode value
// assignments give it, without "id-" ("initialUEMessage" for 12); "" when
// unknown.
const char* S1apProcedureName(int procedure);

// NAS is uplink in INITIAL UE MESSAGE (12) and UPLINK NAS TRANSPORT (13),
// downlink in any other procedure.
inline int S1apDirection(int procedure) { return procedure == 12 || procedure == 13 ? 1 : 0; }

}  // namespace corvuna::capture
