#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Compares the standard view of corvuna with tshark, message by message.

Writes the messages of a DIRECTION<TAB>HEX file (the real-message corpus) as a
pcap of raw NAS (user link type 147, which tshark's user_dlts table maps to
nas-eps_plain), runs `tshark -T json` over it and `corvuna -T json` over the
same messages, and compares the fields that both decode: message type, EPS
bearer identity and PTI, identity digits and type, MCC and MNC, TAC, TAI
lists, EMM and ESM causes, timers and their units, APN, PDN type and address,
QCI and every bit rate, APN-AMBR, network names, time zone and time, and the
nested ESM message of the attach messages.  tshark's JSON carries coded
values where it does not compute one (most bit rates, the time zone octet):
those are turned into values by the rules of TS 24.301 and TS 24.008 here,
and the sign of a time zone is read from tshark's PDML.

Every disagreement must be listed, with the reason tshark is wrong, in the
adjudication file (HEX<TAB>FIELD<TAB>REASON lines); any other disagreement
fails.  Prints the agreement per field.

    compare-tshark.py CORPUS.tsv CORVUNA ADJUDICATED.tsv [--tshark tshark]
"""
import argparse
import collections
import datetime
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


def read_messages(path):
    messages = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.rstrip("\r\n").split("\t")
            if len(fields) < 2 or fields[0] not in ("0", "1"):
                continue
            messages.append((int(fields[0]), fields[1].lower()))
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
        for x in v.get("gsm_a.dtap.text_string", []):
            fields["network_name"].add(x)
        for x in v.get("gsm_a.dtap.time_zone_time", []):
            when = datetime.datetime.strptime(x.split(".")[0], "%b %d, %Y %H:%M:%S")
            fields["time"].add((when.year, when.month, when.day, when.hour, when.minute, when.second))

    walk(nas[0], ())
    return fields


# The view's bit rates: tshark's names in EPS QoS and in QoS.
RATES = {"maximum_bit_rate_for_uplink": ("mbr_ul", "max_bitrate_upl"),
         "maximum_bit_rate_for_downlink": ("mbr_dl", "max_bitrate_downl"),
         "guaranteed_bit_rate_for_uplink": ("gbr_ul", "guar_bitrate_upl"),
         "guaranteed_bit_rate_for_downlink": ("gbr_dl", "guar_bitrate_downl")}


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
            elif key in ("apn_ambr_for_downlink", "apn_ambr_for_uplink"):
                fields["apn_ambr"].add(("dl" if "downlink" in key else "ul", number))
            elif key == "text_string":
                fields["network_name"].add(value)
            elif key == "time_zone":
                fields["time_zone"].add(number)
            elif key == "year":
                fields["time"].add(tuple(node[k] for k in ("year", "month", "day", "hour", "minute", "second")))
            if isinstance(value, (dict, list)) and not (isinstance(value, dict) and "value" in value and "text" in value):
                walk(value, ie, nested)

    walk(view, None, False)
    return fields


FIELDS = ["message_type", "eps_bearer_identity", "pti", "linked_eps_bearer_identity", "identity_type",
          "identity_digits", "tmsi", "mcc", "mnc", "tac", "tai_list_type", "tai_list_elements", "emm_cause",
          "esm_cause", "timer_unit", "timer_value", "apn", "pdn_type", "pdn_ipv4", "pdn_ipv6_interface_identifier",
          "qci", "eps_qos_bit_rate", "qos_bit_rate", "apn_ambr", "network_name", "time_zone", "time",
          "nested_esm_message_type"]


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
    args = parser.parse_args()

    messages = read_messages(args.corpus)
    if not messages:
        sys.exit("compare-tshark: no messages in " + args.corpus)
    with tempfile.TemporaryDirectory() as work:
        pcap = os.path.join(work, "corpus.pcap")
        write_pcap(pcap, messages)
        tshark = subprocess.run([args.tshark, "-n", "-r", pcap, "-o", UAT, "-T", "json"], check=True,
                                capture_output=True).stdout
        zones = tshark_time_zones(args.tshark, pcap)
        lines = os.path.join(work, "corpus.tsv")
        with open(lines, "w", encoding="ascii") as f:
            for direction, hexstring in messages:
                f.write("%d\t%s\n" % (direction, hexstring))
        ours = subprocess.run([args.corvuna, "-T", "json", "-f", lines], capture_output=True).stdout
    packets = json.loads(tshark, object_pairs_hook=lambda pairs: pairs)
    views = [json.loads(line) for line in ours.decode("utf-8").splitlines() if line]
    if len(packets) != len(messages) or len(views) != len(messages) or len(zones) != len(messages):
        sys.exit("compare-tshark: %d messages, %d tshark packets (%d in PDML), %d corvuna objects" %
                 (len(messages), len(packets), len(zones), len(views)))
    adjudicated = read_adjudicated(args.adjudicated)
    used = set()
    stats = {f: collections.Counter() for f in FIELDS}
    shown = 0
    failures = 0
    for (direction, hexstring), packet, view, zone in zip(messages, packets, views, zones):
        layers = dict(dict(packet)["_source"])["layers"]
        theirs = tshark_fields(layers)
        if zone:
            theirs["time_zone"] = zone
        mine = corvuna_fields(view)
        for field in FIELDS:
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
    for field in FIELDS:
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
