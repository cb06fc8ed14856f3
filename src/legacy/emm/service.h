// SPDX-License-Identifier: Apache-2.0
// EXTENDED SERVICE REQUEST, CS SERVICE NOTIFICATION and DOWNLINK NAS
// TRANSPORT (TS 24.301 8.2.15, 8.2.9a, 8.2.12): circuit-switched fallback
// and the NAS transport from the network.
//
// EXTENDED SERVICE REQUEST looks at one octet after the M-TMSI for the CSFB
// response; CS SERVICE NOTIFICATION scans its optional IEs and stops at the
// first octet that is none of them.  DOWNLINK NAS TRANSPORT shows nothing of
// its NAS message container: it is the shared empty body.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/mm/cs_notification.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

struct ExtendedServiceRequestRecord {
    int32_t serviceType;           // bits 4-1 of body octet 1
    KeySetIdentifier ksi;          // high half of body octet 1
    MobileIdentity mTmsiIdentity;  // the M-TMSI
    uint8_t csfbResponsePresent;   // CSFB response (IEI 0xB-) read
    int32_t csfbResponse;          // bits 3-1 of its octet
};

struct CsServiceNotificationRecord {
    int32_t pagingIdentity;            // bit 1 of body octet 1: 0 IMSI, 1 TMSI
    uint8_t cliPresent;                // IEI 0x60
    Cli cli;
    uint8_t ssCodePresent;             // IEI 0x61
    int32_t ssCode;
    uint8_t lcsIndicatorPresent;       // IEI 0x62
    int32_t lcsIndicator;
    uint8_t lcsClientIdentityPresent;  // IEI 0x63; the value is passed over
};

void ParseExtendedServiceRequest(int direction, BitCursor& body, ExtendedServiceRequestRecord& record);
int RenderExtendedServiceRequest(const ExtendedServiceRequestRecord& record, OutputDocument& out);

void ParseCsServiceNotification(int direction, BitCursor& body, CsServiceNotificationRecord& record);
int RenderCsServiceNotification(const CsServiceNotificationRecord& record, OutputDocument& out);

}  // namespace corvuna
