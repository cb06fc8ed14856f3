#include "esm/pdn_connectivity.h"

#include "api/codec.h"

namespace corvuna {

namespace {

constexpr char kConnectivityRequestName[] = "PDN_CONNECTIVITY_REQUEST";
constexpr char kDisconnectRequestName[] = "PDN_DISCONNECT_REQUEST";

void ScanConnectivityRequestIes(BitCursor& cursor, PdnConnectivityRequestRecord& record) {
    while (HasOctet(cursor)) {
        const uint8_t iei = ReadOctet(cursor);
        if (HighNibble(iei) == kIeiEsmInfoTransferFlag) {
            record.esmInfoTransferFlagPresent = 1;
            record.esmInfoTransferFlag = iei & 0x0Fu;
            continue;
        }
        switch (iei) {
            case kIeiApn:
                ParseOptionalTlv(cursor, record.apnPresent, record.accessPointName, ParseAccessPointName);
                break;
            case kIeiPco:
                ParseOptionalTlv(cursor, record.pcoPresent, record.pco, ParseProtocolConfigOptions);
                break;
            default:
                break;  // unknown IEI: passed over alone
        }
    }
}

}  // namespace

std::unique_ptr<PdnConnectivityRequestRecord> ParsePdnConnectivityRequest(int, int32_t bodyLength,
                                                                          const uint8_t* body) {
    auto record = NewRecord<PdnConnectivityRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    const uint8_t types = ReadOctet(cursor);
    record->requestType = types & 0x0Fu;
    record->pdnType = (types >> 4) & 0x0Fu;
    ScanConnectivityRequestIes(cursor, *record);
    return record;
}

int RenderPdnConnectivityRequest(const PdnConnectivityRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(kConnectivityRequestName, out);
    WriteNumber("request_type", &record.requestType, 4, out);
    WriteNumber("PDN_type", &record.pdnType, 4, out);
    if (record.esmInfoTransferFlagPresent) WriteNumber("ESM_Info_Trans_Flag", &record.esmInfoTransferFlag, 4, out);
    if (record.apnPresent) WriteApnGroup(record.accessPointName, out);
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(kConnectivityRequestName, out);
    return 1;
}

int RenderPdnConnectivityReject(const CauseAndPcoRecord& record, OutputDocument& out) {
    return RenderCauseAndPcoMessage("PDN_CONNECTIVITY_REJECT", kPcoGroup, record, out);
}

std::unique_ptr<PdnDisconnectRequestRecord> ParsePdnDisconnectRequest(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<PdnDisconnectRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    record->linkedEpsBearerIdentity = ReadOctet(cursor) & 0x0Fu;
    LookForPco(cursor, record->pcoPresent, record->pco);
    return record;
}

int RenderPdnDisconnectRequest(const PdnDisconnectRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(kDisconnectRequestName, out);
    WriteNumber("Linked_EPS_bear_identity", &record.linkedEpsBearerIdentity, 4, out);
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(kDisconnectRequestName, out);
    return 1;
}

int RenderPdnDisconnectReject(const CauseAndPcoRecord& record, OutputDocument& out) {
    return RenderCauseAndPcoMessage("PDN_DISCONNECT_REJECT", kPcoGroup, record, out);
}

}  // namespace corvuna
