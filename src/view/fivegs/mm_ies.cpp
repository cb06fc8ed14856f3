// SPDX-License-Identifier: Apache-2.0
// The decoders of the 5GS mobility management and common IEs that are more
// than bit fields (mm_ies.h declares them with their IE types).
#include "view/fivegs/mm_ies.h"

#include <cstdio>
#include <string_view>

#include "view/causes.h"
#include "view/eps/emm_ies.h"
#include "view/walker.h"

namespace corvuna::view::fivegs {

namespace {

void WriteOddEven(Context& ctx, unsigned odd) {
    WriteBit(ctx, "Odd/even indication"_f, odd, "odd number of identity digits", "even number of identity digits");
}

// AMF set ID (10 bits) and AMF pointer (6 bits) of two octets (TS 23.003 2.10.1).
void WriteAmfSetAndPointer(Context& ctx, Octets two) {
    ctx.out.Number("AMF Set ID"_f, static_cast<int64_t>(two.At(0)) << 2 | two.At(1) >> 6);
    ctx.out.Number("AMF Pointer"_f, two.At(1) & 0x3F);
}

void WriteSuci(Context& ctx, Octets v) {
    static constexpr ValueText kSupiFormats[] = {
        {0, "IMSI"}, {1, "Network specific identifier"}, {2, "Global Cable Identifier"}, {3, "Global Line Identifier"}};
    static constexpr ValueText kSchemes[] = {
        {0, "Null scheme"}, {1, "ECIES scheme profile A"}, {2, "ECIES scheme profile B"},
        {12, "Operator-specific protection scheme"}, {13, "Operator-specific protection scheme"},
        {14, "Operator-specific protection scheme"}, {15, "Operator-specific protection scheme"}};
    const unsigned format = (v.At(0) >> 4) & 0x07;
    WriteEnum(ctx, "SUPI format"_f, format, kSupiFormats, "reserved");
    if (format != 0) {
        // The SUCI in NAI format (TS 23.003 28.7.3): characters, each octet
        // outside printable ASCII shown as the code point of its value.
        const Octets nai = v.From(1);
        ctx.out.String(Field<"SUCI NAI", "suci_nai">,
                       std::string_view(reinterpret_cast<const char*>(nai.data), nai.size));
        return;
    }
    if (!RequireOctets(ctx, v, 8)) return;
    WritePlmn(ctx, v.From(1));
    // Routing indicator: up to four digits, the unused ones 0xF.
    Digits routing;
    for (size_t i = 0; i < 4; ++i) {
        const unsigned digit = (v.At(4 + i / 2) >> (4 * (i % 2))) & 0x0F;
        if (digit == 0x0F) break;
        routing.Put(digit <= 9 ? static_cast<char>('0' + digit) : '?');
        if (digit > 9) ctx.ValueErrorAt(v.data + 4 + i / 2, "routing indicator digit that is not a decimal digit");
    }
    ctx.out.Ascii("Routing indicator"_f, routing.view());
    const unsigned scheme = v.At(6) & 0x0F;
    WriteEnum(ctx, "Protection scheme Id"_f, scheme, kSchemes, "reserved");
    ctx.out.Number("Home network public key identifier"_f, v.At(7));
    const Octets output = v.From(8);
    if (scheme == 0) {
        // The null scheme's output is the MSIN in BCD (TS 33.501 C.2).
        ctx.out.Ascii(Field<"MSIN", "msin">, BcdDigits(output).view());
    }
    ctx.out.Hex("Scheme output"_f, output);
}

Text SstText(unsigned sst) {
    switch (sst) {
        case 1: return "eMBB";
        case 2: return "URLLC";
        case 3: return "MIoT";
        case 4: return "V2X";
        case 5: return "HMTC";
        default: return sst >= 128 ? Text("operator-specific") : Text("not standardized in this release");
    }
}

// The contents of an S-NSSAI (TS 24.501 9.11.2.8), whose length tells its
// parts: SST; SST and mapped HPLMN SST; SST and SD; those and the mapped
// HPLMN SST; and the mapped HPLMN SD.
void WriteSNssai(Context& ctx, Octets v) {
    if (v.size == 0 || v.size == 3 || v.size == 6 || v.size == 7 || v.size > 8) {
        ctx.ValueErrorAt(v.data, "S-NSSAI contents of a length no combination of its parts has");
        ctx.out.Hex("Contents"_f, v);
        return;
    }
    ctx.out.Enum(Field<"SST", "sst">, v.At(0), SstText(v.At(0)));
    const bool sd = v.size >= 4;
    if (sd) ctx.out.Hex(Field<"SD", "sd">, v.data + 1, 3);
    const size_t mapped = sd ? 4 : 1;
    if (v.size > mapped) ctx.out.Enum(Field<"Mapped HPLMN SST", "mapped_hplmn_sst">, v.At(mapped), SstText(v.At(mapped)));
    if (v.size == 8) ctx.out.Hex(Field<"Mapped HPLMN SD", "mapped_hplmn_sd">, v.data + 5, 3);
}

// A DNN's text: labels joined by dots (TS 23.003 9.1); false when the
// octets are not label-encoded.
bool DnnText(Octets v, char (&text)[256], size_t& n) {
    n = 0;
    size_t at = 0;
    while (at < v.size) {
        const size_t label = v.At(at);
        if (label == 0 || at + 1 + label > v.size) return false;
        if (n > 0 && n < sizeof text) text[n++] = '.';
        for (size_t i = 0; i < label && n < sizeof text; ++i) text[n++] = static_cast<char>(v.At(at + 1 + i));
        at += 1 + label;
    }
    return true;
}

void WriteDnn(Context& ctx, Octets v) {
    char text[256];
    size_t n = 0;
    if (!DnnText(v, text, n)) {
        ctx.ValueErrorAt(v.data, "DNN is not label-encoded");
        WriteOctets(ctx, v);
        return;
    }
    ctx.out.String(Field<"DNN", "dnn">, std::string_view(text, n));
}

// A list of entries of a length octet and a value (S-NSSAIs, DNNs).
void WriteLengthPrefixed(Context& ctx, Octets v, Label list, Label entry, const char* overrun,
                         void (*write)(Context&, Octets)) {
    ctx.out.BeginList(list);
    size_t at = 0;
    while (at < v.size) {
        const size_t length = v.At(at);
        if (at + 1 + length > v.size) {
            ctx.ValueErrorAt(v.data + at, overrun);
            break;
        }
        ctx.out.Begin(entry);
        write(ctx, Octets{v.data + at + 1, length});
        ctx.out.End();
        at += 1 + length;
    }
    ctx.out.EndList();
}

// TS 24.501 D.6.1: the messages of the UE policy delivery service.
constexpr ValueText kUePolicyMessageTypes[] = {{1, "MANAGE UE POLICY COMMAND"},
                                               {2, "MANAGE UE POLICY COMPLETE"},
                                               {3, "MANAGE UE POLICY COMMAND REJECT"},
                                               {4, "UE STATE INDICATION"},
                                               {5, "UE POLICY PROVISIONING REQUEST"},
                                               {6, "UE POLICY PROVISIONING REJECT"}};

void WriteUePolicyContainer(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 2)) return;
    const unsigned pti = v.At(0);
    ctx.out.Enum("Procedure transaction identity"_f, pti,
                 pti == 0 ? Text("No procedure transaction identity assigned")
                          : pti == 255 ? Text("Reserved") : Text("Procedure transaction identity value"));
    WriteEnum(ctx, "UE policy delivery service message type"_f, v.At(1), kUePolicyMessageTypes, "Reserved");
    ctx.out.Hex("Contents"_f, v.From(2));
}

