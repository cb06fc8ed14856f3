// The message tables of TS 24.301 clause 8 (Release 17): for each EMM and
// ESM message, its IEs in the table's order with their format and length.
#include "view/messages.h"

#include <array>

namespace corvuna::view {

namespace {

// Rows in the form of the standard's tables.  Lengths are the IE's whole
// length as the tables give it (IEI and length octets included).
constexpr IeRow V(Text role, const IeType& type, uint16_t length) {
    return {role, &type, IeFormat::kV, 0, length, length};
}
constexpr IeRow Half(Text role, const IeType& type) { return {role, &type, IeFormat::kHalfV, 0, 1, 1}; }
constexpr IeRow LV(Text role, const IeType& type, uint16_t min, uint16_t max) {
    return {role, &type, IeFormat::kLV, 0, min, max};
}
constexpr IeRow LVE(Text role, const IeType& type, uint16_t min, uint16_t max) {
    return {role, &type, IeFormat::kLVE, 0, min, max};
}
constexpr IeRow TV1(uint8_t iei, Text role, const IeType& type) { return {role, &type, IeFormat::kTV1, iei, 1, 1}; }
constexpr IeRow TV(uint8_t iei, Text role, const IeType& type, uint16_t length) {
    return {role, &type, IeFormat::kTV, iei, length, length};
}
constexpr IeRow TLV(uint8_t iei, Text role, const IeType& type, uint16_t min, uint16_t max) {
    return {role, &type, IeFormat::kTLV, iei, min, max};
}
constexpr IeRow TLVE(uint8_t iei, Text role, const IeType& type, uint16_t min, uint16_t max) {
    return {role, &type, IeFormat::kTLVE, iei, min, max};
}

constexpr uint16_t n = kAnyLength;

// IE types of newer releases whose values are shown as octets.
const IeType kUeRadioCapabilityIdAvailability{"UE radio capability ID availability", "9.9.3.59", DecodeOctetsValue};
const IeType kWusAssistanceInformation{"WUS assistance information", "9.9.3.62", DecodeOctetsValue};
const IeType kNbS1DrxParameter{"NB-S1 DRX parameter", "9.9.3.63", DecodeOctetsValue};
const IeType kImsiOffset{"IMSI offset", "9.9.3.64", DecodeOctetsValue};

// ---------------------------------------------------------------------------
// EPS mobility management (TS 24.301 8.2)

constexpr IeRow kAttachAccept[] = {
    Half("EPS attach result", kEpsAttachResult),
    Half("Spare half octet", kSpareHalfOctet),
    V("T3412 value", kGprsTimer, 1),
    LV("TAI list", kTrackingAreaIdentityList, 7, 97),
    LVE("ESM message container", kEsmMessageContainer, 5, n),
    TLV(0x50, "GUTI", kEpsMobileIdentity, 13, 13),
    TV(0x13, "Location area identification", kLocationAreaIdentification, 6),
    TLV(0x23, "MS identity", kMobileIdentity, 3, 10),
    TV(0x53, "EMM cause", kEmmCause, 2),
    TV(0x17, "T3402 value", kGprsTimer, 2),
    TV(0x59, "T3423 value", kGprsTimer, 2),
    TLV(0x4A, "Equivalent PLMNs", kPlmnList, 5, 47),
    TLV(0x34, "Emergency number list", kEmergencyNumberList, 5, 50),
    TLV(0x64, "EPS network feature support", kEpsNetworkFeatureSupport, 3, 4),
    TV1(0xF, "Additional update result", kAdditionalUpdateResult),
    TLV(0x5E, "T3412 extended value", kGprsTimer3, 3, 3),
    TLV(0x6A, "T3324 value", kGprsTimer2, 3, 3),
    TLV(0x6E, "Extended DRX parameters", kExtendedDrxParameters, 3, 4),
    TLV(0x65, "DCN-ID", kDcnId, 4, 4),
    TV1(0xE, "SMS services status", kSmsServicesStatus),
    TV1(0xD, "Non-3GPP NW provided policies", kNon3gppNwProvidedPolicies),
    TLV(0x6B, "T3448 value", kGprsTimer2, 3, 3),
    TV1(0xC, "Network policy", kNetworkPolicy),
    TLV(0x6C, "T3447 value", kGprsTimer3, 3, 3),
    TLVE(0x7A, "Extended emergency number list", kExtendedEmergencyNumberList, 7, n),
    TLVE(0x7C, "Ciphering key data", kCipheringKeyData, 35, n),
    TLV(0x66, "UE radio capability ID", kUeRadioCapabilityId, 3, n),
    TV1(0xB, "UE radio capability ID deletion indication", kUeRadioCapabilityIdDeletion),
    TLV(0x35, "Negotiated WUS assistance information", kWusAssistanceInformation, 3, n),
    TLV(0x36, "Negotiated DRX parameter in NB-S1 mode", kNbS1DrxParameter, 3, 3),
    TLV(0x38, "Negotiated IMSI offset", kImsiOffset, 4, 4),
};

constexpr IeRow kAttachComplete[] = {
    LVE("ESM message container", kEsmMessageContainer, 5, n),
};

constexpr IeRow kAttachReject[] = {
    V("EMM cause", kEmmCause, 1),
    TLVE(0x78, "ESM message container", kEsmMessageContainer, 6, n),
    TLV(0x5F, "T3346 value", kGprsTimer2, 3, 3),
    TLV(0x16, "T3402 value", kGprsTimer2, 3, 3),
    TV1(0xA, "Extended EMM cause", kExtendedEmmCause),
};

// The optional IEs of ATTACH REQUEST and TRACKING AREA UPDATE REQUEST that
// both carry, each message listing them in its own order.
constexpr IeRow kOldPtmsiSignature = TV(0x19, "Old P-TMSI signature", kPtmsiSignature, 4);
constexpr IeRow kAdditionalGuti = TLV(0x50, "Additional GUTI", kEpsMobileIdentity, 13, 13);
constexpr IeRow kLastVisitedTai = TV(0x52, "Last visited registered TAI", kTrackingAreaIdentity, 6);
constexpr IeRow kDrx = TV(0x5C, "DRX parameter", kDrxParameter, 3);
constexpr IeRow kMsNetworkCapabilityRow = TLV(0x31, "MS network capability", kMsNetworkCapability, 4, 10);
constexpr IeRow kOldLai = TV(0x13, "Old location area identification", kLocationAreaIdentification, 6);
constexpr IeRow kTmsiStatusRow = TV1(0x9, "TMSI status", kTmsiStatus);
constexpr IeRow kClassmark2 = TLV(0x11, "Mobile station classmark 2", kMsClassmark2, 5, 5);
constexpr IeRow kClassmark3 = TLV(0x20, "Mobile station classmark 3", kMsClassmark3, 2, 34);
constexpr IeRow kSupportedCodecs = TLV(0x40, "Supported Codecs", kSupportedCodecList, 5, n);
constexpr IeRow kAdditionalUpdateTypeRow = TV1(0xF, "Additional update type", kAdditionalUpdateType);
constexpr IeRow kVoiceDomain = TLV(0x5D, "Voice domain preference and UE's usage setting", kVoiceDomainPreference, 3, 3);
constexpr IeRow kDeviceProp = TV1(0xD, "Device properties", kDeviceProperties);
constexpr IeRow kOldGutiType = TV1(0xE, "Old GUTI type", kGutiType);
constexpr IeRow kMsNetFeature = TV1(0xC, "MS network feature support", kMsNetworkFeatureSupport);
constexpr IeRow kTmsiNri = TLV(0x10, "TMSI based NRI container", kNriContainer, 4, 4);
constexpr IeRow kT3324 = TLV(0x6A, "T3324 value", kGprsTimer2, 3, 3);
constexpr IeRow kT3412Extended = TLV(0x5E, "T3412 extended value", kGprsTimer3, 3, 3);
constexpr IeRow kExtendedDrx = TLV(0x6E, "Extended DRX parameters", kExtendedDrxParameters, 3, 4);
constexpr IeRow kUeAdditionalSecurity =
    TLV(0x6F, "UE additional security capability", kUeAdditionalSecurityCapability, 6, 6);
constexpr IeRow kUeStatusRow = TLV(0x6D, "UE status", kUeStatus, 3, 3);
constexpr IeRow kAdditionalInfoRequested = TV(0x17, "Additional information requested", kAdditionalInformationRequested, 2);
constexpr IeRow kN1Capability = TLV(0x32, "N1 UE network capability", kN1UeNetworkCapability, 3, 15);
constexpr IeRow kRadioCapabilityIdAvailability =
    TLV(0x34, "UE radio capability ID availability", kUeRadioCapabilityIdAvailability, 3, 3);
constexpr IeRow kRequestedWus = TLV(0x35, "Requested WUS assistance information", kWusAssistanceInformation, 3, n);
constexpr IeRow kNbS1Drx = TLV(0x36, "DRX parameter in NB-S1 mode", kNbS1DrxParameter, 3, 3);
constexpr IeRow kRequestedImsiOffset = TLV(0x38, "Requested IMSI offset", kImsiOffset, 4, 4);

constexpr IeRow kAttachRequest[] = {
    Half("EPS attach type", kEpsAttachType),
    Half("NAS key set identifier", kNasKeySetIdentifier),
    LV("EPS mobile identity", kEpsMobileIdentity, 5, 12),
    LV("UE network capability", kUeNetworkCapability, 3, 14),
    LVE("ESM message container", kEsmMessageContainer, 5, n),
    kOldPtmsiSignature, kAdditionalGuti, kLastVisitedTai, kDrx, kMsNetworkCapabilityRow, kOldLai, kTmsiStatusRow,
    kClassmark2, kClassmark3, kSupportedCodecs, kAdditionalUpdateTypeRow, kVoiceDomain, kDeviceProp, kOldGutiType,
    kMsNetFeature, kTmsiNri, kT3324, kT3412Extended, kExtendedDrx, kUeAdditionalSecurity, kUeStatusRow,
    kAdditionalInfoRequested, kN1Capability, kRadioCapabilityIdAvailability, kRequestedWus, kNbS1Drx,
    kRequestedImsiOffset,
};

constexpr IeRow kAuthenticationFailure[] = {
    V("EMM cause", kEmmCause, 1),
    TLV(0x30, "Authentication failure parameter", kAuthenticationFailureParameter, 16, 16),
};

constexpr IeRow kAuthenticationRequest[] = {
    Half("NAS key set identifierASME", kNasKeySetIdentifier),
    Half("Spare half octet", kSpareHalfOctet),
    V("Authentication parameter RAND (EPS challenge)", kAuthenticationParameterRand, 16),
    LV("Authentication parameter AUTN (EPS challenge)", kAuthenticationParameterAutn, 17, 17),
};

constexpr IeRow kAuthenticationResponse[] = {
    LV("Authentication response parameter", kAuthenticationResponseParameter, 5, 17),
};

constexpr IeRow kCsServiceNotification[] = {
    V("Paging identity", kPagingIdentity, 1),
    TLV(0x60, "CLI", kCli, 3, 14),
    TV(0x61, "SS Code", kSsCode, 2),
    TV(0x62, "LCS indicator", kLcsIndicator, 2),
    TLV(0x63, "LCS client identity", kLcsClientIdentity, 3, 257),
};

constexpr IeRow kDetachRequestFromUe[] = {
    Half("Detach type", kDetachTypeToNetwork),
    Half("NAS key set identifier", kNasKeySetIdentifier),
    LV("EPS mobile identity", kEpsMobileIdentity, 5, 12),
};

constexpr IeRow kDetachRequestToUe[] = {
    Half("Detach type", kDetachTypeToUe),
    Half("Spare half octet", kSpareHalfOctet),
    TV(0x53, "EMM cause", kEmmCause, 2),
};

constexpr IeRow kNasTransport[] = {
    LV("NAS message container", kNasMessageContainer, 3, 252),
};

constexpr IeRow kEmmInformation[] = {
    TLV(0x43, "Full name for network", kNetworkName, 3, n),
    TLV(0x45, "Short name for network", kNetworkName, 3, n),
    TV(0x46, "Local time zone", kTimeZone, 2),
    TV(0x47, "Universal time and local time zone", kTimeZoneAndTime, 8),
    TLV(0x49, "Network daylight saving time", kDaylightSavingTime, 3, 3),
};

constexpr IeRow kEmmCauseOnly[] = {
    V("EMM cause", kEmmCause, 1),
};

constexpr IeRow kEpsBearerStatus = TLV(0x57, "EPS bearer context status", kEpsBearerContextStatus, 4, 4);

constexpr IeRow kExtendedServiceRequest[] = {
    Half("Service type", kServiceType),
    Half("NAS key set identifier", kNasKeySetIdentifier),
    LV("M-TMSI", kMobileIdentity, 6, 6),
    TV1(0xB, "CSFB response", kCsfbResponse),
    kEpsBearerStatus,
    TV1(0xD, "Device properties", kDeviceProperties),
};

constexpr IeRow kGutiReallocationCommand[] = {
    LV("GUTI", kEpsMobileIdentity, 12, 12),
    TLV(0x54, "TAI list", kTrackingAreaIdentityList, 8, 98),
    TLV(0x65, "DCN-ID", kDcnId, 4, 4),
    TLV(0x66, "UE radio capability ID", kUeRadioCapabilityId, 3, n),
    TV1(0xB, "UE radio capability ID deletion indication", kUeRadioCapabilityIdDeletion),
};

constexpr IeRow kIdentityRequest[] = {
    Half("Identity type", kIdentityType2),
    Half("Spare half octet", kSpareHalfOctet),
};

constexpr IeRow kIdentityResponse[] = {
    LV("Mobile identity", kMobileIdentity, 2, 10),
};

constexpr IeRow kSecurityModeCommand[] = {
    V("Selected NAS security algorithms", kNasSecurityAlgorithms, 1),
    Half("NAS key set identifier", kNasKeySetIdentifier),
    Half("Spare half octet", kSpareHalfOctet),
    LV("Replayed UE security capabilities", kUeSecurityCapability, 3, 6),
    TV1(0xC, "IMEISV request", kImeisvRequest),
    TV(0x55, "Replayed nonceUE", kNonce, 5),
    TV(0x56, "NonceMME", kNonce, 5),
    TLV(0x4F, "HashMME", kHashMme, 10, 10),
    TLV(0x6F, "Replayed UE additional security capability", kUeAdditionalSecurityCapability, 6, 6),
    TV1(0xD, "UE radio capability ID request", kUeRadioCapabilityIdRequest),
};

constexpr IeRow kSecurityModeComplete[] = {
    TLV(0x23, "IMEISV", kMobileIdentity, 11, 11),
    TLVE(0x79, "Replayed NAS message container", kReplayedNasMessageContainer, 3, n),
    TLV(0x66, "UE radio capability ID", kUeRadioCapabilityId, 3, n),
};

constexpr IeRow kServiceReject[] = {
    V("EMM cause", kEmmCause, 1),
    TV(0x5B, "T3442 value", kGprsTimer, 2),
    TLV(0x5F, "T3346 value", kGprsTimer2, 3, 3),
    TLV(0x6B, "T3448 value", kGprsTimer2, 3, 3),
};

constexpr IeRow kTrackingAreaUpdateAccept[] = {
    Half("EPS update result", kEpsUpdateResult),
    Half("Spare half octet", kSpareHalfOctet),
    TV(0x5A, "T3412 value", kGprsTimer, 2),
    TLV(0x50, "GUTI", kEpsMobileIdentity, 13, 13),
    TLV(0x54, "TAI list", kTrackingAreaIdentityList, 8, 98),
    kEpsBearerStatus,
    TV(0x13, "Location area identification", kLocationAreaIdentification, 6),
    TLV(0x23, "MS identity", kMobileIdentity, 3, 10),
    TV(0x53, "EMM cause", kEmmCause, 2),
    TV(0x17, "T3402 value", kGprsTimer, 2),
    TV(0x59, "T3423 value", kGprsTimer, 2),
    TLV(0x4A, "Equivalent PLMNs", kPlmnList, 5, 47),
    TLV(0x34, "Emergency number list", kEmergencyNumberList, 5, 50),
    TLV(0x64, "EPS network feature support", kEpsNetworkFeatureSupport, 3, 4),
    TV1(0xF, "Additional update result", kAdditionalUpdateResult),
    TLV(0x5E, "T3412 extended value", kGprsTimer3, 3, 3),
    TLV(0x6A, "T3324 value", kGprsTimer2, 3, 3),
    TLV(0x6E, "Extended DRX parameters", kExtendedDrxParameters, 3, 4),
    TLV(0x68, "Header compression configuration status", kHeaderCompressionConfigurationStatus, 4, 4),
    TLV(0x65, "DCN-ID", kDcnId, 4, 4),
    TV1(0xE, "SMS services status", kSmsServicesStatus),
    TV1(0xD, "Non-3GPP NW provided policies", kNon3gppNwProvidedPolicies),
    TLV(0x6B, "T3448 value", kGprsTimer2, 3, 3),
    TV1(0xC, "Network policy", kNetworkPolicy),
    TLV(0x6C, "T3447 value", kGprsTimer3, 3, 3),
    TLVE(0x7A, "Extended emergency number list", kExtendedEmergencyNumberList, 7, n),
    TLVE(0x7C, "Ciphering key data", kCipheringKeyData, 35, n),
    TLV(0x66, "UE radio capability ID", kUeRadioCapabilityId, 3, n),
    TV1(0xB, "UE radio capability ID deletion indication", kUeRadioCapabilityIdDeletion),
    TLV(0x35, "Negotiated WUS assistance information", kWusAssistanceInformation, 3, n),
    TLV(0x36, "Negotiated DRX parameter in NB-S1 mode", kNbS1DrxParameter, 3, 3),
    TLV(0x38, "Negotiated IMSI offset", kImsiOffset, 4, 4),
};

constexpr IeRow kTrackingAreaUpdateReject[] = {
    V("EMM cause", kEmmCause, 1),
    TLV(0x5F, "T3346 value", kGprsTimer2, 3, 3),
    TV1(0xA, "Extended EMM cause", kExtendedEmmCause),
};

constexpr IeRow kTrackingAreaUpdateRequest[] = {
    Half("EPS update type", kEpsUpdateType),
    Half("NAS key set identifier", kNasKeySetIdentifier),
    LV("Old GUTI", kEpsMobileIdentity, 12, 12),
    TV1(0xB, "Non-current native NAS key set identifier", kNasKeySetIdentifier),
    TV1(0x8, "GPRS ciphering key sequence number", kCipheringKeySequenceNumber),
    kOldPtmsiSignature, kAdditionalGuti,
    TV(0x55, "NonceUE", kNonce, 5),
    TLV(0x58, "UE network capability", kUeNetworkCapability, 4, 15),
    kLastVisitedTai, kDrx,
    TV1(0xA, "UE radio capability information update needed", kUeRadioCapabilityUpdateNeeded),
    kEpsBearerStatus, kMsNetworkCapabilityRow, kOldLai, kTmsiStatusRow, kClassmark2, kClassmark3, kSupportedCodecs,
    kAdditionalUpdateTypeRow, kVoiceDomain, kOldGutiType, kDeviceProp, kMsNetFeature, kTmsiNri, kT3324,
    kT3412Extended, kExtendedDrx, kUeAdditionalSecurity, kUeStatusRow, kAdditionalInfoRequested, kN1Capability,
    kRadioCapabilityIdAvailability, kRequestedWus, kNbS1Drx, kRequestedImsiOffset,
};

constexpr IeRow kGenericNasTransport[] = {
    V("Generic message container type", kGenericMessageContainerType, 1),
    LVE("Generic message container", kGenericMessageContainer, 3, n),
    TLV(0x65, "Additional information", kAdditionalInformation, 3, n),
};

constexpr IeRow kControlPlaneServiceRequest[] = {
    Half("Control plane service type", kControlPlaneServiceType),
    Half("NAS key set identifier", kNasKeySetIdentifier),
    TLVE(0x78, "ESM message container", kEsmMessageContainer, 3, n),
    TLV(0x67, "NAS message container", kNasMessageContainer, 4, 253),
    kEpsBearerStatus,
    TV1(0xD, "Device properties", kDeviceProperties),
};

constexpr IeRow kServiceAccept[] = {
    kEpsBearerStatus,
    TLV(0x6B, "T3448 value", kGprsTimer2, 3, 3),
};

// ---------------------------------------------------------------------------
// EPS session management (TS 24.301 8.3)

constexpr IeRow kPco = TLV(0x27, "Protocol configuration options", kProtocolConfigurationOptions, 3, 253);
constexpr IeRow kEpco =
    TLVE(0x7B, "Extended protocol configuration options", kExtendedProtocolConfigurationOptions, 4, n);
constexpr IeRow kNbifom = TLV(0x33, "NBIFOM container", kNbifomContainer, 3, 257);
constexpr IeRow kEsmCauseV = V("ESM cause", kEsmCause, 1);
constexpr IeRow kBackOffTimer = TLV(0x37, "Back-off timer value", kGprsTimer3, 3, 3);
constexpr IeRow kReattempt = TLV(0x6B, "Re-attempt indicator", kReattemptIndicator, 3, 3);
constexpr IeRow kTransactionId = TLV(0x5D, "Transaction identifier", kTransactionIdentifier, 3, 4);
constexpr IeRow kNegotiatedQos = TLV(0x30, "Negotiated QoS", kQualityOfService, 14, 22);
constexpr IeRow kLlcSapi = TV(0x32, "Negotiated LLC SAPI", kLlcServiceAccessPointIdentifier, 2);
constexpr IeRow kRadioPriorityRow = TV1(0x8, "Radio priority", kRadioPriority);
constexpr IeRow kPacketFlowId = TLV(0x34, "Packet flow Identifier", kPacketFlowIdentifier, 3, 3);
constexpr IeRow kApnAmbr = TLV(0x5E, "APN-AMBR", kApnAggregateMaximumBitRate, 4, 8);
constexpr IeRow kWlanOffload = TV1(0xC, "WLAN offload indication", kWlanOffloadAcceptability);
constexpr IeRow kHeaderCompression =
    TLV(0x66, "Header compression configuration", kHeaderCompressionConfiguration, 5, 257);
constexpr IeRow kExtendedApnAmbr = TLV(0x5F, "Extended APN-AMBR", kExtendedApnAggregateMaximumBitRate, 8, 8);
constexpr IeRow kExtendedQos = TLV(0x5C, "Extended EPS QoS", kExtendedQualityOfService, 12, 12);
constexpr IeRow kDeviceProperties8 = TV1(0xC, "Device properties", kDeviceProperties);

constexpr IeRow kPcoOnly[] = {kPco, kEpco};
constexpr IeRow kPcoNbifom[] = {kPco, kNbifom, kEpco};
constexpr IeRow kCausePco[] = {kEsmCauseV, kPco, kEpco};
constexpr IeRow kCausePcoNbifom[] = {kEsmCauseV, kPco, kNbifom, kEpco};
constexpr IeRow kCauseBackOff[] = {kEsmCauseV, kPco, kBackOffTimer, kReattempt, kNbifom, kEpco};

constexpr IeRow kActivateDedicatedRequest[] = {
    Half("Linked EPS bearer identity", kLinkedEpsBearerIdentity),
    Half("Spare half octet", kSpareHalfOctet),
    LV("EPS QoS", kEpsQualityOfService, 2, 14),
    LV("TFT", kTrafficFlowTemplate, 2, 256),
    kTransactionId, kNegotiatedQos, kLlcSapi, kRadioPriorityRow, kPacketFlowId, kPco, kWlanOffload, kNbifom, kEpco,
    kExtendedQos,
};

constexpr IeRow kActivateDefaultRequest[] = {
    LV("EPS QoS", kEpsQualityOfService, 2, 14),
    LV("Access point name", kAccessPointName, 2, 101),
    LV("PDN address", kPdnAddress, 6, 14),
    kTransactionId, kNegotiatedQos, kLlcSapi, kRadioPriorityRow, kPacketFlowId, kApnAmbr,
    TV(0x58, "ESM cause", kEsmCause, 2),
    kPco,
    TV1(0xB, "Connectivity type", kConnectivityType),
    kWlanOffload, kNbifom, kHeaderCompression,
    TV1(0x9, "Control plane only indication", kControlPlaneOnlyIndication),
    kEpco,
    TLV(0x6E, "Serving PLMN rate control", kServingPlmnRateControl, 4, 4),
    kExtendedApnAmbr, kExtendedQos,
};

constexpr IeRow kBearerResourceAllocationRequest[] = {
    Half("Linked EPS bearer identity", kLinkedEpsBearerIdentity),
    Half("Spare half octet", kSpareHalfOctet),
    LV("Traffic flow aggregate", kTrafficFlowAggregateDescription, 2, 256),
    LV("Required traffic flow QoS", kEpsQualityOfService, 2, 14),
    kPco, kDeviceProperties8, kNbifom, kEpco, kExtendedQos,
};

constexpr IeRow kBearerResourceModificationRequest[] = {
    Half("EPS bearer identity for packet filter", kLinkedEpsBearerIdentity),
    Half("Spare half octet", kSpareHalfOctet),
    LV("Traffic flow aggregate", kTrafficFlowAggregateDescription, 2, 256),
    TLV(0x5B, "Required traffic flow QoS", kEpsQualityOfService, 3, 15),
    TV(0x58, "ESM cause", kEsmCause, 2),
    kPco, kDeviceProperties8, kNbifom, kHeaderCompression, kEpco, kExtendedQos,
};

constexpr IeRow kDeactivateRequest[] = {
    kEsmCauseV, kPco, TLV(0x37, "T3396 value", kGprsTimer3, 3, 3), kWlanOffload, kNbifom, kEpco,
};

constexpr IeRow kEsmInformationResponse[] = {
    TLV(0x28, "Access point name", kAccessPointName, 3, 102),
    kPco,
    kEpco,
};

constexpr IeRow kEsmCauseOnly[] = {kEsmCauseV};

constexpr IeRow kModifyRequest[] = {
    TLV(0x5B, "New EPS QoS", kEpsQualityOfService, 3, 15),
    TLV(0x36, "TFT", kTrafficFlowTemplate, 3, 257),
    TLV(0x30, "New QoS", kQualityOfService, 14, 22),
    kLlcSapi, kRadioPriorityRow, kPacketFlowId, kApnAmbr, kPco, kWlanOffload, kNbifom, kHeaderCompression, kEpco,
    kExtendedApnAmbr, kExtendedQos,
};

constexpr IeRow kNotification[] = {
    LV("Notification indicator", kNotificationIndicator, 2, 2),
};

constexpr IeRow kPdnConnectivityRequest[] = {
    Half("Request type", kRequestType),
    Half("PDN type", kPdnType),
    TV1(0xD, "ESM information transfer flag", kEsmInformationTransferFlag),
    TLV(0x28, "Access point name", kAccessPointName, 3, 102),
    kPco, kDeviceProperties8, kNbifom, kHeaderCompression, kEpco,
};

constexpr IeRow kPdnDisconnectRequest[] = {
    Half("Linked EPS bearer identity", kLinkedEpsBearerIdentity),
    Half("Spare half octet", kSpareHalfOctet),
    kPco,
    kEpco,
};

constexpr IeRow kRemoteUeReport[] = {
    TLVE(0x79, "Remote UE context connected", kRemoteUeContextList, 3, n),
    TLVE(0x7A, "Remote UE context disconnected", kRemoteUeContextList, 3, n),
    TLV(0x6F, "ProSe Key Management Function address", kPkmfAddress, 3, 19),
};

constexpr IeRow kEsmDataTransport[] = {
    LVE("User data container", kUserDataContainer, 2, n),
    TV1(0xF, "Release assistance indication", kReleaseAssistanceIndication),
};

constexpr std::span<const IeRow> kNoIes;

constexpr uint8_t kEmm = 7;
constexpr uint8_t kEsm = 2;

constexpr MessageSpec kMessages[] = {
    {kEmm, 0x41, kUplink, "Attach request", "8.2.4", kAttachRequest},
    {kEmm, 0x42, kDownlink, "Attach accept", "8.2.1", kAttachAccept},
    {kEmm, 0x43, kUplink, "Attach complete", "8.2.2", kAttachComplete},
    {kEmm, 0x44, kDownlink, "Attach reject", "8.2.3", kAttachReject},
    {kEmm, 0x45, kUplink, "Detach request", "8.2.11.1", kDetachRequestFromUe},
    {kEmm, 0x45, kDownlink, "Detach request", "8.2.11.2", kDetachRequestToUe},
    {kEmm, 0x46, kBoth, "Detach accept", "8.2.10", kNoIes},
    {kEmm, 0x48, kUplink, "Tracking area update request", "8.2.29", kTrackingAreaUpdateRequest},
    {kEmm, 0x49, kDownlink, "Tracking area update accept", "8.2.26", kTrackingAreaUpdateAccept},
    {kEmm, 0x4A, kUplink, "Tracking area update complete", "8.2.27", kNoIes},
    {kEmm, 0x4B, kDownlink, "Tracking area update reject", "8.2.28", kTrackingAreaUpdateReject},
    {kEmm, 0x4C, kUplink, "Extended service request", "8.2.15", kExtendedServiceRequest},
    {kEmm, 0x4D, kUplink, "Control plane service request", "8.2.33", kControlPlaneServiceRequest},
    {kEmm, 0x4E, kDownlink, "Service reject", "8.2.24", kServiceReject},
    {kEmm, 0x4F, kDownlink, "Service accept", "8.2.34", kServiceAccept},
    {kEmm, 0x50, kDownlink, "GUTI reallocation command", "8.2.16", kGutiReallocationCommand},
    {kEmm, 0x51, kUplink, "GUTI reallocation complete", "8.2.17", kNoIes},
    {kEmm, 0x52, kDownlink, "Authentication request", "8.2.7", kAuthenticationRequest},
    {kEmm, 0x53, kUplink, "Authentication response", "8.2.8", kAuthenticationResponse},
    {kEmm, 0x54, kDownlink, "Authentication reject", "8.2.6", kNoIes},
    {kEmm, 0x55, kDownlink, "Identity request", "8.2.18", kIdentityRequest},
    {kEmm, 0x56, kUplink, "Identity response", "8.2.19", kIdentityResponse},
    {kEmm, 0x5C, kUplink, "Authentication failure", "8.2.5", kAuthenticationFailure},
    {kEmm, 0x5D, kDownlink, "Security mode command", "8.2.20", kSecurityModeCommand},
    {kEmm, 0x5E, kUplink, "Security mode complete", "8.2.21", kSecurityModeComplete},
    {kEmm, 0x5F, kUplink, "Security mode reject", "8.2.22", kEmmCauseOnly},
    {kEmm, 0x60, kBoth, "EMM status", "8.2.14", kEmmCauseOnly},
    {kEmm, 0x61, kDownlink, "EMM information", "8.2.13", kEmmInformation},
    {kEmm, 0x62, kDownlink, "Downlink NAS transport", "8.2.12", kNasTransport},
    {kEmm, 0x63, kUplink, "Uplink NAS transport", "8.2.30", kNasTransport},
    {kEmm, 0x64, kDownlink, "CS service notification", "8.2.9", kCsServiceNotification},
    {kEmm, 0x68, kDownlink, "Downlink generic NAS transport", "8.2.31", kGenericNasTransport},
    {kEmm, 0x69, kUplink, "Uplink generic NAS transport", "8.2.32", kGenericNasTransport},
    {kEsm, 0xC1, kDownlink, "Activate default EPS bearer context request", "8.3.6", kActivateDefaultRequest},
    {kEsm, 0xC2, kUplink, "Activate default EPS bearer context accept", "8.3.4", kPcoOnly},
    {kEsm, 0xC3, kUplink, "Activate default EPS bearer context reject", "8.3.5", kCausePco},
    {kEsm, 0xC5, kDownlink, "Activate dedicated EPS bearer context request", "8.3.3", kActivateDedicatedRequest},
    {kEsm, 0xC6, kUplink, "Activate dedicated EPS bearer context accept", "8.3.1", kPcoNbifom},
    {kEsm, 0xC7, kUplink, "Activate dedicated EPS bearer context reject", "8.3.2", kCausePcoNbifom},
    {kEsm, 0xC9, kDownlink, "Modify EPS bearer context request", "8.3.18", kModifyRequest},
    {kEsm, 0xCA, kUplink, "Modify EPS bearer context accept", "8.3.16", kPcoNbifom},
    {kEsm, 0xCB, kUplink, "Modify EPS bearer context reject", "8.3.17", kCausePcoNbifom},
    {kEsm, 0xCD, kDownlink, "Deactivate EPS bearer context request", "8.3.12", kDeactivateRequest},
    {kEsm, 0xCE, kUplink, "Deactivate EPS bearer context accept", "8.3.11", kPcoOnly},
    {kEsm, 0xD0, kUplink, "PDN connectivity request", "8.3.20", kPdnConnectivityRequest},
    {kEsm, 0xD1, kDownlink, "PDN connectivity reject", "8.3.19", kCauseBackOff},
    {kEsm, 0xD2, kUplink, "PDN disconnect request", "8.3.22", kPdnDisconnectRequest},
    {kEsm, 0xD3, kDownlink, "PDN disconnect reject", "8.3.21", kCausePco},
    {kEsm, 0xD4, kUplink, "Bearer resource allocation request", "8.3.8", kBearerResourceAllocationRequest},
    {kEsm, 0xD5, kDownlink, "Bearer resource allocation reject", "8.3.7", kCauseBackOff},
    {kEsm, 0xD6, kUplink, "Bearer resource modification request", "8.3.10", kBearerResourceModificationRequest},
    {kEsm, 0xD7, kDownlink, "Bearer resource modification reject", "8.3.9", kCauseBackOff},
    {kEsm, 0xD9, kDownlink, "ESM information request", "8.3.13", kNoIes},
    {kEsm, 0xDA, kUplink, "ESM information response", "8.3.14", kEsmInformationResponse},
    {kEsm, 0xDB, kDownlink, "Notification", "8.3.18A", kNotification},
    {kEsm, 0xDC, kBoth, "ESM dummy message", "8.3.12A", kNoIes},
    {kEsm, 0xE8, kBoth, "ESM status", "8.3.15", kEsmCauseOnly},
    {kEsm, 0xE9, kUplink, "Remote UE report", "8.3.23", kRemoteUeReport},
    {kEsm, 0xEA, kDownlink, "Remote UE report response", "8.3.24", kNoIes},
    {kEsm, 0xEB, kBoth, "ESM data transport", "8.3.25", kEsmDataTransport},
};

}  // namespace

const MessageSpec* FindMessageSpec(uint8_t protocol, uint8_t type, int direction) {
    const uint8_t want = direction == 1 ? kUplink : kDownlink;
    const MessageSpec* any = nullptr;
    for (const MessageSpec& spec : kMessages) {
        if (spec.protocol != protocol || spec.type != type) continue;
        if ((spec.directions & want) != 0) return &spec;
        if (any == nullptr) any = &spec;
    }
    // A message seen in the direction it is not sent in is still decoded
    // with its layout.
    return any;
}

uint8_t MessageDirections(uint8_t protocol, uint8_t type) {
    uint8_t directions = 0;
    for (const MessageSpec& spec : kMessages) {
        if (spec.protocol == protocol && spec.type == type) directions |= spec.directions;
    }
    return directions;
}

std::span<const MessageSpec> AllMessageSpecs() { return kMessages; }

}  // namespace corvuna::view
