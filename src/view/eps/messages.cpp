// SPDX-License-Identifier: Apache-2.0
// The message tables of TS 24.301 clause 8 (Release 17): for each EMM and
// ESM message, its IEs in the table's order with their format and length.
#include "view/protocols.h"

#include "view/eps/emm_ies.h"
#include "view/eps/esm_ies.h"

namespace corvuna::view::eps {

namespace {

constexpr uint16_t n = kAnyLength;

// ---------------------------------------------------------------------------
// EPS mobility management (TS 24.301 8.2)

constexpr IeRow kAttachAcceptOwn[] = {
    Half("EPS attach result"_f, kEpsAttachResult),
    Half("Spare half octet"_f, kSpareHalfOctet),
    V("T3412 value"_f, kGprsTimer, 1),
    LV("TAI list"_f, kTrackingAreaIdentityList, 7, 97),
    LVE("ESM message container"_f, kEsmMessageContainer, 5, n),
    TLV(0x50, "GUTI"_f, kEpsMobileIdentity, 13, 13),
};

// The optional IEs that ATTACH ACCEPT and TRACKING AREA UPDATE ACCEPT
// share (the order of optional rows changes nothing but the time a look
// takes).
constexpr IeRow kAcceptOptionalIes[] = {
    TV(0x13, "Location area identification"_f, kLocationAreaIdentification, 6),
    TLV(0x23, "MS identity"_f, kMobileIdentity, 3, 10),
    TV(0x53, "EMM cause"_f, kEmmCause, 2),
    TV(0x17, "T3402 value"_f, kGprsTimer, 2),
    TV(0x59, "T3423 value"_f, kGprsTimer, 2),
    TLV(0x4A, "Equivalent PLMNs"_f, kPlmnList, 5, 47),
    TLV(0x34, "Emergency number list"_f, kEmergencyNumberList, 5, 50),
    TLV(0x64, "EPS network feature support"_f, kEpsNetworkFeatureSupport, 3, 4),
    TV1(0xF, "Additional update result"_f, kAdditionalUpdateResult),
    TLV(0x5E, "T3412 extended value"_f, kGprsTimer3, 3, 3),
    TLV(0x6A, "T3324 value"_f, kGprsTimer2, 3, 3),
    TLV(0x6E, "Extended DRX parameters"_f, kExtendedDrxParameters, 3, 4),
    TLV(0x65, "DCN-ID"_f, kDcnId, 4, 4),
    TV1(0xE, "SMS services status"_f, kSmsServicesStatus),
    TV1(0xD, "Non-3GPP NW provided policies"_f, kNon3gppNwProvidedPolicies),
    TLV(0x6B, "T3448 value"_f, kGprsTimer2, 3, 3),
    TV1(0xC, "Network policy"_f, kNetworkPolicy),
    TLV(0x6C, "T3447 value"_f, kGprsTimer3, 3, 3),
    TLVE(0x7A, "Extended emergency number list"_f, kExtendedEmergencyNumberList, 7, n),
    TLVE(0x7C, "Ciphering key data"_f, kCipheringKeyData, 35, n),
    TLV(0x66, "UE radio capability ID"_f, kUeRadioCapabilityId, 3, n),
    TV1(0xB, "UE radio capability ID deletion indication"_f, kUeRadioCapabilityIdDeletion),
    TLV(0x35, "Negotiated WUS assistance information"_f, kWusAssistanceInformation, 3, n),
    TLV(0x36, "Negotiated DRX parameter in NB-S1 mode"_f, kNbS1DrxParameter, 3, 3),
    TLV(0x38, "Negotiated IMSI offset"_f, kImsiOffset, 4, 4),
};
constexpr auto kAttachAccept = Join(kAttachAcceptOwn, kAcceptOptionalIes);

constexpr IeRow kAttachComplete[] = {
    LVE("ESM message container"_f, kEsmMessageContainer, 5, n),
};

constexpr IeRow kAttachReject[] = {
    V("EMM cause"_f, kEmmCause, 1),
    TLVE(0x78, "ESM message container"_f, kEsmMessageContainer, 6, n),
    TLV(0x5F, "T3346 value"_f, kGprsTimer2, 3, 3),
    TLV(0x16, "T3402 value"_f, kGprsTimer2, 3, 3),
    TV1(0xA, "Extended EMM cause"_f, kExtendedEmmCause),
};

// The optional IEs of ATTACH REQUEST and TRACKING AREA UPDATE REQUEST that
// both carry, each message listing them in its own order.
constexpr IeRow kOldPtmsiSignature = TV(0x19, "Old P-TMSI signature"_f, kPtmsiSignature, 4);
constexpr IeRow kAdditionalGuti = TLV(0x50, "Additional GUTI"_f, kEpsMobileIdentity, 13, 13);
constexpr IeRow kLastVisitedTai = TV(0x52, "Last visited registered TAI"_f, kTrackingAreaIdentity, 6);
constexpr IeRow kDrx = TV(0x5C, "DRX parameter"_f, kDrxParameter, 3);
constexpr IeRow kMsNetworkCapabilityRow = TLV(0x31, "MS network capability"_f, kMsNetworkCapability, 4, 10);
constexpr IeRow kOldLai = TV(0x13, "Old location area identification"_f, kLocationAreaIdentification, 6);
constexpr IeRow kTmsiStatusRow = TV1(0x9, "TMSI status"_f, kTmsiStatus);
constexpr IeRow kClassmark2 = TLV(0x11, "Mobile station classmark 2"_f, kMsClassmark2, 5, 5);
constexpr IeRow kClassmark3 = TLV(0x20, "Mobile station classmark 3"_f, kMsClassmark3, 2, 34);
constexpr IeRow kSupportedCodecs = TLV(0x40, "Supported Codecs"_f, kSupportedCodecList, 5, n);
constexpr IeRow kAdditionalUpdateTypeRow = TV1(0xF, "Additional update type"_f, kAdditionalUpdateType);
constexpr IeRow kVoiceDomain = TLV(0x5D, "Voice domain preference and UE's usage setting"_f, kVoiceDomainPreference, 3, 3);
constexpr IeRow kDeviceProp = TV1(0xD, "Device properties"_f, kDeviceProperties);
constexpr IeRow kOldGutiType = TV1(0xE, "Old GUTI type"_f, kGutiType);
constexpr IeRow kMsNetFeature = TV1(0xC, "MS network feature support"_f, kMsNetworkFeatureSupport);
constexpr IeRow kTmsiNri = TLV(0x10, "TMSI based NRI container"_f, kTmsiBasedNriContainer, 4, 4);
constexpr IeRow kT3324 = TLV(0x6A, "T3324 value"_f, kGprsTimer2, 3, 3);
constexpr IeRow kT3412Extended = TLV(0x5E, "T3412 extended value"_f, kGprsTimer3, 3, 3);
constexpr IeRow kExtendedDrx = TLV(0x6E, "Extended DRX parameters"_f, kExtendedDrxParameters, 3, 4);
constexpr IeRow kUeAdditionalSecurity =
    TLV(0x6F, "UE additional security capability"_f, kUeAdditionalSecurityCapability, 6, 6);
constexpr IeRow kUeStatusRow = TLV(0x6D, "UE status"_f, kUeStatus, 3, 3);
constexpr IeRow kAdditionalInfoRequested = TV(0x17, "Additional information requested"_f, kAdditionalInformationRequested, 2);
constexpr IeRow kN1Capability = TLV(0x32, "N1 UE network capability"_f, kN1UeNetworkCapability, 3, 15);
constexpr IeRow kRadioCapabilityIdAvailability =
    TLV(0x34, "UE radio capability ID availability"_f, kUeRadioCapabilityIdAvailability, 3, 3);
constexpr IeRow kRequestedWus = TLV(0x35, "Requested WUS assistance information"_f, kWusAssistanceInformation, 3, n);
constexpr IeRow kNbS1Drx = TLV(0x36, "DRX parameter in NB-S1 mode"_f, kNbS1DrxParameter, 3, 3);
constexpr IeRow kRequestedImsiOffset = TLV(0x38, "Requested IMSI offset"_f, kImsiOffset, 4, 4);

constexpr IeRow kAttachRequest[] = {
    Half("EPS attach type"_f, kEpsAttachType),
    Half("NAS key set identifier"_f, kNasKeySetIdentifier),
    LV("EPS mobile identity"_f, kEpsMobileIdentity, 5, 12),
    LV("UE network capability"_f, kUeNetworkCapability, 3, 14),
    LVE("ESM message container"_f, kEsmMessageContainer, 5, n),
    kOldPtmsiSignature, kAdditionalGuti, kLastVisitedTai, kDrx, kMsNetworkCapabilityRow, kOldLai, kTmsiStatusRow,
    kClassmark2, kClassmark3, kSupportedCodecs, kAdditionalUpdateTypeRow, kVoiceDomain, kDeviceProp, kOldGutiType,
    kMsNetFeature, kTmsiNri, kT3324, kT3412Extended, kExtendedDrx, kUeAdditionalSecurity, kUeStatusRow,
    kAdditionalInfoRequested, kN1Capability, kRadioCapabilityIdAvailability, kRequestedWus, kNbS1Drx,
    kRequestedImsiOffset,
};

constexpr IeRow kAuthenticationFailure[] = {
    V("EMM cause"_f, kEmmCause, 1),
    TLV(0x30, "Authentication failure parameter"_f, kAuthenticationFailureParameter, 16, 16),
};

constexpr IeRow kAuthenticationRequest[] = {
    Half("NAS key set identifierASME"_f, kNasKeySetIdentifier),
    Half("Spare half octet"_f, kSpareHalfOctet),
    V("Authentication parameter RAND (EPS challenge)"_f, kAuthenticationParameterRand, 16),
    LV("Authentication parameter AUTN (EPS challenge)"_f, kAuthenticationParameterAutn, 17, 17),
};

constexpr IeRow kAuthenticationResponse[] = {
    LV("Authentication response parameter"_f, kAuthenticationResponseParameter, 5, 17),
};

constexpr IeRow kCsServiceNotification[] = {
    V("Paging identity"_f, kPagingIdentity, 1),
    TLV(0x60, "CLI"_f, kCli, 3, 14),
    TV(0x61, "SS Code"_f, kSsCode, 2),
    TV(0x62, "LCS indicator"_f, kLcsIndicator, 2),
    TLV(0x63, "LCS client identity"_f, kLcsClientIdentity, 3, 257),
};

constexpr IeRow kDetachRequestFromUe[] = {
    Half("Detach type"_f, kDetachType),
    Half("NAS key set identifier"_f, kNasKeySetIdentifier),
    LV("EPS mobile identity"_f, kEpsMobileIdentity, 5, 12),
};

constexpr IeRow kDetachRequestToUe[] = {
    Half("Detach type"_f, kDetachType),
    Half("Spare half octet"_f, kSpareHalfOctet),
    TV(0x53, "EMM cause"_f, kEmmCause, 2),
};

constexpr IeRow kNasTransport[] = {
    LV("NAS message container"_f, kNasMessageContainer, 3, 252),
};

constexpr IeRow kEmmInformation[] = {
    TLV(0x43, "Full name for network"_f, kNetworkName, 3, n),
    TLV(0x45, "Short name for network"_f, kNetworkName, 3, n),
    TV(0x46, "Local time zone"_f, kTimeZone, 2),
    TV(0x47, "Universal time and local time zone"_f, kTimeZoneAndTime, 8),
    TLV(0x49, "Network daylight saving time"_f, kDaylightSavingTime, 3, 3),
};

constexpr IeRow kEmmCauseOnly[] = {
    V("EMM cause"_f, kEmmCause, 1),
};

constexpr IeRow kEpsBearerStatus = TLV(0x57, "EPS bearer context status"_f, kEpsBearerContextStatus, 4, 4);

constexpr IeRow kExtendedServiceRequest[] = {
    Half("Service type"_f, kServiceType),
    Half("NAS key set identifier"_f, kNasKeySetIdentifier),
    LV("M-TMSI"_f, kMobileIdentity, 6, 6),
    TV1(0xB, "CSFB response"_f, kCsfbResponse),
    kEpsBearerStatus,
    TV1(0xD, "Device properties"_f, kDeviceProperties),
};

constexpr IeRow kGutiReallocationCommand[] = {
    LV("GUTI"_f, kEpsMobileIdentity, 12, 12),
    TLV(0x54, "TAI list"_f, kTrackingAreaIdentityList, 8, 98),
    TLV(0x65, "DCN-ID"_f, kDcnId, 4, 4),
    TLV(0x66, "UE radio capability ID"_f, kUeRadioCapabilityId, 3, n),
    TV1(0xB, "UE radio capability ID deletion indication"_f, kUeRadioCapabilityIdDeletion),
};

constexpr IeRow kIdentityRequest[] = {
    Half("Identity type"_f, kIdentityType2),
    Half("Spare half octet"_f, kSpareHalfOctet),
};

constexpr IeRow kIdentityResponse[] = {
    LV("Mobile identity"_f, kMobileIdentity, 2, 10),
};

constexpr IeRow kSecurityModeCommand[] = {
    V("Selected NAS security algorithms"_f, kNasSecurityAlgorithms, 1),
    Half("NAS key set identifier"_f, kNasKeySetIdentifier),
    Half("Spare half octet"_f, kSpareHalfOctet),
    LV("Replayed UE security capabilities"_f, kUeSecurityCapability, 3, 6),
    TV1(0xC, "IMEISV request"_f, kImeisvRequest),
    TV(0x55, "Replayed nonceUE"_f, kNonce, 5),
    TV(0x56, "NonceMME"_f, kNonce, 5),
    TLV(0x4F, "HashMME"_f, kHashMme, 10, 10),
    TLV(0x6F, "Replayed UE additional security capability"_f, kUeAdditionalSecurityCapability, 6, 6),
    TV1(0xD, "UE radio capability ID request"_f, kUeRadioCapabilityIdRequest),
};

constexpr IeRow kSecurityModeComplete[] = {
    TLV(0x23, "IMEISV"_f, kMobileIdentity, 11, 11),
    TLVE(0x79, "Replayed NAS message container"_f, kReplayedNasMessageContainer, 3, n),
    TLV(0x66, "UE radio capability ID"_f, kUeRadioCapabilityId, 3, n),
};

constexpr IeRow kServiceReject[] = {
    V("EMM cause"_f, kEmmCause, 1),
    TV(0x5B, "T3442 value"_f, kGprsTimer, 2),
    TLV(0x5F, "T3346 value"_f, kGprsTimer2, 3, 3),
    TLV(0x6B, "T3448 value"_f, kGprsTimer2, 3, 3),
};

constexpr IeRow kTrackingAreaUpdateAcceptOwn[] = {
    Half("EPS update result"_f, kEpsUpdateResult),
    Half("Spare half octet"_f, kSpareHalfOctet),
    TV(0x5A, "T3412 value"_f, kGprsTimer, 2),
    TLV(0x50, "GUTI"_f, kEpsMobileIdentity, 13, 13),
    TLV(0x54, "TAI list"_f, kTrackingAreaIdentityList, 8, 98),
    kEpsBearerStatus,
    TLV(0x68, "Header compression configuration status"_f, kHeaderCompressionConfigurationStatus, 4, 4),
};
constexpr auto kTrackingAreaUpdateAccept = Join(kTrackingAreaUpdateAcceptOwn, kAcceptOptionalIes);

constexpr IeRow kTrackingAreaUpdateReject[] = {
    V("EMM cause"_f, kEmmCause, 1),
    TLV(0x5F, "T3346 value"_f, kGprsTimer2, 3, 3),
    TV1(0xA, "Extended EMM cause"_f, kExtendedEmmCause),
};

constexpr IeRow kTrackingAreaUpdateRequest[] = {
    Half("EPS update type"_f, kEpsUpdateType),
    Half("NAS key set identifier"_f, kNasKeySetIdentifier),
    LV("Old GUTI"_f, kEpsMobileIdentity, 12, 12),
    TV1(0xB, "Non-current native NAS key set identifier"_f, kNasKeySetIdentifier),
    TV1(0x8, "GPRS ciphering key sequence number"_f, kCipheringKeySequenceNumber),
    kOldPtmsiSignature, kAdditionalGuti,
    TV(0x55, "NonceUE"_f, kNonce, 5),
    TLV(0x58, "UE network capability"_f, kUeNetworkCapability, 4, 15),
    kLastVisitedTai, kDrx,
    TV1(0xA, "UE radio capability information update needed"_f, kUeRadioCapabilityUpdateNeeded),
    kEpsBearerStatus, kMsNetworkCapabilityRow, kOldLai, kTmsiStatusRow, kClassmark2, kClassmark3, kSupportedCodecs,
    kAdditionalUpdateTypeRow, kVoiceDomain, kOldGutiType, kDeviceProp, kMsNetFeature, kTmsiNri, kT3324,
    kT3412Extended, kExtendedDrx, kUeAdditionalSecurity, kUeStatusRow, kAdditionalInfoRequested, kN1Capability,
    kRadioCapabilityIdAvailability, kRequestedWus, kNbS1Drx, kRequestedImsiOffset,
};

constexpr IeRow kGenericNasTransport[] = {
    V("Generic message container type"_f, kGenericMessageContainerType, 1),
    LVE("Generic message container"_f, kGenericMessageContainer, 3, n),
    TLV(0x65, "Additional information"_f, kAdditionalInformation, 3, n),
};

constexpr IeRow kControlPlaneServiceRequest[] = {
    Half("Control plane service type"_f, kControlPlaneServiceType),
    Half("NAS key set identifier"_f, kNasKeySetIdentifier),
    TLVE(0x78, "ESM message container"_f, kEsmMessageContainer, 3, n),
    TLV(0x67, "NAS message container"_f, kNasMessageContainer, 4, 253),
    kEpsBearerStatus,
    TV1(0xD, "Device properties"_f, kDeviceProperties),
};

constexpr IeRow kServiceAccept[] = {
    kEpsBearerStatus,
    TLV(0x6B, "T3448 value"_f, kGprsTimer2, 3, 3),
};

// ---------------------------------------------------------------------------
// EPS session management (TS 24.301 8.3)

constexpr IeRow kPco = TLV(0x27, "Protocol configuration options"_f, kProtocolConfigurationOptions, 3, 253);
constexpr IeRow kEpco =
    TLVE(0x7B, "Extended protocol configuration options"_f, kExtendedProtocolConfigurationOptions, 4, n);
constexpr IeRow kNbifom = TLV(0x33, "NBIFOM container"_f, kNbifomContainer, 3, 257);
constexpr IeRow kEsmCauseV = V("ESM cause"_f, kEsmCause, 1);
constexpr IeRow kBackOffTimer = TLV(0x37, "Back-off timer value"_f, kGprsTimer3, 3, 3);
constexpr IeRow kReattempt = TLV(0x6B, "Re-attempt indicator"_f, kReattemptIndicator, 3, 3);
constexpr IeRow kTransactionId = TLV(0x5D, "Transaction identifier"_f, kTransactionIdentifier, 3, 4);
constexpr IeRow kNegotiatedQos = TLV(0x30, "Negotiated QoS"_f, kQualityOfService, 14, 22);
constexpr IeRow kLlcSapi = TV(0x32, "Negotiated LLC SAPI"_f, kLlcServiceAccessPointIdentifier, 2);
constexpr IeRow kRadioPriorityRow = TV1(0x8, "Radio priority"_f, kRadioPriority);
constexpr IeRow kPacketFlowId = TLV(0x34, "Packet flow Identifier"_f, kPacketFlowIdentifier, 3, 3);
constexpr IeRow kApnAmbr = TLV(0x5E, "APN-AMBR"_f, kApnAggregateMaximumBitRate, 4, 8);
constexpr IeRow kWlanOffload = TV1(0xC, "WLAN offload indication"_f, kWlanOffloadAcceptability);
constexpr IeRow kHeaderCompression =
    TLV(0x66, "Header compression configuration"_f, kHeaderCompressionConfiguration, 5, 257);
constexpr IeRow kExtendedApnAmbr = TLV(0x5F, "Extended APN-AMBR"_f, kExtendedApnAggregateMaximumBitRate, 8, 8);
constexpr IeRow kExtendedQos = TLV(0x5C, "Extended EPS QoS"_f, kExtendedQualityOfService, 12, 12);
constexpr IeRow kDeviceProperties8 = TV1(0xC, "Device properties"_f, kDeviceProperties);

constexpr IeRow kPcoOnly[] = {kPco, kEpco};
constexpr IeRow kPcoNbifom[] = {kPco, kNbifom, kEpco};
constexpr IeRow kCausePco[] = {kEsmCauseV, kPco, kEpco};
constexpr IeRow kCausePcoNbifom[] = {kEsmCauseV, kPco, kNbifom, kEpco};
constexpr IeRow kCauseBackOff[] = {kEsmCauseV, kPco, kBackOffTimer, kReattempt, kNbifom, kEpco};

constexpr IeRow kActivateDedicatedRequest[] = {
    Half("Linked EPS bearer identity"_f, kLinkedEpsBearerIdentity),
    Half("Spare half octet"_f, kSpareHalfOctet),
    LV("EPS QoS"_f, kEpsQualityOfService, 2, 14),
    LV("TFT"_f, kTrafficFlowTemplate, 2, 256),
    kTransactionId, kNegotiatedQos, kLlcSapi, kRadioPriorityRow, kPacketFlowId, kPco, kWlanOffload, kNbifom, kEpco,
    kExtendedQos,
};

constexpr IeRow kActivateDefaultRequest[] = {
    LV("EPS QoS"_f, kEpsQualityOfService, 2, 14),
    LV("Access point name"_f, kAccessPointName, 2, 101),
    LV("PDN address"_f, kPdnAddress, 6, 14),
    kTransactionId, kNegotiatedQos, kLlcSapi, kRadioPriorityRow, kPacketFlowId, kApnAmbr,
    TV(0x58, "ESM cause"_f, kEsmCause, 2),
    kPco,
    TV1(0xB, "Connectivity type"_f, kConnectivityType),
    kWlanOffload, kNbifom, kHeaderCompression,
    TV1(0x9, "Control plane only indication"_f, kControlPlaneOnlyIndication),
    kEpco,
    TLV(0x6E, "Serving PLMN rate control"_f, kServingPlmnRateControl, 4, 4),
    kExtendedApnAmbr, kExtendedQos,
};

constexpr IeRow kBearerResourceAllocationRequest[] = {
    Half("Linked EPS bearer identity"_f, kLinkedEpsBearerIdentity),
    Half("Spare half octet"_f, kSpareHalfOctet),
    LV("Traffic flow aggregate"_f, kTrafficFlowAggregateDescription, 2, 256),
    LV("Required traffic flow QoS"_f, kEpsQualityOfService, 2, 14),
    kPco, kDeviceProperties8, kNbifom, kEpco, kExtendedQos,
};

constexpr IeRow kBearerResourceModificationRequest[] = {
    Half("EPS bearer identity for packet filter"_f, kLinkedEpsBearerIdentity),
    Half("Spare half octet"_f, kSpareHalfOctet),
    LV("Traffic flow aggregate"_f, kTrafficFlowAggregateDescription, 2, 256),
    TLV(0x5B, "Required traffic flow QoS"_f, kEpsQualityOfService, 3, 15),
    TV(0x58, "ESM cause"_f, kEsmCause, 2),
    kPco, kDeviceProperties8, kNbifom, kHeaderCompression, kEpco, kExtendedQos,
};

constexpr IeRow kDeactivateRequest[] = {
    kEsmCauseV, kPco, TLV(0x37, "T3396 value"_f, kGprsTimer3, 3, 3), kWlanOffload, kNbifom, kEpco,
};

constexpr IeRow kEsmInformationResponse[] = {
    TLV(0x28, "Access point name"_f, kAccessPointName, 3, 102),
    kPco,
    kEpco,
};

constexpr IeRow kEsmCauseOnly[] = {kEsmCauseV};

constexpr IeRow kModifyRequest[] = {
    TLV(0x5B, "New EPS QoS"_f, kEpsQualityOfService, 3, 15),
    TLV(0x36, "TFT"_f, kTrafficFlowTemplate, 3, 257),
    TLV(0x30, "New QoS"_f, kQualityOfService, 14, 22),
    kLlcSapi, kRadioPriorityRow, kPacketFlowId, kApnAmbr, kPco, kWlanOffload, kNbifom, kHeaderCompression, kEpco,
    kExtendedApnAmbr, kExtendedQos,
};

constexpr IeRow kNotification[] = {
    LV("Notification indicator"_f, kNotificationIndicator, 2, 2),
};

constexpr IeRow kPdnConnectivityRequest[] = {
    Half("Request type"_f, kRequestType),
    Half("PDN type"_f, kPdnType),
    TV1(0xD, "ESM information transfer flag"_f, kEsmInformationTransferFlag),
    TLV(0x28, "Access point name"_f, kAccessPointName, 3, 102),
    kPco, kDeviceProperties8, kNbifom, kHeaderCompression, kEpco,
};

constexpr IeRow kPdnDisconnectRequest[] = {
    Half("Linked EPS bearer identity"_f, kLinkedEpsBearerIdentity),
    Half("Spare half octet"_f, kSpareHalfOctet),
    kPco,
    kEpco,
};

constexpr IeRow kRemoteUeReport[] = {
    TLVE(0x79, "Remote UE context connected"_f, kRemoteUeContextList, 3, n),
    TLVE(0x7A, "Remote UE context disconnected"_f, kRemoteUeContextList, 3, n),
    TLV(0x6F, "ProSe Key Management Function address"_f, kPkmfAddress, 3, 19),
};

constexpr IeRow kEsmDataTransport[] = {
    LVE("User data container"_f, kUserDataContainer, 2, n),
    TV1(0xF, "Release assistance indication"_f, kReleaseAssistanceIndication),
};

constexpr MessageLayout kMessages[] = {
    {kEmm, 0x41, kUplink, "Attach request"_f, "8.2.4", kAttachRequest},
    {kEmm, 0x42, kDownlink, "Attach accept"_f, "8.2.1", kAttachAccept},
    {kEmm, 0x43, kUplink, "Attach complete"_f, "8.2.2", kAttachComplete},
    {kEmm, 0x44, kDownlink, "Attach reject"_f, "8.2.3", kAttachReject},
    {kEmm, 0x45, kUplink, "Detach request"_f, "8.2.11.1", kDetachRequestFromUe},
    {kEmm, 0x45, kDownlink, "Detach request"_f, "8.2.11.2", kDetachRequestToUe},
    {kEmm, 0x46, kBoth, "Detach accept"_f, "8.2.10", kNoIes},
    {kEmm, 0x48, kUplink, "Tracking area update request"_f, "8.2.29", kTrackingAreaUpdateRequest},
    {kEmm, 0x49, kDownlink, "Tracking area update accept"_f, "8.2.26", kTrackingAreaUpdateAccept},
    {kEmm, 0x4A, kUplink, "Tracking area update complete"_f, "8.2.27", kNoIes},
    {kEmm, 0x4B, kDownlink, "Tracking area update reject"_f, "8.2.28", kTrackingAreaUpdateReject},
    {kEmm, 0x4C, kUplink, "Extended service request"_f, "8.2.15", kExtendedServiceRequest},
    {kEmm, 0x4D, kUplink, "Control plane service request"_f, "8.2.33", kControlPlaneServiceRequest},
    {kEmm, 0x4E, kDownlink, "Service reject"_f, "8.2.24", kServiceReject},
    {kEmm, 0x4F, kDownlink, "Service accept"_f, "8.2.34", kServiceAccept},
    {kEmm, 0x50, kDownlink, "GUTI reallocation command"_f, "8.2.16", kGutiReallocationCommand},
    {kEmm, 0x51, kUplink, "GUTI reallocation complete"_f, "8.2.17", kNoIes},
    {kEmm, 0x52, kDownlink, "Authentication request"_f, "8.2.7", kAuthenticationRequest},
    {kEmm, 0x53, kUplink, "Authentication response"_f, "8.2.8", kAuthenticationResponse},
    {kEmm, 0x54, kDownlink, "Authentication reject"_f, "8.2.6", kNoIes},
    {kEmm, 0x55, kDownlink, "Identity request"_f, "8.2.18", kIdentityRequest},
    {kEmm, 0x56, kUplink, "Identity response"_f, "8.2.19", kIdentityResponse},
    {kEmm, 0x5C, kUplink, "Authentication failure"_f, "8.2.5", kAuthenticationFailure},
    {kEmm, 0x5D, kDownlink, "Security mode command"_f, "8.2.20", kSecurityModeCommand},
    {kEmm, 0x5E, kUplink, "Security mode complete"_f, "8.2.21", kSecurityModeComplete},
    {kEmm, 0x5F, kUplink, "Security mode reject"_f, "8.2.22", kEmmCauseOnly},
    {kEmm, 0x60, kBoth, "EMM status"_f, "8.2.14", kEmmCauseOnly},
    {kEmm, 0x61, kDownlink, "EMM information"_f, "8.2.13", kEmmInformation},
    {kEmm, 0x62, kDownlink, "Downlink NAS transport"_f, "8.2.12", kNasTransport},
    {kEmm, 0x63, kUplink, "Uplink NAS transport"_f, "8.2.30", kNasTransport},
    {kEmm, 0x64, kDownlink, "CS service notification"_f, "8.2.9", kCsServiceNotification},
    {kEmm, 0x68, kDownlink, "Downlink generic NAS transport"_f, "8.2.31", kGenericNasTransport},
    {kEmm, 0x69, kUplink, "Uplink generic NAS transport"_f, "8.2.32", kGenericNasTransport},
    {kEsm, 0xC1, kDownlink, "Activate default EPS bearer context request"_f, "8.3.6", kActivateDefaultRequest},
    {kEsm, 0xC2, kUplink, "Activate default EPS bearer context accept"_f, "8.3.4", kPcoOnly},
    {kEsm, 0xC3, kUplink, "Activate default EPS bearer context reject"_f, "8.3.5", kCausePco},
    {kEsm, 0xC5, kDownlink, "Activate dedicated EPS bearer context request"_f, "8.3.3", kActivateDedicatedRequest},
    {kEsm, 0xC6, kUplink, "Activate dedicated EPS bearer context accept"_f, "8.3.1", kPcoNbifom},
    {kEsm, 0xC7, kUplink, "Activate dedicated EPS bearer context reject"_f, "8.3.2", kCausePcoNbifom},
    {kEsm, 0xC9, kDownlink, "Modify EPS bearer context request"_f, "8.3.18", kModifyRequest},
    {kEsm, 0xCA, kUplink, "Modify EPS bearer context accept"_f, "8.3.16", kPcoNbifom},
    {kEsm, 0xCB, kUplink, "Modify EPS bearer context reject"_f, "8.3.17", kCausePcoNbifom},
    {kEsm, 0xCD, kDownlink, "Deactivate EPS bearer context request"_f, "8.3.12", kDeactivateRequest},
    {kEsm, 0xCE, kUplink, "Deactivate EPS bearer context accept"_f, "8.3.11", kPcoOnly},
    {kEsm, 0xD0, kUplink, "PDN connectivity request"_f, "8.3.20", kPdnConnectivityRequest},
    {kEsm, 0xD1, kDownlink, "PDN connectivity reject"_f, "8.3.19", kCauseBackOff},
    {kEsm, 0xD2, kUplink, "PDN disconnect request"_f, "8.3.22", kPdnDisconnectRequest},
    {kEsm, 0xD3, kDownlink, "PDN disconnect reject"_f, "8.3.21", kCausePco},
    {kEsm, 0xD4, kUplink, "Bearer resource allocation request"_f, "8.3.8", kBearerResourceAllocationRequest},
    {kEsm, 0xD5, kDownlink, "Bearer resource allocation reject"_f, "8.3.7", kCauseBackOff},
    {kEsm, 0xD6, kUplink, "Bearer resource modification request"_f, "8.3.10", kBearerResourceModificationRequest},
    {kEsm, 0xD7, kDownlink, "Bearer resource modification reject"_f, "8.3.9", kCauseBackOff},
    {kEsm, 0xD9, kDownlink, "ESM information request"_f, "8.3.13", kNoIes},
    {kEsm, 0xDA, kUplink, "ESM information response"_f, "8.3.14", kEsmInformationResponse},
    {kEsm, 0xDB, kDownlink, "Notification"_f, "8.3.18A", kNotification},
    {kEsm, 0xDC, kBoth, "ESM dummy message"_f, "8.3.12A", kNoIes},
    {kEsm, 0xE8, kBoth, "ESM status"_f, "8.3.15", kEsmCauseOnly},
    {kEsm, 0xE9, kUplink, "Remote UE report"_f, "8.3.23", kRemoteUeReport},
    {kEsm, 0xEA, kDownlink, "Remote UE report response"_f, "8.3.24", kNoIes},
    {kEsm, 0xEB, kBoth, "ESM data transport"_f, "8.3.25", kEsmDataTransport},
};

}  // namespace

const MessageTable kMessageTable = IndexedMessages<kMessages, kEmm, kEsm>::kTable;

}  // namespace corvuna::view::eps
