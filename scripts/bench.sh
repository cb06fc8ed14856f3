#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Speed of Corvuna, measured on this machine:
#   1. the Google Benchmark program (Release build): messages/s through the
#      bounded and the legacy entry and through the standard view as JSON
#      and as text over the real-message corpus mix, for the EMM and the
#      ESM messages apart, and for the five most frequent message types of
#      the corpus;
#   2. the corvuna program against tshark (Debian's, installed when
#      missing) on the same messages: the corpus written 50 times over as a
#      DIRECTION<TAB>HEX file and as a pcap of raw NAS (link type 148),
#      the legacy document against tshark -V and the standard view as JSON
#      against tshark -T json, the best of three runs each, and the ratios;
#   3. corvuna -r against tshark -V on the larger S1AP captures of
#      ../shared/captures written ten times over into one pcap, on the
#      NGAP one (S1AP and NGAP through the PER engine), and on the
#      LTESniffer capture (MAC-LTE, NAS inside LTE RRC) written over to 10 MB;
#   4. NAS security: corvuna -r on s1ap_o5gs_testattach repeated to
#      100,000 NAS messages, without keys and with the open5gs test keys
#      (every MAC checked), and on the same messages ciphered with 128-EEA2
#      (scripts/cipher-capture.py) with the NAS keys (every body
#      deciphered), with the ratios to the plain decoding (target: at most
#      2);
#   5. the Python package: decode, decode_many on one and on every CPU, and
#      corvuna.dask on a LocalCluster of one and of two workers; corvuna.read
#      on the corpus capture (target: 300,000 messages/s), corvuna.read_frame,
#      and corvuna.dask.read_captures on one and on two workers (target:
#      1.7 times faster on two) (scripts/bench-python.py);
#   6. corvuna report over every capture of ../shared/captures and
#      ../shared/captures-5g: the HTML page with its plots and the JSON (wall
#      time, best of three; target: a few seconds).
# Not part of the test command.  Environment: CORVUNA_CORPUS (default
# ../shared/corpus/real-nas.tsv), BENCH_REPEAT (default 50).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh cmake ninja-build g++ libbenchmark-dev tshark bc time libpcap-dev zlib1g-dev libssl-dev libipsec-mb-dev python3 \
  python3-cryptography python3-dask \
  python3-distributed python3-pandas python3-matplotlib
corpus=${CORVUNA_CORPUS:-../shared/corpus/real-nas.tsv}
[ -f "$corpus" ] || { echo "bench: $corpus not found (set CORVUNA_CORPUS)" >&2; exit 1; }
repeat=${BENCH_REPEAT:-50}

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVUNA_BUILD_TESTS=OFF \
  -DCORVUNA_BUILD_BENCH=ON >/dev/null
cmake --build build/release >&2

echo "== decoding benchmark (Release): median and best of 5 runs of at least 1 s each =="
build/release/bench/corvuna_bench --benchmark_min_time=1 --benchmark_repetitions=5 2>/dev/null |
  awk '/items_per_second=/ && !/_(mean|median|stddev|cv)/ {
         name = $1; rate = "";
         for (i = 1; i <= NF; i++) if ($i ~ /^items_per_second=/) rate = substr($i, 18);
         v = rate + 0; if (rate ~ /M\/s/) v *= 1e6; else if (rate ~ /k\/s/) v *= 1e3;
         n[name]++; r[name, n[name]] = v; if (!(name in order)) { order[name] = ++names; list[names] = name } }
       /^LteGain / { lte = $2 " " $3 }
       END {
         for (k = 1; k <= names; k++) {
           name = list[k]; m = n[name];
           for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (r[name, j] < r[name, i]) { t = r[name, i]; r[name, i] = r[name, j]; r[name, j] = t }
           printf "%-62s median %10.0f  best %10.0f messages/s\n", name, r[name, int((m + 1) / 2)], r[name, m]
         }
         if (lte != "") printf "%-62s %s per call\n", "LteGain", lte
       }'

work=build/bench
mkdir -p "$work"
/usr/bin/python3 scripts/nas-capture.py "$corpus" "$repeat" "$work/corpus.pcap" --dlt 148 --tsv "$work/corpus.tsv"
messages=$(wc -l <"$work/corpus.tsv")

