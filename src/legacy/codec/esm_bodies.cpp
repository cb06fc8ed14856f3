// SPDX-License-Identifier: Apache-2.0
#include "legacy/codec/esm_bodies.h"

#include "legacy/ie/sm/sm_fields.h"

namespace corvuna {

void ParsePcoOnlyBody(int, BitCursor& cursor, PcoOnlyRecord& record) {
    ScanForPco(cursor, Scan::kSingleLook, record);
}

void ParseCauseAndPcoBody(int, BitCursor& cursor, CauseAndPcoRecord& record) {
    // Read past the end of an empty body, the cause is 0.
    record.esmCause = ReadOctet(cursor);
    ScanForPco(cursor, Scan::kSingleLook, record);
}

void ParsePcoScanBody(int, BitCursor& cursor, PcoOnlyRecord& record) {
    ScanForPco(cursor, Scan::kPassing, record);
}

void ParseCauseAndPcoScanBody(int, BitCursor& cursor, CauseAndPcoRecord& record) {
    record.esmCause = ReadOctet(cursor);
    ScanForPco(cursor, Scan::kPassing, record);
}

int RenderCauseAndPco(const CauseAndPcoRecord& record, Name group, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderEsmCause(static_cast<int32_t>(record.esmCause), out);
    WritePco(record, group, out);
    return 1;
}

void WriteApnGroup(const AccessPointName& apn, OutputDocument& out) {
    WriteLineTag("Access_point_name", out);
    WriteString("APN", apn.apnText, out);
    WriteCloseTag("Access_point_name", out);
}

}  // namespace corvuna
