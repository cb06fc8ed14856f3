// SPDX-License-Identifier: Apache-2.0
// Elements with which the network tells the mobile its name and the time:
// network name (full and short name for network), time zone, time zone and
// time, network daylight saving time; and the single-octet value parser
// shared by the time zone, the SS code and the LCS indicator.
//
// Parsers take the cursor on the first value octet and the declared value
// length in octets.  A negative length returns 0 at once, without reading or
// moving the cursor.  Otherwise the parser reads its fields and reconciles
// the cursor with the declared length (ReconcileIeLength): 0 when it read
// more than declared (the cursor is moved back to the declared end), else 1.
//
// Renderers write only the inner elements and return 1; they return 0
// without writing when the document has no buffer.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"

namespace corvuna {

// Longest network name text kept, terminating zero included.
inline constexpr int32_t kNetworkNameTextSize = 1024;

// Network name (TS 24.008 10.5.3.5a).  The text octets are kept as received
// (GSM 7-bit packed or UCS2, not decoded); the zero fill ends the text.
struct NetworkName {
    int32_t codingScheme;          // bits 7-5 of octet 1
    int32_t addCi;                 // bit 4 of octet 1
    int32_t spareBitsInLastOctet;  // bits 3-1 of octet 1
    char textString[kNetworkNameTextSize];
};

// Reads octet 1 whatever the length.  For a length of 2 to 1023 the
// length - 1 text octets are copied when the message holds them all;
// when it does not, nothing is copied and the cursor moves to the end of
// the message.  Longer lengths copy nothing.  Then reconciles.
int ParseNetworkName(BitCursor& cursor, int32_t length, NetworkName& record);
// "coding_scheme", "AddCI", "Numberofsparebitsinlastoctet", "TextString".
int RenderNetworkName(const NetworkName& record, OutputDocument& out);

// One octet read as a number (the time zone, the SS code, the LCS
// indicator; callers pass the length 1), then reconciled.
int ParseSingleOctetValue(BitCursor& cursor, int32_t length, int32_t& value);

// Time zone (TS 24.008 10.5.3.8): the raw octet (swapped BCD quarter hours
// and sign, not decoded).  "TimeZone".
int RenderTimeZone(int32_t timeZone, OutputDocument& out);

// Time zone and time (TS 24.008 10.5.3.9): the seven raw octets, swapped BCD
// digits not decoded (the year 2012, octet 0x21, is held as 33).
struct TimeZoneAndTime {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t hour;
    int32_t minute;
    int32_t second;
    int32_t timeZone;
};

// Reads seven octets whatever the length (callers pass 7), then reconciles.
int ParseTimeZoneAndTime(BitCursor& cursor, int32_t length, TimeZoneAndTime& record);
// "Year", "Month", "Day", "Hour", "Minute", "Second", "TimeZone".
int RenderTimeZoneAndTime(const TimeZoneAndTime& record, OutputDocument& out);

// Network daylight saving time (TS 24.008 10.5.3.12): bits 2-1 of the
// octet.  Reads one octet, then reconciles.
int ParseDaylightSavingTime(BitCursor& cursor, int32_t length, int32_t& value);
// "value".
int RenderDaylightSavingTime(int32_t value, OutputDocument& out);

}  // namespace corvuna
