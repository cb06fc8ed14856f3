// SPDX-License-Identifier: Apache-2.0
#include "view/facts.h"

#include "view/walker.h"

namespace corvuna::view {

namespace {

constexpr std::string_view kWrapper = "\"security_protected_nas_message\"";

// The label's identifier without its quotes.
std::string_view Key(Label label) {
    const std::string_view quoted = label.quotedIdentifier();
    return quoted.substr(1, quoted.size() - 2);
}

bool EndsWith(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

// `value` as `digits` lower-case hex digits.
template <size_t N>
void AppendHex(ShortText<N>& out, uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    char text[16];
    for (int i = digits - 1; i >= 0; --i) text[digits - 1 - i] = kDigits[(value >> (4 * i)) & 0x0F];
    out.Append(std::string_view(text, static_cast<size_t>(digits)));
}

}  // namespace

void FactsSink::MessageName(Label name) {
    if (!facts_.message.empty() && !wrapper_) return;  // a message nested in the one named
    const std::string_view quoted = name.quotedIdentifier();
    facts_.message.Set(quoted.substr(1, quoted.size() - 2));
    wrapper_ = quoted == kWrapper && !wrapper_;
}

void FactsSink::BeginIe(const IePlace& place) {
    ++ieDepth_;
    if (ieDepth_ == 1) {
        if (taken_) parts_ = Parts();
        taken_ = false;
        plmnList_ = EndsWith(Key(place.role), "plmns");
    }
    if (ieDepth_ <= 8 && EndsWith(Key(place.role), "cause")) causeIe_ |= 1u << ieDepth_;
}

void FactsSink::EndIe() {
    if (ieDepth_ == 1 && !plmnList_) Take(parts_);
    if (ieDepth_ <= 8) causeIe_ &= ~(1u << ieDepth_);
    if (ieDepth_ > 0) --ieDepth_;
}

void FactsSink::Enum(Label label, int64_t value, Text text) {
    const std::string_view key = Key(label);
    if (ieDepth_ == 1 && key == "protection_scheme_id") {
        parts_.scheme = value;
        taken_ = true;
    }
    if (facts_.cause >= 0 || ieDepth_ > 8 || (causeIe_ & (1u << ieDepth_)) == 0 || key != "cause_value") return;
    facts_.cause = value;
    facts_.causeText.Set(std::string_view(text.text, text.size));
}

void FactsSink::Number(Label label, int64_t value) {
    if (ieDepth_ != 1) return;
    taken_ = true;
    const std::string_view key = Key(label);
    if (key == "tac") {
        if (parts_.tac < 0) parts_.tac = value;  // a list's first
    } else if (key == "mme_group_id") {
        parts_.mmeGroup = value;
    } else if (key == "mme_code") {
        parts_.mmeCode = value;
    } else if (key == "amf_region_id") {
        parts_.amfRegion = value;
    } else if (key == "amf_set_id") {
        parts_.amfSet = value;
    } else if (key == "amf_pointer") {
        parts_.amfPointer = value;
    }
}

void FactsSink::Ascii(Label label, std::string_view value) {
    if (ieDepth_ != 1) return;
    taken_ = true;
    const std::string_view key = Key(label);
    if (key == "mcc") {
        if (parts_.mcc.empty()) parts_.mcc.Set(value);  // a list's first
    } else if (key == "mnc") {
        if (parts_.mnc.empty()) parts_.mnc.Set(value);
    } else if (key == "imsi") {
        parts_.imsi.Set(value);
    } else if (key == "msin") {
        parts_.msin.Set(value);
    }
}

void FactsSink::Hex(Label label, const uint8_t* octets, size_t count) {
    if (ieDepth_ != 1 || count != 4) return;
    taken_ = true;
    const std::string_view key = Key(label);
    if (key == "m_tmsi" || key == "5g_tmsi" || key == "tmsi_p_tmsi_m_tmsi") {
        parts_.tmsi = ShortText<8>();
        for (size_t i = 0; i < count; ++i) AppendHex(parts_.tmsi, octets[i], 2);
    }
}

// The identities and location of one IE, each taken when the message gave
// none before.
void FactsSink::Take(const Parts& p) {
    const bool plmn = !p.mcc.empty() && !p.mnc.empty();
    // The IMSI, or a SUCI of the null scheme whose MSIN is in the clear.
    if (facts_.imsi.empty()) {
        if (!p.imsi.empty()) {
            facts_.imsi = p.imsi;
        } else if (plmn && !p.msin.empty() && p.scheme == 0) {
            facts_.imsi.Append(p.mcc.view());
            facts_.imsi.Append(p.mnc.view());
            facts_.imsi.Append(p.msin.view());
        }
    }
    if (facts_.guti.empty() && plmn && !p.tmsi.empty()) {
        const bool eps = p.mmeGroup >= 0 && p.mmeCode >= 0;
        const bool fivegs = p.amfRegion >= 0 && p.amfSet >= 0 && p.amfPointer >= 0;
        if (eps || fivegs) {
            ShortText<48>& g = facts_.guti;
            g.Append(p.mcc.view());
            g.Append("-");
            g.Append(p.mnc.view());
            g.Append("-");
            if (eps) {
                AppendHex(g, static_cast<uint64_t>(p.mmeGroup), 4);
                g.Append("-");
                AppendHex(g, static_cast<uint64_t>(p.mmeCode), 2);
            } else {
                AppendHex(g, static_cast<uint64_t>(p.amfRegion), 2);
                g.Append("-");
                AppendHex(g, static_cast<uint64_t>(p.amfSet), 3);
                g.Append("-");
                AppendHex(g, static_cast<uint64_t>(p.amfPointer), 2);
            }
            g.Append("-");
            g.Append(p.tmsi.view());
            facts_.guti5g = fivegs;
        }
    }
    if (facts_.tmsi.empty() && !p.tmsi.empty()) facts_.tmsi = p.tmsi;
    // A TAI before a GUTI's PLMN: where the UE is, rather than where its
    // GUTI was given.
    if (plmn && (facts_.plmn.empty() || (facts_.tac < 0 && p.tac >= 0))) {
        facts_.plmn = ShortText<8>();
        facts_.plmn.Append(p.mcc.view());
        facts_.plmn.Append("-");
        facts_.plmn.Append(p.mnc.view());
        if (p.tac >= 0) facts_.tac = p.tac;
    }
}

void FactsSink::EndRecord(const RecordEnd& end) {
    facts_.result = end.result;
    facts_.errors = end.errors.size() + end.moreErrors;
}

Result DecodeFacts(int direction, const uint8_t* message, size_t length, const Protection* protection,
                   MessageFacts& facts) {
    facts = MessageFacts();
    FactsSink sink(facts);
    return DecodeView(direction, message, length, 0, protection, sink, Label());
}

}  // namespace corvuna::view
