// SPDX-License-Identifier: Apache-2.0
#include "legacy/esm/bearer_modification.h"

#include "legacy/codec/esm_bodies.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

using Request = ModifyEpsBearerContextRequestRecord;

constexpr auto kRows = JoinRows<Request>(
    {
        Tlv<&Request::newEpsQosPresent, &Request::newEpsQos, ParseEpsQos>(kIeiEpsQos),
        Tlv<&Request::tftPresent, &Request::tft, ParseTft>(kIeiTft),
        esm_rows::kApnAmbr<Request>,
        esm_rows::kPco<Request>,
    },
    esm_rows::kPdpContextRows<Request>);
constexpr OptionalIes<Request> kIes{Scan::kPassing, kRows};

}  // namespace

void ParseModifyEpsBearerContextRequest(int, BitCursor& cursor, Request& record) {
    ScanOptionalIes(cursor, kIes, record);
}

int RenderModifyEpsBearerContextRequest(const Request& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteIfPresent(record.newEpsQosPresent, "New_EPS_QoS", record.newEpsQos, RenderEpsQos, out);
    WriteIfPresent(record.tftPresent, "TFT", record.tft, RenderTft, out);
    WritePdpContext(record, "New_QoS", out);
    WriteIfPresent(record.apnAmbrPresent, "APN_AMBR", record.apnAmbr, RenderApnAmbr, out);
    WritePco(record, out);
    return 1;
}

}  // namespace corvuna