// TS 24.501 9.11.3.53A.
void WriteUeParametersUpdate(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 17)) return;
    const uint8_t header = v.At(0);
    const bool ack = (header & 1) != 0;
    WriteBit(ctx, "UPU data type"_f, header, "UE acknowledgement", "UE parameters update data");
    if (ack) {
        ctx.out.Hex("UPU-MAC-IUE"_f, v.data + 1, 16);
        return;
    }
    WriteBit(ctx, "Acknowledgement requested (ACK)"_f, header >> 1, "acknowledgement requested",
             "acknowledgement not requested");
    WriteBit(ctx, "Re-registration requested (REG)"_f, header >> 2, "re-registration requested",
             "re-registration not requested");
    if (!RequireOctets(ctx, v, 19)) return;
    ctx.out.Hex("UPU-MAC-IAUSF"_f, v.data + 1, 16);
    ctx.out.Number("CounterUPU"_f, v.Big(17, 2));
    static constexpr ValueText kSetTypes[] = {{1, "Routing indicator update data"},
                                              {2, "Default configured NSSAI update data"},
                                              {3, "Disaster roaming information update data"}};
    ctx.out.BeginList(Field<"UE parameters update data sets", "data_sets">);
    size_t at = 19;
    while (at < v.size) {
        const size_t length = v.Big(at + 1, 2);
        if (at + 3 > v.size || at + 3 + length > v.size) {
            ctx.ValueErrorAt(v.data + at, "UE parameters update data set runs past the end of the container");
            break;
        }
        ctx.out.Begin("UE parameters update data set"_f);
        WriteEnum(ctx, "UE parameters update data set type"_f, v.At(at) & 0x0F, kSetTypes, "reserved");
        ctx.out.Hex("Contents"_f, v.data + at + 3, length);
        ctx.out.End();
        at += 3 + length;
    }
    ctx.out.EndList();
}

