// SPDX-License-Identifier: Apache-2.0
// The message walker of the standard view: the header of a NAS message, the
// security-protected wrapper, and the IEs of the message in the standard's
// way (TS 24.007 clause 11.2): the mandatory part in the order of the
// message table, then the optional IEs in any order, an unknown IEI or an
// IE repeated passed over by its format and shown with its octets.
#include <cstdio>
#include <string_view>

#include "view/messages.h"
#include "view/view.h"

namespace corvuna::view {

namespace {

// Messages inside messages (an ESM message in an EMM message, a plain
// message in a protected one).
constexpr int kMaxNesting = 3;

constexpr std::string_view kOutputFull = "output limit of 1048576 characters reached: the rest is not decoded";
static_assert(kMaxViewOutput == 1048576);

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

class Walker {
public:
    Walker(Context& ctx, Octets message) : ctx_(ctx), message_(message) {}

    // The message's fields; the result for the message at this level.
    Result Decode() {
        Emitter& out = ctx_.out;
        if (message_.size == 0) {
            ctx_.Stopped(message_.data, {}, "no octets");
            return Result::kNotNas;
        }
        const uint8_t first = message_.At(0);
        const unsigned pd = first & 0x0F;
        if (pd == 7) return DecodeEmm(first >> 4);
        if (pd == 2) return DecodeEsm();
        out.Enum("Protocol discriminator"_f, pd, LookupText(kProtocolDiscriminators, static_cast<int32_t>(pd), "Reserved"));
        out.Hex("Octets"_f, message_.data, message_.size);
        return Result::kNotNas;
    }

private:
    Result DecodeEmm(unsigned securityHeader) {
        Emitter& out = ctx_.out;
        out.Enum("Security header type"_f, securityHeader,
                 LookupText(kSecurityHeaderTypes, static_cast<int32_t>(securityHeader), "Reserved"));
        out.Enum("Protocol discriminator"_f, 7, "EPS mobility management messages");
        if (securityHeader == 0) return DecodePlain(7, message_.From(1));
        if (securityHeader >= 1 && securityHeader <= 4) return DecodeProtected(securityHeader);
        if (securityHeader >= 12) return DecodeServiceRequest();
        ctx_.Stopped(message_.data, {}, "reserved security header type");
        return Result::kUnknownMessage;
    }

    Result DecodeProtected(unsigned securityHeader) {
        Emitter& out = ctx_.out;
        if (message_.size < 6) {
            ctx_.Stopped(message_.data + message_.size, "Security protected NAS message"_f,
                         "message shorter than the security header (6 octets)");
            return Result::kDecodedWithErrors;
        }
        out.Hex("Message authentication code"_f, message_.data + 1, 4);
        out.Number("Sequence number"_f, message_.At(5));
        const Octets inner = message_.From(6);
        const bool ciphered = securityHeader == 2 || securityHeader == 4;
        if (ciphered && (ctx_.options & kOptionNullCiphering) == 0) {
            out.Hex("Ciphered message"_f, inner.data, inner.size);
            return Result::kDecoded;
        }
        if (ctx_.nesting >= kMaxNesting) {
            out.Hex("NAS message"_f, inner.data, inner.size);
            return Result::kDecoded;
        }
        ++ctx_.nesting;
        out.Begin(Field<"NAS message", "message">);
        Walker walker(ctx_, inner);
        const Result result = walker.Decode();
        out.End();
        --ctx_.nesting;
        return result;
    }

    Result DecodeServiceRequest() {
        Emitter& out = ctx_.out;
        if (out.format() == Format::kJson) {
            out.Identifier("Message"_f, "Service request"_f);
        } else {
            out.Ascii("Message"_f, "Service request");
        }
        if (message_.size < 4) {
            ctx_.Stopped(message_.data + message_.size, "KSI and sequence number"_f,
                         "message shorter than SERVICE REQUEST (4 octets)");
            return Result::kDecodedWithErrors;
        }
        const uint8_t ksiSeq = message_.At(1);
        out.Begin("KSI and sequence number"_f);
        out.Enum("KSI"_f, ksiSeq >> 5, (ksiSeq >> 5) == 7 ? Text("no key is available") : Text("possible value"));
        out.Number("Sequence number (short)"_f, ksiSeq & 0x1F);
        out.End();
        out.Hex("Message authentication code (short)"_f, message_.data + 2, 2);
        if (message_.size > 4) {
            ctx_.Stopped(message_.data + 4, {}, "octets after the end of SERVICE REQUEST");
            out.Hex("Further octets"_f, message_.data + 4, message_.size - 4);
            return Result::kDecodedWithErrors;
        }
        return Result::kDecoded;
    }

