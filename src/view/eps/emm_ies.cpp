// SPDX-License-Identifier: Apache-2.0
// The decoders of the EPS mobility management IEs that are more than bit
// fields (emm_ies.h declares them with their IE types).
#include "view/eps/emm_ies.h"

#include <cstdio>
#include <string_view>

#include "view/walker.h"

namespace corvuna::view::eps {

namespace {

void WriteOddEven(Context& ctx, unsigned odd) {
    WriteBit(ctx, "Odd/even indication"_f, odd, "odd number of identity digits",
             "even number of identity digits and also when the GUTI is used");
}

}  // namespace

void DecodeNothing(Context&, Octets) {}

void DecodeEpsMobileIdentity(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTypes[] = {{1, "IMSI"}, {3, "IMEI"}, {6, "GUTI"}};
    const unsigned type = v.At(0) & 0x07;
    WriteOddEven(ctx, (v.At(0) >> 3) & 1);
    WriteEnum(ctx, "Type of identity"_f, type, kTypes, "reserved");
    if (type == 6) {
        if (!RequireOctets(ctx, v, 11)) return;
        WritePlmn(ctx, v.From(1));
        ctx.out.Number("MME group ID"_f, v.Big(4, 2));
        ctx.out.Number("MME code"_f, v.At(6));
        ctx.out.Hex("M-TMSI"_f, v.data + 7, 4);
    } else if (type == 1 || type == 3) {
        const Digits digits = IdentityDigits(ctx, v, ((v.At(0) >> 3) & 1) != 0, type == 1 ? "IMSI" : "IMEI");
        ctx.out.Ascii(type == 1 ? "IMSI"_f : "IMEI"_f, digits.view());
    } else {
        WriteOctets(ctx, v.From(1), "Identity"_f);
    }
}

void DecodeMobileIdentity(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kTypes[] = {{0, "No Identity"}, {1, "IMSI"}, {2, "IMEI"}, {3, "IMEISV"},
                                    {4, "TMSI/P-TMSI/M-TMSI"}, {5, "TMGI and optional MBMS Session Identity"}};
    const uint8_t first = v.At(0);
    const unsigned type = first & 0x07;
    if (type != 5) WriteOddEven(ctx, (first >> 3) & 1);
    WriteEnum(ctx, "Type of identity"_f, type, kTypes, "reserved");
    switch (type) {
        case 1:
        case 2:
        case 3: {
            static constexpr Label kNames[] = {"IMSI"_f, "IMEI"_f, "IMEISV"_f};
            static constexpr std::string_view kWhat[] = {"IMSI", "IMEI", "IMEISV"};
            ctx.out.Ascii(kNames[type - 1], IdentityDigits(ctx, v, ((first >> 3) & 1) != 0, kWhat[type - 1]).view());
            break;
        }
        case 4:
            if (!RequireOctets(ctx, v, 5)) return;
            ctx.out.Hex("TMSI/P-TMSI/M-TMSI"_f, v.data + 1, 4);
            break;
        case 5: {
            const bool sessionId = (first >> 5) & 1, mccMnc = (first >> 4) & 1;
            WriteBit(ctx, "MBMS Session Identity indication"_f, sessionId, "MBMS Session Identity is present",
                     "MBMS Session Identity is not present");
            WriteBit(ctx, "MCC/MNC indication"_f, mccMnc, "MCC/MNC is present", "MCC/MNC is not present");
            if (!RequireOctets(ctx, v, 4 + (mccMnc ? 3 : 0) + (sessionId ? 1 : 0))) return;
            ctx.out.Hex("MBMS Service ID"_f, v.data + 1, 3);
            size_t at = 4;
            if (mccMnc) {
                WritePlmn(ctx, v.From(at));
                at += 3;
            }
            if (sessionId) ctx.out.Number("MBMS Session Identity"_f, v.At(at));
            break;
        }
        default:
            break;
    }
}


namespace {

// A PLMN followed by a code of `octets` octets: a TAI (TAC) or a LAI (LAC).
void WritePlmnAndCode(Context& ctx, Octets v, Label code, unsigned octets) {
    if (!RequireOctets(ctx, v, 3 + octets)) return;
    WritePlmn(ctx, v);
    ctx.out.Number(code, v.Big(3, octets));
}

void WriteTai(Context& ctx, Octets plmn, uint32_t tac) {
    ctx.out.Begin(Field<"Tracking area identity", "tai">);
    WritePlmn(ctx, plmn);
    ctx.out.Number("TAC"_f, tac);
    ctx.out.End();
}

}  // namespace

void WriteTrackingAreaIdentity(Context& ctx, Octets v, unsigned tacOctets) {
    WritePlmnAndCode(ctx, v, "TAC"_f, tacOctets);
}

void WriteTrackingAreaIdentityList(Context& ctx, Octets v, unsigned tacOctets, bool errorAtPartialList) {
    static constexpr ValueText kTypes[] = {
        {0, "list of TACs belonging to one PLMN, with non-consecutive TAC values"},
        {1, "list of TACs belonging to one PLMN, with consecutive TAC values"},
        {2, "list of TAIs belonging to different PLMNs"},
    };
    const unsigned tai = 3 + tacOctets;
    const uint32_t tacMask = tacOctets == 3 ? 0xFFFFFF : 0xFFFF;
    ctx.out.BeginList(Field<"Partial tracking area identity lists", "partial_lists">);
    size_t at = 0;
    while (at < v.size) {
        const uint8_t header = v.At(at);
        const unsigned type = (header >> 5) & 0x03, count = (header & 0x1F) + 1u;
        const size_t need = type == 0 ? 1 + 3 + tacOctets * count : type == 1 ? 1 + tai : 1 + tai * count;
        ctx.out.Begin("Partial tracking area identity list"_f);
        WriteEnum(ctx, "Type of list"_f, type, kTypes, "reserved");
        ctx.out.Number("Number of elements"_f, count);
        if (type == 3 || at + need > v.size) {
            const char* reason = type == 3 ? "reserved type of list" : "partial list runs past the end of the IE";
            if (errorAtPartialList) {
                ctx.ValueErrorAt(v.data + at, reason);
            } else {
                ctx.ValueError(reason);
            }
            ctx.out.End();
            break;
        }
        ctx.out.BeginList(Field<"TAIs", "tais">);
        for (unsigned i = 0; i < count; ++i) {
            if (type == 0) WriteTai(ctx, v.From(at + 1), v.Big(at + 4 + tacOctets * i, tacOctets));
            if (type == 1) WriteTai(ctx, v.From(at + 1), (v.Big(at + 4, tacOctets) + i) & tacMask);
            if (type == 2) WriteTai(ctx, v.From(at + 1 + tai * i), v.Big(at + 4 + tai * i, tacOctets));
        }
        ctx.out.EndList();
        ctx.out.End();
        at += need;
    }
    ctx.out.EndList();
}

void DecodeTrackingAreaIdentity(Context& ctx, Octets v) { WriteTrackingAreaIdentity(ctx, v, 2); }

void DecodeTrackingAreaIdentityList(Context& ctx, Octets v) { WriteTrackingAreaIdentityList(ctx, v, 2, false); }

void DecodeLocationAreaIdentification(Context& ctx, Octets v) { WritePlmnAndCode(ctx, v, "LAC"_f, 2); }

void DecodePlmnList(Context& ctx, Octets v) {
    ctx.out.BeginList(Field<"PLMNs", "plmns">);
    for (size_t at = 0; at + 3 <= v.size; at += 3) {
        ctx.out.Begin("PLMN"_f);
        WritePlmn(ctx, v.From(at));
        ctx.out.End();
    }
    ctx.out.EndList();
    if (v.size % 3 != 0) ctx.ValueError("length is not a multiple of 3 octets");
}

void WriteIdentityBitmap(Context& ctx, Octets v, Label list, Label identity, unsigned first) {
    if (!RequireOctets(ctx, v, 2)) return;
    ctx.out.BeginList(list);
    for (unsigned id = first; id < 16; ++id) {
        if ((v.At(id / 8) >> (id % 8)) & 1u) ctx.out.Number(identity, id);
    }
    ctx.out.EndList();
}

void DecodeEpsBearerContextStatus(Context& ctx, Octets v) {
    WriteIdentityBitmap(ctx, v, Field<"Active EPS bearer identities", "active_ebis">, "EBI"_f, 0);
}

void DecodeEmergencyNumberList(Context& ctx, Octets v) {
    static constexpr Text kServices[] = {"Police", "Ambulance", "Fire Brigade", "Marine Guard", "Mountain Rescue"};
    ctx.out.BeginList(Field<"Emergency numbers", "numbers">);
    size_t at = 0;
    while (at < v.size) {
        const size_t length = v.At(at);
        if (length == 0 || at + 1 + length > v.size) {
            ctx.ValueError("emergency number information runs past the end of the IE");
            break;
        }
        ctx.out.Begin("Emergency number information"_f);
        const uint8_t category = v.At(at + 1) & 0x1F;
        ctx.out.BeginList(Field<"Emergency service category", "categories">);
        for (unsigned bit = 0; bit < 5; ++bit) {
            if ((category >> bit) & 1u) ctx.out.Ascii("Service"_f, std::string_view(kServices[bit].text, kServices[bit].size));
        }
        ctx.out.EndList();
        ctx.out.Ascii("Number"_f, BcdDigits(Octets{v.data + at + 2, length - 1}).view());
        ctx.out.End();
        at += 1 + length;
    }
    ctx.out.EndList();
}


void WriteTimer(Context& ctx, uint8_t octet, bool timer3) {
    static constexpr ValueText kUnits[] = {{0, "value is incremented in multiples of 2 seconds"},
                                    {1, "value is incremented in multiples of 1 minute"},
                                    {2, "value is incremented in multiples of decihours"},
                                    {7, "value indicates that the timer is deactivated"}};
    static constexpr ValueText kUnits3[] = {{0, "value is incremented in multiples of 10 minutes"},
                                     {1, "value is incremented in multiples of 1 hour"},
                                     {2, "value is incremented in multiples of 10 hours"},
                                     {3, "value is incremented in multiples of 2 seconds"},
                                     {4, "value is incremented in multiples of 30 seconds"},
                                     {5, "value is incremented in multiples of 1 minute"},
                                     {6, "value is incremented in multiples of 320 hours"},
                                     {7, "value indicates that the timer is deactivated"}};
    constexpr int64_t kSeconds[] = {2, 60, 360, 60, 60, 60, 60, 0};
    constexpr int64_t kSeconds3[] = {600, 3600, 36000, 2, 30, 60, 1152000, 0};
    const unsigned unit = octet >> 5, value = octet & 0x1F;
    if (timer3) {
        WriteEnum(ctx, "Unit"_f, unit, kUnits3, "");
    } else {
        // Other values are interpreted as multiples of 1 minute.
        WriteEnum(ctx, "Unit"_f, unit, kUnits, "value is incremented in multiples of 1 minute");
    }
    ctx.out.Number("Timer value"_f, value);
    if (unit == 7) {
        ctx.out.Flag("Deactivated"_f, true, "yes", "no");
    } else {
        ctx.out.Number("Seconds"_f, value * (timer3 ? kSeconds3 : kSeconds)[unit]);
    }
}

void DecodeGprsTimer(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) WriteTimer(ctx, v.At(0), false);
}
void DecodeGprsTimer3(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) WriteTimer(ctx, v.At(0), true);
}


