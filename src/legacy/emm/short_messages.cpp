// SPDX-License-Identifier: Apache-2.0
#include "legacy/emm/short_messages.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

// Only the octet after the cause is looked at, for the T3442 value (TV).
constexpr OptionalIe<ServiceRejectRecord> kRejectRows[] = {
    Tv<&ServiceRejectRecord::t3442Present, &ServiceRejectRecord::t3442, ParseGprsTimer>(0x5B, 1),
};
constexpr OptionalIes<ServiceRejectRecord> kRejectIes{Scan::kSingleLook, kRejectRows};

}  // namespace

void ParseIdentityRequest(int, BitCursor& cursor, IdentityRequestRecord& record) {
    // Spare half-octet and bit 4, then the identity type in bits 3-1.
    ReadBits(cursor, 5);
    record.identityType = static_cast<int32_t>(ReadBits(cursor, 3));
}

int RenderIdentityRequest(const IdentityRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderIdentityType(record.identityType, out);
    return 1;
}

void ParseIdentityResponse(int, BitCursor& cursor, IdentityResponseRecord& record) {
    // Mobile identity (LV).
    ParseMobileIdentity(cursor, ReadOctet(cursor), record.mobileIdentity);
}

int RenderIdentityResponse(const IdentityResponseRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteGroup("Mobile_identity", record.mobileIdentity, RenderMobileIdentity, out);
    return 1;
}

void ParseServiceReject(int, BitCursor& cursor, ServiceRejectRecord& record) {
    record.emmCause = ReadOctet(cursor);
    ScanOptionalIes(cursor, kRejectIes, record);
}

int RenderServiceReject(const ServiceRejectRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderEmmCause(record.emmCause, out);
    WriteIfPresent(record.t3442Present, "T3442Value", record.t3442, RenderGprsTimer, out);
    return 1;
}

}  // namespace corvuna
