// SPDX-License-Identifier: Apache-2.0
// The optional IEs that the attach and tracking area update messages share
// (TS 24.301 clauses 8.2.1, 8.2.4, 8.2.26, 8.2.29): the IE groups that
// hold them, bases of the messages' records, and the optional-IE rows that
// fill them.
#pragma once

#include <array>
#include <cstdint>

#include "legacy/codec/optional_ies.h"
#include "legacy/ie/mm/area_lists.h"
#include "legacy/ie/mm/capabilities.h"
#include "legacy/ie/mm/emm_fields.h"
#include "legacy/ie/mm/identities.h"

namespace corvuna {

// What ATTACH REQUEST and TRACKING AREA UPDATE REQUEST may tell of the UE
// and of its earlier registration.
struct RegistrationRequestIes {
    uint8_t oldPtmsiSignaturePresent;    // IEI 0x19
    uint32_t oldPtmsiSignature;
    uint8_t additionalGutiPresent;       // IEI 0x50
    EpsMobileIdentity additionalGuti;
    uint8_t lastVisitedTaiPresent;       // IEI 0x52
    TrackingAreaIdentity lastVisitedTai;
    uint8_t drxParameterPresent;         // IEI 0x5C
    DrxParameter drxParameter;
    uint8_t msNetworkCapabilityPresent;  // IEI 0x31
    MsNetworkCapability msNetworkCapability;
    uint8_t oldLaiPresent;               // IEI 0x13
    LocationAreaIdentification oldLai;
    uint8_t tmsiStatusPresent;           // IEI 0x9-
    int32_t tmsiStatus;                  // the bits of the IEI octet the message keeps
    uint8_t classmark2Present;           // IEI 0x11
    MobileStationClassmark2 classmark2;
    uint8_t classmark3Present;           // IEI 0x20, value passed over
    uint8_t supportedCodecsPresent;      // IEI 0x40, value passed over
};

// What ATTACH ACCEPT and TRACKING AREA UPDATE ACCEPT may assign.
struct RegistrationAcceptIes {
    uint8_t gutiPresent;             // IEI 0x50
    EpsMobileIdentity guti;
    uint8_t laiPresent;              // IEI 0x13
    LocationAreaIdentification lai;
    uint8_t msIdentityPresent;       // IEI 0x23
    MobileIdentity msIdentity;
    uint8_t emmCausePresent;         // IEI 0x53
    int32_t emmCause;                // 0..255
    uint8_t t3402Present;            // IEI 0x17
    GprsTimer t3402;
    uint8_t t3423Present;            // IEI 0x59
    GprsTimer t3423;
    uint8_t equivalentPlmnsPresent;  // IEI 0x4A
    PlmnList equivalentPlmns;
    uint8_t emergencyNumbersPresent;  // IEI 0x34
    EmergencyNumberList emergencyNumbers;
};

}  // namespace corvuna

namespace corvuna::emm_rows {

// The rows of RegistrationRequestIes, its TMSI status apart: the messages
// keep different bits of it.
template <typename R>
inline constexpr std::array kRegistrationRequestRows = {
    Tv<&R::oldPtmsiSignaturePresent, &R::oldPtmsiSignature, ParsePtmsiSignature, R>(0x19, 3),
    Tlv<&R::additionalGutiPresent, &R::additionalGuti, ParseEpsMobileIdentity, R>(0x50),
    // A single TAI (TV), not a list: no list header precedes it.
    Tv<&R::lastVisitedTaiPresent, &R::lastVisitedTai, ParseTrackingAreaIdentity, R>(0x52, 5),
    Tv<&R::drxParameterPresent, &R::drxParameter, ParseDrxParameter, R>(0x5C, 2),
    Tlv<&R::msNetworkCapabilityPresent, &R::msNetworkCapability, ParseMsNetworkCapability, R>(0x31),
    Tv<&R::oldLaiPresent, &R::oldLai, ParseLocationAreaIdentification, R>(0x13, 5),
    Tlv<&R::classmark2Present, &R::classmark2, ParseMobileStationClassmark2, R>(0x11),
    TlvPresence<&R::classmark3Present, R>(0x20),
    TlvPresence<&R::supportedCodecsPresent, R>(0x40),
};

// The rows of RegistrationAcceptIes.
template <typename R>
inline constexpr std::array kRegistrationAcceptRows = {
    Tlv<&R::gutiPresent, &R::guti, ParseEpsMobileIdentity, R>(0x50),
    Tv<&R::laiPresent, &R::lai, ParseLocationAreaIdentification, R>(0x13, 5),
    Tlv<&R::msIdentityPresent, &R::msIdentity, ParseMobileIdentity, R>(0x23),
    TvOctet<&R::emmCausePresent, &R::emmCause, R>(0x53),
    Tv<&R::t3402Present, &R::t3402, ParseGprsTimer, R>(0x17, 1),
    Tv<&R::t3423Present, &R::t3423, ParseGprsTimer, R>(0x59, 1),
    Tlv<&R::equivalentPlmnsPresent, &R::equivalentPlmns, ParsePlmnList, R>(0x4A),
    Tlv<&R::emergencyNumbersPresent, &R::emergencyNumbers, ParseEmergencyNumberList, R>(0x34),
};

}  // namespace corvuna::emm_rows
