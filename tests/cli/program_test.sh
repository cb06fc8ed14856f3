#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The corvuna program as people use it: arguments, files, standard input,
# error messages that name the input, and the exit status.
#   program_test.sh PATH-TO-CORVUNA
set -u
corvuna=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect STATUS STDERR-PATTERN DOCUMENTS -- ARGS...: runs corvuna with ARGS
# (standard input from $work/stdin when it exists) and checks the exit
# status, that standard error matches the pattern (is empty for '') and the number of
# documents on standard output.
expect() {
  local status=$1 pattern=$2 documents=$3
  shift 4
  local input=/dev/null
  [ -f "$work/stdin" ] && input=$work/stdin
  "$corvuna" "$@" <"$input" >"$work/out" 2>"$work/err"
  local got=$? count
  count=$(grep -c '^</L3Message>$' "$work/out")
  local errors_ok=1
  if [ "$pattern" = "" ]; then
    [ -s "$work/err" ] && errors_ok=0
  elif ! grep -qE -- "$pattern" "$work/err"; then
    errors_ok=0
  fi
  if [ "$got" -ne "$status" ] || [ "$errors_ok" -eq 0 ] || [ "$count" -ne "$documents" ]; then
    echo "FAIL: corvuna $*: status $got (expected $status), $count documents (expected $documents)"
    sed 's/^/  stderr: /' "$work/err"
    failures=$((failures + 1))
  fi
  rm -f "$work/stdin"
}

printf '1\t075e\n' >"$work/one.tsv"
printf '\xef\xbb\xbfDirection\tHex\n 0 \t075e\n075e\n07:5e\tnote\n' >"$work/friendly.tsv"
printf '1\t075e\nsideways\t075e\n1\t07zz\n' >"$work/bad.tsv"

expect 0 '' 1 -- 075e
expect 0 '' 3 -- 0x075e 07:5e '07 5e'
expect 0 '' 1 -- --direction=dl 075e
expect 0 '' 1 -- -d dl -- 075e
expect 1 'argument 1: 1 octet, shorter than the 2-octet header' 3 -- 07 44 0f
expect 1 'quoted' 3 -- 07 44 0f
expect 1 'missing.tsv: cannot open: No such file' 1 -- -f "$work/missing.tsv" 075e
expect 1 "$work: cannot read: Is a directory" 0 -- -f "$work"
expect 0 '' 3 -- -f "$work/friendly.tsv"
expect 1 'bad.tsv:2: unknown direction .sideways.' 1 -- -f "$work/bad.tsv"
expect 1 'bad.tsv:3: not a hex digit' 1 -- -f "$work/bad.tsv"
expect 1 'bad.tsv:2' 1 -- -s -f "$work/bad.tsv"
expect 0 '' 2 -- -f "$work/one.tsv" 075e
expect 2 'unknown option --frobnicate' 0 -- --frobnicate
expect 2 'unknown direction' 0 -- -d sideways 075e
expect 1 'odd number of hex digits' 0 -- 0741F
printf '\x00\x01garbage\xff\n' >"$work/stdin"
expect 1 'stdin: holds binary data' 0 --
printf '\x01\x02garbage\xff\n1\t075e\n' >"$work/stdin"
expect 1 "stdin:1: not a hex digit: '\\\\x01'" 1 --
"$corvuna" --version >"$work/version" 2>&1
grep -qE '^corvuna [0-9]+\.[0-9]+\.[0-9]+$' "$work/version" || { echo "FAIL: --version"; failures=$((failures + 1)); }
"$corvuna" --help | grep -q -- '--direction' || { echo "FAIL: --help"; failures=$((failures + 1)); }

# The standard view: one JSON object a line, or text trees apart by a blank
# line; the ciphered message's inner message only with --null-ciphering.
"$corvuna" -T json 075e 0761490100 2>"$work/err" >"$work/out"
[ "$(grep -c '^{"schema_version":1,"direction":.*"result":"decoded","errors":\[\],"stopped":null}$' "$work/out")" -eq 2 ] &&
  [ ! -s "$work/err" ] ||
  { echo "FAIL: -T json"; failures=$((failures + 1)); }
"$corvuna" -T text -d dl 0761490100 075e >"$work/out"
[ "$(grep -c '^NAS message: downlink' "$work/out")" -eq 2 ] && [ "$(grep -c '^$' "$work/out")" -eq 2 ] ||
  { echo "FAIL: -T text"; failures=$((failures + 1)); }