struct EntryIe {
    uint8_t iei;
    Label label;
    const IeType* type;
};
// The optional IEs of a payload container entry (TS 24.501 9.11.3.39).
constexpr EntryIe kEntryIes[] = {
    {0x12, "PDU session ID"_f, &kPduSessionIdentity2},
    {0x24, "Additional information"_f, &kAdditionalInformation},
    {0x58, "5GMM cause"_f, &kMmCause},
    {0x37, "Back-off timer value"_f, &eps::kGprsTimer3},
    {0x59, "Old PDU session ID"_f, &kPduSessionIdentity2},
    {0x80, "Request type"_f, &kRequestType},
    {0x22, "S-NSSAI"_f, &kSNssai},
    {0x25, "DNN"_f, &kDnn},
};

void WritePayload(Context& ctx, int type, Octets v, bool inEntry);

void WriteMultiplePayloads(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    ctx.out.Number("Number of entries"_f, v.At(0));
    ctx.out.BeginList(Field<"Payload container entries", "entries">);
    size_t at = 1;
    for (unsigned entry = 0; entry < v.At(0); ++entry) {
        if (at + 3 > v.size) {
            ctx.ValueErrorAt(v.data + at, "payload container ends before its entries");
            break;
        }
        const size_t length = v.Big(at, 2);
        if (length < 1 || at + 2 + length > v.size) {
            ctx.ValueErrorAt(v.data + at, "payload container entry runs past the end of the container");
            break;
        }
        const Octets e{v.data + at + 2, length};
        const unsigned optional = e.At(0) >> 4, type = e.At(0) & 0x0F;
        ctx.out.Begin("Payload container entry"_f);
        WriteEnum(ctx, "Payload container type"_f, type, kPayloadContainerTypeValues, "reserved");
        ctx.out.BeginList(Field<"Optional IEs", "optional_ies">);
        size_t in = 1;
        bool fits = true;
        for (unsigned i = 0; i < optional && fits; ++i) {
            const TypedValue ie =
                NextTypedValue(ctx, e, in, "optional IE runs past the end of the payload container entry");
            fits = ie.fits;
            if (!fits) continue;
            const uint8_t iei = ie.type;
            const Octets value = ie.value;
            const EntryIe* known = nullptr;
            for (const EntryIe& k : kEntryIes) {
                if (k.iei == iei) known = &k;
            }
            ctx.out.Begin("Optional IE"_f);
            ctx.out.HexNumber("Type of optional IE"_f, iei, 2);
            if (known != nullptr) {
                ctx.out.Begin(known->label);
                DecodeValue(ctx, *known->type, value);
                ctx.out.End();
            } else {
                ctx.out.Hex("Value"_f, value);
            }
            ctx.out.End();
            in += 2 + value.size;
        }
        ctx.out.EndList();
        if (fits) {
            ctx.out.Begin("Payload container entry contents"_f);
            WritePayload(ctx, static_cast<int>(type), e.From(in), true);
            ctx.out.End();
        }
        ctx.out.End();
        at += 2 + length;
    }
    ctx.out.EndList();
}

void WritePayload(Context& ctx, int type, Octets v, bool inEntry) {
    // Payloads of other protocols: what they carry, then their octets.
    static constexpr ValueText kCarried[] = {{2, "SMS message (CP-DATA, CP-ACK or CP-ERROR, TS 24.011)"},
                                             {3, "LPP message (TS 37.355)"},
                                             {7, "Location services message (TS 24.080, TS 24.572)"}};
    // Payloads the view decodes (N1 SM information: a 5GSM message).
    struct Decoder {
        int type;
        void (*decode)(Context& ctx, Octets value);
    };
    static constexpr Decoder kDecoders[] = {
        {1, DecodeNestedMessage}, {4, DecodeSorTransparentContainer}, {5, WriteUePolicyContainer},
        {6, WriteUeParametersUpdate}};
    for (const Decoder& d : kDecoders) {
        if (d.type == type) return d.decode(ctx, v);
    }
    if (type == 15 && !inEntry) return WriteMultiplePayloads(ctx, v);
    if (type == 15) ctx.ValueErrorAt(v.data, "multiple payloads inside a payload container entry");
    if (const Text carried = LookupText(kCarried, type, Text())) {
        ctx.out.Ascii("Carries"_f, std::string_view(carried.text, carried.size));
    }
    WriteOctets(ctx, v);
}

}  // namespace

