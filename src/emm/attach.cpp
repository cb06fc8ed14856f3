#include "emm/attach.h"

#include "emm/cause_message.h"

#include "api/codec.h"
#include "bits/bit_cursor.h"
#include "doc/value_text.h"

namespace corvuna {

namespace {

// EPS attach type (TS 24.301 9.9.3.11).
constexpr ValueText kAttachType[] = {
    {1, "EPS Attach"},
    {2, "combined EPS/IMSI attach"},
};
constexpr const char* kAttachTypeOther = "reserved";

// EPS attach result (TS 24.301 9.9.3.10).
constexpr ValueText kAttachResult[] = {
    {1, "EPS Only"},
    {2, "combined EPS/IMSI"},
};
constexpr const char* kAttachResultOther = "reserved";

// Optional IEIs of ATTACH REQUEST.
constexpr uint8_t kOldPtmsiSignatureIei = 0x19;
constexpr uint8_t kAdditionalGutiIei = 0x50;
constexpr uint8_t kLastVisitedTaiIei = 0x52;
constexpr uint8_t kDrxParameterIei = 0x5C;
constexpr uint8_t kMsNetworkCapabilityIei = 0x31;
constexpr uint8_t kOldLaiIei = 0x13;
constexpr uint8_t kTmsiStatusIei = 0x90;  // type 1: high nibble only
constexpr uint8_t kClassmark2Iei = 0x11;
constexpr uint8_t kClassmark3Iei = 0x20;
constexpr uint8_t kSupportedCodecsIei = 0x40;

// Optional IEIs of ATTACH ACCEPT.
constexpr uint8_t kGutiIei = 0x50;
constexpr uint8_t kLaiIei = 0x13;
constexpr uint8_t kMsIdentityIei = 0x23;
constexpr uint8_t kEmmCauseIei = 0x53;
constexpr uint8_t kT3402Iei = 0x17;
constexpr uint8_t kT3423Iei = 0x59;
constexpr uint8_t kEquivalentPlmnsIei = 0x4A;
constexpr uint8_t kEmergencyNumbersIei = 0x34;

// Value lengths of the TV IEs, IEI excluded.
constexpr int32_t kPtmsiSignatureLength = 3;
constexpr int32_t kTaiLength = 5;
constexpr int32_t kDrxParameterLength = 2;
constexpr int32_t kLaiLength = 5;
constexpr int32_t kGprsTimerLength = 1;

// Passes over the ESM message container (LV-E).  Its length is the 16-bit
// value of the two length octets; a container that runs past the body takes
// the rest of it, so that nothing after it is read as an optional IE.
void SkipEsmMessageContainer(BitCursor& cursor) {
    const uint32_t high = ReadOctet(cursor);
    const uint32_t low = ReadOctet(cursor);
    SkipIeUnchecked(cursor, high * 256u + low);
}

void WriteEmptyGroup(const char* name, OutputDocument& out) {
    WriteLineTag(name, out);
    WriteCloseTag(name, out);
}

}  // namespace

std::unique_ptr<AttachRequestRecord> ParseAttachRequest(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<AttachRequestRecord>();
    if (!record) return record;
    AttachRequestRecord& r = *record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    // Octet 1: NAS key set identifier in the high half, EPS attach type in
    // bits 3-1 (bit 4 is spare).
    r.ksi.tsc = static_cast<uint8_t>(ReadBits(cursor, 1));
    r.ksi.keySetId = static_cast<uint8_t>(ReadBits(cursor, 3));
    ReadBits(cursor, 1);
    r.attachType = static_cast<int32_t>(ReadBits(cursor, 3));

    ParseEpsMobileIdentity(cursor, ReadOctet(cursor), r.oldGutiOrImsi);
    ParseUeNetworkCapability(cursor, ReadOctet(cursor), r.ueNetworkCapability);
    SkipEsmMessageContainer(cursor);

    // A repeated IE replaces the earlier occurrence wholly: its record is
    // cleared before the later occurrence is parsed.
    while (HasOctet(cursor)) {
        const uint8_t iei = ReadOctet(cursor);
        if ((iei & 0xF0) == kTmsiStatusIei) {
            r.tmsiStatusPresent = 1;
            r.tmsiStatus = TestBit(iei, 0);
            continue;
        }
        switch (iei) {
            case kOldPtmsiSignatureIei:
                r.oldPtmsiSignaturePresent = 1;
                r.oldPtmsiSignature = 0;
                ParsePtmsiSignature(cursor, kPtmsiSignatureLength, r.oldPtmsiSignature);
                break;
            case kAdditionalGutiIei:
                r.additionalGutiPresent = 1;
                r.additionalGuti = {};
                ParseEpsMobileIdentity(cursor, ReadOctet(cursor), r.additionalGuti);
                break;
            case kLastVisitedTaiIei:
                // A single TAI (TV), not a list: no list header precedes it.
                r.lastVisitedTaiPresent = 1;
                r.lastVisitedTai = {};
                ParseTrackingAreaIdentity(cursor, kTaiLength, r.lastVisitedTai);
                break;
            case kDrxParameterIei:
                r.drxParameterPresent = 1;
                r.drxParameter = {};
                ParseDrxParameter(cursor, kDrxParameterLength, r.drxParameter);
                break;
            case kMsNetworkCapabilityIei:
                r.msNetworkCapabilityPresent = 1;
                r.msNetworkCapability = {};
                ParseMsNetworkCapability(cursor, ReadOctet(cursor), r.msNetworkCapability);
                break;
            case kOldLaiIei:
                r.oldLaiPresent = 1;
                r.oldLai = {};
                ParseLocationAreaIdentification(cursor, kLaiLength, r.oldLai);
                break;
            case kClassmark2Iei:
                r.classmark2Present = 1;
                r.classmark2 = {};
                ParseMobileStationClassmark2(cursor, ReadOctet(cursor), r.classmark2);
                break;
            case kClassmark3Iei:
                r.classmark3Present = 1;
                SkipIe(cursor, ReadOctet(cursor));
                break;
            case kSupportedCodecsIei:
                r.supportedCodecsPresent = 1;
                SkipIeUnchecked(cursor, ReadOctet(cursor));
                break;
            default:
                // Unknown IEI: passed over alone.
                break;
        }
    }
    return record;
}

int RenderAttachRequest(const AttachRequestRecord& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("ATTACH_REQUEST", out);
    WriteNumber("EPS_Attach_Type", &r.attachType, 4, out, LookupText(kAttachType, r.attachType, kAttachTypeOther));
    WriteGroup("NAS_key_set_identifier", r.ksi, RenderKeySetIdentifier, out);
    WriteGroup("Old_GUTI_Or_IMSI", r.oldGutiOrImsi, RenderEpsMobileIdentity, out);
    WriteGroup("UE_Network_capability", r.ueNetworkCapability, RenderUeNetworkCapability, out);
    if (r.oldPtmsiSignaturePresent) WriteGroup("Old_P_TMSI_Signature", r.oldPtmsiSignature, RenderPtmsiSignature, out);
    if (r.additionalGutiPresent) WriteGroup("Additional_GUTI", r.additionalGuti, RenderEpsMobileIdentity, out);
    if (r.lastVisitedTaiPresent) {
        WriteGroup("Last_Visited_Registered_TAI", r.lastVisitedTai, RenderTrackingAreaIdentity, out);
    }
    if (r.drxParameterPresent) WriteGroup("DRX_Parameter", r.drxParameter, RenderDrxParameter, out);
    if (r.msNetworkCapabilityPresent) {
        WriteGroup("MS_Network_capability", r.msNetworkCapability, RenderMsNetworkCapability, out);
    }
    if (r.oldLaiPresent) WriteGroup("Old_LAI", r.oldLai, RenderLocationAreaIdentification, out);
    if (r.tmsiStatusPresent) {
        RenderTmsiStatus(r.tmsiStatus, out);
    }
    if (r.classmark2Present) WriteGroup("Mobile_station_classmark2", r.classmark2, RenderMobileStationClassmark2, out);
    // Classmark 3 and the supported codecs are not decoded: an empty group
    // tells that they were present.
    if (r.classmark3Present) WriteEmptyGroup("Mobile_station_classmark3", out);
    if (r.supportedCodecsPresent) WriteEmptyGroup("Supported_Codecs", out);
    WriteCloseTag("ATTACH_REQUEST", out);
    return 1;
}

std::unique_ptr<AttachAcceptRecord> ParseAttachAccept(int, int32_t bodyLength, const uint8_t* body) {
    auto record = NewRecord<AttachAcceptRecord>();
    if (!record) return record;
    AttachAcceptRecord& r = *record;
    BitCursor cursor;
    LoadBody(cursor, body, bodyLength);

    // Octet 1: spare half-octet, spare bit 4, EPS attach result in bits 3-1.
    ReadBits(cursor, 5);
    r.attachResult = static_cast<int32_t>(ReadBits(cursor, 3));
    ParseGprsTimer(cursor, kGprsTimerLength, r.t3412);
    ParseTrackingAreaIdentityList(cursor, ReadOctet(cursor), r.taiList);
    SkipEsmMessageContainer(cursor);

    // A repeated IE replaces the earlier occurrence wholly.
    while (HasOctet(cursor)) {
        switch (ReadOctet(cursor)) {
            case kGutiIei:
                r.gutiPresent = 1;
                r.guti = {};
                ParseEpsMobileIdentity(cursor, ReadOctet(cursor), r.guti);
                break;
            case kLaiIei:
                r.laiPresent = 1;
                r.lai = {};
                ParseLocationAreaIdentification(cursor, kLaiLength, r.lai);
                break;
            case kMsIdentityIei:
                r.msIdentityPresent = 1;
                r.msIdentity = {};
                ParseMobileIdentity(cursor, ReadOctet(cursor), r.msIdentity);
                break;
            case kEmmCauseIei:
                r.emmCausePresent = 1;
                r.emmCause = ReadOctet(cursor);
                break;
            case kT3402Iei:
                r.t3402Present = 1;
                r.t3402 = {};
                ParseGprsTimer(cursor, kGprsTimerLength, r.t3402);
                break;
            case kT3423Iei:
                r.t3423Present = 1;
                r.t3423 = {};
                ParseGprsTimer(cursor, kGprsTimerLength, r.t3423);
                break;
            case kEquivalentPlmnsIei:
                r.equivalentPlmnsPresent = 1;
                r.equivalentPlmns = {};
                ParsePlmnList(cursor, ReadOctet(cursor), r.equivalentPlmns);
                break;
            case kEmergencyNumbersIei:
                r.emergencyNumbersPresent = 1;
                r.emergencyNumbers = {};
                ParseEmergencyNumberList(cursor, ReadOctet(cursor), r.emergencyNumbers);
                break;
            default:
                // Unknown IEI (EPS network feature support, additional update
                // result, T3412 extended value ...): passed over alone.
                break;
        }
    }
    return record;
}

int RenderAttachAccept(const AttachAcceptRecord& r, OutputDocument& out) {
    if (out.buffer == nullptr) return 0;
    WriteLineTag("ATTACH_ACCEPT", out);
    WriteNumber("EPS_Attach_Result", &r.attachResult, 4, out,
                LookupText(kAttachResult, r.attachResult, kAttachResultOther));
    // The timers are written without group tags; only their place tells
    // them apart.
    RenderGprsTimer(r.t3412, out);
    WriteGroup("TAI_List", r.taiList, RenderTrackingAreaIdentity, out);
    if (r.gutiPresent) WriteGroup("GUTI", r.guti, RenderEpsMobileIdentity, out);
    if (r.laiPresent) WriteGroup("Location_Area_Identification", r.lai, RenderLocationAreaIdentification, out);
    if (r.msIdentityPresent) WriteGroup("MS_identity", r.msIdentity, RenderMobileIdentity, out);
    if (r.emmCausePresent) RenderEmmCause(r.emmCause, out);
    if (r.t3402Present) RenderGprsTimer(r.t3402, out);
    if (r.t3423Present) RenderGprsTimer(r.t3423, out);
    if (r.equivalentPlmnsPresent) WriteGroup("Equivalent_PLMNs", r.equivalentPlmns, RenderPlmnList, out);
    if (r.emergencyNumbersPresent) {
        WriteGroup("Emergency_Number_List", r.emergencyNumbers, RenderEmergencyNumberList, out);
    }
    WriteCloseTag("ATTACH_ACCEPT", out);
    return 1;
}

int RenderAttachComplete(const EmptyBodyRecord&, OutputDocument& out) {
    return RenderEmptyMessage("ATTACH_COMPLET", out);
}

int RenderAttachReject(const SingleOctetRecord& record, OutputDocument& out) {
    return RenderEmmCauseMessage("ATTACH_REJECT", record, out);
}

}  // namespace corvuna
