// Short EMM messages: IDENTITY REQUEST and RESPONSE, SERVICE REJECT,
// TRACKING AREA UPDATE COMPLETE and REJECT, UPLINK NAS TRANSPORT
// (TS 24.301 8.2.18, 8.2.19, 8.2.24, 8.2.27, 8.2.28, 8.2.30).  Each body
// holds at most one mandatory field and one optional IE.
#pragma once

#include <cstdint>
#include <memory>

#include "api/shared_bodies.h"
#include "doc/writer.h"
#include "ie/mm/emm_fields.h"
#include "ie/mm/identities.h"

namespace corvuna {

struct IdentityRequestRecord {
    int32_t identityType;  // identity type 2, bits 3-1 of body octet 1
};

struct IdentityResponseRecord {
    MobileIdentity mobileIdentity;
};

struct ServiceRejectRecord {
    int32_t emmCause;      // body octet 1
    uint8_t t3442Present;  // T3442 value (IEI 0x5B) read
    GprsTimer t3442;
};

// Nothing of the message is kept: the container is not decoded.
struct UplinkNasTransportRecord {
    uint8_t unused;
};

std::unique_ptr<IdentityRequestRecord> ParseIdentityRequest(int direction, int32_t bodyLength, const uint8_t* body);
int RenderIdentityRequest(const IdentityRequestRecord& record, OutputDocument& out);

std::unique_ptr<IdentityResponseRecord> ParseIdentityResponse(int direction, int32_t bodyLength,
                                                              const uint8_t* body);
int RenderIdentityResponse(const IdentityResponseRecord& record, OutputDocument& out);

std::unique_ptr<ServiceRejectRecord> ParseServiceReject(int direction, int32_t bodyLength, const uint8_t* body);
int RenderServiceReject(const ServiceRejectRecord& record, OutputDocument& out);

// TRACKING AREA UPDATE COMPLETE: empty body (ParseEmptyBody).
int RenderTrackingAreaUpdateComplete(const EmptyBodyRecord& record, OutputDocument& out);
// TRACKING AREA UPDATE REJECT: the EMM cause octet (ParseSingleOctetBody).
int RenderTrackingAreaUpdateReject(const SingleOctetRecord& record, OutputDocument& out);

std::unique_ptr<UplinkNasTransportRecord> ParseUplinkNasTransport(int direction, int32_t bodyLength,
                                                                  const uint8_t* body);
int RenderUplinkNasTransport(const UplinkNasTransportRecord& record, OutputDocument& out);

}  // namespace corvuna
