// SPDX-License-Identifier: Apache-2.0
#include "legacy/esm/dedicated_bearer.h"

#include "legacy/codec/esm_bodies.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

using Request = ActivateDedicatedEpsBearerContextRequestRecord;

// Optional IEs of the request, passing scan.
constexpr auto kRows = JoinRows<Request>({esm_rows::kTransactionId<Request>, esm_rows::kPco<Request>},
                                         esm_rows::kPdpContextRows<Request>);
constexpr OptionalIes<Request> kIes{Scan::kPassing, kRows};

}  // namespace

void ParseActivateDedicatedEpsBearerContextRequest(int, BitCursor& cursor, Request& record) {
    record.linkedEpsBearerIdentity = ReadOctet(cursor) & 0x0Fu;
    ParseEpsQos(cursor, ReadOctet(cursor), record.epsQos);
    ParseTft(cursor, ReadOctet(cursor), record.tft);
    ScanOptionalIes(cursor, kIes, record);
}

int RenderActivateDedicatedEpsBearerContextRequest(const Request& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber(kLinkedBearerIdentity, record.linkedEpsBearerIdentity, out);
    WriteGroup("EPS_QoS", record.epsQos, RenderEpsQos, out);
    WriteGroup("TFT", record.tft, RenderTft, out);
    WritePdpContext(record, "Negotiated_QoS", out);
    WritePco(record, out);
    return 1;
}

}  // namespace corvuna
