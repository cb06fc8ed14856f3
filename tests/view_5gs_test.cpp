// SPDX-License-Identifier: Apache-2.0
// The standard view of 5GS NAS (TS 24.501) through the C entry: headers,
// identities in every form, TAI lists, NSSAI, QoS rules and flow
// descriptions, session-AMBR and payload containers against values worked
// out from the standard's figures; every message of the tables from its
// mandatory part; and every NAS PDU of tshark's listings of the real 5G
// captures.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/test_support.h"
#include "support/view_check.h"
#include "view/protocols.h"

namespace corvuna::test {
namespace {

using nlohmann::json;

std::string ViewOf(int direction, const std::vector<uint8_t>& octets, int format, unsigned options = 0) {
    std::vector<char> buffer(CORVUNA_MAX_VIEW_LENGTH + 1);
    const int result = CorvunaDecodeView(direction, octets.empty() ? nullptr : octets.data(),
                                         static_cast<int>(octets.size()), format, options, buffer.data(),
                                         buffer.size(), nullptr);
    EXPECT_GE(result, CORVUNA_VIEW_DECODED);
    return std::string(buffer.data());
}

json JsonOf(int direction, const std::vector<uint8_t>& octets, unsigned options = 0) {
    const std::string text = ViewOf(direction, octets, CORVUNA_VIEW_JSON, options);
    const std::string problem = CheckViewJson(text);
    EXPECT_EQ(problem, "") << text;
    return problem.empty() ? json::parse(text) : json::object();
}

// The value of the first IE named `ie` anywhere in the tree.
const json* FindIe(const json& node, std::string_view ie) {
    if (node.is_object()) {
        if (node.contains("ie") && node["ie"] == ie && node.contains("value")) return &node["value"];
        for (const auto& [key, value] : node.items()) {
            if (const json* found = FindIe(value, ie)) return found;
        }
    } else if (node.is_array()) {
        for (const auto& value : node) {
            if (const json* found = FindIe(value, ie)) return found;
        }
    }
    return nullptr;
}

struct ValueCase {
    const char* what;
    int direction;
    const char* hex;
    const char* ie;        // null: `pointer` is from the root
    const char* pointer;   // JSON pointer into the IE's value
    const char* expected;  // JSON text
    unsigned options = 0;
};

// Messages used by several cases.
// PDU SESSION ESTABLISHMENT ACCEPT: PSI 5, PTI 1; IPv4v6, SSC mode 1; four
// QoS rules (create with a match-all filter; create with IPv4 remote
// address, protocol and remote port; delete; delete packet filters 1 and
// 2), session-AMBR 3 Mbps down and 256 Mbps up, PDU address IPv4
// 10.45.0.2, QoS flow description of QFI 1 with five parameters.
constexpr const char* kEstablishmentAccept =
    "2e0501c2 13 002b"
    "01 0006 31 31 01 01 ff 01"
    "02 0013 21 12 0e 10c0a80001ffffff00 3011 501f90 10 05"
    "03 0001 40"
    "04 0005 a2 01 02 20 45"
    "06 060003 0a0001"
    "29 05 01 0a2d0002"
    "79 0017 01 20 45 010109 0203060064 05030b0002 060207d0 070150";
// REGISTRATION ACCEPT: 3GPP access, TAI list with one partial list of each
// type, rejected NSSAI, T3512 9 hours, T3502 12 minutes.
constexpr const char* kRegistrationAccept =
    "7e0042 0101"
    "541e 01 21f354 000001 000002 22 09f107 0000ff 41 21f354 000010 09f107 fffffe"
    "1107 1101 4201000001"
    "5e0129 16012c";
// REGISTRATION REQUEST: initial, FOR, no key; 5G-GUTI; requested NSSAI
// of S-NSSAIs in each length but 7; EPS NAS message container.
constexpr const char* kRegistrationRequest =
    "7e0041 79 000b f221f354cafe7f01020304"
    "2f19 0101 0402abcdef 050100000102 0803112233044455 66 020102"
    "70 0005 0761490100";

// Expected values worked out from TS 24.501's figures and tables, not from
// the output.
const ValueCase kValueCases[] = {
    // Headers (9.1 to 9.3).
    {"plain 5GMM header", 0, "7e005b01", nullptr, "/message", R"j({
        "name": "identity_request",
        "protocol_discriminator": {"value": 126, "text": "5GS mobility management messages"},
        "security_header_type": {"value": 0, "text": "Plain 5GS NAS message, not security protected"},
        "message_type": {"value": 91, "text": "Identity request"},
        "ies": [{"ie": "identity_type", "iei": null, "offset": 3, "length": 1,
                 "value": {"type_of_identity": {"value": 1, "text": "SUCI"}}},
                {"ie": "spare_half_octet", "iei": null, "offset": 3, "length": 1, "value": {}}]})j"},
    {"integrity protected: MAC and sequence number", 0, "7e01aabbccdd057e005b01", nullptr, "/message", R"j({
        "name": "security_protected_nas_message",
        "protocol_discriminator": {"value": 126, "text": "5GS mobility management messages"},
        "security_header_type": {"value": 1, "text": "Integrity protected"},
        "message_type": null, "ies": [], "message_authentication_code": "aabbccdd", "sequence_number": 5,
        "ciphering": {"ciphered": false, "body": "not_ciphered", "reason": null, "algorithm": null,
                      "integrity_algorithm": null, "count": null, "key_source": null, "mac": "not_checked",
                      "expected_mac": null, "mac_reason": "no integrity key"},
        "message": {"name": "identity_request",
            "protocol_discriminator": {"value": 126, "text": "5GS mobility management messages"},
            "security_header_type": {"value": 0, "text": "Plain 5GS NAS message, not security protected"},
            "message_type": {"value": 91, "text": "Identity request"},
            "ies": [{"ie": "identity_type", "iei": null, "offset": 10, "length": 1,
                     "value": {"type_of_identity": {"value": 1, "text": "SUCI"}}},
                    {"ie": "spare_half_octet", "iei": null, "offset": 10, "length": 1, "value": {}}]},
        "ciphered_octets": null})j"},
    {"ciphered, no security context: left ciphered", 0, "7e02aabbccdd057e005b01", nullptr, "/message/ciphered_octets",
     R"j("7e005b01")j"},
    {"ciphered, no security context: the result", 0, "7e02aabbccdd057e005b01", nullptr, "/result", R"j("ciphered")j"},
    {"ciphered with 5G-EA0 as the caller says", 0, "7e04aabbccdd057e005b01", nullptr, "/message/ciphering", R"j({
        "ciphered": true, "body": "null_ciphering", "reason": "taken as 5G-EA0 (null ciphering) as the caller said",
        "algorithm": {"value": 0, "text": "5G encryption algorithm 5G-EA0 (null ciphering algorithm)"},
        "integrity_algorithm": null, "count": null, "key_source": null, "mac": "not_checked",
        "expected_mac": null, "mac_reason": "no integrity key"})j", CORVUNA_VIEW_NULL_CIPHERING},
    {"ciphered with 5G-EA0: the inner message", 0, "7e04aabbccdd057e005b01", nullptr, "/message/message/name",
     R"j("identity_request")j", CORVUNA_VIEW_NULL_CIPHERING},
    {"reserved security header type", 0, "7e057e005b01", nullptr, "/result", R"j("unknown_message")j"},
    {"protected header cut short", 0, "7e01aabb", nullptr, "/stopped", R"j({"offset": 4,
        "ie": "security_protected_nas_message", "reason": "message shorter than the security header (7 octets)"})j"},
    {"5GSM header", 1, "2e0a07d61a", nullptr, "/message", R"j({
        "protocol_discriminator": {"value": 46, "text": "5GS session management messages"},
        "pdu_session_identity": {"value": 10, "text": "PDU session identity value"},
        "procedure_transaction_identity": {"value": 7, "text": "Procedure transaction identity value"},
        "message_type": {"value": 214, "text": "5GSM status"}, "name": "5gsm_status",
        "ies": [{"ie": "5gsm_cause", "iei": null, "offset": 4, "length": 1,
                 "value": {"cause_value": {"value": 26, "text": "Insufficient resources"}}}]})j"},
    {"5GSM header cut short", 1, "2e0a07", nullptr, "/stopped", R"j({"offset": 3, "ie": "message_type",
        "reason": "message shorter than the 5GSM header (4 octets)"})j"},
    {"5GMM message type unknown", 0, "7e00ff", nullptr, "/result", R"j("unknown_message")j"},

    // 5GS mobile identity (9.11.3.4) in each form.
    {"SUCI, IMSI with the null scheme (real message)", 1, "7e005c000d0109f107f0ff00000000203190", "mobile_identity",
     "", R"j({"type_of_identity": {"value": 1, "text": "SUCI"}, "supi_format": {"value": 0, "text": "IMSI"},
        "mcc": "901", "mnc": "70", "routing_indicator": "0",
        "protection_scheme_id": {"value": 0, "text": "Null scheme"}, "home_network_public_key_identifier": 0,
        "msin": "0000021309", "scheme_output": "0000203190"})j"},
    {"SUCI, IMSI with ECIES profile A and four routing indicator digits", 1, "7e005c000c0121f354214301 05aabbccdd",
     "mobile_identity", "", R"j({"type_of_identity": {"value": 1, "text": "SUCI"},
        "supi_format": {"value": 0, "text": "IMSI"}, "mcc": "123", "mnc": "45", "routing_indicator": "1234",
        "protection_scheme_id": {"value": 1, "text": "ECIES scheme profile A"},
        "home_network_public_key_identifier": 5, "scheme_output": "aabbccdd"})j"},
    {"SUCI in NAI format", 1, "7e005c0005116162 4063", "mobile_identity", "", R"j({
        "type_of_identity": {"value": 1, "text": "SUCI"},
        "supi_format": {"value": 1, "text": "Network specific identifier"}, "suci_nai": "ab@c"})j"},
    // An octet of the NAI that is no UTF-8 is shown as the code point of its
    // value, never copied into the output as it is.
    {"SUCI in NAI format with an octet outside ASCII", 1, "7e005c0004 1161ff62", "mobile_identity", "/suci_nai",
     R"j("a\u00ffb")j"},
    {"5G-GUTI: AMF set ID and pointer share two octets", 1, "7e005c000bf221f354cafe7f01020304", "mobile_identity",
     "", R"j({"type_of_identity": {"value": 2, "text": "5G-GUTI"}, "mcc": "123", "mnc": "45",
        "amf_region_id": 202, "amf_set_id": 1017, "amf_pointer": 63, "5g_tmsi": "01020304"})j"},
    {"5G-S-TMSI of a service request (real message)", 1, "7e004c000007f40040f100c84340022000", "5g_s_tmsi", "", R"j({
        "type_of_identity": {"value": 4, "text": "5G-S-TMSI"}, "amf_set_id": 1, "amf_pointer": 0,
        "5g_tmsi": "f100c843"})j"},
    {"IMEI, odd number of digits", 1, "7e005c00083b35547698103254", "mobile_identity", "/imei",
     R"j("353456789012345")j"},
    {"IMEISV of a security mode complete (real message)", 1, "7e005e7700098566050704405003f1", "imeisv", "", R"j({
        "odd_even_indication": {"value": 0, "text": "even number of identity digits"},
        "type_of_identity": {"value": 5, "text": "IMEISV"}, "imeisv": "8665070400405301"})j"},
    {"MAC address with its usage restriction", 1, "7e005c00070e001122aabbff", "mobile_identity", "", R"j({
        "type_of_identity": {"value": 6, "text": "MAC address"},
        "mac_address_usage_restriction_indication_maur":
            {"value": 1, "text": "MAC address is not usable as an equipment identifier"},
        "mac_address": "00:11:22:aa:bb:ff"})j"},
    {"EUI-64", 1, "7e005c0009070011223344556677", "mobile_identity", "/eui_64", R"j("0011223344556677")j"},
    {"no identity", 1, "7e005c000100", "mobile_identity", "",
     R"j({"type_of_identity": {"value": 0, "text": "No identity"}})j"},
    {"GUTI too short: an error at the IE", 1, "7e005c0005f221f354ca", nullptr, "/errors/0", R"j({"offset": 3,
        "ie": "mobile_identity", "reason": "value of 5 octets, 11 needed"})j"},

    // 5GS tracking area identity list (9.11.3.9): three-octet TACs.
    {"TAI list of the three types", 0, kRegistrationAccept, "tai_list", "/partial_lists", R"j([
        {"type_of_list": {"value": 0, "text": "list of TACs belonging to one PLMN, with non-consecutive TAC values"},
         "number_of_elements": 2,
         "tais": [{"mcc": "123", "mnc": "45", "tac": 1}, {"mcc": "123", "mnc": "45", "tac": 2}]},
        {"type_of_list": {"value": 1, "text": "list of TACs belonging to one PLMN, with consecutive TAC values"},
         "number_of_elements": 3,
         "tais": [{"mcc": "901", "mnc": "70", "tac": 255}, {"mcc": "901", "mnc": "70", "tac": 256},
                  {"mcc": "901", "mnc": "70", "tac": 257}]},
        {"type_of_list": {"value": 2, "text": "list of TAIs belonging to different PLMNs"},
         "number_of_elements": 2,
         "tais": [{"mcc": "123", "mnc": "45", "tac": 16}, {"mcc": "901", "mnc": "70", "tac": 16777214}]}])j"},
    {"consecutive TACs wrap at three octets", 0, "7e0042 0101 5407 21 00f110 ffffff", "tai_list",
     "/partial_lists/0/tais", R"j([{"mcc": "001", "mnc": "01", "tac": 16777215}, {"mcc": "001", "mnc": "01", "tac": 0}])j"},
    {"registration result", 0, kRegistrationAccept, "5gs_registration_result", "/5gs_registration_result_value",
     R"j({"value": 1, "text": "3GPP access"})j"},
    {"GPRS timer 3 in hours", 0, kRegistrationAccept, "t3512_value", "/seconds", "32400"},
    {"GPRS timer 2 in minutes", 0, kRegistrationAccept, "t3502_value", "/seconds", "720"},

    // NSSAI (9.11.3.37, 9.11.2.8) and rejected NSSAI (9.11.3.46).
    {"requested NSSAI: S-NSSAIs of each length", 1, kRegistrationRequest, "requested_nssai", "/s_nssais", R"j([
        {"sst": {"value": 1, "text": "eMBB"}},
        {"sst": {"value": 2, "text": "URLLC"}, "sd": "abcdef"},
        {"sst": {"value": 1, "text": "eMBB"}, "sd": "000001", "mapped_hplmn_sst": {"value": 2, "text": "URLLC"}},
        {"sst": {"value": 3, "text": "MIoT"}, "sd": "112233", "mapped_hplmn_sst": {"value": 4, "text": "V2X"},
         "mapped_hplmn_sd": "445566"},
        {"sst": {"value": 1, "text": "eMBB"}, "mapped_hplmn_sst": {"value": 2, "text": "URLLC"}}])j"},
    {"rejected NSSAI with causes", 0, kRegistrationAccept, "rejected_nssai", "/rejected_s_nssais", R"j([
        {"cause_value": {"value": 1, "text": "S-NSSAI not available in the current registration area"},
         "sst": {"value": 1, "text": "eMBB"}},
        {"cause_value": {"value": 2, "text": "S-NSSAI not available due to the failed or revoked network slice-specific authentication and authorization"},
         "sst": {"value": 1, "text": "eMBB"}, "sd": "000001"}])j"},
    {"S-NSSAI of a length no combination has", 1, "7e0067020003000000220301 0203", nullptr, "/errors/0/reason",
     R"j("S-NSSAI contents of a length no combination of its parts has")j"},
    {"registration type and FOR", 1, kRegistrationRequest, "5gs_registration_type", "", R"j({
        "follow_on_request_bit_for": {"value": 1, "text": "Follow-on request pending"},
        "5gs_registration_type_value": {"value": 1, "text": "initial registration"}})j"},
    {"EPS NAS message container: the EPS message", 1, kRegistrationRequest, "eps_nas_message_container",
     "/message/name", R"j("emm_information")j"},

    // QoS rules (9.11.4.13), flow descriptions (9.11.4.12), session-AMBR
    // (9.11.4.14), PDU address (9.11.4.10).
    {"QoS rule: create with a match-all filter", 0, kEstablishmentAccept, "authorized_qos_rules", "/qos_rules/0", R"j({
        "qos_rule_identifier": 1, "length_of_qos_rule": 6,
        "rule_operation_code": {"value": 1, "text": "Create new QoS rule"},
        "dqr_bit": {"value": 1, "text": "the QoS rule is the default QoS rule"}, "number_of_packet_filters": 1,
        "packet_filters": [{"packet_filter_direction": {"value": 3, "text": "bidirectional"},
                            "packet_filter_identifier": 1,
                            "components": [{"packet_filter_component_type":
                                                {"value": 1, "text": "Match-all type"}}]}],
        "qos_rule_precedence": 255, "segregation": {"value": 0, "text": "Segregation not requested"}, "qfi": 1})j"},
    {"QoS rule: components of a downlink filter", 0, kEstablishmentAccept, "authorized_qos_rules",
     "/qos_rules/1/packet_filters/0", R"j({
        "packet_filter_direction": {"value": 1, "text": "downlink only"}, "packet_filter_identifier": 2,
        "components": [
            {"packet_filter_component_type": {"value": 16, "text": "IPv4 remote address type"},
             "ipv4_address": "192.168.0.1", "subnet_mask": "255.255.255.0"},
            {"packet_filter_component_type": {"value": 48, "text": "Protocol identifier/Next header type"},
             "protocol_identifier_next_header": 17},
            {"packet_filter_component_type": {"value": 80, "text": "Single remote port type"}, "port": 8080}]})j"},
    {"QoS rule: delete has no filters, precedence or QFI", 0, kEstablishmentAccept, "authorized_qos_rules",
     "/qos_rules/2", R"j({"qos_rule_identifier": 3, "length_of_qos_rule": 1,
        "rule_operation_code": {"value": 2, "text": "Delete existing QoS rule"},
        "dqr_bit": {"value": 0, "text": "the QoS rule is not the default QoS rule"},
        "number_of_packet_filters": 0, "packet_filters": []})j"},
    {"QoS rule: delete packet filters lists identifiers only", 0, kEstablishmentAccept, "authorized_qos_rules",
     "/qos_rules/3", R"j({"qos_rule_identifier": 4, "length_of_qos_rule": 5,
        "rule_operation_code": {"value": 5, "text": "Modify existing QoS rule and delete packet filters"},
        "dqr_bit": {"value": 0, "text": "the QoS rule is not the default QoS rule"},
        "number_of_packet_filters": 2,
        "packet_filters": [{"packet_filter_identifier": 1}, {"packet_filter_identifier": 2}],
        "qos_rule_precedence": 32, "segregation": {"value": 1, "text": "Segregation requested"}, "qfi": 5})j"},
    {"session-AMBR in kbit/s", 0, kEstablishmentAccept, "session_ambr", "", R"j({
        "session_ambr_for_downlink": {"unit": {"value": 6, "text": "multiple of 1 Mbps"}, "value": 3,
                                      "rate": {"value": 3000, "text": "3000 kbit/s"}},
        "session_ambr_for_uplink": {"unit": {"value": 10, "text": "multiple of 256 Mbps"}, "value": 1,
                                    "rate": {"value": 256000, "text": "256000 kbit/s"}}})j"},
    {"session-AMBR: 1 Gbps unit, 256 Kbps unit", 0, "2e0501cb 2a06 0b0001 050100", "session_ambr", "", R"j({
        "session_ambr_for_downlink": {"unit": {"value": 11, "text": "multiple of 1 Gbps"}, "value": 1,
                                      "rate": {"value": 1000000, "text": "1000000 kbit/s"}},
        "session_ambr_for_uplink": {"unit": {"value": 5, "text": "multiple of 256 Kbps"}, "value": 256,
                                    "rate": {"value": 65536, "text": "65536 kbit/s"}}})j"},
    {"session-AMBR beyond 64-bit kbit/s", 0, "2e0501cb 2a06 19ffff 000001", "session_ambr", "", R"j({
        "session_ambr_for_downlink": {"unit": {"value": 25, "text": "multiple of 256 Pbps"}, "value": 65535,
                                      "rate": {"value": null, "text": "beyond the range of a 64-bit count of kbit/s"}},
        "session_ambr_for_uplink": {"unit": {"value": 0, "text": "value is not used"}, "value": 1,
                                    "rate": {"value": null, "text": "value is not used"}}})j"},
    {"PDU address IPv4", 0, kEstablishmentAccept, "pdu_address", "/pdu_ipv4", R"j("10.45.0.2")j"},
    {"PDU address: an IPv6 interface identifier is no address", 0, "2e0501c2 13 0004 01000140 06 060003 0a0001 2909 02 0000000000000002",
     "pdu_address", "/pdu_ipv6_interface_identifier", R"j("0000000000000002")j"},
    {"QoS flow description parameters", 0, kEstablishmentAccept, "authorized_qos_flow_descriptions",
     "/qos_flow_descriptions/0", R"j({"qfi": 1,
        "operation_code": {"value": 1, "text": "Create new QoS flow description"},
        "e_bit": {"value": 1, "text": "parameters list is included (or replaces the previous one)"},
        "number_of_parameters": 5,
        "parameters": [
            {"parameter_identifier": {"value": 1, "text": "5QI"}, "5qi": {"value": 9, "text": "standardized 5QI"}},
            {"parameter_identifier": {"value": 2, "text": "GFBR uplink"},
             "gfbr_uplink": {"unit": {"value": 6, "text": "multiple of 1 Mbps"}, "value": 100,
                             "rate": {"value": 100000, "text": "100000 kbit/s"}}},
            {"parameter_identifier": {"value": 5, "text": "MFBR downlink"},
             "mfbr_downlink": {"unit": {"value": 11, "text": "multiple of 1 Gbps"}, "value": 2,
                               "rate": {"value": 2000000, "text": "2000000 kbit/s"}}},
            {"parameter_identifier": {"value": 6, "text": "Averaging window"}, "averaging_window": 2000},
            {"parameter_identifier": {"value": 7, "text": "EPS bearer identity"}, "ebi": 5}]})j"},
    {"selected PDU session type and SSC mode", 0, kEstablishmentAccept, nullptr, "/message/ies/0/value",
     R"j({"pdu_session_type_value": {"value": 3, "text": "IPv4v6"}})j"},
    {"selected SSC mode in the high half", 0, kEstablishmentAccept, nullptr, "/message/ies/1/value",
     R"j({"ssc_mode_value": {"value": 1, "text": "SSC mode 1"}})j"},

    // Payload containers (9.11.3.39) by their type (9.11.3.40).
    {"N1 SM information: the 5GSM message (real message)", 0,
     "7e02ff9a1baa037e00680100752e0501c213000901000631210101ff01060a00030a0003290d0300000000000000020a2d0002220101"
     "7900060120410101097b0035800003102001486048600000000000000000888800031020014860486000000000000000008844000d04"
     "08080808000d0408080404250908696e7465726e65741205",
     "payload_container", "/message/name", R"j("pdu_session_establishment_accept")j", CORVUNA_VIEW_NULL_CIPHERING},
    {"N1 SM information: the DNN inside (real message)", 0,
     "7e02ff9a1baa037e00680100752e0501c213000901000631210101ff01060a00030a0003290d0300000000000000020a2d0002220101"
     "7900060120410101097b0035800003102001486048600000000000000000888800031020014860486000000000000000008844000d04"
     "08080808000d0408080404250908696e7465726e65741205",
     "dnn", "/dnn", R"j("internet")j", CORVUNA_VIEW_NULL_CIPHERING},
    {"SMS payload", 1, "7e0067 02 0003 090102", "payload_container", "", R"j({
        "carries": "SMS message (CP-DATA, CP-ACK or CP-ERROR, TS 24.011)", "contents": "090102"})j"},
    {"multiple payloads: entries with their optional IEs", 0,
     "7e0068 0f 0011 02 0009 11 120105 2e0501d61a 0003 02 aabb", "payload_container", "", R"j({
        "number_of_entries": 2,
        "entries": [
            {"payload_container_type": {"value": 1, "text": "N1 SM information"},
             "optional_ies": [{"type_of_optional_ie": 18,
                               "pdu_session_id": {"pdu_session_identity":
                                                     {"value": 5, "text": "PDU session identity value"}}}],
             "payload_container_entry_contents": {"message": {
                 "protocol_discriminator": {"value": 46, "text": "5GS session management messages"},
                 "pdu_session_identity": {"value": 5, "text": "PDU session identity value"},
                 "procedure_transaction_identity": {"value": 1, "text": "Procedure transaction identity value"},
                 "message_type": {"value": 214, "text": "5GSM status"}, "name": "5gsm_status",
                 "ies": [{"ie": "5gsm_cause", "iei": null, "offset": 17, "length": 1,
                          "value": {"cause_value": {"value": 26, "text": "Insufficient resources"}}}]}}},
            {"payload_container_type": {"value": 2, "text": "SMS"}, "optional_ies": [],
             "payload_container_entry_contents": {
                 "carries": "SMS message (CP-DATA, CP-ACK or CP-ERROR, TS 24.011)", "contents": "aabb"}}]})j"},
    {"SOR transparent container with a PLMN list", 0,
     "7e0068 04 0018 06 00112233445566778899aabbccddeeff 0001 21f354 4000", "payload_container", "", R"j({
        "sor_data_type": {"value": 0, "text": "steering of roaming information"},
        "list_indication": {"value": 1, "text": "list of preferred PLMN/access technology combinations is provided"},
        "list_type": {"value": 1, "text": "PLMN ID and access technology list"},
        "acknowledgement_requested_ack": {"value": 0, "text": "acknowledgement not requested"},
        "sor_mac_iausf": "00112233445566778899aabbccddeeff", "countersor": 1,
        "plmns": [{"mcc": "123", "mnc": "45", "access_technology_identifier": 16384}]})j"},
    {"UE policy container", 0, "7e0068 05 0004 07 01 aabb", "payload_container", "", R"j({
        "procedure_transaction_identity": {"value": 7, "text": "Procedure transaction identity value"},
        "ue_policy_delivery_service_message_type": {"value": 1, "text": "MANAGE UE POLICY COMMAND"},
        "contents": "aabb"})j"},
    {"payload container with no type before it", 1, "7e0041 79 000bf221f354cafe7f01020304 7b0002abcd", "payload_container", "",
     R"j({"payload_container_type": null, "contents": "abcd"})j"},

    // Causes, algorithms, sessions.
    {"5GMM cause text", 0, "7e00441b", "5gmm_cause", "/cause_value", R"j({"value": 27, "text": "N1 mode not allowed"})j"},
    {"5GMM cause unassigned", 0, "7e0044c8", "5gmm_cause", "/cause_value",
     R"j({"value": 200, "text": "unassigned (treated as #111, protocol error, unspecified)"})j"},
    {"5GSM cause text", 0, "2e0501d324", "5gsm_cause", "/cause_value", R"j({"value": 36, "text": "Regular deactivation"})j"},
    {"selected algorithms of a security mode command (real message)", 0, "7e005d010002f0f0e1360102",
     "selected_nas_security_algorithms", "", R"j({
        "type_of_ciphering_algorithm": {"value": 0, "text": "5G encryption algorithm 5G-EA0 (null ciphering algorithm)"},
        "type_of_integrity_protection_algorithm": {"value": 1, "text": "5G integrity algorithm 128-5G-IA1"}})j"},
    {"additional 5G security information", 0, "7e005d010002f0f0e1360102", "additional_5g_security_information",
     "/retransmission_of_initial_nas_message_request_rinmr/value", "1"},
    {"integrity protection maximum data rate (real message)", 1, "2e0501c1ffff93a1",
     "integrity_protection_maximum_data_rate", "", R"j({
        "maximum_data_rate_per_ue_for_user_plane_integrity_protection_for_uplink": {"value": 255, "text": "Full data rate"},
        "maximum_data_rate_per_ue_for_user_plane_integrity_protection_for_downlink": {"value": 255, "text": "Full data rate"}})j"},
    {"DNN of labels", 1, "7e0067020003000000 2509 03696d73 0474657374", "dnn", "/dnn", R"j("ims.test")j"},
    {"DNN that is not label-encoded", 1, "7e0067020003000000 2503 09696d", nullptr, "/errors/0/reason",
     R"j("DNN is not label-encoded")j"},
    {"PDU session status: PSIs of both octets", 1, "7e004c000007f40040f100c843 50020281", "pdu_session_status",
     "/psis", "[1, 8, 15]"},
    {"uplink data status (real message)", 1, "7e004c000007f40040f100c84340022000", "uplink_data_status", "/psis", "[5]"},
    {"PDU session identity 2 and request type", 1, "7e0067020003000000 120581", "request_type",
     "/request_type_value", R"j({"value": 1, "text": "initial request"})j"},
    {"de-registration type from the UE", 1, "7e004509000bf221f354cafe7f01020304", "de_registration_type", "", R"j({
        "switch_off": {"value": 1, "text": "Switch off"},
        "access_type": {"value": 1, "text": "3GPP access"}})j"},
    {"de-registration type towards the UE", 0, "7e004706", "de_registration_type", "", R"j({
        "re_registration_required": {"value": 1, "text": "re-registration required"},
        "access_type": {"value": 2, "text": "Non-3GPP access"}})j"},
    {"ngKSI towards the UE: 7 is reserved", 0, "7e00560702000021" "00112233445566778899aabbccddeeff", "ngksi",
     "/nas_key_set_identifier", R"j({"value": 7, "text": "reserved"})j"},
};

