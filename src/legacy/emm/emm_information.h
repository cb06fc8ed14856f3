// SPDX-License-Identifier: Apache-2.0
// EMM INFORMATION and EMM STATUS (TS 24.301 8.2.13, 8.2.14).
//
// EMM INFORMATION carries only optional IEs (network names, time zone,
// universal time, daylight saving time); its scan ends at the first octet
// that is none of them.  EMM STATUS is the shared EMM cause body.
#pragma once

#include <cstdint>

#include "legacy/bits/bit_cursor.h"
#include "legacy/doc/writer.h"
#include "legacy/ie/mm/network_info.h"

namespace corvuna {

struct EmmInformationRecord {
    uint8_t fullNamePresent;            // IEI 0x43
    NetworkName fullName;
    uint8_t shortNamePresent;           // IEI 0x45
    NetworkName shortName;
    uint8_t localTimeZonePresent;       // IEI 0x46
    int32_t localTimeZone;              // the time zone octet as coded
    uint8_t universalTimePresent;       // IEI 0x47
    TimeZoneAndTime universalTime;
    uint8_t daylightSavingTimePresent;  // IEI 0x49
    int32_t daylightSavingTime;
};

void ParseEmmInformation(int direction, BitCursor& body, EmmInformationRecord& record);
int RenderEmmInformation(const EmmInformationRecord& record, OutputDocument& out);

}  // namespace corvuna
