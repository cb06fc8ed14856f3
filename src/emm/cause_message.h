// Messages whose whole content is one EMM cause octet (ATTACH REJECT,
// TRACKING AREA UPDATE REJECT, SECURITY MODE REJECT, EMM STATUS).
#pragma once

#include "api/shared_bodies.h"
#include "doc/writer.h"

namespace corvuna {

// The message element `name` holding the "EMMCause" element of the first
// body octet.
int RenderEmmCauseMessage(const char* name, const SingleOctetRecord& record, OutputDocument& out);

}  // namespace corvuna
