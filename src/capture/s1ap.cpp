// SPDX-License-Identifier: Apache-2.0
#include "capture/s1ap.h"

#include <array>
#include <cstring>

#include "capture/ap.h"
#include "per/per_s1ap.h"

namespace corvuna::capture {

namespace s1ap = per::s1ap;

const ApTables* S1apTables() {
    static constexpr ApTables kTables{&s1ap::kModule,
                                      s1ap::type::S1AP_PDU,
                                      s1ap::type::NAS_PDU,
                                      s1ap::type::ProcedureCode,
                                      s1ap::value::id_eNB_UE_S1AP_ID,
                                      s1ap::value::id_MME_UE_S1AP_ID,
                                      s1ap::value::id_initialUEMessage,
                                      s1ap::value::id_S_TMSI,
                                      s1ap::value::id_TAI,
                                      s1ap::value::id_EUTRAN_CGI};
    return &kTables;
}

const char* S1apProcedureName(int procedure) {
    // Procedure codes are 0..255; the names are read from the tables once.
    static const std::array<const char*, 256> kNames = [] {
        std::array<const char*, 256> names{};
        for (int code = 0; code < 256; ++code) {
            const char* name = s1ap::kModule.ConstantName("ProcedureCode", code);
            names[static_cast<size_t>(code)] = std::strncmp(name, "id-", 3) == 0 ? name + 3 : name;
        }
        return names;
    }();
    return procedure >= 0 && procedure < 256 ? kNames[static_cast<size_t>(procedure)] : "";
}

}  // namespace corvuna::capture
