// SPDX-License-Identifier: Apache-2.0
// The published maximum document length, proven message by message.
//
// For every message type of the dispatch tables a builder makes the message
// whose document is the longest its codecs allow: every optional IE present,
// every value at its longest rendering (the longest value text with its
// number, the most digits, the most list entries, negative numbers where a
// field prints signed).  Each document must be well formed and within
// CORVUNA_MAX_DOCUMENT_LENGTH.  Repeating the optional IEs up to the largest
// body decoded adds nothing (a repeated IE replaces the earlier one), and a
// seeded random search over mutations of the maximal messages finds no
// longer document than the builders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <iomanip>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "api/dispatch.h"
#include "corvuna/corvuna.h"
#include "support/document_check.h"
#include "support/test_support.h"

namespace corvuna {
namespace {

using test::CheckDocument;
using test::Hex;
using Octets = std::vector<uint8_t>;

// ---------------------------------------------------------------------------
// Octet vectors

Octets Join(std::initializer_list<Octets> parts) {
    Octets all;
    for (const Octets& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Octets Repeated(const Octets& unit, size_t times) {
    Octets all;
    for (size_t i = 0; i < times; ++i) all.insert(all.end(), unit.begin(), unit.end());
    return all;
}

// LV: a length octet, then the value.
Octets Lv(const Octets& value) { return Join({{static_cast<uint8_t>(value.size())}, value}); }
// LV-E: two length octets, then the value.
Octets LvE(const Octets& value) {
    return Join({{static_cast<uint8_t>(value.size() >> 8), static_cast<uint8_t>(value.size())}, value});
}
// TLV and TV.
Octets Tlv(uint8_t iei, const Octets& value) { return Join({{iei}, Lv(value)}); }
Octets Tv(uint8_t iei, const Octets& value) { return Join({{iei}, value}); }

// ---------------------------------------------------------------------------
// Mobility-management IE values at their longest rendering

// GUTI: even indication (the longer text), MCC digits 15 15 15 (1665),
// MNC 165, MME group 65535, MME code 255.
Octets LongestGuti() { return Hex("F6 FF FF FF FF FF FF FF FF FF FF"); }

// Mobile identity: a TMGI writes the most lines.  MCC/MNC present (1665 and
// 1665 outprint the "not present" text), MBMS session identity absent (its
// text is 4 longer, the identity 0 only 2 shorter than 255), even
// indication (the long text), service identity 16777215.
Octets LongestMobileIdentity() { return Hex("15 FF FF FF FF FF FF"); }

// Every flag at its longer text: clear ("not supported") except UCS2.
Octets LongestUeNetworkCapability() { return Hex("00 00 00 80 00"); }
// All five octets (UMTS, UIA and GPRS groups present), every flag clear:
// "not supported" outweighs the name "UEA14" of a supported UEA4.
Octets LongestUeSecurityCapability() { return Hex("00 00 00 00 00"); }
// Every flag clear except UCS2 (its "no preference" text is the longer).
Octets LongestMsNetworkCapability() { return Hex("10 00 00"); }
// Revision level 3 (the long reserved text), A5/1 "not available", RF power
// class "reserved"; UCS2, CM service prompt and A5/2 set; the rest clear.
Octets LongestClassmark2() { return Hex("6F 00 15"); }
// Split cycle code 255, coefficient 0 (the long text), split on CCCH not
// supported, non-DRX timer 7.
Octets LongestDrxParameter() { return Hex("FF 07"); }

// PLMN octets for MCC 1665 and a two-digit MNC 165 (MNC digit 3 not shown).
Octets LongestPlmn() { return Hex("FF FF FF"); }
Octets LongestTai() { return Join({LongestPlmn(), Hex("FF FF")}); }             // TAC 65535
Octets LongestTaiList() { return Join({Hex("00"), LongestTai()}); }             // list header, first TAI
Octets LongestLai() { return Join({LongestPlmn(), Hex("FF FF")}); }             // LAC 65535
// Fifteen PLMNs (all that are kept), each MCC 1665 and a three-digit MNC
// 1664 (MNC digit 3 is 14, not the two-digit filler 15).
Octets LongestPlmnList() { return Repeated(Hex("FF EF FF"), 15); }
// Two numbers (all that are kept), category 255, ten digits each (no end
// mark, so the last high nibble is a digit).
Octets LongestEmergencyNumberList() { return Repeated(Hex("06 FF 99 99 99 99 99"), 2); }
// Every bearer inactive: the inactive text is one character longer.
Octets LongestBearerContextStatus() { return Hex("00 00"); }
// Unit "decihours" (the longest unit text), timer value 31.
Octets LongestGprsTimer() { return Hex("5F"); }
// P-TMSI signature 16777215; the nonce prints signed: -2147483648.
Octets LongestPtmsiSignature() { return Hex("FF FF FF"); }
Octets LongestNonce() { return Hex("00 00 00 80"); }
// EMM cause 99 "Information element non-existent or not implemented".
constexpr uint8_t kLongestEmmCause = 99;

// Network name: coding scheme 0 (the longest text), "add CI" set, spare-bit
// count 0 (the longest text), and the most text octets a length octet
// allows (254).
Octets LongestNetworkName() { return Join({Hex("88"), Octets(254, 'N')}); }
Octets LongestTimeZoneAndTime() { return Hex("FF FF FF FF FF FF FF"); }
// "+2 hours adjustment for Daylight Saving Time".
Octets LongestDaylightSavingTime() { return Hex("02"); }

// CLI: type of number 7, numbering plan 15, octet 1a with presentation
// "Number not available due to interworking" and a verified screening,
// then ten digit octets (twenty digits, all that are kept).
Octets LongestCli() { return Join({Hex("FF C1"), Octets(10, 0x99)}); }

// ---------------------------------------------------------------------------
// Session-management IE values at their longest rendering

// QCI 30 ("Operator-specific QCIs"), all eight bit-rate octets 255.
Octets LongestEpsQos() { return Hex("1E FF FF FF FF FF FF FF FF"); }
// One label of 100 characters: the APN text keeps no more.
Octets LongestApn() { return Join({{100}, Octets(100, 'a')}); }
// PDN type 7 ("reserved"), address 255.255.255.255.
Octets LongestPdnAddress() { return Hex("07 FF FF FF FF"); }
// TI flag 0, TIO 7 and TIE 127: the three longest texts.
Octets LongestTransactionId() { return Hex("70 7F"); }
// TS 24.008 QoS, field by field at its longest text (delay class 4,
// reliability class 3, peak throughput 9, precedence 2, mean throughput 18,
// conversational class, without delivery order, erroneous SDUs not
// delivered, maximum SDU size 152, transfer delay 63, traffic handling
// priority 1, not optimised for signalling, source statistics 15), numbers
// at their widest.
Octets LongestQos() { return Hex("23 92 12 33 98 FF FF FF FD FF FF 0F FF FF FF FF"); }
// LLC SAPI 0 "LLC SAPI not assigned"; packet flow identifier 127
// "dynamically assigned".
Octets LongestLlcSapi() { return Hex("00"); }
Octets LongestPacketFlowId() { return Hex("7F"); }
// Each APN-AMBR octet 255: 8128, 8128, 138000, 138000, 255 and 255 kbps.
Octets LongestApnAmbr() { return Hex("FF FF FF FF FF FF"); }
// "Delete packet filters from existing TFT", E bit 0, 15 packet filters.
Octets LongestTft() { return Hex("AF"); }
// ESM cause 112 "APN restriction value incompatible with active EPS bearer
// context".
constexpr uint8_t kLongestEsmCause = 112;

// The protocol configuration options IE with IEI 0x27, as long as its
// renderer can make it.  Containers are read while more than one octet of
// the declared length is unaccounted for, at most 25; a container's
// contents show at most 250 octets.  A container (ID 65535 and its empty
// contents element) writes far more than its three octets would as
// contents, so: configuration protocol 0 (the longer text), 24 containers
// holding 181 contents octets between them (leaving 2 of the 255 declared
// octets unaccounted for), and a 25th container whose header runs 2 octets
// past the declared end and whose 255 contents octets run past the end of
// the message: nothing of them is kept, 250 octets of zero are shown.  The
// position then returns to the declared end and the last two header octets
// (0xFF 0xFF) are scanned again as IEIs that no message knows.  So the IE
// must end the message.
Octets LongestPco() {
    Octets value = Hex("80");
    value = Join({value, Hex("FF FF"), Lv(Octets(181, 0xAB))});
    for (int i = 1; i < 24; ++i) value = Join({value, Hex("FF FF 00")});
    value = Join({value, Hex("FF FF FF")});  // the 25th container's header
    return Join({Hex("27 FF"), value});
}

// ---------------------------------------------------------------------------
// Messages: the header and mandatory fields, and apart from them the
// optional IEs (so that the optional part can be repeated).

Octets Emm(uint8_t type, const Octets& body) { return Join({{0x07, type}, body}); }
// EPS bearer identity 5 and PTI 1: neither is shown.
Octets Esm(uint8_t type, const Octets& body) { return Join({{0x52, 0x01, type}, body}); }

Octets NoIes() { return {}; }

// --- EMM ---

Octets AttachRequest() {
    return Emm(0x41, Join({
                         Hex("02"),  // KSI 0 (TSC 0), combined EPS/IMSI attach
                         Lv(LongestGuti()),
                         Lv(LongestUeNetworkCapability()),
                         LvE({}),  // ESM message container, passed over
                     }));
}
Octets AttachRequestIes() {
    return Join({
        Tv(0x19, LongestPtmsiSignature()),
        Tlv(0x50, LongestGuti()),
        Tv(0x52, LongestTai()),
        Tv(0x5C, LongestDrxParameter()),
        Tlv(0x31, LongestMsNetworkCapability()),
        Tv(0x13, LongestLai()),
        Hex("90"),  // TMSI status: no valid TMSI
        Tlv(0x11, LongestClassmark2()),
        Tlv(0x20, Hex("00")),  // classmark 3: an empty group
        Tlv(0x40, Hex("00")),  // supported codecs: an empty group
    });
}

Octets AttachAccept() {
    return Emm(0x42, Join({
                         Hex("02"),  // combined EPS/IMSI
                         LongestGprsTimer(),
                         Lv(LongestTaiList()),
                         LvE({}),
                     }));
}
Octets AttachAcceptIes() {
    return Join({
        Tlv(0x50, LongestGuti()),
        Tv(0x13, LongestLai()),
        Tlv(0x23, LongestMobileIdentity()),
        Tv(0x53, {kLongestEmmCause}),
        Tv(0x17, LongestGprsTimer()),
        Tv(0x59, LongestGprsTimer()),
        Tlv(0x4A, LongestPlmnList()),
        Tlv(0x34, LongestEmergencyNumberList()),
    });
}

// UE-originating: switch off 0 ("normal detach"), combined EPS/IMSI detach.
Octets DetachRequestUplink() { return Emm(0x45, Join({Hex("03"), Lv(LongestGuti())})); }
// UE-terminated: "re-attach not required", then the EMM cause.
Octets DetachRequestDownlink() { return Emm(0x45, Hex("02")); }
Octets DetachRequestDownlinkIes() { return Tv(0x53, {kLongestEmmCause}); }

// KSI 0; no bearer establishment requested, combined TA/LA updating with
// IMSI attach.
Octets TrackingAreaUpdateRequest() { return Emm(0x48, Join({Hex("02"), Lv(LongestGuti())})); }
Octets TrackingAreaUpdateRequestIes() {
    return Join({
        Hex("B0"),  // non-current native KSI
        Hex("8F"),  // GPRS ciphering key sequence number 15
        Tv(0x19, LongestPtmsiSignature()),
        Tlv(0x50, LongestGuti()),
        Tv(0x55, LongestNonce()),
        Tlv(0x58, LongestUeNetworkCapability()),
        Tv(0x52, LongestTai()),
        Tv(0x5C, LongestDrxParameter()),
        Hex("AF"),  // radio capability update 15 "... not needed"
        Tlv(0x57, LongestBearerContextStatus()),
        Tlv(0x31, LongestMsNetworkCapability()),
        Tv(0x13, LongestLai()),
        Hex("9F"),  // TMSI status 15 "no valid TMSI available"
        Tlv(0x11, LongestClassmark2()),
        Tlv(0x20, Hex("00")),
        Tlv(0x40, Hex("00")),
        Hex("F0"),  // additional update type 0
    });
}

// Combined TA/LA updated and ISR activated.
Octets TrackingAreaUpdateAccept() { return Emm(0x49, Hex("05")); }
Octets TrackingAreaUpdateAcceptIes() {
    return Join({
        Tv(0x5A, LongestGprsTimer()),
        Tlv(0x50, LongestGuti()),
        Tlv(0x54, LongestTaiList()),
        Tlv(0x57, LongestBearerContextStatus()),
        Tv(0x13, LongestLai()),
        Tlv(0x23, LongestMobileIdentity()),
        Tv(0x53, {kLongestEmmCause}),
        Tv(0x17, LongestGprsTimer()),
        Tv(0x59, LongestGprsTimer()),
        Tlv(0x4A, LongestPlmnList()),
        Tlv(0x34, LongestEmergencyNumberList()),
        Tlv(0x64, Hex("00")),  // IMS voice over PS "not supported"
        Hex("F0"),             // additional update result 0
    });
}

// KSI 0, service type 2 (the emergency-call wording); CSFB response 0.
Octets ExtendedServiceRequest() { return Emm(0x4C, Join({Hex("02"), Lv(LongestMobileIdentity())})); }
Octets ExtendedServiceRequestIes() { return Hex("B0"); }

Octets ServiceReject() { return Emm(0x4E, {kLongestEmmCause}); }
Octets ServiceRejectIes() { return Tv(0x5B, LongestGprsTimer()); }

Octets GutiReallocationCommand() { return Emm(0x50, Lv(LongestGuti())); }
Octets GutiReallocationCommandIes() { return Tlv(0x54, LongestTaiList()); }

// RAND and AUTN are sixteen one-octet elements each.
Octets AuthenticationRequest() { return Emm(0x52, Join({Hex("00"), Octets(16, 0xFF), Lv(Octets(16, 0xFF))})); }
// RES and AUTS are sixteen one-octet elements whatever the value's length.
Octets AuthenticationResponse() { return Emm(0x53, Lv(Octets(16, 0xFF))); }
// This message writes its cause as a bare number: 255.
Octets AuthenticationFailure() { return Emm(0x5C, Hex("FF")); }
Octets AuthenticationFailureIes() { return Tlv(0x30, Octets(14, 0xFF)); }

Octets IdentityRequest() { return Emm(0x55, Hex("03")); }  // IMEISV
Octets IdentityResponse() { return Emm(0x56, Lv(LongestMobileIdentity())); }

Octets SecurityModeCommand() {
    return Emm(0x5D, Join({
                         Hex("01"),  // EEA0 (the long text), 128-EIA1
                         Hex("00"),  // KSI 0
                         Lv(LongestUeSecurityCapability()),
                     }));
}
Octets SecurityModeCommandIes() { return Join({Tv(0x55, LongestNonce()), Tv(0x56, LongestNonce())}); }

Octets SecurityModeComplete() { return Emm(0x5E, {}); }
Octets SecurityModeCompleteIes() { return Tlv(0x23, LongestMobileIdentity()); }

Octets EmmInformation() { return Emm(0x61, {}); }
Octets EmmInformationIes() {
    return Join({
        Tlv(0x43, LongestNetworkName()),
        Tlv(0x45, LongestNetworkName()),
        Tv(0x46, Hex("FF")),
        Tv(0x47, LongestTimeZoneAndTime()),
        Tlv(0x49, LongestDaylightSavingTime()),
    });
}

// The NAS message container is not shown: any container will do.
Octets DownlinkNasTransport() { return Emm(0x62, Lv(Octets(255, 0xFF))); }
Octets UplinkNasTransport() { return Emm(0x63, Lv(Octets(255, 0xFF))); }

Octets CsServiceNotification() { return Emm(0x64, Hex("00")); }  // paging identity IMSI
Octets CsServiceNotificationIes() {
    return Join({
        Tlv(0x60, LongestCli()),
        Tv(0x61, Hex("FF")),   // SS code 255
        Tv(0x62, Hex("FF")),   // LCS indicator 255 "Normal, unspecified ..."
        Tlv(0x63, Hex("00")),  // LCS client identity: an empty group
    });
}

Octets EmmCauseOnly(uint8_t type) { return Emm(type, {kLongestEmmCause}); }

// --- ESM ---

Octets ActivateDefaultBearerRequest() {
    return Esm(0xC1, Join({Lv(LongestEpsQos()), Lv(LongestApn()), Lv(LongestPdnAddress())}));
}
Octets ActivateDefaultBearerRequestIes() {
    return Join({
        Tlv(0x5D, LongestTransactionId()),
        Tlv(0x30, LongestQos()),
        Tv(0x32, LongestLlcSapi()),
        Hex("80"),  // radio priority
        Tlv(0x34, LongestPacketFlowId()),
        Tlv(0x5E, LongestApnAmbr()),
        Tv(0x58, {kLongestEsmCause}),
        LongestPco(),
    });
}

// Linked EPS bearer identity 15.
Octets ActivateDedicatedBearerRequest() {
    return Esm(0xC5, Join({Hex("0F"), Lv(LongestEpsQos()), Lv(LongestTft())}));
}
Octets ActivateDedicatedBearerRequestIes() {
    return Join({
        Tlv(0x5D, LongestTransactionId()),
        Tlv(0x30, LongestQos()),
        Tv(0x32, LongestLlcSapi()),
        Hex("80"),
        Tlv(0x34, LongestPacketFlowId()),
        LongestPco(),
    });
}

Octets ModifyBearerRequest() { return Esm(0xC9, {}); }
Octets ModifyBearerRequestIes() {
    return Join({
        Tlv(0x5B, LongestEpsQos()),
        Tlv(0x36, LongestTft()),
        Tlv(0x30, LongestQos()),
        Tv(0x32, LongestLlcSapi()),
        Hex("80"),
        Tlv(0x34, LongestPacketFlowId()),
        Tlv(0x5E, LongestApnAmbr()),
        LongestPco(),
    });
}

// Request type 15, PDN type 15; then the ESM information transfer flag 15.
Octets PdnConnectivityRequest() { return Esm(0xD0, Hex("FF")); }
Octets PdnConnectivityRequestIes() { return Join({Hex("DF"), Tlv(0x28, LongestApn()), LongestPco()}); }

Octets PdnDisconnectRequest() { return Esm(0xD2, Hex("0F")); }

// The traffic flow aggregate is passed over and shown as an empty group.
Octets BearerResourceAllocationRequest() { return Esm(0xD4, Join({Hex("0F"), Lv(Hex("00")), Lv(LongestEpsQos())})); }
// Only the first optional IE is examined: the PCO is the longest of the
// three it may be.
Octets BearerResourceModificationRequest() { return Esm(0xD6, Join({Hex("0F"), Lv(Hex("00"))})); }

Octets EsmInformationResponse() { return Esm(0xDA, {}); }
Octets EsmInformationResponseIes() { return Join({Tlv(0x28, LongestApn()), LongestPco()}); }

Octets EsmCauseOnly(uint8_t type) { return Esm(type, {kLongestEsmCause}); }

// ---------------------------------------------------------------------------
// The table: one row per message type (DETACH REQUEST once per direction)

enum class Sent { kEitherWay, kUplink, kDownlink };

struct BoundCase {
    const char* element;  // the message element the document must hold
    Sent sent;
    Octets (*fixed)();     // the header and the mandatory fields
    Octets (*optional)();  // the optional IEs, at their longest
    // Groups and elements of the optional IEs, each of which must be shown.
    std::vector<const char*> optionalElements;
};

Octets Build(const BoundCase& c) { return Join({c.fixed(), c.optional()}); }

constexpr const char* kPco = "Protocol_configuration_options";

const std::vector<BoundCase>& Cases() {
    static const std::vector<BoundCase> cases = {
        // EMM
        {"ATTACH_REQUEST", Sent::kEitherWay, AttachRequest, AttachRequestIes,
         {"Old_P_TMSI_Signature", "Additional_GUTI", "Last_Visited_Registered_TAI", "DRX_Parameter",
          "MS_Network_capability", "Old_LAI", "TMSI_Status", "Mobile_station_classmark2",
          "Mobile_station_classmark3", "Supported_Codecs"}},
        {"ATTACH_ACCEPT", Sent::kEitherWay, AttachAccept, AttachAcceptIes,
         {"GUTI", "Location_Area_Identification", "MS_identity", "EMMCause", "Equivalent_PLMNs",
          "Emergency_Number_List"}},
        {"ATTACH_COMPLET", Sent::kEitherWay, [] { return Emm(0x43, {}); }, NoIes, {}},
        {"ATTACH_REJECT", Sent::kEitherWay, [] { return EmmCauseOnly(0x44); }, NoIes, {}},
        {"DETACH_REQUEST", Sent::kUplink, DetachRequestUplink, NoIes, {}},
        {"DETACH_REQUEST", Sent::kDownlink, DetachRequestDownlink, DetachRequestDownlinkIes, {"EMMCause"}},
        {"DETACH_ACCEPT", Sent::kEitherWay, [] { return Emm(0x46, {}); }, NoIes, {}},
        {"TRACKING_AREA_UPDATE_REQUEST", Sent::kEitherWay, TrackingAreaUpdateRequest, TrackingAreaUpdateRequestIes,
         {"Non_current_native_NAS_key_set_identifier", "GPRSCipherKey", "Old_P_TMSI_signature", "Additional_GUTI",
          "NonceUE", "UE_Network_Capability", "Last_visited_registered_TAI", "DRX_parameter",
          "UE_radio_capability_information_update_needed", "EPS_bear_context_status", "MS_network_capability",
          "Old_location_area_identification", "TMSI_Status", "Mobile_Station_classmark2",
          "Mobile_Station_classmark3", "Supported_Codecs", "AdditionalUpdateResult"}},
        {"TRACKING_AREA_UPDATE_ACCEPT", Sent::kEitherWay, TrackingAreaUpdateAccept, TrackingAreaUpdateAcceptIes,
         {"T3412", "GUTI", "TAIList", "EPS_Bear_Context_Status", "Location_Area_Identification", "MS_Identity",
          "EMMCause", "T3402", "T3423", "Equivalent_PLMNS", "Emergency_Number_List", "EPSNetworkFeatureSupport",
          "AdditionalUpdateResult"}},
        {"TRACKING_AREA_UPDATE_COMPLETE", Sent::kEitherWay, [] { return Emm(0x4A, {}); }, NoIes, {}},
        {"TRACKING_AREA_UPDATE_REJECT", Sent::kEitherWay, [] { return EmmCauseOnly(0x4B); }, NoIes, {}},
        {"EXTENDED_SERVICE_REQUEST", Sent::kEitherWay, ExtendedServiceRequest, ExtendedServiceRequestIes,
         {"CSFB_response"}},
        {"SERVICE_REJECT", Sent::kEitherWay, ServiceReject, ServiceRejectIes, {"T3442Value"}},
        {"GUTI_REALLOCATION_COMMAND", Sent::kEitherWay, GutiReallocationCommand, GutiReallocationCommandIes,
         {"TAI_list"}},
        {"GUTI_REALLOCATION_COMPLETE", Sent::kEitherWay, [] { return Emm(0x51, {}); }, NoIes, {}},
        {"AUTHENTICATION_REQUEST", Sent::kEitherWay, AuthenticationRequest, NoIes, {}},
        {"AUTHENTICATION_RESPONSE", Sent::kEitherWay, AuthenticationResponse, NoIes, {}},
        {"AUTHENTICATION_REJECT", Sent::kEitherWay, [] { return Emm(0x54, {}); }, NoIes, {}},
        {"IDENTITY_REQUEST", Sent::kEitherWay, IdentityRequest, NoIes, {}},
        {"IDENTITY_RESPONSE", Sent::kEitherWay, IdentityResponse, NoIes, {}},
        {"AUTHENTICATION_FAILUR", Sent::kEitherWay, AuthenticationFailure, AuthenticationFailureIes, {"AUTS"}},
        {"SECURITY_MODE_COMMAND", Sent::kEitherWay, SecurityModeCommand, SecurityModeCommandIes,
         {"Replayed_nonce_UE", "nonce_MME"}},
        {"SECURITY_MODE_COMPLETE", Sent::kEitherWay, SecurityModeComplete, SecurityModeCompleteIes,
         {"IMEISV_request"}},
        {"SECURITY_MODE_REJECT", Sent::kEitherWay, [] { return EmmCauseOnly(0x5F); }, NoIes, {}},
        {"EMM_STATUS", Sent::kEitherWay, [] { return EmmCauseOnly(0x60); }, NoIes, {}},
        {"EMM_INFORMATION", Sent::kEitherWay, EmmInformation, EmmInformationIes,
         {"Full_name_for_network", "Short_name_for_network", "Local_time_zone", "UniversalTime_and_localTimeZone",
          "Network_daylight_saving_time"}},
        {"DOWNLINK_NAS_TRANSPORT", Sent::kEitherWay, DownlinkNasTransport, NoIes, {}},
        {"UPLINK_NAS_TRANSPORT", Sent::kEitherWay, UplinkNasTransport, NoIes, {}},
        {"CS_SERVICE_NOTIFICATION", Sent::kEitherWay, CsServiceNotification, CsServiceNotificationIes,
         {"CLI", "SS_Code", "LCS_indicator", "LSC_client_identity"}},
        // ESM
        {"ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REQUEST", Sent::kEitherWay, ActivateDefaultBearerRequest,
         ActivateDefaultBearerRequestIes,
         {"Transation_identifier", "Negotiated_QoS", "Negotiated_LLC_SAPI", "Radio_priority",
          "Packet_flow_identifier", "APN_AMBR", "ESMCause", kPco}},
        {"ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_ACCEPT", Sent::kEitherWay, [] { return Esm(0xC2, {}); }, LongestPco,
         {kPco}},
        {"ACTIVATE_DEFAULT_EPS_BEARER_CONTEXT_REJECT", Sent::kEitherWay, [] { return EsmCauseOnly(0xC3); },
         LongestPco, {kPco}},
        {"ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REQUEST", Sent::kEitherWay, ActivateDedicatedBearerRequest,
         ActivateDedicatedBearerRequestIes,
         {"Transation_identifier", "Negotiated_QoS", "Negotiated_LLC_SAPI", "Radio_priority",
          "Packet_flow_identifier", kPco}},
        {"ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_ACCEPT", Sent::kEitherWay, [] { return Esm(0xC6, {}); }, LongestPco,
         {"ProtocolConfOp"}},
        {"ACTIVATE_DEDICATED_EPS_BEARER_CONTEXT_REJECT", Sent::kEitherWay, [] { return EsmCauseOnly(0xC7); },
         LongestPco, {"Protocol_Configuration_Options"}},
        {"MODIFY_EPS_BEARER_CONTEXT_REQUEST", Sent::kEitherWay, ModifyBearerRequest, ModifyBearerRequestIes,
         {"New_EPS_QoS", "TFT", "New_QoS", "Negotiated_LLC_SAPI", "Radio_priority", "Packet_flow_identifier",
          "APN_AMBR", kPco}},
        {"MODIFY_EPS_BEARER_CONTEXT_ACCEPT", Sent::kEitherWay, [] { return Esm(0xCA, {}); }, LongestPco, {kPco}},
        {"MODIFY_EPS_BEARER_CONTEXT_REJECT", Sent::kEitherWay, [] { return EsmCauseOnly(0xCB); }, LongestPco,
         {kPco}},
        {"DEACTIVATE_EPS_BEARER_CONTEXT_REQUEST", Sent::kEitherWay, [] { return EsmCauseOnly(0xCD); }, LongestPco,
         {kPco}},
        {"DEACTIVATE_EPS_BEARER_CONTEXT_ACCEPT", Sent::kEitherWay, [] { return Esm(0xCE, {}); }, LongestPco,
         {kPco}},
        {"PDN_CONNECTIVITY_REQUEST", Sent::kEitherWay, PdnConnectivityRequest, PdnConnectivityRequestIes,
         {"ESM_Info_Trans_Flag", "Access_point_name", kPco}},
        {"PDN_CONNECTIVITY_REJECT", Sent::kEitherWay, [] { return EsmCauseOnly(0xD1); }, LongestPco, {kPco}},
        {"PDN_DISCONNECT_REQUEST", Sent::kEitherWay, PdnDisconnectRequest, LongestPco, {kPco}},
        {"PDN_DISCONNECT_REJECT", Sent::kEitherWay, [] { return EsmCauseOnly(0xD3); }, LongestPco, {kPco}},
        {"BEARER_RESOURCE_ALLOCATION_REQUEST", Sent::kEitherWay, BearerResourceAllocationRequest, LongestPco,
         {kPco}},
        {"BEARER_RESOURCE_ALLOCATION_REJECT", Sent::kEitherWay, [] { return EsmCauseOnly(0xD5); }, LongestPco,
         {kPco}},
        {"BEARER_RESOURCE_MODIFICATION_REQUEST", Sent::kEitherWay, BearerResourceModificationRequest, LongestPco,
         {kPco}},
        {"BEARER_RESOURCE_MODIFICATION_REJECT", Sent::kEitherWay, [] { return EsmCauseOnly(0xD7); }, LongestPco,
         {kPco}},
        {"ESM_INFORMATION_REQUEST", Sent::kEitherWay, [] { return Esm(0xD9, {}); }, NoIes, {}},
        {"ESM_INFORMATION_RESPONSE", Sent::kEitherWay, EsmInformationResponse, EsmInformationResponseIes,
         {"Access_point_name", kPco}},
        {"ESM_STATUS", Sent::kEitherWay, [] { return EsmCauseOnly(0xE8); }, NoIes, {}},
    };
    return cases;
}

std::vector<int> Directions(Sent sent) {
    switch (sent) {
        case Sent::kUplink:
            return {CORVUNA_UPLINK};
        case Sent::kDownlink:
            return {CORVUNA_DOWNLINK};
        case Sent::kEitherWay:
            break;
    }
    return {CORVUNA_UPLINK, CORVUNA_DOWNLINK};
}

// ---------------------------------------------------------------------------
// Decoding

// The whole document, whatever its length: a document that does not fit
// the first buffer is decoded again into one of the size it needs, so that
// a document exceeding the published bound shows its true length.
std::string UnboundedDecode(int direction, const Octets& message) {
    static const uint8_t kNothing = 0;
    const uint8_t* octets = message.empty() ? &kNothing : message.data();
    std::vector<char> buffer(2 * CORVUNA_MAX_DOCUMENT_LENGTH + 1, '\0');
    size_t needed = 0;
    int result = CorvunaDecodeBounded(direction, octets, static_cast<int>(message.size()), buffer.data(),
                                      buffer.size(), &needed);
    if (result == CORVUNA_ERR_NO_ROOM) {
        buffer.assign(needed, '\0');
        result = CorvunaDecodeBounded(direction, octets, static_cast<int>(message.size()), buffer.data(),
                                      buffer.size(), &needed);
    }
    if (result != CORVUNA_OK) return "decode failed: " + std::to_string(result);
    return std::string(buffer.data(), needed - 1);
}

// The message element of a document: its fourth line without the brackets.
std::string MessageElement(const std::string& document) {
    size_t at = 0;
    for (int line = 0; line < 3 && at != std::string::npos; ++line) {
        at = document.find('\n', at);
        if (at != std::string::npos) ++at;
    }
    if (at == std::string::npos || at >= document.size() || document[at] != '<') return std::string();
    const size_t close = document.find('>', at);
    if (close == std::string::npos) return std::string();
    return document.substr(at + 1, close - at - 1);
}

std::string HexText(const Octets& octets) {
    std::string text;
    char pair[4];
    for (uint8_t octet : octets) {
        std::snprintf(pair, sizeof pair, "%02X ", octet);
        text += pair;
    }
    return text;
}

struct Measured {
    std::string element;
    int direction;
    size_t length;
};

// Decodes every row's maximal message in each direction it may be sent.
std::vector<Measured> MeasureAll() {
    std::vector<Measured> all;
    for (const BoundCase& c : Cases()) {
        for (int direction : Directions(c.sent)) {
            all.push_back({c.element, direction, UnboundedDecode(direction, Build(c)).size()});
        }
    }
    return all;
}

// The longest document per message element, over both directions.
std::map<std::string, size_t> LongestPerElement() {
    std::map<std::string, size_t> longest;
    for (const Measured& m : MeasureAll()) longest[m.element] = std::max(longest[m.element], m.length);
    return longest;
}

constexpr size_t kBound = CORVUNA_MAX_DOCUMENT_LENGTH;

// ---------------------------------------------------------------------------
// Tests

TEST(DocumentBound, TheTableCoversEveryMessageType) {
    const std::map<std::string, size_t> longest = LongestPerElement();
    size_t types = 0;
    for (const auto table : {EmmMessageTable(), EsmMessageTable()}) {
        for (const MessageEntry& entry : table) {
            ++types;
            EXPECT_EQ(longest.count(entry.name), 1u) << entry.name << " has no maximal message";
        }
    }
    EXPECT_EQ(types, 50u);
    EXPECT_EQ(longest.size(), types);
}

TEST(DocumentBound, EveryMaximalMessageDecodesWellFormedWithinTheBound) {
    for (const BoundCase& c : Cases()) {
        const Octets message = Build(c);
        for (int direction : Directions(c.sent)) {
            SCOPED_TRACE(std::string(c.element) + (direction == CORVUNA_UPLINK ? " uplink" : " downlink"));
            const std::string document = UnboundedDecode(direction, message);
            EXPECT_EQ(MessageElement(document), c.element);
            EXPECT_EQ(CheckDocument(document, direction), "");
            for (const char* element : c.optionalElements) {
                EXPECT_NE(document.find(std::string("\n<") + element + ">"), std::string::npos)
                    << element << " missing:\n"
                    << document;
            }
            EXPECT_LE(document.size(), kBound);
            // A buffer of exactly the published size holds the same document.
            EXPECT_EQ(test::Decode(direction, message), document);
        }
    }
}

TEST(DocumentBound, LongestDocumentsPerMessageType) {
    const std::map<std::string, size_t> longest = LongestPerElement();
    std::vector<std::pair<size_t, std::string>> ranked;
    for (const auto& [element, length] : longest) ranked.emplace_back(length, element);
    std::sort(ranked.rbegin(), ranked.rend());
    ASSERT_FALSE(ranked.empty());
    for (const auto& [length, element] : ranked) EXPECT_LE(length, kBound) << element;
    std::cout << "Longest documents per message type (characters; bound " << kBound << "):\n";
    for (size_t i = 0; i < ranked.size() && i < 10; ++i) {
        std::cout << "  " << std::setw(6) << ranked[i].first << "  " << ranked[i].second << "\n";
    }
    RecordProperty("longest_document", static_cast<int>(ranked.front().first));
    RecordProperty("longest_message", ranked.front().second);
}

// A repeated optional IE replaces the earlier occurrence, and unknown IEIs
// are passed over without a trace: a body filled up to the largest body
// decoded with repetitions of the optional IEs gives a document no longer
// than the maximal message itself.
TEST(DocumentBound, FillingTheLargestBodyWithRepeatedIesAddsNothing) {
    const std::map<std::string, size_t> longest = LongestPerElement();
    for (const BoundCase& c : Cases()) {
        const Octets fixed = c.fixed();
        const Octets optional = c.optional();
        // The header is not part of the body: 2 octets (EMM) or 3 (ESM).
        const size_t largest = CORVUNA_MAX_BODY_LENGTH + (fixed[0] == 0x07 ? 2 : 3);
        Octets repeated = fixed;
        do {
            repeated.insert(repeated.end(), optional.begin(), optional.end());
        } while (!optional.empty() && repeated.size() + optional.size() <= largest);
        Octets unknownIeis = Build(c);
        unknownIeis.resize(largest, 0xFF);
        for (int direction : Directions(c.sent)) {
            SCOPED_TRACE(c.element);
            for (const Octets* message : {&repeated, &unknownIeis}) {
                const std::string document = UnboundedDecode(direction, *message);
                EXPECT_EQ(MessageElement(document), c.element);
                EXPECT_EQ(CheckDocument(document, direction), "");
                EXPECT_LE(document.size(), longest.at(c.element));
            }
        }
    }
}

// Second line of evidence: mutations of the maximal messages (octets
// changed, length octets changed, IEs duplicated, parts dropped) never give
// a document longer than the bound, nor longer than the maximal message of
// the type it decodes as.
TEST(DocumentBound, RandomMutationsOfTheMaximalMessagesStayWithinTheBound) {
    const std::map<std::string, size_t> longest = LongestPerElement();
    size_t overall = 0;
    for (const auto& [element, length] : longest) overall = std::max(overall, length);

    std::mt19937 random(0x5EED2024u);  // fixed seed: the same search on every run
    const auto below = [&random](size_t n) { return n == 0 ? size_t{0} : static_cast<size_t>(random() % n); };
    const uint8_t interesting[] = {0x00, 0x01, 0x02, 0x03, 0x05, 0x07, 0x0F, 0x10, 0x64, 0x7F,
                                   0x80, 0xF0, 0xFE, 0xFF, 0x27, 0x30, 0x50, 0x54, 0x58};
    const std::vector<BoundCase>& cases = Cases();
    constexpr int kIterations = 3000;
    size_t longestSeen = 0;
    for (int i = 0; i < kIterations; ++i) {
        const BoundCase& c = cases[static_cast<size_t>(i) % cases.size()];
        Octets message = Build(c);
        const size_t mutations = 1 + below(4);
        for (size_t m = 0; m < mutations && !message.empty(); ++m) {
            switch (below(5)) {
                case 0:  // any octet, any value
                    message[below(message.size())] = static_cast<uint8_t>(random());
                    break;
                case 1:  // an octet (a length, an IEI) to a telling value
                    message[below(message.size())] = interesting[below(sizeof interesting)];
                    break;
                case 2: {  // a run of octets (an IE) duplicated elsewhere
                    const size_t from = below(message.size());
                    const size_t count = 1 + below(std::min<size_t>(40, message.size() - from));
                    const Octets run(message.begin() + static_cast<std::ptrdiff_t>(from),
                                     message.begin() + static_cast<std::ptrdiff_t>(from + count));
                    message.insert(message.begin() + static_cast<std::ptrdiff_t>(below(message.size() + 1)), run.begin(),
                                   run.end());
                    break;
                }
                case 3: {  // a run of octets dropped
                    const size_t from = below(message.size());
                    const size_t count = 1 + below(std::min<size_t>(8, message.size() - from));
                    message.erase(message.begin() + static_cast<std::ptrdiff_t>(from),
                                  message.begin() + static_cast<std::ptrdiff_t>(from + count));
                    break;
                }
                default:  // random octets appended
                    for (size_t k = 1 + below(16); k > 0; --k) message.push_back(static_cast<uint8_t>(random()));
                    break;
            }
        }
        const int direction = static_cast<int>(below(2));
        const std::string document = UnboundedDecode(direction, message);
        longestSeen = std::max(longestSeen, document.size());
        ASSERT_LE(document.size(), kBound) << HexText(message);
        ASSERT_EQ(CheckDocument(document, direction), "") << HexText(message);
        const auto known = longest.find(MessageElement(document));
        const size_t limit = known != longest.end() ? known->second : overall;
        EXPECT_LE(document.size(), limit) << MessageElement(document) << ": " << HexText(message);
    }
    std::cout << "Longest document of " << kIterations << " mutated messages: " << longestSeen
              << " (maximal messages: " << overall << ")\n";
    RecordProperty("longest_mutated_document", static_cast<int>(longestSeen));
}

}  // namespace
}  // namespace corvuna
