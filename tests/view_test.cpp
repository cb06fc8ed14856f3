// SPDX-License-Identifier: Apache-2.0
// The standard view through its export: values decoded as TS 24.301 and
// TS 24.008 define them, the walker's handling of bad and unknown input,
// and the shape of both outputs over the whole corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
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
    size_t needed = 0;
    const int result = CorvunaDecodeView(direction, octets.empty() ? nullptr : octets.data(),
                                         static_cast<int>(octets.size()), format, options, buffer.data(),
                                         buffer.size(), &needed);
    EXPECT_GE(result, CORVUNA_VIEW_DECODED);
    return std::string(buffer.data());
}

json JsonOf(int direction, std::string_view hex, unsigned options = 0) {
    const std::string text = ViewOf(direction, Hex(hex), CORVUNA_VIEW_JSON, options);
    const std::string problem = CheckViewJson(text);
    EXPECT_EQ(problem, "") << text;
    return problem.empty() ? json::parse(text) : json::object();
}

// The first IE named `ie` anywhere in the tree, nested messages included.
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
    const char* ie;       // null: `pointer` is from the root
    const char* pointer;  // JSON pointer into the IE's value
    const char* expected; // JSON text
    unsigned options = 0;
};

// Expected values worked out from the coding rules, not from the output.
const ValueCase kValueCases[] = {
    {"IMSI digits", 1, "0741710831012098802351f002804000040201d031", "eps_mobile_identity", "/imsi",
     R"("31002890832150")"},
    {"GUTI with a three-digit MNC", 0, "07500bf6130014800102c0000001", "guti", "", R"({
        "odd_even_indication": {"value": 0, "text": "even number of identity digits and also when the GUTI is used"},
        "type_of_identity": {"value": 6, "text": "GUTI"}, "mcc": "310", "mnc": "410",
        "mme_group_id": 32769, "mme_code": 2, "m_tmsi": "c0000001"})"},
    {"TAI list of three types, MCC and MNC keep leading zeros", 0,
     "07500bf6130014800102c0000001541b0200f110000100020003211300141000" "4100f11000051300140006", "tai_list",
     "/partial_lists", R"([
        {"type_of_list": {"value": 0, "text": "list of TACs belonging to one PLMN, with non-consecutive TAC values"},
         "number_of_elements": 3,
         "tais": [{"mcc": "001", "mnc": "01", "tac": 1}, {"mcc": "001", "mnc": "01", "tac": 2},
                  {"mcc": "001", "mnc": "01", "tac": 3}]},
        {"type_of_list": {"value": 1, "text": "list of TACs belonging to one PLMN, with consecutive TAC values"},
         "number_of_elements": 2,
         "tais": [{"mcc": "310", "mnc": "410", "tac": 4096}, {"mcc": "310", "mnc": "410", "tac": 4097}]},
        {"type_of_list": {"value": 2, "text": "list of TAIs belonging to different PLMNs"},
         "number_of_elements": 2,
         "tais": [{"mcc": "001", "mnc": "01", "tac": 5}, {"mcc": "310", "mnc": "410", "tac": 6}]}])"},
    // TS 24.301 9.9.3.33: consecutive TACs count on within two octets.
    {"consecutive TACs wrap at two octets", 0, "0749 00 5406 21 00f110 ffff", "tai_list", "/partial_lists/0/tais",
     R"([{"mcc": "001", "mnc": "01", "tac": 65535}, {"mcc": "001", "mnc": "01", "tac": 0}])"},
    // A partial list that runs past the IE is reported at the IE (its IEI
    // octet, offset 3), as the EPS view always reported it.
    {"partial TAI list longer than the IE", 0, "0749 00 5406 02 00f110 0001", nullptr, "/errors/0",
     R"({"offset": 3, "ie": "tai_list", "reason": "partial list runs past the end of the IE"})"},
    {"network name in the GSM 7-bit default alphabet", 0, "076143058441aa890a45058441aa890a468a475170802223628a490101",
     "full_name_for_network", "/text_string", R"("AT&T")"},
    {"network name in UCS2, to UTF-8", 0, "07614305900" "0e90041", "full_name_for_network", "/text_string",
     "\"\u00e9A\""},
    {"local time zone west of Greenwich", 0, "076143058441aa890a45058441aa890a468a475170802223628a490101",
     "local_time_zone", "/time_zone/value", "-28"},
    {"universal time", 0, "076143058441aa890a45058441aa890a468a475170802223628a490101",
     "universal_time_and_local_time_zone", "", R"({"year": 2015, "month": 7, "day": 8, "hour": 22, "minute": 32,
        "second": 26, "time_zone": {"value": -28, "text": "UTC-07:00"}})"},
    {"GPRS timer in minutes", 0, "0749005a215e0145", "t3412_value", "/seconds", "60"},
    {"GPRS timer 3 in tens of hours", 0, "0749005a215e0145", "t3412_extended_value", "/seconds", "180000"},
    {"GPRS timer deactivated", 0, "074201e0062402f801000100265201c10503488740780e7777772e65757265636f6d2e66720d03c0a8"
     "023c022170ffc0a8023c500bf602f80101020f00000001", "t3412_value", "/deactivated", "true"},
    {"EPS QoS with extended and extended-2 bit rates", 0,
     "7200c5060d0140fe01ff004a000000000100122131800e10c0a80001ffffff003011501f90", "eps_qos", "",
     R"({"qci": {"value": 1, "text": "QCI 1"}, "maximum_bit_rate_for_uplink_kbps": {"value": 64, "text": "64 kbit/s"},
        "maximum_bit_rate_for_downlink_kbps": {"value": 16000, "text": "16000 kbit/s"},
        "guaranteed_bit_rate_for_uplink_kbps": {"value": 260000, "text": "260000 kbit/s"},
        "guaranteed_bit_rate_for_downlink_kbps": {"value": 0, "text": "0 kbit/s"}})"},
    {"TFT packet filter components", 0, "7200c5060d0140fe01ff004a000000000100122131800e10c0a80001ffffff003011501f90",
     "tft", "/packet_filters/0/components", R"([
        {"component_type_identifier": {"value": 16, "text": "IPv4 remote address type"},
         "ipv4_address": "192.168.0.1", "subnet_mask": "255.255.255.0"},
        {"component_type_identifier": {"value": 48, "text": "Protocol identifier/Next header type"},
         "protocol_identifier_next_header": 17},
        {"component_type_identifier": {"value": 80, "text": "Single remote port type"}, "port": 8080}])"},
    {"PCO DNS server address", 0, "6200cd24271580000d040808080880210a0300000a810608080404",
     "protocol_configuration_options", "/containers/0/ipv4_address", R"("8.8.8.8")"},
    {"PCO IPCP primary DNS server", 0, "6200cd24271580000d040808080880210a0300000a810608080404",
     "protocol_configuration_options", "/containers/1/ipcp_packet/options/0/primary_dns_server", R"("8.8.4.4")"},
    {"ESM message container as the nested ESM message", 0,
     "074201e0062402f801000100265201c10503488740780e7777772e65757265636f6d2e66720d03c0a8023c022170ffc0a8023c500bf6"
     "02f80101020f00000001", "esm_message_container", "/message/name", R"("activate_default_eps_bearer_context_request")"},
    {"PDN address inside the nested message", 0,
     "074201e0062402f801000100265201c10503488740780e7777772e65757265636f6d2e66720d03c0a8023c022170ffc0a8023c500bf6"
     "02f80101020f00000001", "pdn_address", "/pdn_ipv4", R"("192.168.2.60")"},
    {"APN as dotted labels", 1, "0201d0112811076163636f756e7408696e7465726e6574", "access_point_name", "/apn",
     R"("account.internet")"},
    {"integrity protected: the inner message", 0, "17aabbccdd050761490100", nullptr, "/message/message/name",
     R"("emm_information")"},
    {"ciphered: the inner octets", 0, "27aabbccdd050761490100", nullptr, "/message/ciphered_octets",
     R"("0761490100")"},
    {"ciphered: no inner message", 0, "27aabbccdd050761490100", nullptr, "/message/message", "null"},
    {"ciphered: the facts are there", 0, "27aabbccdd050761490100", nullptr, "/message/ciphering", R"({
        "ciphered": true, "body": "left_ciphered",
        "reason": "no security context: the ciphering algorithm and key are not known",
        "algorithm": null, "integrity_algorithm": null, "count": null, "key_source": null,
        "mac": "not_checked", "expected_mac": null, "mac_reason": "no integrity key"})"},
    {"ciphered with EEA0: the inner message", 0, "27aabbccdd050761490100", nullptr, "/message/message/name",
     R"("emm_information")", CORVUNA_VIEW_NULL_CIPHERING},
    {"ciphered with EEA0: the facts say so", 0, "27aabbccdd050761490100", nullptr, "/message/ciphering/algorithm",
     R"j({"value": 0, "text": "EPS encryption algorithm EEA0 (null ciphering algorithm)"})j",
     CORVUNA_VIEW_NULL_CIPHERING},
    {"SERVICE REQUEST", 1, "c741abcd", "ksi_and_sequence_number", "",
     R"({"ksi": {"value": 2, "text": "key set 2"}, "sequence_number_short": 1})"},
    {"SERVICE REQUEST: a message with its name", 1, "c741abcd", nullptr, "/message/name", R"("service_request")"},
    {"unknown IEs by TS 24.007 11.2.4: TLV-E, single octet, TLV", 0, "0201d97b0002abcd953001ff", nullptr,
     "/message/ies", R"([
        {"ie": "unknown_ie", "iei": 123, "offset": 3, "length": 5, "value": {"octets": "7b0002abcd"}},
        {"ie": "unknown_ie", "iei": 149, "offset": 8, "length": 1, "value": {"octets": "95"}},
        {"ie": "unknown_ie", "iei": 48, "offset": 9, "length": 3, "value": {"octets": "3001ff"}}])"},
    {"an IE repeated", 0, "6200cd24270180270180", nullptr, "/message/ies/2",
     R"({"ie": "repeated_ie", "iei": 39, "offset": 7, "length": 3, "value": {"octets": "270180"}})"},
    {"message shorter than its mandatory part", 1, "0741710831012098802351f0", nullptr, "/stopped",
     R"({"offset": 12, "ie": "ue_network_capability", "reason": "message ends inside the IE's length"})"},
    {"IE running past the message", 1, "0201d01127208000", nullptr, "/stopped",
     R"j({"offset": 4, "ie": "protocol_configuration_options",
        "reason": "IE of 32 value octets runs past the end of the message (2 remain)"})j"},
    {"IE length outside its range", 1, "0741710831012098802351f0018000040201d031", nullptr, "/stopped",
     R"({"offset": 12, "ie": "ue_network_capability", "reason": "length 1 outside 2..13"})"},
    {"unknown message type", 0, "07ff", nullptr, "/result", R"("unknown_message")"},
    {"another protocol", 0, "0603", nullptr, "/result", R"("not_nas")"},
    {"no octets", 0, "", nullptr, "/result", R"("not_nas")"},
    // TS 24.301 9.9.3.0B: PNB-CIoT bits 4-3, SAF bit 2, AUTV bit 1.
    {"additional update type 9", 1, "0748000bf600f11000010100000001f9", "additional_update_type", "", R"({
        "preferred_ciot_network_behaviour_pnb_ciot": {"value": 2, "text": "User plane CIoT EPS optimization"},
        "signalling_active_flag_saf": {"value": 0, "text": "Keeping the NAS signalling connection is not required"},
        "additional_update_type_value_autv": {"value": 1, "text": "SMS only"}})"},
    {"additional update type 5", 1, "0748000bf600f11000010100000001f5", "additional_update_type",
     "/preferred_ciot_network_behaviour_pnb_ciot/value", "1"},
    // TS 24.301 9.9.3.7: bit 4 is spare towards the UE.
    {"detach type towards the UE", 0, "074509", "detach_type", "",
     R"({"type_of_detach": {"value": 1, "text": "re-attach required"}})"},
    {"detach type from the UE", 1, "07450908", "detach_type", "/switch_off", R"({"value": 1, "text": "Switch off"})"},
    // An IMSI digit 0xF (octet 5's low half, the sixth digit) is no digit.
    {"IMSI digit that is no digit", 1, "0756082180010f001032f4", nullptr, "/errors/0",
     R"({"offset": 6, "ie": "mobile_identity", "reason": "IMSI digit 6 is 0xf, not a decimal digit"})"},
    {"IMSI digit that is no digit: shown as ?", 1, "0756082180010f001032f4", "mobile_identity", "/imsi",
     R"("20810?00001234")"},
    {"IMSI digit that is no digit: the result", 1, "0756082180010f001032f4", nullptr, "/result",
     R"("decoded_with_errors")"},
    // TS 24.301 9.9.4.3: bit rate octet 0 from the UE and from the network.
    {"bit rate 0 from the UE", 1, "0201d40501000509000000 00", "required_traffic_flow_qos",
     "/maximum_bit_rate_for_uplink_kbps",
     R"({"value": null, "text": "subscribed maximum bit rate"})"},
    {"bit rate 0 from the network", 0, "7200c5060d0140fe01ff004a000000000100122131800e10c0a80001ffffff003011501f90",
     "eps_qos", "/guaranteed_bit_rate_for_downlink_kbps", R"({"value": 0, "text": "0 kbit/s"})"},
    {"bit rate from the extended octet", 0,
     "7200c5060d0140fe01ff004a000000000100122131800e10c0a80001ffffff003011501f90", "eps_qos",
     "/maximum_bit_rate_for_downlink_kbps", R"({"value": 16000, "text": "16000 kbit/s"})"},
    // TS 24.007 11.2.3.1.3: a TI of 7 or more in the extension octet.
    {"transaction identifier extension octet", 0, "5201c1010901000501 0a0000015d02708a", "transaction_identifier", "",
     R"({"ti_flag": {"value": 0, "text": "The message is sent from the side that originates the TI"},
         "tio": {"value": 7, "text": "The TI value is given by the TIE in octet 4"},
         "extension": {"value": 1, "text": "last octet of the TI"},
         "tie": {"value": 10, "text": "TI value"}})"},
    // TS 24.008 10.5.6.3: an operator-specific container is its octets.
    {"operator-specific PCO container", 0, "6200cd24270780ff0103aabbcc", "protocol_configuration_options",
     "/containers/0", R"({"container_identifier": {"value": 65281, "text": "Operator specific use"}, "length": 3,
        "contents": "aabbcc"})"},
    // TS 24.301 9.9.4.9: an IPv6 interface identifier is no address.
    {"PDN address IPv6", 0, "5201c1010901000902 0000000000000001", "pdn_address", "/pdn_ipv6_interface_identifier",
     R"("0000000000000001")"},
    // TS 24.008 10.5.5.12 octet 4 (value octet 4).
    {"MS network capability octet 4", 1, "0741710831012098802351f002804000040201d0313104e5e0340b", 
     "ms_network_capability", "/dual_connectivity_of_e_utra_with_nr_capability", "true"},
    // TS 24.301 9.9.3.53: 5G-EA and 5G-IA.
    {"UE additional security capability", 1, "0741710831012098802351f002804000040201d0316f04f0007000",
     "ue_additional_security_capability", "/128_5g_ia3", "true"},
    // TS 24.008 10.5.5.31: the NRI, ten bits over two octets.
    {"TMSI based NRI container", 1, "0741710831012098802351f002804000040201d031100200c0", "tmsi_based_nri_container",
     "/nri_container_value", "3"},
};

