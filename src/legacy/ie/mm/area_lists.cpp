// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/mm/area_lists.h"

#include "legacy/doc/elements.h"
#include "legacy/ie/mm/plmn.h"

namespace corvuna {

namespace {

// A tracking area identity list never starts with this octet as its header
// (type of list 3 is reserved); a list that does is read without header.
constexpr uint8_t kHeaderlessTaiListMark = 0x64;

// EPS bearer context status (TS 24.301 9.9.2.1); the text for an active
// bearer begins with a blank.
constexpr auto kBearerState = Element(
    "EBI",
    {
        "the ESM state of the corresponding EPS bearer context is BEARER CONTEXT-INACTIVE",
        " the ESM state of the corresponding EPS bearer context is BEARER CONTEXT-ACTIVE",
    });

// Two digits when MNC digit 3 is the filler 0xF, otherwise three.
int32_t PlmnListMnc(const PlmnOctets& p) { return (p.o2 >> 4) == 0x0F ? TwoDigitMnc(p) : ThreeDigitMnc(p); }

// A PLMN identity that starts with the octet `first`, then a 16-bit area
// code (the TAC of a TAI, the LAC of a LAI).
void ReadArea(BitCursor& cursor, uint8_t first, int32_t& mcc, int32_t& mnc, int32_t& areaCode) {
    const PlmnOctets plmn = ReadPlmn(cursor, first);
    mcc = Mcc(plmn);
    mnc = TwoDigitMnc(plmn);
    areaCode = static_cast<int32_t>(ReadBits(cursor, 16));
}

// "MCC", "MNC" and the area code's element.
[[gnu::always_inline]] inline int RenderArea(int32_t mcc, int32_t mnc, Name areaCodeName, int32_t areaCode, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteNumber("MCC", mcc, out);
    WriteNumber("MNC", mnc, out);
    WriteNumber(areaCodeName, areaCode, out);
    return 1;
}

// Appends one digit unless the number already holds all it can keep.
void AppendDigit(EmergencyNumber& number, int digit) {
    if (number.digitCount < 0 || number.digitCount >= static_cast<int32_t>(kMaxEmergencyDigits)) return;
    number.numberDigits[number.digitCount] = static_cast<char>('0' + digit);
    ++number.digitCount;
    number.numberDigits[number.digitCount] = '\0';
}

// One emergency number: length octet, category octet, then length - 1 octets
// of BCD digits, low nibble first.  An odd count of digits ends with the
// end mark 0xF in the high half of the last octet, which is not a digit.
void ReadEmergencyNumber(BitCursor& cursor, EmergencyNumber& number) {
    const int32_t length = ReadOctet(cursor);
    number.category = ReadOctet(cursor);
    for (int32_t i = 1; i < length; ++i) {
        const uint8_t octet = ReadOctet(cursor);
        AppendDigit(number, octet & 0x0F);
        const bool endMark = i == length - 1 && (octet >> 4) == 0x0F;
        if (!endMark) AppendDigit(number, octet >> 4);
    }
}

}  // namespace

int ParseTrackingAreaIdentityList(BitCursor& cursor, int32_t length, TrackingAreaIdentity& record) {
    return ParseIeValue(cursor, length, [&] {
        uint8_t first = ReadOctet(cursor);
        if (first != kHeaderlessTaiListMark) first = ReadOctet(cursor);  // the list header is not shown
        ReadArea(cursor, first, record.mcc, record.mnc, record.tac);
        // The other TAIs of the list are passed over.
    });
}

int ParseTrackingAreaIdentity(BitCursor& cursor, int32_t length, TrackingAreaIdentity& record) {
    return ParseIeValue(cursor, length,
                        [&] { ReadArea(cursor, ReadOctet(cursor), record.mcc, record.mnc, record.tac); });
}

int RenderTrackingAreaIdentity(const TrackingAreaIdentity& record, OutputDocument& out) {
    return RenderArea(record.mcc, record.mnc, "TAC", record.tac, out);
}

int ParseLocationAreaIdentification(BitCursor& cursor, int32_t length, LocationAreaIdentification& record) {
    return ParseIeValue(cursor, length,
                        [&] { ReadArea(cursor, ReadOctet(cursor), record.mcc, record.mnc, record.lac); });
}

int RenderLocationAreaIdentification(const LocationAreaIdentification& record, OutputDocument& out) {
    return RenderArea(record.mcc, record.mnc, "LAC", record.lac, out);
}

int ParsePlmnList(BitCursor& cursor, int32_t length, PlmnList& record) {
    return ParseIeValue(cursor, length, [&] {
        record.plmnCount = 0;
        const int32_t entries = length / 3 < static_cast<int32_t>(kMaxPlmns) ? length / 3 : static_cast<int32_t>(kMaxPlmns);
        for (int32_t i = 0; i < entries; ++i) {
            const PlmnOctets plmn = ReadPlmn(cursor, ReadOctet(cursor));
            record.plmnMcc[i] = Mcc(plmn);
            record.plmnMnc[i] = PlmnListMnc(plmn);
            ++record.plmnCount;
        }
        // Entries beyond the fifteenth and a trailing incomplete one are passed over.
    });
}

int RenderPlmnList(const PlmnList& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    const int32_t count = record.plmnCount < 0 ? 0
                          : record.plmnCount > static_cast<int32_t>(kMaxPlmns) ? static_cast<int32_t>(kMaxPlmns)
                                                                                : record.plmnCount;
    for (int32_t i = 0; i < count; ++i) {
        WriteLineTag("PLMN", out);
        WriteNumber("MCC", record.plmnMcc[i], out);
        WriteNumber("MNC", record.plmnMnc[i], out);
        WriteCloseTag("PLMN", out);
    }
    return 1;
}

int ParseEmergencyNumberList(BitCursor& cursor, int32_t length, EmergencyNumberList& record) {
    return ParseIeValue(cursor, length, [&] {
        const int32_t atStart = RemainingOctets(cursor);
        for (EmergencyNumber& number : record.numbers) {
            number.digitCount = 0;
            number.numberDigits[0] = '\0';
        }
        ReadEmergencyNumber(cursor, record.numbers[0]);
        if (atStart - RemainingOctets(cursor) < length) ReadEmergencyNumber(cursor, record.numbers[1]);
        // Further numbers are passed over.
    });
}

int RenderEmergencyNumberList(const EmergencyNumberList& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    for (const EmergencyNumber& number : record.numbers) {
        if (number.digitCount <= 0) continue;
        // The text is copied so that it is terminated whatever the record holds.
        char digits[kMaxEmergencyDigits + 1] = {};
        for (size_t i = 0; i < kMaxEmergencyDigits && number.numberDigits[i] != '\0'; ++i) {
            digits[i] = number.numberDigits[i];
        }
        WriteNumber("EmergSerCateValue", number.category, out);
        WriteString("NumDigit", digits, out);
    }
    return 1;
}

int ParseEpsBearerContextStatus(BitCursor& cursor, int32_t length, EpsBearerContextStatus& record) {
    return ParseIeValue(cursor, length, [&] {
        const uint8_t low = ReadOctet(cursor);   // EBI 7 (bit 8) .. EBI 0 (bit 1)
        const uint8_t high = ReadOctet(cursor);  // EBI 15 (bit 8) .. EBI 8 (bit 1)
        for (uint32_t k = 0; k < 8; ++k) {
            record.bearerActive[k] = static_cast<uint8_t>(TestBit(low, k));
            record.bearerActive[8 + k] = static_cast<uint8_t>(TestBit(high, k));
        }
    });
}

int RenderEpsBearerContextStatus(const EpsBearerContextStatus& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    for (const uint8_t& active : record.bearerActive) {
        WriteElement(kBearerState, active, out);
    }
    return 1;
}

}  // namespace corvuna
