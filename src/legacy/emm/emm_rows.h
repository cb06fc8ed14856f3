// SPDX-License-Identifier: Apache-2.0
// Optional-IE rows that several EMM messages share (TS 24.301 clause 8.2):
// each names the record fields it fills, which the messages' records name
// alike.
#pragma once

#include "legacy/codec/optional_ies.h"
#include "legacy/ie/mm/area_lists.h"
#include "legacy/ie/mm/capabilities.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna::emm_rows {

// ATTACH REQUEST and TRACKING AREA UPDATE REQUEST.
template <typename R>
inline constexpr auto kOldPtmsiSignature =
    Tv<&R::oldPtmsiSignaturePresent, &R::oldPtmsiSignature, ParsePtmsiSignature>(0x19, 3);
template <typename R>
inline constexpr auto kAdditionalGuti = Tlv<&R::additionalGutiPresent, &R::additionalGuti, ParseEpsMobileIdentity>(0x50);
// A single TAI (TV), not a list: no list header precedes it.
template <typename R>
inline constexpr auto kLastVisitedTai =
    Tv<&R::lastVisitedTaiPresent, &R::lastVisitedTai, ParseTrackingAreaIdentity>(0x52, 5);
template <typename R>
inline constexpr auto kDrxParameter = Tv<&R::drxParameterPresent, &R::drxParameter, ParseDrxParameter>(0x5C, 2);
template <typename R>
inline constexpr auto kMsNetworkCapability =
    Tlv<&R::msNetworkCapabilityPresent, &R::msNetworkCapability, ParseMsNetworkCapability>(0x31);
template <typename R>
inline constexpr auto kOldLai = Tv<&R::oldLaiPresent, &R::oldLai, ParseLocationAreaIdentification>(0x13, 5);
template <typename R>
inline constexpr auto kClassmark2 = Tlv<&R::classmark2Present, &R::classmark2, ParseMobileStationClassmark2>(0x11);
template <typename R>
inline constexpr auto kClassmark3 = TlvPresence<&R::classmark3Present>(0x20);
template <typename R>
inline constexpr auto kSupportedCodecs = TlvPresence<&R::supportedCodecsPresent>(0x40);

// ATTACH ACCEPT and TRACKING AREA UPDATE ACCEPT.
template <typename R>
inline constexpr auto kGuti = Tlv<&R::gutiPresent, &R::guti, ParseEpsMobileIdentity>(0x50);
template <typename R>
inline constexpr auto kLai = Tv<&R::laiPresent, &R::lai, ParseLocationAreaIdentification>(0x13, 5);
template <typename R>
inline constexpr auto kMsIdentity = Tlv<&R::msIdentityPresent, &R::msIdentity, ParseMobileIdentity>(0x23);
template <typename R>
inline constexpr auto kEmmCause = TvOctet<&R::emmCausePresent, &R::emmCause>(0x53);
template <typename R>
inline constexpr auto kT3402 = Tv<&R::t3402Present, &R::t3402, ParseGprsTimer>(0x17, 1);
template <typename R>
inline constexpr auto kT3423 = Tv<&R::t3423Present, &R::t3423, ParseGprsTimer>(0x59, 1);
template <typename R>
inline constexpr auto kEquivalentPlmns = Tlv<&R::equivalentPlmnsPresent, &R::equivalentPlmns, ParsePlmnList>(0x4A);
template <typename R>
inline constexpr auto kEmergencyNumbers =
    Tlv<&R::emergencyNumbersPresent, &R::emergencyNumbers, ParseEmergencyNumberList>(0x34);

}  // namespace corvuna::emm_rows
