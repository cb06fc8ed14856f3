#include "emm/security_mode.h"

#include "emm/cause_message.h"

#include "api/codec.h"
#include "bits/bit_cursor.h"

namespace corvuna {

namespace {

constexpr uint8_t kReplayedNonceUeIei = 0x55;
constexpr uint8_t kNonceMmeIei = 0x56;
constexpr uint8_t kImeisvIei = 0x23;
constexpr int32_t kNonceLength = 4;

}  // namespace

std::unique_ptr<SecurityModeCommandRecord> ParseSecurityModeCommand(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<SecurityModeCommandRecord>();
    if (!record) return record;
    SecurityModeCommandRecord& r = *record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    r.nasSecurityAlgorithms = ReadOctet(cursor);
    // Octet 2: spare half-octet, then the NAS key set identifier.
    ReadBits(cursor, 4);
    r.ksi.tsc = static_cast<uint8_t>(ReadBits(cursor, 1));
    r.ksi.keySetId = static_cast<uint8_t>(ReadBits(cursor, 3));
    ParseUeSecurityCapability(cursor, ReadOctet(cursor), r.replayedUeSecurityCapability);

    // A repeated IE replaces the earlier occurrence wholly.
    while (HasOctet(cursor)) {
        switch (ReadOctet(cursor)) {
            case kReplayedNonceUeIei:
                r.replayedNonceUePresent = 1;
                r.replayedNonceUe = 0;
                ParseNonce(cursor, kNonceLength, r.replayedNonceUe);
                break;
            case kNonceMmeIei:
                r.nonceMmePresent = 1;
                r.nonceMme = 0;
                ParseNonce(cursor, kNonceLength, r.nonceMme);
                break;
            default:
                // Unknown IEI (the IMEISV request among them): passed over alone.
                break;
        }
    }
    return record;
}

int RenderSecurityModeCommand(const SecurityModeCommandRecord& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("SECURITY_MODE_COMMAND", out);
    WriteGroup("Selected_NAS_security_algorithms", r.nasSecurityAlgorithms, RenderNasSecurityAlgorithms, out);
    WriteGroup("NAS_key_set_identifier_ASME", r.ksi, RenderKeySetIdentifier, out);
    WriteGroup("Replayed_UE_security_capabilities", r.replayedUeSecurityCapability, RenderUeSecurityCapability,
               out);
    if (r.replayedNonceUePresent) WriteGroup("Replayed_nonce_UE", r.replayedNonceUe, RenderNonce, out);
    if (r.nonceMmePresent) WriteGroup("nonce_MME", r.nonceMme, RenderNonce, out);
    WriteCloseTag("SECURITY_MODE_COMMAND", out);
    return 1;
}

std::unique_ptr<SecurityModeCompleteRecord> ParseSecurityModeComplete(int, int32_t bodyLength,
                                                                      const uint8_t* body) {
    auto record = NewRecord<SecurityModeCompleteRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    // Only the first octet is looked at for the IMEISV.
    if (!HasOctet(cursor) || ReadOctet(cursor) != kImeisvIei) return record;
    const int32_t length = ReadOctet(cursor);
    record->imeisvPresent = 1;
    ParseMobileIdentity(cursor, length, record->imeisv);
    return record;
}

int RenderSecurityModeComplete(const SecurityModeCompleteRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("SECURITY_MODE_COMPLETE", out);
    if (record.imeisvPresent) WriteGroup("IMEISV_request", record.imeisv, RenderMobileIdentity, out);
    WriteCloseTag("SECURITY_MODE_COMPLETE", out);
    return 1;
}

int RenderSecurityModeReject(const SingleOctetRecord& record, OutputDocument& out) {
    return RenderEmmCauseMessage("SECURITY_MODE_REJECT", record, out);
}

}  // namespace corvuna
