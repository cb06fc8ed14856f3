// SPDX-License-Identifier: Apache-2.0
#include "api/dispatch.h"

#include <array>

#include "legacy/codec/esm_bodies.h"
#include "legacy/codec/shared_bodies.h"
#include "legacy/emm/attach.h"
#include "legacy/emm/authentication.h"
#include "legacy/emm/detach.h"
#include "legacy/emm/emm_information.h"
#include "legacy/emm/guti_reallocation.h"
#include "legacy/emm/security_mode.h"
#include "legacy/emm/service.h"
#include "legacy/emm/short_messages.h"
#include "legacy/emm/tracking_area_update.h"
#include "legacy/esm/bearer_modification.h"
#include "legacy/esm/bearer_resource.h"
#include "legacy/esm/dedicated_bearer.h"
#include "legacy/esm/default_bearer.h"
#include "legacy/esm/esm_information.h"
#include "legacy/esm/pdn_connectivity.h"

namespace corvuna {

namespace {

// The shared bodies.
constexpr MessageDecoder kEmptyBody = kDecoder<ParseEmptyBody, RenderEmptyBody>;
constexpr MessageDecoder kEmmCauseBody = kDecoder<ParseSingleOctetBody, RenderEmmCauseBody>;
constexpr MessageDecoder kPcoOnlyBody = kDecoder<ParsePcoOnlyBody, RenderPcoOnlyBody<kPcoGroup>>;
constexpr MessageDecoder kCauseAndPcoBody = kDecoder<ParseCauseAndPcoBody, RenderCauseAndPcoBody<kPcoGroup>>;

// ESM messages (TS 24.301 clause 9.8, EPS session management).
constexpr std::array kEsmTable{
    MessageEntry{705, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REQUEST",
                 kDecoder<ParseActivateDefaultEpsBearerContextRequest, RenderActivateDefaultEpsBearerContextRequest>},
    MessageEntry{706, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_ACCEPT", kPcoOnlyBody},
    MessageEntry{707, "ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REJECT", kCauseAndPcoBody},
    MessageEntry{709, "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REQUEST",
                 kDecoder<ParseActivateDedicatedEpsBearerContextRequest,
                          RenderActivateDedicatedEpsBearerContextRequest>},
    MessageEntry{710, "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_ACCEPT",
                 kDecoder<ParsePcoScanBody, RenderPcoOnlyBody<kPcoGroupShort>>},
    MessageEntry{711, "ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REJECT",
                 kDecoder<ParseCauseAndPcoScanBody, RenderCauseAndPcoBody<kPcoGroupCapitals>>},
    MessageEntry{713, "MODIFY_EPS_BEARER_CONTEXT_REQUEST",
                 kDecoder<ParseModifyEpsBearerContextRequest, RenderModifyEpsBearerContextRequest>},
    MessageEntry{714, "MODIFY_EPS_BEARER_CONTEXT_ACCEPT", kPcoOnlyBody},
    MessageEntry{715, "MODIFY_EPS_BEARER_CONTEXT_REJECT", kCauseAndPcoBody},
    MessageEntry{717, "DEACTIVATE_EPS_BEARER_CONTEXT_REQUEST", kCauseAndPcoBody},
    MessageEntry{718, "DEACTIVATE_EPS_BEARER_CONTEXT_ACCEPT", kPcoOnlyBody},
    MessageEntry{720, "PDN_CONNECTIVITY_REQUEST", kDecoder<ParsePdnConnectivityRequest, RenderPdnConnectivityRequest>},
    MessageEntry{721, "PDN_CONNECTIVITY_REJECT", kCauseAndPcoBody},
    MessageEntry{722, "PDN_DISCONNECT_REQUEST", kDecoder<ParsePdnDisconnectRequest, RenderPdnDisconnectRequest>},
    MessageEntry{723, "PDN_DISCONNECT_REJECT", kCauseAndPcoBody},
    MessageEntry{724, "BEARER_RESOURCE_ALLOCATION_REQUEST",
                 kDecoder<ParseBearerResourceAllocationRequest, RenderBearerResourceAllocationRequest>},
    MessageEntry{725, "BEARER_RESOURCE_ALLOCATION_REJECT", kCauseAndPcoBody},
    MessageEntry{726, "BEARER_RESOURCE_MODIFICATION_REQUEST",
                 kDecoder<ParseBearerResourceModificationRequest, RenderBearerResourceModificationRequest>},
    MessageEntry{727, "BEARER_RESOURCE_MODIFICATION_REJECT", kCauseAndPcoBody},
    MessageEntry{729, "ESM_INFORMATION_REQUEST", kEmptyBody},
    MessageEntry{730, "ESM_INFORMATION_RESPONSE", kDecoder<ParseEsmInformationResponse, RenderEsmInformationResponse>},
    MessageEntry{744, "ESM_STATUS", kDecoder<ParseSingleOctetBody, RenderEsmStatus>},
};

// EMM messages (TS 24.301 clause 9.8, EPS mobility management).
// "ATTACH_COMPLET" and "AUTHENTICATION_FAILUR" lack their last letter on
// purpose: hosts match on the element names as written.
constexpr std::array kEmmTable{
    MessageEntry{1857, "ATTACH_REQUEST", kDecoder<ParseAttachRequest, RenderAttachRequest>},
    MessageEntry{1858, "ATTACH_ACCEPT", kDecoder<ParseAttachAccept, RenderAttachAccept>},
    MessageEntry{1859, "ATTACH_COMPLET", kEmptyBody},
    MessageEntry{1860, "ATTACH_REJECT", kEmmCauseBody},
    MessageEntry{1861, "DETACH_REQUEST", kDecoder<ParseDetachRequest, RenderDetachRequest>},
    MessageEntry{1862, "DETACH_ACCEPT", kEmptyBody},
    MessageEntry{1864, "TRACKING_AREA_UPDATE_REQUEST",
                 kDecoder<ParseTrackingAreaUpdateRequest, RenderTrackingAreaUpdateRequest>},
    MessageEntry{1865, "TRACKING_AREA_UPDATE_ACCEPT",
                 kDecoder<ParseTrackingAreaUpdateAccept, RenderTrackingAreaUpdateAccept>},
    MessageEntry{1866, "TRACKING_AREA_UPDATE_COMPLETE", kEmptyBody},
    MessageEntry{1867, "TRACKING_AREA_UPDATE_REJECT", kEmmCauseBody},
    MessageEntry{1868, "EXTENDED_SERVICE_REQUEST", kDecoder<ParseExtendedServiceRequest, RenderExtendedServiceRequest>},
    MessageEntry{1870, "SERVICE_REJECT", kDecoder<ParseServiceReject, RenderServiceReject>},
    MessageEntry{1872, "GUTI_REALLOCATION_COMMAND",
                 kDecoder<ParseGutiReallocationCommand, RenderGutiReallocationCommand>},
    MessageEntry{1873, "GUTI_REALLOCATION_COMPLETE", kEmptyBody},
    MessageEntry{1874, "AUTHENTICATION_REQUEST", kDecoder<ParseAuthenticationRequest, RenderAuthenticationRequest>},
    MessageEntry{1875, "AUTHENTICATION_RESPONSE", kDecoder<ParseAuthenticationResponse, RenderAuthenticationResponse>},
    MessageEntry{1876, "AUTHENTICATION_REJECT", kEmptyBody},
    MessageEntry{1877, "IDENTITY_REQUEST", kDecoder<ParseIdentityRequest, RenderIdentityRequest>},
    MessageEntry{1878, "IDENTITY_RESPONSE", kDecoder<ParseIdentityResponse, RenderIdentityResponse>},
    MessageEntry{1884, "AUTHENTICATION_FAILUR", kDecoder<ParseAuthenticationFailure, RenderAuthenticationFailure>},
    MessageEntry{1885, "SECURITY_MODE_COMMAND", kDecoder<ParseSecurityModeCommand, RenderSecurityModeCommand>},
    MessageEntry{1886, "SECURITY_MODE_COMPLETE", kDecoder<ParseSecurityModeComplete, RenderSecurityModeComplete>},
    MessageEntry{1887, "SECURITY_MODE_REJECT", kEmmCauseBody},
    MessageEntry{1888, "EMM_STATUS", kEmmCauseBody},
    MessageEntry{1889, "EMM_INFORMATION", kDecoder<ParseEmmInformation, RenderEmmInformation>},
    MessageEntry{1890, "DOWNLINK_NAS_TRANSPORT", kEmptyBody},
    MessageEntry{1891, "UPLINK_NAS_TRANSPORT", kEmptyBody},
    MessageEntry{1892, "CS_SERVICE_NOTIFICATION", kDecoder<ParseCsServiceNotification, RenderCsServiceNotification>},
};

// Message types are dense within each protocol: one index per type.
template <size_t N>
consteval std::array<uint8_t, 256> IndexByType(const std::array<MessageEntry, N>& table, uint32_t base) {
    std::array<uint8_t, 256> index{};
    index.fill(0xFF);
    for (size_t i = 0; i < N; ++i) index[table[i].code - base] = static_cast<uint8_t>(i);
    return index;
}
constexpr auto kEsmIndex = IndexByType(kEsmTable, kEsmCodeBase);
constexpr auto kEmmIndex = IndexByType(kEmmTable, kEmmCodeBase);

template <size_t N>
const MessageEntry* Lookup(const std::array<MessageEntry, N>& table, const std::array<uint8_t, 256>& index,
                           uint32_t base, uint32_t code) {
    if (code < base || code > base + 0xFF) return nullptr;
    const uint8_t row = index[code - base];
    return row == 0xFF ? nullptr : &table[row];
}

int Dispatch(const MessageEntry* entry, int direction, int32_t bodyLength, const uint8_t* body,
             OutputDocument& out) {
    if (bodyLength < 0) return -1;
    if (entry != nullptr && entry->decode != nullptr) entry->decode(direction, bodyLength, body, entry->element(), out);
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
    return Dispatch(Lookup(kEsmTable, kEsmIndex, kEsmCodeBase, code), direction, bodyLength, body, out);
}

int DispatchEmm(int direction, int32_t bodyLength, uint32_t code, const uint8_t* body, OutputDocument& out) {
    return Dispatch(Lookup(kEmmTable, kEmmIndex, kEmmCodeBase, code), direction, bodyLength, body, out);
}

}  // namespace corvuna
