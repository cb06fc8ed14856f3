// SPDX-License-Identifier: Apache-2.0
#include "capture/rrc.h"

#include <cstdio>
#include <iterator>
#include <string_view>

#include "per/per_rrc.h"
#include "per/walker.h"

namespace corvuna::capture {

namespace {

namespace rrc = per::rrc;
using per::Action;
using per::Field;
using per::Kind;
using per::Walker;

// The types whose values may hold what is looked for.  The rest is decoded
// without the visitor being told: it must still be read to find what
// follows it.
struct Wanted {
    bool holds[rrc::kTypeCount] = {};

    Wanted() {
        static constexpr per::TypeId kTargets[] = {rrc::type::DedicatedInfoNAS, rrc::type::SecurityAlgorithmConfig,
                                                   rrc::type::MobilityControlInfo, rrc::type::ReestabUE_Identity};
        per::MarkTypesHolding(rrc::kModule, kTargets, std::size(kTargets), holds);
    }
};

const Wanted& WantedTypes() {
    static const Wanted kWanted;
    return kWanted;
}

class RrcVisitor final : public per::Visitor {
public:
    explicit RrcVisitor(RrcMessage& out) : out_(out), wanted_(WantedTypes()) {}

    Action Enter(const Walker& w, const Field& f) override {
        Name(w, f);
        return wanted_.holds[f.type] ? Action::kDescend : Action::kSkip;
    }

    Action Primitive(const Walker& w, const Field& f, const per::Value& v) override {
        Name(w, f);
        const std::string_view name = f.name;
        const per::TypeId parent = w.depth() >= 2 ? w.frame(w.depth() - 2).type : per::kNoType;
        if (f.type == rrc::type::DedicatedInfoNAS) {
            uint8_t* room = out_.ReserveNas(v.bits.octets());
            if (room != nullptr) v.bits.CopyOctets(room, v.bits.octets());
        } else if (parent == rrc::type::SecurityAlgorithmConfig && name == "cipheringAlgorithm") {
            out_.cipheringAlgorithm = static_cast<int>(v.number);
            out_.cipheringName = v.text != nullptr ? v.text : "";
        } else if (parent == rrc::type::SecurityAlgorithmConfig && name == "integrityProtAlgorithm") {
            out_.integrityAlgorithm = static_cast<int>(v.number);
            out_.integrityName = v.text != nullptr ? v.text : "";
        } else if (parent == rrc::type::MobilityControlInfo && name == "newUE-Identity") {
            out_.newCRnti = static_cast<int32_t>(v.bits.Value(0, 16));
        } else if (parent == rrc::type::ReestabUE_Identity && name == "c-RNTI") {
            out_.reestablishmentCRnti = static_cast<int32_t>(v.bits.Value(0, 16));
        }
        return Action::kSkip;
    }

private:
    // The message is the first alternative of the message type CHOICEs
    // (message, c1, messageClassExtension, c2, ...) that is not itself a
    // CHOICE: a SEQUENCE, or the NULL of a spare alternative.
    void Name(const Walker& w, const Field& f) {
        if (*out_.name != '\0' || w.depth() < 3) return;
        const per::Module& m = w.module();
        if (m.type(w.frame(w.depth() - 2).type).kind != Kind::kChoice) return;
        if (m.type(f.type).kind == Kind::kChoice) return;
        out_.name = f.name;
    }

    RrcMessage& out_;
    const Wanted& wanted_;
};

per::TypeId MessageType(RrcChannel channel) {
    switch (channel) {
        case RrcChannel::kUlCcch:
            return rrc::type::UL_CCCH_Message;
        case RrcChannel::kDlCcch:
            return rrc::type::DL_CCCH_Message;
        case RrcChannel::kUlDcch:
            return rrc::type::UL_DCCH_Message;
        case RrcChannel::kDlDcch:
            return rrc::type::DL_DCCH_Message;
    }
    return per::kNoType;
}

}  // namespace

RrcResult DecodeRrc(RrcChannel channel, Bytes pdu, RrcMessage& out) {
    out.Clear();
    RrcVisitor visitor(out);
    Walker walker(rrc::kModule, visitor);
    const per::Result r = walker.Walk(MessageType(channel), pdu.data, pdu.size);
    if (r.ok()) return RrcResult::kOk;
    std::snprintf(out.problem, sizeof out.problem, "%s at bit %zu in %s",
                  *r.reason != '\0' ? r.reason : per::StatusName(r.status), r.bit, r.path);
    return RrcResult::kMalformed;
}

}  // namespace corvuna::capture