TEST(View, ValuesFollowTheCodingRules) {
    for (const ValueCase& c : kValueCases) {
        SCOPED_TRACE(c.what);
        const json view = JsonOf(c.direction, c.hex, c.options);
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

TEST(View, ResultCodesMatchTheResultMember) {
    const struct {
        int direction;
        const char* hex;
        int result;
    } cases[] = {
        {0, "0761490100", CORVUNA_VIEW_DECODED},
        {1, "0741710831012098802351f0", CORVUNA_VIEW_DECODED_WITH_ERRORS},
        {0, "07ff", CORVUNA_VIEW_UNKNOWN_MESSAGE},
        {0, "0603", CORVUNA_VIEW_NOT_NAS},
        {0, "27aabbccdd050761490100", CORVUNA_VIEW_CIPHERED},
    };
    static const char* const kNames[] = {"decoded", "decoded_with_errors", "unknown_message", "not_nas", "ciphered"};
    for (const auto& c : cases) {
        std::vector<char> buffer(4096);
        const std::vector<uint8_t> octets = Hex(c.hex);
        for (int format : {CORVUNA_VIEW_JSON, CORVUNA_VIEW_TEXT}) {
            EXPECT_EQ(CorvunaDecodeView(c.direction, octets.data(), static_cast<int>(octets.size()), format, 0,
                                        buffer.data(), buffer.size(), nullptr),
                      c.result)
                << c.hex;
        }
        EXPECT_EQ(JsonOf(c.direction, c.hex)["result"], kNames[c.result]) << c.hex;
    }
}

TEST(View, ArgumentsAndBuffers) {
    const std::vector<uint8_t> m = Hex("0761490100");
    char small[8] = "xxxxxxx";
    size_t needed = 0;
    EXPECT_EQ(CorvunaDecodeView(2, m.data(), 5, CORVUNA_VIEW_JSON, 0, small, sizeof small, &needed),
              CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(CorvunaDecodeView(0, m.data(), 5, 7, 0, small, sizeof small, &needed), CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(CorvunaDecodeView(0, m.data(), 5, CORVUNA_VIEW_JSON, 0x80, small, sizeof small, &needed),
              CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(CorvunaDecodeView(0, nullptr, 5, CORVUNA_VIEW_JSON, 0, small, sizeof small, &needed),
              CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(CorvunaDecodeView(0, m.data(), 5, CORVUNA_VIEW_JSON, 0, nullptr, 64, &needed), CORVUNA_ERR_ARGUMENT);
    EXPECT_EQ(small[0], 'x');  // nothing written on an argument error
    EXPECT_EQ(CorvunaDecodeView(0, m.data(), 5, CORVUNA_VIEW_JSON, 0, small, sizeof small, &needed),
              CORVUNA_ERR_NO_ROOM);
    EXPECT_EQ(small[0], '\0');
    std::vector<char> exact(needed);
    EXPECT_EQ(CorvunaDecodeView(0, m.data(), 5, CORVUNA_VIEW_JSON, 0, exact.data(), exact.size(), nullptr),
              CORVUNA_VIEW_DECODED);
    EXPECT_EQ(std::string(exact.data()).size() + 1, needed);
}

// Every message of the message type tables decodes from its mandatory part
// (each IE at its least length, zero-filled) without falling back to
// "unknown message", and the messages beyond the legacy dispatch are there.
TEST(View, EveryMessageOfTheTablesDecodes) {
    std::vector<std::string> names;
    for (const view::MessageLayout& layout : view::eps::kMessageTable.layouts) {
        names.emplace_back(layout.name.textView());
        std::vector<uint8_t> m;
        if (layout.protocol == 7) {
            m = {0x07, layout.type};
        } else {
            m = {0x02, 0x01, layout.type};
        }
        for (const view::IeRow& row : layout.ies) {
            if (row.format >= view::IeFormat::kT) break;
            switch (row.format) {
                case view::IeFormat::kHalfV:
                    m.push_back(0);  // two half octets share it; one too many is walked as optional
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
        const std::string text = ViewOf(direction, m, CORVUNA_VIEW_JSON);
        ASSERT_EQ(CheckViewJson(text), "") << text;
        const json view = json::parse(text);
        EXPECT_NE(view["result"], "unknown_message") << names.back();
        EXPECT_EQ(view["message"]["message_type"]["value"], layout.type) << names.back();
        EXPECT_EQ(CheckViewText(ViewOf(direction, m, CORVUNA_VIEW_TEXT)), "") << names.back();
    }
    for (const char* name :
         {"Control plane service request", "Service accept", "Downlink generic NAS transport",
          "Uplink generic NAS transport", "Notification", "ESM dummy message", "Remote UE report",
          "Remote UE report response", "ESM data transport", "Detach request"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
}

// Over the corpus: both outputs well formed, every message decoded, and the
// IEs of each message laid end to end inside it.
TEST(View, CorpusOutputsAreWellFormedAndDecoded) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    size_t withErrors = 0;
    for (const CorpusMessage& m : corpus) {
        const std::string text = ViewOf(m.direction, m.octets, CORVUNA_VIEW_TEXT);
        ASSERT_EQ(CheckViewText(text), "") << m.name << "\n" << text;
        const std::string js = ViewOf(m.direction, m.octets, CORVUNA_VIEW_JSON);
        ASSERT_EQ(CheckViewJson(js), "") << m.name << "\n" << js;
        const json view = json::parse(js);
        EXPECT_NE(view["result"], "unknown_message") << m.name;
        EXPECT_NE(view["result"], "not_nas") << m.name;
        if (view["result"] != "decoded") ++withErrors;
        size_t end = 0;
        for (const json& ie : view["message"].value("ies", json::array())) {
            const size_t offset = ie["offset"], length = ie["length"];
            // Two half-octet IEs share an octet.
            EXPECT_GE(offset + (length == 1 ? 1 : 0), end) << m.name;
            EXPECT_LE(offset + length, m.octets.size()) << m.name;
            end = offset + length;
        }
    }
    // The three corpus messages whose APN is plain text instead of labels.
    EXPECT_EQ(withErrors, 3u);
}

// The largest outputs come from inputs of thousands of tiny entries; the
// output stays within the published bound, and past the point where it
// would not, decoding stops and says so.
TEST(View, OutputStaysWithinItsBound) {
    const auto fill = [](std::vector<uint8_t> m, std::vector<uint8_t> unit, size_t total) {
        while (m.size() + unit.size() <= total) m.insert(m.end(), unit.begin(), unit.end());
        return m;
    };
    const auto tlve = [](uint8_t iei, std::vector<uint8_t> value) {
        std::vector<uint8_t> ie = {iei, static_cast<uint8_t>(value.size() >> 8), static_cast<uint8_t>(value.size())};
        ie.insert(ie.end(), value.begin(), value.end());
        return ie;
    };
    // PDN CONNECTIVITY REQUEST with extended PCO of empty containers whose
    // name is the longest.
    std::vector<uint8_t> epco = {0x02, 0x01, 0xD0, 0x11};
    const std::vector<uint8_t> containers = tlve(0x7B, fill({0x80}, {0x00, 0x24, 0x00}, CORVUNA_MAX_VIEW_INPUT - 7));
    epco.insert(epco.end(), containers.begin(), containers.end());
    // One-octet unknown IEs, and the same inside two integrity-protected
    // headers around an ATTACH REQUEST's ESM message container: the deepest
    // indentation of the text tree.
    const std::vector<uint8_t> oneOctet = fill({0x02, 0x01, 0xD9}, {0x95}, CORVUNA_MAX_VIEW_INPUT);
    std::vector<uint8_t> deep = {0x17, 1, 2, 3, 4, 5, 0x17, 1, 2, 3, 4, 5};
    const std::vector<uint8_t> attach = Hex("0741710831012098802351f00280 40");
    deep.insert(deep.end(), attach.begin(), attach.end());
    const std::vector<uint8_t> inner = fill({0x02, 0x01, 0xD0, 0x11}, {0x95}, CORVUNA_MAX_VIEW_INPUT - deep.size() - 2);
    deep.push_back(static_cast<uint8_t>(inner.size() >> 8));
    deep.push_back(static_cast<uint8_t>(inner.size()));
    deep.insert(deep.end(), inner.begin(), inner.end());
    const struct {
        const char* what;
        const std::vector<uint8_t>& octets;
        int direction;
    } cases[] = {{"extended PCO", epco, 1}, {"one-octet IEs", oneOctet, 0}, {"nested one-octet IEs", deep, 1}};
    for (const auto& c : cases) {
        for (int format : {CORVUNA_VIEW_JSON, CORVUNA_VIEW_TEXT}) {
            SCOPED_TRACE(std::string(c.what) + (format == CORVUNA_VIEW_JSON ? " as JSON" : " as text"));
            ASSERT_LE(c.octets.size(), static_cast<size_t>(CORVUNA_MAX_VIEW_INPUT));
            std::vector<char> buffer(CORVUNA_MAX_VIEW_LENGTH + 1);
            size_t needed = 0;
            const int result = CorvunaDecodeView(c.direction, c.octets.data(), static_cast<int>(c.octets.size()),
                                                 format, 0, buffer.data(), buffer.size(), &needed);
            ASSERT_GE(result, 0);
            EXPECT_LE(needed, buffer.size());
            // Large outputs indeed: every case is at least 40 characters an octet.
            EXPECT_GE(needed, 40 * c.octets.size());
            const std::string out(buffer.data());
            const std::string problem = format == CORVUNA_VIEW_JSON ? CheckViewJson(out) : CheckViewText(out);
            EXPECT_EQ(problem, "");
            // Complete unless the limit stopped it, and then it says so.
            const bool stopped = out.find("output limit of 1048576 characters reached") != std::string::npos;
            EXPECT_EQ(result, stopped ? CORVUNA_VIEW_DECODED_WITH_ERRORS : CORVUNA_VIEW_DECODED);
        }
    }
}

TEST(View, ConcurrentViewsMatchTheSingleThreadedOutputs) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    std::vector<std::string> expected;
    for (const auto& m : corpus) expected.push_back(ViewOf(m.direction, m.octets, CORVUNA_VIEW_JSON));
    constexpr int kThreads = 4;
    std::atomic<size_t> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::vector<char> buffer(65536);
            for (size_t k = 0; k < corpus.size(); ++k) {
                const size_t i = (k + static_cast<size_t>(t) * corpus.size() / kThreads) % corpus.size();
                const auto& m = corpus[i];
                if (CorvunaDecodeView(m.direction, m.octets.data(), static_cast<int>(m.octets.size()),
                                      CORVUNA_VIEW_JSON, 0, buffer.data(), buffer.size(), nullptr) < 0 ||
                    expected[i] != buffer.data()) {
                    ++mismatches;
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0u);
}

}  // namespace
}  // namespace corvuna::test
