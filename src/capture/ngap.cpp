// SPDX-License-Identifier: Apache-2.0
#include "capture/ngap.h"

#include "capture/ap.h"
#include "per/per_ngap.h"

namespace corvuna::capture {

namespace ngap = per::ngap;

const ApTables* NgapTables() {
    static constexpr ApTables kTables{&ngap::kModule,
                                      ngap::type::NGAP_PDU,
                                      ngap::type::NAS_PDU,
                                      ngap::type::ProcedureCode,
                                      ngap::value::id_RAN_UE_NGAP_ID,
                                      ngap::value::id_AMF_UE_NGAP_ID,
                                      -1,
                                      -1,
                                      -1,
                                      -1};
    return &kTables;
}

const char* NgapProcedureName(int procedure) {
    // The object set of InitiatingMessage's value: procedure code ->
    // NGAP-ELEMENTARY-PROCEDURE object, named as the procedure.
    const per::Module& m = ngap::kModule;
    const per::Type& initiating = m.type(ngap::type::InitiatingMessage);
    const per::Type& value = m.type(m.members[initiating.ref + 2].type);
    const per::SetEntry* entry = m.Lookup(value.ref, procedure);
    return entry != nullptr ? m.Name(entry->name) : "";
}

}  // namespace corvuna::capture
