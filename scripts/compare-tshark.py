#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Compares the standard view of corvuna with tshark, message by message.

Writes the messages of a DIRECTION<TAB>HEX file (the real-message corpus) as a
pcap of raw NAS (user link type 147, which tshark's user_dlts table maps to
nas-eps_plain), runs `tshark -T json` over it and `corvuna -T json` over the
same messages, and compares the fields that both decode: message type, EPS
bearer identity and PTI, identity digits and type, MCC and MNC, TAC, TAI
lists, EMM and ESM causes, timers and their units, APN, PDN type and address,
QCI and every bit rate, APN-AMBR, network names, time zone and time, the
nested ESM message of the attach messages, and the fields of the mobile
station classmark 3.  tshark's JSON carries coded
values where it does not compute one (most bit rates, the time zone octet):
those are turned into values by the rules of TS 24.301 and TS 24.008 here,
and the sign of a time zone is read from tshark's PDML.

With --5gs, CORPUS is a folder of tshark's listings of 5G captures
(*.nas5g.tsv: direction in column dir, octets in column nas_hex): the NAS
PDUs are written in the same user link type mapped to nas-5gs, tshark reads
the ciphered bodies with its null-decipher preference and corvuna with
--null-ciphering (the captures use 5G-EA0), and the compared fields are those
of TS 24.501: message types, security header types, PDU session identity
and PTI, identities (SUCI fields, 5G-GUTI parts, 5G-S-TMSI, IMEISV), PLMNs,
TAIs and TAI lists, S-NSSAIs, 5GMM and 5GSM causes, timers, DNN, QoS rules,
packet filters, QFIs and 5QIs, session-AMBR in kbit/s, NAS security
algorithms, PDU session type, SSC mode and PDU address.

Every disagreement must be listed, with the reason tshark is wrong, in the
adjudication file (HEX<TAB>FIELD<TAB>REASON lines, the clause of the
standard that decides in the reason); any other disagreement fails.  The
lines of 5GS messages (first octet 0x7E or 0x2E) belong to the 5GS mode, the
others to the EPS mode.  Prints the agreement per field.

    compare-tshark.py CORPUS.tsv CORVUNA ADJUDICATED.tsv [--tshark tshark]
    compare-tshark.py --5gs CAPTURES-5G-FOLDER CORVUNA ADJUDICATED.tsv
"""
import argparse
import collections
import datetime
import glob
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree

USER_DLT = 147
UAT = 'uat:user_dlts:"User 0 (DLT=147)","nas-eps_plain","0","","0",""'
UAT_5GS = 'uat:user_dlts:"User 0 (DLT=147)","nas-5gs","0","","0",""'


def read_messages(path):
    messages = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\r\n").split("\t")
            if len(fields) < 2 or fields[0] not in ("0", "1"):
                continue
            messages.append((int(fields[0]), fields[1].lower()))
    return messages


def read_listings(folder):
    """(direction, hex) of every NAS PDU of tshark's *.nas5g.tsv listings."""
    messages = []
    for path in sorted(glob.glob(os.path.join(folder, "*.nas5g.tsv"))):
        with open(path, encoding="utf-8") as f:
            columns = None
            for line in f:
                fields = line.rstrip("\r\n").split("\t")
                if line.startswith("#"):
                    columns = [c.lstrip("#") for c in fields]
                    continue
                if columns is None or len(fields) < len(columns):
                    continue
                row = dict(zip(columns, fields))
                messages.append((int(row["dir"]), row["nas_hex"].lower()))
    return messages


def write_pcap(path, messages):
    with open(path, "wb") as out:
        out.write(struct.pack("<IHHiIII", 0xA1B2C3D4, 2, 4, 0, 0, 65535, USER_DLT))
        for i, (_, hexstring) in enumerate(messages):
            octets = bytes.fromhex(hexstring)
            out.write(struct.pack("<IIII", 1700000000 + i, 0, len(octets), len(octets)))
            out.write(octets)


# ---------------------------------------------------------------------------
# Rules of the standard for coded values tshark's JSON leaves coded.

def base_rate(v):
    """Kbit/s of a bit rate octet (TS 24.301 9.9.4.3, TS 24.008 10.5.6.5)."""
    if v == 0:
        return None
    if v <= 63:
        return v
    if v <= 127:
        return 64 + (v - 64) * 8
    if v <= 254:
        return 576 + (v - 128) * 64
    return 0


def extended_rate(v):
    if v <= 74:
        return 8600 + v * 100
    if v <= 186:
        return 16000 + (v - 74) * 1000
    if v <= 250:
        return 128000 + (v - 186) * 2000
    return 256000


def rate(base, ext=None, ext2=None):
    if ext2:
        if ext2 <= 0x3D:
            return 256000 + ext2 * 4000
        if ext2 <= 0xA1:
            return 500000 + (ext2 - 0x3D) * 10000
        if ext2 <= 0xF6:
            return 1500000 + (ext2 - 0xA1) * 100000
        return 10000000
    if ext:
        return extended_rate(ext)
    return base_rate(base)


