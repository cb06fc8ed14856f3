#include "emm/short_messages.h"

#include "emm/cause_message.h"

#include "api/codec.h"
#include "bits/bit_cursor.h"

namespace corvuna {

namespace {

constexpr uint8_t kT3442Iei = 0x5B;
constexpr int32_t kGprsTimerOctets = 1;

}  // namespace

std::unique_ptr<IdentityRequestRecord> ParseIdentityRequest(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<IdentityRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    // Spare half-octet and bit 4, then the identity type in bits 3-1.
    ReadBits(cursor, 5);
    record->identityType = static_cast<int32_t>(ReadBits(cursor, 3));
    return record;
}

int RenderIdentityRequest(const IdentityRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("IDENTITY_REQUEST", out);
    RenderIdentityType(record.identityType, out);
    WriteCloseTag("IDENTITY_REQUEST", out);
    return 1;
}

std::unique_ptr<IdentityResponseRecord> ParseIdentityResponse(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<IdentityResponseRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    // Mobile identity (LV).
    const int32_t length = ReadOctet(cursor);
    ParseMobileIdentity(cursor, length, record->mobileIdentity);
    return record;
}

int RenderIdentityResponse(const IdentityResponseRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("IDENTITY_RESPONSE", out);
    WriteLineTag("Mobile_identity", out);
    RenderMobileIdentity(record.mobileIdentity, out);
    WriteCloseTag("Mobile_identity", out);
    WriteCloseTag("IDENTITY_RESPONSE", out);
    return 1;
}

std::unique_ptr<ServiceRejectRecord> ParseServiceReject(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<ServiceRejectRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    record->emmCause = ReadOctet(cursor);
    // Only the octet after the cause is looked at, for the T3442 value (TV).
    if (HasOctet(cursor) && ReadOctet(cursor) == kT3442Iei) {
        record->t3442Present = 1;
        ParseGprsTimer(cursor, kGprsTimerOctets, record->t3442);
    }
    return record;
}

int RenderServiceReject(const ServiceRejectRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("SERVICE_REJECT", out);
    RenderEmmCause(record.emmCause, out);
    if (record.t3442Present) {
        WriteLineTag("T3442Value", out);
        RenderGprsTimer(record.t3442, out);
        WriteCloseTag("T3442Value", out);
    }
    WriteCloseTag("SERVICE_REJECT", out);
    return 1;
}

int RenderTrackingAreaUpdateComplete(const EmptyBodyRecord&, OutputDocument& out) {
    return RenderEmptyMessage("TRACKING_AREA_UPDATE_COMPLETE", out);
}

int RenderTrackingAreaUpdateReject(const SingleOctetRecord& record, OutputDocument& out) {
    return RenderEmmCauseMessage("TRACKING_AREA_UPDATE_REJECT", record, out);
}

std::unique_ptr<UplinkNasTransportRecord> ParseUplinkNasTransport(int, int32_t, const uint8_t*) {
    // The NAS message container is neither decoded nor shown.
    return NewRecord<UplinkNasTransportRecord>();
}

int RenderUplinkNasTransport(const UplinkNasTransportRecord&, OutputDocument& out) {
    return RenderEmptyMessage("UPLINK_NAS_TRANSPORT", out);
}

}  // namespace corvuna
