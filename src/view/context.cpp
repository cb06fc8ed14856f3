// SPDX-License-Identifier: Apache-2.0
#include "view/context.h"

#include <cstdio>
#include <cstring>

namespace corvuna::view {

namespace {

void Fill(ErrorNote& note, size_t offset, Label ie, std::string_view reason) {
    note.offset = offset;
    note.ie = ie;
    const size_t n = reason.size() < sizeof note.reason - 1 ? reason.size() : sizeof note.reason - 1;
    std::memcpy(note.reason, reason.data(), n);
    note.reason[n] = '\0';
}

}  // namespace

void Context::Note(const uint8_t* at, Label where, std::string_view reason, bool stops) {
    ErrorNote note;
    Fill(note, OffsetOf(at), where, reason);
    if (errorCount < kMaxErrors) {
        errors[errorCount++] = note;
    } else {
        ++moreErrors;
    }
    if (stops && !stopped_) {
        stopped_ = true;
        stop_ = note;
    }
    out.Error(note);
}

bool RequireOctets(Context& ctx, Octets value, size_t needed) {
    if (value.size >= needed) return true;
    char reason[96];
    const int n = std::snprintf(reason, sizeof reason, "value of %zu octet%s, %zu needed", value.size,
                                value.size == 1 ? "" : "s", needed);
    ctx.ValueError(std::string_view(reason, n > 0 ? static_cast<size_t>(n) : 0));
    return false;
}

TypedValue NextTypedValue(Context& ctx, Octets v, size_t at, std::string_view overrun) {
    if (at + 2 > v.size || at + 2 + v.At(at + 1) > v.size) {
        ctx.ValueErrorAt(v.data + at, overrun);
        return {false, 0, {}};
    }
    return {true, v.At(at), Octets{v.data + at + 2, v.At(at + 1)}};
}

char TbcdDigit(unsigned nibble) {
    static const char kDigits[] = "0123456789*#abcf";
    return kDigits[nibble & 0x0F];
}

Digits IdentityDigits(Context& ctx, Octets v, bool odd, std::string_view what) {
    Digits digits;
    size_t index = 0;
    const auto put = [&](size_t octet, unsigned nibble) {
        ++index;
        if (nibble <= 9) {
            digits.Put(static_cast<char>('0' + nibble));
            return;
        }
        digits.Put('?');
        char reason[96];
        const int n = std::snprintf(reason, sizeof reason, "%.*s digit %zu is 0x%x, not a decimal digit",
                                    static_cast<int>(what.size()), what.data(), index, nibble);
        ctx.ValueErrorAt(v.data + octet, std::string_view(reason, n > 0 ? static_cast<size_t>(n) : 0));
    };
    if (v.size == 0) return digits;
    put(0, v.At(0) >> 4);
    for (size_t i = 1; i < v.size; ++i) {
        put(i, v.At(i) & 0x0F);
        if (i + 1 < v.size || odd) put(i, v.At(i) >> 4);
    }
    return digits;
}

Digits BcdDigits(Octets v) {
    Digits digits;
    for (size_t i = 0; i < v.size; ++i) {
        const unsigned low = v.At(i) & 0x0F, high = v.At(i) >> 4;
        if (low == 0x0F) break;
        digits.Put(TbcdDigit(low));
        if (high == 0x0F) break;
        digits.Put(TbcdDigit(high));
    }
    return digits;
}

Plmn DecodePlmn(Octets three) {
    Plmn plmn;
    const auto put = [&plmn](Digits& digits, unsigned nibble) {
        if (nibble > 9) plmn.valid = false;
        digits.Put(nibble <= 9 ? static_cast<char>('0' + nibble) : '?');
    };
    const uint8_t o1 = three.At(0), o2 = three.At(1), o3 = three.At(2);
    put(plmn.mcc, o1 & 0x0F);
    put(plmn.mcc, o1 >> 4);
    put(plmn.mcc, o2 & 0x0F);
    put(plmn.mnc, o3 & 0x0F);
    put(plmn.mnc, o3 >> 4);
    if ((o2 >> 4) != 0x0F) put(plmn.mnc, o2 >> 4);
    return plmn;
}

void WritePlmn(Context& ctx, Octets three) {
    const Plmn plmn = DecodePlmn(three);
    ctx.out.Ascii("MCC"_f, plmn.mcc.view());
    ctx.out.Ascii("MNC"_f, plmn.mnc.view());
    if (!plmn.valid) ctx.ValueErrorAt(three.data, "MCC or MNC digit that is not a decimal digit");
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

Ipv6Text Ipv6AddressText(Octets sixteen) {
    static const char kHex[] = "0123456789abcdef";
    uint16_t groups[8];
    for (int i = 0; i < 8; ++i) groups[i] = static_cast<uint16_t>(sixteen.Big(static_cast<size_t>(2 * i), 2));
    // The longest run of two or more zero groups is written "::" (RFC 5952).
    int bestStart = -1, bestLength = 1;
    for (int i = 0; i < 8;) {
        if (groups[i] != 0) {
            ++i;
            continue;
        }
        int j = i;
        while (j < 8 && groups[j] == 0) ++j;
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
    bool needColon = false;
    for (int i = 0; i < 8;) {
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

void WriteBitRate(Context& ctx, Label label, int64_t kbps) {
    if (kbps < 0) {
        ctx.out.Absent(label, ctx.direction == 1 ? Text("subscribed maximum bit rate") : Text("reserved"));
        return;
    }
    char text[32];
    const size_t n = FormatDecimal64(kbps, text);
    std::memcpy(text + n, " kbit/s", 7);
    ctx.out.Enum(label, kbps, Text::Printable(text, static_cast<uint32_t>(n + 7)));
}

}  // namespace corvuna::view
