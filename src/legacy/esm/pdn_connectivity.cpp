// SPDX-License-Identifier: Apache-2.0
#include "legacy/esm/pdn_connectivity.h"

#include "legacy/codec/esm_bodies.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

using Connectivity = PdnConnectivityRequestRecord;

constexpr OptionalIe<Connectivity> kConnectivityRows[] = {
    HalfOctet<&Connectivity::esmInfoTransferFlagPresent, &Connectivity::esmInfoTransferFlag>(kIeiEsmInfoTransferFlag),
    esm_rows::kApn<Connectivity>,
    esm_rows::kPco<Connectivity>,
};
constexpr OptionalIes<Connectivity> kConnectivityIes{Scan::kPassing, kConnectivityRows};

}  // namespace

void ParsePdnConnectivityRequest(int, BitCursor& cursor, Connectivity& record) {
    const uint8_t types = ReadOctet(cursor);
    record.requestType = types & 0x0Fu;
    record.pdnType = (types >> 4) & 0x0Fu;
    ScanOptionalIes(cursor, kConnectivityIes, record);
}

int RenderPdnConnectivityRequest(const Connectivity& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("request_type", record.requestType, out);
    WriteNumber("PDN_type", record.pdnType, out);
    if (record.esmInfoTransferFlagPresent) WriteNumber("ESM_Info_Trans_Flag", record.esmInfoTransferFlag, out);
    if (record.apnPresent) WriteApnGroup(record.accessPointName, out);
    WritePco(record, out);
    return 1;
}

void ParsePdnDisconnectRequest(int, BitCursor& cursor, PdnDisconnectRequestRecord& record) {
    record.linkedEpsBearerIdentity = ReadOctet(cursor) & 0x0Fu;
    ScanForPco(cursor, Scan::kSingleLook, record);
}

int RenderPdnDisconnectRequest(const PdnDisconnectRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber(kLinkedBearerIdentity, record.linkedEpsBearerIdentity, out);
    WritePco(record, out);
    return 1;
}

}  // namespace corvuna
