#include "api/dispatch.h"

#include <array>

#include "api/shared_bodies.h"
#include "emm/attach.h"
#include "emm/authentication.h"
#include "emm/detach.h"
#include "emm/emm_information.h"
#include "emm/guti_reallocation.h"
#include "emm/security_mode.h"
#include "emm/service.h"
#include "emm/short_messages.h"
#include "emm/tracking_area_update.h"
#include "esm/bearer_deactivation.h"
#include "esm/bearer_modification.h"
#include "esm/bearer_resource.h"
#include "esm/dedicated_bearer.h"
#include "esm/default_bearer.h"
#include "esm/esm_information.h"
#include "esm/pdn_connectivity.h"

namespace corvuna {

namespace {

// ESM messages (TS 24.301 clause 9.8, EPS session management).
constexpr std::array kEsmTable{
    MessageEntry{705, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REQUEST",
                 DecodeWith<ActivateDefaultEpsBearerContextRequestRecord, ParseActivateDefaultEpsBearerContextRequest,
                          RenderActivateDefaultEpsBearerContextRequest>},
    MessageEntry{706, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_ACCEPT",
                 DecodeWith<PcoOnlyRecord, ParsePcoOnlyBody, RenderActivateDefaultEpsBearerContextAccept>},
    MessageEntry{707, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REJECT",
                 DecodeWith<CauseAndPcoRecord, ParseCauseAndPcoBody, RenderActivateDefaultEpsBearerContextReject>},
    MessageEntry{709, "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REQUEST",
                 DecodeWith<ActivateDedicatedEpsBearerContextRequestRecord, ParseActivateDedicatedEpsBearerContextRequest,
                          RenderActivateDedicatedEpsBearerContextRequest>},
    MessageEntry{710, "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_ACCEPT",
                 DecodeWith<PcoOnlyRecord, ParseActivateDedicatedEpsBearerContextAccept,
                          RenderActivateDedicatedEpsBearerContextAccept>},
    MessageEntry{711, "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REJECT",
                 DecodeWith<CauseAndPcoRecord, ParseActivateDedicatedEpsBearerContextReject,
                          RenderActivateDedicatedEpsBearerContextReject>},
    MessageEntry{713, "MODIFY_EPS_BEARER_CONTEXT_REQUEST",
                 DecodeWith<ModifyEpsBearerContextRequestRecord, ParseModifyEpsBearerContextRequest,
                          RenderModifyEpsBearerContextRequest>},
    MessageEntry{714, "MODIFY_EPS_BEARER_CONTEXT_ACCEPT",
                 DecodeWith<PcoOnlyRecord, ParsePcoOnlyBody, RenderModifyEpsBearerContextAccept>},
    MessageEntry{715, "MODIFY_EPS_BEARER_CONTEXT_REJECT",
                 DecodeWith<CauseAndPcoRecord, ParseCauseAndPcoBody, RenderModifyEpsBearerContextReject>},
    MessageEntry{717, "DEACTIVATE_EPS_BEARER_CONTEXT_REQUEST",
                 DecodeWith<CauseAndPcoRecord, ParseCauseAndPcoBody, RenderDeactivateEpsBearerContextRequest>},
    MessageEntry{718, "DEACTIVATE_EPS_BEARER_CONTEXT_ACCEPT",
                 DecodeWith<PcoOnlyRecord, ParsePcoOnlyBody, RenderDeactivateEpsBearerContextAccept>},
    MessageEntry{720, "PDN_CONNECTIVITY_REQUEST",
                 DecodeWith<PdnConnectivityRequestRecord, ParsePdnConnectivityRequest, RenderPdnConnectivityRequest>},
    MessageEntry{721, "PDN_CONNECTIVITY_REJECT",
                 DecodeWith<CauseAndPcoRecord, ParseCauseAndPcoBody, RenderPdnConnectivityReject>},
    MessageEntry{722, "PDN_DISCONNECT_REQUEST",
                 DecodeWith<PdnDisconnectRequestRecord, ParsePdnDisconnectRequest, RenderPdnDisconnectRequest>},
    MessageEntry{723, "PDN_DISCONNECT_REJECT",
                 DecodeWith<CauseAndPcoRecord, ParseCauseAndPcoBody, RenderPdnDisconnectReject>},
    MessageEntry{724, "BEARER_RESOURCE_ALLOCATION_REQUEST",
                 DecodeWith<BearerResourceAllocationRequestRecord, ParseBearerResourceAllocationRequest,
                          RenderBearerResourceAllocationRequest>},
    MessageEntry{725, "BEARER_RESOURCE_ALLOCATION_REJECT",
                 DecodeWith<CauseAndPcoRecord, ParseCauseAndPcoBody, RenderBearerResourceAllocationReject>},
    MessageEntry{726, "BEARER_RESOURCE_MODIFICATION_REQUEST",
                 DecodeWith<BearerResourceModificationRequestRecord, ParseBearerResourceModificationRequest,
                          RenderBearerResourceModificationRequest>},
    MessageEntry{727, "BEARER_RESOURCE_MODIFICATION_REJECT",
                 DecodeWith<CauseAndPcoRecord, ParseCauseAndPcoBody, RenderBearerResourceModificationReject>},
    MessageEntry{729, "ESM_INFORMATION_REQUEST",
                 DecodeWith<EmptyBodyRecord, ParseEmptyBody, RenderEsmInformationRequest>},
    MessageEntry{730, "ESM_INFORMATION_RESPONSE",
                 DecodeWith<EsmInformationResponseRecord, ParseEsmInformationResponse, RenderEsmInformationResponse>},
    MessageEntry{744, "ESM_STATUS",
                 DecodeWith<SingleOctetRecord, ParseSingleOctetBody, RenderEsmStatus>},
};

// EMM messages (TS 24.301 clause 9.8, EPS mobility management).
constexpr std::array kEmmTable{
    MessageEntry{1857, "ATTACH_REQUEST",
                 DecodeWith<AttachRequestRecord, ParseAttachRequest, RenderAttachRequest>},
    MessageEntry{1858, "ATTACH_ACCEPT",
                 DecodeWith<AttachAcceptRecord, ParseAttachAccept, RenderAttachAccept>},
    MessageEntry{1859, "ATTACH_COMPLET",
                 DecodeWith<EmptyBodyRecord, ParseEmptyBody, RenderAttachComplete>},
    MessageEntry{1860, "ATTACH_REJECT",
                 DecodeWith<SingleOctetRecord, ParseSingleOctetBody, RenderAttachReject>},
    MessageEntry{1861, "DETACH_REQUEST", DecodeWith<DetachRequestRecord, ParseDetachRequest, RenderDetachRequest>},
    MessageEntry{1862, "DETACH_ACCEPT", DecodeWith<EmptyBodyRecord, ParseEmptyBody, RenderDetachAccept>},
    MessageEntry{1864, "TRACKING_AREA_UPDATE_REQUEST",
                 DecodeWith<TrackingAreaUpdateRequestRecord, ParseTrackingAreaUpdateRequest,
                            RenderTrackingAreaUpdateRequest>},
    MessageEntry{1865, "TRACKING_AREA_UPDATE_ACCEPT",
                 DecodeWith<TrackingAreaUpdateAcceptRecord, ParseTrackingAreaUpdateAccept,
                            RenderTrackingAreaUpdateAccept>},
    MessageEntry{1866, "TRACKING_AREA_UPDATE_COMPLETE",
                 DecodeWith<EmptyBodyRecord, ParseEmptyBody, RenderTrackingAreaUpdateComplete>},
    MessageEntry{1867, "TRACKING_AREA_UPDATE_REJECT",
                 DecodeWith<SingleOctetRecord, ParseSingleOctetBody, RenderTrackingAreaUpdateReject>},
    MessageEntry{1868, "EXTENDED_SERVICE_REQUEST",
                 DecodeWith<ExtendedServiceRequestRecord, ParseExtendedServiceRequest, RenderExtendedServiceRequest>},
    MessageEntry{1870, "SERVICE_REJECT", DecodeWith<ServiceRejectRecord, ParseServiceReject, RenderServiceReject>},
    MessageEntry{
        1872, "GUTI_REALLOCATION_COMMAND",
        DecodeWith<GutiReallocationCommandRecord, ParseGutiReallocationCommand, RenderGutiReallocationCommand>},
    MessageEntry{1873, "GUTI_REALLOCATION_COMPLETE",
                 DecodeWith<EmptyBodyRecord, ParseEmptyBody, RenderGutiReallocationComplete>},
    MessageEntry{1874, "AUTHENTICATION_REQUEST",
                 DecodeWith<AuthenticationRequestRecord, ParseAuthenticationRequest, RenderAuthenticationRequest>},
    MessageEntry{1875, "AUTHENTICATION_RESPONSE",
                 DecodeWith<AuthenticationResponseRecord, ParseAuthenticationResponse, RenderAuthenticationResponse>},
    MessageEntry{1876, "AUTHENTICATION_REJECT",
                 DecodeWith<EmptyBodyRecord, ParseEmptyBody, RenderAuthenticationReject>},
    MessageEntry{1877, "IDENTITY_REQUEST",
                 DecodeWith<IdentityRequestRecord, ParseIdentityRequest, RenderIdentityRequest>},
    MessageEntry{1878, "IDENTITY_RESPONSE",
                 DecodeWith<IdentityResponseRecord, ParseIdentityResponse, RenderIdentityResponse>},
    MessageEntry{1884, "AUTHENTICATION_FAILUR",
                 DecodeWith<AuthenticationFailureRecord, ParseAuthenticationFailure, RenderAuthenticationFailure>},
    MessageEntry{1885, "SECURITY_MODE_COMMAND",
                 DecodeWith<SecurityModeCommandRecord, ParseSecurityModeCommand, RenderSecurityModeCommand>},
    MessageEntry{1886, "SECURITY_MODE_COMPLETE",
                 DecodeWith<SecurityModeCompleteRecord, ParseSecurityModeComplete, RenderSecurityModeComplete>},
    MessageEntry{1887, "SECURITY_MODE_REJECT",
                 DecodeWith<SingleOctetRecord, ParseSingleOctetBody, RenderSecurityModeReject>},
    MessageEntry{1888, "EMM_STATUS", DecodeWith<SingleOctetRecord, ParseSingleOctetBody, RenderEmmStatus>},
    MessageEntry{1889, "EMM_INFORMATION", DecodeWith<EmmInformationRecord, ParseEmmInformation, RenderEmmInformation>},
    MessageEntry{1890, "DOWNLINK_NAS_TRANSPORT",
                 DecodeWith<DownlinkNasTransportRecord, ParseDownlinkNasTransport, RenderDownlinkNasTransport>},
    MessageEntry{1891, "UPLINK_NAS_TRANSPORT",
                 DecodeWith<UplinkNasTransportRecord, ParseUplinkNasTransport, RenderUplinkNasTransport>},
    MessageEntry{1892, "CS_SERVICE_NOTIFICATION",
                 DecodeWith<CsServiceNotificationRecord, ParseCsServiceNotification, RenderCsServiceNotification>},
};

int Dispatch(std::span<const MessageEntry> table, int direction, int32_t bodyLength, uint32_t code,
             const uint8_t* body, OutputDocument& out) {
    if (bodyLength < 0) return -1;
    const MessageEntry* entry = FindMessage(table, code);
    if (entry != nullptr && entry->decode != nullptr) entry->decode(direction, bodyLength, body, out);
    return 1;
}

}  // namespace

std::span<const MessageEntry> EsmMessageTable() { return kEsmTable; }
std::span<const MessageEntry> EmmMessageTable() { return kEmmTable; }

const MessageEntry* FindMessage(std::span<const MessageEntry> table, uint32_t code) {
    for (const MessageEntry& entry : table) {
        if (entry.code == code) return &entry;
    }
    return nullptr;
}

int DispatchEsm(int direction, int32_t bodyLength, uint32_t code, const uint8_t* body, OutputDocument& out) {
    return Dispatch(kEsmTable, direction, bodyLength, code, body, out);
}

int DispatchEmm(int direction, int32_t bodyLength, uint32_t code, const uint8_t* body, OutputDocument& out) {
    return Dispatch(kEmmTable, direction, bodyLength, code, body, out);
}

}  // namespace corvuna
