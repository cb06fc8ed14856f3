// SPDX-License-Identifier: Apache-2.0
// A build without the ASN.1 modules has no tables of S1AP, NGAP and LTE
// RRC: their PDUs are reported as not decoded (see CORVUNA_ASN1_DIR).
#include <cstdio>

#include "capture/ap.h"
#include "capture/ngap.h"
#include "capture/rrc.h"
#include "capture/s1ap.h"

namespace corvuna::capture {

const ApTables* S1apTables() { return nullptr; }
const ApTables* NgapTables() { return nullptr; }
const char* S1apProcedureName(int) { return ""; }
const char* NgapProcedureName(int) { return ""; }

RrcResult DecodeRrc(RrcChannel, Bytes, RrcMessage& out) {
    out.Clear();
    std::snprintf(out.problem, sizeof out.problem, "this build has no ASN.1 tables");
    return RrcResult::kUnavailable;
}

}  // namespace corvuna::capture
