// SPDX-License-Identifier: Apache-2.0
// The TS 24.008 IEs of the standard view through CorvunaDecodeView: mobile
// station classmark 3, quality of service, DRX parameter, extended DRX
// parameters and the coded fields of classmark 2, MS network capability and
// EPS network feature support.  Every expected value was worked out from
// the bits the test writes and the tables of TS 24.008 / TS 24.301.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "corvuna/corvuna.h"
#include "support/test_support.h"
#include "support/view_check.h"

namespace corvuna::test {
namespace {

using nlohmann::json;

std::string ViewOf(int direction, std::string_view hex, int format) {
    const std::vector<uint8_t> octets = Hex(hex);
    std::vector<char> buffer(CORVUNA_MAX_VIEW_LENGTH + 1);
    size_t needed = 0;
    const int result = CorvunaDecodeView(direction, octets.data(), static_cast<int>(octets.size()), format, 0,
                                         buffer.data(), buffer.size(), &needed);
    EXPECT_GE(result, CORVUNA_VIEW_DECODED);
    return std::string(buffer.data());
}

json JsonOf(int direction, std::string_view hex) {
    const std::string text = ViewOf(direction, hex, CORVUNA_VIEW_JSON);
    const std::string problem = CheckViewJson(text);
    EXPECT_EQ(problem, "") << text;
    EXPECT_EQ(CheckViewText(ViewOf(direction, hex, CORVUNA_VIEW_TEXT)), "") << hex;
    return problem.empty() ? json::parse(text) : json::object();
}

// The value of the first IE named `ie`, nested messages included.
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

// Every field of an IE value as key=number: an enumerated field by its
// number, groups flattened.
void Flatten(const json& node, std::map<std::string, std::string>& out) {
    for (const auto& [key, value] : node.items()) {
        if (value.is_object() && value.contains("value")) {
            out[key] = value["value"].dump();
        } else if (value.is_object()) {
            Flatten(value, out);
        } else {
            out[key] = value.dump();
        }
    }
}

std::map<std::string, std::string> Pairs(std::string_view text) {
    std::map<std::string, std::string> pairs;
    std::istringstream in{std::string(text)};
    std::string token;
    while (in >> token) pairs[token.substr(0, token.find('='))] = token.substr(token.find('=') + 1);
    return pairs;
}

// An ATTACH REQUEST (IMSI, UE network capability, ESM container) that
// optional IEs are appended to; an ATTACH ACCEPT likewise.
constexpr char kAttach[] = "0741710831012098802351f002804000040201d031";
constexpr char kAttachAccept[] =
    "074201e0062402f801000100265201c10503488740780e7777772e65757265636f6d2e66720d03c0a8023c022170ffc0a8023c500bf6"
    "02f80101020f00000001";

std::string Attach(std::string_view ies) { return std::string(kAttach) + std::string(ies); }

// A classmark 3 written field by field (see the bits in each comment): the
// values of all of them, as key=number.
TEST(View24008, Classmark3FieldsInTheirOrder) {
    // 0 101 1010 0001 0100 | R 1 100 | HSCSD 1 01010 | UCS2 1, ExtMeas 0 |
    // 1 0010 1111 | 1 10101 | ECSD 1 00111 | 8-PSK 1 1 1 10 0 | GSM 400 1 11
    // 0010 | GSM 850 1 0100 | GSM 1900 0 | 1 0 1 | DTM 1 10 1 1 11 | 0 | 0 |
    // 1 1 | ext DTM 1 01 00 | high 1 10 | Iu 1 0011 1 00 | 1 | 11 01 |
    // T-GSM 400 1 10 0011 | 0 | 11 | 1 | DTM high 1 010 1 1 001 | 0 |
    // GSM 710 1 0101 | 0 | 1 0 | 1 1 0 1 1 | 10 11 1 | 01 11 | 1 0 1 0 1 0 1
    const json view = JsonOf(1, Attach("20145a14caa97eb3f9ca8bbce9a73b8deb2aadddea80"));
    const json* cm3 = FindIe(view, "mobile_station_classmark_3");
    ASSERT_NE(cm3, nullptr);
    std::map<std::string, std::string> fields;
    Flatten(*cm3, fields);
    EXPECT_EQ(fields, Pairs(R"j(band_1_supported=1 band_2_supported=0 band_3_supported=1 a5_7=1 a5_6=0 a5_5=1
        a5_4=0 associated_radio_capability_2=1 associated_radio_capability_1=4
        r_gsm_band_associated_radio_capability=4 hscsd_multi_slot_class=10 ucs2_treatment=1
        extended_measurement_capability=0 sms_value_quarter_timeslots=3 sm_value_quarter_timeslots=16
        ms_assisted_e_otd=1 ms_based_e_otd=0 ms_assisted_gps=1 ms_based_gps=0 ms_conventional_gps=1
        ecsd_multi_slot_class=7 modulation_capability=1 8_psk_rf_power_capability_1=2 gsm_400_bands_supported=3
        gsm_400_associated_radio_capability=2 gsm_850_associated_radio_capability=4
        umts_fdd_radio_access_technology_capability=1 umts_3_84_mcps_tdd_radio_access_technology_capability=0
        cdma_2000_radio_access_technology_capability=1 dtm_gprs_multi_slot_class=2 single_slot_dtm=1
        dtm_egprs_multi_slot_class=3 umts_1_28_mcps_tdd_radio_access_technology_capability=1
        geran_feature_package_1=1 extended_dtm_gprs_multi_slot_class=1 extended_dtm_egprs_multi_slot_class=0
        high_multislot_capability=2 length=3 flo_iu_capability=1 geran_feature_package_2=1
        gmsk_multislot_power_profile=3 8_psk_multislot_power_profile=1 t_gsm_400_bands_supported=2
        t_gsm_400_associated_radio_capability=3 downlink_advanced_receiver_performance=3
        dtm_enhancements_capability=1 dtm_gprs_high_multi_slot_class=2 offset_required=1
        dtm_egprs_high_multi_slot_class=1 repeated_acch_capability=0 gsm_710_associated_radio_capability=5
        ciphering_mode_setting_capability=1 additional_positioning_capabilities=0 e_utra_fdd_support=1
        e_utra_tdd_support=1 e_utra_measurement_and_reporting_support=0 priority_based_reselection_support=1
        utra_csg_cells_reporting=1 vamos_level=2 tighter_capability=3 selective_ciphering_of_downlink_sacch=1
        cs_to_ps_srvcc_from_geran_to_utra=1 cs_to_ps_srvcc_from_geran_to_e_utra=3 geran_network_sharing_support=1
        e_utra_wideband_rsrq_measurements_support=0 er_band_support=1
        utra_multiple_frequency_band_indicators_support=0 e_utra_multiple_frequency_band_indicators_support=1
        extended_tsc_set_capability_support=0 extended_earfcn_value_range=1)j"));
    // Texts that depend on more than the field's own bits.
    const std::pair<const char*, const char*> texts[] = {
        {"/associated_radio_capability_1/text", "Power class 4 (P-GSM)"},
        {"/associated_radio_capability_2/text", "Power class 1 (GSM 1800)"},
        {"/ms_measurement_capability/sm_value_quarter_timeslots/text", "16/4 timeslot (~2307 microseconds)"},
        {"/extended_dtm_gprs_multi_slot_class/text", "Multislot class 10 supported"},
        {"/extended_dtm_egprs_multi_slot_class/text", "Multislot class 11 supported"},
        {"/dtm_gprs_high_multi_slot_class/text", "Multislot class 37 supported"},
        {"/dtm_egprs_high_multi_slot_class/text", "Multislot class 36 supported"},
    };
    for (const auto& [pointer, text] : texts) EXPECT_EQ(cm3->at(json::json_pointer(pointer)), text) << pointer;
}

// Where the value ends: at a component boundary or in zero bits it is spare
// padding; after a bit set to 1 of a component, an error.
TEST(View24008, Classmark3CutShort) {
    const struct {
        const char* what;
        const char* ie;       // IEI, length and value
        const char* present;  // the last field decoded, or null
        const char* absent;   // the field after it, not decoded
        const char* error;    // or null
    } cases[] = {
        {"one band, value ends after the 8-PSK Struct presence bit 0", "2003400300", "extended_measurement_capability",
         "umts_fdd_radio_access_technology_capability", nullptr},
        {"value ends at DARP with a single 0 bit left", "200e5a14caa97eb3f9ca8bbce9a73b8c",
         "t_gsm_400_associated_radio_capability", "downlink_advanced_receiver_performance", nullptr},
        {"value ends at DARP with a single 1 bit left", "200e5a14caa97eb3f9ca8bbce9a73b8d",
         "t_gsm_400_associated_radio_capability", "downlink_advanced_receiver_performance",
         "classmark 3 ends inside Downlink Advanced Receiver Performance: 2 bits needed, 1 left"},
        {"8-PSK Struct said present in the last bit", "20020001", "extended_measurement_capability", "8_psk_struct",
         "classmark 3 ends inside Modulation Capability: 1 bit needed, 0 left"},
        {"two bands and no radio capabilities", "200150", nullptr, "multiband_supported",
         "classmark 3 ends inside Associated Radio Capability 2: 4 bits needed, 0 left"},
        {"P-GSM and E-GSM both", "20023000", nullptr, "multiband_supported",
         "Multiband supported indicates both P-GSM and E-GSM or R-GSM: no alternative of the classmark 3 structure "
         "matches"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const json view = JsonOf(1, Attach(c.ie));
        const json* cm3 = FindIe(view, "mobile_station_classmark_3");
        ASSERT_NE(cm3, nullptr);
        EXPECT_EQ(view["result"], c.error != nullptr ? "decoded_with_errors" : "decoded");
        const json& errors = view["errors"];
        EXPECT_EQ(errors.empty() ? "" : errors[0].value("reason", ""), c.error != nullptr ? c.error : "")
            << view.dump();
        if (c.present != nullptr) {
            EXPECT_TRUE(cm3->contains(c.present)) << cm3->dump();
        }
        EXPECT_FALSE(cm3->contains(c.absent)) << cm3->dump();
    }
    // A single band is GSM 1800 here: power class 3 of GSM 1800.
    const json oneBand = JsonOf(1, Attach("2003400300"));
    const json* cm3 = FindIe(oneBand, "mobile_station_classmark_3");
    ASSERT_NE(cm3, nullptr);
    EXPECT_EQ((*cm3)["associated_radio_capability_1"], json::parse(R"j({"value":3,"text":"Power class 3 (GSM 1800)"})j"));
    EXPECT_FALSE(cm3->contains("associated_radio_capability_2"));
    // Bits after the last field are spare; one set to 1 is shown.
    const json spare = JsonOf(1, Attach("20145a14caa97eb3f9ca8bbce9a73b8deb2aadddeac0"));
    cm3 = FindIe(spare, "mobile_station_classmark_3");
    ASSERT_NE(cm3, nullptr);
    EXPECT_EQ(cm3->value("spare_bits", ""), "1000000");
}

// The real classmark 3 values of the corpus: decoded without error, and
// the first two octets read back as the bands, A5 bits and radio
// capabilities they code.
TEST(View24008, CorpusClassmark3Values) {
    CORVUNA_REQUIRE_CORPUS(corpus);
    size_t seen = 0;
    for (const CorpusMessage& m : corpus) {
        const std::string hex = [&] {
            std::string h;
            static const char kDigits[] = "0123456789abcdef";
            for (uint8_t o : m.octets) h += {kDigits[o >> 4], kDigits[o & 0x0F]};
            return h;
        }();
        const json view = json::parse(ViewOf(m.direction, hex, CORVUNA_VIEW_JSON));
        for (const json& ie : view["message"].value("ies", json::array())) {
            if (ie.value("ie", "") != "mobile_station_classmark_3") continue;
            ++seen;
            const size_t at = ie["offset"].get<size_t>() + 2;
            const uint8_t o1 = m.octets.at(at), o2 = m.octets.at(at + 1);
            const json& v = ie["value"];
            EXPECT_TRUE(view["errors"].empty()) << m.name << " " << view["errors"].dump();
            EXPECT_EQ(v["multiband_supported"]["band_1_supported"]["value"], (o1 >> 4) & 1) << hex;
            EXPECT_EQ(v["multiband_supported"]["band_2_supported"]["value"], (o1 >> 5) & 1) << hex;
            EXPECT_EQ(v["multiband_supported"]["band_3_supported"]["value"], (o1 >> 6) & 1) << hex;
            EXPECT_EQ(v["a5_4"]["value"], o1 & 1) << hex;
            EXPECT_EQ(v["a5_7"]["value"], (o1 >> 3) & 1) << hex;
            if (((o1 >> 4) & 7) == 5 || ((o1 >> 4) & 7) == 6) {
                EXPECT_EQ(v["associated_radio_capability_2"]["value"], o2 >> 4) << hex;
                EXPECT_EQ(v["associated_radio_capability_1"]["value"], o2 & 0x0F) << hex;
            }
        }
    }
    EXPECT_GT(seen, 50u);
}

struct FieldCase {
    const char* what;
    int direction;
    std::string hex;
    const char* ie;
    const char* pointer;   // JSON pointer into the IE value
    const char* expected;  // JSON text
};

// Quality of service (MODIFY EPS BEARER CONTEXT REQUEST, New QoS). Value
// 15 51 0b 2b 97 7f fe 97 86 80 ff 11 4a 00 00 ba 3d 00 00 00: delay class
// 2, reliability 5, peak 5, precedence 1, mean 11, conversational, in
// order, erroneous not delivered, SDU code 151, MBR UL 7f (568), MBR DL fe
// with extended 4a (16000) and extended-2 3d (500000), BER 9, SDU error
// ratio 7, transfer delay code 33, priority 2, GBR UL 80 with extended ba
// (128000), GBR DL ff (0).
const std::string kQos = "6200c9301415510b2b977ffe978680ff114a0000ba3d000000";
// Value 2e c5 14 bc 9a 01 3f f8 fc 00 40 00: codings out of the tables.
const std::string kQosOdd = "6200c9300c2ec514bc9a013ff8fc004000";

const FieldCase kFieldCases[] = {
    {"QoS classes", 0, kQos, "new_qos", "", R"j({
        "delay_class": {"value": 2, "text": "Delay class 2"},
        "reliability_class": {"value": 5, "text": "Unacknowledged GTP, LLC, and RLC, Unprotected data"},
        "peak_throughput_octets_per_s": {"value": 16000, "text": "Up to 16 000 octet/s"},
        "precedence_class": {"value": 1, "text": "High priority"},
        "mean_throughput_octets_per_h": {"value": 200000, "text": "200 000 octet/h"},
        "traffic_class": {"value": 1, "text": "Conversational class"},
        "delivery_order": {"value": 1, "text": "With delivery order ('yes')"},
        "delivery_of_erroneous_sdus": {"value": 3, "text": "Erroneous SDUs are not delivered ('no')"},
        "maximum_sdu_size_octets": {"value": 1502, "text": "1502 octets"},
        "maximum_bit_rate_for_uplink_kbps": {"value": 568, "text": "568 kbit/s"},
        "maximum_bit_rate_for_downlink_kbps": {"value": 500000, "text": "500000 kbit/s"},
        "residual_bit_error_rate_ber": {"value": 9, "text": "6*10-8"},
        "sdu_error_ratio": {"value": 7, "text": "1*10-1"},
        "transfer_delay_ms": {"value": 1100, "text": "1100 ms"},
        "traffic_handling_priority": {"value": 2, "text": "Priority level 2"},
        "guaranteed_bit_rate_for_uplink_kbps": {"value": 128000, "text": "128000 kbit/s"},
        "guaranteed_bit_rate_for_downlink_kbps": {"value": 0, "text": "0 kbit/s"},
        "signalling_indication": {"value": 1, "text": "Optimised for signalling traffic"}})j"},
    {"QoS source statistics descriptor from the UE", 1, kQos, "new_qos", "/source_statistics_descriptor",
     R"j({"value": 1, "text": "speech"})j"},
    {"QoS delay class 5 read as 4", 0, kQosOdd, "new_qos", "/delay_class",
     R"j({"value": 5, "text": "Delay class 4 (best effort)"})j"},
    {"QoS peak throughput 12 read as class 1", 0, kQosOdd, "new_qos", "/peak_throughput_octets_per_s",
     R"j({"value": 1000, "text": "Up to 1 000 octet/s (unassigned value 12)"})j"},
    {"QoS precedence 5 read as normal", 0, kQosOdd, "new_qos", "/precedence_class",
     R"j({"value": 5, "text": "Normal priority"})j"},
    {"QoS 1 kbit/s", 0, kQosOdd, "new_qos", "/maximum_bit_rate_for_uplink_kbps", R"j({"value": 1, "text": "1 kbit/s"})j"},
    {"QoS BER 15", 0, kQosOdd, "new_qos", "/residual_bit_error_rate_ber", R"j({"value": 15, "text": "Reserved"})j"},
    {"QoS priority 0 from the network", 0, kQosOdd, "new_qos", "/traffic_handling_priority",
     R"j({"value": 0, "text": "Reserved"})j"},
    // DRX parameter: SPLIT PG CYCLE CODE 70 is 79; coefficient 9, T = 256;
    // non-DRX timer 7 is 64 s.
    {"DRX parameter", 1, Attach("5c4697"), "drx_parameter", "", R"j({
        "split_pg_cycle_code": {"value": 79, "text": "SPLIT PG CYCLE 79 (code 70)"},
        "cn_specific_drx_cycle_length_coefficient": {"value": 9, "text": "CN Specific DRX cycle length coefficient 9"},
        "drx_value_for_s1_mode_radio_frames": {"value": 256, "text": "T = 256 radio frames"},
        "split_on_ccch": {"value": 0, "text": "Split pg cycle on CCCH is not supported by the mobile station"},
        "non_drx_timer_seconds": {"value": 64, "text": "max. 64 sec non-DRX mode after transfer state"}})j"},
    {"SPLIT PG CYCLE CODE 0", 1, Attach("5c000b"), "drx_parameter", "/split_pg_cycle_code",
     R"j({"value": 704, "text": "704 (equivalent to no DRX)"})j"},
    {"SPLIT PG CYCLE CODE 64", 1, Attach("5c400b"), "drx_parameter", "/split_pg_cycle_code/value", "64"},
    {"SPLIT PG CYCLE CODE 65", 1, Attach("5c410b"), "drx_parameter", "/split_pg_cycle_code/value", "71"},
    {"SPLIT PG CYCLE CODE 98", 1, Attach("5c620b"), "drx_parameter", "/split_pg_cycle_code/value", "352"},
    {"SPLIT PG CYCLE CODE 99", 1, Attach("5c630b"), "drx_parameter", "/split_pg_cycle_code",
     R"j({"value": 1, "text": "Reserved code 99, interpreted as 1"})j"},
    {"non-DRX timer 3", 1, Attach("5c000b"), "drx_parameter", "/non_drx_timer_seconds/value", "4"},
    // Extended DRX parameters 4d: PTW 4, eDRX 13.
    {"eDRX 13, PTW 4", 1, Attach("6e014d"), "extended_drx_parameters", "", R"j({
        "paging_time_window": 4, "edrx_value": 13,
        "a_gb_mode": {"geran_edrx_cycle_length_duration_ms": {"value": 1883,
                          "text": "~1.88 s (value 1101 unassigned, read as 0000)"},
                      "number_of_51_mf_per_geran_edrx_cycle": 8},
        "iu_mode": {"paging_time_window_length_ms": {"value": 4000, "text": "4 s"},
                    "utran_edrx_cycle_length_duration_ms": {"value": 10240,
                        "text": "10.24 s (value 1101 unassigned, read as 0000)"}},
        "wb_s1_mode": {"paging_time_window_length_ms": {"value": 6400, "text": "6.4 s"},
                       "e_utran_edrx_cycle_length_duration_ms": {"value": 2621440, "text": "2621.44 s"},
                       "edrx_cycle_parameter_tedrx": 256},
        "nb_s1_mode": {"paging_time_window_length_ms": {"value": 12800, "text": "12.8 s"},
                       "e_utran_edrx_cycle_length_duration_ms": {"value": 2621440, "text": "2621.44 s"},
                       "edrx_cycle_parameter_tedrx": 256}})j"},
    {"eDRX 6 in NB-S1 mode read as 0010", 1, Attach("6e01f6"), "extended_drx_parameters", "/nb_s1_mode", R"j({
        "paging_time_window_length_ms": {"value": 40960, "text": "40.96 s"},
        "e_utran_edrx_cycle_length_duration_ms": {"value": 20480,
            "text": "20.48 s (value 0110 for WB-S1 mode only, read as 0010)"},
        "edrx_cycle_parameter_tedrx": 2})j"},
    {"eDRX 6 in A/Gb mode", 1, Attach("6e01f6"), "extended_drx_parameters", "/a_gb_mode", R"j({
        "geran_edrx_cycle_length_duration_ms": {"value": 97920, "text": "97.92 s"},
        "number_of_51_mf_per_geran_edrx_cycle": 416})j"},
    {"eDRX 6, PTW 15 in Iu mode", 1, Attach("6e01f6"), "extended_drx_parameters", "/iu_mode", R"j({
        "paging_time_window_length_ms": {"value": 20000, "text": "20 s"},
        "utran_edrx_cycle_length_duration_ms": {"value": 655360, "text": "655.36 s"}})j"},
    {"eDRX 14 in WB-S1 mode read as 1101", 1, Attach("6e020e07"), "extended_drx_parameters",
     "/wb_s1_mode/e_utran_edrx_cycle_length_duration_ms",
     R"j({"value": 2621440, "text": "2621.44 s (value 1110 for NB-S1 mode only, read as 1101)"})j"},
    {"eDRX 14 in NB-S1 mode", 1, Attach("6e020e07"), "extended_drx_parameters", "/nb_s1_mode/edrx_cycle_parameter_tedrx",
     "512"},
    {"octet 4 of extended DRX parameters", 1, Attach("6e020e07"), "extended_drx_parameters",
     "/extended_paging_time_window", "7"},
    {"eDRX 1, PTW 0 in Iu mode", 1, Attach("6e0101"), "extended_drx_parameters", "/iu_mode/paging_time_window_length_ms",
     R"j({"value": 0, "text": "0 s (PTW not used)"})j"},
    {"eDRX 0 in WB-S1 mode", 1, Attach("6e0100"), "extended_drx_parameters",
     "/wb_s1_mode/e_utran_edrx_cycle_length_duration_ms", R"j({"value": 5120, "text": "5.12 s"})j"},
    // Classmark 2 5b 10 80: RF power capability 3, SS screening indicator 1.
    {"classmark 2 RF power capability", 1, Attach("11035b1080"), "mobile_station_classmark_2", "/rf_power_capability",
     R"j({"value": 3, "text": "class 4 (reserved when the GSM 1800 or GSM 1900 band is used)"})j"},
    {"classmark 2 RF power capability 7", 1, Attach("11035f1080"), "mobile_station_classmark_2",
     "/rf_power_capability/text", R"j("RF power capability is irrelevant in this information element")j"},
    {"classmark 2 SS screening indicator", 1, Attach("11035b1080"), "mobile_station_classmark_2",
     "/ss_screen_indicator",
     R"j({"value": 1, "text": "capability of handling of ellipsis notation and phase 2 error handling"})j"},
    {"MS network capability SS screening indicator 2", 1, Attach("3103e9e034"), "ms_network_capability",
     "/ss_screening_indicator", R"j({"value": 2, "text": "for future use"})j"},
    {"CS-LCS 1", 0, std::string(kAttachAccept) + "640108", "eps_network_feature_support", "/cs_lcs",
     R"j({"value": 1, "text": "location services via CS domain supported"})j"},
    {"CS-LCS 2", 0, std::string(kAttachAccept) + "640110", "eps_network_feature_support", "/cs_lcs",
     R"j({"value": 2, "text": "location services via CS domain not supported"})j"},
};

