// SPDX-License-Identifier: Apache-2.0
// The 5GS mobility management IEs and the common IEs of TS 24.501 (9.11.2,
// 9.11.3): each declared once, as bit-field data where the value is fields
// of fixed bits, otherwise with its decoder (mm_ies.cpp).  IEs that TS
// 24.501 takes over from TS 24.301 and TS 24.008 unchanged are the EPS
// view's types (view/eps/emm_ies.h).
#pragma once

#include "view/context.h"
#include "view/eps/emm_ies.h"
#include "view/tables.h"

namespace corvuna::view::fivegs {

// ---------------------------------------------------------------------------
// Half-octet values (the walker hands them over in the low four bits)

inline constexpr IeType kSpareHalfOctet = Decoded("Spare half octet", "24.501 9.5", eps::DecodeNothing);

inline constexpr ValueText kRegistrationTypeValues[] = {
    {1, "initial registration"},
    {2, "mobility registration updating"},
    {3, "periodic registration updating"},
    {4, "emergency registration"},
    {5, "SNPN onboarding registration"},
    {6, "disaster roaming mobility registration updating"},
    {7, "disaster roaming initial registration"}};
inline constexpr BitField kRegistrationTypeFields[] = {
    Bit("Follow-on request bit (FOR)"_f, 0, 4, "Follow-on request pending", "No follow-on request pending"),
    Coded("5GS registration type value"_f, 0, 1, 3, kRegistrationTypeValues, "reserved"),
};
inline constexpr IeType kRegistrationType =
    Fields("5GS registration type", "24.501 9.11.3.7", kRegistrationTypeFields);

// ngKSI: 7 is "no key is available" from the UE and reserved towards it.
inline constexpr BitField kNasKeySetIdentifierFields[] = {
    Bit("Type of security context flag (TSC)"_f, 0, 4, "mapped security context (for KSIASME)",
        "native security context (for KSIAMF)"),
    Coded("NAS key set identifier"_f, 0, 1, 3, eps::kKeySetValues, "no key is available", kUplink),
    Coded("NAS key set identifier"_f, 0, 1, 3, eps::kKeySetValues, "reserved", kDownlink),
};
inline constexpr IeType kNasKeySetIdentifier =
    Fields("NAS key set identifier", "24.501 9.11.3.32", kNasKeySetIdentifierFields);

inline constexpr ValueText kIdentityTypeValues[] = {{0, "No identity"}, {1, "SUCI"},    {2, "5G-GUTI"},
                                                    {3, "IMEI"},        {4, "5G-S-TMSI"}, {5, "IMEISV"},
                                                    {6, "MAC address"}, {7, "EUI-64"}};
inline constexpr BitField kIdentityTypeFields[] = {
    Coded("Type of identity"_f, 0, 1, 3, kIdentityTypeValues, "reserved")};
inline constexpr IeType kIdentityType = Fields("5GS identity type", "24.501 9.11.3.3", kIdentityTypeFields);

inline constexpr ValueText kAccessTypeValues[] = {
    {1, "3GPP access"}, {2, "Non-3GPP access"}, {3, "3GPP access and non-3GPP access"}};
inline constexpr ValueText kAccessTypeIeValues[] = {{1, "3GPP access"}, {2, "Non-3GPP access"}};
inline constexpr BitField kAccessTypeFields[] = {
    Coded("Access type value"_f, 0, 1, 2, kAccessTypeIeValues, "reserved")};
inline constexpr IeType kAccessType = Fields("Access type", "24.501 9.11.2.1A", kAccessTypeFields);

// De-registration type: "switch off" from the UE, "re-registration
// required" towards it (the other bit is spare).
inline constexpr BitField kDeregistrationTypeFields[] = {
    Bit("Switch off"_f, 0, 4, "Switch off", "Normal de-registration", kUplink),
    Bit("Re-registration required"_f, 0, 3, "re-registration required", "re-registration not required",
        kDownlink),
    Coded("Access type"_f, 0, 1, 2, kAccessTypeValues, "reserved"),
};
inline constexpr IeType kDeregistrationType =
    Fields("De-registration type", "24.501 9.11.3.20", kDeregistrationTypeFields);

inline constexpr ValueText kServiceTypeValues[] = {
    {0, "signalling"}, {1, "data"}, {2, "mobile terminated services"}, {3, "emergency services"},
    {4, "emergency services fallback"}, {5, "high priority access"}, {6, "elevated signalling"},
    {7, "unused; shall be interpreted as \"signalling\""}, {8, "unused; shall be interpreted as \"signalling\""},
    {9, "unused; shall be interpreted as \"data\""}, {10, "unused; shall be interpreted as \"data\""},
    {11, "unused; shall be interpreted as \"data\""}};
inline constexpr BitField kServiceTypeFields[] = {
    Coded("Service type value"_f, 0, 1, 4, kServiceTypeValues, "reserved")};
inline constexpr IeType kServiceType = Fields("Service type", "24.501 9.11.3.50", kServiceTypeFields);

inline constexpr ValueText kPayloadContainerTypeValues[] = {
    {1, "N1 SM information"},
    {2, "SMS"},
    {3, "LTE Positioning Protocol (LPP) message container"},
    {4, "SOR transparent container"},
    {5, "UE policy container"},
    {6, "UE parameters update transparent container"},
    {7, "Location services message container"},
    {8, "CIoT user data container"},
    {9, "Service-level-AA container"},
    {10, "Event notification"},
    {15, "Multiple payloads"}};
void DecodePayloadContainerType(Context& ctx, Octets value);
inline constexpr IeType kPayloadContainerType =
    Decoded("Payload container type", "24.501 9.11.3.40", DecodePayloadContainerType);

inline constexpr ValueText kRequestTypeValues[] = {{1, "initial request"},
                                                   {2, "existing PDU session"},
                                                   {3, "initial emergency request"},
                                                   {4, "existing emergency PDU session"},
                                                   {5, "modification request"},
                                                   {6, "MA PDU request"}};
inline constexpr BitField kRequestTypeFields[] = {
    Coded("Request type value"_f, 0, 1, 3, kRequestTypeValues, "reserved")};
inline constexpr IeType kRequestType = Fields("Request type", "24.501 9.11.3.47", kRequestTypeFields);

inline constexpr ValueText kMaPduSessionInformationValues[] = {
    {0, "No additional information"}, {1, "MA PDU session network upgrade is allowed"}};
inline constexpr BitField kMaPduSessionInformationFields[] = {
    Coded("MA PDU session information value"_f, 0, 1, 4, kMaPduSessionInformationValues, "reserved")};
inline constexpr IeType kMaPduSessionInformation =
    Fields("MA PDU session information", "24.501 9.11.3.31A", kMaPduSessionInformationFields);

inline constexpr BitField kMicoIndicationFields[] = {
    Bit("Strictly periodic registration timer indication (SPRTI)"_f, 0, 2,
        "strictly periodic registration timer supported", "strictly periodic registration timer not supported"),
    Bit("Registration area allocation indication (RAAI)"_f, 0, 1, "all PLMN registration area allocated",
        "all PLMN registration area not allocated"),
};
inline constexpr IeType kMicoIndication = Fields("MICO indication", "24.501 9.11.3.31", kMicoIndicationFields);

inline constexpr BitField kNetworkSlicingIndicationFields[] = {
    Bit("Default configured NSSAI indication (DCNI)"_f, 0, 2,
        "requested NSSAI created from default configured NSSAI",
        "requested NSSAI not created from default configured NSSAI", kUplink),
    Bit("Network slicing subscription change indication (NSSCI)"_f, 0, 1,
        "network slicing subscription changed", "network slicing subscription not changed", kDownlink),
};
inline constexpr IeType kNetworkSlicingIndication =
    Fields("Network slicing indication", "24.501 9.11.3.36", kNetworkSlicingIndicationFields);

inline constexpr ValueText kNssaiInclusionModeValues[] = {
    {0, "NSSAI inclusion mode A"}, {1, "NSSAI inclusion mode B"}, {2, "NSSAI inclusion mode C"},
    {3, "NSSAI inclusion mode D"}};
inline constexpr BitField kNssaiInclusionModeFields[] = {
    Coded("NSSAI inclusion mode"_f, 0, 1, 2, kNssaiInclusionModeValues, "")};
inline constexpr IeType kNssaiInclusionMode =
    Fields("NSSAI inclusion mode", "24.501 9.11.3.37A", kNssaiInclusionModeFields);

inline constexpr BitField kConfigurationUpdateIndicationFields[] = {
    Bit("Registration requested (RED)"_f, 0, 2, "registration requested", "registration not requested"),
    Bit("Acknowledgement requested (ACK)"_f, 0, 1, "acknowledgement requested", "acknowledgement not requested"),
};
inline constexpr IeType kConfigurationUpdateIndication =
    Fields("Configuration update indication", "24.501 9.11.3.16", kConfigurationUpdateIndicationFields);

inline constexpr ValueText kControlPlaneServiceTypeValues[] = {{0, "mobile originating request"},
                                                               {1, "mobile terminating request"},
                                                               {2, "emergency services"},
                                                               {3, "emergency services fallback"}};
inline constexpr BitField kControlPlaneServiceTypeFields[] = {
    Coded("Control plane service type value"_f, 0, 1, 3, kControlPlaneServiceTypeValues,
          "unused; shall be interpreted as \"mobile originating request\"")};
inline constexpr IeType kControlPlaneServiceType =
    Fields("Control plane service type", "24.501 9.11.3.18D", kControlPlaneServiceTypeFields);

inline constexpr BitField kN5gcIndicationFields[] = {
    Bit("N5GC device indication (N5GCI)"_f, 0, 1, "registration for a non-5G capable device",
        "no additional information")};
inline constexpr IeType kN5gcIndication = Fields("N5GC indication", "24.501 9.11.3.72", kN5gcIndicationFields);

inline constexpr BitField kAdditionalConfigurationIndicationFields[] = {
    Bit("Signalling connection maintain request (SCMR)"_f, 0, 1, "release of N1 NAS signalling connection not required",
        "no additional information")};
inline constexpr IeType kAdditionalConfigurationIndication =
    Fields("Additional configuration indication", "24.501 9.11.3.74", kAdditionalConfigurationIndicationFields);

inline constexpr BitField kSmsIndicationFields[] = {
    Bit("SMS availability indication (SAI)"_f, 0, 1, "SMS over NAS available", "SMS over NAS not available")};
inline constexpr IeType kSmsIndication = Fields("SMS indication", "24.501 9.11.3.50A", kSmsIndicationFields);

// ---------------------------------------------------------------------------
// Identities, areas and slices

void DecodeMobileIdentity(Context& ctx, Octets value);
inline constexpr IeType kMobileIdentity = Decoded("5GS mobile identity", "24.501 9.11.3.4", DecodeMobileIdentity);

void DecodeTrackingAreaIdentity(Context& ctx, Octets value);
inline constexpr IeType kTrackingAreaIdentity =
    Decoded("5GS tracking area identity", "24.501 9.11.3.8", DecodeTrackingAreaIdentity);

void DecodeTrackingAreaIdentityList(Context& ctx, Octets value);
inline constexpr IeType kTrackingAreaIdentityList =
    Decoded("5GS tracking area identity list", "24.501 9.11.3.9", DecodeTrackingAreaIdentityList);

void DecodePlmnIdentity(Context& ctx, Octets value);
inline constexpr IeType kPlmnIdentity = Decoded("PLMN identity", "24.501 9.11.3.85", DecodePlmnIdentity);

void DecodeSNssai(Context& ctx, Octets value);
inline constexpr IeType kSNssai = Decoded("S-NSSAI", "24.501 9.11.2.8", DecodeSNssai);

void DecodeNssai(Context& ctx, Octets value);
inline constexpr IeType kNssai = Decoded("NSSAI", "24.501 9.11.3.37", DecodeNssai);
inline constexpr IeType kMappedNssai = Decoded("Mapped NSSAI", "24.501 9.11.3.31B", DecodeNssai);

void DecodeRejectedNssai(Context& ctx, Octets value);
inline constexpr IeType kRejectedNssai = Decoded("Rejected NSSAI", "24.501 9.11.3.46", DecodeRejectedNssai);

void DecodeDnn(Context& ctx, Octets value);
inline constexpr IeType kDnn = Decoded("DNN", "24.501 9.11.2.1B", DecodeDnn);

void DecodeLadnIndication(Context& ctx, Octets value);
inline constexpr IeType kLadnIndication = Decoded("LADN indication", "24.501 9.11.3.29", DecodeLadnIndication);

void DecodePduSessionIdentity2(Context& ctx, Octets value);
inline constexpr IeType kPduSessionIdentity2 =
    Decoded("PDU session identity 2", "24.501 9.11.3.41", DecodePduSessionIdentity2);

// PDU session status, uplink data status, allowed PDU session status and
// PDU session reactivation result: a bit per PDU session identity.
void DecodePsiBitmap(Context& ctx, Octets value);
inline constexpr IeType kPduSessionStatus = Decoded("PDU session status", "24.501 9.11.3.44", DecodePsiBitmap);
inline constexpr IeType kUplinkDataStatus = Decoded("Uplink data status", "24.501 9.11.3.57", DecodePsiBitmap);
inline constexpr IeType kAllowedPduSessionStatus =
    Decoded("Allowed PDU session status", "24.501 9.11.3.13", DecodePsiBitmap);
inline constexpr IeType kPduSessionReactivationResult =
    Decoded("PDU session reactivation result", "24.501 9.11.3.42", DecodePsiBitmap);

void DecodeReactivationErrorCause(Context& ctx, Octets value);
inline constexpr IeType kPduSessionReactivationResultErrorCause = Decoded(
    "PDU session reactivation result error cause", "24.501 9.11.3.43", DecodeReactivationErrorCause);

// ---------------------------------------------------------------------------
// Registration, capabilities and features

inline constexpr ValueText kRegistrationResultValues[] = {
    {1, "3GPP access"}, {2, "Non-3GPP access"}, {3, "3GPP access and non-3GPP access"}};
inline constexpr BitField kRegistrationResultFields[] = {
    Bit("Emergency registered"_f, 0, 6, "Registered for emergency services", "Not registered for emergency services"),
    Bit("NSSAA to be performed"_f, 0, 5, "Network slice-specific authentication and authorization is to be performed",
        "Network slice-specific authentication and authorization is not to be performed"),
    Bit("SMS allowed"_f, 0, 4, "SMS over NAS allowed", "SMS over NAS not allowed"),
    Coded("5GS registration result value"_f, 0, 1, 3, kRegistrationResultValues, "reserved"),
};
inline constexpr IeType kRegistrationResult =
    Fields("5GS registration result", "24.501 9.11.3.6", kRegistrationResultFields);

inline constexpr BitField kMmCapabilityFields[] = {
    Support("SGC"_f, 0, 8), Support("5G-IPHC-CP CIoT"_f, 0, 7), Support("N3 data"_f, 0, 6),
    Support("5G-CP CIoT"_f, 0, 5), Support("RestrictEC"_f, 0, 4), Support("LPP"_f, 0, 3),
    Support("HO attach"_f, 0, 2), Support("S1 mode"_f, 0, 1),
    Support("RACS"_f, 1, 8), Support("NSSAA"_f, 1, 7), Support("5G-LCS"_f, 1, 6), Support("V2XCNPC5"_f, 1, 5),
    Support("V2XCEPC5"_f, 1, 4), Support("V2X"_f, 1, 3), Support("5G-UP CIoT"_f, 1, 2), Support("5GSRVCC"_f, 1, 1),
    Support("5G-ProSe-l2relay"_f, 2, 8), Support("5G-ProSe-dc"_f, 2, 7), Support("5G-ProSe-dd"_f, 2, 6),
    Support("ER-NSSAI"_f, 2, 5), Support("5G-EHC-CP CIoT"_f, 2, 4), Support("multipleUP"_f, 2, 3),
    Support("WUSA"_f, 2, 2), Support("CAG"_f, 2, 1),
    Octs("Further capability octets"_f, 3),
};
inline constexpr IeType kMmCapability = Fields("5GMM capability", "24.501 9.11.3.1", kMmCapabilityFields, 1);

inline constexpr ValueText kEmergencyServicesValues[] = {
    {0, "Emergency services not supported"},
    {1, "Emergency services supported in NR connected to 5GCN only"},
    {2, "Emergency services supported in E-UTRA connected to 5GCN only"},
    {3, "Emergency services supported in NR connected to 5GCN and E-UTRA connected to 5GCN"}};
inline constexpr ValueText kEmergencyFallbackValues[] = {
    {0, "Emergency services fallback not supported"},
    {1, "Emergency services fallback supported in NR connected to 5GCN only"},
    {2, "Emergency services fallback supported in E-UTRA connected to 5GCN only"},
    {3, "Emergency services fallback supported in NR connected to 5GCN and E-UTRA connected to 5GCN"}};
inline constexpr BitField kNetworkFeatureSupportFields[] = {
    Bit("MPS indicator (MPSI)"_f, 0, 8, "Access identity 1 valid", "Access identity 1 not valid"),
    Bit("Interworking without N26 (IWK N26)"_f, 0, 7, "Interworking without N26 supported",
        "Interworking without N26 not supported"),
    Coded("Emergency services fallback indicator (EMF)"_f, 0, 5, 2, kEmergencyFallbackValues, ""),
    Coded("Emergency service support indicator (EMC)"_f, 0, 3, 2, kEmergencyServicesValues, ""),
    Bit("IMS voice over PS session over non-3GPP access indicator (IMS-VoPS-N3GPP)"_f, 0, 2,
        "IMS voice over PS session supported over non-3GPP access",
        "IMS voice over PS session not supported over non-3GPP access"),
    Bit("IMS voice over PS session indicator (IMS-VoPS-3GPP)"_f, 0, 1,
        "IMS voice over PS session supported over 3GPP access",
        "IMS voice over PS session not supported over 3GPP access"),
    Support("5G-LCS"_f, 1, 8), Support("5G-UP CIoT"_f, 1, 7), Support("5G-IPHC-CP CIoT"_f, 1, 6),
    Support("N3 data"_f, 1, 5), Support("5G-CP CIoT"_f, 1, 4), Support("RestrictEC"_f, 1, 3),
    Support("MCS indicator (MCSI)"_f, 1, 2), Support("Emergency services for non-3GPP access (EMCN3)"_f, 1, 1),
    Support("5G-EHC-CP CIoT"_f, 2, 2), Support("ATSSS (ATS-IND)"_f, 2, 1),
};
inline constexpr IeType kNetworkFeatureSupport =
    Fields("5GS network feature support", "24.501 9.11.3.5", kNetworkFeatureSupportFields, 1);

// 5G-EA0..7, 5G-IA0..7, then EEA0..7 and EIA0..7 (octets 5 and 6 optional).
inline constexpr BitField kUeSecurityCapabilityFields[] = {
    Support("5G-EA0"_f, 0, 8), Support("128-5G-EA1"_f, 0, 7), Support("128-5G-EA2"_f, 0, 6),
    Support("128-5G-EA3"_f, 0, 5), Support("5G-EA4"_f, 0, 4), Support("5G-EA5"_f, 0, 3), Support("5G-EA6"_f, 0, 2),
    Support("5G-EA7"_f, 0, 1),
    Support("5G-IA0"_f, 1, 8), Support("128-5G-IA1"_f, 1, 7), Support("128-5G-IA2"_f, 1, 6),
    Support("128-5G-IA3"_f, 1, 5), Support("5G-IA4"_f, 1, 4), Support("5G-IA5"_f, 1, 3), Support("5G-IA6"_f, 1, 2),
    Support("5G-IA7"_f, 1, 1),
    Support("EEA0"_f, 2, 8), Support("128-EEA1"_f, 2, 7), Support("128-EEA2"_f, 2, 6), Support("128-EEA3"_f, 2, 5),
    Support("EEA4"_f, 2, 4), Support("EEA5"_f, 2, 3), Support("EEA6"_f, 2, 2), Support("EEA7"_f, 2, 1),
    Support("EIA0"_f, 3, 8), Support("128-EIA1"_f, 3, 7), Support("128-EIA2"_f, 3, 6), Support("128-EIA3"_f, 3, 5),
    Support("EIA4"_f, 3, 4), Support("EIA5"_f, 3, 3), Support("EIA6"_f, 3, 2), Support("EIA7"_f, 3, 1),
};
inline constexpr IeType kUeSecurityCapability =
    Fields("UE security capability", "24.501 9.11.3.54", kUeSecurityCapabilityFields, 2);

inline constexpr IeType kS1UeNetworkCapability =
    Fields("S1 UE network capability", "24.501 9.11.3.48", eps::kUeNetworkCapabilityFields, 2);
inline constexpr IeType kS1UeSecurityCapability =
    Fields("S1 UE security capability", "24.501 9.11.3.48A", eps::kUeSecurityCapabilityFields, 2);

inline constexpr BitField kUeStatusFields[] = {
    Bit("N1 mode registered (N1_MODE_REG)"_f, 0, 2, "UE is in 5GMM-REGISTERED state",
        "UE is not in 5GMM-REGISTERED state"),
    Bit("S1 mode registered (S1_MODE_REG)"_f, 0, 1, "UE is in EMM-REGISTERED state",
        "UE is not in EMM-REGISTERED state"),
};
inline constexpr IeType kUeStatus = Fields("UE status", "24.501 9.11.3.56", kUeStatusFields);

inline constexpr BitField kUesUsageSettingFields[] = {
    Bit("UE's usage setting"_f, 0, 1, "data centric", "voice centric")};
inline constexpr IeType kUesUsageSetting = Fields("UE's usage setting", "24.501 9.11.3.55", kUesUsageSettingFields);

inline constexpr ValueText kDrxValues[] = {{0, "DRX value not specified"},
                                           {1, "DRX cycle parameter T = 32"},
                                           {2, "DRX cycle parameter T = 64"},
                                           {3, "DRX cycle parameter T = 128"},
                                           {4, "DRX cycle parameter T = 256"}};
inline constexpr BitField kDrxParametersFields[] = {Coded("DRX value"_f, 0, 1, 4, kDrxValues, "reserved")};
inline constexpr IeType kDrxParameters = Fields("5GS DRX parameters", "24.501 9.11.3.2A", kDrxParametersFields);

inline constexpr ValueText kPnbCiotValues[] = {{0, "no additional information"},
                                               {1, "control plane CIoT optimization"},
                                               {2, "user plane CIoT optimization"},
                                               {3, "reserved"}};
inline constexpr BitField kUpdateTypeFields[] = {
    Coded("EPS preferred CIoT network behaviour (EPS-PNB-CIoT)"_f, 0, 5, 2, kPnbCiotValues, ""),
    Coded("5GS preferred CIoT network behaviour (5GS-PNB-CIoT)"_f, 0, 3, 2, kPnbCiotValues, ""),
    Bit("NG-RAN radio capability update (NG-RAN-RCU)"_f, 0, 2, "UE radio capability update needed",
        "UE radio capability update not needed"),
    Bit("SMS over NAS transport requested (SMS requested)"_f, 0, 1, "SMS over NAS supported",
        "SMS over NAS not supported"),
};
inline constexpr IeType kUpdateType = Fields("5GS update type", "24.501 9.11.3.9A", kUpdateTypeFields);

inline constexpr BitField kAdditionalInformationRequestedFields[] = {
    Bit("Ciphering keys for ciphered broadcast assistance data (CipherKey)"_f, 0, 1,
        "ciphering keys for ciphered broadcast assistance data requested",
        "ciphering keys for ciphered broadcast assistance data not requested")};
inline constexpr IeType kAdditionalInformationRequested =
    Fields("Additional information requested", "24.501 9.11.3.12A", kAdditionalInformationRequestedFields);

inline constexpr BitField kTruncatedSTmsiConfigurationFields[] = {
    Num("Truncated AMF Set ID value"_f, 0, 5, 4),
    Num("Truncated AMF Pointer value"_f, 0, 1, 4),
};
inline constexpr IeType kTruncatedSTmsiConfiguration =
    Fields("Truncated 5G-S-TMSI configuration", "24.501 9.11.3.70", kTruncatedSTmsiConfigurationFields);

// ---------------------------------------------------------------------------
// Causes, security and authentication

// TS 24.501 9.11.3.2 and annex A.
inline constexpr ValueText kMmCauseValues[] = {
    {3, "Illegal UE"},
    {5, "PEI not accepted"},
    {6, "Illegal ME"},
    {7, "5GS services not allowed"},
    {9, "UE identity cannot be derived by the network"},
    {10, "Implicitly de-registered"},
    {11, "PLMN not allowed"},
    {12, "Tracking area not allowed"},
    {13, "Roaming not allowed in this tracking area"},
    {15, "No suitable cells in tracking area"},
    {20, "MAC failure"},
    {21, "Synch failure"},
    {22, "Congestion"},
    {23, "UE security capabilities mismatch"},
    {24, "Security mode rejected, unspecified"},
    {26, "Non-5G authentication unacceptable"},
    {27, "N1 mode not allowed"},
    {28, "Restricted service area"},
    {31, "Redirection to EPC required"},
    {36, "IAB-node operation not authorized"},
    {43, "LADN not available"},
    {62, "No network slices available"},
    {65, "Maximum number of PDU sessions reached"},
    {67, "Insufficient resources for specific slice and DNN"},
    {69, "Insufficient resources for specific slice"},
    {71, "ngKSI already in use"},
    {72, "Non-3GPP access to 5GCN not allowed"},
    {73, "Serving network not authorized"},
    {74, "Temporarily not authorized for this SNPN"},
    {75, "Permanently not authorized for this SNPN"},
    {76, "Not authorized for this CAG or authorized for CAG cells only"},
    {77, "Wireline access area not allowed"},
    {78, "PLMN not allowed to operate at the present UE location"},
    {79, "UAS services not allowed"},
    {80, "Disaster roaming for the determined PLMN with disaster condition not allowed"},
    {90, "Payload was not forwarded"},
    {91, "DNN not supported or not subscribed in the slice"},
    {92, "Insufficient user-plane resources for the PDU session"},
    {93, "Onboarding services terminated"},
};
inline constexpr auto kMmCauseTexts = CauseTexts(kMmCauseValues);
inline constexpr IeType kMmCause = Decoded("5GMM cause", "24.501 9.11.3.2", DecodeCause<kMmCauseTexts>);

inline constexpr ValueText kCipheringValues[] = {
    {0, "5G encryption algorithm 5G-EA0 (null ciphering algorithm)"},
    {1, "5G encryption algorithm 128-5G-EA1"},
    {2, "5G encryption algorithm 128-5G-EA2"},
    {3, "5G encryption algorithm 128-5G-EA3"},
    {4, "5G encryption algorithm 5G-EA4"},
    {5, "5G encryption algorithm 5G-EA5"},
    {6, "5G encryption algorithm 5G-EA6"},
    {7, "5G encryption algorithm 5G-EA7"}};
inline constexpr ValueText kIntegrityValues[] = {
    {0, "5G integrity algorithm 5G-IA0 (null integrity protection algorithm)"},
    {1, "5G integrity algorithm 128-5G-IA1"},
    {2, "5G integrity algorithm 128-5G-IA2"},
    {3, "5G integrity algorithm 128-5G-IA3"},
    {4, "5G integrity algorithm 5G-IA4"},
    {5, "5G integrity algorithm 5G-IA5"},
    {6, "5G integrity algorithm 5G-IA6"},
    {7, "5G integrity algorithm 5G-IA7"}};
inline constexpr BitField kNasSecurityAlgorithmsFields[] = {
    Coded("Type of ciphering algorithm"_f, 0, 5, 4, kCipheringValues, "reserved"),
    Coded("Type of integrity protection algorithm"_f, 0, 1, 4, kIntegrityValues, "reserved"),
};
inline constexpr IeType kNasSecurityAlgorithms =
    Fields("NAS security algorithms", "24.501 9.11.3.34", kNasSecurityAlgorithmsFields);

inline constexpr BitField kAbbaFields[] = {Octs("ABBA contents"_f, 0)};
inline constexpr IeType kAbba = Fields("ABBA", "24.501 9.11.3.10", kAbbaFields);

inline constexpr BitField kResStarFields[] = {Octs("RES*"_f, 0)};
inline constexpr IeType kAuthenticationResponseParameter =
    Fields("Authentication response parameter", "24.501 9.11.3.17", kResStarFields);

inline constexpr BitField kAdditional5gSecurityInformationFields[] = {
    Bit("Retransmission of initial NAS message request (RINMR)"_f, 0, 2,
        "Retransmission of the initial NAS message requested",
        "Retransmission of the initial NAS message not requested"),
    Bit("Horizontal derivation parameter (HDP)"_f, 0, 1, "K_AMF derivation is required",
        "K_AMF derivation is not required"),
};
inline constexpr IeType kAdditional5gSecurityInformation =
    Fields("Additional 5G security information", "24.501 9.11.3.12", kAdditional5gSecurityInformationFields);

inline constexpr IeType kEapMessage = Opaque("EAP message", "24.501 9.11.2.2");

// ---------------------------------------------------------------------------
// Containers

// TS 24.501 9.11.3.24: the EPS NAS message it carries; 9.11.3.33: the
// plain 5GS NAS message it carries.
inline constexpr IeType kEpsNasMessageContainer =
    Decoded("EPS NAS message container", "24.501 9.11.3.24", DecodeNestedMessage);
inline constexpr IeType kNasMessageContainer =
    Decoded("NAS message container", "24.501 9.11.3.33", DecodeNestedMessage);

void DecodePayloadContainer(Context& ctx, Octets value);
inline constexpr IeType kPayloadContainer = Decoded("Payload container", "24.501 9.11.3.39", DecodePayloadContainer);

void DecodeSorTransparentContainer(Context& ctx, Octets value);
inline constexpr IeType kSorTransparentContainer =
    Decoded("SOR transparent container", "24.501 9.11.3.51", DecodeSorTransparentContainer);

// ---------------------------------------------------------------------------
// IEs whose values are shown as octets

inline constexpr IeType kAdditionalInformation = Opaque("Additional information", "24.501 9.11.2.1");
inline constexpr IeType kLadnInformation = Opaque("LADN information", "24.501 9.11.3.30");
inline constexpr IeType kServiceAreaList = Opaque("Service area list", "24.501 9.11.3.49");
inline constexpr IeType kOperatorDefinedAccessCategoryDefinitions =
    Opaque("Operator-defined access category definitions", "24.501 9.11.3.38");
inline constexpr IeType kCipheringKeyData = Opaque("Ciphering key data", "24.501 9.11.3.18C");
inline constexpr IeType kCagInformationList = Opaque("CAG information list", "24.501 9.11.3.18A");
inline constexpr IeType kExtendedRejectedNssai = Opaque("Extended rejected NSSAI", "24.501 9.11.3.75");
inline constexpr IeType kUeRadioCapabilityId = Opaque("UE radio capability ID", "24.501 9.11.3.68");
inline constexpr IeType kWusAssistanceInformation = Opaque("WUS assistance information", "24.501 9.11.3.71");
inline constexpr IeType kNbN1ModeDrxParameters = Opaque("NB-N1 mode DRX parameters", "24.501 9.11.3.73");
inline constexpr IeType kUeRequestType = Opaque("UE request type", "24.501 9.11.3.76");
inline constexpr IeType kPagingRestriction = Opaque("Paging restriction", "24.501 9.11.3.77");
inline constexpr IeType kServiceLevelAaContainerMm = Opaque("Service-level-AA container", "24.501 9.11.2.10");
inline constexpr IeType kNid = Opaque("NID", "24.501 9.11.3.79");
inline constexpr IeType kPeipsAssistanceInformation = Opaque("PEIPS assistance information", "24.501 9.11.3.80");
inline constexpr IeType kAdditionalRequestResult = Opaque("5GS additional request result", "24.501 9.11.3.81");
inline constexpr IeType kNssrgInformation = Opaque("NSSRG information", "24.501 9.11.3.82");
inline constexpr IeType kPlmnsInDisasterCondition =
    Opaque("List of PLMNs to be used in disaster condition", "24.501 9.11.3.83");
inline constexpr IeType kRegistrationWaitRange = Opaque("Registration wait range", "24.501 9.11.3.84");
inline constexpr IeType kExtendedCagInformationList = Opaque("Extended CAG information list", "24.501 9.11.3.86");
inline constexpr IeType kNsagInformation = Opaque("NSAG information", "24.501 9.11.3.87");
inline constexpr IeType kCiotSmallDataContainer = Opaque("CIoT small data container", "24.501 9.11.3.18B");

}  // namespace corvuna::view::fivegs
