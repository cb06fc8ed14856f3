// SPDX-License-Identifier: Apache-2.0
// NGAP (TS 38.413, aligned PER): the tables the NAS PDU decoder (ap.h)
// reads it with, its procedures' names, and which way NAS goes in each.
#pragma once

namespace corvuna::capture {

// The elementary procedure's name as the module's information objects name
// it ("downlinkNASTransport" for 4); "" when unknown.
const char* NgapProcedureName(int procedure);

// NAS is uplink in INITIAL UE MESSAGE (15) and UPLINK NAS TRANSPORT (46),
// downlink in any other procedure.
inline int NgapDirection(int procedure) { return procedure == 15 || procedure == 46 ? 1 : 0; }

}  // namespace corvuna::capture
