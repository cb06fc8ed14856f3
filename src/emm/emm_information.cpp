#include "emm/emm_information.h"

#include "emm/cause_message.h"

#include "api/codec.h"
#include "bits/bit_cursor.h"
#include "ie/mm/emm_fields.h"

namespace corvuna {

namespace {

constexpr uint8_t kFullNameIei = 0x43;
constexpr uint8_t kShortNameIei = 0x45;
constexpr uint8_t kLocalTimeZoneIei = 0x46;
constexpr uint8_t kUniversalTimeIei = 0x47;
constexpr uint8_t kDaylightSavingTimeIei = 0x49;

constexpr int32_t kTimeZoneOctets = 1;
constexpr int32_t kUniversalTimeOctets = 7;

// One optional IE at the cursor, its IEI already read.  Returns false for an
// IEI that is none of the message's, which ends the scan.  A later
// occurrence of an IE replaces the earlier one wholly.
bool ParseOptionalIe(uint8_t iei, BitCursor& cursor, EmmInformationRecord& record) {
    switch (iei) {
        case kFullNameIei: {
            record.fullNamePresent = 1;
            record.fullName = {};
            const int32_t length = ReadOctet(cursor);
            ParseNetworkName(cursor, length, record.fullName);
            return true;
        }
        case kShortNameIei: {
            record.shortNamePresent = 1;
            record.shortName = {};
            const int32_t length = ReadOctet(cursor);
            ParseNetworkName(cursor, length, record.shortName);
            return true;
        }
        case kLocalTimeZoneIei:
            record.localTimeZonePresent = 1;
            record.localTimeZone = 0;
            ParseSingleOctetValue(cursor, kTimeZoneOctets, record.localTimeZone);
            return true;
        case kUniversalTimeIei:
            record.universalTimePresent = 1;
            record.universalTime = {};
            ParseTimeZoneAndTime(cursor, kUniversalTimeOctets, record.universalTime);
            return true;
        case kDaylightSavingTimeIei: {
            record.daylightSavingTimePresent = 1;
            record.daylightSavingTime = 0;
            const int32_t length = ReadOctet(cursor);
            ParseDaylightSavingTime(cursor, length, record.daylightSavingTime);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

std::unique_ptr<EmmInformationRecord> ParseEmmInformation(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<EmmInformationRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    // Stopping scan: the first unknown octet ends the message.
    while (HasOctet(cursor)) {
        if (!ParseOptionalIe(ReadOctet(cursor), cursor, *record)) break;
    }
    return record;
}

int RenderEmmInformation(const EmmInformationRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("EMM_INFORMATION", out);
    if (record.fullNamePresent) WriteGroup("Full_name_for_network", record.fullName, RenderNetworkName, out);
    if (record.shortNamePresent) WriteGroup("Short_name_for_network", record.shortName, RenderNetworkName, out);
    if (record.localTimeZonePresent) WriteGroup("Local_time_zone", record.localTimeZone, RenderTimeZone, out);
    if (record.universalTimePresent) {
        WriteGroup("UniversalTime_and_localTimeZone", record.universalTime, RenderTimeZoneAndTime, out);
    }
    if (record.daylightSavingTimePresent) {
        WriteGroup("Network_daylight_saving_time", record.daylightSavingTime, RenderDaylightSavingTime, out);
    }
    WriteCloseTag("EMM_INFORMATION", out);
    return 1;
}

int RenderEmmStatus(const SingleOctetRecord& record, OutputDocument& out) {
    return RenderEmmCauseMessage("EMM_STATUS", record, out);
}

}  // namespace corvuna