void DecodePayloadContainerType(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    const unsigned type = v.At(0) & 0x0F;
    WriteEnum(ctx, "Payload container type value"_f, type, kPayloadContainerTypeValues, "reserved");
    ctx.payloadContainerType = static_cast<int>(type);
}

void DecodePayloadContainer(Context& ctx, Octets v) {
    if (ctx.payloadContainerType < 0) {
        // No payload container type before it: what it carries is not known.
        ctx.out.Null("Payload container type"_f);
        WriteOctets(ctx, v);
        return;
    }
    WritePayload(ctx, ctx.payloadContainerType, v, false);
}

void DecodeMobileIdentity(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    const uint8_t first = v.At(0);
    const unsigned type = first & 0x07;
    if (type == 3 || type == 5) WriteOddEven(ctx, (first >> 3) & 1);
    WriteEnum(ctx, "Type of identity"_f, type, kIdentityTypeValues, "reserved");
    switch (type) {
        case 1:
            WriteSuci(ctx, v);
            break;
        case 2:
            if (!RequireOctets(ctx, v, 11)) return;
            WritePlmn(ctx, v.From(1));
            ctx.out.Number("AMF Region ID"_f, v.At(4));
            WriteAmfSetAndPointer(ctx, v.From(5));
            ctx.out.Hex(Field<"5G-TMSI", "5g_tmsi">, v.data + 7, 4);
            break;
        case 3:
        case 5: {
            const bool imei = type == 3;
            const Digits digits = IdentityDigits(ctx, v, ((first >> 3) & 1) != 0, imei ? "IMEI" : "IMEISV");
            ctx.out.Ascii(imei ? "IMEI"_f : "IMEISV"_f, digits.view());
            break;
        }
        case 4:
            if (!RequireOctets(ctx, v, 7)) return;
            WriteAmfSetAndPointer(ctx, v.From(1));
            ctx.out.Hex(Field<"5G-TMSI", "5g_tmsi">, v.data + 3, 4);
            break;
        case 6: {
            if (!RequireOctets(ctx, v, 7)) return;
            WriteBit(ctx, "MAC address usage restriction indication (MAUR)"_f, first >> 3,
                     "MAC address is not usable as an equipment identifier", "no restrictions");
            static const char kHex[] = "0123456789abcdef";
            char text[17];
            for (size_t i = 0; i < 6; ++i) {
                text[3 * i] = kHex[v.At(1 + i) >> 4];
                text[3 * i + 1] = kHex[v.At(1 + i) & 0x0F];
                if (i < 5) text[3 * i + 2] = ':';
            }
            ctx.out.Ascii("MAC address"_f, std::string_view(text, 17));
            break;
        }
        case 7:
            if (!RequireOctets(ctx, v, 9)) return;
            ctx.out.Hex(Field<"EUI-64", "eui_64">, v.data + 1, 8);
            break;
        default:
            break;
    }
}

void DecodeTrackingAreaIdentity(Context& ctx, Octets v) { eps::WriteTrackingAreaIdentity(ctx, v, 3); }

void DecodeTrackingAreaIdentityList(Context& ctx, Octets v) { eps::WriteTrackingAreaIdentityList(ctx, v, 3, true); }

void DecodePlmnIdentity(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 3)) WritePlmn(ctx, v);
}

void DecodeSNssai(Context& ctx, Octets v) { WriteSNssai(ctx, v); }

void DecodeNssai(Context& ctx, Octets v) {
    WriteLengthPrefixed(ctx, v, Field<"S-NSSAIs", "s_nssais">, "S-NSSAI"_f, "S-NSSAI runs past the end of the IE",
                        WriteSNssai);
}

