// SPDX-License-Identifier: Apache-2.0
#include "capture/ap.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "per/walker.h"

namespace corvuna::capture {

namespace {

using per::Action;
using per::Field;
using per::Walker;

// The depths at which the walker meets the parts of an AP PDU:
//   1 the PDU (CHOICE), 2 initiatingMessage / successfulOutcome / ...,
//   3 procedureCode, criticality, value (the message), 4 protocolIEs,
//   5 one ProtocolIE-Field, 6 its id, criticality and value (the IE).
constexpr int kKindDepth = 2;
constexpr int kProcedureDepth = 3;
constexpr int kIeDepth = 6;

// Fragmented IEs (16K octets and more) are reassembled in this much room.
constexpr size_t kScratch = 512 * 1024;

class NasVisitor final : public per::Visitor {
public:
    NasVisitor(const ApTables& tables, const std::vector<bool>& holdsNas) : t_(tables), holdsNas_(holdsNas) {}

    void Reset(ApPdu& out) { out_ = &out; }

    Action Enter(const Walker& w, const Field& f) override {
        const int depth = w.depth();
        if (depth == kKindDepth) out_->kind = static_cast<int>(f.index);
        if (depth == kIeDepth && f.keyed && Located(f.key)) return Action::kDescend;
        return holdsNas_[f.type] ? Action::kDescend : Action::kSkip;
    }

    Action Primitive(const Walker& w, const Field& f, const per::Value& v) override {
        const int depth = w.depth();
        if (f.type == t_.nasPdu) {
            Keep(v.bits);
        } else if (depth == kProcedureDepth && f.type == t_.procedureCode) {
            out_->procedure = static_cast<int>(v.number);
        } else if (depth == kIeDepth && f.keyed) {
            if (f.key == t_.ranUeIdIe) out_->ranUeId = v.number;
            if (f.key == t_.coreUeIdIe) out_->coreUeId = v.number;
        } else if (depth == kIeDepth + 1 && w.frame(kIeDepth - 1).keyed) {
            Location(w.frame(kIeDepth - 1).key, f.name, v);
        }
        return Action::kSkip;
    }

private:
    bool Located(int64_t key) const {
        return out_->procedure == t_.initialUeMessage && (key == t_.sTmsiIe || key == t_.taiIe || key == t_.ecgiIe);
    }

    void Keep(const per::BitSpan& bits) {
        if (!bits.aligned()) return;  // aligned PER puts every NAS-PDU on an octet boundary
        if (out_->nasCount == kMaxNasPerPdu) {
            out_->tooManyNas = true;
            return;
        }
        out_->nas[out_->nasCount++] = Bytes{bits.begin(), bits.octets()};
    }

    // The members of the S-TMSI, TAI and EUTRAN-CGI IEs of INITIAL UE MESSAGE.
    void Location(int64_t ie, const char* name, const per::Value& v) {
        UeLocation& l = out_->location;
        const std::string_view member = name;
        if (ie == t_.sTmsiIe) {
            if (member == "mMEC") l.mmec = static_cast<uint8_t>(v.bits.Value(0, 8));
            if (member == "m-TMSI") {
                l.mTmsi = static_cast<uint32_t>(v.bits.Value(0, 32));
                l.sTmsi = true;
            }
        } else if (ie == t_.taiIe) {
            if (member == "pLMNidentity") v.bits.CopyOctets(l.taiPlmn, 3);
            if (member == "tAC") {
                l.tac = static_cast<uint16_t>(v.bits.Value(0, 16));
                l.tai = true;
            }
        } else if (ie == t_.ecgiIe) {
            if (member == "pLMNidentity") v.bits.CopyOctets(l.ecgiPlmn, 3);
            if (member == "cell-ID") {
                l.cellId = static_cast<uint32_t>(v.bits.Value(0, 28));
                l.ecgi = true;
            }
        }
    }

    const ApTables& t_;
    const std::vector<bool>& holdsNas_;
    ApPdu* out_ = nullptr;
};

// The types that can hold a NAS-PDU, worked out once per protocol.
const std::vector<bool>& TypesHoldingNas(const ApTables& tables) {
    auto mark = [](const ApTables& t) {
        std::unique_ptr<bool[]> marks(new bool[t.module->typeCount]);
        per::MarkTypesHolding(*t.module, t.nasPdu, marks.get());
        return std::vector<bool>(marks.get(), marks.get() + t.module->typeCount);
    };
    static const std::vector<bool> kS1ap = S1apTables() != nullptr ? mark(*S1apTables()) : std::vector<bool>();
    static const std::vector<bool> kNgap = NgapTables() != nullptr ? mark(*NgapTables()) : std::vector<bool>();
    return &tables == S1apTables() ? kS1ap : kNgap;
}

}  // namespace

struct ApDecoder::State {
    explicit State(const ApTables& tables)
        : visitor(tables, TypesHoldingNas(tables)), walker(*tables.module, visitor), scratch(new uint8_t[kScratch]) {
        walker.SetScratch(scratch.get(), kScratch);
    }
    NasVisitor visitor;
    per::Walker walker;
    std::unique_ptr<uint8_t[]> scratch;  // not cleared: only what is reassembled in it is read
};

ApDecoder::ApDecoder(ApProtocol protocol)
    : tables_(protocol == ApProtocol::kS1ap ? S1apTables() : NgapTables()),
      state_(tables_ != nullptr ? std::make_unique<State>(*tables_) : nullptr) {}

ApDecoder::~ApDecoder() = default;

void ApDecoder::ForgetReassembled() {
    if (state_) state_->walker.ClearScratch();
}

ApResult ApDecoder::Decode(Bytes pdu, ApPdu& out) {
    out = ApPdu{};
    if (!state_) {
        std::snprintf(out.problem, sizeof out.problem, "this build has no ASN.1 tables");
        return ApResult::kUnavailable;
    }
    state_->visitor.Reset(out);
    const per::Result r = state_->walker.Walk(tables_->pdu, pdu.data, pdu.size);
    if (r.ok()) return ApResult::kOk;
    std::snprintf(out.problem, sizeof out.problem, "%s at bit %zu in %s", *r.reason != '\0' ? r.reason
                  : per::StatusName(r.status), r.bit, r.path);
    return ApResult::kMalformed;
}

}  // namespace corvuna::capture