void DecodeSupportedCodecList(Context& ctx, Octets v) {
    ctx.out.BeginList(Field<"Codecs", "codecs">);
    size_t at = 0;
    while (at + 2 <= v.size) {
        const size_t length = v.At(at + 1);
        if (at + 2 + length > v.size) {
            ctx.ValueError("codec bitmap runs past the end of the IE");
            break;
        }
        ctx.out.Begin("Codec"_f);
        ctx.out.HexNumber("System identification"_f, v.At(at), 2);
        ctx.out.Hex("Codec bitmap"_f, v.data + at + 2, length);
        ctx.out.End();
        at += 2 + length;
    }
    ctx.out.EndList();
}



// The GSM 7-bit default alphabet (TS 23.038 6.2.1) in UTF-8, and its
// extension table after the escape 0x1B.
constexpr const char* kGsm7[128] = {
    "@", "\xC2\xA3", "$", "\xC2\xA5", "\xC3\xA8", "\xC3\xA9", "\xC3\xB9", "\xC3\xAC", "\xC3\xB2", "\xC3\x87",
    "\n", "\xC3\x98", "\xC3\xB8", "\r", "\xC3\x85", "\xC3\xA5", "\xCE\x94", "_", "\xCE\xA6", "\xCE\x93",
    "\xCE\x9B", "\xCE\xA9", "\xCE\xA0", "\xCE\xA8", "\xCE\xA3", "\xCE\x98", "\xCE\x9E", "\xC2\xA0", "\xC3\x86",
    "\xC3\xA6", "\xC3\x9F", "\xC3\x89", " ", "!", "\"", "#", "\xC2\xA4", "%", "&", "'", "(", ")", "*", "+", ",",
    "-", ".", "/", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ":", ";", "<", "=", ">", "?", "\xC2\xA1",
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R", "S", "T", "U",
    "V", "W", "X", "Y", "Z", "\xC3\x84", "\xC3\x96", "\xC3\x91", "\xC3\x9C", "\xC2\xA7", "\xC2\xBF", "a", "b",
    "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r", "s", "t", "u", "v", "w",
    "x", "y", "z", "\xC3\xA4", "\xC3\xB6", "\xC3\xB1", "\xC3\xBC", "\xC3\xA0",
};

