#include "emm/cause_message.h"

#include "ie/mm/emm_fields.h"

namespace corvuna {

int RenderEmmCauseMessage(const char* name, const SingleOctetRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag(name, out);
    RenderEmmCause(static_cast<int32_t>(record.value), out);
    WriteCloseTag(name, out);
    return 1;
}

}  // namespace corvuna