    Result DecodeEsm() {
        Emitter& out = ctx_.out;
        out.Number("EPS bearer identity"_f, message_.At(0) >> 4);
        out.Enum("Protocol discriminator"_f, 2, "EPS session management messages");
        if (message_.size < 3) {
            ctx_.Stopped(message_.data + message_.size, "Message type"_f,
                         "message shorter than the ESM header (3 octets)");
            return Result::kDecodedWithErrors;
        }
        out.Number("Procedure transaction identity"_f, message_.At(1));
        return DecodePlain(2, message_.From(2));
    }

    // From the message type octet on.
    Result DecodePlain(uint8_t protocol, Octets rest) {
        Emitter& out = ctx_.out;
        if (rest.size == 0) {
            ctx_.Stopped(rest.data, "Message type"_f, "message ends before its message type");
            return Result::kDecodedWithErrors;
        }
        const uint8_t type = rest.At(0);
        const MessageLayout* layout = FindMessageLayout(protocol, type, ctx_.direction);
        out.EnumHex("Message type"_f, type, 2, layout != nullptr ? layout->name.text() : Text("Unknown message type"));
        if (layout == nullptr) {
            out.Hex("Octets"_f, rest.data + 1, rest.size - 1);
            return Result::kUnknownMessage;
        }
        out.Identifier("Message"_f, layout->name);
        WalkIes(*layout, rest.From(1));
        return ctx_.errors ? Result::kDecodedWithErrors : Result::kDecoded;
    }

    // Whether the output has reached its limit; decoding then stops at `at`.
    bool OutputFull(const uint8_t* at) {
        if (!ctx_.out.LimitReached()) return false;
        ctx_.Stopped(at, {}, kOutputFull);
        return true;
    }

    // One IE: its place, then its fields.
    void WriteIe(const IeRow& row, const uint8_t* start, size_t length, Octets value) {
        Emitter& out = ctx_.out;
        const size_t offset = ctx_.OffsetOf(start);
        const bool optional = row.format >= IeFormat::kT;
        if (out.format() == Format::kJson) {
            out.BeginIe(row.role, optional ? row.iei : -1, offset, length);
        } else {
            // "role: [type ]clause, offset N, L octets"; the type only where
            // the message table names the IE otherwise.
            char note[160];
            const Text type = row.type->name;
            const bool sameName = std::string_view(type.text, type.size) == row.role.textView();
            out.BeginNoted(row.role, Printf(note, "%.*s%s%.*s, offset %zu, %zu octet%s",
                                             sameName ? 0 : static_cast<int>(type.size), type.text, sameName ? "" : " ",
                                             static_cast<int>(row.type->reference.size), row.type->reference.text,
                                             offset, length, length == 1 ? "" : "s"));
        }
        row.type->decode(ctx_, value);
        if (out.format() == Format::kJson) out.End();
        out.End();
    }

    // An IE the table does not list, or one repeated: its octets.
    void WriteExtraIe(uint8_t iei, bool repeated, const uint8_t* start, size_t length) {
        Emitter& out = ctx_.out;
        const Label what = repeated ? "Repeated IE (ignored)"_f : "Unknown IE"_f;
        if (out.format() == Format::kJson) {
            out.Begin();
            out.Identifier("IE"_f, repeated ? "repeated"_f : "unknown"_f);
            out.Number("IEI"_f, iei);
            out.Number("Offset"_f, static_cast<int64_t>(ctx_.OffsetOf(start)));
            out.Number("Length"_f, static_cast<int64_t>(length));
        } else {
            char note[160];
            out.BeginNoted(what, Printf(note, "IEI 0x%02x, offset %zu, %zu octet%s", iei, ctx_.OffsetOf(start),
                                        length, length == 1 ? "" : "s"));
        }
        out.Hex("Octets"_f, start, length);
        out.End();
    }

    // Checks a value length against the row's range; false (decoding
    // stopped) when it lies outside.
    bool LengthInRange(const IeRow& row, const uint8_t* start, size_t value) {
        const size_t overhead = FormatOverhead(row.format);
        const size_t min = row.minLength > overhead ? row.minLength - overhead : 0;
        const size_t max = row.maxLength == kAnyLength ? static_cast<size_t>(-1) : row.maxLength - overhead;
        if (value >= min && value <= max) return true;
        char reason[160];
        if (max == static_cast<size_t>(-1)) {
            ctx_.Stopped(start, row.role, Printf(reason, "length %zu below the minimum of %zu", value, min));
        } else {
            ctx_.Stopped(start, row.role, Printf(reason, "length %zu outside %zu..%zu", value, min, max));
        }
        return false;
    }