TEST(View5gs, ValuesFollowTheCodingRules) {
    for (const ValueCase& c : kValueCases) {
        SCOPED_TRACE(c.what);
        const json view = JsonOf(c.direction, Hex(c.hex), c.options);
        const json* node = &view;
        if (c.ie != nullptr) {
            node = FindIe(view, c.ie);
            ASSERT_NE(node, nullptr) << view.dump();
        }
        const json::json_pointer pointer(c.pointer);
        ASSERT_TRUE(node->contains(pointer)) << node->dump();
        EXPECT_EQ(node->at(pointer), json::parse(c.expected)) << node->dump();
    }
}

// Malformed values: the error names the IE and the octet where the value
// goes wrong, decoding goes on after the IE, and the result says so.
const ValueCase kErrorCases[] = {
    {"TAI list of the reserved type 3", 0, "7e0042 0101 5407 61 21f354 000001", nullptr, "/errors/0",
     R"j({"offset": 7, "ie": "tai_list", "reason": "reserved type of list"})j"},
    {"partial TAI list longer than the IE", 0, "7e0042 0101 5407 02 21f354 000001", nullptr, "/errors/0",
     R"j({"offset": 7, "ie": "tai_list", "reason": "partial list runs past the end of the IE"})j"},
    {"rejected S-NSSAI longer than the IE", 0, "7e0042 0101 1104 41010000", nullptr, "/errors/0",
     R"j({"offset": 7, "ie": "rejected_nssai", "reason": "rejected S-NSSAI runs past the end of the IE"})j"},
    {"QoS rule longer than the IE", 0, "2e0501c2 13 0004 01000531 06 060003 0a0001", nullptr, "/errors/0",
     R"j({"offset": 7, "ie": "authorized_qos_rules", "reason": "QoS rule runs past the end of the IE"})j"},
    {"packet filter longer than its QoS rule", 0, "2e0501c2 13 0007 01 0004 31 31 05 01 06 060003 0a0001", nullptr,
     "/errors/0",
     R"j({"offset": 11, "ie": "authorized_qos_rules", "reason": "packet filter runs past the end of the QoS rule"})j"},
    {"packet filter component of a reserved type", 0, "2e0501c2 13 0008 01 0005 31 31 02 ee00 06 060003 0a0001",
     nullptr, "/errors/0",
     R"j({"offset": 13, "ie": "authorized_qos_rules", "reason": "packet filter component of a reserved type"})j"},
    {"session-AMBR shorter than its table length: decoding stops", 0, "2e0501c2 13 0004 01000140 05 0600030a00",
     nullptr, "/stopped", R"j({"offset": 11, "ie": "session_ambr", "reason": "length 5 outside 6..6"})j"},
    {"payload container entry longer than the container", 0, "7e0068 0f 0004 01 0009 11", nullptr, "/errors/0",
     R"j({"offset": 7, "ie": "payload_container",
         "reason": "payload container entry runs past the end of the container"})j"},
    {"multiple payloads inside an entry", 0, "7e0068 0f 0006 01 0003 0f aabb", nullptr, "/errors/0",
     R"j({"offset": 10, "ie": "payload_container", "reason": "multiple payloads inside a payload container entry"})j"},
    {"IE after a malformed one is still decoded", 0, "7e0042 0101 5407 61 21f354 000001 5e0129", "t3512_value",
     "/seconds", "32400"},
};

