// GUTI REALLOCATION COMMAND and COMPLETE (TS 24.301 8.2.16, 8.2.17): the
// network assigns a new GUTI, optionally with a new TAI list; the UE
// confirms with an empty message.
#pragma once

#include <cstdint>
#include <memory>

#include "api/shared_bodies.h"
#include "doc/writer.h"
#include "ie/mm/area_lists.h"
#include "ie/mm/identities.h"

namespace corvuna {

struct GutiReallocationCommandRecord {
    EpsMobileIdentity guti;         // the new GUTI
    uint8_t taiListPresent;         // TAI list (IEI 0x54) read
    TrackingAreaIdentity taiList;   // the list's first tracking area identity
};

std::unique_ptr<GutiReallocationCommandRecord> ParseGutiReallocationCommand(int direction, int32_t bodyLength,
                                                                            const uint8_t* body);
int RenderGutiReallocationCommand(const GutiReallocationCommandRecord& record, OutputDocument& out);

// GUTI REALLOCATION COMPLETE has an empty body (ParseEmptyBody).
int RenderGutiReallocationComplete(const EmptyBodyRecord& record, OutputDocument& out);

}  // namespace corvuna
