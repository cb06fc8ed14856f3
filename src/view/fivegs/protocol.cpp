// SPDX-License-Identifier: Apache-2.0
// The headers of 5GS NAS messages (TS 24.501 9.1 to 9.3): the plain 5GMM
// header (extended protocol discriminator, security header type, message
// type), the security-protected 5GMM message (MAC, sequence number, then
// the plain 5GMM message), and the 5GSM header with its PDU session
// identity and procedure transaction identity.
#include "view/protocols.h"
#include "view/fivegs/mm_ies.h"
#include "view/walker.h"

namespace corvuna::view::fivegs {

namespace {

constexpr ValueText kSecurityHeaderTypes[] = {
    {0, "Plain 5GS NAS message, not security protected"},
    {1, "Integrity protected"},
    {2, "Integrity protected and ciphered"},
    {3, "Integrity protected with new 5G NAS security context"},
    {4, "Integrity protected and ciphered with new 5G NAS security context"},
};

constexpr Label kName = Field<"Name", "name">;
constexpr Label kMessageType = Field<"Message type", "message_type">;
constexpr Label kDiscriminator = Field<"Extended protocol discriminator", "protocol_discriminator">;

void WriteMmHeader(Context& ctx, unsigned securityHeader) {
    ctx.out.Enum(kDiscriminator, kMm, "5GS mobility management messages");
    ctx.out.Enum("Security header type"_f, securityHeader,
                 LookupText(kSecurityHeaderTypes, static_cast<int32_t>(securityHeader), "Reserved"));
}

// The ciphering facts, in 5G terms where the caller's option is all that
// is known.
Protection::Body WriteFacts(Context& ctx, bool ciphered) {
    if (ctx.protection == nullptr && ctx.nesting == 0 && (ctx.options & kOptionNullCiphering) != 0) {
        Protection facts;
        facts.body = Protection::Body::kNullCiphering;
        facts.cipheringAlgorithm = 0;
        facts.reason = "taken as 5G-EA0 (null ciphering) as the caller said";
        facts.macReason = "no integrity key";
        ctx.protection = &facts;
        const Protection::Body body = WriteProtection(ctx, ciphered, kCipheringValues, kIntegrityValues);
        ctx.protection = nullptr;
        return body;
    }
    return WriteProtection(ctx, ciphered, kCipheringValues, kIntegrityValues);
}

constexpr ProtectedFraming kFraming{2, WriteMmHeader, WriteFacts,
                                    "message shorter than the security header (7 octets)"};

Result DecodeMm(Context& ctx, Octets message) {
    if (message.size < 2) {
        ctx.out.Null(kName);
        ctx.out.Enum(kDiscriminator, kMm, "5GS mobility management messages");
        ctx.out.Null(kMessageType);
        WriteNoIes(ctx.out);
        ctx.Stopped(message.data + message.size, "Security header type"_f,
                    "message ends before its security header type");
        return Result::kDecodedWithErrors;
    }
    const unsigned securityHeader = message.At(1) & 0x0F;
    if (securityHeader == 0) {
        WriteMmHeader(ctx, securityHeader);
        // A payload container type applies to the payload container of
        // its own message only.
        const int outer = ctx.payloadContainerType;
        ctx.payloadContainerType = -1;
        const Result result = DecodeTyped(ctx, kMessageTable, kMm, message.From(2));
        ctx.payloadContainerType = outer;
        return result;
    }
    if (securityHeader <= 4) return DecodeProtectedMessage(ctx, message, securityHeader, kFraming);
    return DecodeReservedSecurityHeader(ctx, message, securityHeader, kFraming);
}

Result DecodeSm(Context& ctx, Octets message) {
    Sink& out = ctx.out;
    out.Enum(kDiscriminator, kSm, "5GS session management messages");
    if (message.size < 4) {
        return StopInHeader(ctx, message.data + message.size, "Message type"_f,
                            "message shorter than the 5GSM header (4 octets)");
    }
    const unsigned psi = message.At(1), pti = message.At(2);
    out.Enum(Field<"PDU session identity", "pdu_session_identity">, psi,
             psi == 0    ? Text("No PDU session identity assigned")
             : psi <= 15 ? Text("PDU session identity value")
                         : Text("Reserved"));
    out.Enum("Procedure transaction identity"_f, pti,
             pti == 0     ? Text("No procedure transaction identity assigned")
             : pti == 255 ? Text("Reserved")
                          : Text("Procedure transaction identity value"));
    return DecodeTyped(ctx, kMessageTable, kSm, message.From(3));
}

bool Claims(uint8_t first) { return first == kMm || first == kSm; }

Result Decode(Context& ctx, Octets message) {
    return message.At(0) == kSm ? DecodeSm(ctx, message) : DecodeMm(ctx, message);
}

}  // namespace

const Protocol kProtocol{Claims, Decode, &kMessageTable};

}  // namespace corvuna::view::fivegs
