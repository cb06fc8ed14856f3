// SPDX-License-Identifier: Apache-2.0
// The flat facts of a message, for tables of many messages: its name, its
// cause, the identities and the location it carries, and how decoding went.
// FactsSink takes them from the standard view's walk without writing any
// output; DecodeFacts runs that walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "view/protection.h"
#include "view/sink.h"

namespace corvuna::view {

// A short string held in place (no allocation per message).
template <size_t N>
struct ShortText {
    char chars[N];  // the first `size` hold the text
    uint8_t size = 0;
    std::string_view view() const { return std::string_view(chars, size); }
    bool empty() const { return size == 0; }
    void Set(std::string_view s) {
        size = static_cast<uint8_t>(s.size() < N ? s.size() : N);
        for (size_t i = 0; i < size; ++i) chars[i] = s[i];
    }
    void Append(std::string_view s) {
        for (char c : s) {
            if (size < N) chars[size++] = c;
        }
    }
};

struct MessageFacts {
    // The message's identifier ("attach_request"): of the message inside a
    // security protected NAS message when its body was read, else of the
    // wrapper ("security_protected_nas_message").
    ShortText<64> message;
    // The first EMM, ESM, 5GMM or 5GSM cause of the message (-1: none).
    int64_t cause = -1;
    ShortText<160> causeText;
    // Identities: the IMSI (of an IMSI, or of a SUCI of the null scheme),
    // the GUTI ("310-410-ff58-06-c09d2b22") or 5G-GUTI
    // ("001-01-ca-3f8-00-c0000001"), and the TMSI, M-TMSI or 5G-TMSI of the
    // message, in hex.
    ShortText<16> imsi;
    ShortText<48> guti;
    bool guti5g = false;
    ShortText<8> tmsi;
    // A PLMN ("001-01") and TAC of the message: its first TAI, else the
    // PLMN of its first GUTI.
    ShortText<8> plmn;
    int64_t tac = -1;
    Result result = Result::kNotNas;
    size_t errors = 0;  // errors met while decoding
};

// A sink that writes nothing and keeps the facts of what passes through it.
class FactsSink final : public Sink {
public:
    explicit FactsSink(MessageFacts& facts) : Sink(nullptr, 0, 0), facts_(facts) {}

    void Begin(Label) override {}
    void End() override {}
    void BeginList(Label) override {}
    void EndList() override {}
    void Number(Label label, int64_t value) override;
    void Quantity(Label, int64_t, Text) override {}
    void Enum(Label label, int64_t value, Text text) override;
    void Absent(Label, Text) override {}
    void EnumHex(Label, uint32_t, int, Text) override {}
    void Flag(Label, bool, Text, Text) override {}
    void String(Label label, std::string_view value, bool) override { Ascii(label, value); }
    void Ascii(Label label, std::string_view value) override;
    void Hex(Label label, const uint8_t* octets, size_t count) override;
    void HexNumber(Label label, uint32_t value, int) override { Number(label, value); }
    void Null(Label) override {}
    void BeginRecord(Label) override {}
    void EndRecord(const RecordEnd& end) override;
    void Heading(int, size_t) override {}
    void BeginMessage(Label) override {}
    void EndMessage() override {}
    void MessageName(Label name) override;
    void BeginIe(const IePlace& place) override;
    void EndIe() override;
    void ExtraIe(uint8_t, bool, size_t, Octets) override {}
    void Error(const ErrorNote&) override {}

    // The fields of an IE that make identities and locations.
    struct Parts {
        ShortText<4> mcc, mnc;
        ShortText<16> imsi, msin;
        ShortText<8> tmsi;  // M-TMSI, 5G-TMSI or TMSI, in hex
        int64_t mmeGroup = -1, mmeCode = -1, amfRegion = -1, amfSet = -1, amfPointer = -1;
        int64_t tac = -1, scheme = -1;
    };

private:
    void Take(const Parts& p);

    MessageFacts& facts_;
    bool wrapper_ = false;  // the name taken is the security protected wrapper's
    int ieDepth_ = 0;
    uint32_t causeIe_ = 0;  // bit n: the open IE at depth n is a cause
    bool plmnList_ = false; // the outermost open IE is a list of PLMNs (not where the UE is)
    Parts parts_;           // of the outermost open IE
    bool taken_ = false;    // parts_ holds something since it was cleared
};

// The facts of a message, as DecodeView would decode it.
Result DecodeFacts(int direction, const uint8_t* message, size_t length, const Protection* protection,
                   MessageFacts& facts);

}  // namespace corvuna::view
