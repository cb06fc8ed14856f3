// SPDX-License-Identifier: Apache-2.0
// The 5GS session management IEs of TS 24.501 (9.11.4): each declared once,
// as bit-field data where the value is fields of fixed bits, otherwise with
// its decoder (sm_ies.cpp).
#pragma once

#include "view/context.h"
#include "view/eps/esm_ies.h"
#include "view/fivegs/mm_ies.h"
#include "view/tables.h"

namespace corvuna::view::fivegs {

// ---------------------------------------------------------------------------
// Half-octet values

inline constexpr ValueText kPduSessionTypeValues[] = {
    {1, "IPv4"}, {2, "IPv6"}, {3, "IPv4v6"}, {4, "Unstructured"}, {5, "Ethernet"}, {7, "reserved"}};
inline constexpr BitField kPduSessionTypeFields[] = {
    Coded("PDU session type value"_f, 0, 1, 3, kPduSessionTypeValues, "IPv4v6 (unused value)")};
inline constexpr IeType kPduSessionType = Fields("PDU session type", "24.501 9.11.4.11", kPduSessionTypeFields);

inline constexpr ValueText kSscModeValues[] = {{1, "SSC mode 1"},
                                               {2, "SSC mode 2"},
                                               {3, "SSC mode 3"},
                                               {4, "unused; shall be interpreted as \"SSC mode 1\""},
                                               {5, "unused; shall be interpreted as \"SSC mode 2\""},
                                               {6, "unused; shall be interpreted as \"SSC mode 3\""}};
inline constexpr BitField kSscModeFields[] = {Coded("SSC mode value"_f, 0, 1, 3, kSscModeValues, "reserved")};
inline constexpr IeType kSscMode = Fields("SSC mode", "24.501 9.11.4.16", kSscModeFields);

inline constexpr BitField kAlwaysOnRequestedFields[] = {
    Bit("Always-on PDU session requested (APSR)"_f, 0, 1, "Always-on PDU session requested",
        "Always-on PDU session not requested")};
inline constexpr IeType kAlwaysOnRequested =
    Fields("Always-on PDU session requested", "24.501 9.11.4.4", kAlwaysOnRequestedFields);

inline constexpr BitField kAlwaysOnIndicationFields[] = {
    Bit("Always-on PDU session indication (APSI)"_f, 0, 1, "Always-on PDU session required",
        "Always-on PDU session not allowed")};
inline constexpr IeType kAlwaysOnIndication =
    Fields("Always-on PDU session indication", "24.501 9.11.4.3", kAlwaysOnIndicationFields);

inline constexpr BitField kAllowedSscModeFields[] = {
    Bit("SSC3"_f, 0, 3, "SSC mode 3 allowed", "SSC mode 3 not allowed"),
    Bit("SSC2"_f, 0, 2, "SSC mode 2 allowed", "SSC mode 2 not allowed"),
    Bit("SSC1"_f, 0, 1, "SSC mode 1 allowed", "SSC mode 1 not allowed"),
};
inline constexpr IeType kAllowedSscMode = Fields("Allowed SSC mode", "24.501 9.11.4.5", kAllowedSscModeFields);

inline constexpr BitField kControlPlaneOnlyIndicationFields[] = {
    Bit("Control plane only indication value (CPOI)"_f, 0, 1,
        "PDU session can be used for control plane CIoT 5GS optimization only", "reserved")};
inline constexpr IeType kControlPlaneOnlyIndication =
    Fields("Control plane only indication", "24.501 9.11.4.23", kControlPlaneOnlyIndicationFields);

// ---------------------------------------------------------------------------
// Fields of one or two octets

inline constexpr ValueText kMaximumDataRateValues[] = {
    {0, "64 kbps"}, {1, "NULL"}, {255, "Full data rate"}};
inline constexpr BitField kIntegrityProtectionMaximumDataRateFields[] = {
    Coded("Maximum data rate per UE for user-plane integrity protection for uplink"_f, 0, 1, 8,
          kMaximumDataRateValues, "spare (interpreted as 64 kbps)"),
    Coded("Maximum data rate per UE for user-plane integrity protection for downlink"_f, 1, 1, 8,
          kMaximumDataRateValues, "spare (interpreted as 64 kbps)"),
};
inline constexpr IeType kIntegrityProtectionMaximumDataRate =
    Fields("Integrity protection maximum data rate", "24.501 9.11.4.7", kIntegrityProtectionMaximumDataRateFields);

inline constexpr BitField kSmCapabilityFields[] = {
    Support("Access performance measurements per QoS flow (APMQF)"_f, 0, 6),
    Support("Transfer of port management information containers (TPMIC)"_f, 0, 5),
    Support("ATSSS Low-Layer functionality (ATS-LL)"_f, 0, 4),
    Support("Ethernet PDN type in S1 mode (EPT-S1)"_f, 0, 3),
    Support("Multi-homed IPv6 PDU session (MH6-PDU)"_f, 0, 2),
    Support("Reflective QoS (RqoS)"_f, 0, 1),
    Octs("Further capability octets"_f, 1),
};
inline constexpr IeType kSmCapability = Fields("5GSM capability", "24.501 9.11.4.1", kSmCapabilityFields, 1);

inline constexpr BitField kCongestionReattemptFields[] = {
    Bit("All PLMNs back-off (ABO)"_f, 0, 1, "The back-off timer is applied in all PLMNs or all equivalent SNPNs",
        "The back-off timer is applied in the registered PLMN or registered SNPN")};
inline constexpr IeType kCongestionReattemptIndicator =
    Fields("5GSM congestion re-attempt indicator", "24.501 9.11.4.21", kCongestionReattemptFields);

void DecodeMaximumPacketFilters(Context& ctx, Octets value);
inline constexpr IeType kMaximumNumberOfSupportedPacketFilters = Decoded(
    "Maximum number of supported packet filters", "24.501 9.11.4.9", DecodeMaximumPacketFilters);

// ---------------------------------------------------------------------------
// Decoded values

// TS 24.501 9.11.4.2 and annex B.
inline constexpr ValueText kSmCauseValues[] = {
    {8, "Operator determined barring"},
    {26, "Insufficient resources"},
    {27, "Missing or unknown DNN"},
    {28, "Unknown PDU session type"},
    {29, "User authentication or authorization failed"},
    {31, "Request rejected, unspecified"},
    {32, "Service option not supported"},
    {33, "Requested service option not subscribed"},
    {35, "PTI already in use"},
    {36, "Regular deactivation"},
    {37, "5GS QoS not accepted"},
    {38, "Network failure"},
    {39, "Reactivation requested"},
    {41, "Semantic error in the TFT operation"},
    {42, "Syntactical error in the TFT operation"},
    {43, "Invalid PDU session identity"},
    {44, "Semantic errors in packet filter(s)"},
    {45, "Syntactical error in packet filter(s)"},
    {46, "Out of LADN service area"},
    {47, "PTI mismatch"},
    {50, "PDU session type IPv4 only allowed"},
    {51, "PDU session type IPv6 only allowed"},
    {54, "PDU session does not exist"},
    {57, "PDU session type IPv4v6 only allowed"},
    {58, "PDU session type Unstructured only allowed"},
    {59, "Unsupported 5QI value"},
    {61, "PDU session type Ethernet only allowed"},
    {67, "Insufficient resources for specific slice and DNN"},
    {68, "Not supported SSC mode"},
    {69, "Insufficient resources for specific slice"},
    {70, "Missing or unknown DNN in a slice"},
    {81, "Invalid PTI value"},
    {82, "Maximum data rate per UE for user-plane integrity protection is too low"},
    {83, "Semantic error in the QoS operation"},
    {84, "Syntactical error in the QoS operation"},
    {85, "Invalid mapped EPS bearer identity"},
    {86, "UAS services not allowed"},
};
inline constexpr auto kSmCauseTexts = CauseTexts(kSmCauseValues);
inline constexpr IeType kSmCause = Decoded("5GSM cause", "24.501 9.11.4.2", DecodeCause<kSmCauseTexts>);

void DecodePduAddress(Context& ctx, Octets value);
inline constexpr IeType kPduAddress = Decoded("PDU address", "24.501 9.11.4.10", DecodePduAddress);

void DecodeQosRules(Context& ctx, Octets value);
inline constexpr IeType kQosRules = Decoded("QoS rules", "24.501 9.11.4.13", DecodeQosRules);

void DecodeQosFlowDescriptions(Context& ctx, Octets value);
inline constexpr IeType kQosFlowDescriptions =
    Decoded("QoS flow descriptions", "24.501 9.11.4.12", DecodeQosFlowDescriptions);

void DecodeSessionAmbr(Context& ctx, Octets value);
inline constexpr IeType kSessionAmbr = Decoded("Session-AMBR", "24.501 9.11.4.14", DecodeSessionAmbr);

inline constexpr IeType kExtendedProtocolConfigurationOptions = Decoded(
    "Extended protocol configuration options", "24.501 9.11.4.6", eps::DecodeProtocolConfigurationOptions);

// ---------------------------------------------------------------------------
// IEs whose values are shown as octets

inline constexpr IeType kSmPduDnRequestContainer = Opaque("SM PDU DN request container", "24.501 9.11.4.15");
inline constexpr IeType kHeaderCompressionConfiguration =
    Opaque("IP header compression configuration", "24.501 9.11.4.24");
inline constexpr IeType kDsTtEthernetPortMacAddress = Opaque("DS-TT Ethernet port MAC address", "24.501 9.11.4.25");
inline constexpr IeType kUeDsTtResidenceTime = Opaque("UE-DS-TT residence time", "24.501 9.11.4.26");
inline constexpr IeType kPortManagementInformationContainer =
    Opaque("Port management information container", "24.501 9.11.4.27");
inline constexpr IeType kEthernetHeaderCompressionConfiguration =
    Opaque("Ethernet header compression configuration", "24.501 9.11.4.28");
inline constexpr IeType kMappedEpsBearerContexts = Opaque("Mapped EPS bearer contexts", "24.501 9.11.4.8");
inline constexpr IeType kSmNetworkFeatureSupport = Opaque("5GSM network feature support", "24.501 9.11.4.18");
inline constexpr IeType kAtsssContainer = Opaque("ATSSS container", "24.501 9.11.4.22");
inline constexpr IeType kServiceLevelAaContainer = Opaque("Service-level-AA container", "24.501 9.11.2.10");
inline constexpr IeType kRequestedMbsContainer = Opaque("Requested MBS container", "24.501 9.11.4.30");
inline constexpr IeType kReceivedMbsContainer = Opaque("Received MBS container", "24.501 9.11.4.31");
inline constexpr IeType kPduSessionPairId = Opaque("PDU session pair ID", "24.501 9.11.4.32");
inline constexpr IeType kRsn = Opaque("RSN", "24.501 9.11.4.33");
inline constexpr IeType kServingPlmnRateControl = Opaque("Serving PLMN rate control", "24.501 9.11.4.20");

}  // namespace corvuna::view::fivegs