# Best wall-clock time of three runs of a command, output discarded.
best_of_three() {
  local best="" t
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" -eq 1 ]; then best=$t; fi
  done
  printf '%.3f' "$best"
}

echo
echo "== corvuna against tshark -V: $messages messages (the corpus $repeat times) =="
user_dlt='uat:user_dlts:"User 1 (DLT=148)","nas-eps_plain","0","","0",""'
t_hex=$(best_of_three build/release/corvuna -f "$work/corpus.tsv")
t_tshark=$(best_of_three tshark -n -r "$work/corpus.pcap" -o "$user_dlt" -V)
printf 'corvuna -f (hex lines)   %8.3f s  %10.0f messages/s\n' "$t_hex" "$(echo "$messages / $t_hex" | bc -l)"
t_pcap=$(best_of_three build/release/corvuna -r "$work/corpus.pcap" --user-dlt 148=nas -d ul)
printf 'corvuna -r (pcap)        %8.3f s  %10.0f messages/s\n' "$t_pcap" "$(echo "$messages / $t_pcap" | bc -l)"
printf 'tshark -V (pcap)         %8.3f s  %10.0f messages/s\n' "$t_tshark" "$(echo "$messages / $t_tshark" | bc -l)"
printf 'ratio tshark / corvuna -f: %.1f\n' "$(echo "$t_tshark / $t_hex" | bc -l)"

echo
echo "== the standard view as JSON against tshark -T json: $messages messages =="
t_json=$(best_of_three build/release/corvuna -T json -f "$work/corpus.tsv")
t_tshark_json=$(best_of_three tshark -n -r "$work/corpus.pcap" -o "$user_dlt" -T json)
printf 'corvuna -T json -f       %8.3f s  %10.0f messages/s\n' "$t_json" "$(echo "$messages / $t_json" | bc -l)"
printf 'tshark -T json (pcap)    %8.3f s  %10.0f messages/s\n' "$t_tshark_json" \
  "$(echo "$messages / $t_tshark_json" | bc -l)"
printf 'ratio tshark -T json / corvuna -T json: %.1f\n' "$(echo "$t_tshark_json / $t_json" | bc -l)"

# The larger S1AP captures (all Ethernet) written ten times over into one.
captures=${CORVUNA_CAPTURES:-../shared/captures}
s1ap=()
for name in s1ap_magma_32ue.pcapng s1ap_magma_roaming_idle.pcapng s1ap_s1_handover.pcapng; do
  [ -f "$captures/$name" ] && s1ap+=("$captures/$name")
