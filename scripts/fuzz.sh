#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the libFuzzer targets and runs each for SECONDS (default 60).
#   scripts/fuzz.sh [SECONDS] [--coverage]
# Seeds come at run time from the real-message corpus beside the project
# (../shared/corpus/real-nas.tsv, or $CORVUNA_CORPUS), from
# samples/messages.tsv, from the captures of ../shared/captures and
# ../shared/captures-5g (the PER targets: scripts/per-seeds.py), and the 5GS
# view target's from tshark's listings of the 5G captures
# (../shared/captures-5g/*.nas5g.tsv, or $CORVUNA_CAPTURES_5G); the growing
# corpus of each target is kept in build/fuzz-corpus/.  Only the targets
# named in FUZZ_TARGETS run, when it is set.  With --coverage, the
# library's line and branch coverage from that corpus is reported with
# llvm-cov afterwards.
#   Long run:  scripts/fuzz.sh 3600 --coverage
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
coverage=0
for arg in "$@"; do
  case "$arg" in
    --coverage) coverage=1 ;;
    *) seconds="$arg" ;;
  esac
done

scripts/deps.sh cmake ninja-build clang llvm libclang-rt-14-dev perl nlohmann-json3-dev python3 libpcap-dev zlib1g-dev \
  libssl-dev libipsec-mb-dev
jobs=$(nproc)

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVUNA_BUILD_FUZZERS=ON -DCORVUNA_BUILD_TESTS=OFF -DCORVUNA_BUILD_TOOLS=OFF >/dev/null
cmake --build build/fuzz -j "$jobs"

corpus_file="${CORVUNA_CORPUS:-../shared/corpus/real-nas.tsv}"
seeds=build/fuzz-seeds
# Every target, in the order they run.
targets=(decode_fuzz bounded_fuzz lte_gain_fuzz view_fuzz view_5gs_fuzz capture_fuzz ies_24008_fuzz security_fuzz
  radio_fuzz)
rm -rf "$seeds"
mkdir -p "${targets[@]/#/$seeds/}"
sources=(samples/messages.tsv)
if [ -f "$corpus_file" ]; then
  sources+=("$corpus_file")
else
  echo "note: $corpus_file not found; seeding from the samples only"
fi
# One seed file per message and target, in each target's input layout.
perl -e '
  my ($dir) = shift;
  my $n = 0;
  while (<>) {
    chomp; s/\r$//;
    next if /^#/ || /^\s*$/;
    my ($d, $hex) = split /\t/;
    next unless defined $hex && $d =~ /^[01]$/;
    $hex =~ s/\s//g;
    next if $hex !~ /^([0-9a-fA-F]{2})+$/;
    my $msg = pack("H*", $hex);
    $n++;
    my %files = (
      "decode_fuzz/$n" => chr($d) . $msg,
      "view_fuzz/$n" => chr($d | ($n % 2) * 2) . $msg,
      "bounded_fuzz/$n" => pack("n", ($n * 977) % 20000) . chr($d) . $msg,
    );
    $files{"lte_gain_fuzz/$n"} = "\0\0\0" . $msg if (ord($msg) & 0x0F) == 2;
    # ies_24008_fuzz: what looks like a classmark 3 (IEI 0x20), QoS (0x30),
    # DRX parameter (0x5C) or extended DRX parameters (0x6E) value, after
    # the octet that picks its decoder and the direction.
    my @o = unpack("C*", $msg);
    for my $i (0 .. $#o - 2) {
      my ($iei, $len) = ($o[$i], $o[$i + 1]);
      my ($which, $start, $count);
      if ($iei == 0x20 && $len <= 32) { ($which, $start, $count) = (0, $i + 2, $len); }
      elsif ($iei == 0x30 && $len >= 12 && $len <= 20) { ($which, $start, $count) = (1, $i + 2, $len); }
      elsif ($iei == 0x5C) { ($which, $start, $count) = (2, $i + 1, 2); }
      elsif ($iei == 0x6E && $len >= 1 && $len <= 2) { ($which, $start, $count) = (3, $i + 2, $len); }
      next unless defined $which && $start + $count <= @o;
      my $value = substr($msg, $start, $count);
      $files{"ies_24008_fuzz/$n-$i"} = chr($which << 1 | $d << 3) . $value;
    }
    for my $f (keys %files) {
      open(my $fh, ">:raw", "$dir/$f") or die; print $fh $files{$f}; close $fh;
    }
  }
  print "$n seed messages\n";
