// SPDX-License-Identifier: Apache-2.0
#include "legacy/emm/service.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"
#include "legacy/doc/elements.h"
#include "legacy/ie/mm/network_info.h"

namespace corvuna {

namespace {

// CSFB response (TS 24.301 9.9.3.5): a type-1 IE, IEI in the high nibble.
constexpr auto kCsfbResponse =
    Element("CSFB_response", {"CS fallback rejected by the UE", "CS fallback accepted by the UE"}, "reserved");

// Paging identity (TS 24.301 9.9.3.25A).
constexpr auto kPagingIdentity = Element("Paging_Identity", {{1, "TMSI"}}, "IMSI");

using Request = ExtendedServiceRequestRecord;
using Notification = CsServiceNotificationRecord;

// Only the octet right after the M-TMSI is looked at, for the CSFB
// response; anything else (an EPS bearer context status ...) is ignored.
constexpr OptionalIe<Request> kRequestRows[] = {
    HalfOctet<&Request::csfbResponsePresent, &Request::csfbResponse, 0x07>(0xB),
};
constexpr OptionalIes<Request> kRequestIes{Scan::kSingleLook, kRequestRows};

// Optional IEs of CS SERVICE NOTIFICATION (TS 24.301 8.2.9), stopping scan.
constexpr OptionalIe<Notification> kNotificationRows[] = {
    Tlv<&Notification::cliPresent, &Notification::cli, ParseCli>(0x60),
    Tv<&Notification::ssCodePresent, &Notification::ssCode, ParseSingleOctetValue>(0x61, 1),
    Tv<&Notification::lcsIndicatorPresent, &Notification::lcsIndicator, ParseSingleOctetValue>(0x62, 1),
    TlvPresence<&Notification::lcsClientIdentityPresent>(0x63),
};
constexpr OptionalIes<Notification> kNotificationIes{Scan::kStopping, kNotificationRows};

}  // namespace

void ParseExtendedServiceRequest(int, BitCursor& cursor, Request& record) {
    // Octet 1: NAS key set identifier (high half), service type (low half).
    const uint32_t first = ReadBits(cursor, 8);
    record.serviceType = static_cast<int32_t>(first & 0x0F);
    record.ksi = KeySetIdentifierOf(first >> 4);
    // M-TMSI (LV).
    ParseMobileIdentity(cursor, ReadOctet(cursor), record.mTmsiIdentity);
    ScanOptionalIes(cursor, kRequestIes, record);
}

int RenderExtendedServiceRequest(const Request& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderServiceType(record.serviceType, out);
    RenderKeySetIdentifier(record.ksi, out);
    WriteGroup("M_TMSI", record.mTmsiIdentity, RenderMobileIdentity, out);
    if (record.csfbResponsePresent) WriteElement(kCsfbResponse, record.csfbResponse, out);
    return 1;
}

void ParseCsServiceNotification(int, BitCursor& cursor, Notification& record) {
    // Octet 1: paging identity in bit 1, the rest spare.
    record.pagingIdentity = TestBit(ReadBits(cursor, 8), 0);
    ScanOptionalIes(cursor, kNotificationIes, record);
}

int RenderCsServiceNotification(const Notification& record, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteElement(kPagingIdentity, record.pagingIdentity, out);
    WriteIfPresent(record.cliPresent, "CLI", record.cli, RenderCli, out);
    WriteIfPresent(record.ssCodePresent, "SS_Code", record.ssCode, RenderSsCode, out);
    WriteIfPresent(record.lcsIndicatorPresent, "LCS_indicator", record.lcsIndicator, RenderLcsIndicator, out);
    // "LSC" for "LCS": hosts match on the element name as written.  The
    // identity is not decoded, so the group is empty.
    if (record.lcsClientIdentityPresent) WriteEmptyGroup("LSC_client_identity", out);
    return 1;
}

}  // namespace corvuna
