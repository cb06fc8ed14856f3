// SPDX-License-Identifier: Apache-2.0
#include "legacy/emm/guti_reallocation.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

using Command = GutiReallocationCommandRecord;

// Only the octet after the GUTI is looked at, for the TAI list.
constexpr OptionalIe<Command> kRows[] = {
    Tlv<&Command::taiListPresent, &Command::taiList, ParseTrackingAreaIdentityList>(0x54),
};
constexpr OptionalIes<Command> kIes{Scan::kSingleLook, kRows};

}  // namespace

void ParseGutiReallocationCommand(int, BitCursor& cursor, Command& record) {
    // GUTI (LV); the reconciliation leaves the cursor at its declared end.
    ParseEpsMobileIdentity(cursor, ReadOctet(cursor), record.guti);
    ScanOptionalIes(cursor, kIes, record);
}

int RenderGutiReallocationCommand(const Command& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteGroup("EPS_mobile_identity", record.guti, RenderEpsMobileIdentity, out);
    // Lower-case "l" here (ATTACH ACCEPT writes "TAI_List").
    WriteIfPresent(record.taiListPresent, "TAI_list", record.taiList, RenderTrackingAreaIdentity, out);
    return 1;
}

}  // namespace corvuna
