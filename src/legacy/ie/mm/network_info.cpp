// SPDX-License-Identifier: Apache-2.0
#include "legacy/ie/mm/network_info.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "legacy/doc/elements.h"

namespace corvuna {

namespace {

// Network name.
constexpr auto kCodingScheme = Element("coding_scheme", {"Cell Broadcast data coding scheme", "UCS2"}, "reserved");
constexpr auto kAddCi =
    Element("AddCI",
            {{0, "The MS should not add the letters for the Country's Initials to the text string"}},
            "The MS should add the letters for the Country's Initials and a separator to the text string");
constexpr auto kSpareBits = Element("Numberofsparebitsinlastoctet",
                                    {
                                        "this field carries no information about the number of spare bits in octet n",
                                        "bit 8 is spare and set to 0 in octet n",
                                        "bits 7 and 8 are spare and set to 0 in octet n",
                                        "bits 6 to 8(inclusive) are spare and set to 0 in octet n",
                                        "bits 5 to 8(inclusive) are spare and set to 0 in octet n",
                                        "bits 4 to 8(inclusive) are spare and set to 0 in octet n",
                                        "bits 3 to 8(inclusive) are spare and set to 0 in octet n",
                                        "bits 2 to 8(inclusive) are spare and set to 0 in octet n",
                                    });

// Network daylight saving time.
constexpr auto kDaylightSavingTime = Element("value",
                                             {
                                                 "No adjustment for Daylight Saving Time",
                                                 "+1 hour adjustment for Daylight Saving Time",
                                                 "+2 hours adjustment for Daylight Saving Time",
                                                 "Reserved",
                                             });

// Time zone and time: the seven octets in the order they are coded, each
// kept as received.
constexpr NumberField<TimeZoneAndTime> kTimeFields[] = {
    {"Year", &TimeZoneAndTime::year},     {"Month", &TimeZoneAndTime::month},   {"Day", &TimeZoneAndTime::day},
    {"Hour", &TimeZoneAndTime::hour},     {"Minute", &TimeZoneAndTime::minute}, {"Second", &TimeZoneAndTime::second},
    {"TimeZone", &TimeZoneAndTime::timeZone},
};

}  // namespace

// ---------------------------------------------------------------------------
// Network name

int ParseNetworkName(BitCursor& cursor, int32_t length, NetworkName& record) {
    return ParseIeValue(cursor, length, [&] {
        // A name parsed again replaces the earlier one entirely.
        std::memset(record.textString, 0, sizeof record.textString);
        ReadBits(cursor, 1);  // extension
        record.codingScheme = static_cast<int32_t>(ReadBits(cursor, 3));
        record.addCi = static_cast<int32_t>(ReadBits(cursor, 1));
        record.spareBitsInLastOctet = static_cast<int32_t>(ReadBits(cursor, 3));
        if (length > 1 && length < kNetworkNameTextSize) {
            // At most 1022 text octets: the array keeps a terminating zero.
            const int32_t textLength = length - 1;
            if (RemainingOctets(cursor) >= textLength) {
                ReadOctets(cursor, reinterpret_cast<uint8_t*>(record.textString), static_cast<uint32_t>(textLength));
            } else {
                // The text runs past the message: keep none of it.
                cursor.position = cursor.bitCount;
            }
        }
    });
}

int RenderNetworkName(const NetworkName& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteElement(kCodingScheme, record.codingScheme, out);
    WriteElement(kAddCi, record.addCi, out);
    WriteElement(kSpareBits, record.spareBitsInLastOctet, out);
    // The text up to its first zero octet; a record whose text fills the
    // whole array is written up to the array's end, never beyond.
    const void* end = std::memchr(record.textString, 0, sizeof record.textString);
    const size_t textLength = end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - record.textString)
                                             : sizeof record.textString;
    WriteCharsElement("TextString", record.textString, textLength, out);
    return 1;
}

// ---------------------------------------------------------------------------
// Single-octet values and the time zone

int ParseSingleOctetValue(BitCursor& cursor, int32_t length, int32_t& value) {
    return ParseIeValue(cursor, length, [&] { value = static_cast<int32_t>(ReadBits(cursor, 8)); });
}

int RenderTimeZone(int32_t timeZone, OutputDocument& out) { return RenderElement("TimeZone", timeZone, out); }

// ---------------------------------------------------------------------------
// Time zone and time

int ParseTimeZoneAndTime(BitCursor& cursor, int32_t length, TimeZoneAndTime& record) {
    return ParseIeValue(cursor, length, [&] {
        uint8_t o[std::size(kTimeFields)];
        ReadOctets(cursor, o, sizeof o);
        SetFields<kTimeFields>(record, [&](size_t i) { return o[i]; });
    });
}

int RenderTimeZoneAndTime(const TimeZoneAndTime& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteFields<kTimeFields>(record, out);
    return 1;
}

// ---------------------------------------------------------------------------
// Network daylight saving time

int ParseDaylightSavingTime(BitCursor& cursor, int32_t length, int32_t& value) {
    return ParseIeValue(cursor, length, [&] { value = static_cast<int32_t>(ReadBits(cursor, 8) & 0x03u); });
}

int RenderDaylightSavingTime(int32_t value, OutputDocument& out) {
    return RenderElement(kDaylightSavingTime, value, out);
}

}  // namespace corvuna
