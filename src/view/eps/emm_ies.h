// SPDX-License-Identifier: Apache-2.0
// The EPS mobility management IEs of TS 24.301 (9.9.2, 9.9.3) and the TS
// 24.008 IEs they carry: each declared once, as bit-field data where the
// value is fields of fixed bits, otherwise with its decoder (emm_ies.cpp).
#pragma once

#include "view/causes.h"
#include "view/context.h"
#include "view/eps/ies_24008.h"
#include "view/tables.h"
#include "view/walker.h"

namespace corvuna::view::eps {

// ---------------------------------------------------------------------------
// Half-octet values (the walker hands them over in the low four bits)

inline constexpr ValueText kAdditionalUpdateResultValues[] = {
    {0, "No additional information"}, {1, "CS Fallback not preferred"}, {2, "SMS only"}, {3, "Reserved"}};
inline constexpr BitField kAdditionalUpdateResultFields[] = {
    Coded("Additional update result value"_f, 0, 1, 2, kAdditionalUpdateResultValues, "Reserved")};
inline constexpr IeType kAdditionalUpdateResult =
    Fields("Additional update result", "9.9.3.0A", kAdditionalUpdateResultFields);

inline constexpr ValueText kPnbCiotValues[] = {{0, "No additional information"},
                                               {1, "Control plane CIoT EPS optimization"},
                                               {2, "User plane CIoT EPS optimization"},
                                               {3, "Reserved"}};
inline constexpr BitField kAdditionalUpdateTypeFields[] = {
    Coded("Preferred CIoT network behaviour (PNB-CIoT)"_f, 0, 3, 2, kPnbCiotValues, "Reserved"),
    Bit("Signalling active flag (SAF)"_f, 0, 2, "Keeping the NAS signalling connection is required",
        "Keeping the NAS signalling connection is not required"),
    Bit("Additional update type value (AUTV)"_f, 0, 1, "SMS only", "No additional information"),
};
inline constexpr IeType kAdditionalUpdateType = Fields("Additional update type", "9.9.3.0B", kAdditionalUpdateTypeFields);

inline constexpr ValueText kKeySequenceValues[] = {
    {0, "key sequence 0"}, {1, "key sequence 1"}, {2, "key sequence 2"}, {3, "key sequence 3"},
    {4, "key sequence 4"}, {5, "key sequence 5"}, {6, "key sequence 6"}, {7, "No key is available"}};
inline constexpr BitField kCipheringKeySequenceNumberFields[] = {
    Coded("Key sequence"_f, 0, 1, 3, kKeySequenceValues, "")};
inline constexpr IeType kCipheringKeySequenceNumber =
    Fields("Ciphering key sequence number", "9.9.3.4a", kCipheringKeySequenceNumberFields);

inline constexpr ValueText kCsfbResponseValues[] = {{0, "CS fallback rejected by the UE"},
                                                    {1, "CS fallback accepted by the UE"}};
inline constexpr BitField kCsfbResponseFields[] = {
    Coded("CSFB response value"_f, 0, 1, 3, kCsfbResponseValues, "Reserved")};
inline constexpr IeType kCsfbResponse = Fields("CSFB response", "9.9.3.5", kCsfbResponseFields);

// Detach type: bit 4 is "switch off" from the UE and spare towards it.
inline constexpr ValueText kDetachToNetworkValues[] = {
    {1, "EPS detach"}, {2, "IMSI detach"}, {3, "combined EPS/IMSI detach"}, {6, "reserved"}, {7, "reserved"}};
inline constexpr ValueText kDetachToUeValues[] = {
    {1, "re-attach required"}, {2, "re-attach not required"}, {3, "IMSI detach"}, {6, "reserved"}, {7, "reserved"}};
inline constexpr BitField kDetachTypeFields[] = {
    Bit("Switch off"_f, 0, 4, "Switch off", "Normal detach", kUplink),
    // Other values are interpreted as "combined EPS/IMSI detach" (from
    // the UE) and "re-attach not required" (from the network).
    Coded("Type of detach"_f, 0, 1, 3, kDetachToNetworkValues, "combined EPS/IMSI detach", kUplink),
    Coded("Type of detach"_f, 0, 1, 3, kDetachToUeValues, "re-attach not required", kDownlink),
};
inline constexpr IeType kDetachType = Fields("Detach type", "9.9.3.7", kDetachTypeFields);

inline constexpr ValueText kEpsAttachResultValues[] = {{1, "EPS only"}, {2, "combined EPS/IMSI attach"}};
inline constexpr BitField kEpsAttachResultFields[] = {
    Coded("EPS attach result value"_f, 0, 1, 3, kEpsAttachResultValues, "reserved")};
inline constexpr IeType kEpsAttachResult = Fields("EPS attach result", "9.9.3.10", kEpsAttachResultFields);

inline constexpr ValueText kEpsAttachTypeValues[] = {
    {1, "EPS attach"}, {2, "combined EPS/IMSI attach"}, {6, "EPS emergency attach"}, {7, "reserved"}};
inline constexpr BitField kEpsAttachTypeFields[] = {
    Coded("EPS attach type value"_f, 0, 1, 3, kEpsAttachTypeValues, "EPS attach (unused value)")};
inline constexpr IeType kEpsAttachType = Fields("EPS attach type", "9.9.3.11", kEpsAttachTypeFields);

inline constexpr ValueText kEpsUpdateResultValues[] = {{0, "TA updated"},
                                                       {1, "combined TA/LA updated"},
                                                       {4, "TA updated and ISR activated"},
                                                       {5, "combined TA/LA updated and ISR activated"}};
inline constexpr BitField kEpsUpdateResultFields[] = {
    Coded("EPS update result value"_f, 0, 1, 3, kEpsUpdateResultValues, "reserved")};
inline constexpr IeType kEpsUpdateResult = Fields("EPS update result", "9.9.3.13", kEpsUpdateResultFields);

inline constexpr ValueText kEpsUpdateTypeValues[] = {{0, "TA updating"},
                                                     {1, "combined TA/LA updating"},
                                                     {2, "combined TA/LA updating with IMSI attach"},
                                                     {3, "periodic updating"},
                                                     {4, "unused; shall be interpreted as TA updating"},
                                                     {5, "unused; shall be interpreted as TA updating"}};
inline constexpr BitField kEpsUpdateTypeFields[] = {
    Bit("Active flag"_f, 0, 4, "Bearer establishment requested", "No bearer establishment requested"),
    Coded("EPS update type value"_f, 0, 1, 3, kEpsUpdateTypeValues, "reserved"),
};
inline constexpr IeType kEpsUpdateType = Fields("EPS update type", "9.9.3.14", kEpsUpdateTypeFields);

inline constexpr ValueText kIdentityType2Values[] = {{1, "IMSI"}, {2, "IMEI"}, {3, "IMEISV"}, {4, "TMSI"}};
inline constexpr BitField kIdentityType2Fields[] = {
    Coded("Type of identity"_f, 0, 1, 3, kIdentityType2Values, "reserved")};
inline constexpr IeType kIdentityType2 = Fields("Identity type 2", "9.9.3.17", kIdentityType2Fields);

inline constexpr ValueText kImeisvRequestValues[] = {{0, "IMEISV not requested"}, {1, "IMEISV requested"}};
inline constexpr BitField kImeisvRequestFields[] = {
    Coded("IMEISV request value"_f, 0, 1, 3, kImeisvRequestValues, "reserved")};
inline constexpr IeType kImeisvRequest = Fields("IMEISV request", "9.9.3.18", kImeisvRequestFields);

// NAS key set identifier: 7 is "no key is available" from the UE and
// reserved towards it.
inline constexpr ValueText kKeySetValues[] = {{0, "key set 0"}, {1, "key set 1"}, {2, "key set 2"},
                                              {3, "key set 3"}, {4, "key set 4"}, {5, "key set 5"},
                                              {6, "key set 6"}};
inline constexpr BitField kNasKeySetIdentifierFields[] = {
    Bit("Type of security context flag (TSC)"_f, 0, 4, "mapped security context (for KSISGSN)",
        "native security context (for KSIASME)"),
    Coded("NAS key set identifier"_f, 0, 1, 3, kKeySetValues, "no key is available", kUplink),
    Coded("NAS key set identifier"_f, 0, 1, 3, kKeySetValues, "reserved", kDownlink),
};
inline constexpr IeType kNasKeySetIdentifier = Fields("NAS key set identifier", "9.9.3.21", kNasKeySetIdentifierFields);

inline constexpr ValueText kServiceTypeValues[] = {
    {0, "mobile originating CS fallback or 1xCS fallback"},
    {1, "mobile terminating CS fallback or 1xCS fallback"},
    {2, "mobile originating CS fallback emergency call or 1xCS fallback emergency call"},
    {3, "unused; shall be interpreted as mobile originating CS fallback or 1xCS fallback"},
    {4, "unused; shall be interpreted as mobile originating CS fallback or 1xCS fallback"},
    {8, "packet services via S1"},
};
inline constexpr BitField kServiceTypeFields[] = {Coded("Service type value"_f, 0, 1, 4, kServiceTypeValues, "reserved")};
inline constexpr IeType kServiceType = Fields("Service type", "9.9.3.27", kServiceTypeFields);

inline constexpr BitField kTmsiStatusFields[] = {
    Bit("TMSI flag"_f, 0, 1, "valid TMSI available", "no valid TMSI available")};
inline constexpr IeType kTmsiStatus = Fields("TMSI status", "9.9.3.31", kTmsiStatusFields);

inline constexpr BitField kUeRadioCapabilityUpdateNeededFields[] = {
    Bit("URC upd"_f, 0, 1, "UE radio capability information update needed",
        "UE radio capability information update not needed")};
inline constexpr IeType kUeRadioCapabilityUpdateNeeded = Fields(
    "UE radio capability information update needed", "9.9.3.35", kUeRadioCapabilityUpdateNeededFields);

inline constexpr BitField kGutiTypeFields[] = {Bit("GUTI type"_f, 0, 1, "Mapped GUTI", "Native GUTI")};
inline constexpr IeType kGutiType = Fields("GUTI type", "9.9.3.45", kGutiTypeFields);

inline constexpr BitField kExtendedEmmCauseFields[] = {
    Bit("NB-IoT allowed"_f, 0, 3, "NB-IoT not allowed", "NB-IoT allowed"),
    Bit("EPS optimization info"_f, 0, 2, "Requested EPS optimization not supported",
        "No EPS optimization information"),
    Bit("E-UTRAN allowed"_f, 0, 1, "E-UTRAN not allowed", "E-UTRAN allowed"),
};
inline constexpr IeType kExtendedEmmCause = Fields("Extended EMM cause", "9.9.3.26A", kExtendedEmmCauseFields);

inline constexpr BitField kDevicePropertiesFields[] = {
    Bit("Low priority"_f, 0, 1, "MS is configured for NAS signalling low priority",
        "MS is not configured for NAS signalling low priority")};
inline constexpr IeType kDeviceProperties = Fields("Device properties", "9.9.2.0A", kDevicePropertiesFields);

inline constexpr BitField kMsNetworkFeatureSupportFields[] = {
    Bit("Extended periodic timers"_f, 0, 1, "MS supports the extended periodic timer in this domain",
        "MS does not support the extended periodic timer in this domain")};
inline constexpr IeType kMsNetworkFeatureSupport =
    Fields("MS network feature support", "9.9.3.20A", kMsNetworkFeatureSupportFields);

inline constexpr ValueText kSmsServicesStatusValues[] = {{0, "SMS services not available"},
                                                         {1, "SMS services not available in this PLMN"},
                                                         {2, "Network failure"},
                                                         {3, "Congestion"}};
inline constexpr BitField kSmsServicesStatusFields[] = {
    Coded("SMS services status value"_f, 0, 1, 3, kSmsServicesStatusValues, "reserved")};
inline constexpr IeType kSmsServicesStatus = Fields("SMS services status", "9.9.3.4B", kSmsServicesStatusFields);

inline constexpr BitField kNetworkPolicyFields[] = {
    Bit("Redirection policy"_f, 0, 1, "Unsecured redirection to GERAN not allowed",
        "Unsecured redirection to GERAN allowed")};
inline constexpr IeType kNetworkPolicy = Fields("Network policy", "9.9.3.52", kNetworkPolicyFields);

inline constexpr BitField kNon3gppNwProvidedPoliciesFields[] = {
    Bit("Non-3GPP emergency numbers indicator"_f, 0, 1, "Use of non-3GPP emergency numbers permitted",
        "Use of non-3GPP emergency numbers not permitted")};
inline constexpr IeType kNon3gppNwProvidedPolicies =
    Fields("Non-3GPP NW provided policies", "9.9.3.49", kNon3gppNwProvidedPoliciesFields);

inline constexpr ValueText kControlPlaneServiceTypeValues[] = {{0, "mobile originating request"},
                                                               {1, "mobile terminating request"}};
inline constexpr BitField kControlPlaneServiceTypeFields[] = {
    Bit("Active flag"_f, 0, 4, "Radio bearer establishment requested", "No radio bearer establishment requested"),
    Coded("Control plane service type value"_f, 0, 1, 3, kControlPlaneServiceTypeValues, "reserved"),
};
inline constexpr IeType kControlPlaneServiceType =
    Fields("Control plane service type", "9.9.3.47", kControlPlaneServiceTypeFields);

inline constexpr BitField kUeRadioCapabilityIdRequestFields[] = {
    Bit("UE radio capability ID request"_f, 0, 1, "UE radio capability ID requested",
        "UE radio capability ID not requested")};
inline constexpr IeType kUeRadioCapabilityIdRequest =
    Fields("UE radio capability ID request", "9.9.3.60", kUeRadioCapabilityIdRequestFields);

inline constexpr ValueText kUeRadioCapabilityIdDeletionValues[] = {
    {0, "UE radio capability ID deletion not requested"},
    {1, "Network-assigned UE radio capability IDs deletion requested"}};
inline constexpr BitField kUeRadioCapabilityIdDeletionFields[] = {
    Coded("Deletion request"_f, 0, 1, 3, kUeRadioCapabilityIdDeletionValues, "reserved")};
inline constexpr IeType kUeRadioCapabilityIdDeletion =
    Fields("UE radio capability ID deletion indication", "9.9.3.61", kUeRadioCapabilityIdDeletionFields);

void DecodeNothing(Context& ctx, Octets value);
inline constexpr IeType kSpareHalfOctet = Decoded("Spare half octet", "9.9.2.9", DecodeNothing);

// ---------------------------------------------------------------------------
// Identities, areas and networks

void DecodeEpsMobileIdentity(Context& ctx, Octets value);
inline constexpr IeType kEpsMobileIdentity = Decoded("EPS mobile identity", "9.9.3.12", DecodeEpsMobileIdentity);

void DecodeMobileIdentity(Context& ctx, Octets value);
inline constexpr IeType kMobileIdentity = Decoded("Mobile identity", "9.9.2.3", DecodeMobileIdentity);

void DecodeTrackingAreaIdentity(Context& ctx, Octets value);
inline constexpr IeType kTrackingAreaIdentity =
    Decoded("Tracking area identity", "9.9.3.32", DecodeTrackingAreaIdentity);

void DecodeTrackingAreaIdentityList(Context& ctx, Octets value);
// The TAI and the TAI list of TS 24.301 and TS 24.501 (whose TACs have
// three octets); a partial list that runs past the IE is reported at the
// IE (TS 24.301) or at the partial list (TS 24.501).
void WriteTrackingAreaIdentity(Context& ctx, Octets value, unsigned tacOctets);
void WriteTrackingAreaIdentityList(Context& ctx, Octets value, unsigned tacOctets, bool errorAtPartialList);
inline constexpr IeType kTrackingAreaIdentityList =
    Decoded("Tracking area identity list", "9.9.3.33", DecodeTrackingAreaIdentityList);

void DecodeLocationAreaIdentification(Context& ctx, Octets value);
inline constexpr IeType kLocationAreaIdentification =
    Decoded("Location area identification", "9.9.2.2", DecodeLocationAreaIdentification);

void DecodePlmnList(Context& ctx, Octets value);
inline constexpr IeType kPlmnList = Decoded("PLMN list", "9.9.2.8", DecodePlmnList);

void DecodeEpsBearerContextStatus(Context& ctx, Octets value);
// A bit per identity from `first` to 15 in two octets, bit 1 of the first
// octet the identity 0 (EPS bearer context status, the PDU session
// statuses of TS 24.501): the identities whose bit is set.
void WriteIdentityBitmap(Context& ctx, Octets value, Label list, Label identity, unsigned first);
inline constexpr IeType kEpsBearerContextStatus =
    Decoded("EPS bearer context status", "9.9.2.1", DecodeEpsBearerContextStatus);

void DecodeEmergencyNumberList(Context& ctx, Octets value);
inline constexpr IeType kEmergencyNumberList = Decoded("Emergency number list", "9.9.3.37", DecodeEmergencyNumberList);

// TS 24.008 10.5.5.31: the NRI container value, 10 bits over two octets.
void DecodeTmsiBasedNriContainer(Context& ctx, Octets value);
inline constexpr IeType kTmsiBasedNriContainer =
    Decoded("TMSI based NRI container", "24.008 10.5.5.31", DecodeTmsiBasedNriContainer);

// ---------------------------------------------------------------------------
// Timers

void DecodeGprsTimer(Context& ctx, Octets value);
void DecodeGprsTimer3(Context& ctx, Octets value);
inline constexpr IeType kGprsTimer = Decoded("GPRS timer", "9.9.3.16", DecodeGprsTimer);
inline constexpr IeType kGprsTimer2 = Decoded("GPRS timer 2", "9.9.3.16A", DecodeGprsTimer);
inline constexpr IeType kGprsTimer3 = Decoded("GPRS timer 3", "9.9.3.16B", DecodeGprsTimer3);

// ---------------------------------------------------------------------------
// Capabilities

inline constexpr BitField kUeNetworkCapabilityFields[] = {
    Support("EEA0"_f, 0, 8), Support("128-EEA1"_f, 0, 7), Support("128-EEA2"_f, 0, 6), Support("128-EEA3"_f, 0, 5),
    Support("EEA4"_f, 0, 4), Support("EEA5"_f, 0, 3), Support("EEA6"_f, 0, 2), Support("EEA7"_f, 0, 1),
    Support("EIA0"_f, 1, 8), Support("128-EIA1"_f, 1, 7), Support("128-EIA2"_f, 1, 6), Support("128-EIA3"_f, 1, 5),
    Support("EIA4"_f, 1, 4), Support("EIA5"_f, 1, 3), Support("EIA6"_f, 1, 2), Support("EIA7"_f, 1, 1),
    Support("UEA0"_f, 2, 8), Support("UEA1"_f, 2, 7), Support("UEA2"_f, 2, 6), Support("UEA3"_f, 2, 5),
    Support("UEA4"_f, 2, 4), Support("UEA5"_f, 2, 3), Support("UEA6"_f, 2, 2), Support("UEA7"_f, 2, 1),
    Bit("UCS2"_f, 3, 8, "The UE has no preference between the use of the default alphabet and the use of UCS2",
        "The UE has a preference for the default alphabet"),
    Support("UIA1"_f, 3, 7), Support("UIA2"_f, 3, 6), Support("UIA3"_f, 3, 5), Support("UIA4"_f, 3, 4),
    Support("UIA5"_f, 3, 3), Support("UIA6"_f, 3, 2), Support("UIA7"_f, 3, 1),
    Support("ProSe-dd"_f, 4, 8), Support("ProSe"_f, 4, 7), Support("H.245-ASH"_f, 4, 6), Support("ACC-CSFB"_f, 4, 5),
    Support("LPP"_f, 4, 4), Support("LCS"_f, 4, 3), Support("1xSRVCC"_f, 4, 2), Support("NF"_f, 4, 1),
    Support("ePCO"_f, 5, 8), Support("HC-CP CIoT"_f, 5, 7), Support("ERw/oPDN"_f, 5, 6), Support("S1-U data"_f, 5, 5),
    Support("UP CIoT"_f, 5, 4), Support("CP CIoT"_f, 5, 3), Support("ProSe-relay"_f, 5, 2), Support("ProSe-dc"_f, 5, 1),
    Support("15 bearers"_f, 6, 8), Support("SGC"_f, 6, 7), Support("N1mode"_f, 6, 6), Support("DCNR"_f, 6, 5),
    Support("CP backoff"_f, 6, 4), Support("RestrictEC"_f, 6, 3), Support("V2X PC5"_f, 6, 2),
    Support("multipleDRB"_f, 6, 1),
};
inline constexpr IeType kUeNetworkCapability =
    Fields("UE network capability", "9.9.3.34", kUeNetworkCapabilityFields, 2);

inline constexpr BitField kUeSecurityCapabilityFields[] = {
    Support("EEA0"_f, 0, 8), Support("128-EEA1"_f, 0, 7), Support("128-EEA2"_f, 0, 6), Support("128-EEA3"_f, 0, 5),
    Support("EEA4"_f, 0, 4), Support("EEA5"_f, 0, 3), Support("EEA6"_f, 0, 2), Support("EEA7"_f, 0, 1),
    Support("EIA0"_f, 1, 8), Support("128-EIA1"_f, 1, 7), Support("128-EIA2"_f, 1, 6), Support("128-EIA3"_f, 1, 5),
    Support("EIA4"_f, 1, 4), Support("EIA5"_f, 1, 3), Support("EIA6"_f, 1, 2), Support("EIA7"_f, 1, 1),
    Support("UEA0"_f, 2, 8), Support("UEA1"_f, 2, 7), Support("UEA2"_f, 2, 6), Support("UEA3"_f, 2, 5),
    Support("UEA4"_f, 2, 4), Support("UEA5"_f, 2, 3), Support("UEA6"_f, 2, 2), Support("UEA7"_f, 2, 1),
    Support("UIA1"_f, 3, 7), Support("UIA2"_f, 3, 6), Support("UIA3"_f, 3, 5), Support("UIA4"_f, 3, 4),
    Support("UIA5"_f, 3, 3), Support("UIA6"_f, 3, 2), Support("UIA7"_f, 3, 1),
    Support("GEA1"_f, 4, 7), Support("GEA2"_f, 4, 6), Support("GEA3"_f, 4, 5), Support("GEA4"_f, 4, 4),
    Support("GEA5"_f, 4, 3), Support("GEA6"_f, 4, 2), Support("GEA7"_f, 4, 1),
};
inline constexpr IeType kUeSecurityCapability =
    Fields("UE security capability", "9.9.3.36", kUeSecurityCapabilityFields, 2);

// 5G-EA0..15 and 5G-IA0..15 (octets 3 to 6).
inline constexpr BitField kUeAdditionalSecurityCapabilityFields[] = {
    Support("5G-EA0"_f, 0, 8), Support("128-5G-EA1"_f, 0, 7), Support("128-5G-EA2"_f, 0, 6),
    Support("128-5G-EA3"_f, 0, 5), Support("5G-EA4"_f, 0, 4), Support("5G-EA5"_f, 0, 3), Support("5G-EA6"_f, 0, 2),
    Support("5G-EA7"_f, 0, 1), Support("5G-EA8"_f, 1, 8), Support("5G-EA9"_f, 1, 7), Support("5G-EA10"_f, 1, 6),
    Support("5G-EA11"_f, 1, 5), Support("5G-EA12"_f, 1, 4), Support("5G-EA13"_f, 1, 3), Support("5G-EA14"_f, 1, 2),
    Support("5G-EA15"_f, 1, 1),
    Support("5G-IA0"_f, 2, 8), Support("128-5G-IA1"_f, 2, 7), Support("128-5G-IA2"_f, 2, 6),
    Support("128-5G-IA3"_f, 2, 5), Support("5G-IA4"_f, 2, 4), Support("5G-IA5"_f, 2, 3), Support("5G-IA6"_f, 2, 2),
    Support("5G-IA7"_f, 2, 1), Support("5G-IA8"_f, 3, 8), Support("5G-IA9"_f, 3, 7), Support("5G-IA10"_f, 3, 6),
    Support("5G-IA11"_f, 3, 5), Support("5G-IA12"_f, 3, 4), Support("5G-IA13"_f, 3, 3), Support("5G-IA14"_f, 3, 2),
    Support("5G-IA15"_f, 3, 1),
};
inline constexpr IeType kUeAdditionalSecurityCapability =
    Fields("UE additional security capability", "9.9.3.53", kUeAdditionalSecurityCapabilityFields);

// TS 24.008 10.5.1.6, 10.5.5.12: the SS screening indicator of TS 24.080.
inline constexpr ValueText kSsScreeningValues[] = {
    {0, "default value of phase 1"},
    {1, "capability of handling of ellipsis notation and phase 2 error handling"},
    {2, "for future use"},
    {3, "for future use"}};

// TS 24.008 10.5.5.12: the value part is CSN.1 of fixed-size bits, so each
// field has its place.
inline constexpr BitField kMsNetworkCapabilityFields[] = {
    Bit("GEA/1"_f, 0, 8, "encryption algorithm available", "encryption algorithm not available"),
    Bit("SM capabilities via dedicated channels"_f, 0, 7,
        "Mobile station supports mobile terminated point to point SMS via CS domain",
        "Mobile station does not support mobile terminated point to point SMS via CS domain"),
    Bit("SM capabilities via GPRS channels"_f, 0, 6,
        "Mobile station supports mobile terminated point to point SMS via PS domain",
        "Mobile station does not support mobile terminated point to point SMS via PS domain"),
    Bit("UCS2 support"_f, 0, 5, "the ME has no preference between the use of the default alphabet and the use of UCS2",
        "the ME has a preference for the default alphabet over UCS2"),
    Coded("SS screening indicator"_f, 0, 3, 2, kSsScreeningValues, ""),
    Support("SoLSA capability"_f, 0, 2),
    Bit("Revision level indicator"_f, 0, 1, "used by a mobile station supporting R99 or later versions",
        "used by a mobile station not supporting R99 or later versions"),
    Support("PFC feature mode"_f, 1, 8),
    Bit("GEA/2"_f, 1, 7, "encryption algorithm available", "encryption algorithm not available"),
    Bit("GEA/3"_f, 1, 6, "encryption algorithm available", "encryption algorithm not available"),
    Bit("GEA/4"_f, 1, 5, "encryption algorithm available", "encryption algorithm not available"),
    Bit("GEA/5"_f, 1, 4, "encryption algorithm available", "encryption algorithm not available"),
    Bit("GEA/6"_f, 1, 3, "encryption algorithm available", "encryption algorithm not available"),
    Bit("GEA/7"_f, 1, 2, "encryption algorithm available", "encryption algorithm not available"),
    Support("LCS VA capability"_f, 1, 1),
    Support("PS inter-RAT HO from GERAN to UTRAN Iu mode capability"_f, 2, 8),
    Support("PS inter-RAT HO from GERAN to E-UTRAN S1 mode capability"_f, 2, 7),
    Support("EMM Combined procedures capability"_f, 2, 6),
    Support("ISR support"_f, 2, 5),
    Support("SRVCC to GERAN/UTRAN capability"_f, 2, 4),
    Support("EPC capability"_f, 2, 3),
    Support("NF capability"_f, 2, 2),
    Support("GERAN network sharing capability"_f, 2, 1),
    Support("User plane integrity protection support"_f, 3, 8),
    Bit("GIA/4"_f, 3, 7, "integrity algorithm available", "integrity algorithm not available"),
    Bit("GIA/5"_f, 3, 6, "integrity algorithm available", "integrity algorithm not available"),
    Bit("GIA/6"_f, 3, 5, "integrity algorithm available", "integrity algorithm not available"),
    Bit("GIA/7"_f, 3, 4, "integrity algorithm available", "integrity algorithm not available"),
    Support("ePCO IE indicator"_f, 3, 3),
    Support("Restriction on use of enhanced coverage capability"_f, 3, 2),
    Support("Dual connectivity of E-UTRA with NR capability"_f, 3, 1),
};
inline constexpr IeType kMsNetworkCapability =
    Fields("MS network capability", "9.9.3.20", kMsNetworkCapabilityFields, 1);

inline constexpr ValueText kRevisionLevelValues[] = {
    {0, "Reserved for GSM phase 1"},
    {1, "Used by GSM phase 2 mobile stations"},
    {2, "Used by mobile stations supporting R99 or later versions of the protocol"},
    {3, "Reserved for future use"}};
// The class in the GSM 450/480/850/900 bands; in GSM 1800 and GSM 1900
// classes 4 and 5 are reserved.
inline constexpr ValueText kRfPowerCapabilityValues[] = {
    {0, "class 1"},
    {1, "class 2"},
    {2, "class 3"},
    {3, "class 4 (reserved when the GSM 1800 or GSM 1900 band is used)"},
    {4, "class 5 (reserved when the GSM 1800 or GSM 1900 band is used)"},
    {7, "RF power capability is irrelevant in this information element"}};
inline constexpr BitField kMsClassmark2Fields[] = {
    Coded("Revision level"_f, 0, 6, 2, kRevisionLevelValues, ""),
    Bit("ES IND"_f, 0, 5, "Controlled Early Classmark Sending option is implemented",
        "Controlled Early Classmark Sending option is not implemented"),
    Bit("A5/1"_f, 0, 4, "encryption algorithm A5/1 not available", "encryption algorithm A5/1 available"),
    Coded("RF power capability"_f, 0, 1, 3, kRfPowerCapabilityValues, "reserved"),
    Bit("PS capability"_f, 1, 7, "PS capability present", "PS capability not present"),
    Coded("SS screen indicator"_f, 1, 5, 2, kSsScreeningValues, ""),
    Support("SM capability"_f, 1, 4),
    Support("VBS notification reception"_f, 1, 3),
    Support("VGCS notification reception"_f, 1, 2),
    Bit("FC"_f, 1, 1, "The MS does support the E-GSM or R-GSM band", "The MS does not support the E-GSM or R-GSM band"),
    Bit("CM3"_f, 2, 8, "The MS supports options that are indicated in classmark 3 IE",
        "The MS does not support any options that are indicated in CM3"),
    Support("LCS VA capability"_f, 2, 6),
    Bit("UCS2 treatment"_f, 2, 5, "the ME has no preference between the use of the default alphabet and the use of UCS2",
        "the ME has a preference for the default alphabet over UCS2"),
    Support("SoLSA"_f, 2, 4),
    Support("CMSP"_f, 2, 3),
    Bit("A5/3"_f, 2, 2, "encryption algorithm A5/3 available", "encryption algorithm A5/3 not available"),
    Bit("A5/2"_f, 2, 1, "encryption algorithm A5/2 available", "encryption algorithm A5/2 not available"),
};
inline constexpr IeType kMsClassmark2 = Fields("Mobile station classmark 2", "9.9.2.4", kMsClassmark2Fields);

inline constexpr IeType kMsClassmark3 = Decoded("Mobile station classmark 3", "9.9.2.5", DecodeMsClassmark3);

inline constexpr ValueText kCsLcsValues[] = {
    {0, "no information about support of location services via CS domain is available"},
    {1, "location services via CS domain supported"},
    {2, "location services via CS domain not supported"},
    {3, "reserved"}};
inline constexpr BitField kEpsNetworkFeatureSupportFields[] = {
    Support("CP CIoT"_f, 0, 8), Support("ERw/oPDN"_f, 0, 7), Support("ESR PS"_f, 0, 6),
    Coded("CS-LCS"_f, 0, 4, 2, kCsLcsValues, ""), Support("EPC-LCS"_f, 0, 3), Support("EMC BS"_f, 0, 2),
    Bit("IMS VoPS"_f, 0, 1, "IMS voice over PS session in S1 mode supported",
        "IMS voice over PS session in S1 mode not supported"),
    Support("15 bearers"_f, 1, 8), Support("IWK N26"_f, 1, 7), Support("RestrictDCNR"_f, 1, 6),
    Support("RestrictEC"_f, 1, 5), Support("ePCO"_f, 1, 4), Support("HC-CP CIoT"_f, 1, 3), Support("S1-U data"_f, 1, 2),
    Support("UP CIoT"_f, 1, 1),
};
inline constexpr IeType kEpsNetworkFeatureSupport =
    Fields("EPS network feature support", "9.9.3.12A", kEpsNetworkFeatureSupportFields, 1);

void DecodeSupportedCodecList(Context& ctx, Octets value);
inline constexpr IeType kSupportedCodecList = Decoded("Supported codec list", "9.9.2.10", DecodeSupportedCodecList);

inline constexpr IeType kDrxParameter = Decoded("DRX parameter", "9.9.3.8", DecodeDrxParameter);

inline constexpr IeType kExtendedDrxParameters =
    Decoded("Extended DRX parameters", "9.9.3.46", DecodeExtendedDrxParameters);

inline constexpr ValueText kVoiceDomainValues[] = {{0, "CS Voice only"},
                                                   {1, "IMS PS Voice only"},
                                                   {2, "CS voice preferred, IMS PS Voice as secondary"},
                                                   {3, "IMS PS voice preferred, CS Voice as secondary"}};
inline constexpr BitField kVoiceDomainPreferenceFields[] = {
    Bit("UE's usage setting"_f, 0, 3, "Data centric", "Voice centric"),
    Coded("Voice domain preference for E-UTRAN"_f, 0, 1, 2, kVoiceDomainValues, ""),
};
inline constexpr IeType kVoiceDomainPreference =
    Fields("Voice domain preference and UE's usage setting", "9.9.3.44", kVoiceDomainPreferenceFields);

// ---------------------------------------------------------------------------
// Causes, security and authentication

// TS 24.301 9.9.3.9 and annex A.
inline constexpr ValueText kEmmCauseValues[] = {
    {5, "IMEI not accepted"},
    {31, "Redirection to 5GCN required"},
    {35, "Requested service option not authorized in this PLMN"},
    {39, "CS service temporarily not available"},
    {42, "Severe network failure"},
    {78, "PLMN not allowed to operate at the present UE location"},
};
inline constexpr auto kEmmCauses =
    Join(kEmmCauseValues, kCommonEmmCauses, kProtocolErrorCauses, kProtocolErrorUnspecified);
inline constexpr BitField kEmmCauseFields[] = {Coded("Cause value"_f, 0, 1, 8, kEmmCauses, kUnassignedCause)};
inline constexpr IeType kEmmCause = Fields("EMM cause", "9.9.3.9", kEmmCauseFields);

inline constexpr ValueText kEpsCipheringValues[] = {
    {0, "EPS encryption algorithm EEA0 (null ciphering algorithm)"},
    {1, "EPS encryption algorithm 128-EEA1"},
    {2, "EPS encryption algorithm 128-EEA2"},
    {3, "EPS encryption algorithm 128-EEA3"},
    {4, "EPS encryption algorithm EEA4"},
    {5, "EPS encryption algorithm EEA5"},
    {6, "EPS encryption algorithm EEA6"},
    {7, "EPS encryption algorithm EEA7"}};
inline constexpr ValueText kEpsIntegrityValues[] = {
    {0, "EPS integrity algorithm EIA0 (null integrity protection algorithm)"},
    {1, "EPS integrity algorithm 128-EIA1"},
    {2, "EPS integrity algorithm 128-EIA2"},
    {3, "EPS integrity algorithm 128-EIA3"},
    {4, "EPS integrity algorithm EIA4"},
    {5, "EPS integrity algorithm EIA5"},
    {6, "EPS integrity algorithm EIA6"},
    {7, "EPS integrity algorithm EIA7"}};
inline constexpr BitField kNasSecurityAlgorithmsFields[] = {
    Coded("Type of ciphering algorithm"_f, 0, 5, 3, kEpsCipheringValues, ""),
    Coded("Type of integrity protection algorithm"_f, 0, 1, 3, kEpsIntegrityValues, ""),
};
inline constexpr IeType kNasSecurityAlgorithms =
    Fields("NAS security algorithms", "9.9.3.23", kNasSecurityAlgorithmsFields);

inline constexpr BitField kAutnFields[] = {Octs("SQN xor AK"_f, 0, 6), Octs("AMF"_f, 6, 2), Octs("MAC"_f, 8, 8)};
inline constexpr IeType kAuthenticationParameterAutn = Fields("Authentication parameter AUTN", "9.9.3.2", kAutnFields);
inline constexpr BitField kAutsFields[] = {Octs("SQN MS xor AK"_f, 0, 6), Octs("MAC-S"_f, 6, 8)};
inline constexpr IeType kAuthenticationFailureParameter =
    Fields("Authentication failure parameter", "9.9.3.1", kAutsFields);
inline constexpr BitField kRandFields[] = {Octs("RAND value"_f, 0, 16)};
inline constexpr IeType kAuthenticationParameterRand = Fields("Authentication parameter RAND", "9.9.3.3", kRandFields);
inline constexpr BitField kResFields[] = {Octs("RES"_f, 0)};
inline constexpr IeType kAuthenticationResponseParameter =
    Fields("Authentication response parameter", "9.9.3.4", kResFields);
inline constexpr BitField kNonceFields[] = {Octs("Nonce value"_f, 0, 4)};
inline constexpr IeType kNonce = Fields("Nonce", "9.9.3.25", kNonceFields);
inline constexpr BitField kPtmsiSignatureFields[] = {Octs("P-TMSI signature value"_f, 0, 3)};
inline constexpr IeType kPtmsiSignature = Fields("P-TMSI signature", "9.9.3.26", kPtmsiSignatureFields);
inline constexpr BitField kShortMacFields[] = {Octs("Short MAC value"_f, 0, 2)};
inline constexpr IeType kShortMac = Fields("Short MAC", "9.9.3.28", kShortMacFields);

inline constexpr BitField kPagingIdentityFields[] = {Bit("Paging identity value"_f, 0, 1, "TMSI", "IMSI")};
inline constexpr IeType kPagingIdentity = Fields("Paging identity", "9.9.3.25A", kPagingIdentityFields);

// ---------------------------------------------------------------------------
// Network name and time

void DecodeNetworkName(Context& ctx, Octets value);
inline constexpr IeType kNetworkName = Decoded("Network name", "9.9.3.24", DecodeNetworkName);

void DecodeTimeZone(Context& ctx, Octets value);
inline constexpr IeType kTimeZone = Decoded("Time zone", "9.9.3.29", DecodeTimeZone);

void DecodeTimeZoneAndTime(Context& ctx, Octets value);
inline constexpr IeType kTimeZoneAndTime = Decoded("Time zone and time", "9.9.3.30", DecodeTimeZoneAndTime);

inline constexpr ValueText kDstValues[] = {{0, "No adjustment for Daylight Saving Time"},
                                           {1, "+1 hour adjustment for Daylight Saving Time"},
                                           {2, "+2 hours adjustment for Daylight Saving Time"}};
inline constexpr BitField kDaylightSavingTimeFields[] = {Coded(Field<"DST value", "dst_value">, 0, 1, 2, kDstValues, "Reserved")};
inline constexpr IeType kDaylightSavingTime = Fields("Daylight saving time", "9.9.3.6", kDaylightSavingTimeFields);

// ---------------------------------------------------------------------------
// CS service notification and location services

void DecodeCli(Context& ctx, Octets value);
inline constexpr IeType kCli = Decoded("CLI", "9.9.3.38", DecodeCli);

inline constexpr BitField kSsCodeFields[] = {HexCode("SS code"_f, 0, 1, 8)};
inline constexpr IeType kSsCode = Fields("SS Code", "9.9.3.39", kSsCodeFields);

inline constexpr ValueText kLcsIndicatorValues[] = {{0, "Normal, unspecified"}, {1, "MT-LR"}};
inline constexpr BitField kLcsIndicatorFields[] = {
    Coded("LCS indicator value"_f, 0, 1, 8, kLcsIndicatorValues, "Normal, unspecified (unassigned value)")};
inline constexpr IeType kLcsIndicator = Fields("LCS indicator", "9.9.3.40", kLcsIndicatorFields);

inline constexpr IeType kLcsClientIdentity = Opaque("LCS client identity", "9.9.3.41");

inline constexpr ValueText kGenericContainerTypeValues[] = {
    {1, "LTE Positioning Protocol (LPP) message container"}, {2, "Location services message container"}};
inline constexpr BitField kGenericMessageContainerTypeFields[] = {
    Coded("Container type"_f, 0, 1, 8, kGenericContainerTypeValues, "Reserved")};
inline constexpr IeType kGenericMessageContainerType =
    Fields("Generic message container type", "9.9.3.42", kGenericMessageContainerTypeFields);
inline constexpr IeType kGenericMessageContainer = Opaque("Generic message container", "9.9.3.43");
inline constexpr IeType kAdditionalInformation = Opaque("Additional information", "9.9.2.0");

// ---------------------------------------------------------------------------
// Containers

inline constexpr IeType kEsmMessageContainer = Decoded("ESM message container", "9.9.3.15", DecodeNestedMessage);

void DecodeNasMessageContainer(Context& ctx, Octets value);
inline constexpr IeType kNasMessageContainer =
    Decoded("NAS message container", "9.9.3.22", DecodeNasMessageContainer);

// ---------------------------------------------------------------------------
// IEs of newer releases whose values are shown as octets

inline constexpr IeType kDcnId = Opaque("DCN-ID", "9.9.3.48");
inline constexpr IeType kHashMme = Opaque("HashMME", "9.9.3.50");
inline constexpr IeType kReplayedNasMessageContainer = Opaque("Replayed NAS message container", "9.9.3.51");
inline constexpr IeType kUeStatus = Opaque("UE status", "9.9.3.54");
inline constexpr IeType kAdditionalInformationRequested = Opaque("Additional information requested", "9.9.3.55");
inline constexpr IeType kCipheringKeyData = Opaque("Ciphering key data", "9.9.3.56");
inline constexpr IeType kN1UeNetworkCapability = Opaque("N1 UE network capability", "9.9.3.57");
inline constexpr IeType kUeRadioCapabilityId = Opaque("UE radio capability ID", "9.9.3.58");
inline constexpr IeType kUeRadioCapabilityIdAvailability = Opaque("UE radio capability ID availability", "9.9.3.59");
inline constexpr IeType kWusAssistanceInformation = Opaque("WUS assistance information", "9.9.3.62");
inline constexpr IeType kNbS1DrxParameter = Opaque("NB-S1 DRX parameter", "9.9.3.63");
inline constexpr IeType kImsiOffset = Opaque("IMSI offset", "9.9.3.64");
inline constexpr IeType kNriContainer = Opaque("Network resource identifier container", "9.9.3.24A");
inline constexpr IeType kHeaderCompressionConfigurationStatus =
    Opaque("Header compression configuration status", "9.9.4.27");
inline constexpr IeType kExtendedEmergencyNumberList = Opaque("Extended emergency number list", "9.9.3.37A");

}  // namespace corvuna::view::eps