void DecodeRejectedNssai(Context& ctx, Octets v) {
    static constexpr ValueText kCauses[] = {
        {0, "S-NSSAI not available in the current PLMN or SNPN"},
        {1, "S-NSSAI not available in the current registration area"},
        {2, "S-NSSAI not available due to the failed or revoked network slice-specific authentication and "
            "authorization"},
        {3, "S-NSSAI not available due to maximum number of UEs reached"}};
    ctx.out.BeginList(Field<"Rejected S-NSSAIs", "rejected_s_nssais">);
    size_t at = 0;
    while (at < v.size) {
        const size_t length = v.At(at) >> 4;
        if (at + 1 + length > v.size) {
            ctx.ValueErrorAt(v.data + at, "rejected S-NSSAI runs past the end of the IE");
            break;
        }
        ctx.out.Begin("Rejected S-NSSAI"_f);
        WriteEnum(ctx, "Cause value"_f, v.At(at) & 0x0F, kCauses,
                  "unused; shall be interpreted as \"S-NSSAI not available in the current PLMN or SNPN\"");
        WriteSNssai(ctx, Octets{v.data + at + 1, length});
        ctx.out.End();
        at += 1 + length;
    }
    ctx.out.EndList();
}

void DecodeDnn(Context& ctx, Octets v) { WriteDnn(ctx, v); }

void DecodeLadnIndication(Context& ctx, Octets v) {
    WriteLengthPrefixed(ctx, v, Field<"DNNs", "dnns">, "DNN entry"_f, "DNN runs past the end of the IE", WriteDnn);
}

void DecodePduSessionIdentity2(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    const unsigned psi = v.At(0);
    ctx.out.Enum("PDU session identity"_f, psi,
                 psi == 0    ? Text("No PDU session identity assigned")
                 : psi <= 15 ? Text("PDU session identity value")
                             : Text("Reserved"));
}

void DecodePsiBitmap(Context& ctx, Octets v) {
    // PSI 0 (bit 1 of the first octet) is spare.
    eps::WriteIdentityBitmap(ctx, v, Field<"PDU session identities", "psis">, "PSI"_f, 1);
}

void DecodeReactivationErrorCause(Context& ctx, Octets v) {
    ctx.out.BeginList(Field<"PDU sessions", "pdu_sessions">);
    for (size_t at = 0; at + 2 <= v.size; at += 2) {
        ctx.out.Begin("PDU session"_f);
        ctx.out.Number("PDU session identity"_f, v.At(at));
        ctx.out.Enum("Cause value"_f, v.At(at + 1), kMmCauseTexts(v.At(at + 1)));
        ctx.out.End();
    }
    ctx.out.EndList();
    if (v.size % 2 != 0) ctx.ValueError("length is not a multiple of 2 octets");
}

void DecodeSorTransparentContainer(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 17)) return;
    const uint8_t header = v.At(0);
    WriteBit(ctx, "SOR data type"_f, header, "acknowledgement", "steering of roaming information");
    if ((header & 1) != 0) {
        ctx.out.Hex("SOR-MAC-IUE"_f, v.data + 1, 16);
        return;
    }
    const bool listed = (header >> 1) & 1, plmnList = (header >> 2) & 1;
    WriteBit(ctx, "List indication"_f, header >> 1,
             "list of preferred PLMN/access technology combinations is provided",
             "no list of preferred PLMN/access technology combinations is provided");
    WriteBit(ctx, "List type"_f, header >> 2, "PLMN ID and access technology list", "secured packet");
    WriteBit(ctx, "Acknowledgement requested (ACK)"_f, header >> 3, "acknowledgement requested",
             "acknowledgement not requested");
    if (!RequireOctets(ctx, v, 19)) return;
    ctx.out.Hex("SOR-MAC-IAUSF"_f, v.data + 1, 16);
    ctx.out.Number("CounterSOR"_f, v.Big(17, 2));
    const Octets list = v.From(19);
    if (!listed) return;
    if (!plmnList) {
        ctx.out.Hex("Secured packet"_f, list);
        return;
    }
    ctx.out.BeginList(Field<"PLMN ID and access technology list", "plmns">);
    for (size_t at = 0; at + 5 <= list.size; at += 5) {
        ctx.out.Begin("PLMN ID and access technology"_f);
        WritePlmn(ctx, list.From(at));
        ctx.out.HexNumber("Access technology identifier"_f, list.Big(at + 3, 2), 4);
        ctx.out.End();
    }
    ctx.out.EndList();
    if (list.size % 5 != 0) ctx.ValueErrorAt(list.data, "list length is not a multiple of 5 octets");
}

}  // namespace corvuna::view::fivegs
