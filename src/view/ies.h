// SPDX-License-Identifier: Apache-2.0
// The IE types of the standard view: for each, its name and reference
// clause and the decoder of its value (TS 24.301 clause 9.9, TS 24.008
// clause 10.5).  A type without a decoder shows its value as octets.
#pragma once

#include "doc/value_text.h"
#include "view/context.h"

namespace corvuna::view {

struct IeType {
    Text name;       // "EPS mobile identity"
    Text reference;  // "9.9.3.12" (TS 24.301) or "24.008 10.5.1.4"
    IeDecoder decode;
};

// Decodes a nested message (the ESM message container); defined with the
// message walker.
void DecodeNestedMessage(Context& ctx, Octets message);

// Shows a value as its octets.
void DecodeOctetsValue(Context& ctx, Octets value);

// ---------------------------------------------------------------------------
// Half-octet values: the decoder is given one octet holding the value in its
// low four bits.

extern const IeType kAdditionalUpdateResult;
extern const IeType kAdditionalUpdateType;
extern const IeType kCipheringKeySequenceNumber;
extern const IeType kCsfbResponse;
extern const IeType kDetachTypeToNetwork;
extern const IeType kDetachTypeToUe;
extern const IeType kEpsAttachResult;
extern const IeType kEpsAttachType;
extern const IeType kEpsUpdateResult;
extern const IeType kEpsUpdateType;
extern const IeType kIdentityType2;
extern const IeType kImeisvRequest;
extern const IeType kNasKeySetIdentifier;
extern const IeType kServiceType;
extern const IeType kTmsiStatus;
extern const IeType kUeRadioCapabilityUpdateNeeded;
extern const IeType kGutiType;
extern const IeType kExtendedEmmCause;
extern const IeType kDeviceProperties;
extern const IeType kMsNetworkFeatureSupport;
extern const IeType kSmsServicesStatus;
extern const IeType kNetworkPolicy;
extern const IeType kNon3gppNwProvidedPolicies;
extern const IeType kControlPlaneServiceType;
extern const IeType kUeRadioCapabilityIdRequest;
extern const IeType kUeRadioCapabilityIdDeletion;
extern const IeType kEsmInformationTransferFlag;
extern const IeType kLinkedEpsBearerIdentity;
extern const IeType kPdnType;
extern const IeType kRequestType;
extern const IeType kRadioPriority;
extern const IeType kConnectivityType;
extern const IeType kWlanOffloadAcceptability;
extern const IeType kControlPlaneOnlyIndication;
extern const IeType kReleaseAssistanceIndication;
extern const IeType kSpareHalfOctet;

// ---------------------------------------------------------------------------
// EMM and common IEs

extern const IeType kAuthenticationFailureParameter;
extern const IeType kAuthenticationParameterAutn;
extern const IeType kAuthenticationParameterRand;
extern const IeType kAuthenticationResponseParameter;
extern const IeType kDaylightSavingTime;
extern const IeType kDrxParameter;
extern const IeType kEmmCause;
extern const IeType kEpsMobileIdentity;
extern const IeType kEpsNetworkFeatureSupport;
extern const IeType kEsmMessageContainer;
extern const IeType kGprsTimer;
extern const IeType kGprsTimer2;
extern const IeType kGprsTimer3;
extern const IeType kMsNetworkCapability;
extern const IeType kNasMessageContainer;
extern const IeType kNasSecurityAlgorithms;
extern const IeType kNetworkName;
extern const IeType kNonce;
extern const IeType kPagingIdentity;
extern const IeType kPtmsiSignature;
extern const IeType kTimeZone;
extern const IeType kTimeZoneAndTime;
extern const IeType kTrackingAreaIdentity;
extern const IeType kTrackingAreaIdentityList;
extern const IeType kUeNetworkCapability;
extern const IeType kUeSecurityCapability;
extern const IeType kEmergencyNumberList;
extern const IeType kCli;
extern const IeType kSsCode;
extern const IeType kLcsIndicator;
extern const IeType kLcsClientIdentity;
extern const IeType kGenericMessageContainerType;
extern const IeType kGenericMessageContainer;
extern const IeType kAdditionalInformation;
extern const IeType kVoiceDomainPreference;
extern const IeType kExtendedDrxParameters;
extern const IeType kEpsBearerContextStatus;
extern const IeType kLocationAreaIdentification;
extern const IeType kMobileIdentity;
extern const IeType kMsClassmark2;
extern const IeType kMsClassmark3;
extern const IeType kPlmnList;
extern const IeType kSupportedCodecList;
extern const IeType kDcnId;
extern const IeType kHashMme;
extern const IeType kReplayedNasMessageContainer;
extern const IeType kUeAdditionalSecurityCapability;
extern const IeType kUeStatus;
extern const IeType kAdditionalInformationRequested;
extern const IeType kCipheringKeyData;
extern const IeType kN1UeNetworkCapability;
extern const IeType kUeRadioCapabilityId;
extern const IeType kNriContainer;
extern const IeType kHeaderCompressionConfigurationStatus;
extern const IeType kExtendedEmergencyNumberList;
extern const IeType kShortMac;

// ---------------------------------------------------------------------------
// ESM IEs

extern const IeType kAccessPointName;
extern const IeType kApnAggregateMaximumBitRate;
extern const IeType kEpsQualityOfService;
extern const IeType kEsmCause;
extern const IeType kLlcServiceAccessPointIdentifier;
extern const IeType kNotificationIndicator;
extern const IeType kPacketFlowIdentifier;
extern const IeType kPdnAddress;
extern const IeType kProtocolConfigurationOptions;
extern const IeType kExtendedProtocolConfigurationOptions;
extern const IeType kQualityOfService;
extern const IeType kReattemptIndicator;
extern const IeType kTrafficFlowAggregateDescription;
extern const IeType kTrafficFlowTemplate;
extern const IeType kTransactionIdentifier;
extern const IeType kNbifomContainer;
extern const IeType kRemoteUeContextList;
extern const IeType kPkmfAddress;
extern const IeType kHeaderCompressionConfiguration;
extern const IeType kUserDataContainer;
extern const IeType kServingPlmnRateControl;
extern const IeType kExtendedApnAggregateMaximumBitRate;
extern const IeType kExtendedQualityOfService;

}  // namespace corvuna::view
