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
#include "legacy/emm/registration_ies.h"
#include "legacy/ie/mm/area_lists.h"
#include "legacy/ie/mm/capabilities.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

// The TMSI status keeps only the TMSI flag, 0 or 1.
struct AttachRequestRecord : RegistrationRequestIes {
    int32_t attachType;                        // EPS attach type, bits 3-1 of octet 1
    KeySetIdentifier ksi;                      // high half of octet 1
    EpsMobileIdentity oldGutiOrImsi;
    UeNetworkCapability ueNetworkCapability;
};

struct AttachAcceptRecord : RegistrationAcceptIes {
    int32_t attachResult;                      // EPS attach result, bits 3-1 of octet 1
    GprsTimer t3412;
    TrackingAreaIdentity taiList;              // first TAI of the list
};

void ParseAttachRequest(int direction, BitCursor& body, AttachRequestRecord& record);
int RenderAttachRequest(const AttachRequestRecord& record, OutputDocument& out);

void ParseAttachAccept(int direction, BitCursor& body, AttachAcceptRecord& record);
int RenderAttachAccept(const AttachAcceptRecord& record, OutputDocument& out);

}  // namespace corvuna
