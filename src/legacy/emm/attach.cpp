// SPDX-License-Identifier: Apache-2.0
#include "legacy/emm/attach.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"
#include "legacy/doc/elements.h"
#include "legacy/emm/registration_ies.h"

namespace corvuna {

namespace {

// EPS attach type (TS 24.301 9.9.3.11) and EPS attach result (9.9.3.10).
constexpr auto kAttachType =
    Element("EPS_Attach_Type", {{1, "EPS Attach"}, {2, "combined EPS/IMSI attach"}}, "reserved");
constexpr auto kAttachResult = Element("EPS_Attach_Result", {{1, "EPS Only"}, {2, "combined EPS/IMSI"}}, "reserved");

using Request = AttachRequestRecord;
using Accept = AttachAcceptRecord;

// Optional IEs of ATTACH REQUEST (TS 24.301 8.2.4), passing scan.  Only
// the TMSI flag (bit 1) of the TMSI status is kept.
constexpr auto kRequestRows = JoinRows<Request>(
    {HalfOctet<&Request::tmsiStatusPresent, &Request::tmsiStatus, 0x01, Request>(0x9)},
    emm_rows::kRegistrationRequestRows<Request>);
constexpr OptionalIes<Request> kRequestIes{Scan::kPassing, kRequestRows};

// Optional IEs of ATTACH ACCEPT (TS 24.301 8.2.1), passing scan; the others
// (EPS network feature support, additional update result, T3412 extended
// value ...) are passed over octet by octet.
constexpr OptionalIes<Accept> kAcceptIes{Scan::kPassing, emm_rows::kRegistrationAcceptRows<Accept>};

// What follows the mandatory IEs of both messages: the ESM message
// container (LV-E), passed over, then the optional IEs.  The container's
// length is the 16-bit value of the two length octets; a container that
// runs past the body takes the rest of it, so that nothing after it is read
// as an optional IE.
template <typename Record>
void ScanAfterEsmMessageContainer(BitCursor& cursor, const OptionalIes<Record>& ies, Record& record) {
    const uint32_t high = ReadOctet(cursor);
    const uint32_t low = ReadOctet(cursor);
    SkipIeUnchecked(cursor, high * 256u + low);
    ScanOptionalIes(cursor, ies, record);
}

}  // namespace

void ParseAttachRequest(int, BitCursor& cursor, AttachRequestRecord& r) {
    // Octet 1: NAS key set identifier in the high half, EPS attach type in
    // bits 3-1 (bit 4 is spare).
    r.ksi = KeySetIdentifierOf(ReadBits(cursor, 4));
    ReadBits(cursor, 1);
    r.attachType = static_cast<int32_t>(ReadBits(cursor, 3));
    ParseEpsMobileIdentity(cursor, ReadOctet(cursor), r.oldGutiOrImsi);
    ParseUeNetworkCapability(cursor, ReadOctet(cursor), r.ueNetworkCapability);
    ScanAfterEsmMessageContainer(cursor, kRequestIes, r);
}

int RenderAttachRequest(const AttachRequestRecord& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteElement(kAttachType, r.attachType, out);
    WriteGroup("NAS_key_set_identifier", r.ksi, RenderKeySetIdentifier, out);
    WriteGroup("Old_GUTI_Or_IMSI", r.oldGutiOrImsi, RenderEpsMobileIdentity, out);
    WriteGroup("UE_Network_capability", r.ueNetworkCapability, RenderUeNetworkCapability, out);
    WriteIfPresent(r.oldPtmsiSignaturePresent, "Old_P_TMSI_Signature", r.oldPtmsiSignature, RenderPtmsiSignature, out);
    WriteIfPresent(r.additionalGutiPresent, "Additional_GUTI", r.additionalGuti, RenderEpsMobileIdentity, out);
    WriteIfPresent(r.lastVisitedTaiPresent, "Last_Visited_Registered_TAI",
                   r.lastVisitedTai, RenderTrackingAreaIdentity, out);
    WriteIfPresent(r.drxParameterPresent, "DRX_Parameter", r.drxParameter, RenderDrxParameter, out);
    WriteIfPresent(r.msNetworkCapabilityPresent, "MS_Network_capability",
                   r.msNetworkCapability, RenderMsNetworkCapability, out);
    WriteIfPresent(r.oldLaiPresent, "Old_LAI", r.oldLai, RenderLocationAreaIdentification, out);
    if (r.tmsiStatusPresent) RenderTmsiStatus(r.tmsiStatus, out);
    WriteIfPresent(r.classmark2Present, "Mobile_station_classmark2", r.classmark2, RenderMobileStationClassmark2, out);
    // Classmark 3 and the supported codecs are not decoded: an empty group
    // tells that they were present.
    if (r.classmark3Present) WriteEmptyGroup("Mobile_station_classmark3", out);
    if (r.supportedCodecsPresent) WriteEmptyGroup("Supported_Codecs", out);
    return 1;
}

void ParseAttachAccept(int, BitCursor& cursor, AttachAcceptRecord& r) {
    // Octet 1: spare half-octet, spare bit 4, EPS attach result in bits 3-1.
    ReadBits(cursor, 5);
    r.attachResult = static_cast<int32_t>(ReadBits(cursor, 3));
    ParseGprsTimer(cursor, 1, r.t3412);
    ParseTrackingAreaIdentityList(cursor, ReadOctet(cursor), r.taiList);
    ScanAfterEsmMessageContainer(cursor, kAcceptIes, r);
}

int RenderAttachAccept(const AttachAcceptRecord& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteElement(kAttachResult, r.attachResult, out);
    // The timers are written without group tags; only their place tells
    // them apart.
    RenderGprsTimer(r.t3412, out);
    WriteGroup("TAI_List", r.taiList, RenderTrackingAreaIdentity, out);
    WriteIfPresent(r.gutiPresent, "GUTI", r.guti, RenderEpsMobileIdentity, out);
    WriteIfPresent(r.laiPresent, "Location_Area_Identification", r.lai, RenderLocationAreaIdentification, out);
    WriteIfPresent(r.msIdentityPresent, "MS_identity", r.msIdentity, RenderMobileIdentity, out);
    if (r.emmCausePresent) RenderEmmCause(r.emmCause, out);
    if (r.t3402Present) RenderGprsTimer(r.t3402, out);
    if (r.t3423Present) RenderGprsTimer(r.t3423, out);
    WriteIfPresent(r.equivalentPlmnsPresent, "Equivalent_PLMNs", r.equivalentPlmns, RenderPlmnList, out);
    WriteIfPresent(r.emergencyNumbersPresent, "Emergency_Number_List",
                   r.emergencyNumbers, RenderEmergencyNumberList, out);
    return 1;
}

}  // namespace corvuna
