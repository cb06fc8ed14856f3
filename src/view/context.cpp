// SPDX-License-Identifier: Apache-2.0
#include "view/context.h"

#include <cstdio>
#include <cstring>

namespace corvuna::view {

void Context::ValueError(std::string_view reason) {
    errors = true;
    out.String("Error"_f, reason);
}

void Context::Stopped(const uint8_t* at, Label ie, std::string_view reason) {
    errors = true;
    if (!stop.stopped) {
        stop.stopped = true;
        stop.offset = OffsetOf(at);
        stop.ie = ie;
        const size_t n = reason.size() < sizeof stop.reason - 1 ? reason.size() : sizeof stop.reason - 1;
        std::memcpy(stop.reason, reason.data(), n);
        stop.reason[n] = '\0';
    }
    // In a list (the IEs of a message) the error is an entry of its own:
    // {"error":{...}}.
    const bool entry = out.format() == Format::kJson && out.InList();
    if (entry) out.Begin({});
    WriteStopPlace(out, "Error"_f, OffsetOf(at), ie, reason);
    if (entry) out.End();
}

void WriteStopPlace(Emitter& out, Label label, size_t offset, Label ie, std::string_view reason) {
    out.Begin(label);
    out.Number("Offset"_f, static_cast<int64_t>(offset));
    if (ie && out.format() == Format::kJson) {
        out.Identifier("IE"_f, ie);
    } else if (ie) {
        out.String("IE"_f, ie.textView());
    }
    out.String("Reason"_f, reason);
    out.End();
}

char TbcdDigit(unsigned nibble) {
    static const char kDigits[] = "0123456789*#abcf";
    return kDigits[nibble & 0x0F];
}

Plmn DecodePlmn(Octets three) {
    Plmn plmn;
    const uint8_t o1 = three.At(0), o2 = three.At(1), o3 = three.At(2);
    plmn.mcc.Put(TbcdDigit(o1 & 0x0F));
    plmn.mcc.Put(TbcdDigit(o1 >> 4));
    plmn.mcc.Put(TbcdDigit(o2 & 0x0F));
    plmn.mnc.Put(TbcdDigit(o3 & 0x0F));
    plmn.mnc.Put(TbcdDigit(o3 >> 4));
    if ((o2 >> 4) != 0x0F) plmn.mnc.Put(TbcdDigit(o2 >> 4));
    return plmn;
}

void WritePlmn(Context& ctx, Octets three) {
    const Plmn plmn = DecodePlmn(three);
    ctx.out.Ascii("MCC"_f, plmn.mcc.view());
    ctx.out.Ascii("MNC"_f, plmn.mnc.view());
}

Digits Ipv4Text(Octets four) {
    Digits text;
    for (size_t i = 0; i < 4; ++i) {
        if (i > 0) text.Put('.');
        const unsigned v = four.At(i);
        if (v >= 100) text.Put(static_cast<char>('0' + v / 100));
        if (v >= 10) text.Put(static_cast<char>('0' + v / 10 % 10));
        text.Put(static_cast<char>('0' + v % 10));
    }
    return text;
}

namespace {

// Colon-separated groups of 16 bits in hex; with `compress`, the longest
// run of two or more zero groups is written "::" (RFC 5952).
Ipv6Text GroupsText(const uint16_t* groups, int count, bool compress, std::string_view prefix) {
    static const char kHex[] = "0123456789abcdef";
    int bestStart = -1, bestLength = 1;
    for (int i = 0; compress && i < count;) {
        if (groups[i] != 0) {
            ++i;
            continue;
        }
        int j = i;
        while (j < count && groups[j] == 0) ++j;
        if (j - i > bestLength) {
            bestStart = i;
            bestLength = j - i;
        }
        i = j;
    }
    // At most "::" and eight groups of four digits with their colons: 41
    // characters, within the text's room.
    Ipv6Text text;
    static_assert(sizeof text.text >= 2 + 8 * 5);
    char* p = text.text;
    for (char c : prefix) *p++ = c;
    bool needColon = false;
    for (int i = 0; i < count;) {
        if (i == bestStart) {
            *p++ = ':';
            *p++ = ':';
            i += bestLength;
            needColon = false;
            continue;
        }
        if (needColon) *p++ = ':';
        const unsigned g = groups[i];
        const int digits = g >= 0x1000 ? 4 : g >= 0x100 ? 3 : g >= 0x10 ? 2 : 1;
        for (int k = digits - 1; k >= 0; --k) *p++ = kHex[(g >> (4 * k)) & 0x0F];
        needColon = true;
        ++i;
    }
    text.size = static_cast<size_t>(p - text.text);
    return text;
}

}  // namespace

Ipv6Text Ipv6AddressText(Octets sixteen) {
    uint16_t groups[8];
    if (sixteen.size >= 16) {
        for (int i = 0; i < 8; ++i) groups[i] = static_cast<uint16_t>(sixteen.data[2 * i] << 8 | sixteen.data[2 * i + 1]);
    } else {
        for (int i = 0; i < 8; ++i) groups[i] = static_cast<uint16_t>(sixteen.Big(static_cast<size_t>(2 * i), 2));
    }
    return GroupsText(groups, 8, true, "");
}

Ipv6Text InterfaceIdText(Octets eight) {
    uint16_t groups[4];
    for (int i = 0; i < 4; ++i) groups[i] = static_cast<uint16_t>(eight.Big(static_cast<size_t>(2 * i), 2));
    return GroupsText(groups, 4, false, "::");
}

namespace {

int64_t BaseRate(uint8_t v) {
    if (v == 0) return -1;
    if (v <= 63) return v;
    if (v <= 127) return 64 + (v - 64) * 8;
    if (v <= 254) return 576 + (v - 128) * 64;
    return 0;
}

int64_t ExtendedRate(uint8_t v) {
    if (v <= 74) return 8600 + v * 100;
    if (v <= 186) return 16000 + (v - 74) * 1000;
    if (v <= 250) return 128000 + (v - 186) * 2000;
    return 256000;
}

}  // namespace

int64_t BitRateKbps(uint8_t base, uint8_t extended, uint8_t extended2, bool hasExtended, bool hasExtended2) {
    if (hasExtended2 && extended2 != 0) {
        const int64_t v = extended2;
        if (v <= 0x3D) return 256000 + v * 4000;
        if (v <= 0xA1) return 500000 + (v - 0x3D) * 10000;
        if (v <= 0xF6) return 1500000 + (v - 0xA1) * 100000;
        return 10000000;
    }
    if (hasExtended && extended != 0) return ExtendedRate(extended);
    return BaseRate(base);
}

}  // namespace corvuna::view

namespace corvuna::view {

bool RequireOctets(Context& ctx, Octets value, size_t needed) {
    if (value.size >= needed) return true;
    char reason[96];
    const int n = std::snprintf(reason, sizeof reason, "value of %zu octet%s, %zu needed", value.size,
                                value.size == 1 ? "" : "s", needed);
    ctx.ValueError(std::string_view(reason, n > 0 ? static_cast<size_t>(n) : 0));
    return false;
}

}  // namespace corvuna::view