    // The length octets of an IE at `at` of `format`, or false (decoding
    // stopped) when the body ends inside them or inside the value.
    bool ReadLength(const IeRow& row, Octets body, size_t at, size_t headerOctets, size_t lengthOctets,
                    size_t& value) {
        if (at + headerOctets > body.size) {
            ctx_.Stopped(body.data + at, row.role, "message ends inside the IE's length");
            return false;
        }
        value = lengthOctets == 2 ? body.Big(at + headerOctets - 2, 2) : lengthOctets == 1 ? body.At(at + headerOctets - 1)
                                                                                            : 0;
        if (at + headerOctets + value > body.size) {
            char reason[160];
            ctx_.Stopped(body.data + at, row.role,
                         Printf(reason, "IE of %zu value octets runs past the end of the message (%zu remain)", value,
                                body.size - at - headerOctets));
            return false;
        }
        return true;
    }

    void WalkIes(const MessageLayout& layout, Octets body) {
        Emitter& out = ctx_.out;
        out.BeginList(Field<"IEs", "ies">);
        size_t at = 0;
        bool highHalf = false;
        size_t row = 0;
        const std::span<const IeRow> rows = layout.ies;
        // The mandatory part, in order.
        for (; row < rows.size() && rows[row].format < IeFormat::kT && !ctx_.stop.stopped && !OutputFull(body.data + at);
             ++row) {
            const IeRow& r = rows[row];
            if (r.format != IeFormat::kHalfV && highHalf) {
                highHalf = false;
                ++at;
            }
            switch (r.format) {
                case IeFormat::kHalfV: {
                    if (at >= body.size) {
                        ctx_.Stopped(body.data + at, r.role, "message ends before this mandatory IE");
                        break;
                    }
                    const uint8_t nibble = highHalf ? body.At(at) >> 4 : body.At(at) & 0x0F;
                    WriteIe(r, body.data + at, 1, Octets{&nibble, 1});
                    if (highHalf) ++at;
                    highHalf = !highHalf;
                    break;
                }
                case IeFormat::kV:
                    if (at + r.minLength > body.size) {
                        ctx_.Stopped(body.data + at, r.role, "message ends inside this mandatory IE");
                        break;
                    }
                    WriteIe(r, body.data + at, r.minLength, Octets{body.data + at, r.minLength});
                    at += r.minLength;
                    break;
                default: {
                    const size_t lengthOctets = r.format == IeFormat::kLVE ? 2 : 1;
                    size_t value = 0;
                    if (!ReadLength(r, body, at, lengthOctets, lengthOctets, value)) break;
                    if (!LengthInRange(r, body.data + at, value)) break;
                    WriteIe(r, body.data + at, lengthOctets + value, Octets{body.data + at + lengthOctets, value});
                    at += lengthOctets + value;
                    break;
                }
            }
        }
        if (highHalf) ++at;
        if (!ctx_.stop.stopped) WalkOptional(layout, body, at);
        out.EndList();
    }

    void WalkOptional(const MessageLayout& layout, Octets body, size_t at) {
        uint64_t seen = 0;  // by row index
        while (at < body.size && !ctx_.stop.stopped && !OutputFull(body.data + at)) {
            const uint8_t iei = body.At(at);
            const int index = OptionalRow(layout, iei);
            const uint64_t bit = index >= 0 ? uint64_t{1} << index : 0;
            if (index >= 0 && (seen & bit) == 0) {
                seen |= bit;
                at = TakeOptional(layout.ies[static_cast<size_t>(index)], body, at);
                continue;
            }
            // TS 24.007 11.2.4: bit 8 set, a one-octet IE; IEIs 0x7x, TLV-E;
            // any other, TLV.
            size_t length = 1;
            if ((iei & 0x80) == 0) {
                const bool extended = (iei & 0xF0) == 0x70;
                const size_t header = extended ? 3 : 2;
                if (at + header > body.size) {
                    ctx_.Stopped(body.data + at, "Unknown IE"_f, "message ends inside the length of an unknown IE");
                    return;
                }
                const size_t value = extended ? body.Big(at + 1, 2) : body.At(at + 1);
                length = header + value;
                if (at + length > body.size) {
                    char reason[160];
                    ctx_.Stopped(body.data + at, "Unknown IE"_f,
                                 Printf(reason, "IE 0x%02x of %zu value octets runs past the end of the message", iei,
                                        value));
                    return;
                }
            }
            WriteExtraIe(iei, index >= 0, body.data + at, length);
            at += length;
        }
    }

