// SPDX-License-Identifier: Apache-2.0
#include "view/walker.h"

#include <cstdio>
#include <string_view>

namespace corvuna::view {

namespace {

constexpr std::string_view kOutputFull = "output limit of 1048576 characters reached: the rest is not decoded";
static_assert(kMaxViewOutput == 1048576);

// TS 24.007 11.2.3.1.1.
constexpr ValueText kProtocolDiscriminators[] = {
    {0, "Group call control"},
    {1, "Broadcast call control"},
    {2, "EPS session management messages"},
    {3, "Call control; call related SS messages"},
    {4, "GPRS Transparent Transport Protocol (GTTP)"},
    {5, "Mobility Management messages"},
    {6, "Radio Resources Management messages"},
    {7, "EPS mobility management messages"},
    {8, "GPRS mobility management messages"},
    {9, "SMS messages"},
    {10, "GPRS session management messages"},
    {11, "Non call related SS messages"},
    {12, "Location services"},
    {14, "Reserved for extension of the PD to one octet length"},
    {15, "Tests procedures"},
};

template <typename... Args>
std::string_view Printf(char (&buffer)[160], const char* format, Args... args) {
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return std::string_view(buffer, n > 0 ? static_cast<size_t>(n < 160 ? n : 159) : 0);
}

// Value octets a row's format allows, from the table's whole-IE lengths.
size_t FormatOverhead(IeFormat format) {
    switch (format) {
        case IeFormat::kLV:
        case IeFormat::kTV:
            return 1;
        case IeFormat::kLVE:
        case IeFormat::kTLV:
            return 2;
        case IeFormat::kTLVE:
            return 3;
        default:
            return 0;
    }
}

void DecodeFields(Context& ctx, const IeType& type, Octets v) {
    if (!RequireOctets(ctx, v, type.minOctets)) return;
    const uint8_t direction = ctx.direction == 1 ? kUplink : kDownlink;
    size_t described = 0;
    for (const BitField& f : type.fields) {
        if (f.shown == Shown::kOctets) {
            described = f.width == 0 ? v.size : f.octet + f.width > described ? f.octet + f.width : described;
            if (f.octet < v.size) ctx.out.Hex(f.label, f.width == 0 ? v.From(f.octet) : v.From(f.octet).Take(f.width));
            continue;
        }
        if (f.octet + 1u > described) described = f.octet + 1u;
        if (f.octet >= v.size || (f.directions & direction) == 0) continue;
        const unsigned value = f.Of(v.At(f.octet));
        switch (f.shown) {
            case Shown::kOctets:
                break;
            case Shown::kHex:
                ctx.out.HexNumber(f.label, value, (f.width + 3) / 4);
                break;
            case Shown::kNumber:
                ctx.out.Number(f.label, value);
                break;
            case Shown::kEnum: {
                Text text = f.fallback;
                for (size_t i = 0; i < f.valueCount; ++i) {
                    if (f.values[i].value == static_cast<int32_t>(value)) {
                        text = f.values[i].text;
                        break;
                    }
                }
                ctx.out.Enum(f.label, value, text);
                break;
            }
            case Shown::kFlag:
                ctx.out.Enum(f.label, value, value != 0 ? f.fallback : f.clear);
                break;
            case Shown::kSupport:
                ctx.out.Flag(f.label, value != 0, "Supported", "Not supported");
                break;
        }
    }
    // Octets of a later release than the fields describe.
    if (v.size > described && described > 0) ctx.out.Hex("Further octets"_f, v.From(described));
}

// The IE of `row` at `start` (`length` octets in all), its value `value`.
void WriteIe(Context& ctx, const IeRow& row, const uint8_t* start, size_t length, Octets value) {
    const bool optional = row.format >= IeFormat::kT;
    ctx.out.BeginIe(IePlace{row.role, row.type->name, row.type->reference, optional ? row.iei : -1,
                            ctx.OffsetOf(start), length});
    const Label outerIe = ctx.ie;
    const uint8_t* outerStart = ctx.ieStart;
    ctx.ie = row.role;
    ctx.ieStart = start;
    DecodeValue(ctx, *row.type, value);
    ctx.ie = outerIe;
    ctx.ieStart = outerStart;
    ctx.out.EndIe();
}

// Checks a value length against the row's range; false (decoding stopped)
// when it lies outside.
bool LengthInRange(Context& ctx, const IeRow& row, const uint8_t* start, size_t value) {
    const size_t overhead = FormatOverhead(row.format);
    const size_t min = row.minLength > overhead ? row.minLength - overhead : 0;
    const size_t max = row.maxLength == kAnyLength ? static_cast<size_t>(-1) : row.maxLength - overhead;
    if (value >= min && value <= max) return true;
    char reason[160];
    if (max == static_cast<size_t>(-1)) {
        ctx.Stopped(start, row.role, Printf(reason, "length %zu below the minimum of %zu", value, min));
    } else {
        ctx.Stopped(start, row.role, Printf(reason, "length %zu outside %zu..%zu", value, min, max));
    }
    return false;
}

// The length of an IE at `at`, or false (decoding stopped) when the body
// ends inside its length octets or inside its value.
bool ReadLength(Context& ctx, const IeRow& row, Octets body, size_t at, size_t headerOctets, size_t lengthOctets,
                size_t& value) {
    if (at + headerOctets > body.size) {
        ctx.Stopped(body.data + at, row.role, "message ends inside the IE's length");
        return false;
    }
    value = lengthOctets == 2 ? body.Big(at + headerOctets - 2, 2) : lengthOctets == 1 ? body.At(at + headerOctets - 1)
                                                                                        : 0;
    if (at + headerOctets + value > body.size) {
        char reason[160];
        ctx.Stopped(body.data + at, row.role,
                    Printf(reason, "IE of %zu value octets runs past the end of the message (%zu remain)", value,
                           body.size - at - headerOctets));
        return false;
    }
    return true;
}

// One optional IE of the table at `at`; the offset after it.
size_t TakeOptional(Context& ctx, const IeRow& r, Octets body, size_t at) {
    switch (r.format) {
        case IeFormat::kTV1: {
            const uint8_t nibble = body.At(at) & 0x0F;
            WriteIe(ctx, r, body.data + at, 1, Octets{&nibble, 1});
            return at + 1;
        }
        case IeFormat::kT:
            WriteIe(ctx, r, body.data + at, 1, Octets{body.data + at, 0});
            return at + 1;
        case IeFormat::kTV: {
            if (at + r.minLength > body.size) {
                ctx.Stopped(body.data + at, r.role, "message ends inside this IE");
                return body.size;
            }
            WriteIe(ctx, r, body.data + at, r.minLength, Octets{body.data + at + 1, r.minLength - 1u});
            return at + r.minLength;
        }
        default: {
            const size_t lengthOctets = r.format == IeFormat::kTLVE ? 2 : 1;
            size_t value = 0;
            if (!ReadLength(ctx, r, body, at, 1 + lengthOctets, lengthOctets, value)) return body.size;
            if (!LengthInRange(ctx, r, body.data + at, value)) return body.size;
            WriteIe(ctx, r, body.data + at, 1 + lengthOctets + value, Octets{body.data + at + 1 + lengthOctets, value});
            return at + 1 + lengthOctets + value;
        }
    }
}

void WalkOptional(Context& ctx, const MessageTable& table, const MessageLayout& layout, Octets body, size_t at) {
    uint64_t seen = 0;  // by row index
    while (at < body.size && !ctx.IsStopped() && !OutputFull(ctx, body.data + at)) {
        const uint8_t iei = body.At(at);
        const int index = table.OptionalRow(layout, iei);
        const uint64_t bit = index >= 0 ? uint64_t{1} << index : 0;
        if (index >= 0 && (seen & bit) == 0) {
            seen |= bit;
            at = TakeOptional(ctx, layout.ies[static_cast<size_t>(index)], body, at);
            continue;
        }
        // TS 24.007 11.2.4: bit 8 set, a one-octet IE; IEIs 0x7x, TLV-E;
        // any other, TLV.
        size_t length = 1;
        if ((iei & 0x80) == 0) {
            const bool extended = (iei & 0xF0) == 0x70;
            const size_t header = extended ? 3 : 2;
            if (at + header > body.size) {
                ctx.Stopped(body.data + at, "Unknown IE"_f, "message ends inside the length of an unknown IE");
                return;
            }
            const size_t value = extended ? body.Big(at + 1, 2) : body.At(at + 1);
            length = header + value;
            if (at + length > body.size) {
                char reason[160];
                ctx.Stopped(body.data + at, "Unknown IE"_f,
                            Printf(reason, "IE 0x%02x of %zu value octets runs past the end of the message", iei,
                                   value));
                return;
            }
        }
        ctx.out.ExtraIe(iei, index >= 0, ctx.OffsetOf(body.data + at), Octets{body.data + at, length});
        at += length;
    }
}

Text LookupIn(std::span<const ValueText> names, int value) {
    for (const ValueText& row : names) {
        if (row.value == value) return row.text;
    }
    return Text();
}

constexpr std::string_view kBodies[] = {"not_ciphered", "null_ciphering", "deciphered", "guessed_null",
                                        "left_ciphered"};
constexpr std::string_view kMacs[] = {"not_checked", "verified", "failed", "uncheckable"};

}  // namespace

Protection::Body WriteProtection(Context& ctx, bool ciphered, std::span<const ValueText> cipheringNames,
                                 std::span<const ValueText> integrityNames) {
    Sink& out = ctx.out;
    Protection facts;
    if (ctx.protection != nullptr && ctx.nesting == 0) {
        facts = *ctx.protection;
    } else if ((ctx.options & kOptionNullCiphering) != 0) {
        facts.body = Protection::Body::kNullCiphering;
        facts.cipheringAlgorithm = 0;
        facts.reason = "taken as EEA0 (null ciphering) as the caller said";
        facts.macReason = "no integrity key";
    } else {
        facts.body = Protection::Body::kLeftCiphered;
        facts.reason = "no security context: the ciphering algorithm and key are not known";
        facts.macReason = "no integrity key";
    }
    if (!ciphered) {
        facts.body = Protection::Body::kNotCiphered;
        facts.reason = Text();
    }
    out.Begin("Ciphering"_f);
    out.Flag("Ciphered"_f, ciphered, "yes: the header says the body is ciphered", "no: integrity protected only");
    out.Ascii("Body"_f, kBodies[static_cast<int>(facts.body)]);
    if (facts.reason) {
        out.String("Reason"_f, std::string_view(facts.reason.text, facts.reason.size));
    } else {
        out.Null("Reason"_f);
    }
    if (facts.cipheringAlgorithm >= 0) {
        out.Enum("Algorithm"_f, facts.cipheringAlgorithm, LookupIn(cipheringNames, facts.cipheringAlgorithm));
    } else {
        out.Null("Algorithm"_f);
    }
    if (facts.integrityAlgorithm >= 0) {
        out.Enum("Integrity algorithm"_f, facts.integrityAlgorithm, LookupIn(integrityNames, facts.integrityAlgorithm));
    } else {
        out.Null("Integrity algorithm"_f);
    }
    if (facts.count >= 0) {
        out.Number(Field<"NAS COUNT", "count">, facts.count);
    } else {
        out.Null(Field<"NAS COUNT", "count">);
    }
    if (facts.keySource) {
        out.String("Key source"_f, std::string_view(facts.keySource.text, facts.keySource.size));
    } else {
        out.Null("Key source"_f);
    }
    out.Ascii(Field<"MAC", "mac">, kMacs[static_cast<int>(facts.mac)]);
    if (facts.mac == Protection::Mac::kFailed) {
        const uint8_t expected[4] = {static_cast<uint8_t>(facts.expectedMac >> 24),
                                     static_cast<uint8_t>(facts.expectedMac >> 16),
                                     static_cast<uint8_t>(facts.expectedMac >> 8),
                                     static_cast<uint8_t>(facts.expectedMac)};
        out.Hex("Expected MAC"_f, expected, 4);
    } else {
        out.Null("Expected MAC"_f);
    }
    if (facts.macReason) {
        out.String("MAC reason"_f, std::string_view(facts.macReason.text, facts.macReason.size));
    } else {
        out.Null("MAC reason"_f);
    }
    out.End();
    return facts.body;
}

Result DecodeInnerMessage(Context& ctx, Protection::Body body, Octets inner) {
    Octets plain = inner;
    if (body == Protection::Body::kDeciphered && ctx.protection != nullptr) plain = ctx.protection->plain;
    if (ctx.nesting >= kMaxNesting) {
        ctx.out.Null(Field<"Message", "message">);
        ctx.out.Hex("Octets"_f, plain);
        return Result::kDecoded;
    }
    // Offsets inside a deciphered body are those of the ciphered octets.
    const Context::Place outer = ctx.Enter(plain.data, ctx.OffsetOf(inner.data));
    ++ctx.nesting;
    const Result result = DecodeMessage(ctx, plain, Field<"Message", "message">);
    --ctx.nesting;
    ctx.Leave(outer);
    return result;
}

Result DecodeProtectedMessage(Context& ctx, Octets message, unsigned securityHeader, const ProtectedFraming& framing) {
    Sink& out = ctx.out;
    out.MessageName("Security protected NAS message"_f);
    framing.writeHeader(ctx, securityHeader);
    out.Null(Field<"Message type", "message_type">);
    WriteNoIes(out);
    const bool ciphered = securityHeader == 2 || securityHeader == 4;
    const size_t macAt = framing.headerOctets;
    if (message.size < macAt + 5) {
        out.Null("Message authentication code"_f);
        out.Null("Sequence number"_f);
        framing.writeFacts(ctx, ciphered);
        out.Null(Field<"Message", "message">);
        out.Null("Ciphered octets"_f);
        ctx.Stopped(message.data + message.size, "Security protected NAS message"_f, framing.tooShort);
        return Result::kDecodedWithErrors;
    }
    out.Hex("Message authentication code"_f, message.data + macAt, 4);
    out.Number("Sequence number"_f, message.At(macAt + 4));
    const Protection::Body body = framing.writeFacts(ctx, ciphered);
    const Octets inner = message.From(macAt + 5);
    if (body == Protection::Body::kLeftCiphered) {
        out.Null(Field<"Message", "message">);
        out.Hex("Ciphered octets"_f, inner);
        return Result::kCiphered;
    }
    const Result result = DecodeInnerMessage(ctx, body, inner);
    out.Null("Ciphered octets"_f);
    return result;
}

Result DecodeReservedSecurityHeader(Context& ctx, Octets message, unsigned securityHeader,
                                    const ProtectedFraming& framing) {
    ctx.out.Null(Field<"Name", "name">);
    framing.writeHeader(ctx, securityHeader);
    ctx.out.Null(Field<"Message type", "message_type">);
    WriteNoIes(ctx.out);
    ctx.out.Hex("Octets"_f, message.From(framing.headerOctets));
    ctx.Stopped(message.data + framing.headerOctets - 1, {}, "reserved security header type");
    return Result::kUnknownMessage;
}

Result StopInHeader(Context& ctx, const uint8_t* at, Label where, std::string_view reason) {
    ctx.out.Null(Field<"Name", "name">);
    ctx.out.Null(Field<"Message type", "message_type">);
    WriteNoIes(ctx.out);
    ctx.Stopped(at, where, reason);
    return Result::kDecodedWithErrors;
}

void WriteNoIes(Sink& out) {
    out.BeginList(Field<"IEs", "ies">);
    out.EndList();
}

bool OutputFull(Context& ctx, const uint8_t* at) {
    if (!ctx.out.LimitReached()) return false;
    ctx.Stopped(at, {}, kOutputFull);
    return true;
}

void DecodeValue(Context& ctx, const IeType& type, Octets value) {
    if (type.decode != nullptr) {
        type.decode(ctx, value);
    } else if (!type.fields.empty()) {
        DecodeFields(ctx, type, value);
    } else {
        WriteOctets(ctx, value);
    }
}

void WalkIes(Context& ctx, const MessageTable& table, const MessageLayout& layout, Octets body) {
    ctx.out.BeginList(Field<"IEs", "ies">);
    size_t at = 0;
    bool highHalf = false;
    size_t row = 0;
    const std::span<const IeRow> rows = layout.ies;
    // The mandatory part, in order.
    for (; row < rows.size() && rows[row].format < IeFormat::kT && !ctx.IsStopped() &&
           !OutputFull(ctx, body.data + at);
         ++row) {
        const IeRow& r = rows[row];
        if (r.format != IeFormat::kHalfV && highHalf) {
            highHalf = false;
            ++at;
        }
        switch (r.format) {
            case IeFormat::kHalfV: {
                if (at >= body.size) {
                    ctx.Stopped(body.data + at, r.role, "message ends before this mandatory IE");
                    break;
                }
                const uint8_t nibble = highHalf ? body.At(at) >> 4 : body.At(at) & 0x0F;
                WriteIe(ctx, r, body.data + at, 1, Octets{&nibble, 1});
                if (highHalf) ++at;
                highHalf = !highHalf;
                break;
            }
            case IeFormat::kV:
                if (at + r.minLength > body.size) {
                    ctx.Stopped(body.data + at, r.role, "message ends inside this mandatory IE");
                    break;
                }
                WriteIe(ctx, r, body.data + at, r.minLength, Octets{body.data + at, r.minLength});
                at += r.minLength;
                break;
            default: {
                const size_t lengthOctets = r.format == IeFormat::kLVE ? 2 : 1;
                size_t value = 0;
                if (!ReadLength(ctx, r, body, at, lengthOctets, lengthOctets, value)) break;
                if (!LengthInRange(ctx, r, body.data + at, value)) break;
                WriteIe(ctx, r, body.data + at, lengthOctets + value, Octets{body.data + at + lengthOctets, value});
                at += lengthOctets + value;
                break;
            }
        }
    }
    if (highHalf) ++at;
    if (!ctx.IsStopped()) WalkOptional(ctx, table, layout, body, at);
    ctx.out.EndList();
}

Result DecodeTyped(Context& ctx, const MessageTable& table, uint8_t protocol, Octets rest) {
    Sink& out = ctx.out;
    if (rest.size == 0) {
        out.Null(Field<"Message type", "message_type">);
        out.Null(Field<"Name", "name">);
        WriteNoIes(out);
        ctx.Stopped(rest.data, "Message type"_f, "message ends before its message type");
        return Result::kDecodedWithErrors;
    }
    const uint8_t type = rest.At(0);
    const MessageLayout* layout = table.Find(protocol, type, ctx.direction);
    out.EnumHex("Message type"_f, type, 2, layout != nullptr ? layout->name.text() : Text("Unknown message type"));
    if (layout == nullptr) {
        out.Null(Field<"Name", "name">);
        WriteNoIes(out);
        out.Hex("Octets"_f, rest.From(1));
        return Result::kUnknownMessage;
    }
    out.MessageName(layout->name);
    WalkIes(ctx, table, *layout, rest.From(1));
    return ctx.HasErrors() ? Result::kDecodedWithErrors : Result::kDecoded;
}

Result DecodeMessage(Context& ctx, Octets message, Label member) {
    Sink& out = ctx.out;
    if (message.size == 0) {
        out.Null(member);
        ctx.Stopped(message.data, {}, "no octets");
        return Result::kNotNas;
    }
    const uint8_t first = message.At(0);
    for (const Protocol* protocol : Protocols()) {
        if (!protocol->claims(first)) continue;
        out.BeginMessage(member);
        const Result result = protocol->decode(ctx, message);
        out.EndMessage();
        return result;
    }
    const unsigned pd = first & 0x0F;
    out.BeginMessage(member);
    out.Null(Field<"Name", "name">);
    out.Enum("Protocol discriminator"_f, pd, LookupText(kProtocolDiscriminators, static_cast<int32_t>(pd), "Reserved"));
    out.Null(Field<"Message type", "message_type">);
    WriteNoIes(out);
    out.Hex("Octets"_f, message);
    out.EndMessage();
    return Result::kNotNas;
}

void DecodeNestedMessage(Context& ctx, Octets message) {
    if (ctx.nesting >= kMaxNesting) {
        WriteOctets(ctx, message);
        return;
    }
    ++ctx.nesting;
    DecodeMessage(ctx, message, Field<"Message", "message">);
    --ctx.nesting;
}

Result DecodeView(int direction, const uint8_t* message, size_t length, uint32_t options,
                  const Protection* protection, Sink& out, Label member) {
    static const uint8_t kNothing = 0;
    const uint8_t* octets = message != nullptr ? message : &kNothing;
    if (message == nullptr) length = 0;
    Context ctx(out, direction, options, octets, protection);
    out.BeginRecord(member);
    out.Heading(direction, length);
    const bool cut = length > kMaxViewInput;
    Result result = DecodeMessage(ctx, Octets{octets, cut ? kMaxViewInput : length}, Field<"Message", "message">);
    if (cut) {
        // Where decoding already stopped inside the first 10240 octets, that
        // is the place reported.
        if (!ctx.IsStopped()) {
            ctx.Stopped(octets + kMaxViewInput, {}, "message longer than 10240 octets: the rest is not decoded");
        }
    }
    if (out.LimitReached()) {
        // Fields were left out; the closing members below have room kept.
        out.Resume();
        if (!ctx.IsStopped()) ctx.Stopped(octets + (cut ? kMaxViewInput : length), {}, kOutputFull);
    }
    if ((result == Result::kDecoded || result == Result::kCiphered) && ctx.HasErrors()) {
        result = Result::kDecodedWithErrors;
    }
    out.EndRecord(ctx.End(result));
    return result;
}

}  // namespace corvuna::view
