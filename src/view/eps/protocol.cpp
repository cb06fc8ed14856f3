// SPDX-License-Identifier: Apache-2.0
// The headers of EPS NAS messages (TS 24.301 9.1 to 9.3): the plain EMM
// header, the security-protected NAS message, the header of SERVICE
// REQUEST, and the ESM header with its EPS bearer identity and procedure
// transaction identity.
#include <iterator>

#include "view/protocols.h"
#include "view/eps/emm_ies.h"
#include "view/walker.h"

namespace corvuna::view::eps {

namespace {

constexpr ValueText kSecurityHeaderTypes[] = {
    {0, "Plain NAS message, not security protected"},
    {1, "Integrity protected"},
    {2, "Integrity protected and ciphered"},
    {3, "Integrity protected with new EPS security context"},
    {4, "Integrity protected and ciphered with new EPS security context"},
    {12, "Security header for the SERVICE REQUEST message"},
    {13, "Not used; interpreted as security header for the SERVICE REQUEST message"},
    {14, "Not used; interpreted as security header for the SERVICE REQUEST message"},
    {15, "Not used; interpreted as security header for the SERVICE REQUEST message"},
};

constexpr Label kMessageType = Field<"Message type", "message_type">;

// TS 24.301 9.9.3.19 and 8.2.25: SERVICE REQUEST after its header.
constexpr BitField kKsiAndSequenceNumberFields[] = {
    Coded("KSI"_f, 0, 6, 3, kKeySetValues, "no key is available"),
    Num("Sequence number (short)"_f, 0, 1, 5),
};
constexpr IeType kKsiAndSequenceNumber =
    Fields("KSI and sequence number", "9.9.3.19", kKsiAndSequenceNumberFields);
constexpr BitField kShortMacFieldsOfRequest[] = {Octs("Short MAC value"_f, 0, 2)};
constexpr IeType kMessageAuthenticationCodeShort =
    Fields("Short MAC", "9.9.3.28", kShortMacFieldsOfRequest);
constexpr IeRow kServiceRequest[] = {
    V("KSI and sequence number"_f, kKsiAndSequenceNumber, 1),
    V("Message authentication code (short)"_f, kMessageAuthenticationCodeShort, 2),
};
constexpr MessageLayout kServiceRequestLayout[] = {
    {kEmm, 0, kUplink, "Service request"_f, "8.2.25", kServiceRequest}};
constexpr const MessageTable& kServiceRequestTable =
    IndexedMessages<kServiceRequestLayout, kEmm, kEsm>::kTable;

void WriteHeader(Context& ctx, unsigned securityHeader) {
    ctx.out.Enum("Protocol discriminator"_f, kEmm, "EPS mobility management messages");
    ctx.out.Enum("Security header type"_f, securityHeader,
                 LookupText(kSecurityHeaderTypes, static_cast<int32_t>(securityHeader), "Reserved"));
}

Protection::Body WriteFacts(Context& ctx, bool ciphered) {
    return WriteProtection(ctx, ciphered, kEpsCipheringValues, kEpsIntegrityValues);
}

constexpr ProtectedFraming kFraming{1, WriteHeader, WriteFacts,
                                    "message shorter than the security header (6 octets)"};

Result DecodeServiceRequest(Context& ctx, Octets message, unsigned securityHeader) {
    Sink& out = ctx.out;
    out.MessageName("Service request"_f);
    WriteHeader(ctx, securityHeader);
    out.Null(kMessageType);
    WriteFacts(ctx, false);
    if (message.size < 4) {
        out.BeginList(Field<"IEs", "ies">);
        ctx.Stopped(message.data + message.size, "KSI and sequence number"_f,
                    "message shorter than SERVICE REQUEST (4 octets)");
        out.EndList();
        return Result::kDecodedWithErrors;
    }
    WalkIes(ctx, kServiceRequestTable, kServiceRequestLayout[0], message.From(1).Take(3));
    if (message.size > 4) {
        ctx.Stopped(message.data + 4, {}, "octets after the end of SERVICE REQUEST");
        out.Hex("Further octets"_f, message.From(4));
    }
    return ctx.HasErrors() ? Result::kDecodedWithErrors : Result::kDecoded;
}

Result DecodeEmm(Context& ctx, Octets message) {
    const unsigned securityHeader = message.At(0) >> 4;
    if (securityHeader == 0) {
        WriteHeader(ctx, securityHeader);
        return DecodeTyped(ctx, kMessageTable, kEmm, message.From(1));
    }
    if (securityHeader <= 4) return DecodeProtectedMessage(ctx, message, securityHeader, kFraming);
    if (securityHeader >= 12) return DecodeServiceRequest(ctx, message, securityHeader);
    return DecodeReservedSecurityHeader(ctx, message, securityHeader, kFraming);
}

// TS 24.301 9.3.2 and 9.4.
constexpr ValueText kEpsBearerIdentities[] = {{0, "No EPS bearer identity assigned"},
                                              {1, "Reserved"},
                                              {2, "Reserved"},
                                              {3, "Reserved"},
                                              {4, "Reserved"}};

Result DecodeEsm(Context& ctx, Octets message) {
    Sink& out = ctx.out;
    out.Enum("Protocol discriminator"_f, kEsm, "EPS session management messages");
    const unsigned ebi = message.At(0) >> 4;
    out.Enum("EPS bearer identity"_f, ebi, LookupText(kEpsBearerIdentities, static_cast<int32_t>(ebi), "EPS bearer identity value"));
    if (message.size < 3) {
        return StopInHeader(ctx, message.data + message.size, "Message type"_f,
                            "message shorter than the ESM header (3 octets)");
    }
    const unsigned pti = message.At(1);
    out.Enum("Procedure transaction identity"_f, pti,
             pti == 0     ? Text("No procedure transaction identity assigned")
             : pti == 255 ? Text("Reserved")
                          : Text("Procedure transaction identity value"));
    return DecodeTyped(ctx, kMessageTable, kEsm, message.From(2));
}

bool Claims(uint8_t first) {
    const unsigned pd = first & 0x0F;
    return pd == kEmm || pd == kEsm;
}

Result Decode(Context& ctx, Octets message) {
    return (message.At(0) & 0x0F) == kEsm ? DecodeEsm(ctx, message) : DecodeEmm(ctx, message);
}

}  // namespace

const Protocol kProtocol{Claims, Decode, &kMessageTable};

}  // namespace corvuna::view::eps
