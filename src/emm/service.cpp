#include "emm/service.h"

#include "api/codec.h"
#include "api/shared_bodies.h"
#include "bits/bit_cursor.h"
#include "doc/value_text.h"
#include "ie/mm/network_info.h"

namespace corvuna {

namespace {

// CSFB response (TS 24.301 9.9.3.5): a type-1 IE, IEI in the high nibble.
constexpr uint32_t kCsfbResponseIei = 0xB;
constexpr const char* kCsfbResponse[] = {
    "CS fallback rejected by the UE",
    "CS fallback accepted by the UE",
};
constexpr const char* kCsfbResponseOther = "reserved";

// Paging identity (TS 24.301 9.9.3.25A).
constexpr ValueText kPagingIdentity[] = {
    {1, "TMSI"},
};
constexpr const char* kPagingIdentityOther = "IMSI";

constexpr uint8_t kCliIei = 0x60;
constexpr uint8_t kSsCodeIei = 0x61;
constexpr uint8_t kLcsIndicatorIei = 0x62;
constexpr uint8_t kLcsClientIdentityIei = 0x63;
constexpr int32_t kSingleValueOctets = 1;

// One optional IE of CS SERVICE NOTIFICATION, its IEI already read.
// Returns false for an IEI that is none of the message's, which ends the
// scan.  A later occurrence of an IE replaces the earlier one wholly.
bool ParseNotificationIe(uint8_t iei, BitCursor& cursor, CsServiceNotificationRecord& record) {
    switch (iei) {
        case kCliIei: {
            record.cliPresent = 1;
            record.cli = {};
            const int32_t length = ReadOctet(cursor);
            ParseCli(cursor, length, record.cli);
            return true;
        }
        case kSsCodeIei:
            record.ssCodePresent = 1;
            record.ssCode = 0;
            ParseSingleOctetValue(cursor, kSingleValueOctets, record.ssCode);
            return true;
        case kLcsIndicatorIei:
            record.lcsIndicatorPresent = 1;
            record.lcsIndicator = 0;
            ParseSingleOctetValue(cursor, kSingleValueOctets, record.lcsIndicator);
            return true;
        case kLcsClientIdentityIei: {
            record.lcsClientIdentityPresent = 1;
            const int32_t length = ReadOctet(cursor);
            SkipIe(cursor, length);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

std::unique_ptr<ExtendedServiceRequestRecord> ParseExtendedServiceRequest(int, int32_t bodyLength,
                                                                          const uint8_t* body) {
    auto record = NewRecord<ExtendedServiceRequestRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    // Octet 1: NAS key set identifier (high half), service type (low half).
    const uint32_t first = ReadBits(cursor, 8);
    record->serviceType = static_cast<int32_t>(first & 0x0F);
    record->ksi.keySetId = static_cast<uint8_t>((first >> 4) & 0x07);
    record->ksi.tsc = static_cast<uint8_t>(TestBit(first, 7));

    // M-TMSI (LV).
    const int32_t length = ReadOctet(cursor);
    ParseMobileIdentity(cursor, length, record->mTmsiIdentity);

    // Only the octet right after the M-TMSI is looked at, for the CSFB
    // response; anything else (an EPS bearer context status ...) is ignored.
    if (HasOctet(cursor)) {
        const uint32_t octet = ReadBits(cursor, 8);
        if ((octet >> 4) == kCsfbResponseIei) {
            record->csfbResponsePresent = 1;
            record->csfbResponse = static_cast<int32_t>(octet & 0x07);
        }
    }
    return record;
}

int RenderExtendedServiceRequest(const ExtendedServiceRequestRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("EXTENDED_SERVICE_REQUEST", out);
    RenderServiceType(record.serviceType, out);
    RenderKeySetIdentifier(record.ksi, out);
    WriteLineTag("M_TMSI", out);
    RenderMobileIdentity(record.mTmsiIdentity, out);
    WriteCloseTag("M_TMSI", out);
    if (record.csfbResponsePresent) {
        WriteNumber("CSFB_response", &record.csfbResponse, 4, out,
                    IndexedText(kCsfbResponse, record.csfbResponse, kCsfbResponseOther));
    }
    WriteCloseTag("EXTENDED_SERVICE_REQUEST", out);
    return 1;
}

std::unique_ptr<CsServiceNotificationRecord> ParseCsServiceNotification(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<CsServiceNotificationRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    // Octet 1: paging identity in bit 1, the rest spare.
    record->pagingIdentity = TestBit(ReadBits(cursor, 8), 0);

    // Stopping scan: the first unknown octet ends the message.
    while (HasOctet(cursor)) {
        if (!ParseNotificationIe(ReadOctet(cursor), cursor, *record)) break;
    }
    return record;
}

int RenderCsServiceNotification(const CsServiceNotificationRecord& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("CS_SERVICE_NOTIFICATION", out);
    WriteNumber("Paging_Identity", &record.pagingIdentity, 4, out,
                LookupText(kPagingIdentity, record.pagingIdentity, kPagingIdentityOther));
    if (record.cliPresent) {
        WriteLineTag("CLI", out);
        RenderCli(record.cli, out);
        WriteCloseTag("CLI", out);
    }
    if (record.ssCodePresent) {
        WriteLineTag("SS_Code", out);
        RenderSsCode(record.ssCode, out);
        WriteCloseTag("SS_Code", out);
    }
    if (record.lcsIndicatorPresent) {
        WriteLineTag("LCS_indicator", out);
        RenderLcsIndicator(record.lcsIndicator, out);
        WriteCloseTag("LCS_indicator", out);
    }
    if (record.lcsClientIdentityPresent) {
        // Spelled "LSC"; the identity is not decoded, so the group is empty.
        WriteLineTag("LSC_client_identity", out);
        RenderLcsClientIdentity(out);
        WriteCloseTag("LSC_client_identity", out);
    }
    WriteCloseTag("CS_SERVICE_NOTIFICATION", out);
    return 1;
}

std::unique_ptr<DownlinkNasTransportRecord> ParseDownlinkNasTransport(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<DownlinkNasTransportRecord>();
    if (!record) return record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);
    // NAS message container (LV): passed over, not decoded.
    const uint32_t length = ReadOctet(cursor);
    SkipIeUnchecked(cursor, length);
    return record;
}

int RenderDownlinkNasTransport(const DownlinkNasTransportRecord&, OutputDocument& out) {
    return RenderEmptyMessage("DOWNLINK_NAS_TRANSPORT", out);
}

}  // namespace corvuna
