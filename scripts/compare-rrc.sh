#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The LTE RRC PDUs that corvuna's radio layers deliver (corvuna -T rrc)
# against those tshark finds (scripts/rrc-reference.py), for the radio-side
# captures of ../shared/captures, with the tshark options their README
# gives: frame, message class and octets of every CCCH and DCCH PDU, in
# order.  tshark also lists broadcast and paging RRC, which carry no NAS and
# which corvuna leaves out.  Exit status 77 when tshark or the captures are
# missing (a skipped test), 1 when a listing differs.
#   compare-rrc.sh PATH-TO-CORVUNA [CAPTURES-DIR]
set -u
corvuna=$1
here=$(cd "$(dirname "$0")" && pwd)
dir=${2:-$here/../../shared/captures}
command -v tshark >/dev/null || { echo "compare-rrc: tshark is not installed; skipped"; exit 77; }
[ -d "$dir" ] || { echo "compare-rrc: $dir not found; skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

u0='uat:user_dlts:"User 0 (DLT=147)","mac-lte-framed","0","","0",""'
u2='uat:user_dlts:"User 2 (DLT=149)","udp","0","","0",""'
failures=0
compare() {
  local name=$1
  shift
  [ -f "$dir/$name" ] || { echo "compare-rrc: $name not found"; failures=$((failures + 1)); return; }
  /usr/bin/python3 "$here/rrc-reference.py" "$dir/$name" "$@" |
    grep -P '\t(ul|dl)-(ccch|dcch)\t' >"$work/tshark" || true
  "$corvuna" -T rrc -r "$dir/$name" 2>"$work/err" | cut -f1-3 >"$work/corvuna"
  if cmp -s "$work/tshark" "$work/corvuna"; then
    printf '%-40s %5d RRC PDUs, as tshark finds them\n' "$name" "$(wc -l <"$work/corvuna")"
  else
    echo "DIFFERENT: $name (< tshark, > corvuna)"
    diff "$work/tshark" "$work/corvuna" | head -20
    failures=$((failures + 1))
  fi
}
compare rrc_dlt147_ltesniffer_ul.pcap -o "$u0"
compare rrc_dlt149_srsenb_attach.pcap -o "$u2" --enable-heuristic mac_lte_udp
compare rrc_dlt149_srsenb_nas_ciphered.pcap -o "$u2" --enable-heuristic mac_lte_udp
compare rrc_dlt149_srsenb_smc_reject.pcap -o "$u2" --enable-heuristic mac_lte_udp
compare gsmtap_rayhunter_goodsim.pcapng
compare gsmtap_rayhunter_deadsim.pcapng
[ "$failures" -eq 0 ] || { echo "$failures radio captures differ from tshark"; exit 1; }
