#include "emm/tracking_area_update.h"

#include "api/codec.h"
#include "bits/bit_cursor.h"
#include "doc/value_text.h"

namespace corvuna {

namespace {

// Fixed value lengths of the TV elements (octets after the IEI).
constexpr int32_t kPtmsiSignatureLength = 3;
constexpr int32_t kNonceLength = 4;
constexpr int32_t kTaiLength = 5;
constexpr int32_t kDrxParameterLength = 2;
constexpr int32_t kLaiLength = 5;
constexpr int32_t kGprsTimerLength = 1;

// The length octet of an LV / TLV element.
int32_t ReadLength(BitCursor& cursor) { return ReadOctet(cursor); }

// The value half of a type 1 IEI octet.
int32_t LowHalf(uint8_t iei) { return iei & 0x0F; }

// Group tags around an IE renderer.
template <typename Render>
void WriteGroup(const char* name, OutputDocument& out, Render render) {
    WriteLineTag(name, out);
    render();
    WriteCloseTag(name, out);
}

// ---------------------------------------------------------------------------
// TRACKING AREA UPDATE REQUEST

// Half-octet IEIs of the request (high nibble of the IEI octet).
enum RequestHalfIei : uint8_t {
    kCksnIei = 0x8,
    kTmsiStatusIei = 0x9,
    kRadioCapabilityUpdateIei = 0xA,
    kNonCurrentKsiIei = 0xB,
    kAdditionalUpdateTypeIei = 0xF,
};

// Full-octet IEIs of the request.
enum RequestIei : uint8_t {
    kClassmark2Iei = 0x11,
    kOldLaiIei = 0x13,
    kOldPtmsiSignatureIei = 0x19,
    kClassmark3Iei = 0x20,
    kMsNetworkCapabilityIei = 0x31,
    kSupportedCodecsIei = 0x40,
    kAdditionalGutiIei = 0x50,
    kLastVisitedTaiIei = 0x52,
    kNonceUeIei = 0x55,
    kEpsBearerContextStatusIei = 0x57,
    kUeNetworkCapabilityIei = 0x58,
    kDrxParameterIei = 0x5C,
};

// Takes the half-octet IE of `iei`; false when its high nibble names none.
bool TakeRequestHalfIe(uint8_t iei, TrackingAreaUpdateRequestRecord& record) {
    const int32_t value = LowHalf(iei);
    switch (iei >> 4) {
        case kNonCurrentKsiIei:
            record.nonCurrentKsiPresent = 1;
            record.nonCurrentKsi.tsc = static_cast<uint8_t>(TestBit(iei, 3));
            record.nonCurrentKsi.keySetId = static_cast<uint8_t>(iei & 0x07);
            return true;
        case kCksnIei:
            record.cksnPresent = 1;
            record.cksn = value;
            return true;
        case kRadioCapabilityUpdateIei:
            record.radioCapabilityUpdatePresent = 1;
            record.radioCapabilityUpdate = value;
            return true;
        case kTmsiStatusIei:
            record.tmsiStatusPresent = 1;
            record.tmsiStatus = value;
            return true;
        case kAdditionalUpdateTypeIei:
            record.additionalUpdateTypePresent = 1;
            record.additionalUpdateType = value;
            return true;
        default:
            return false;
    }
}

// Parses the IE of the full-octet `iei` at the cursor; false when the
// octet names none.  A repeated IE starts again from a cleared field.
bool ParseRequestIe(BitCursor& cursor, uint8_t iei, TrackingAreaUpdateRequestRecord& record) {
    switch (iei) {
        case kOldPtmsiSignatureIei:
            record.oldPtmsiSignaturePresent = 1;
            record.oldPtmsiSignature = {};
            ParsePtmsiSignature(cursor, kPtmsiSignatureLength, record.oldPtmsiSignature);
            return true;
        case kAdditionalGutiIei:
            record.additionalGutiPresent = 1;
            record.additionalGuti = {};
            ParseEpsMobileIdentity(cursor, ReadLength(cursor), record.additionalGuti);
            return true;
        case kNonceUeIei:
            record.nonceUePresent = 1;
            record.nonceUe = {};
            ParseNonce(cursor, kNonceLength, record.nonceUe);
            return true;
        case kUeNetworkCapabilityIei:
            record.ueNetworkCapabilityPresent = 1;
            record.ueNetworkCapability = {};
            ParseUeNetworkCapability(cursor, ReadLength(cursor), record.ueNetworkCapability);
            return true;
        case kLastVisitedTaiIei:
            // A TV element holding one TAI: no list header.
            record.lastVisitedTaiPresent = 1;
            record.lastVisitedTai = {};
            ParseTrackingAreaIdentity(cursor, kTaiLength, record.lastVisitedTai);
            return true;
        case kDrxParameterIei:
            record.drxParameterPresent = 1;
            record.drxParameter = {};
            ParseDrxParameter(cursor, kDrxParameterLength, record.drxParameter);
            return true;
        case kEpsBearerContextStatusIei:
            record.epsBearerContextStatusPresent = 1;
            record.epsBearerContextStatus = {};
            ParseEpsBearerContextStatus(cursor, ReadLength(cursor), record.epsBearerContextStatus);
            return true;
        case kMsNetworkCapabilityIei:
            record.msNetworkCapabilityPresent = 1;
            record.msNetworkCapability = {};
            ParseMsNetworkCapability(cursor, ReadLength(cursor), record.msNetworkCapability);
            return true;
        case kOldLaiIei:
            record.oldLaiPresent = 1;
            record.oldLai = {};
            ParseLocationAreaIdentification(cursor, kLaiLength, record.oldLai);
            return true;
        case kClassmark2Iei:
            record.classmark2Present = 1;
            record.classmark2 = {};
            ParseMobileStationClassmark2(cursor, ReadLength(cursor), record.classmark2);
            return true;
        case kClassmark3Iei:
            record.classmark3Present = 1;
            SkipIe(cursor, ReadLength(cursor));
            return true;
        case kSupportedCodecsIei:
            record.supportedCodecsPresent = 1;
            SkipIeUnchecked(cursor, ReadOctet(cursor));
            return true;
        default:
            return false;
    }
}

// ---------------------------------------------------------------------------
// TRACKING AREA UPDATE ACCEPT

// The additional update result is the one half-octet IE of the accept.
constexpr uint8_t kAdditionalUpdateResultIei = 0xF;

// Full-octet IEIs of the accept.
enum AcceptIei : uint8_t {
    kT3402Iei = 0x17,
    kLaiIei = 0x13,
    kMsIdentityIei = 0x23,
    kEmergencyNumbersIei = 0x34,
    kEquivalentPlmnsIei = 0x4A,
    kGutiIei = 0x50,
    kEmmCauseIei = 0x53,
    kTaiListIei = 0x54,
    kAcceptEpsBearerContextStatusIei = 0x57,
    kT3423Iei = 0x59,
    kT3412Iei = 0x5A,
    kNetworkFeatureSupportIei = 0x64,
};

// Parses the IE of `iei` at the cursor; false when the octet names none.
// A repeated IE starts again from a cleared field.
bool ParseAcceptIe(BitCursor& cursor, uint8_t iei, TrackingAreaUpdateAcceptRecord& record) {
    if ((iei >> 4) == kAdditionalUpdateResultIei) {
        // Only bits 2-1 carry the additional update result value.
        record.additionalUpdateResultPresent = 1;
        record.additionalUpdateResult = iei & 0x03;
        return true;
    }
    switch (iei) {
        case kT3412Iei:
            record.t3412Present = 1;
            record.t3412 = {};
            ParseGprsTimer(cursor, kGprsTimerLength, record.t3412);
            return true;
        case kGutiIei:
            record.gutiPresent = 1;
            record.guti = {};
            ParseEpsMobileIdentity(cursor, ReadLength(cursor), record.guti);
            return true;
        case kTaiListIei:
            record.taiListPresent = 1;
            record.taiList = {};
            ParseTrackingAreaIdentityList(cursor, ReadLength(cursor), record.taiList);
            return true;
        case kAcceptEpsBearerContextStatusIei:
            record.epsBearerContextStatusPresent = 1;
            record.epsBearerContextStatus = {};
            ParseEpsBearerContextStatus(cursor, ReadLength(cursor), record.epsBearerContextStatus);
            return true;
        case kLaiIei:
            record.laiPresent = 1;
            record.lai = {};
            ParseLocationAreaIdentification(cursor, kLaiLength, record.lai);
            return true;
        case kMsIdentityIei:
            record.msIdentityPresent = 1;
            record.msIdentity = {};
            ParseMobileIdentity(cursor, ReadLength(cursor), record.msIdentity);
            return true;
        case kEmmCauseIei:
            record.emmCausePresent = 1;
            record.emmCause = ReadOctet(cursor);
            return true;
        case kT3402Iei:
            record.t3402Present = 1;
            record.t3402 = {};
            ParseGprsTimer(cursor, kGprsTimerLength, record.t3402);
            return true;
        case kT3423Iei:
            record.t3423Present = 1;
            record.t3423 = {};
            ParseGprsTimer(cursor, kGprsTimerLength, record.t3423);
            return true;
        case kEquivalentPlmnsIei:
            record.equivalentPlmnsPresent = 1;
            record.equivalentPlmns = {};
            ParsePlmnList(cursor, ReadLength(cursor), record.equivalentPlmns);
            return true;
        case kEmergencyNumbersIei:
            record.emergencyNumbersPresent = 1;
            record.emergencyNumbers = {};
            ParseEmergencyNumberList(cursor, ReadLength(cursor), record.emergencyNumbers);
            return true;
        case kNetworkFeatureSupportIei:
            record.networkFeatureSupportPresent = 1;
            record.networkFeatureSupport = {};
            ParseEpsNetworkFeatureSupport(cursor, ReadLength(cursor), record.networkFeatureSupport);
            return true;
        default:
            return false;
    }
}

}  // namespace

std::unique_ptr<TrackingAreaUpdateRequestRecord> ParseTrackingAreaUpdateRequest(int /*direction*/, int32_t bodyLength,
                                                                                const uint8_t* body) {
    std::unique_ptr<TrackingAreaUpdateRequestRecord> record = NewRecord<TrackingAreaUpdateRequestRecord>();
    if (!record) return nullptr;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    // Octet 1: NAS key set identifier (high half), EPS update type (low half).
    record->ksi.tsc = static_cast<uint8_t>(ReadBits(cursor, 1));
    record->ksi.keySetId = static_cast<uint8_t>(ReadBits(cursor, 3));
    record->updateType = static_cast<int32_t>(ReadBits(cursor, 4));
    ParseEpsMobileIdentity(cursor, ReadLength(cursor), record->oldGuti);

    // Stopping scan: the first octet that names no IE ends it.
    while (HasOctet(cursor)) {
        const uint8_t iei = ReadOctet(cursor);
        if (!TakeRequestHalfIe(iei, *record) && !ParseRequestIe(cursor, iei, *record)) break;
    }
    return record;
}

int RenderTrackingAreaUpdateRequest(const TrackingAreaUpdateRequestRecord& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("TRACKING_AREA_UPDATE_REQUEST", out);
    RenderEpsUpdateType(r.updateType, out);
    WriteGroup("NAS_key_Set_identifier", out, [&] { RenderKeySetIdentifier(r.ksi, out); });
    WriteGroup("Old_GUTI", out, [&] { RenderEpsMobileIdentity(r.oldGuti, out); });
    if (r.nonCurrentKsiPresent != 0) {
        WriteGroup("Non_current_native_NAS_key_set_identifier", out,
                   [&] { RenderKeySetIdentifier(r.nonCurrentKsi, out); });
    }
    if (r.cksnPresent != 0) {
        WriteGroup("GPRSCipherKey", out, [&] { RenderCipheringKeySequenceNumber(r.cksn, out); });
    }
    if (r.oldPtmsiSignaturePresent != 0) {
        WriteGroup("Old_P_TMSI_signature", out, [&] { RenderPtmsiSignature(r.oldPtmsiSignature, out); });
    }
    if (r.additionalGutiPresent != 0) {
        WriteGroup("Additional_GUTI", out, [&] { RenderEpsMobileIdentity(r.additionalGuti, out); });
    }
    if (r.nonceUePresent != 0) {
        WriteGroup("NonceUE", out, [&] { RenderNonce(r.nonceUe, out); });
    }
    if (r.ueNetworkCapabilityPresent != 0) {
        WriteGroup("UE_Network_Capability", out, [&] { RenderUeNetworkCapability(r.ueNetworkCapability, out); });
    }
    if (r.lastVisitedTaiPresent != 0) {
        WriteGroup("Last_visited_registered_TAI", out, [&] { RenderTrackingAreaIdentity(r.lastVisitedTai, out); });
    }
    if (r.drxParameterPresent != 0) {
        WriteGroup("DRX_parameter", out, [&] { RenderDrxParameter(r.drxParameter, out); });
    }
    if (r.radioCapabilityUpdatePresent != 0) {
        WriteGroup("UE_radio_capability_information_update_needed", out,
                   [&] { RenderUeRadioCapabilityInfoUpdateNeeded(r.radioCapabilityUpdate, out); });
    }
    if (r.epsBearerContextStatusPresent != 0) {
        WriteGroup("EPS_bear_context_status", out,
                   [&] { RenderEpsBearerContextStatus(r.epsBearerContextStatus, out); });
    }
    if (r.msNetworkCapabilityPresent != 0) {
        WriteGroup("MS_network_capability", out, [&] { RenderMsNetworkCapability(r.msNetworkCapability, out); });
    }
    if (r.oldLaiPresent != 0) {
        WriteGroup("Old_location_area_identification", out, [&] { RenderLocationAreaIdentification(r.oldLai, out); });
    }
    if (r.tmsiStatusPresent != 0) {
        RenderTmsiStatus(r.tmsiStatus, out);
    }
    if (r.classmark2Present != 0) {
        WriteGroup("Mobile_Station_classmark2", out, [&] { RenderMobileStationClassmark2(r.classmark2, out); });
    }
    if (r.classmark3Present != 0) WriteGroup("Mobile_Station_classmark3", out, [] {});
    if (r.supportedCodecsPresent != 0) WriteGroup("Supported_Codecs", out, [] {});
    if (r.additionalUpdateTypePresent != 0) RenderAdditionalUpdateResult(r.additionalUpdateType, out);
    WriteCloseTag("TRACKING_AREA_UPDATE_REQUEST", out);
    return 1;
}

std::unique_ptr<TrackingAreaUpdateAcceptRecord> ParseTrackingAreaUpdateAccept(int /*direction*/, int32_t bodyLength,
                                                                              const uint8_t* body) {
    std::unique_ptr<TrackingAreaUpdateAcceptRecord> record = NewRecord<TrackingAreaUpdateAcceptRecord>();
    if (!record) return nullptr;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    // Octet 1: spare (bits 8-5), reserved bit 4, EPS update result value.
    ReadBits(cursor, 5);
    record->updateResult = static_cast<int32_t>(ReadBits(cursor, 3));

    // Stopping scan: the first octet that names no IE ends it.
    while (HasOctet(cursor)) {
        if (!ParseAcceptIe(cursor, ReadOctet(cursor), *record)) break;
    }
    return record;
}

int RenderTrackingAreaUpdateAccept(const TrackingAreaUpdateAcceptRecord& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("TRACKING_AREA_UPDATE_ACCEPT", out);
    RenderEpsUpdateResult(r.updateResult, out);
    if (r.t3412Present != 0) WriteGroup("T3412", out, [&] { RenderGprsTimer(r.t3412, out); });
    if (r.gutiPresent != 0) WriteGroup("GUTI", out, [&] { RenderEpsMobileIdentity(r.guti, out); });
    if (r.taiListPresent != 0) WriteGroup("TAIList", out, [&] { RenderTrackingAreaIdentity(r.taiList, out); });
    if (r.epsBearerContextStatusPresent != 0) {
        WriteGroup("EPS_Bear_Context_Status", out,
                   [&] { RenderEpsBearerContextStatus(r.epsBearerContextStatus, out); });
    }
    if (r.laiPresent != 0) {
        WriteGroup("Location_Area_Identification", out, [&] { RenderLocationAreaIdentification(r.lai, out); });
    }
    if (r.msIdentityPresent != 0) WriteGroup("MS_Identity", out, [&] { RenderMobileIdentity(r.msIdentity, out); });
    if (r.emmCausePresent != 0) RenderEmmCause(r.emmCause, out);
    if (r.t3402Present != 0) WriteGroup("T3402", out, [&] { RenderGprsTimer(r.t3402, out); });
    if (r.t3423Present != 0) WriteGroup("T3423", out, [&] { RenderGprsTimer(r.t3423, out); });
    if (r.equivalentPlmnsPresent != 0) {
        WriteGroup("Equivalent_PLMNS", out, [&] { RenderPlmnList(r.equivalentPlmns, out); });
    }
    if (r.emergencyNumbersPresent != 0) {
        WriteGroup("Emergency_Number_List", out, [&] { RenderEmergencyNumberList(r.emergencyNumbers, out); });
    }
    if (r.networkFeatureSupportPresent != 0) {
        WriteGroup("EPSNetworkFeatureSupport", out,
                   [&] { RenderEpsNetworkFeatureSupport(r.networkFeatureSupport, out); });
    }
    if (r.additionalUpdateResultPresent != 0) RenderAdditionalUpdateResult(r.additionalUpdateResult, out);
    WriteCloseTag("TRACKING_AREA_UPDATE_ACCEPT", out);
    return 1;
}

}  // namespace corvuna