def time_zone_quarters(showname):
    """Signed quarters of an hour of tshark's "Timezone: GMT + 5 hours 30 minutes"."""
    match = re.search(r"GMT ([+-]) (\d+) hours (\d+) minutes", showname)
    if not match:
        return None
    quarters = int(match.group(2)) * 4 + int(match.group(3)) // 15
    return -quarters if match.group(1) == "-" else quarters


def tshark_time_zones(tshark, pcap):
    """Time zones per packet: tshark's JSON has only the magnitude, its PDML the sign."""
    pdml = subprocess.run([tshark, "-n", "-r", pcap, "-o", UAT, "-T", "pdml"], check=True,
                          capture_output=True).stdout
    zones = []
    for packet in xml.etree.ElementTree.fromstring(pdml).iter("packet"):
        zones.append({time_zone_quarters(f.get("showname", "")) for f in packet.iter("field")
                      if f.get("name") == "gsm_a.dtap.timezone"})
    return zones


# Mobile station classmark 3 (TS 24.008 10.5.1.7): tshark's field and the
# key of the same field in corvuna's view.  Both give the field as coded,
# except SMS_VALUE and SM_VALUE, which corvuna gives as quarters of a
# timeslot (the code plus one).
CLASSMARK3 = {
    "gsm_a.classmark3.pgsmSupported": "band_1_supported",
    "gsm_a.classmark3.egsmSupported": "band_2_supported",
    "gsm_a.classmark3.gsm1800Supported": "band_3_supported",
    "gsm_a.A5_7_algorithm_sup": "a5_7",
    "gsm_a.A5_6_algorithm_sup": "a5_6",
    "gsm_a.A5_5_algorithm_sup": "a5_5",
    "gsm_a.A5_4_algorithm_sup": "a5_4",
    "gsm_a.classmark3.ass_radio_cap2": "associated_radio_capability_2",
    "gsm_a.classmark3.ass_radio_cap1": "associated_radio_capability_1",
    "gsm_a.classmark3.r_capabilities": "r_gsm_band_associated_radio_capability",
    "gsm_a.classmark3.multislot_cap": "hscsd_multi_slot_class",
    "gsm_a.classmark3.ext_meas_cap": "extended_measurement_capability",
    "gsm_a.classmark3.sms_value": "sms_value_quarter_timeslots",
    "gsm_a.classmark3.sm_value": "sm_value_quarter_timeslots",
    "gsm_a.classmark3.ms_assisted_e_otd": "ms_assisted_e_otd",
    "gsm_a.classmark3.ms_based_e_otd": "ms_based_e_otd",
    "gsm_a.classmark3.ms_assisted_gps": "ms_assisted_gps",
    "gsm_a.classmark3.ms_based_gps": "ms_based_gps",
    "gsm_a.classmark3.ms_conventional_gps": "ms_conventional_gps",
    "gsm_a.classmark3.ecsd_multi_slot_class": "ecsd_multi_slot_class",
    "gsm_a.classmark3.modulation_capability": "modulation_capability",
    "gsm_a.classmark3.8_psk_rf_power_capability_1": "8_psk_rf_power_capability_1",
    "gsm_a.classmark3.8_psk_rf_power_capability_2": "8_psk_rf_power_capability_2",
    "gsm_a.classmark3.gsm_400_bands_supported": "gsm_400_bands_supported",
    "gsm_a.classmark3.gsm_400_assoc_radio_cap": "gsm_400_associated_radio_capability",
    "gsm_a.classmark3.gsm_850_assoc_radio_cap": "gsm_850_associated_radio_capability",
    "gsm_a.classmark3.gsm_1900_assoc_radio_cap": "gsm_1900_associated_radio_capability",
    "gsm_a.classmark3.umts_fdd_rat_cap": "umts_fdd_radio_access_technology_capability",
    "gsm_a.classmark3.umts_384_mcps_tdd_rat_cap": "umts_3_84_mcps_tdd_radio_access_technology_capability",
    "gsm_a.classmark3.cdma_2000_rat_cap": "cdma_2000_radio_access_technology_capability",
    "gsm_a.classmark3.dtm_gprs_multi_slot_class": "dtm_gprs_multi_slot_class",
    "gsm_a.classmark3.single_slot_dtm_supported": "single_slot_dtm",
    "gsm_a.classmark3.dtm_egprs_multi_slot_class": "dtm_egprs_multi_slot_class",
    "gsm_a.classmark3.gsm_band": "gsm_band",
    "gsm_a.classmark3.gsm_750_assoc_radio_cap": "gsm_750_associated_radio_capability",
    "gsm_a.classmark3.umts_128_mcps_tdd_rat_cap": "umts_1_28_mcps_tdd_radio_access_technology_capability",
    "gsm_a.classmark3.geran_feature_package_1": "geran_feature_package_1",
    "gsm_a.classmark3.ext_dtm_gprs_multi_slot_class": "extended_dtm_gprs_multi_slot_class",
    "gsm_a.classmark3.ext_dtm_egprs_multi_slot_class": "extended_dtm_egprs_multi_slot_class",
    "gsm_a.classmark3.high_multislot_cap": "high_multislot_capability",
    "gsm_a.classmark3.geran_iu_mode_cap.flo_iu_cap": "flo_iu_capability",
    "gsm_a.classmark3.geran_feature_package_2": "geran_feature_package_2",
    "gsm_a.classmark3.gmsk_multislot_power_prof": "gmsk_multislot_power_profile",
    "gsm_a.classmark3.8_psk_multislot_power_prof": "8_psk_multislot_power_profile",
    "gsm_a.classmark3.t_gsm_400_bands_supported": "t_gsm_400_bands_supported",
    "gsm_a.classmark3.t_gsm_400_assoc_radio_cap": "t_gsm_400_associated_radio_capability",
    "gsm_a.classmark3.t_gsm_900_assoc_radio_cap": "t_gsm_900_associated_radio_capability",
    "gsm_a.classmark3.downlink_adv_receiver_perf": "downlink_advanced_receiver_performance",
    "gsm_a.classmark3.dtm_enhancements_capability": "dtm_enhancements_capability",
    "gsm_a.classmark3.offset_required": "offset_required",
    "gsm_a.classmark3.dtm_egprs_high_multi_slot_class": "dtm_egprs_high_multi_slot_class",
    "gsm_a.classmark3.repeated_acch_cap": "repeated_acch_capability",
    "gsm_a.classmark3.gsm_710_assoc_radio_cap": "gsm_710_associated_radio_capability",
    "gsm_a.classmark3.t_gsm_810_assoc_radio_cap": "t_gsm_810_associated_radio_capability",
    "gsm_a.classmark3.ciphering_mode_setting_cap": "ciphering_mode_setting_capability",
    "gsm_a.classmark3.additional_positioning_caps": "additional_positioning_capabilities",
    "gsm_a.classmark3.e_utra_fdd_support": "e_utra_fdd_support",
    "gsm_a.classmark3.e_utra_tdd_support": "e_utra_tdd_support",
    "gsm_a.classmark3.e_utra_meas_and_report_support": "e_utra_measurement_and_reporting_support",
    "gsm_a.classmark3.prio_based_resel_support": "priority_based_reselection_support",
    "gsm_a.classmark3.utra_csg_cells_reporting": "utra_csg_cells_reporting",
    "gsm_a.classmark3.vamos_level": "vamos_level",
    "gsm_a.classmark3.tighter_cap": "tighter_capability",
    "gsm_a.classmark3.selective_ciph_down_sacch": "selective_ciphering_of_downlink_sacch",
    "gsm_a.classmark3.cs_to_ps_srvcc_geran_to_utra": "cs_to_ps_srvcc_from_geran_to_utra",
    "gsm_a.classmark3.cs_to_ps_srvcc_geran_to_eutra": "cs_to_ps_srvcc_from_geran_to_e_utra",
    "gsm_a.classmark3.geran_network_sharing_support": "geran_network_sharing_support",
    "gsm_a.classmark3.eutra_wb_rsrq_support": "e_utra_wideband_rsrq_measurements_support",
    "gsm_a.classmark3.er_band_support": "er_band_support",
    "gsm_a.classmark3.utra_mfbi_support": "utra_multiple_frequency_band_indicators_support",
    "gsm_a.classmark3.eutra_mfbi_support": "e_utra_multiple_frequency_band_indicators_support",
    "gsm_a.classmark3.ext_tsc_set_cap_support": "extended_tsc_set_capability_support",
    "gsm_a.classmark3.ext_earfcn_value_range": "extended_earfcn_value_range",
}
CLASSMARK3_PLUS_ONE = {"gsm_a.classmark3.sms_value", "gsm_a.classmark3.sm_value"}