done
if [ ${#s1ap[@]} -gt 0 ]; then
  echo
  /usr/bin/python3 scripts/repeat-capture.py "$work/s1ap.pcap" 10 "${s1ap[@]}" >/dev/null
  frames=$(build/release/corvuna -r "$work/s1ap.pcap" 2>&1 >/dev/null | sed -n 's/.*: \([0-9]*\) frames, \([0-9]*\) NAS.*/\1 frames, \2 NAS messages/p')
  echo "== corvuna -r against tshark -V: the larger S1AP captures ten times over ($frames) =="
  t_s1ap=$(best_of_three build/release/corvuna -r "$work/s1ap.pcap")
  t_s1ap_tshark=$(best_of_three tshark -n -r "$work/s1ap.pcap" -V)
  printf 'corvuna -r               %8.3f s\n' "$t_s1ap"
  printf 'tshark -V                %8.3f s\n' "$t_s1ap_tshark"
  printf 'ratio tshark -V / corvuna -r: %.1f\n' "$(echo "$t_s1ap_tshark / $t_s1ap" | bc -l)"
else
  echo "note: no S1AP captures in $captures; corvuna -r against tshark -V skipped"
fi

# The radio side: the LTESniffer capture (MAC-LTE in user link type 147,
# NAS inside LTE RRC) written over until it is 10 MB, against tshark -V
# with the user link type the captures' README gives for it.
ltesniffer=$captures/rrc_dlt147_ltesniffer_ul.pcap
if [ -f "$ltesniffer" ]; then
  echo
  size=$(stat -c %s "$ltesniffer")
  times=$(((10000000 + size - 1) / size))
  /usr/bin/python3 scripts/repeat-capture.py "$work/ltesniffer.pcap" "$times" "$ltesniffer" >/dev/null
  summary=$(build/release/corvuna -r "$work/ltesniffer.pcap" 2>&1 >/dev/null | sed 's/^corvuna: [^:]*: //')
  echo "== corvuna -r against tshark -V: the LTESniffer capture $times times over, $(stat -c %s "$work/ltesniffer.pcap") octets =="
  echo "corvuna: $summary"
  u0='uat:user_dlts:"User 0 (DLT=147)","mac-lte-framed","0","","0",""'
  t_radio=$(best_of_three build/release/corvuna -r "$work/ltesniffer.pcap")
  t_radio_tshark=$(best_of_three tshark -n -r "$work/ltesniffer.pcap" -o "$u0" -V)
  printf 'corvuna -r               %8.3f s\n' "$t_radio"
  printf 'tshark -V                %8.3f s\n' "$t_radio_tshark"
  printf 'ratio tshark -V / corvuna -r: %.1f (at least 30 wanted)\n' "$(echo "$t_radio_tshark / $t_radio" | bc -l)"
else
  echo "note: $ltesniffer not found; the radio-side comparison is skipped"
fi
security_capture="$captures/s1ap_o5gs_testattach.pcapng"
if [ -f "$security_capture" ]; then
  echo
  nas=$(build/release/corvuna -r "$security_capture" 2>&1 >/dev/null | sed -n 's/.* \([0-9]*\) NAS messages.*/\1/p')
  times=$(( (100000 + nas - 1) / nas ))
  /usr/bin/python3 scripts/repeat-capture.py "$work/security.pcap" "$times" "$security_capture" >/dev/null
  printf '* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca\n' >"$work/open5gs.keys"
  echo "== NAS security: corvuna -r on s1ap_o5gs_testattach $times times over ($((nas * times)) NAS messages) =="
  build/release/corvuna -r "$work/security.pcap" --keys "$work/open5gs.keys" 2>&1 >/dev/null | sed 's/^corvuna: [^:]*: /  with keys: /'
  # Processor time (user + system), the best of three: on a machine shared
  # with other work the wall clock mostly measures the waiting.
  best_cpu_of_three() {
    local best="" t
    for _ in 1 2 3; do
      /usr/bin/time -f '%U %S' -o "$work/time.txt" "$@" >/dev/null 2>&1
      # The last line: /usr/bin/time says first when the command's status was not 0.
      t=$(tail -n 1 "$work/time.txt" | awk '{print $1 + $2}')
      if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" -eq 1 ]; then best=$t; fi
    done
    printf '%.3f' "$best"
  }
  t_plain=$(best_cpu_of_three build/release/corvuna -r "$work/security.pcap" --no-capture-keys)
  t_keys=$(best_cpu_of_three build/release/corvuna -r "$work/security.pcap" --keys "$work/open5gs.keys" \
    --no-capture-keys)
  t_json=$(best_cpu_of_three build/release/corvuna -T json -r "$work/security.pcap" --no-capture-keys)
  t_json_keys=$(best_cpu_of_three build/release/corvuna -T json -r "$work/security.pcap" --keys "$work/open5gs.keys" \
    --no-capture-keys)
  echo "(processor time, best of three)"
  printf 'corvuna -r, no keys            %8.3f s\n' "$t_plain"
  printf 'corvuna -r, keys (MACs checked) %7.3f s\n' "$t_keys"
  printf 'ratio with keys / without: %.2f (target at most 2)\n' "$(echo "$t_keys / $t_plain" | bc -l)"
  printf 'corvuna -T json -r, no keys    %8.3f s\n' "$t_json"
  printf 'corvuna -T json -r, keys       %8.3f s\n' "$t_json_keys"
  printf 'ratio with keys / without (JSON): %.2f\n' "$(echo "$t_json_keys / $t_json" | bc -l)"
  # The same messages ciphered with 128-EEA2 and integrity protected with
  # 128-EIA2 (python3-cryptography), read with the NAS keys: every body
  # deciphered and every MAC checked.
  enc=00112233445566778899aabbccddeeff int=0f0e0d0c0b0a09080706050403020100
  /usr/bin/python3 scripts/cipher-capture.py "$security_capture" "${security_capture%.pcapng}.nas.tsv" \
    "$work/eea2-once.pcap" "$enc" "$int"
  /usr/bin/python3 scripts/repeat-capture.py "$work/eea2.pcap" "$times" "$work/eea2-once.pcap" >/dev/null
  printf '* knasenc=%s knasint=%s\n' "$enc" "$int" >"$work/nas.keys"
  build/release/corvuna -r "$work/eea2.pcap" --keys "$work/nas.keys" --no-capture-keys 2>&1 >/dev/null |
    sed 's/^corvuna: [^:]*: /  EEA2\/EIA2 with keys: /'
  t_eea2=$(best_cpu_of_three build/release/corvuna -r "$work/eea2.pcap" --no-capture-keys)
  t_eea2_keys=$(best_cpu_of_three build/release/corvuna -r "$work/eea2.pcap" --keys "$work/nas.keys" --no-capture-keys)
  printf 'corvuna -r, EEA2 capture, no keys %5.3f s\n' "$t_eea2"
  printf 'corvuna -r, EEA2 capture, keys    %5.3f s (deciphered and decoded)\n' "$t_eea2_keys"
  printf 'ratio deciphering and decoding / plain decoding: %.2f (target at most 2)\n' \
    "$(echo "$t_eea2_keys / $t_plain" | bc -l)"
fi
# NGAP through the PER engine and 5GS NAS through the standard view: the 5G
# registration capture ten times over, the view as text (-T text) and as
# JSON against tshark -V.
if [ -f "$captures/neg_ngap_5g_registration.pcapng" ]; then
  echo
  /usr/bin/python3 scripts/repeat-capture.py "$work/ngap.pcap" 10 "$captures/neg_ngap_5g_registration.pcapng" >/dev/null
  echo "== corvuna -r against tshark -V: NGAP and 5GS NAS, the 5G registration ten times over =="
  build/release/corvuna -r "$work/ngap.pcap" -T text 2>&1 >/dev/null | sed 's/^corvuna: [^:]*: /  /'
  t_ngap=$(best_of_three build/release/corvuna -r "$work/ngap.pcap" -T text)
  t_ngap_json=$(best_of_three build/release/corvuna -r "$work/ngap.pcap" -T json)
  t_ngap_tshark=$(best_of_three tshark -n -r "$work/ngap.pcap" -V)
  printf 'corvuna -r -T text       %8.3f s\n' "$t_ngap"
  printf 'corvuna -r -T json       %8.3f s\n' "$t_ngap_json"
  printf 'tshark -V                %8.3f s\n' "$t_ngap_tshark"
  printf 'ratio tshark -V / corvuna -r -T text: %.1f (at least 30 wanted)\n' "$(echo "$t_ngap_tshark / $t_ngap" | bc -l)"
fi

echo
echo "== the Python package: the legacy document of the corpus messages =="
cmake --build build/release --target corvuna_shared >&2
CORVUNA_LIBRARY=$PWD/build/release/libcorvuna.so.1 PYTHONPATH=$PWD/python \
  /usr/bin/python3 scripts/bench-python.py "$corpus" 20

echo
echo "== the Python package: captures through libcorvuna-capture =="
cmake --build build/release --target corvuna_capture_shared >&2
CORVUNA_LIBRARY=$PWD/build/release/libcorvuna.so.1 CORVUNA_CAPTURE_LIBRARY=$PWD/build/release/libcorvuna-capture.so.1 \
  PYTHONPATH=$PWD/python /usr/bin/python3 scripts/bench-python.py --captures "$work/corpus.pcap"

captures=(../shared/captures/*.pcap* ../shared/captures-5g/*.pcap*)
if [ -e "${captures[0]}" ]; then
  echo
  echo "== corvuna report: every shared capture (${#captures[@]} files), HTML page and JSON =="
  build/release/corvuna report "${captures[@]}" --user-dlt 150=s1ap -o "$work/report.html" --json "$work/report.json"
  t_report=$(best_of_three build/release/corvuna report "${captures[@]}" --user-dlt 150=s1ap \
    -o "$work/report.html" --json "$work/report.json")
  printf 'corvuna report, HTML and JSON   %8.3f s (wall time, best of three)\n' "$t_report"
fi
