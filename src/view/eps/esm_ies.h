// SPDX-License-Identifier: Apache-2.0
// The EPS session management IEs of TS 24.301 (9.9.4) and the TS 24.008
// IEs they carry: each declared once, as bit-field data where the value is
// fields of fixed bits, otherwise with its decoder (esm_ies.cpp).
#pragma once

#include "view/causes.h"
#include "view/context.h"
#include "view/eps/ies_24008.h"
#include "view/tables.h"

namespace corvuna::view::eps {

// ---------------------------------------------------------------------------
// Half-octet values

inline constexpr BitField kEsmInformationTransferFlagFields[] = {
    Bit("EIT (ESM information transfer)"_f, 0, 1, "Security protected ESM information transfer required",
        "Security protected ESM information transfer not required")};
inline constexpr IeType kEsmInformationTransferFlag =
    Fields("ESM information transfer flag", "9.9.4.5", kEsmInformationTransferFlagFields);

inline constexpr ValueText kLinkedEbiValues[] = {{0, "Reserved"}, {1, "Reserved"}, {2, "Reserved"}, {3, "Reserved"},
                                                 {4, "Reserved"}};
inline constexpr BitField kLinkedEpsBearerIdentityFields[] = {
    Coded("Linked EPS bearer identity value"_f, 0, 1, 4, kLinkedEbiValues, "EPS bearer identity value")};
inline constexpr IeType kLinkedEpsBearerIdentity =
    Fields("Linked EPS bearer identity", "9.9.4.6", kLinkedEpsBearerIdentityFields);

inline constexpr ValueText kPdnTypeValues[] = {{1, "IPv4"},    {2, "IPv6"},     {3, "IPv4v6"},
                                               {4, "Unused; shall be interpreted as IPv6"},
                                               {5, "Non IP"}, {6, "Ethernet"}};
inline constexpr BitField kPdnTypeFields[] = {Coded("PDN type value"_f, 0, 1, 3, kPdnTypeValues, "Reserved")};
inline constexpr IeType kPdnType = Fields("PDN type", "9.9.4.10", kPdnTypeFields);

inline constexpr ValueText kRequestTypeValues[] = {{1, "initial request"},
                                                   {2, "handover"},
                                                   {3, "unused; shall be interpreted as initial request"},
                                                   {4, "emergency"},
                                                   {6, "handover of emergency bearer services"}};
inline constexpr BitField kRequestTypeFields[] = {
    Coded("Request type value"_f, 0, 1, 3, kRequestTypeValues, "reserved")};
inline constexpr IeType kRequestType = Fields("Request type", "9.9.4.14", kRequestTypeFields);

inline constexpr ValueText kRadioPriorityValues[] = {{1, "priority level 1 (highest)"},
                                                     {2, "priority level 2"},
                                                     {3, "priority level 3"},
                                                     {4, "priority level 4 (lowest)"}};
inline constexpr BitField kRadioPriorityFields[] = {
    Coded("Radio priority level value"_f, 0, 1, 3, kRadioPriorityValues, "priority level 4 (lowest)")};
inline constexpr IeType kRadioPriority = Fields("Radio priority", "9.9.4.13", kRadioPriorityFields);

inline constexpr ValueText kConnectivityTypeValues[] = {
    {0, "The PDN connection is not considered a LIPA PDN connection"},
    {1, "The PDN connection is considered a LIPA PDN connection"}};
inline constexpr BitField kConnectivityTypeFields[] = {
    Coded("Connectivity type value"_f, 0, 1, 4, kConnectivityTypeValues, "reserved")};
inline constexpr IeType kConnectivityType = Fields("Connectivity type", "9.9.4.2A", kConnectivityTypeFields);

inline constexpr BitField kWlanOffloadAcceptabilityFields[] = {
    Bit("UTRAN offload acceptability"_f, 0, 2, "Offloading the traffic is acceptable",
        "Offloading the traffic is not acceptable"),
    Bit("E-UTRAN offload acceptability"_f, 0, 1, "Offloading the traffic is acceptable",
        "Offloading the traffic is not acceptable"),
};
inline constexpr IeType kWlanOffloadAcceptability =
    Fields("WLAN offload acceptability", "9.9.4.18", kWlanOffloadAcceptabilityFields);

inline constexpr BitField kControlPlaneOnlyIndicationFields[] = {
    Bit("CPOI"_f, 0, 1, "PDN connection can be used for control plane CIoT EPS optimization only", "Reserved")};
inline constexpr IeType kControlPlaneOnlyIndication =
    Fields("Control plane only indication", "9.9.4.23", kControlPlaneOnlyIndicationFields);

inline constexpr ValueText kDdxValues[] = {{0, "No information available"},
                                           {1, "No further uplink or downlink data transmission expected"},
                                           {2, "Only a single downlink data transmission expected"}};
inline constexpr BitField kReleaseAssistanceIndicationFields[] = {
    Coded("Downlink data expected (DDX)"_f, 0, 1, 2, kDdxValues, "reserved")};
inline constexpr IeType kReleaseAssistanceIndication =
    Fields("Release assistance indication", "9.9.4.25", kReleaseAssistanceIndicationFields);

// ---------------------------------------------------------------------------
// Bearers, QoS and rates

void DecodeEpsQualityOfService(Context& ctx, Octets value);
inline constexpr IeType kEpsQualityOfService = Decoded("EPS quality of service", "9.9.4.3", DecodeEpsQualityOfService);

void DecodeApnAggregateMaximumBitRate(Context& ctx, Octets value);
inline constexpr IeType kApnAggregateMaximumBitRate =
    Decoded("APN aggregate maximum bit rate", "9.9.4.2", DecodeApnAggregateMaximumBitRate);

inline constexpr IeType kQualityOfService = Decoded("Quality of service", "9.9.4.12", DecodeQualityOfService);

// TS 24.301 9.9.4.4 and annex B.
inline constexpr ValueText kEsmCauseValues[] = {
    {27, "Missing or unknown APN"},
    {39, "Reactivation requested"},
    {46, "Unused"},
    {57, "PDN type IPv4v6 only allowed"},
    {58, "PDN type non IP only allowed"},
    {59, "Unsupported QCI value"},
    {60, "Bearer handling not supported"},
    {61, "PDN type Ethernet only allowed"},
    {65, "Maximum number of EPS bearers reached"},
    {66, "Requested APN not supported in current RAT and PLMN combination"},
    {113, "Multiple accesses to a PDN connection not allowed"},
};
inline constexpr auto kEsmCauses =
    Join(kEsmCauseValues, kCommonEsmCauses, kProtocolErrorCauses, kProtocolErrorUnspecified);
inline constexpr BitField kEsmCauseFields[] = {Coded("Cause value"_f, 0, 1, 8, kEsmCauses, kUnassignedCause)};
inline constexpr IeType kEsmCause = Fields("ESM cause", "9.9.4.4", kEsmCauseFields);

inline constexpr ValueText kLlcSapiValues[] = {
    {0, "LLC SAPI not assigned"}, {3, "SAPI 3"}, {5, "SAPI 5"}, {9, "SAPI 9"}, {11, "SAPI 11"}};
inline constexpr BitField kLlcSapiFields[] = {Coded("LLC SAPI value"_f, 0, 1, 4, kLlcSapiValues, "reserved")};
inline constexpr IeType kLlcServiceAccessPointIdentifier =
    Fields("LLC service access point identifier", "9.9.4.7", kLlcSapiFields);

void DecodePacketFlowIdentifier(Context& ctx, Octets value);
inline constexpr IeType kPacketFlowIdentifier =
    Decoded("Packet flow identifier", "9.9.4.8", DecodePacketFlowIdentifier);

void DecodeTransactionIdentifier(Context& ctx, Octets value);
inline constexpr IeType kTransactionIdentifier =
    Decoded("Transaction identifier", "9.9.4.17", DecodeTransactionIdentifier);

inline constexpr ValueText kNotificationIndicatorValues[] = {
    {1, "SRVCC handover cancelled, IMS session re-establishment required"},
    {2, "SRVCC handover cancelled, IMS session re-establishment required"}};
inline constexpr BitField kNotificationIndicatorFields[] = {
    Coded("Notification indicator value"_f, 0, 1, 8, kNotificationIndicatorValues, "Unused, shall be ignored")};
inline constexpr IeType kNotificationIndicator =
    Fields("Notification indicator", "9.9.4.7A", kNotificationIndicatorFields);

inline constexpr BitField kReattemptIndicatorFields[] = {
    Bit("EPLMNC"_f, 0, 2, "UE is not allowed to re-attempt the procedure in an equivalent PLMN",
        "UE is allowed to re-attempt the procedure in an equivalent PLMN"),
    Bit("RATC"_f, 0, 1, "UE is not allowed to re-attempt the procedure in A/Gb mode or Iu mode or N1 mode",
        "UE is allowed to re-attempt the procedure in A/Gb mode or Iu mode or N1 mode"),
};
inline constexpr IeType kReattemptIndicator = Fields("Re-attempt indicator", "9.9.4.13A", kReattemptIndicatorFields);

// ---------------------------------------------------------------------------
// APN, PDN address, configuration options, traffic flows

void DecodeAccessPointName(Context& ctx, Octets value);
inline constexpr IeType kAccessPointName = Decoded("Access point name", "9.9.4.1", DecodeAccessPointName);

void DecodePdnAddress(Context& ctx, Octets value);
inline constexpr IeType kPdnAddress = Decoded("PDN address", "9.9.4.9", DecodePdnAddress);

void DecodeProtocolConfigurationOptions(Context& ctx, Octets value);
inline constexpr IeType kProtocolConfigurationOptions =
    Decoded("Protocol configuration options", "9.9.4.11", DecodeProtocolConfigurationOptions);
inline constexpr IeType kExtendedProtocolConfigurationOptions =
    Decoded("Extended protocol configuration options", "9.9.4.26", DecodeProtocolConfigurationOptions);

// The packet filter component types that the TFT (TS 24.008 10.5.6.12)
// and the QoS rules of TS 24.501 (9.11.4.13) share: their texts, the
// octets of their values (0 for another type), and their fields (false
// for another type).
inline constexpr ValueText kPacketFilterComponentTypes[] = {
    {0x10, "IPv4 remote address type"},
    {0x11, "IPv4 local address type"},
    {0x21, "IPv6 remote address/prefix length type"},
    {0x23, "IPv6 local address/prefix length type"},
    {0x30, "Protocol identifier/Next header type"},
    {0x40, "Single local port type"},
    {0x41, "Local port range type"},
    {0x50, "Single remote port type"},
    {0x51, "Remote port range type"},
    {0x60, "Security parameter index type"},
    {0x70, "Type of service/Traffic class type"},
    {0x80, "Flow label type"},
    {0x81, "Destination MAC address type"},
    {0x82, "Source MAC address type"},
    {0x83, "802.1Q C-TAG VID type"},
    {0x84, "802.1Q S-TAG VID type"},
    {0x85, "802.1Q C-TAG PCP/DEI type"},
    {0x86, "802.1Q S-TAG PCP/DEI type"},
    {0x87, "Ethertype type"},
};
size_t PacketFilterComponentOctets(unsigned type);
// The labels the two word their own way.
struct ComponentLabels {
    Label portLow, portHigh, trafficClassMask;
};
bool WriteSharedComponent(Context& ctx, unsigned type, Octets component, const ComponentLabels& labels);

void DecodeTrafficFlowTemplate(Context& ctx, Octets value);
inline constexpr IeType kTrafficFlowTemplate = Decoded("Traffic flow template", "9.9.4.16", DecodeTrafficFlowTemplate);
inline constexpr IeType kTrafficFlowAggregateDescription =
    Decoded("Traffic flow aggregate description", "9.9.4.15", DecodeTrafficFlowTemplate);

// ---------------------------------------------------------------------------
// IEs whose values are shown as octets

inline constexpr IeType kNbifomContainer = Opaque("NBIFOM container", "9.9.4.19");
inline constexpr IeType kRemoteUeContextList = Opaque("Remote UE context list", "9.9.4.20");
inline constexpr IeType kPkmfAddress = Opaque("PKMF address", "9.9.4.21");
inline constexpr IeType kHeaderCompressionConfiguration = Opaque("Header compression configuration", "9.9.4.22");
inline constexpr IeType kUserDataContainer = Opaque("User data container", "9.9.4.24");
inline constexpr IeType kServingPlmnRateControl = Opaque("Serving PLMN rate control", "9.9.4.28");
inline constexpr IeType kExtendedApnAggregateMaximumBitRate =
    Opaque("Extended APN aggregate maximum bit rate", "9.9.4.29");
inline constexpr IeType kExtendedQualityOfService = Opaque("Extended quality of service", "9.9.4.30");

}  // namespace corvuna::view::eps
