// SPDX-License-Identifier: Apache-2.0
// Attach messages (TS 24.301 clauses 8.2.1 to 8.2.4): ATTACH REQUEST,
// ATTACH ACCEPT, ATTACH COMPLETE and ATTACH REJECT.
//
// ATTACH REQUEST and ATTACH ACCEPT carry a run of mandatory fields, an ESM
// message container (LV-E) that is passed over without being decoded, and
// optional IEs found by a passing scan: an octet that is no known IEI is
// passed over alone and the next octet is examined.  ATTACH COMPLETE and
// ATTACH REJECT are the shared empty and EMM cause bodies.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/mm/area_lists.h"
#include "legacy/ie/mm/capabilities.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

struct AttachRequestRecord {
    int32_t attachType;                        // EPS attach type, bits 3-1 of octet 1
    KeySetIdentifier ksi;                      // high half of octet 1
    EpsMobileIdentity oldGutiOrImsi;
    UeNetworkCapability ueNetworkCapability;
    uint8_t oldPtmsiSignaturePresent;          // IEI 0x19
    uint32_t oldPtmsiSignature;
    uint8_t additionalGutiPresent;             // IEI 0x50
    EpsMobileIdentity additionalGuti;
    uint8_t lastVisitedTaiPresent;             // IEI 0x52
    TrackingAreaIdentity lastVisitedTai;
    uint8_t drxParameterPresent;               // IEI 0x5C
    DrxParameter drxParameter;
    uint8_t msNetworkCapabilityPresent;        // IEI 0x31
    MsNetworkCapability msNetworkCapability;
    uint8_t oldLaiPresent;                     // IEI 0x13
    LocationAreaIdentification oldLai;
    uint8_t tmsiStatusPresent;                 // IEI 0x9-
    int32_t tmsiStatus;                        // TMSI flag, 0 or 1
    uint8_t classmark2Present;                 // IEI 0x11
    MobileStationClassmark2 classmark2;
    uint8_t classmark3Present;                 // IEI 0x20, value passed over
    uint8_t supportedCodecsPresent;            // IEI 0x40, value passed over
};

struct AttachAcceptRecord {
    int32_t attachResult;                      // EPS attach result, bits 3-1 of octet 1
    GprsTimer t3412;
    TrackingAreaIdentity taiList;              // first TAI of the list
    uint8_t gutiPresent;                       // IEI 0x50
    EpsMobileIdentity guti;
    uint8_t laiPresent;                        // IEI 0x13
    LocationAreaIdentification lai;
    uint8_t msIdentityPresent;                 // IEI 0x23
    MobileIdentity msIdentity;
    uint8_t emmCausePresent;                   // IEI 0x53
    int32_t emmCause;                          // 0..255
    uint8_t t3402Present;                      // IEI 0x17
    GprsTimer t3402;
    uint8_t t3423Present;                      // IEI 0x59
    GprsTimer t3423;
    uint8_t equivalentPlmnsPresent;            // IEI 0x4A
    PlmnList equivalentPlmns;
    uint8_t emergencyNumbersPresent;           // IEI 0x34
    EmergencyNumberList emergencyNumbers;
};

void ParseAttachRequest(int direction, BitCursor& body, AttachRequestRecord& record);
int RenderAttachRequest(const AttachRequestRecord& record, OutputDocument& out);

void ParseAttachAccept(int direction, BitCursor& body, AttachAcceptRecord& record);
int RenderAttachAccept(const AttachAcceptRecord& record, OutputDocument& out);

}  // namespace corvuna