TEST(View5gs, MalformedValuesSayWhereAndWhy) {
    for (const ValueCase& c : kErrorCases) {
        SCOPED_TRACE(c.what);
        const json view = JsonOf(c.direction, Hex(c.hex), c.options);
        EXPECT_EQ(view["result"], "decoded_with_errors");
        const json* node = c.ie != nullptr ? FindIe(view, c.ie) : &view;
        ASSERT_NE(node, nullptr) << view.dump();
        const json::json_pointer pointer(c.pointer);
        ASSERT_TRUE(node->contains(pointer)) << view.dump();
        EXPECT_EQ(node->at(pointer), json::parse(c.expected)) << view.dump();
        EXPECT_EQ(CheckViewText(ViewOf(c.direction, Hex(c.hex), CORVUNA_VIEW_TEXT)), "");
    }
}

// Every message of the message type tables decodes from its mandatory
// part (each IE at its least length, zero-filled) as the message it is, in
// both outputs.
TEST(View5gs, EveryMessageOfTheTablesDecodes) {
    std::map<uint8_t, size_t> perProtocol;
    for (const view::MessageLayout& layout : view::fivegs::kMessageTable.layouts) {
        SCOPED_TRACE(std::string(layout.name.textView()));
        std::vector<uint8_t> m;
        if (layout.protocol == view::fivegs::kMm) {
            m = {0x7E, 0x00, layout.type};
        } else {
            m = {0x2E, 0x01, 0x01, layout.type};
        }
        bool half = false;
        for (const view::IeRow& row : layout.ies) {
            if (row.format >= view::IeFormat::kT) break;
            switch (row.format) {
                case view::IeFormat::kHalfV:
                    if (!half) m.push_back(0);
                    half = !half;
                    break;
                case view::IeFormat::kV:
                    m.insert(m.end(), row.minLength, 0);
                    break;
                case view::IeFormat::kLV:
                    m.push_back(static_cast<uint8_t>(row.minLength - 1));
                    m.insert(m.end(), row.minLength - 1u, 0);
                    break;
                default:
                    m.push_back(static_cast<uint8_t>((row.minLength - 2) >> 8));
                    m.push_back(static_cast<uint8_t>(row.minLength - 2));
                    m.insert(m.end(), row.minLength - 2u, 0);
                    break;
            }
        }
        const int direction = (layout.directions & view::kUplink) != 0 ? 1 : 0;
        const json view = JsonOf(direction, m);
        EXPECT_NE(view["result"], "unknown_message");
        EXPECT_EQ(view["stopped"], nullptr);
        EXPECT_EQ(view["message"]["message_type"]["value"], layout.type);
        EXPECT_EQ(view["message"]["name"], json(std::string(layout.name.quotedIdentifier().substr(
                                               1, layout.name.quotedIdentifier().size() - 2))));
        EXPECT_EQ(CheckViewText(ViewOf(direction, m, CORVUNA_VIEW_TEXT)), "");
        ++perProtocol[layout.protocol];
    }
    // Table 9.7.1 lists 32 5GMM messages, table 9.7.2 20 5GSM messages.
    EXPECT_EQ(perProtocol[view::fivegs::kMm], 32u);
    EXPECT_EQ(perProtocol[view::fivegs::kSm], 20u);
}

