// SPDX-License-Identifier: Apache-2.0
#include "capture/s1ap.h"

#include "capture/aper.h"

namespace corvuna::capture {

namespace {

// Protocol IE ids (TS 36.413 clause 9.3.7).
constexpr uint32_t kIdMmeUeS1apId = 0;
constexpr uint32_t kIdEnbUeS1apId = 8;
constexpr uint32_t kIdErabToBeSetupListBearerSuReq = 16;
constexpr uint32_t kIdErabToBeSetupItemBearerSuReq = 17;
constexpr uint32_t kIdErabToBeSetupListCtxtSuReq = 24;
constexpr uint32_t kIdNasPdu = 26;
constexpr uint32_t kIdErabToBeModifiedListBearerModReq = 30;
constexpr uint32_t kIdErabToBeModifiedItemBearerModReq = 36;
constexpr uint32_t kIdErabToBeSetupItemCtxtSuReq = 52;

void Keep(S1apPdu& out, Bytes nas) {
    if (out.nasCount < kMaxNasPerS1ap) {
        out.nas[out.nasCount++] = nas;
    } else {
        out.tooManyNas = true;
    }
}

// E-RAB-ID ::= INTEGER (0..15, ...)
void SkipErabId(AperReader& r) {
    if (r.Bit()) {
        r.OpenType();  // a value outside the root: length and octets
    } else {
        r.Bits(4);
    }
}

// AllocationAndRetentionPriority ::= SEQUENCE { priorityLevel (0..15),
// pre-emptionCapability, pre-emptionVulnerability, iE-Extensions OPTIONAL, ... }
void SkipAllocationAndRetentionPriority(AperReader& r) {
    const bool extended = r.Bit();
    const bool extensions = r.Bit();
    r.Bits(4);
    r.Bits(1);
    r.Bits(1);
    if (extensions) r.SkipProtocolExtensions();
    if (extended) r.SkipExtensionAdditions();
}

// GBR-QosInformation ::= SEQUENCE { four BitRate (INTEGER (0..10000000000)),
// iE-Extensions OPTIONAL, ... }
void SkipGbrQosInformation(AperReader& r) {
    const bool extended = r.Bit();
    const bool extensions = r.Bit();
    for (int i = 0; i < 4; ++i) r.Constrained(10000000001ull);
    if (extensions) r.SkipProtocolExtensions();
    if (extended) r.SkipExtensionAdditions();
}

// E-RABLevelQoSParameters ::= SEQUENCE { qCI (0..255),
// allocationRetentionPriority, gbrQosInformation OPTIONAL, iE-Extensions
// OPTIONAL, ... }
void SkipErabLevelQosParameters(AperReader& r) {
    const bool extended = r.Bit();
    const bool gbr = r.Bit();
    const bool extensions = r.Bit();
    r.Constrained(256);
    SkipAllocationAndRetentionPriority(r);
    if (gbr) SkipGbrQosInformation(r);
    if (extensions) r.SkipProtocolExtensions();
    if (extended) r.SkipExtensionAdditions();
}

// TransportLayerAddress ::= BIT STRING (SIZE (1..160, ...))
void SkipTransportLayerAddress(AperReader& r) {
    size_t bits = 0;
    if (r.Bit()) {
        bits = r.Length();
    } else {
        bits = static_cast<size_t>(r.Constrained(160)) + 1;
    }
    if (bits > 16) r.Align();
    for (size_t i = 0; i < bits && !r.failed(); i += 32) r.Bits(bits - i < 32 ? static_cast<int>(bits - i) : 32);
}

// The nAS-PDU of one E-RAB item (`id` tells the item's type); the items'
// other fields are read only to reach it.
void ParseErabItem(uint32_t id, Bytes value, S1apPdu& out) {
    AperReader r(value);
    r.Bit();  // extension bit: additions come after the nAS-PDU
    bool nas = true;
    if (id == kIdErabToBeSetupItemCtxtSuReq) {
        nas = r.Bit();  // nAS-PDU OPTIONAL
        r.Bit();        // iE-Extensions OPTIONAL
    } else {
        r.Bit();  // iE-Extensions OPTIONAL
    }
    SkipErabId(r);
    SkipErabLevelQosParameters(r);
    if (id != kIdErabToBeModifiedItemBearerModReq) {
        SkipTransportLayerAddress(r);
        r.Octets(4);  // gTP-TEID
    }
    if (!nas) return;
    const Bytes pdu = r.OpenType();  // NAS-PDU ::= OCTET STRING
    if (!r.failed()) Keep(out, pdu);
}

// E-RAB-IE-ContainerList: SEQUENCE (SIZE (1..256)) OF ProtocolIE-SingleContainer.
bool ParseErabList(Bytes value, S1apPdu& out) {
    AperReader r(value);
    const uint64_t count = r.Constrained(256) + 1;
    for (uint64_t i = 0; i < count && !r.failed(); ++i) {
        const uint32_t id = static_cast<uint32_t>(r.Constrained(65536));
        r.Bits(2);  // criticality
        const Bytes item = r.OpenType();
        if (r.failed()) break;
        if (id == kIdErabToBeSetupItemCtxtSuReq || id == kIdErabToBeSetupItemBearerSuReq ||
            id == kIdErabToBeModifiedItemBearerModReq) {
            ParseErabItem(id, item, out);
        }
    }
    return !r.failed();
}

// MME-UE-S1AP-ID (0..4294967295) and eNB-UE-S1AP-ID (0..16777215).
int64_t ParseUeId(Bytes value, uint64_t range) {
    AperReader r(value);
    const uint64_t id = r.Constrained(range);
    return r.failed() ? -1 : static_cast<int64_t>(id);
}

}  // namespace

S1apResult ParseS1ap(Bytes pdu, S1apPdu& out) {
    out = S1apPdu{};
    AperReader r(pdu);
    // S1AP-PDU ::= CHOICE { initiatingMessage, successfulOutcome,
    // unsuccessfulOutcome, ... }
    if (r.Bit()) return S1apResult::kMalformed;  // an alternative outside the root
    out.kind = static_cast<int>(r.Bits(2));
    if (out.kind > 2) return S1apResult::kMalformed;
    out.procedure = static_cast<int>(r.Constrained(256));
    r.Bits(2);  // criticality
    const Bytes message = r.OpenType();
    if (r.failed()) return S1apResult::kMalformed;
    // Every S1AP message: SEQUENCE { protocolIEs ProtocolIE-Container, ... }
    AperReader m(message);
    m.Bit();
    const uint64_t count = m.Constrained(65536);
    bool ok = true;
    for (uint64_t i = 0; i < count && !m.failed(); ++i) {
        const uint32_t id = static_cast<uint32_t>(m.Constrained(65536));
        m.Bits(2);  // criticality
        const Bytes value = m.OpenType();
        if (m.failed()) break;
        switch (id) {
            case kIdNasPdu: {
                AperReader v(value);
                const Bytes nas = v.OpenType();
                if (v.failed()) {
                    ok = false;
                } else {
                    Keep(out, nas);
                }
                break;
            }
            case kIdErabToBeSetupListCtxtSuReq:
            case kIdErabToBeSetupListBearerSuReq:
            case kIdErabToBeModifiedListBearerModReq:
                ok = ParseErabList(value, out) && ok;
                break;
            case kIdMmeUeS1apId:
                out.mmeUeId = ParseUeId(value, uint64_t{1} << 32);
                break;
            case kIdEnbUeS1apId:
                out.enbUeId = ParseUeId(value, uint64_t{1} << 24);
                break;
            default:
                break;
        }
    }
    return ok && !m.failed() ? S1apResult::kOk : S1apResult::kMalformed;
}

const char* S1apProcedureName(int procedure) {
    static const char* const kNames[] = {
        "HandoverPreparation", "HandoverResourceAllocation", "HandoverNotification", "PathSwitchRequest",
        "HandoverCancel", "E-RABSetup", "E-RABModify", "E-RABRelease", "E-RABReleaseIndication",
        "InitialContextSetup", "Paging", "downlinkNASTransport", "initialUEMessage", "uplinkNASTransport", "Reset",
        "ErrorIndication", "NASNonDeliveryIndication", "S1Setup", "UEContextReleaseRequest",
        "DownlinkS1cdma2000tunnelling", "UplinkS1cdma2000tunnelling", "UEContextModification",
        "UECapabilityInfoIndication", "UEContextRelease", "eNBStatusTransfer", "MMEStatusTransfer",
        "DeactivateTrace", "TraceStart", "TraceFailureIndication", "ENBConfigurationUpdate",
        "MMEConfigurationUpdate", "LocationReportingControl", "LocationReportingFailureIndication",
        "LocationReport", "OverloadStart", "OverloadStop", "WriteReplaceWarning", "eNBDirectInformationTransfer",
        "MMEDirectInformationTransfer", "PrivateMessage", "eNBConfigurationTransfer", "MMEConfigurationTransfer",
        "CellTrafficTrace", "Kill", "downlinkUEAssociatedLPPaTransport", "uplinkUEAssociatedLPPaTransport",
        "downlinkNonUEAssociatedLPPaTransport", "uplinkNonUEAssociatedLPPaTransport", "UERadioCapabilityMatch",
        "PWSRestartIndication", "E-RABModificationIndication", "PWSFailureIndication", "RerouteNASRequest",
        "UEContextModificationIndication", "ConnectionEstablishmentIndication", "UEContextSuspend",
        "UEContextResume", "NASDeliveryIndication", "RetrieveUEInformation", "UEInformationTransfer",
        "eNBCPRelocationIndication", "MMECPRelocationIndication", "SecondaryRATDataUsageReport",
        "UERadioCapabilityIDMapping", "HandoverSuccess", "eNBEarlyStatusTransfer", "MMEEarlyStatusTransfer",
    };
    if (procedure < 0 || static_cast<size_t>(procedure) >= sizeof kNames / sizeof kNames[0]) return "";
    return kNames[procedure];
}

}  // namespace corvuna::capture
