// EPS bearer context deactivation (TS 24.301 8.3.9 and 8.3.10).  Both
// messages use the shared body parsers; only their renderers are their own.
#pragma once

#include "doc/writer.h"
#include "esm/default_bearer.h"

namespace corvuna {

// Parsed by ParseCauseAndPcoBody.
int RenderDeactivateEpsBearerContextRequest(const CauseAndPcoRecord& record, OutputDocument& out);
// Parsed by ParsePcoOnlyBody.
int RenderDeactivateEpsBearerContextAccept(const PcoOnlyRecord& record, OutputDocument& out);

}  // namespace corvuna