"$corvuna" -T json 27aabbccdd050761490100 >"$work/out" 2>"$work/err"
[ $? -eq 3 ] && grep -q '"ciphered_octets":"0761490100"' "$work/out" && grep -q '"result":"ciphered"' "$work/out" &&
  grep -q '1 message left ciphered' "$work/err" ||
  { echo "FAIL: ciphered"; failures=$((failures + 1)); }
"$corvuna" -T json --null-ciphering 27aabbccdd050761490100 | grep -q '"message":{"protocol_discriminator".*"name":"emm_information"' ||
  { echo "FAIL: --null-ciphering"; failures=$((failures + 1)); }
"$corvuna" -T json 0741710831012098802351f0 >"$work/out" 2>"$work/err"
[ $? -eq 1 ] && grep -q '"stopped":{"offset":12' "$work/out" && grep -q 'decoded with errors' "$work/err" ||
  { echo "FAIL: -T json, message cut short"; failures=$((failures + 1)); }
expect 2 "unknown format 'yaml'" 0 -- -T yaml 075e
expect 2 "LTE RRC PDUs of captures" 0 -- -T rrc 075e

# Captures (when this build reads them).
if "$corvuna" --help | grep -q -- '--read CAPTURE'; then
  scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
  /usr/bin/python3 - "$work/raw.pcap" "$scripts" <<'PY'
import sys
sys.path.insert(0, sys.argv[2])
from capturefiles import write_pcap
frames = [bytes.fromhex("0741710831012098802351f002804000040201d031"), bytes.fromhex("07440f")]
write_pcap(sys.argv[1], 148, [(f, 1700000000 + i, 250000000) for i, f in enumerate(frames)])
# A truncated ATTACH REQUEST between two good messages: -s stops at it.
bad = [frames[1], bytes.fromhex("0741"), frames[1]]
write_pcap(sys.argv[1].replace("raw.pcap", "bad.pcap"), 148, [(f, 1700000000 + i, 0) for i, f in enumerate(bad)])
PY
  expect 0 'raw.pcap: 2 frames, 2 NAS messages: 2 plain' 2 -- -r "$work/raw.pcap"
  grep -q '^# frame=2 time=2023-11-14T22:13:21.250000000Z carrier=user_dlt direction=downlink(from the message type)$' \
    "$work/out" || { echo "FAIL: -r comment line"; failures=$((failures + 1)); }
  cp "$work/raw.pcap" "$work/stdin"
  expect 0 'stdin: 2 frames' 2 -- -r -
  "$corvuna" -T tsv -r "$work/raw.pcap" 2>/dev/null >"$work/raw.tsv"
  expect 0 '' 2 -- -f "$work/raw.tsv"
  expect 1 'missing.pcap: cannot open: No such file' 0 -- -r "$work/missing.pcap"
  expect 1 'one.tsv: not a pcap or pcapng capture' 0 -- -r "$work/one.tsv"
  expect 2 'N=WHAT with N from 147 to 162 and WHAT nas, s1ap, mac-lte-framed or udp' 0 -- --user-dlt 200=nas -r "$work/raw.pcap"
  expect 2 'N=WHAT with N from 147 to 162' 0 -- --user-dlt 147=mac-nr -r "$work/raw.pcap"
  # corvuna report: python3 -m corvuna report with this program reading the
  # capture; the raw capture's ATTACH REQUEST rejected with EMM cause #15.
  if [ -x /usr/bin/python3 ]; then
    "$corvuna" report "$work/raw.pcap" -T json >"$work/report.json" 2>"$work/err"
    /usr/bin/python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))