const char* Gsm7Extension(unsigned septet) {
    switch (septet) {
        case 0x0A: return "\f";
        case 0x14: return "^";
        case 0x28: return "{";
        case 0x29: return "}";
        case 0x2F: return "\\";
        case 0x3C: return "[";
        case 0x3D: return "~";
        case 0x3E: return "]";
        case 0x40: return "|";
        case 0x65: return "\xE2\x82\xAC";
        default: return " ";
    }
}

// UTF-8 text of at most 1024 octets.
struct Utf8 {
    char text[1024] = {};
    size_t size = 0;
    void Put(const char* s) {
        for (; *s != '\0' && size < sizeof text; ++s) text[size++] = *s;
    }
    void PutCodePoint(uint32_t c) {
        char b[4];
        size_t n = 0;
        if (c < 0x80) {
            b[n++] = static_cast<char>(c);
        } else if (c < 0x800) {
            b[n++] = static_cast<char>(0xC0 | c >> 6);
            b[n++] = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            b[n++] = static_cast<char>(0xE0 | c >> 12);
            b[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            b[n++] = static_cast<char>(0x80 | (c & 0x3F));
        }
        if (size + n > sizeof text) return;
        for (size_t i = 0; i < n; ++i) text[size++] = b[i];
    }
};

void DecodeNetworkName(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    static constexpr ValueText kCoding[] = {{0, "Cell Broadcast data coding scheme, GSM default alphabet"}, {1, "UCS2 (16 bit)"}};
    const uint8_t o1 = v.At(0);
    const unsigned coding = (o1 >> 4) & 0x07, spare = o1 & 0x07;
    WriteEnum(ctx, "Coding scheme"_f, coding, kCoding, "reserved");
    WriteBit(ctx, "Add CI"_f, o1 >> 3, "The MS should add the letters for the Country's Initials and a separator",
             "The MS should not add the letters for the Country's Initials");
    ctx.out.Number("Number of spare bits in last octet"_f, spare);
    const Octets text = v.From(1);
    Utf8 name;
    if (coding == 0) {
        const size_t bits = text.size * 8;
        const size_t septets = (bits >= spare ? bits - spare : 0) / 7;
        bool escape = false;
        for (size_t i = 0; i < septets; ++i) {
            const size_t bit = i * 7;
            const unsigned low = text.At(bit / 8), high = text.At(bit / 8 + 1);
            const unsigned septet = ((low | high << 8) >> (bit % 8)) & 0x7F;
            if (escape) {
                name.Put(Gsm7Extension(septet));
                escape = false;
            } else if (septet == 0x1B) {
                escape = true;
            } else {
                name.Put(kGsm7[septet]);
            }
        }
    } else if (coding == 1) {
        for (size_t i = 0; i + 1 < text.size; i += 2) {
            const uint32_t unit = text.Big(i, 2);
            // A surrogate half is no character on its own.
            name.PutCodePoint(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
        }
    } else {
        WriteOctets(ctx, text, "Text octets"_f);
        return;
    }
    ctx.out.String("Text string"_f, std::string_view(name.text, name.size), true);
}

// The time zone octet (TS 24.008 10.5.3.8): quarters of an hour from UTC.
void WriteTimeZone(Context& ctx, uint8_t octet) {
    const int quarters = (octet & 0x07) * 10 + (octet >> 4);
    const int signedQuarters = (octet & 0x08) != 0 ? -quarters : quarters;
    // "UTC+hh:mm" (quarters <= 85: hours two digits, minutes 00 to 45).
    const int hours = quarters / 4, minutes = quarters % 4 * 15;
    const char text[9] = {'U', 'T', 'C', signedQuarters < 0 ? '-' : '+', static_cast<char>('0' + hours / 10),
                          static_cast<char>('0' + hours % 10), ':', static_cast<char>('0' + minutes / 10),
                          static_cast<char>('0' + minutes % 10)};
    ctx.out.Enum("Time zone"_f, signedQuarters, Text::Trusted(text, sizeof text));
}

void DecodeTimeZone(Context& ctx, Octets v) {
    if (RequireOctets(ctx, v, 1)) WriteTimeZone(ctx, v.At(0));
}

int SwappedBcd(uint8_t octet) { return (octet & 0x0F) * 10 + (octet >> 4); }

void DecodeTimeZoneAndTime(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 7)) return;
    ctx.out.Number("Year"_f, 2000 + SwappedBcd(v.At(0)));
    ctx.out.Number("Month"_f, SwappedBcd(v.At(1)));
    ctx.out.Number("Day"_f, SwappedBcd(v.At(2)));
    ctx.out.Number("Hour"_f, SwappedBcd(v.At(3)));
    ctx.out.Number("Minute"_f, SwappedBcd(v.At(4)));
    ctx.out.Number("Second"_f, SwappedBcd(v.At(5)));
    WriteTimeZone(ctx, v.At(6));
}

