// SPDX-License-Identifier: Apache-2.0
#include "legacy/emm/security_mode.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"

namespace corvuna {

namespace {

using Command = SecurityModeCommandRecord;
using Complete = SecurityModeCompleteRecord;

// Optional IEs of SECURITY MODE COMMAND (TS 24.301 8.2.20), passing scan:
// the others (the IMEISV request among them) are passed over octet by octet.
constexpr OptionalIe<Command> kCommandRows[] = {
    Tv<&Command::replayedNonceUePresent, &Command::replayedNonceUe, ParseNonce>(0x55, 4),
    Tv<&Command::nonceMmePresent, &Command::nonceMme, ParseNonce>(0x56, 4),
};
constexpr OptionalIes<Command> kCommandIes{Scan::kPassing, kCommandRows};

// Only the first body octet of SECURITY MODE COMPLETE is looked at, for the
// IMEISV.
constexpr OptionalIe<Complete> kCompleteRows[] = {
    Tlv<&Complete::imeisvPresent, &Complete::imeisv, ParseMobileIdentity>(0x23),
};
constexpr OptionalIes<Complete> kCompleteIes{Scan::kSingleLook, kCompleteRows};

}  // namespace

void ParseSecurityModeCommand(int, BitCursor& cursor, Command& r) {
    r.nasSecurityAlgorithms = ReadOctet(cursor);
    // Octet 2: spare half-octet, then the NAS key set identifier.
    ReadBits(cursor, 4);
    r.ksi = KeySetIdentifierOf(ReadBits(cursor, 4));
    ParseUeSecurityCapability(cursor, ReadOctet(cursor), r.replayedUeSecurityCapability);
    ScanOptionalIes(cursor, kCommandIes, r);
}

int RenderSecurityModeCommand(const Command& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteGroup("Selected_NAS_security_algorithms", r.nasSecurityAlgorithms, RenderNasSecurityAlgorithms, out);
    WriteGroup("NAS_key_set_identifier_ASME", r.ksi, RenderKeySetIdentifier, out);
    WriteGroup("Replayed_UE_security_capabilities", r.replayedUeSecurityCapability, RenderUeSecurityCapability,
               out);
    WriteIfPresent(r.replayedNonceUePresent, "Replayed_nonce_UE", r.replayedNonceUe, RenderNonce, out);
    WriteIfPresent(r.nonceMmePresent, "nonce_MME", r.nonceMme, RenderNonce, out);
    return 1;
}

void ParseSecurityModeComplete(int, BitCursor& cursor, Complete& record) {
    ScanOptionalIes(cursor, kCompleteIes, record);
}

int RenderSecurityModeComplete(const Complete& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteIfPresent(record.imeisvPresent, "IMEISV_request", record.imeisv, RenderMobileIdentity, out);
    return 1;
}

}  // namespace corvuna
