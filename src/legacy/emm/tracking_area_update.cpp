// SPDX-License-Identifier: Apache-2.0
#include "legacy/emm/tracking_area_update.h"

#include "legacy/bits/bit_cursor.h"
#include "legacy/codec/optional_ies.h"
#include "legacy/emm/registration_ies.h"

namespace corvuna {

namespace {

using Request = TrackingAreaUpdateRequestRecord;
using Accept = TrackingAreaUpdateAcceptRecord;

// Non-current native NAS key set identifier: TSC in bit 4, the identifier
// in bits 3-1 of the IEI octet.
void TakeNonCurrentKsi(BitCursor&, uint8_t octet, int32_t, Request& record) {
    record.nonCurrentKsiPresent = 1;
    record.nonCurrentKsi = KeySetIdentifierOf(octet);
}

// Optional IEs of TRACKING AREA UPDATE REQUEST (TS 24.301 8.2.29),
// stopping scan.  The half-octet IEs keep the whole low half of their
// octet.
constexpr auto kRequestRows = JoinRows<Request>(
    {
        HalfOctet<&Request::cksnPresent, &Request::cksn>(0x8),
        HalfOctet<&Request::tmsiStatusPresent, &Request::tmsiStatus, 0x0F, Request>(0x9),
        HalfOctet<&Request::radioCapabilityUpdatePresent, &Request::radioCapabilityUpdate>(0xA),
        Custom<Request>(0xB, true, 0, TakeNonCurrentKsi),
        HalfOctet<&Request::additionalUpdateTypePresent, &Request::additionalUpdateType>(0xF),
        Tv<&Request::nonceUePresent, &Request::nonceUe, ParseNonce>(0x55, 4),
        Tlv<&Request::ueNetworkCapabilityPresent, &Request::ueNetworkCapability, ParseUeNetworkCapability>(0x58),
        Tlv<&Request::epsBearerContextStatusPresent, &Request::epsBearerContextStatus,
            ParseEpsBearerContextStatus>(0x57),
    },
    emm_rows::kRegistrationRequestRows<Request>);
constexpr OptionalIes<Request> kRequestIes{Scan::kStopping, kRequestRows};

// Optional IEs of TRACKING AREA UPDATE ACCEPT (TS 24.301 8.2.26), stopping
// scan.  Only bits 2-1 carry the additional update result value.
constexpr auto kAcceptRows = JoinRows<Accept>(
    {
        HalfOctet<&Accept::additionalUpdateResultPresent, &Accept::additionalUpdateResult, 0x03>(0xF),
        Tv<&Accept::t3412Present, &Accept::t3412, ParseGprsTimer>(0x5A, 1),
        Tlv<&Accept::taiListPresent, &Accept::taiList, ParseTrackingAreaIdentityList>(0x54),
        Tlv<&Accept::epsBearerContextStatusPresent, &Accept::epsBearerContextStatus, ParseEpsBearerContextStatus>(
            0x57),
        Tlv<&Accept::networkFeatureSupportPresent, &Accept::networkFeatureSupport, ParseEpsNetworkFeatureSupport>(
            0x64),
    },
    emm_rows::kRegistrationAcceptRows<Accept>);
constexpr OptionalIes<Accept> kAcceptIes{Scan::kStopping, kAcceptRows};

}  // namespace

void ParseTrackingAreaUpdateRequest(int, BitCursor& cursor, Request& record) {
    // Octet 1: NAS key set identifier (high half), EPS update type (low half).
    record.ksi = KeySetIdentifierOf(ReadBits(cursor, 4));
    record.updateType = static_cast<int32_t>(ReadBits(cursor, 4));
    ParseEpsMobileIdentity(cursor, ReadOctet(cursor), record.oldGuti);
    ScanOptionalIes(cursor, kRequestIes, record);
}

int RenderTrackingAreaUpdateRequest(const Request& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderEpsUpdateType(r.updateType, out);
    WriteGroup("NAS_key_Set_identifier", r.ksi, RenderKeySetIdentifier, out);
    WriteGroup("Old_GUTI", r.oldGuti, RenderEpsMobileIdentity, out);
    WriteIfPresent(r.nonCurrentKsiPresent, "Non_current_native_NAS_key_set_identifier",
                   r.nonCurrentKsi, RenderKeySetIdentifier, out);
    WriteIfPresent(r.cksnPresent, "GPRSCipherKey", r.cksn, RenderCipheringKeySequenceNumber, out);
    WriteIfPresent(r.oldPtmsiSignaturePresent, "Old_P_TMSI_signature", r.oldPtmsiSignature, RenderPtmsiSignature, out);
    WriteIfPresent(r.additionalGutiPresent, "Additional_GUTI", r.additionalGuti, RenderEpsMobileIdentity, out);
    WriteIfPresent(r.nonceUePresent, "NonceUE", r.nonceUe, RenderNonce, out);
    WriteIfPresent(r.ueNetworkCapabilityPresent, "UE_Network_Capability",
                   r.ueNetworkCapability, RenderUeNetworkCapability, out);
    WriteIfPresent(r.lastVisitedTaiPresent, "Last_visited_registered_TAI",
                   r.lastVisitedTai, RenderTrackingAreaIdentity, out);
    WriteIfPresent(r.drxParameterPresent, "DRX_parameter", r.drxParameter, RenderDrxParameter, out);
    WriteIfPresent(r.radioCapabilityUpdatePresent, "UE_radio_capability_information_update_needed",
                   r.radioCapabilityUpdate, RenderUeRadioCapabilityInfoUpdateNeeded, out);
    // "bear" for "bearer": hosts match on the element name as written.
    WriteIfPresent(r.epsBearerContextStatusPresent, "EPS_bear_context_status",
                   r.epsBearerContextStatus, RenderEpsBearerContextStatus, out);
    WriteIfPresent(r.msNetworkCapabilityPresent, "MS_network_capability",
                   r.msNetworkCapability, RenderMsNetworkCapability, out);
    WriteIfPresent(r.oldLaiPresent, "Old_location_area_identification",
                   r.oldLai, RenderLocationAreaIdentification, out);
    if (r.tmsiStatusPresent) RenderTmsiStatus(r.tmsiStatus, out);
    WriteIfPresent(r.classmark2Present, "Mobile_Station_classmark2", r.classmark2, RenderMobileStationClassmark2, out);
    if (r.classmark3Present) WriteEmptyGroup("Mobile_Station_classmark3", out);
    if (r.supportedCodecsPresent) WriteEmptyGroup("Supported_Codecs", out);
    if (r.additionalUpdateTypePresent) RenderAdditionalUpdateResult(r.additionalUpdateType, out);
    return 1;
}

void ParseTrackingAreaUpdateAccept(int, BitCursor& cursor, Accept& record) {
    // Octet 1: spare (bits 8-5), reserved bit 4, EPS update result value.
    ReadBits(cursor, 5);
    record.updateResult = static_cast<int32_t>(ReadBits(cursor, 3));
    ScanOptionalIes(cursor, kAcceptIes, record);
}

int RenderTrackingAreaUpdateAccept(const Accept& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    RenderEpsUpdateResult(r.updateResult, out);
    WriteIfPresent(r.t3412Present, "T3412", r.t3412, RenderGprsTimer, out);
    WriteIfPresent(r.gutiPresent, "GUTI", r.guti, RenderEpsMobileIdentity, out);
    WriteIfPresent(r.taiListPresent, "TAIList", r.taiList, RenderTrackingAreaIdentity, out);
    // "Bear" for "Bearer": hosts match on the element name as written.
    WriteIfPresent(r.epsBearerContextStatusPresent, "EPS_Bear_Context_Status",
                   r.epsBearerContextStatus, RenderEpsBearerContextStatus, out);
    WriteIfPresent(r.laiPresent, "Location_Area_Identification", r.lai, RenderLocationAreaIdentification, out);
    WriteIfPresent(r.msIdentityPresent, "MS_Identity", r.msIdentity, RenderMobileIdentity, out);
    if (r.emmCausePresent) RenderEmmCause(r.emmCause, out);
    WriteIfPresent(r.t3402Present, "T3402", r.t3402, RenderGprsTimer, out);
    WriteIfPresent(r.t3423Present, "T3423", r.t3423, RenderGprsTimer, out);
    WriteIfPresent(r.equivalentPlmnsPresent, "Equivalent_PLMNS", r.equivalentPlmns, RenderPlmnList, out);
    WriteIfPresent(r.emergencyNumbersPresent, "Emergency_Number_List",
                   r.emergencyNumbers, RenderEmergencyNumberList, out);
    WriteIfPresent(r.networkFeatureSupportPresent, "EPSNetworkFeatureSupport",
                   r.networkFeatureSupport, RenderEpsNetworkFeatureSupport, out);
    if (r.additionalUpdateResultPresent) RenderAdditionalUpdateResult(r.additionalUpdateResult, out);
    return 1;
}

}  // namespace corvuna
