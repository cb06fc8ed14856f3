#include "emm/guti_reallocation.h"

#include "api/codec.h"
#include "bits/bit_cursor.h"

namespace corvuna {

namespace {

constexpr uint8_t kTaiListIei = 0x54;

}  // namespace

std::unique_ptr<GutiReallocationCommandRecord> ParseGutiReallocationCommand(int, int32_t bodyLength,
                                                                            const uint8_t* body) {
    auto record = NewRecord<GutiReallocationCommandRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    // GUTI (LV); the reconciliation leaves the cursor at its declared end.
    const int32_t gutiLength = ReadOctet(cursor);
    ParseEpsMobileIdentity(cursor, gutiLength, record->guti);

    // Only the octet after the GUTI is looked at, for the TAI list.
    if (HasOctet(cursor) && ReadOctet(cursor) == kTaiListIei) {
        record->taiListPresent = 1;
        const int32_t listLength = ReadOctet(cursor);
        ParseTrackingAreaIdentityList(cursor, listLength, record->taiList);
    }
    return record;
}

int RenderGutiReallocationCommand(const GutiReallocationCommandRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("GUTI_REALLOCATION_COMMAND", out);
    WriteLineTag("EPS_mobile_identity", out);
    RenderEpsMobileIdentity(record.guti, out);
    WriteCloseTag("EPS_mobile_identity", out);
    if (record.taiListPresent) {
        // Lower-case "l" here (ATTACH ACCEPT writes "TAI_List").
        WriteLineTag("TAI_list", out);
        RenderTrackingAreaIdentity(record.taiList, out);
        WriteCloseTag("TAI_list", out);
    }
    WriteCloseTag("GUTI_REALLOCATION_COMMAND", out);
    return 1;
}

int RenderGutiReallocationComplete(const EmptyBodyRecord&, OutputDocument& out) {
    return RenderEmptyMessage("GUTI_REALLOCATION_COMPLETE", out);
}

}  // namespace corvuna