void DecodeCli(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 1)) return;
    const uint8_t o1 = v.At(0);
    ctx.out.Number("Type of number"_f, (o1 >> 4) & 0x07);
    ctx.out.Number("Numbering plan identification"_f, o1 & 0x0F);
    size_t at = 1;
    if ((o1 & 0x80) == 0 && v.size > 1) {
        static constexpr ValueText kPresentation[] = {{0, "Presentation allowed"},
                                               {1, "Presentation restricted"},
                                               {2, "Number not available due to interworking"}};
        static constexpr ValueText kScreening[] = {{0, "User-provided, not screened"},
                                            {1, "User-provided, verified and passed"},
                                            {2, "User-provided, verified and failed"},
                                            {3, "Network provided"}};
        WriteEnum(ctx, "Presentation indicator"_f, (v.At(1) >> 5) & 0x03, kPresentation, "Reserved");
        WriteEnum(ctx, "Screening indicator"_f, v.At(1) & 0x03, kScreening, "");
        at = 2;
    }
    ctx.out.Ascii("Number"_f, BcdDigits(v.From(at)).view());
}


void DecodeNasMessageContainer(Context& ctx, Octets v) {
    ctx.out.Ascii("Carries"_f, "SMS message (CP-DATA, CP-ACK or CP-ERROR, TS 24.011)");
    WriteOctets(ctx, v);
}


void DecodeTmsiBasedNriContainer(Context& ctx, Octets v) {
    if (!RequireOctets(ctx, v, 2)) return;
    ctx.out.Number("NRI container value"_f, static_cast<int64_t>(v.At(0)) << 2 | v.At(1) >> 6);
}


}  // namespace corvuna::view::eps