(attach,) = [i for i in r["instances"] if i["procedure"] == "eps.attach"]
assert r["totals"]["messages"] == 2 and attach["status"] == "rejected" and attach["cause"]["value"] == 15, r
' "$work/report.json" || { echo "FAIL: report"; sed 's/^/  stderr: /' "$work/err"; failures=$((failures + 1)); }
  fi
  CORVUNA_PYTHON=$work/no-python3 "$corvuna" report "$work/raw.pcap" >/dev/null 2>"$work/err"
  [ $? -eq 2 ] && grep -q 'no-python3 is missing' "$work/err" ||
    { echo "FAIL: report without python3"; failures=$((failures + 1)); }
  # Keys files: a good one is taken, a bad line is named by file and line.
  printf '# test keys\n* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca\n' >"$work/good.keys"
  printf '# test keys\n001010123456789 k=465b opc=e8ed289deba952e4283b54e88e6183ca\n' >"$work/bad.keys"
  expect 0 'raw.pcap: 2 frames' 2 -- --keys "$work/good.keys" --show-keys -r "$work/raw.pcap"
  expect 2 'bad.keys:2: k has 16 bits, not 128' 0 -- --keys "$work/bad.keys" -r "$work/raw.pcap"
  expect 2 'missing.keys: cannot open the keys file' 0 -- --keys "$work/missing.keys" -r "$work/raw.pcap"
  expect 2 '--no-capture-keys takes no value' 0 -- --no-capture-keys=1 -r "$work/raw.pcap"
  # Compressed, piped in without -r, chosen by name, one UE's ladder, -s.
  gzip -c "$work/raw.pcap" >"$work/raw.pcap.gz"
  expect 0 'raw.pcap.gz: 2 frames, 2 NAS messages: 2 plain' 2 -- -r "$work/raw.pcap.gz"
  cp "$work/raw.pcap.gz" "$work/stdin"
  expect 1 'stdin: holds gzip-compressed data: read a capture with -r \(corvuna -r -\)' 0 --
  expect 0 '2 NAS messages.*; 1 selected' 1 -- -r "$work/raw.pcap" --message 'Attach reject'
  "$corvuna" -r "$work/raw.pcap" --ue 31002890832150 >"$work/ladder" 2>/dev/null
  [ "$(wc -l <"$work/ladder")" -eq 2 ] && grep -q 'UE <--- NW  attach_reject cause #15 ' "$work/ladder" ||
    { echo "FAIL: --ue ladder"; sed 's/^/  /' "$work/ladder"; failures=$((failures + 1)); }
  "$corvuna" -r "$work/raw.pcap" -r "$work/raw.pcap.gz" -T tsv 2>/dev/null >"$work/two.tsv"
  [ "$(head -1 "$work/two.tsv")" = "$(printf 'direction\thex\tframe\ttime\tcarrier\tdirection_source\tfile')" ] &&
    [ "$(cut -f6,7 "$work/two.tsv" | tail -1)" = "$(printf 'message_type\t%s' "$work/raw.pcap.gz")" ] ||
    { echo "FAIL: -T tsv header and file column"; failures=$((failures + 1)); }
  expect 1 'frame 2: decoded with errors: stopped there \(-s\)' 2 -- -s -r "$work/bad.pcap"
  # A pipe's messages come out as their frames arrive: the first is out
  # while the writer still holds the second back.
  { head -c 61 "$work/raw.pcap"; sleep 3; tail -c +62 "$work/raw.pcap"; } |
    "$corvuna" -r - -T tsv 2>/dev/null | cat >"$work/live.tsv" &
  sleep 1.5
  [ "$(wc -l <"$work/live.tsv")" -eq 2 ] ||
    { echo "FAIL: a piped capture's first message waited for the end"; failures=$((failures + 1)); }
  wait
  [ "$(wc -l <"$work/live.tsv")" -eq 3 ] || { echo "FAIL: a piped capture lost a message"; failures=$((failures + 1)); }
  # A real capture protected again with 128-EEA2/EIA2 by another AES
  # implementation (python3-cryptography) reads back with the NAS keys.
  captures="$scripts/../../shared/captures"
  if [ -f "$captures/s1ap_o5gs_testattach.pcapng" ] && /usr/bin/python3 -c 'import cryptography' 2>/dev/null; then
    /usr/bin/python3 "$scripts/cipher-capture.py" "$captures/s1ap_o5gs_testattach.pcapng" \
      "$captures/s1ap_o5gs_testattach.nas.tsv" "$work/eea2.pcap" 00112233445566778899aabbccddeeff \
      0f0e0d0c0b0a09080706050403020100
    printf '* knasenc=00112233445566778899aabbccddeeff knasint=0f0e0d0c0b0a09080706050403020100\n' >"$work/nas.keys"
    expect 0 'MAC 78 verified, 0 failed, .*ciphered bodies 56 deciphered, 0 EEA0, 0 guessed EEA0, 0 left ciphered' 120 \
      -- --keys "$work/nas.keys" --no-capture-keys -r "$work/eea2.pcap"
  else
    echo "note: the real captures or python3-cryptography are missing; the EEA2 capture check is skipped"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures program checks failed"
  exit 1
fi
echo "program checks passed"