# ---------------------------------------------------------------------------
# Field extraction

def tshark_fields(layers):
    """The compared fields of one tshark packet: field -> set of values."""
    fields = collections.defaultdict(set)
    nas = [v for k, v in layers if k == "nas-eps"]
    if not nas:
        return fields

    def walk(pairs, path):
        values = {}
        for key, value in pairs:
            if key == "e212.assoc.imsi_tree":
                continue  # MCC and MNC tshark derives from an IMSI, not IEs of the message
            if key.startswith("e212.") and any("pco" in p for p in path):
                # An operator-specific PCO container (FF00H-FFFFH): its contents
                # are the operator's (TS 24.008 10.5.6.3), which tshark reads
                # as an MCC and MNC and corvuna shows as octets.
                continue
            if isinstance(value, list) and value and isinstance(value[0], tuple):
                walk(value, path + (key,))
                continue
            if not isinstance(value, str):
                continue
            values.setdefault(key, []).append(value)
        nested = "nas_eps.emm.esm_msg_cont_tree" in path
        take(values, nested)

    def take(v, nested):
        def ints(key, base=10):
            return [int(x, base) for x in v.get(key, [])]
        for t in ints("nas_eps.nas_msg_emm_type", 16) + ints("nas_eps.nas_msg_esm_type", 16):
            fields["message_type"].add(t)
        if nested:
            for t in ints("nas_eps.nas_msg_esm_type", 16):
                fields["nested_esm_message_type"].add(t)
        for x in ints("nas_eps.bearer_id"):
            fields["eps_bearer_identity"].add(x)
        for x in ints("nas_eps.esm.proc_trans_id"):
            fields["pti"].add(x)
        for x in ints("nas_eps.esm.linked_bearer_id"):
            fields["linked_eps_bearer_identity"].add(x)
        for x in ints("nas_eps.emm.type_of_id") + ints("gsm_a.ie.mobileid.type"):
            fields["identity_type"].add(x)
        for key in ("e212.imsi", "gsm_a.imei", "gsm_a.imeisv"):
            for x in v.get(key, []):
                fields["identity_digits"].add(x)
        tmsis = ints("nas_eps.emm.m_tmsi") or ints("3gpp.tmsi")
        for x in tmsis:
            fields["tmsi"].add(x)
        for key, values in v.items():
            if key.startswith("e212.") and key.endswith(".mcc") or key == "e212.mcc":
                fields["mcc"].update(int(x) for x in values)
            if key.startswith("e212.") and key.endswith(".mnc") or key == "e212.mnc":
                fields["mnc"].update(int(x) for x in values)
        for x in ints("nas_eps.emm.tai_tac"):
            fields["tac"].add(x)
        for x in ints("nas_eps.emm.tai_tol"):
            fields["tai_list_type"].add(x)
        for x in ints("nas_eps.emm.tai_n_elem"):
            fields["tai_list_elements"].add(x + 1)
        for x in ints("nas_eps.emm.cause"):
            fields["emm_cause"].add(x)
        for x in ints("nas_eps.esm.cause"):
            fields["esm_cause"].add(x)
        for prefix in ("gsm_a.gm.gmm.gprs_timer", "gsm_a.gm.gmm.gprs_timer2", "gsm_a.gm.gmm.gprs_timer3"):
            for x in ints(prefix + "_unit"):
                fields["timer_unit"].add((prefix.endswith("3"), x))
            for x in ints(prefix + "_value"):
                fields["timer_value"].add(x)
        for x in v.get("gsm_a.gm.sm.apn", []):
            fields["apn"].add(x)
        for x in ints("nas_eps.esm_pdn_type"):
            fields["pdn_type"].add(x)
        for x in v.get("nas_eps.esm.pdn_ipv4", []):
            fields["pdn_ipv4"].add(x)
        for x in v.get("nas_eps.esm.pdn_ipv6_if_id", []):
            fields["pdn_ipv6_interface_identifier"].add(x.replace(":", ""))
        for x in ints("nas_eps.esm.qci"):
            fields["qci"].add(x)
        eps = [("mbr_ul", "embr_ul", "embr2_ul"), ("mbr_dl", "embr_dl", "embr2_dl"),
               ("gbr_ul", "egbr_ul", "egbr2_ul"), ("gbr_dl", "egbr_dl", "egbr2_dl")]
        for base, ext, ext2 in eps:
            for i, b in enumerate(ints("nas_eps.esm." + base)):
                e = ints("nas_eps.esm." + ext)
                e2 = ints("nas_eps.esm." + ext2)
                fields["eps_qos_bit_rate"].add(
                    (base, rate(b, e[i] if i < len(e) else None, e2[i] if i < len(e2) else None)))
        qos = [("max_bitrate_upl", "max_bitrate_upl_ext"), ("max_bitrate_downl", "max_bitrate_downl_ext"),
               ("guar_bitrate_upl", "guar_bitrate_upl_ext"), ("guar_bitrate_downl", "guar_bitrate_downl_ext")]
        for base, ext in qos:
            for i, b in enumerate(ints("gsm_a.gm.sm.qos." + base)):
                e = ints("gsm_a.gm.sm.qos." + ext)
                fields["qos_bit_rate"].add((base, rate(b, e[i] if i < len(e) else None)))
        for direction in ("dl", "ul"):
            totals = ints("nas_eps.esm.apn_ambr_%s_total" % direction)
            if totals:
                fields["apn_ambr"].update((direction, t) for t in totals)
            else:
                for b in ints("nas_eps.esm.apn_ambr_" + direction):
                    fields["apn_ambr"].add((direction, base_rate(b)))
        for key, name in CLASSMARK3.items():
            for x in v.get(key, []):
                number = int(x, 0) if x not in ("True", "False") else int(x == "True")
                fields["classmark3"].add((name, number + (1 if key in CLASSMARK3_PLUS_ONE else 0)))
        for x in v.get("gsm_a.dtap.text_string", []):
            fields["network_name"].add(x)
        for x in v.get("gsm_a.dtap.time_zone_time", []):
            when = datetime.datetime.strptime(x.split(".")[0], "%b %d, %Y %H:%M:%S")
            fields["time"].add((when.year, when.month, when.day, when.hour, when.minute, when.second))

    walk(nas[0], ())
    return fields


