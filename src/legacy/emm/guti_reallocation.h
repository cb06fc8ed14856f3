// SPDX-License-Identifier: Apache-2.0
// GUTI REALLOCATION COMMAND and COMPLETE (TS 24.301 8.2.16, 8.2.17): the
// network assigns a new GUTI, optionally with a new TAI list; the UE
// confirms with an empty message.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/mm/area_lists.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

struct GutiReallocationCommandRecord {
    EpsMobileIdentity guti;         // the new GUTI
    uint8_t taiListPresent;         // TAI list (IEI 0x54) read
    TrackingAreaIdentity taiList;   // the list's first tracking area identity
};

void ParseGutiReallocationCommand(int direction, BitCursor& body, GutiReallocationCommandRecord& record);
int RenderGutiReallocationCommand(const GutiReallocationCommandRecord& record, OutputDocument& out);

// GUTI REALLOCATION COMPLETE is the shared empty body.

}  // namespace corvuna
