// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/sm/apn_pdn.h"

#include <cstring>

#include "legacy/doc/elements.h"
#include "legacy/ie/sm/octet_run.h"

namespace corvuna {

namespace {

// --- access point name ---

// Appends one label, octet for octet, at the running end `used` of the
// text (a NUL octet inside a label does not move that end).  The whole
// label is passed over; only what fits in the text is kept.
void AppendLabel(BitCursor& cursor, uint8_t labelLength, AccessPointName& record, int32_t& used) {
    const int32_t room = kApnTextCapacity - used;
    uint8_t* end = reinterpret_cast<uint8_t*>(record.apnText + used);
    if (!TakeOctetRun(cursor, labelLength, end, static_cast<size_t>(room))) return;
    used += labelLength < room ? labelLength : room;
}

// --- PDN address ---

constexpr auto kPdnType = Element("PDNTypeValue", {{1, "IPv4"}, {2, "IPv6"}, {3, "IPv4v6"}}, "reserved");

// --- APN-AMBR ---

// Coded octet -> kbps: within each range of coded values the rate is
// (octet - origin) x step.  The rate at the start of a range is not carried
// over from the range below: the primary octets 64 and 128 both decode to 0.
struct RateRange {
    int32_t first;   // first coded value of the range
    int32_t last;    // last coded value of the range
    int32_t origin;  // coded value that would give 0 kbps
    int32_t step;    // kbps per coded step
};

// APN-AMBR downlink and uplink (value octets 1 and 2).
constexpr RateRange kRateRulePrimary[] = {
    {0, 63, 0, 1},
    {64, 127, 64, 8},
    {128, 255, 128, 64},
};

// APN-AMBR extended downlink and uplink (value octets 3 and 4).
constexpr RateRange kRateRuleExtended[] = {
    {0, 74, 0, 100},
    {75, 186, 74, 1000},
    {187, 255, 186, 2000},
};

template <size_t N>
int32_t DecodeRate(const RateRange (&rule)[N], uint8_t coded) {
    for (const RateRange& range : rule) {
        if (coded >= range.first && coded <= range.last) return (coded - range.origin) * range.step;
    }
    return 0;
}

}  // namespace

int ParseAccessPointName(BitCursor& cursor, int32_t length, AccessPointName& record) {
    return ParseIeValue(cursor, length, [&] {
        std::memset(record.apnText, 0, sizeof record.apnText);
        int32_t used = 0;
        int64_t consumed = 0;
        while (consumed < length) {
            const uint8_t labelLength = ReadOctet(cursor);
            AppendLabel(cursor, labelLength, record, used);
            consumed += labelLength + 1;
        }
    });
}

int ParsePdnAddress(BitCursor& cursor, int32_t length, PdnAddress& record) {
    return ParseIeValue(cursor, length, [&] {
        record.pdnType = ReadOctet(cursor) & 0x07;
        for (int32_t i = 0; i < length - 1; ++i) {
            const uint8_t octet = ReadOctet(cursor);
            if (i < kPdnAddressCapacity) record.address[i] = octet;
        }
    });
}

int RenderPdnAddress(const PdnAddress& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteElement(kPdnType, record.pdnType, out);
    // "a.b.c.d" from the first four address octets, whatever the type.
    char text[100];
    char* end = text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) *end++ = '.';
        const unsigned value = record.address[i];
        if (value >= 100) *end++ = static_cast<char>('0' + value / 100);
        if (value >= 10) *end++ = static_cast<char>('0' + value / 10 % 10);
        *end++ = static_cast<char>('0' + value % 10);
    }
    *end = '\0';
    WriteString("PDN_Address", text, out);
    return 1;
}

int ParseApnAmbr(BitCursor& cursor, int32_t length, ApnAmbr& record) {
    return ParseIeValue(cursor, length, [&] {
        if (length >= 1) {
            record.apnAmbrDl = DecodeRate(kRateRulePrimary, ReadOctet(cursor));
            record.apnAmbrUl = DecodeRate(kRateRulePrimary, ReadOctet(cursor));
        }
        if (length >= 3) {
            record.apnAmbrDlExt = DecodeRate(kRateRuleExtended, ReadOctet(cursor));
            record.apnAmbrUlExt = DecodeRate(kRateRuleExtended, ReadOctet(cursor));
        }
        if (length >= 5) {
            record.apnAmbrDlExt2 = ReadOctet(cursor);
            record.apnAmbrUlExt2 = ReadOctet(cursor);
        }
    });
}

int RenderApnAmbr(const ApnAmbr& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    struct Field {
        Name name;
        const int32_t* value;
    };
    const Field fields[] = {
        {"APN_AMBR_DL", &record.apnAmbrDl},         {"APN_AMBR_UL", &record.apnAmbrUl},
        {"APN_AMBR_DL_EX", &record.apnAmbrDlExt},   {"APN_AMBR_UL_EX", &record.apnAmbrUlExt},
        {"APN_AMBR_DL_EX2", &record.apnAmbrDlExt2}, {"APN_AMBR_UL_EX2", &record.apnAmbrUlExt2},
    };
    for (const Field& field : fields) {
        if (*field.value != 0) WriteNumber(field.name, *field.value, out, "kbps");
    }
    return 1;
}

}  // namespace corvuna
