#include "emm/detach.h"

#include "api/codec.h"
#include "bits/bit_cursor.h"

namespace corvuna {

namespace {

constexpr int kDownlink = 0;
constexpr int kUplink = 1;
constexpr uint8_t kEmmCauseIei = 0x53;

}  // namespace

std::unique_ptr<DetachRequestRecord> ParseDetachRequest(int direction, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<DetachRequestRecord>();
    if (!record) return record;
    record->direction = direction;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    // Octet 1: the detach type sits in the low half in both layouts.
    const uint32_t first = ReadBits(cursor, 8);
    record->detach.detachType = static_cast<int32_t>(first & 0x07);
    record->detach.switchOff = TestBit(first, 3);

    if (direction == kUplink) {
        // UE-originating detach: the NAS key set identifier fills the high
        // half, then the GUTI or IMSI (LV).  Nothing after it is read.
        record->ksi.keySetId = static_cast<uint8_t>((first >> 4) & 0x07);
        record->ksi.tsc = static_cast<uint8_t>(TestBit(first, 7));
        const int32_t length = ReadOctet(cursor);
        ParseEpsMobileIdentity(cursor, length, record->gutiOrImsi);
    } else if (direction == kDownlink) {
        // UE-terminated detach: the high half is spare.  Only the octet right
        // after it is looked at for the EMM cause.
        if (HasOctet(cursor) && ReadOctet(cursor) == kEmmCauseIei) {
            record->emmCausePresent = 1;
            record->emmCause = ReadOctet(cursor);
        }
    }
    return record;
}

int RenderDetachRequest(const DetachRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("DETACH_REQUEST", out);
    if (record.direction == kDownlink) {
        RenderDetachTypeToUe(record.detach, out);
        if (record.emmCausePresent) RenderEmmCause(record.emmCause, out);
    } else if (record.direction == kUplink) {
        RenderDetachTypeToNetwork(record.detach, out);
        RenderKeySetIdentifier(record.ksi, out);
        WriteLineTag("GUTI_or_IMSI", out);
        RenderEpsMobileIdentity(record.gutiOrImsi, out);
        WriteCloseTag("GUTI_or_IMSI", out);
    }
    WriteCloseTag("DETACH_REQUEST", out);
    return 1;
}

int RenderDetachAccept(const EmptyBodyRecord&, OutputDocument& out) { return RenderEmptyMessage("DETACH_ACCEPT", out); }

}  // namespace corvuna
