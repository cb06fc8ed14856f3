// SPDX-License-Identifier: Apache-2.0
#include "legacy/esm/esm_information.h"

#include "legacy/codec/esm_bodies.h"
#include "legacy/codec/optional_ies.h"
#include "legacy/ie/sm/sm_fields.h"

namespace corvuna {

namespace {

using Response = EsmInformationResponseRecord;

constexpr OptionalIe<Response> kRows[] = {esm_rows::kApn<Response>, esm_rows::kPco<Response>};
constexpr OptionalIes<Response> kIes{Scan::kPassing, kRows};

}  // namespace

void ParseEsmInformationResponse(int, BitCursor& cursor, Response& record) {
    ScanOptionalIes(cursor, kIes, record);
}

int RenderEsmInformationResponse(const Response& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    if (record.apnPresent) WriteApnGroup(record.accessPointName, out);
    WritePco(record, out);
    return 1;
}

int RenderEsmStatus(const SingleOctetRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderEsmCause(static_cast<int32_t>(record.value), out);
    return 1;
}

}  // namespace corvuna