TEST(View24008, FieldsFollowTheTables) {
    for (const FieldCase& c : kFieldCases) {
        SCOPED_TRACE(c.what);
        std::string hex = c.hex;
        std::erase(hex, ' ');
        const json view = JsonOf(c.direction, hex);
        const json* value = FindIe(view, c.ie);
        ASSERT_NE(value, nullptr) << view.dump();
        for (const json& error : view["errors"]) EXPECT_NE(error["ie"], c.ie) << error.dump();
        const json::json_pointer pointer(c.pointer);
        ASSERT_TRUE(value->contains(pointer)) << value->dump();
        EXPECT_EQ(value->at(pointer), json::parse(c.expected)) << value->dump();
    }
}

// Quantities with no quantity in their coding say what the coding means:
// the subscribed value from the UE, reserved from the network.
TEST(View24008, CodingsWithoutAQuantity) {
    const std::string zeros = "6200c9300c000000000000000000000000";
    const struct {
        int direction;
        std::string hex;
        const char* line;
    } cases[] = {
        {1, zeros, "Peak throughput: Subscribed peak throughput\n"},
        {0, zeros, "Peak throughput: Reserved\n"},
        {1, zeros, "Maximum SDU size: Subscribed maximum SDU size\n"},
        {0, zeros, "Maximum SDU size: Reserved\n"},
        {1, zeros, "Guaranteed bit rate for downlink: Subscribed guaranteed bit rate for downlink\n"},
        {0, zeros, "Maximum bit rate for uplink: Reserved\n"},
        {1, zeros, "Transfer delay: Subscribed transfer delay\n"},
        {1, zeros, "Delay class: Subscribed delay class (0)\n"},
        {0, zeros, "Traffic class: Reserved (0)\n"},
        {0, kQosOdd, "Mean throughput: Best effort (unassigned value 20)\n"},
        {0, kQosOdd, "Maximum SDU size: Reserved\n"},
        {0, kQosOdd, "Transfer delay: Reserved\n"},
        {1, Attach("5c0050"), "CN Specific DRX cycle length coefficient: Not specified by the MS"},
        {1, Attach("5c0050"), "DRX value for S1 mode: DRX value not specified by the MS\n"},
        {1, Attach("6e0101"),
         "E-UTRAN eDRX cycle length duration: value 0001 for WB-S1 mode only: the IE is taken as not included\n"},
        {1, Attach("6e0100"), "eDRX cycle parameter 'TeDRX': Not used"},
    };
    for (const auto& c : cases) {
        const std::string text = ViewOf(c.direction, c.hex, CORVUNA_VIEW_TEXT);
        EXPECT_NE(text.find(c.line), std::string::npos) << c.line << "\n" << text;
    }
    // From the network, the source statistics descriptor is spare.
    const json view = JsonOf(0, zeros);
    const json* qos = FindIe(view, "new_qos");
    ASSERT_NE(qos, nullptr);
    EXPECT_FALSE(qos->contains("source_statistics_descriptor"));
}

}  // namespace
}  // namespace corvuna::test