# The view's bit rates: tshark's names in EPS QoS and in QoS.
RATES = {"maximum_bit_rate_for_uplink_kbps": ("mbr_ul", "max_bitrate_upl"),
         "maximum_bit_rate_for_downlink_kbps": ("mbr_dl", "max_bitrate_downl"),
         "guaranteed_bit_rate_for_uplink_kbps": ("gbr_ul", "guar_bitrate_upl"),
         "guaranteed_bit_rate_for_downlink_kbps": ("gbr_dl", "guar_bitrate_downl")}


def corvuna_fields(view):
    """The same fields of one corvuna JSON object."""
    fields = collections.defaultdict(set)

    def walk(node, ie, nested):
        if isinstance(node, list):
            for item in node:
                walk(item, ie, nested)
            return
        if not isinstance(node, dict):
            return
        if "ie" in node and "value" in node:
            if node["ie"] == "mobile_station_classmark_3":
                classmark3(node["value"])
                return
            walk(node["value"], node["ie"], nested or node["ie"] == "esm_message_container")
            return
        for key, value in node.items():
            number = value["value"] if isinstance(value, dict) and "value" in value else value
            if key == "message_type" and isinstance(number, int):
                fields["message_type"].add(number)
                if nested and ie == "esm_message_container":
                    fields["nested_esm_message_type"].add(number)
            elif key == "eps_bearer_identity":
                fields["eps_bearer_identity"].add(number)
            elif key == "procedure_transaction_identity":
                fields["pti"].add(number)
            elif key == "linked_eps_bearer_identity_value":
                fields["linked_eps_bearer_identity"].add(number)
            elif key == "type_of_identity" and "odd_even_indication" in node:
                fields["identity_type"].add(number)
            elif key in ("imsi", "imei", "imeisv"):
                fields["identity_digits"].add(value)
            elif key in ("m_tmsi", "tmsi_p_tmsi_m_tmsi"):
                fields["tmsi"].add(int(value, 16))
            elif key == "mcc":
                fields["mcc"].add(int(value))
            elif key == "mnc":
                fields["mnc"].add(int(value))
            elif key == "tac":
                fields["tac"].add(value)
            elif key == "type_of_list":
                fields["tai_list_type"].add(number)
            elif key == "number_of_elements":
                fields["tai_list_elements"].add(value)
            elif key == "cause_value" and ie in ("emm_cause",):
                fields["emm_cause"].add(number)
            elif key == "cause_value" and ie == "esm_cause":
                fields["esm_cause"].add(number)
            elif key == "unit" and isinstance(value, dict):
                fields["timer_unit"].add((ie in ("t3412_extended_value", "t3447_value", "back_off_timer_value",
                                                 "t3396_value"), number))
            elif key == "timer_value":
                fields["timer_value"].add(value)
            elif key == "apn":
                fields["apn"].add(value)
            elif key == "pdn_type_value":
                fields["pdn_type"].add(number)
            elif key == "pdn_ipv4":
                fields["pdn_ipv4"].add(value)
            elif key == "pdn_ipv6_interface_identifier":
                fields["pdn_ipv6_interface_identifier"].add(value)
            elif key == "qci":
                fields["qci"].add(number)
            elif key in RATES and ie in ("eps_qos", "required_traffic_flow_qos", "new_eps_qos"):
                fields["eps_qos_bit_rate"].add((RATES[key][0], number))
            elif key in RATES and ie in ("negotiated_qos", "new_qos"):
                fields["qos_bit_rate"].add((RATES[key][1], number))
            elif key in ("apn_ambr_for_downlink_kbps", "apn_ambr_for_uplink_kbps"):
                fields["apn_ambr"].add(("dl" if "downlink" in key else "ul", number))
            elif key == "text_string":
                fields["network_name"].add(value)
            elif key == "time_zone":
                fields["time_zone"].add(number)
            elif key == "year":
                fields["time"].add(tuple(node[k] for k in ("year", "month", "day", "hour", "minute", "second")))
            if isinstance(value, (dict, list)) and not (isinstance(value, dict) and "value" in value and "text" in value):
                walk(value, ie, nested)

    def classmark3(node):
        wanted = set(CLASSMARK3.values())
        for key, value in node.items():
            if isinstance(value, dict) and "value" in value:
                if key in wanted and isinstance(value["value"], int):
                    fields["classmark3"].add((key, value["value"]))
            elif isinstance(value, dict):
                classmark3(value)
            elif key in wanted and isinstance(value, int):
                fields["classmark3"].add((key, value))

    walk(view, None, False)
    return fields


