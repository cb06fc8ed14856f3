// SPDX-License-Identifier: Apache-2.0
#include "legacy/esm/default_bearer.h"

#include "legacy/codec/esm_bodies.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

using Request = ActivateDefaultEpsBearerContextRequestRecord;

// Optional IEs of the request, passing scan: an octet that is no listed IEI
// is passed over alone and the next octet is taken as an IEI.
constexpr auto kRows = JoinRows<Request>(
    {esm_rows::kTransactionId<Request>, esm_rows::kEsmCause<Request>, esm_rows::kApnAmbr<Request>,
     esm_rows::kPco<Request>},
    esm_rows::kPdpContextRows<Request>);
constexpr OptionalIes<Request> kIes{Scan::kPassing, kRows};

}  // namespace

void ParseActivateDefaultEpsBearerContextRequest(int, BitCursor& cursor, Request& record) {
    ParseEpsQos(cursor, ReadOctet(cursor), record.epsQos);
    ParseAccessPointName(cursor, ReadOctet(cursor), record.accessPointName);
    ParsePdnAddress(cursor, ReadOctet(cursor), record.pdnAddress);
    ScanOptionalIes(cursor, kIes, record);
}

int RenderActivateDefaultEpsBearerContextRequest(const Request& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteGroup("EPS_QoS", record.epsQos, RenderEpsQos, out);
    WriteString("Access_point_name", record.accessPointName.apnText, out);
    WriteGroup("PDN_Address", record.pdnAddress, RenderPdnAddress, out);
    WritePdpContext(record, "Negotiated_QoS", out);
    WriteIfPresent(record.apnAmbrPresent, "APN_AMBR", record.apnAmbr, RenderApnAmbr, out);
    WriteEsmCause(record, out);
    WritePco(record, out);
    return 1;
}

}  // namespace corvuna
