// SPDX-License-Identifier: Apache-2.0
// The message tables of TS 24.501 clause 8 (Release 17): for each 5GMM and
// 5GSM message, its IEs in the table's order with their format and length
// (the whole IE's length, IEI and length octets included, as the tables
// give it).  TS 24.501 gives type 6 (TLV-E) IEs the IEIs 0x7x of TS 24.007
// 11.2.4, and type 4 IEs any other.
#include "view/protocols.h"

#include "view/eps/emm_ies.h"
#include "view/eps/esm_ies.h"
#include "view/fivegs/mm_ies.h"
#include "view/fivegs/sm_ies.h"

namespace corvuna::view::fivegs {

namespace {

constexpr uint16_t n = kAnyLength;

// ---------------------------------------------------------------------------
// Rows several messages share

constexpr IeRow kSpareHalf = Half("Spare half octet"_f, kSpareHalfOctet);
constexpr IeRow kNgKsi = Half("ngKSI"_f, kNasKeySetIdentifier);
constexpr IeRow kMmCauseV = V("5GMM cause"_f, kMmCause, 1);
constexpr IeRow kMmCauseTv = TV(0x58, "5GMM cause"_f, kMmCause, 2);
constexpr IeRow kEap = TLVE(0x78, "EAP message"_f, kEapMessage, 7, 1503);
constexpr IeRow kEapLve = LVE("EAP message"_f, kEapMessage, 6, 1502);
constexpr IeRow kPduSessionStatusRow = TLV(0x50, "PDU session status"_f, kPduSessionStatus, 4, 34);
constexpr IeRow kUplinkDataStatusRow = TLV(0x40, "Uplink data status"_f, kUplinkDataStatus, 4, 34);
constexpr IeRow kAllowedPduSessionStatusRow =
    TLV(0x25, "Allowed PDU session status"_f, kAllowedPduSessionStatus, 4, 34);
constexpr IeRow kReactivationResult = TLV(0x26, "PDU session reactivation result"_f, kPduSessionReactivationResult, 4, 34);
constexpr IeRow kReactivationErrorCause = TLVE(0x72, "PDU session reactivation result error cause"_f,
                                               kPduSessionReactivationResultErrorCause, 5, 515);
constexpr IeRow kNasMessageContainerRow = TLVE(0x71, "NAS message container"_f, kNasMessageContainer, 4, n);
constexpr IeRow kT3346 = TLV(0x5F, "T3346 value"_f, eps::kGprsTimer2, 3, 3);
constexpr IeRow kT3448 = TLV(0x6B, "T3448 value"_f, eps::kGprsTimer2, 3, 3);
constexpr IeRow kCagInformationListRow = TLVE(0x75, "CAG information list"_f, kCagInformationList, 3, n);
constexpr IeRow kExtendedRejectedNssaiRow = TLV(0x68, "Extended rejected NSSAI"_f, kExtendedRejectedNssai, 5, 90);
constexpr IeRow kGuti = TLVE(0x77, "5G-GUTI"_f, kMobileIdentity, 14, 14);
constexpr IeRow kTaiList = TLV(0x54, "TAI list"_f, kTrackingAreaIdentityList, 9, 114);
constexpr IeRow kAllowedNssai = TLV(0x15, "Allowed NSSAI"_f, kNssai, 4, 74);
constexpr IeRow kRejectedNssaiRow = TLV(0x11, "Rejected NSSAI"_f, kRejectedNssai, 4, 42);
constexpr IeRow kConfiguredNssai = TLV(0x31, "Configured NSSAI"_f, kNssai, 4, 146);
constexpr IeRow kServiceAreaListRow = TLV(0x27, "Service area list"_f, kServiceAreaList, 6, 114);
constexpr IeRow kLadnInformationRow = TLVE(0x79, "LADN information"_f, kLadnInformation, 3, 1715);
constexpr IeRow kMico = TV1(0xB, "MICO indication"_f, kMicoIndication);
constexpr IeRow kSlicingIndication = TV1(0x9, "Network slicing indication"_f, kNetworkSlicingIndication);
constexpr IeRow kAccessCategories = TLVE(0x76, "Operator-defined access category definitions"_f,
                                         kOperatorDefinedAccessCategoryDefinitions, 3, n);
constexpr IeRow kT3447 = TLV(0x6C, "T3447 value"_f, eps::kGprsTimer3, 3, 3);
constexpr IeRow kRadioCapabilityId = TLV(0x67, "UE radio capability ID"_f, kUeRadioCapabilityId, 3, n);
constexpr IeRow kTruncatedSTmsi =
    TLV(0x1B, "Truncated 5G-S-TMSI configuration"_f, kTruncatedSTmsiConfiguration, 3, 3);
constexpr IeRow kSorContainer = TLVE(0x73, "SOR transparent container"_f, kSorTransparentContainer, 20, n);
constexpr IeRow kPayloadContainerTypeTv = TV1(0x8, "Payload container type"_f, kPayloadContainerType);
constexpr IeRow kPayloadContainerTlve = TLVE(0x7B, "Payload container"_f, kPayloadContainer, 4, n);
constexpr IeRow kPduSessionId = TV(0x12, "PDU session ID"_f, kPduSessionIdentity2, 2);
constexpr IeRow kAdditionalInformationRow = TLV(0x24, "Additional information"_f, kAdditionalInformation, 3, n);
constexpr IeRow kReleaseAssistance = TV1(0xF, "Release assistance indication"_f, eps::kReleaseAssistanceIndication);
constexpr IeRow kDisasterReturnWaitRange =
    TLV(0x2C, "Disaster return wait range"_f, kRegistrationWaitRange, 4, 4);
constexpr IeRow kExtendedCagInformationListRow =
    TLVE(0x71, "Extended CAG information list"_f, kExtendedCagInformationList, 3, n);
constexpr IeRow kLowerBoundTimer = TLV(0x3A, "Lower bound timer value"_f, eps::kGprsTimer3, 3, 3);
constexpr IeRow kForbiddenTaisRoaming = TLV(0x1D, "Forbidden TAI(s) for the list of 5GS forbidden tracking areas for roaming"_f,
                                            kTrackingAreaIdentityList, 9, 114);
constexpr IeRow kForbiddenTaisRegional =
    TLV(0x1E, "Forbidden TAI(s) for the list of 5GS forbidden tracking areas for regional provision of service"_f,
        kTrackingAreaIdentityList, 9, 114);
constexpr IeRow kUeRequestTypeRow = TLV(0x29, "UE request type"_f, kUeRequestType, 3, 3);
constexpr IeRow kPagingRestrictionRow = TLV(0x28, "Paging restriction"_f, kPagingRestriction, 3, 35);
constexpr IeRow kMobileIdentityLve = LVE("5GS mobile identity"_f, kMobileIdentity, 6, n);

// ---------------------------------------------------------------------------
// 5GS mobility management (TS 24.501 8.2)

constexpr IeRow kAuthenticationRequest[] = {
    kNgKsi, kSpareHalf,
    LV("ABBA"_f, kAbba, 3, n),
    TV(0x21, "Authentication parameter RAND (5G authentication challenge)"_f, eps::kAuthenticationParameterRand, 17),
    TLV(0x20, "Authentication parameter AUTN (5G authentication challenge)"_f, eps::kAuthenticationParameterAutn, 18,
        18),
    kEap,
};

constexpr IeRow kAuthenticationResponse[] = {
    TLV(0x2D, "Authentication response parameter"_f, kAuthenticationResponseParameter, 18, 18),
    kEap,
};

constexpr IeRow kAuthenticationResult[] = {
    kNgKsi, kSpareHalf,
    LVE("EAP message"_f, kEapMessage, 7, 1503),
    TLV(0x38, "ABBA"_f, kAbba, 4, n),
};

constexpr IeRow kAuthenticationFailure[] = {
    kMmCauseV,
    TLV(0x30, "Authentication failure parameter"_f, eps::kAuthenticationFailureParameter, 16, 16),
};

constexpr IeRow kEapOnly[] = {kEap};

constexpr IeRow kRegistrationRequest[] = {
    Half("5GS registration type"_f, kRegistrationType),
    kNgKsi,
    kMobileIdentityLve,
    TV1(0xC, "Non-current native NAS key set identifier"_f, kNasKeySetIdentifier),
    TLV(0x10, "5GMM capability"_f, kMmCapability, 3, 15),
    TLV(0x2E, "UE security capability"_f, kUeSecurityCapability, 4, 10),
    TLV(0x2F, "Requested NSSAI"_f, kNssai, 4, 74),
    TV(0x52, "Last visited registered TAI"_f, kTrackingAreaIdentity, 7),
    TLV(0x17, "S1 UE network capability"_f, kS1UeNetworkCapability, 4, 15),
    kUplinkDataStatusRow,
    kPduSessionStatusRow,
    kMico,
    TLV(0x2B, "UE status"_f, kUeStatus, 3, 3),
    TLVE(0x77, "Additional GUTI"_f, kMobileIdentity, 14, 14),
    kAllowedPduSessionStatusRow,
    TLV(0x18, "UE's usage setting"_f, kUesUsageSetting, 3, 3),
    TLV(0x51, "Requested DRX parameters"_f, kDrxParameters, 3, 3),
    TLVE(0x70, "EPS NAS message container"_f, kEpsNasMessageContainer, 4, n),
    TLVE(0x74, "LADN indication"_f, kLadnIndication, 3, 811),
    kPayloadContainerTypeTv,
    kPayloadContainerTlve,
    kSlicingIndication,
    TLV(0x53, "5GS update type"_f, kUpdateType, 3, 3),
    TLV(0x41, "Mobile station classmark 2"_f, eps::kMsClassmark2, 5, 5),
    TLV(0x42, "Supported codecs"_f, eps::kSupportedCodecList, 5, n),
    kNasMessageContainerRow,
    TLV(0x60, "EPS bearer context status"_f, eps::kEpsBearerContextStatus, 4, 4),
    TLV(0x6E, "Requested extended DRX parameters"_f, eps::kExtendedDrxParameters, 3, 4),
    TLV(0x6A, "T3324 value"_f, eps::kGprsTimer3, 3, 3),
    kRadioCapabilityId,
    TLV(0x35, "Requested mapped NSSAI"_f, kMappedNssai, 3, 42),
    TLV(0x48, "Additional information requested"_f, kAdditionalInformationRequested, 3, 3),
    TLV(0x1A, "Requested WUS assistance information"_f, kWusAssistanceInformation, 3, n),
    TV1(0xA, "N5GC indication"_f, kN5gcIndication),
    TLV(0x30, "Requested NB-N1 mode DRX parameters"_f, kNbN1ModeDrxParameters, 3, 3),
    kUeRequestTypeRow,
    kPagingRestrictionRow,
    TLVE(0x72, "Service-level-AA container"_f, kServiceLevelAaContainerMm, 6, n),
    TLV(0x32, "NID"_f, kNid, 8, 8),
    TLV(0x16, "MS determined PLMN with disaster condition"_f, kPlmnIdentity, 5, 5),
    TLV(0x2A, "Requested PEIPS assistance information"_f, kPeipsAssistanceInformation, 3, n),
    TLV(0x3B, "Requested T3512 value"_f, eps::kGprsTimer3, 3, 3),
};

constexpr IeRow kRegistrationAccept[] = {
    LV("5GS registration result"_f, kRegistrationResult, 2, 2),
    kGuti,
    TLV(0x4A, "Equivalent PLMNs"_f, eps::kPlmnList, 5, 47),
    kTaiList,
    kAllowedNssai,
    kRejectedNssaiRow,
    kConfiguredNssai,
    TLV(0x21, "5GS network feature support"_f, kNetworkFeatureSupport, 3, 5),
    kPduSessionStatusRow,
    kReactivationResult,
    kReactivationErrorCause,
    kLadnInformationRow,
    kMico,
    kSlicingIndication,
    kServiceAreaListRow,
    TLV(0x5E, "T3512 value"_f, eps::kGprsTimer3, 3, 3),
    TLV(0x5D, "Non-3GPP de-registration timer value"_f, eps::kGprsTimer2, 3, 3),
    TLV(0x16, "T3502 value"_f, eps::kGprsTimer2, 3, 3),
    TLV(0x34, "Emergency number list"_f, eps::kEmergencyNumberList, 5, 50),
    TLVE(0x7A, "Extended emergency number list"_f, eps::kExtendedEmergencyNumberList, 7, n),
    kSorContainer,
    kEap,
    TV1(0xA, "NSSAI inclusion mode"_f, kNssaiInclusionMode),
    kAccessCategories,
    TLV(0x51, "Negotiated DRX parameters"_f, kDrxParameters, 3, 3),
    TV1(0xD, "Non-3GPP NW policies"_f, eps::kNon3gppNwProvidedPolicies),
    TLV(0x60, "EPS bearer context status"_f, eps::kEpsBearerContextStatus, 4, 4),
    TLV(0x6E, "Negotiated extended DRX parameters"_f, eps::kExtendedDrxParameters, 3, 4),
    kT3447,
    kT3448,
    TLV(0x6A, "T3324 value"_f, eps::kGprsTimer3, 3, 3),
    kRadioCapabilityId,
    TV1(0xE, "UE radio capability ID deletion indication"_f, eps::kUeRadioCapabilityIdDeletion),
    TLV(0x39, "Pending NSSAI"_f, kNssai, 4, 74),
    TLVE(0x74, "Ciphering key data"_f, kCipheringKeyData, 34, n),
    kCagInformationListRow,
    kTruncatedSTmsi,
    TLV(0x1C, "Negotiated WUS assistance information"_f, kWusAssistanceInformation, 3, n),
    TLV(0x29, "Negotiated NB-N1 mode DRX parameters"_f, kNbN1ModeDrxParameters, 3, 3),
    kExtendedRejectedNssaiRow,
    TLVE(0x7B, "Service-level-AA container"_f, kServiceLevelAaContainerMm, 6, n),
    TLV(0x33, "Negotiated PEIPS assistance information"_f, kPeipsAssistanceInformation, 3, n),
    TLV(0x35, "5GS additional request result"_f, kAdditionalRequestResult, 3, 3),
    TLVE(0x70, "NSSRG information"_f, kNssrgInformation, 7, 4099),
    TLV(0x14, "Disaster roaming wait range"_f, kRegistrationWaitRange, 4, 4),
    kDisasterReturnWaitRange,
    TLV(0x13, "List of PLMNs to be used in disaster condition"_f, kPlmnsInDisasterCondition, 2, n),
    kForbiddenTaisRoaming,
    kForbiddenTaisRegional,
    kExtendedCagInformationListRow,
    TLVE(0x7C, "NSAG information"_f, kNsagInformation, 9, 3143),
};

constexpr IeRow kRegistrationComplete[] = {kSorContainer};

// The optional IEs REGISTRATION REJECT and DEREGISTRATION REQUEST (UE
// terminated) share.
constexpr IeRow kRejectionRows[] = {
    kCagInformationListRow, kExtendedRejectedNssaiRow, kDisasterReturnWaitRange, kExtendedCagInformationListRow,
    kLowerBoundTimer,       kForbiddenTaisRoaming,     kForbiddenTaisRegional,
};

constexpr IeRow kRegistrationRejectOwn[] = {
    kMmCauseV,
    kT3346,
    TLV(0x16, "T3502 value"_f, eps::kGprsTimer2, 3, 3),
    kEap,
    TLV(0x69, "Rejected NSSAI"_f, kRejectedNssai, 4, 42),
};
constexpr auto kRegistrationReject = Join(kRegistrationRejectOwn, kRejectionRows);

// The mandatory part of UL and DL NAS TRANSPORT, and the PDU session ID
// both carry: the payload container type is a half octet before the
// payload container.
constexpr IeRow kNasTransportRows[] = {
    Half("Payload container type"_f, kPayloadContainerType),
    kSpareHalf,
    LVE("Payload container"_f, kPayloadContainer, 3, n),
    kPduSessionId,
};

constexpr IeRow kUlNasTransportOwn[] = {
    TV(0x59, "Old PDU session ID"_f, kPduSessionIdentity2, 2),
    TV1(0x8, "Request type"_f, kRequestType),
    TLV(0x22, "S-NSSAI"_f, kSNssai, 3, 10),
    TLV(0x25, "DNN"_f, kDnn, 3, 102),
    kAdditionalInformationRow,
    TV1(0xA, "MA PDU session information"_f, kMaPduSessionInformation),
    kReleaseAssistance,
};

constexpr auto kUlNasTransport = Join(kNasTransportRows, kUlNasTransportOwn);

constexpr IeRow kDlNasTransportOwn[] = {
    kAdditionalInformationRow,
    kMmCauseTv,
    TLV(0x37, "Back-off timer value"_f, eps::kGprsTimer3, 3, 3),
    TLV(0x3A, "Lower bound timer value"_f, eps::kGprsTimer3, 3, 3),
};
constexpr auto kDlNasTransport = Join(kNasTransportRows, kDlNasTransportOwn);

constexpr IeRow kDeregistrationRequestFromUe[] = {
    Half("De-registration type"_f, kDeregistrationType),
    kNgKsi,
    kMobileIdentityLve,
};

constexpr IeRow kDeregistrationRequestToUeOwn[] = {
    Half("De-registration type"_f, kDeregistrationType),
    kSpareHalf,
    kMmCauseTv,
    kT3346,
    TLV(0x6D, "Rejected NSSAI"_f, kRejectedNssai, 4, 42),
};
constexpr auto kDeregistrationRequestToUe = Join(kDeregistrationRequestToUeOwn, kRejectionRows);

constexpr IeRow kServiceRequest[] = {
    kNgKsi,
    Half("Service type"_f, kServiceType),
    LVE("5G-S-TMSI"_f, kMobileIdentity, 9, 9),
    kUplinkDataStatusRow,
    kPduSessionStatusRow,
    kAllowedPduSessionStatusRow,
    kNasMessageContainerRow,
    kUeRequestTypeRow,
    kPagingRestrictionRow,
};

constexpr IeRow kServiceAccept[] = {
    kPduSessionStatusRow, kReactivationResult, kReactivationErrorCause, kEap, kT3448,
    TLV(0x34, "5GS additional request result"_f, kAdditionalRequestResult, 3, 3),
    kForbiddenTaisRoaming, kForbiddenTaisRegional,
};

constexpr IeRow kServiceReject[] = {
    kMmCauseV, kPduSessionStatusRow, kT3346, kEap, kT3448, kCagInformationListRow, kDisasterReturnWaitRange,
    kExtendedCagInformationListRow, kLowerBoundTimer, kForbiddenTaisRoaming, kForbiddenTaisRegional,
};

constexpr IeRow kConfigurationUpdateCommand[] = {
    TV1(0xD, "Configuration update indication"_f, kConfigurationUpdateIndication),
    kGuti,
    kTaiList,
    kAllowedNssai,
    kServiceAreaListRow,
    TLV(0x43, "Full name for network"_f, eps::kNetworkName, 3, n),
    TLV(0x45, "Short name for network"_f, eps::kNetworkName, 3, n),
    TV(0x46, "Local time zone"_f, eps::kTimeZone, 2),
    TV(0x47, "Universal time and local time zone"_f, eps::kTimeZoneAndTime, 8),
    TLV(0x49, "Network daylight saving time"_f, eps::kDaylightSavingTime, 3, 3),
    kLadnInformationRow,
    kMico,
    kSlicingIndication,
    kConfiguredNssai,
    kRejectedNssaiRow,
    kAccessCategories,
    TV1(0xF, "SMS indication"_f, kSmsIndication),
    kT3447,
    kCagInformationListRow,
    kRadioCapabilityId,
    TV1(0xA, "UE radio capability ID deletion indication"_f, eps::kUeRadioCapabilityIdDeletion),
    TLV(0x44, "5GS registration result"_f, kRegistrationResult, 3, 3),
    kTruncatedSTmsi,
    TV1(0xC, "Additional configuration indication"_f, kAdditionalConfigurationIndication),
    kExtendedRejectedNssaiRow,
};

constexpr IeRow kIdentityRequest[] = {
    Half("Identity type"_f, kIdentityType),
    kSpareHalf,
};

constexpr IeRow kIdentityResponse[] = {
    LVE("Mobile identity"_f, kMobileIdentity, 3, n),
};

constexpr IeRow kNotification[] = {
    Half("Access type"_f, kAccessType),
    kSpareHalf,
};

constexpr IeRow kNotificationResponse[] = {kPduSessionStatusRow};

constexpr IeRow kSecurityModeCommand[] = {
    V("Selected NAS security algorithms"_f, kNasSecurityAlgorithms, 1),
    kNgKsi,
    kSpareHalf,
    LV("Replayed UE security capabilities"_f, kUeSecurityCapability, 3, 9),
    TV1(0xE, "IMEISV request"_f, eps::kImeisvRequest),
    TV(0x57, "Selected EPS NAS security algorithms"_f, eps::kNasSecurityAlgorithms, 2),
    TLV(0x36, "Additional 5G security information"_f, kAdditional5gSecurityInformation, 3, 3),
    kEap,
    TLV(0x38, "ABBA"_f, kAbba, 4, n),
    TLV(0x19, "Replayed S1 UE security capabilities"_f, kS1UeSecurityCapability, 4, 7),
};

constexpr IeRow kSecurityModeComplete[] = {
    TLVE(0x77, "IMEISV"_f, kMobileIdentity, 12, 12),
    kNasMessageContainerRow,
    TLVE(0x78, "non-IMEISV PEI"_f, kMobileIdentity, 7, n),
};

constexpr IeRow kMmCauseOnly[] = {kMmCauseV};

constexpr IeRow kControlPlaneServiceRequest[] = {
    Half("Control plane service type"_f, kControlPlaneServiceType),
    kNgKsi,
    TLV(0x6F, "CIoT small data container"_f, kCiotSmallDataContainer, 4, 257),
    kPayloadContainerTypeTv,
    kPayloadContainerTlve,
    kPduSessionId,
    kPduSessionStatusRow,
    kReleaseAssistance,
    kUplinkDataStatusRow,
    kNasMessageContainerRow,
    kAdditionalInformationRow,
};

constexpr IeRow kSliceAuthentication[] = {
    LV("S-NSSAI"_f, kSNssai, 2, 5),
    kEapLve,
};

// ---------------------------------------------------------------------------
// 5GS session management (TS 24.501 8.3)

constexpr IeRow kEpco = TLVE(0x7B, "Extended protocol configuration options"_f,
                             kExtendedProtocolConfigurationOptions, 4, n);
constexpr IeRow kSmCauseV = V("5GSM cause"_f, kSmCause, 1);
constexpr IeRow kSmCauseTv = TV(0x59, "5GSM cause"_f, kSmCause, 2);
constexpr IeRow kBackOff = TLV(0x37, "Back-off timer value"_f, eps::kGprsTimer3, 3, 3);
constexpr IeRow kCongestionReattempt =
    TLV(0x61, "5GSM congestion re-attempt indicator"_f, kCongestionReattemptIndicator, 3, 3);
constexpr IeRow kReattempt = TLV(0x1D, "Re-attempt indicator"_f, eps::kReattemptIndicator, 3, 3);
constexpr IeRow kSmCapabilityRow = TLV(0x28, "5GSM capability"_f, kSmCapability, 3, 15);
constexpr IeRow kMaxPacketFilters =
    TV(0x55, "Maximum number of supported packet filters"_f, kMaximumNumberOfSupportedPacketFilters, 3);
constexpr IeRow kAlwaysOnRequestedRow = TV1(0xB, "Always-on PDU session requested"_f, kAlwaysOnRequested);
constexpr IeRow kAlwaysOnIndicationRow = TV1(0x8, "Always-on PDU session indication"_f, kAlwaysOnIndication);
constexpr IeRow kIpHeaderCompression =
    TLV(0x66, "IP header compression configuration"_f, kHeaderCompressionConfiguration, 5, 257);
constexpr IeRow kEthernetHeaderCompression =
    TLV(0x1F, "Ethernet header compression configuration"_f, kEthernetHeaderCompressionConfiguration, 3, 3);
constexpr IeRow kPortManagement =
    TLVE(0x74, "Port management information container"_f, kPortManagementInformationContainer, 4, n);
constexpr IeRow kMappedEpsBearers = TLVE(0x75, "Mapped EPS bearer contexts"_f, kMappedEpsBearerContexts, 7, n);
constexpr IeRow kRqTimer = TV(0x56, "RQ timer value"_f, eps::kGprsTimer, 2);
constexpr IeRow kAtsss = TLVE(0x77, "ATSSS container"_f, kAtsssContainer, 3, n);
constexpr IeRow kServiceLevelAa = TLVE(0x72, "Service-level-AA container"_f, kServiceLevelAaContainer, 6, n);

constexpr IeRow kEstablishmentRequest[] = {
    V("Integrity protection maximum data rate"_f, kIntegrityProtectionMaximumDataRate, 2),
    TV1(0x9, "PDU session type"_f, kPduSessionType),
    TV1(0xA, "SSC mode"_f, kSscMode),
    kSmCapabilityRow,
    kMaxPacketFilters,
    kAlwaysOnRequestedRow,
    TLV(0x39, "SM PDU DN request container"_f, kSmPduDnRequestContainer, 3, 255),
    kEpco,
    kIpHeaderCompression,
    TLV(0x6E, "DS-TT Ethernet port MAC address"_f, kDsTtEthernetPortMacAddress, 8, 8),
    TLV(0x6F, "UE-DS-TT residence time"_f, kUeDsTtResidenceTime, 10, 10),
    TLVE(0x74, "Port management information container"_f, kPortManagementInformationContainer, 8, n),
    kEthernetHeaderCompression,
    TLV(0x29, "Suggested interface identifier"_f, kPduAddress, 11, 11),
    kServiceLevelAa,
    TLVE(0x70, "Requested MBS container"_f, kRequestedMbsContainer, 8, n),
    TLV(0x34, "PDU session pair ID"_f, kPduSessionPairId, 3, 3),
    TLV(0x35, "RSN"_f, kRsn, 3, 3),
};

constexpr IeRow kEstablishmentAccept[] = {
    Half("Selected PDU session type"_f, kPduSessionType),
    Half("Selected SSC mode"_f, kSscMode),
    LVE("Authorized QoS rules"_f, kQosRules, 6, n),
    LV("Session AMBR"_f, kSessionAmbr, 7, 7),
    kSmCauseTv,
    TLV(0x29, "PDU address"_f, kPduAddress, 7, 29),
    kRqTimer,
    TLV(0x22, "S-NSSAI"_f, kSNssai, 3, 10),
    kAlwaysOnIndicationRow,
    kMappedEpsBearers,
    kEap,
    TLVE(0x79, "Authorized QoS flow descriptions"_f, kQosFlowDescriptions, 6, n),
    kEpco,
    TLV(0x25, "DNN"_f, kDnn, 3, 102),
    TLV(0x17, "5GSM network feature support"_f, kSmNetworkFeatureSupport, 3, 15),
    TLV(0x18, "Serving PLMN rate control"_f, kServingPlmnRateControl, 4, 4),
    kAtsss,
    TV1(0xC, "Control plane only indication"_f, kControlPlaneOnlyIndication),
    kIpHeaderCompression,
    kEthernetHeaderCompression,
    kServiceLevelAa,
};

constexpr IeRow kEstablishmentReject[] = {
    kSmCauseV, kBackOff, TV1(0xF, "Allowed SSC mode"_f, kAllowedSscMode), kEap, kCongestionReattempt, kEpco,
    kReattempt, kServiceLevelAa,
};

constexpr IeRow kAuthenticationCommandOrComplete[] = {kEapLve, kEpco};
constexpr IeRow kAuthenticationResultSm[] = {kEap, kEpco};

constexpr IeRow kModificationRequest[] = {
    kSmCapabilityRow,
    kSmCauseTv,
    kMaxPacketFilters,
    kAlwaysOnRequestedRow,
    TV(0x13, "Integrity protection maximum data rate"_f, kIntegrityProtectionMaximumDataRate, 3),
    TLVE(0x7A, "Requested QoS rules"_f, kQosRules, 7, n),
    TLVE(0x79, "Requested QoS flow descriptions"_f, kQosFlowDescriptions, 6, n),
    kMappedEpsBearers,
    kEpco,
    kPortManagement,
    kIpHeaderCompression,
    kEthernetHeaderCompression,
};

constexpr IeRow kModificationReject[] = {kSmCauseV, kBackOff, kCongestionReattempt, kEpco, kReattempt};

constexpr IeRow kModificationCommand[] = {
    kSmCauseTv,
    TLV(0x2A, "Session AMBR"_f, kSessionAmbr, 8, 8),
    kRqTimer,
    kAlwaysOnIndicationRow,
    TLVE(0x7A, "Authorized QoS rules"_f, kQosRules, 7, n),
    kMappedEpsBearers,
    TLVE(0x79, "Authorized QoS flow descriptions"_f, kQosFlowDescriptions, 6, n),
    kEpco,
    kAtsss,
    kIpHeaderCompression,
    kPortManagement,
    TLV(0x1E, "Serving PLMN rate control"_f, kServingPlmnRateControl, 4, 4),
    kEthernetHeaderCompression,
    TLVE(0x71, "Received MBS container"_f, kReceivedMbsContainer, 9, n),
    kServiceLevelAa,
};

constexpr IeRow kModificationComplete[] = {kEpco, kPortManagement};
constexpr IeRow kCauseEpco[] = {kSmCauseV, kEpco};
constexpr IeRow kOptionalCauseEpco[] = {kSmCauseTv, kEpco};

constexpr IeRow kReleaseCommand[] = {
    kSmCauseV, kBackOff, kEap, kCongestionReattempt, kEpco, TV1(0xD, "Access type"_f, kAccessType), kServiceLevelAa,
};

constexpr IeRow kSmCauseOnly[] = {kSmCauseV};
constexpr IeRow kServiceLevelAuthentication[] = {
    LVE("Service-level-AA container"_f, kServiceLevelAaContainer, 6, n),
};

constexpr MessageLayout kMessages[] = {
    {kMm, 0x41, kUplink, "Registration request"_f, "8.2.6", kRegistrationRequest},
    {kMm, 0x42, kDownlink, "Registration accept"_f, "8.2.7", kRegistrationAccept},
    {kMm, 0x43, kUplink, "Registration complete"_f, "8.2.8", kRegistrationComplete},
    {kMm, 0x44, kDownlink, "Registration reject"_f, "8.2.9", kRegistrationReject},
    {kMm, 0x45, kUplink, "Deregistration request (UE originating)"_f, "8.2.12", kDeregistrationRequestFromUe},
    {kMm, 0x46, kDownlink, "Deregistration accept (UE originating)"_f, "8.2.13", kNoIes},
    {kMm, 0x47, kDownlink, "Deregistration request (UE terminated)"_f, "8.2.14", kDeregistrationRequestToUe},
    {kMm, 0x48, kUplink, "Deregistration accept (UE terminated)"_f, "8.2.15", kNoIes},
    {kMm, 0x4C, kUplink, "Service request"_f, "8.2.16", kServiceRequest},
    {kMm, 0x4D, kDownlink, "Service reject"_f, "8.2.18", kServiceReject},
    {kMm, 0x4E, kDownlink, "Service accept"_f, "8.2.17", kServiceAccept},
    {kMm, 0x4F, kUplink, "Control plane service request"_f, "8.2.30", kControlPlaneServiceRequest},
    {kMm, 0x50, kDownlink, "Network slice-specific authentication command"_f, "8.2.31", kSliceAuthentication},
    {kMm, 0x51, kUplink, "Network slice-specific authentication complete"_f, "8.2.32", kSliceAuthentication},
    {kMm, 0x52, kDownlink, "Network slice-specific authentication result"_f, "8.2.33", kSliceAuthentication},
    {kMm, 0x54, kDownlink, "Configuration update command"_f, "8.2.19", kConfigurationUpdateCommand},
    {kMm, 0x55, kUplink, "Configuration update complete"_f, "8.2.20", kNoIes},
    {kMm, 0x56, kDownlink, "Authentication request"_f, "8.2.1", kAuthenticationRequest},
    {kMm, 0x57, kUplink, "Authentication response"_f, "8.2.2", kAuthenticationResponse},
    {kMm, 0x58, kDownlink, "Authentication reject"_f, "8.2.5", kEapOnly},
    {kMm, 0x59, kUplink, "Authentication failure"_f, "8.2.4", kAuthenticationFailure},
    {kMm, 0x5A, kDownlink, "Authentication result"_f, "8.2.3", kAuthenticationResult},
    {kMm, 0x5B, kDownlink, "Identity request"_f, "8.2.21", kIdentityRequest},
    {kMm, 0x5C, kUplink, "Identity response"_f, "8.2.22", kIdentityResponse},
    {kMm, 0x5D, kDownlink, "Security mode command"_f, "8.2.25", kSecurityModeCommand},
    {kMm, 0x5E, kUplink, "Security mode complete"_f, "8.2.26", kSecurityModeComplete},
    {kMm, 0x5F, kUplink, "Security mode reject"_f, "8.2.27", kMmCauseOnly},
    {kMm, 0x64, kBoth, "5GMM status"_f, "8.2.29", kMmCauseOnly},
    {kMm, 0x65, kDownlink, "Notification"_f, "8.2.23", kNotification},
    {kMm, 0x66, kUplink, "Notification response"_f, "8.2.24", kNotificationResponse},
    {kMm, 0x67, kUplink, "UL NAS transport"_f, "8.2.10", kUlNasTransport},
    {kMm, 0x68, kDownlink, "DL NAS transport"_f, "8.2.11", kDlNasTransport},
    {kSm, 0xC1, kUplink, "PDU session establishment request"_f, "8.3.1", kEstablishmentRequest},
    {kSm, 0xC2, kDownlink, "PDU session establishment accept"_f, "8.3.2", kEstablishmentAccept},
    {kSm, 0xC3, kDownlink, "PDU session establishment reject"_f, "8.3.3", kEstablishmentReject},
    {kSm, 0xC5, kDownlink, "PDU session authentication command"_f, "8.3.4", kAuthenticationCommandOrComplete},
    {kSm, 0xC6, kUplink, "PDU session authentication complete"_f, "8.3.5", kAuthenticationCommandOrComplete},
    {kSm, 0xC7, kDownlink, "PDU session authentication result"_f, "8.3.6", kAuthenticationResultSm},
    {kSm, 0xC9, kUplink, "PDU session modification request"_f, "8.3.7", kModificationRequest},
    {kSm, 0xCA, kDownlink, "PDU session modification reject"_f, "8.3.8", kModificationReject},
    {kSm, 0xCB, kDownlink, "PDU session modification command"_f, "8.3.9", kModificationCommand},
    {kSm, 0xCC, kUplink, "PDU session modification complete"_f, "8.3.10", kModificationComplete},
    {kSm, 0xCD, kUplink, "PDU session modification command reject"_f, "8.3.11", kCauseEpco},
    {kSm, 0xD1, kUplink, "PDU session release request"_f, "8.3.12", kOptionalCauseEpco},
    {kSm, 0xD2, kDownlink, "PDU session release reject"_f, "8.3.13", kCauseEpco},
    {kSm, 0xD3, kDownlink, "PDU session release command"_f, "8.3.14", kReleaseCommand},
    {kSm, 0xD4, kUplink, "PDU session release complete"_f, "8.3.15", kOptionalCauseEpco},
    {kSm, 0xD6, kBoth, "5GSM status"_f, "8.3.16", kSmCauseOnly},
    {kSm, 0xD8, kDownlink, "Service-level authentication command"_f, "8.3.17", kServiceLevelAuthentication},
    {kSm, 0xD9, kUplink, "Service-level authentication complete"_f, "8.3.18", kServiceLevelAuthentication},
    {kSm, 0xDA, kUplink, "Remote UE report"_f, "8.3.19", kNoIes},
    {kSm, 0xDB, kDownlink, "Remote UE report response"_f, "8.3.20", kNoIes},
};

}  // namespace

const MessageTable kMessageTable = IndexedMessages<kMessages, kMm, kSm>::kTable;

}  // namespace corvuna::view::fivegs
