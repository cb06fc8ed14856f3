// SPDX-License-Identifier: Apache-2.0
// TRACKING AREA UPDATE REQUEST (TS 24.301 8.2.29) and TRACKING AREA UPDATE
// ACCEPT (TS 24.301 8.2.26).
//
// Both parsers read the mandatory part, then look for the optional IEs
// with a stopping scan: the first octet that is none of the message's IEIs
// ends the scan and nothing after it is read.  Half-octet (type 1) IEIs
// match on the high nibble of the IEI octet and carry their value in its
// low nibble; every other IEI matches on the whole octet.  An IE that
// occurs again replaces the earlier occurrence wholly.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/emm/registration_ies.h"
#include "legacy/ie/mm/area_lists.h"
#include "legacy/ie/mm/capabilities.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

// The TMSI status keeps the whole low half of its IEI octet.
struct TrackingAreaUpdateRequestRecord : RegistrationRequestIes {
    int32_t updateType;    // low half of body octet 1: active flag (bit 4), EPS update type value (bits 3-1)
    KeySetIdentifier ksi;  // high half of body octet 1
    EpsMobileIdentity oldGuti;
    uint8_t nonCurrentKsiPresent;
    KeySetIdentifier nonCurrentKsi;
    uint8_t cksnPresent;
    int32_t cksn;  // GPRS ciphering key sequence number: low half of the IEI octet
    uint8_t nonceUePresent;
    uint32_t nonceUe;
    uint8_t ueNetworkCapabilityPresent;
    UeNetworkCapability ueNetworkCapability;
    uint8_t radioCapabilityUpdatePresent;
    int32_t radioCapabilityUpdate;  // low half of the IEI octet
    uint8_t epsBearerContextStatusPresent;
    EpsBearerContextStatus epsBearerContextStatus;
    uint8_t additionalUpdateTypePresent;
    int32_t additionalUpdateType;  // low half of the IEI octet
};

void ParseTrackingAreaUpdateRequest(int direction, BitCursor& body, TrackingAreaUpdateRequestRecord& record);
int RenderTrackingAreaUpdateRequest(const TrackingAreaUpdateRequestRecord& record, OutputDocument& out);

struct TrackingAreaUpdateAcceptRecord : RegistrationAcceptIes {
    int32_t updateResult;  // EPS update result value: bits 3-1 of body octet 1
    uint8_t t3412Present;
    GprsTimer t3412;
    uint8_t taiListPresent;
    TrackingAreaIdentity taiList;  // first TAI of the list
    uint8_t epsBearerContextStatusPresent;
    EpsBearerContextStatus epsBearerContextStatus;
    uint8_t networkFeatureSupportPresent;
    EpsNetworkFeatureSupport networkFeatureSupport;
    uint8_t additionalUpdateResultPresent;
    int32_t additionalUpdateResult;  // bits 2-1 of the IEI octet
};

void ParseTrackingAreaUpdateAccept(int direction, BitCursor& body, TrackingAreaUpdateAcceptRecord& record);
int RenderTrackingAreaUpdateAccept(const TrackingAreaUpdateAcceptRecord& record, OutputDocument& out);

}  // namespace corvuna
