// SPDX-License-Identifier: Apache-2.0
// The NAS PDUs of one S1AP (TS 36.413) or NGAP (TS 38.413) PDU, read by the
// PER engine over the tables generated from the protocols' ASN.1: every
// value of type NAS-PDU, in encoding order (the NAS-PDU IE of any
// procedure, and the NAS-PDU of list items: S1AP's E-RAB items, NGAP's PDU
// session resource items), with the UE's identities on the interface.
// Parts of the PDU that cannot hold a NAS-PDU are jumped over undecoded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "capture/bytes.h"
#include "per/per.h"

namespace corvuna::capture {

inline constexpr size_t kMaxNasPerPdu = 32;

enum class ApProtocol : uint8_t { kS1ap, kNgap };

// Where the UE is and who it is, as INITIAL UE MESSAGE tells (S1AP).
struct UeLocation {
    bool sTmsi = false;  // S-TMSI IE (id 96): MMEC and M-TMSI
    uint8_t mmec = 0;
    uint32_t mTmsi = 0;
    bool tai = false;  // TAI IE (id 67): PLMN identity (TBCD) and TAC
    uint8_t taiPlmn[3] = {};
    uint16_t tac = 0;
    bool ecgi = false;  // EUTRAN-CGI IE (id 100): PLMN identity and the 28-bit cell identity
    uint8_t ecgiPlmn[3] = {};
    uint32_t cellId = 0;
};

struct ApPdu {
    int kind = -1;         // 0 initiatingMessage, 1 successfulOutcome, 2 unsuccessfulOutcome
    int procedure = -1;    // procedureCode
    int64_t ranUeId = -1;  // eNB-UE-S1AP-ID / RAN-UE-NGAP-ID IE, when present
    int64_t coreUeId = -1; // MME-UE-S1AP-ID / AMF-UE-NGAP-ID IE, when present
    Bytes nas[kMaxNasPerPdu];
    size_t nasCount = 0;
    bool tooManyNas = false;  // more NAS-PDUs than kMaxNasPerPdu (the rest not kept)
    UeLocation location;      // S1AP INITIAL UE MESSAGE
    char problem[256] = {};   // a malformed PDU: what, where
};

enum class ApResult { kOk, kMalformed, kUnavailable };

// What the decoder needs of a protocol's tables (s1ap.cpp, ngap.cpp).
struct ApTables {
    const per::Module* module;
    per::TypeId pdu;            // S1AP-PDU, NGAP-PDU
    per::TypeId nasPdu;         // NAS-PDU
    per::TypeId procedureCode;  // ProcedureCode
    int64_t ranUeIdIe;          // protocol IE ids
    int64_t coreUeIdIe;
    int64_t initialUeMessage;   // procedure code; -1: no location is read
    int64_t sTmsiIe, taiIe, ecgiIe;
};
// nullptr when the build has no tables (no ASN.1 modules at build time).
const ApTables* S1apTables();
const ApTables* NgapTables();

class ApDecoder {
public:
    explicit ApDecoder(ApProtocol protocol);
    ~ApDecoder();
    ApDecoder(const ApDecoder&) = delete;
    ApDecoder& operator=(const ApDecoder&) = delete;

    bool available() const { return tables_ != nullptr; }

    // Decodes `pdu` into `out`.  The NAS PDUs point into `pdu`, or into the
    // decoder (a NAS-PDU fragmented in the encoding, 16K octets and more)
    // until ForgetReassembled().  kMalformed leaves in `out` what was found
    // before the fault, and out.problem says what and where.
    ApResult Decode(Bytes pdu, ApPdu& out);
    void ForgetReassembled();

private:
    struct State;
    const ApTables* tables_;
    std::unique_ptr<State> state_;
};

}  // namespace corvuna::capture
