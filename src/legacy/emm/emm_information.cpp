// SPDX-License-Identifier: Apache-2.0
#include "legacy/emm/emm_information.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

using Information = EmmInformationRecord;

// Optional IEs of EMM INFORMATION (TS 24.301 8.2.13), stopping scan.
constexpr OptionalIe<Information> kRows[] = {
    Tlv<&Information::fullNamePresent, &Information::fullName, ParseNetworkName>(0x43),
    Tlv<&Information::shortNamePresent, &Information::shortName, ParseNetworkName>(0x45),
    Tv<&Information::localTimeZonePresent, &Information::localTimeZone, ParseSingleOctetValue>(0x46, 1),
    Tv<&Information::universalTimePresent, &Information::universalTime, ParseTimeZoneAndTime>(0x47, 7),
    Tlv<&Information::daylightSavingTimePresent, &Information::daylightSavingTime, ParseDaylightSavingTime>(0x49),
};
constexpr OptionalIes<Information> kIes{Scan::kStopping, kRows};

}  // namespace

void ParseEmmInformation(int, BitCursor& cursor, EmmInformationRecord& record) {
    ScanOptionalIes(cursor, kIes, record);
}

int RenderEmmInformation(const EmmInformationRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteIfPresent(record.fullNamePresent, "Full_name_for_network", record.fullName, RenderNetworkName, out);
    WriteIfPresent(record.shortNamePresent, "Short_name_for_network", record.shortName, RenderNetworkName, out);
    WriteIfPresent(record.localTimeZonePresent, "Local_time_zone", record.localTimeZone, RenderTimeZone, out);
    WriteIfPresent(record.universalTimePresent, "UniversalTime_and_localTimeZone",
                   record.universalTime, RenderTimeZoneAndTime, out);
    WriteIfPresent(record.daylightSavingTimePresent, "Network_daylight_saving_time",
                   record.daylightSavingTime, RenderDaylightSavingTime, out);
    return 1;
}

}  // namespace corvuna
