#include "esm/bearer_deactivation.h"

namespace corvuna {

int RenderDeactivateEpsBearerContextRequest(const CauseAndPcoRecord& record, OutputDocument& out) {
    return RenderCauseAndPcoMessage("DEACTIVATE_EPS_BEARER_CONTEXT_REQUEST", kPcoGroup, record, out);
}

int RenderDeactivateEpsBearerContextAccept(const PcoOnlyRecord& record, OutputDocument& out) {
    return RenderPcoOnlyMessage("DEACTIVATE_EPS_BEARER_CONTEXT_ACCEPT", kPcoGroup, record, out);
}

}  // namespace corvuna