FIELDS = ["message_type", "eps_bearer_identity", "pti", "linked_eps_bearer_identity", "identity_type",
          "identity_digits", "tmsi", "mcc", "mnc", "tac", "tai_list_type", "tai_list_elements", "emm_cause",
          "esm_cause", "timer_unit", "timer_value", "apn", "pdn_type", "pdn_ipv4", "pdn_ipv6_interface_identifier",
          "qci", "eps_qos_bit_rate", "qos_bit_rate", "apn_ambr", "network_name", "time_zone", "time",
          "nested_esm_message_type", "classmark3"]


# ---------------------------------------------------------------------------
# 5GS NAS (TS 24.501)

# TS 24.501 9.11.4.14: kbit/s of one step of each session-AMBR unit.
def ambr_unit_kbps(unit):
    if unit < 1 or unit > 25:
        return None
    return (1000 ** ((unit - 1) // 5)) * (4 ** ((unit - 1) % 5))


def tshark_fields_5gs(layers):
    """The compared fields of one tshark packet of nas-5gs."""
    fields = collections.defaultdict(set)
    top = [v for k, v in layers if k == "nas-5gs"]
    if not top:
        return fields
    values = collections.defaultdict(list)

    def walk(pairs):
        for key, value in pairs:
            if isinstance(value, list) and value and isinstance(value[0], tuple):
                walk(value)
            elif isinstance(value, str):
                values[key].append(value)
    walk(top[0])
    v = values

    def ints(key, base=10):
        return [int(x, base) for x in v.get(key, [])]
    fields["message_type"].update(ints("nas_5gs.mm.message_type", 16) + ints("nas_5gs.sm.message_type", 16))
    fields["security_header_type"].update(ints("nas_5gs.security_header_type"))
    fields["pdu_session_identity"].update(ints("nas_5gs.pdu_session_id"))
    fields["pti"].update(ints("nas_5gs.proc_trans_id"))
    fields["identity_type"].update(ints("nas_5gs.mm.type_id"))
    sucis = zip(ints("nas_5gs.mm.suci.supi_fmt"), v.get("nas_5gs.mm.suci.routing_indicator", []),
                ints("nas_5gs.mm.suci.scheme_id"), ints("nas_5gs.mm.suci.pki"), v.get("nas_5gs.mm.suci.msin", []))
    fields["suci"].update(sucis)
    fields["amf_region_id"].update(ints("nas_5gs.amf_region_id"))
    fields["amf_set_id"].update(ints("nas_5gs.amf_set_id"))
    fields["amf_pointer"].update(ints("nas_5gs.amf_pointer"))
    fields["5g_tmsi"].update(ints("nas_5gs.5g_tmsi"))
    fields["imeisv"].update(v.get("nas_5gs.mm.imeisv", []))
    for key, items in v.items():
        if key.startswith("e212.") and key.endswith(".mcc"):
            fields["mcc"].update(int(x) for x in items)
        if key.startswith("e212.") and key.endswith(".mnc"):
            fields["mnc"].update(int(x) for x in items)
    fields["tac"].update(ints("nas_5gs.tac"))
    fields["tai_list_type"].update(ints("nas_5gs.mm.tal_t_li"))
    fields["tai_list_elements"].update(x + 1 for x in ints("nas_5gs.mm.tal_num_e"))
    fields["sst"].update(ints("nas_5gs.mm.sst"))
    fields["sd"].update(x.replace(":", "").replace("0x", "") for x in v.get("nas_5gs.mm.sd", []))
    fields["mm_cause"].update(ints("nas_5gs.mm.5gmm_cause"))
    fields["sm_cause"].update(ints("nas_5gs.sm.5gsm_cause"))
    for prefix in ("gsm_a.gm.gmm.gprs_timer", "gsm_a.gm.gmm.gprs_timer2", "gsm_a.gm.gmm.gprs_timer3"):
        for x in ints(prefix + "_unit"):
            fields["timer_unit"].add((prefix.endswith("3"), x))
        fields["timer_value"].update(ints(prefix + "_value"))
    fields["dnn"].update(v.get("nas_5gs.cmn.dnn", []))
    fields["qos_rule"].update(zip(ints("nas_5gs.sm.qos_rule_id"), ints("nas_5gs.sm.rop"), ints("nas_5gs.sm.dqr"),
                                  ints("nas_5gs.sm.nof_pkt_filters"), ints("nas_5gs.sm.qos_rule_precedence")))
    fields["packet_filter"].update(zip(ints("nas_5gs.sm.pkt_flt_dir"), ints("nas_5gs.sm.pkt_flt_id")))
    fields["qfi"].update(ints("nas_5gs.sm.qfi"))
    fields["5qi"].update(ints("nas_5gs.sm.5qi"))
    for direction in ("dl", "ul"):
        for unit, value in zip(ints("nas_5gs.sm.unit_for_session_ambr_" + direction),
                               ints("nas_5gs.sm.session_ambr_" + direction)):
            per = ambr_unit_kbps(unit)
            fields["session_ambr"].add((direction, per * value if per else None))
    fields["algorithms"].update(zip(ints("nas_5gs.mm.nas_sec_algo_enc"), ints("nas_5gs.mm.nas_sec_algo_ip")))
    fields["pdu_session_type"].update(ints("nas_5gs.sm.pdu_session_type") + ints("nas_5gs.sm.pdu_ses_type"))
    fields["ssc_mode"].update(ints("nas_5gs.sm.sc_mode") + ints("nas_5gs.sm.sel_sc_mode"))
    fields["pdu_ipv4"].update(v.get("nas_5gs.sm.pdu_addr_inf_ipv4", []))
    fields["pdu_ipv6_interface_identifier"].update(x.replace(":", "") for x in v.get("nas_5gs.sm.pdu_addr_inf_ipv6", []))
    fields["registration_type"].update(zip(ints("nas_5gs.mm.for"), ints("nas_5gs.mm.5gs_reg_type")))
    fields["network_name"].update(v.get("gsm_a.dtap.text_string", []))
    for x in v.get("gsm_a.dtap.time_zone_time", []):
        when = datetime.datetime.strptime(x.split(".")[0], "%b %d, %Y %H:%M:%S")
        fields["time"].add((when.year, when.month, when.day, when.hour, when.minute, when.second))
    return fields


# The IEs of corvuna's 5GS view that are GPRS timer 3 (TS 24.008 10.5.7.4a).
TIMER3_IES = {"t3512_value", "t3324_value", "t3447_value", "back_off_timer_value", "requested_t3512_value",
              "lower_bound_timer_value"}
TIMER_IES = TIMER3_IES | {"t3502_value", "t3346_value", "t3448_value", "non_3gpp_de_registration_timer_value",
                          "rq_timer_value"}


def corvuna_fields_5gs(view):
    """The same fields of one corvuna JSON object."""
    fields = collections.defaultdict(set)

    def number(value):
        return value["value"] if isinstance(value, dict) and "value" in value else value

    def walk(node, ie):
        if isinstance(node, list):
            for item in node:
                walk(item, ie)
            return
        if not isinstance(node, dict):
            return
        if "ie" in node and "value" in node:
            walk(node["value"], node["ie"])
            return
        pd = number(node.get("protocol_discriminator"))
        if pd in (0x7E, 0x2E):
            if isinstance(node.get("message_type"), dict):
                fields["message_type"].add(number(node["message_type"]))
            if "security_header_type" in node:
                fields["security_header_type"].add(number(node["security_header_type"]))
            if "pdu_session_identity" in node:
                fields["pdu_session_identity"].add(number(node["pdu_session_identity"]))
            if "procedure_transaction_identity" in node:
                fields["pti"].add(number(node["procedure_transaction_identity"]))
        if "type_of_identity" in node and ie is not None:
            fields["identity_type"].add(number(node["type_of_identity"]))
        if "supi_format" in node and "msin" in node:
            fields["suci"].add((number(node["supi_format"]), node["routing_indicator"],
                                number(node["protection_scheme_id"]), node["home_network_public_key_identifier"],
                                node["msin"]))
        if "type_of_ciphering_algorithm" in node and ie == "selected_nas_security_algorithms":
            fields["algorithms"].add((number(node["type_of_ciphering_algorithm"]),
                                      number(node["type_of_integrity_protection_algorithm"])))
        if "5gs_registration_type_value" in node:
            fields["registration_type"].add((number(node["follow_on_request_bit_for"]),
                                             number(node["5gs_registration_type_value"])))
        if "qos_rule_identifier" in node and "qos_rule_precedence" in node:
            fields["qos_rule"].add((node["qos_rule_identifier"], number(node["rule_operation_code"]),
                                    number(node["dqr_bit"]), node["number_of_packet_filters"],
                                    node["qos_rule_precedence"]))
        if "packet_filter_direction" in node:
            fields["packet_filter"].add((number(node["packet_filter_direction"]), node["packet_filter_identifier"]))
        if ie in TIMER_IES and "unit" in node:
            fields["timer_unit"].add((ie in TIMER3_IES, number(node["unit"])))
            fields["timer_value"].add(node["timer_value"])
        if "year" in node:
            fields["time"].add(tuple(node[k] for k in ("year", "month", "day", "hour", "minute", "second")))
        for key, value in node.items():
            n = number(value)
            if key in ("amf_region_id", "amf_set_id", "amf_pointer", "tac", "qfi", "5qi", "dnn", "imeisv",
                       "pdu_ipv4", "pdu_ipv6_interface_identifier", "sd"):
                fields[key].add(n)
            elif key == "5g_tmsi":
                fields["5g_tmsi"].add(int(value, 16))
            elif key in ("mcc", "mnc"):
                fields[key].add(int(value))
            elif key == "type_of_list":
                fields["tai_list_type"].add(n)
            elif key == "number_of_elements":
                fields["tai_list_elements"].add(value)
            elif key == "sst":
                fields["sst"].add(n)
            elif key == "cause_value" and ie in ("5gmm_cause",):
                fields["mm_cause"].add(n)
            elif key == "cause_value" and ie == "5gsm_cause":
                fields["sm_cause"].add(n)
            elif key == "pdu_session_identity" and ie is not None:
                fields["pdu_session_identity"].add(n)
            elif key in ("session_ambr_for_downlink", "session_ambr_for_uplink"):
                fields["session_ambr"].add(("dl" if "downlink" in key else "ul", number(value["rate"])))
            elif key in ("pdu_session_type_value", "ssc_mode_value"):
                fields["pdu_session_type" if key.startswith("pdu") else "ssc_mode"].add(n)
            elif key == "text_string":
                fields["network_name"].add(value)
            if isinstance(value, (dict, list)) and not (isinstance(value, dict) and "value" in value and "text" in value):
                walk(value, ie)

    walk(view, None)
    return fields


FIELDS_5GS = ["message_type", "security_header_type", "pdu_session_identity", "pti", "identity_type", "suci",
              "amf_region_id", "amf_set_id", "amf_pointer", "5g_tmsi", "imeisv", "mcc", "mnc", "tac",
              "tai_list_type", "tai_list_elements", "sst", "sd", "mm_cause", "sm_cause", "timer_unit", "timer_value",
              "dnn", "qos_rule", "packet_filter", "qfi", "5qi", "session_ambr", "algorithms", "pdu_session_type",
              "ssc_mode", "pdu_ipv4", "pdu_ipv6_interface_identifier", "registration_type", "network_name", "time"]


def is_5gs(hexstring):
    return hexstring[:2] in ("7e", "2e")


def read_adjudicated(path):
    adjudicated = {}
    if not os.path.exists(path):
        return adjudicated
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            hexstring, field, reason = line.rstrip("\n").split("\t", 2)
            adjudicated[(hexstring.lower(), field)] = reason
    return adjudicated


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("corpus")
    parser.add_argument("corvuna")
    parser.add_argument("adjudicated")
    parser.add_argument("--tshark", default="tshark")
    parser.add_argument("--show", type=int, default=20, help="disagreements to show (default 20)")
    parser.add_argument("--5gs", dest="fivegs", action="store_true",
                        help="CORPUS is a folder of tshark's listings of 5G captures (*.nas5g.tsv)")
    args = parser.parse_args()

    messages = read_listings(args.corpus) if args.fivegs else read_messages(args.corpus)
    if not messages:
        sys.exit("compare-tshark: no messages in " + args.corpus)
    with tempfile.TemporaryDirectory() as work:
        pcap = os.path.join(work, "corpus.pcap")
        write_pcap(pcap, messages)
        if args.fivegs:
            tshark = subprocess.run([args.tshark, "-n", "-r", pcap, "-o", UAT_5GS, "-o", "nas-5gs.null_decipher:TRUE",
                                     "-T", "json"], check=True, capture_output=True).stdout
            zones = [set() for _ in messages]
        else:
            tshark = subprocess.run([args.tshark, "-n", "-r", pcap, "-o", UAT, "-T", "json"], check=True,
                                    capture_output=True).stdout
            zones = tshark_time_zones(args.tshark, pcap)
        lines = os.path.join(work, "corpus.tsv")
        with open(lines, "w", encoding="ascii") as f:
            for direction, hexstring in messages:
                f.write("%d\t%s\n" % (direction, hexstring))
        options = ["--null-ciphering"] if args.fivegs else []
        ours = subprocess.run([args.corvuna, "-T", "json", *options, "-f", lines], capture_output=True).stdout
    packets = json.loads(tshark, object_pairs_hook=lambda pairs: pairs)
    views = [json.loads(line) for line in ours.decode("utf-8").splitlines() if line]
    if len(packets) != len(messages) or len(views) != len(messages) or len(zones) != len(messages):
        sys.exit("compare-tshark: %d messages, %d tshark packets (%d in PDML), %d corvuna objects" %
                 (len(messages), len(packets), len(zones), len(views)))
    # Each mode owns the adjudications of its own messages.
    adjudicated = {key: reason for key, reason in read_adjudicated(args.adjudicated).items()
                   if is_5gs(key[0]) == args.fivegs}
    used = set()
    compared = FIELDS_5GS if args.fivegs else FIELDS
    stats = {f: collections.Counter() for f in compared}
    shown = 0
    failures = 0
    for (direction, hexstring), packet, view, zone in zip(messages, packets, views, zones):
        layers = dict(dict(packet)["_source"])["layers"]
        theirs = tshark_fields_5gs(layers) if args.fivegs else tshark_fields(layers)
        if zone:
            theirs["time_zone"] = zone
        mine = corvuna_fields_5gs(view) if args.fivegs else corvuna_fields(view)
        for field in compared:
            a, b = mine.get(field, set()), theirs.get(field, set())
            if not a and not b:
                continue
            if a == b:
                stats[field]["agree"] += 1
                continue
            key = (hexstring, field)
            if key in adjudicated:
                stats[field]["adjudicated"] += 1
                used.add(key)
                continue
            stats[field]["disagree"] += 1
            failures += 1
            if shown < args.show:
                shown += 1
                print("DISAGREE %s %s: corvuna %s, tshark %s" % (field, hexstring, sorted(a, key=str),
                                                                 sorted(b, key=str)))
    print("%-32s %8s %12s %9s" % ("field", "agree", "adjudicated", "disagree"))
    for field in compared:
        s = stats[field]
        print("%-32s %8d %12d %9d" % (field, s["agree"], s["adjudicated"], s["disagree"]))
    stale = set(adjudicated) - used
    for key in sorted(stale):
        print("stale adjudication (no longer a disagreement): %s %s" % key)
    print("%d messages; %d disagreements not adjudicated; %d adjudicated" %
          (len(messages), failures, sum(s["adjudicated"] for s in stats.values())))
    sys.exit(1 if failures or stale else 0)


if __name__ == "__main__":
    main()