// Every NAS PDU of tshark's listings of the open5gs 5G captures: decoded
// with no error (the ciphered ones with 5G-EA0, as the captures use), as
// the protocol and security header type the listing gives, with every IE
// the tables know and laid end to end inside its message.
TEST(View5gs, EveryPduOfTheCaptureListingsDecodes) {
    const auto listings = LoadFiveGsListings();
    if (!listings) GTEST_SKIP() << "../shared/captures-5g/*.nas5g.tsv not found";
    std::map<std::string, size_t> names;
    for (const CorpusMessage& m : *listings) {
        SCOPED_TRACE(m.name);
        const std::string js = ViewOf(m.direction, m.octets, CORVUNA_VIEW_JSON, CORVUNA_VIEW_NULL_CIPHERING);
        ASSERT_EQ(CheckViewJson(js), "") << js;
        const json view = json::parse(js);
        EXPECT_EQ(view["result"], "decoded") << js;
        const json& message = view["message"];
        const std::string sht = m.name.substr(m.name.rfind(':') + 1);
        if (sht == "sm") {
            EXPECT_EQ(message["protocol_discriminator"]["value"], 0x2E);
        } else {
            EXPECT_EQ(message["protocol_discriminator"]["value"], 0x7E);
            EXPECT_EQ(message["security_header_type"]["value"], std::stoi(sht));
        }
        const json& plain = message.contains("message") && message["message"].is_object() ? message["message"] : message;
        ASSERT_TRUE(plain["name"].is_string()) << js;
        ++names[plain["name"]];
        EXPECT_EQ(js.find("\"unknown_ie\""), std::string::npos) << js;
        EXPECT_EQ(js.find("\"repeated_ie\""), std::string::npos) << js;
        size_t end = 0;
        for (const json& ie : plain["ies"]) {
            const size_t offset = ie["offset"], length = ie["length"];
            EXPECT_GE(offset + (length == 1 ? 1 : 0), end);
            EXPECT_LE(offset + length, m.octets.size());
            end = offset + length;
        }
        EXPECT_EQ(CheckViewText(ViewOf(m.direction, m.octets, CORVUNA_VIEW_TEXT, CORVUNA_VIEW_NULL_CIPHERING)), "");
    }
    // The registrations, sessions and service requests of the captures.
    for (const char* name : {"registration_request", "registration_accept", "authentication_request",
                             "security_mode_command", "service_request", "service_accept", "ul_nas_transport",
                             "dl_nas_transport", "deregistration_request_ue_originating"}) {
        EXPECT_GT(names[name], 0u) << name;
    }
}

}  // namespace
}  // namespace corvuna::test
