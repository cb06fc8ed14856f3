#include "esm/esm_information.h"

#include "api/codec.h"
#include "esm/default_bearer.h"
#include "ie/sm/sm_fields.h"

namespace corvuna {

namespace {

constexpr char kResponseName[] = "ESM_INFORMATION_RESPONSE";
constexpr char kStatusName[] = "ESM_STATUS";

}  // namespace

int RenderEsmInformationRequest(const EmptyBodyRecord&, OutputDocument& out) {
    return RenderEmptyMessage("ESM_INFORMATION_REQUEST", out);
}

std::unique_ptr<EsmInformationResponseRecord> ParseEsmInformationResponse(int, int32_t bodyLength,
                                                                          const uint8_t* body) {
    auto record = NewRecord<EsmInformationResponseRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    while (HasOctet(cursor)) {
        switch (ReadOctet(cursor)) {
            case kIeiApn:
                ParseOptionalTlv(cursor, record->apnPresent, record->accessPointName, ParseAccessPointName);
                break;
            case kIeiPco:
                ParseOptionalTlv(cursor, record->pcoPresent, record->pco, ParseProtocolConfigOptions);
                break;
            default:
                break;  // unknown IEI: passed over alone
        }
    }
    return record;
}

int RenderEsmInformationResponse(const EsmInformationResponseRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(kResponseName, out);
    if (record.apnPresent) WriteApnGroup(record.accessPointName, out);
    if (record.pcoPresent) WriteGroup(kPcoGroup, record.pco, RenderProtocolConfigOptions, out);
    WriteCloseTag(kResponseName, out);
    return 1;
}

int RenderEsmStatus(const SingleOctetRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(kStatusName, out);
    RenderEsmCause(static_cast<int32_t>(record.value), out);
    WriteCloseTag(kStatusName, out);
    return 1;
}

}  // namespace corvuna
