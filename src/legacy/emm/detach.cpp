// SPDX-License-Identifier: Apache-2.0
#include "legacy/emm/detach.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

constexpr int kDownlink = 0;
constexpr int kUplink = 1;

// Sent by the network, the request has one optional IE, looked for in the
// octet right after the detach type only.
constexpr OptionalIe<DetachRequestRecord> kToUeRows[] = {
    TvOctet<&DetachRequestRecord::emmCausePresent, &DetachRequestRecord::emmCause>(0x53),
};
constexpr OptionalIes<DetachRequestRecord> kToUeIes{Scan::kSingleLook, kToUeRows};

}  // namespace

void ParseDetachRequest(int direction, BitCursor& cursor, DetachRequestRecord& record) {
    record.direction = direction;

    // Octet 1: the detach type sits in the low half in both layouts.
    const uint32_t first = ReadBits(cursor, 8);
    record.detach.detachType = static_cast<int32_t>(first & 0x07);
    record.detach.switchOff = TestBit(first, 3);

    if (direction == kUplink) {
        // UE-originating detach: the NAS key set identifier fills the high
        // half, then the GUTI or IMSI (LV).  Nothing after it is read.
        record.ksi = KeySetIdentifierOf(first >> 4);
        ParseEpsMobileIdentity(cursor, ReadOctet(cursor), record.gutiOrImsi);
    } else if (direction == kDownlink) {
        // UE-terminated detach: the high half is spare.
        ScanOptionalIes(cursor, kToUeIes, record);
    }
}

int RenderDetachRequest(const DetachRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    if (record.direction == kDownlink) {
        RenderDetachTypeToUe(record.detach, out);
        if (record.emmCausePresent) RenderEmmCause(record.emmCause, out);
    } else if (record.direction == kUplink) {
        RenderDetachTypeToNetwork(record.detach, out);
        RenderKeySetIdentifier(record.ksi, out);
        WriteGroup("GUTI_or_IMSI", record.gutiOrImsi, RenderEpsMobileIdentity, out);
    }
    return 1;
}

}  // namespace corvuna