' "$seeds" "${sources[@]}"
# The 5GS view target: every NAS PDU of the 5G listings as the whole message
# (octet 0: direction, null ciphering for the protected ones).
captures_5g="${CORVUNA_CAPTURES_5G:-../shared/captures-5g}"
listings_5g=("$captures_5g"/*.nas5g.tsv)
if [ -f "${listings_5g[0]}" ]; then
  perl -e '
    my ($dir) = shift;
    my $n = 0;
    while (<>) {
      chomp; s/\r$//;
      next if /^#/;
      my (undef, undef, $d, $hex, $sht) = split /\t/;
      next unless defined $sht && $d =~ /^[01]$/ && $hex =~ /^([0-9a-fA-F]{2})+$/;
      $n++;
      open(my $fh, ">:raw", "$dir/view_5gs_fuzz/$n") or die;
      print $fh chr($d | ($sht =~ /^[1-4]$/ ? 2 : 0)) . pack("H*", $hex);
      close $fh;
    }
    print "$n 5GS seed messages\n";
  ' "$seeds" "${listings_5g[@]}"
else
  echo "note: $captures_5g/*.nas5g.tsv not found; the 5GS view target is seeded from a few headers only"
  printf '\x04\x5b\x01' > "$seeds/view_5gs_fuzz/1"
  printf '\x09\x05\x01\xd6\x1a' > "$seeds/view_5gs_fuzz/2"
fi
# The capture target: frames of the real captures, and the messages as raw NAS.
captures_dir="${CORVUNA_CAPTURES:-../shared/captures}"
capture_files=()
if [ -d "$captures_dir" ]; then
  capture_files=("$captures_dir"/*.pcap "$captures_dir"/*.pcapng)
else
  echo "note: $captures_dir not found; the capture target is seeded from messages only"
fi
/usr/bin/python3 scripts/capture-seeds.py "$seeds/capture_fuzz" "${capture_files[@]}" --messages samples/messages.tsv
# The security target: the listings' messages in order, and a keys file.
listings=()
[ -d "$captures_dir" ] && listings=("$captures_dir"/*.nas.tsv)
security_listings=("${listings[@]}")
[ -f "${listings_5g[0]}" ] && security_listings+=("${listings_5g[@]}")
/usr/bin/python3 scripts/security-seeds.py "$seeds/security_fuzz" "${security_listings[@]}"
# The PER targets: the S1AP, NGAP and GSMTAP LTE RRC PDUs of the captures
# (the 5G ones of ../shared/captures-5g too).
per_files=("${capture_files[@]}")
[ -d "${CORVUNA_CAPTURES_5G:-../shared/captures-5g}" ] && per_files+=("${CORVUNA_CAPTURES_5G:-../shared/captures-5g}"/*.pcapng)
/usr/bin/python3 scripts/per-seeds.py "$seeds" "${per_files[@]}"
# The radio target: the frames of the MAC-LTE captures (user link types 147
# and 149).
radio_files=()
for f in "${capture_files[@]}"; do
  case "$(basename "$f")" in rrc_dlt14[79]_*) radio_files+=("$f") ;; esac
done
/usr/bin/python3 scripts/radio-seeds.py "$seeds/radio_fuzz" "${radio_files[@]}"

# The capture reader and record input targets: the small captures whole
# (and gzip-compressed), record inputs of the listings' messages.
/usr/bin/python3 scripts/reader-seeds.py "$seeds" "${capture_files[@]}" --listings "${listings[@]}"
for t in capture_reader_fuzz record_input_fuzz; do
  [ -x build/fuzz/tests/fuzz/$t ] && targets+=("$t")
done

# Built only with the ASN.1 tables (CORVUNA_ASN1_DIR).
for t in per_fuzz ngap_fuzz rrc_fuzz; do
  [ -x build/fuzz/tests/fuzz/$t ] && targets+=("$t")
done

status=0
if [ -n "${FUZZ_TARGETS:-}" ]; then
  read -r -a targets <<<"$FUZZ_TARGETS"
fi
for target in "${targets[@]}"; do
  mkdir -p build/fuzz-corpus/$target "$seeds/$target"
  echo "== $target: ${seconds}s =="
  case "$target" in
    capture_fuzz | security_fuzz) options=(-dict=tests/fuzz/nas.dict -max_len=4096) ;;
    radio_fuzz) options=(-dict=tests/fuzz/radio.dict -max_len=4096) ;;
    per_fuzz | ngap_fuzz | rrc_fuzz) options=(-max_len=8192) ;;
    capture_reader_fuzz) options=(-max_len=65536) ;;
    record_input_fuzz) options=(-max_len=4096) ;;
    *) options=(-dict=tests/fuzz/nas.dict -max_len=1024) ;;
  esac
  # Undefined behaviour is a finding like a crash (the input is kept).
  if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      build/fuzz/tests/fuzz/$target build/fuzz-corpus/$target "$seeds/$target" "${options[@]}" \
      -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix=build/fuzz/$target- 2>build/fuzz/$target.log; then
    status=1
    tail -40 build/fuzz/$target.log
  fi
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' build/fuzz/$target.log || true
  grep -E '^#[0-9]+ +DONE' build/fuzz/$target.log | tail -1 || true
done
[ "$status" -eq 0 ] || { echo "a fuzz target failed" >&2; exit 1; }

if [ "$coverage" -eq 1 ]; then
  cmake -S . -B build/fuzz-cov -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCORVUNA_COVERAGE=ON \
    -DCORVUNA_BUILD_FUZZERS=ON -DCORVUNA_BUILD_TESTS=OFF -DCORVUNA_BUILD_TOOLS=OFF >/dev/null
  cmake --build build/fuzz-cov -j "$jobs"
  rm -f build/fuzz-cov/*.profraw
  for target in "${targets[@]}"; do
    LLVM_PROFILE_FILE="build/fuzz-cov/$target-%p.profraw" \
      build/fuzz-cov/tests/fuzz/$target -runs=0 build/fuzz-corpus/$target "$seeds/$target" >/dev/null 2>&1
  done
  llvm-profdata merge -sparse build/fuzz-cov/*.profraw -o build/fuzz-cov/fuzz.profdata
  objects=()
  for target in "${targets[@]:1}"; do objects+=(-object "build/fuzz-cov/tests/fuzz/$target"); done
  llvm-cov report "build/fuzz-cov/tests/fuzz/${targets[0]}" "${objects[@]}" \
    -instr-profile=build/fuzz-cov/fuzz.profdata src/ | tee build/fuzz-cov/report.txt | tail -3
fi