    // One optional IE of the table at `at`; the offset after it.
    size_t TakeOptional(const IeRow& r, Octets body, size_t at) {
        switch (r.format) {
            case IeFormat::kTV1: {
                const uint8_t nibble = body.At(at) & 0x0F;
                WriteIe(r, body.data + at, 1, Octets{&nibble, 1});
                return at + 1;
            }
            case IeFormat::kT:
                WriteIe(r, body.data + at, 1, Octets{body.data + at, 0});
                return at + 1;
            case IeFormat::kTV: {
                if (at + r.minLength > body.size) {
                    ctx_.Stopped(body.data + at, r.role, "message ends inside this IE");
                    return body.size;
                }
                WriteIe(r, body.data + at, r.minLength, Octets{body.data + at + 1, r.minLength - 1u});
                return at + r.minLength;
            }
            default: {
                const size_t lengthOctets = r.format == IeFormat::kTLVE ? 2 : 1;
                size_t value = 0;
                if (!ReadLength(r, body, at, 1 + lengthOctets, lengthOctets, value)) return body.size;
                if (!LengthInRange(r, body.data + at, value)) return body.size;
                WriteIe(r, body.data + at, 1 + lengthOctets + value, Octets{body.data + at + 1 + lengthOctets, value});
                return at + 1 + lengthOctets + value;
            }
        }
    }

    Context& ctx_;
    Octets message_;
};

constexpr Text kResultNames[] = {"decoded", "decoded_with_errors", "unknown_message", "not_nas"};
constexpr Text kResultTexts[] = {"decoded", "decoded with errors", "unknown message", "not NAS"};

}  // namespace

void DecodeNestedMessage(Context& ctx, Octets message) {
    if (ctx.nesting >= kMaxNesting) {
        ctx.out.Hex("Contents"_f, message.data, message.size);
        return;
    }
    ++ctx.nesting;
    ctx.out.Begin("Message"_f);
    Walker walker(ctx, message);
    walker.Decode();
    ctx.out.End();
    --ctx.nesting;
}

Result DecodeView(int direction, const uint8_t* message, size_t length, uint32_t options, Emitter& out) {
    static const uint8_t kNothing = 0;
    const uint8_t* octets = message != nullptr ? message : &kNothing;
    if (message == nullptr) length = 0;
    Context ctx{out, direction, options, octets, 0, false, {}};
    if (out.format() == Format::kJson) {
        out.Begin("NAS message"_f);
        out.Ascii("Direction"_f, direction == 1 ? "uplink" : "downlink");
        out.Number("Length"_f, static_cast<int64_t>(length));
    } else {
        char note[160];
        out.BeginNoted("NAS message"_f, Printf(note, "%s, %zu octet%s", direction == 1 ? "uplink" : "downlink",
                                               length, length == 1 ? "" : "s"));
    }
    const bool cut = length > kMaxViewInput;
    Walker walker(ctx, Octets{octets, cut ? kMaxViewInput : length});
    Result result = walker.Decode();
    if (cut) {
        // Where decoding already stopped inside the first 10240 octets, that
        // is the place reported.
        if (!ctx.stop.stopped) {
            ctx.Stopped(octets + kMaxViewInput, {}, "message longer than 10240 octets: the rest is not decoded");
        }
        if (result == Result::kDecoded) result = Result::kDecodedWithErrors;
    }
    if (out.LimitReached()) {
        // Fields were left out; the closing members below have room kept.
        if (!ctx.stop.stopped) ctx.Stopped(octets + (cut ? kMaxViewInput : length), {}, kOutputFull);
        ctx.errors = true;
        out.Resume();
    }
    if (result == Result::kDecoded && ctx.errors) result = Result::kDecodedWithErrors;
    const int index = static_cast<int>(result);
    if (out.format() == Format::kJson) {
        out.Ascii("Result"_f, std::string_view(kResultNames[index].text, kResultNames[index].size));
    } else {
        out.Ascii("Result"_f, std::string_view(kResultTexts[index].text, kResultTexts[index].size));
    }
    if (ctx.stop.stopped) {
        WriteStopPlace(out, "Stopped"_f, ctx.stop.offset, ctx.stop.ie, ctx.stop.reason);
    }
    out.End();
    return result;
}

}  // namespace corvuna::view
