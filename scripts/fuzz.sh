#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the libFuzzer targets and runs each for SECONDS (default 60).
#   scripts/fuzz.sh [SECONDS] [--coverage]
# Seeds come at run time from the real-message corpus beside the project
# (../shared/corpus/real-nas.tsv, or $CORVUNA_CORPUS), from
# samples/messages.tsv, and from the captures of ../shared/captures and
# ../shared/captures-5g (the PER targets: scripts/per-seeds.py); the
# growing corpus of each target is kept in build/fuzz-corpus/.  Only the
# targets named in FUZZ_TARGETS run, when it is set.  With --coverage, the
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

scripts/deps.sh cmake ninja-build clang llvm libclang-rt-14-dev perl nlohmann-json3-dev python3 libpcap-dev
jobs=$(nproc)

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVUNA_BUILD_FUZZERS=ON -DCORVUNA_BUILD_TESTS=OFF -DCORVUNA_BUILD_TOOLS=OFF >/dev/null
cmake --build build/fuzz -j "$jobs"

corpus_file="${CORVUNA_CORPUS:-../shared/corpus/real-nas.tsv}"
seeds=build/fuzz-seeds
rm -rf "$seeds"
mkdir -p "$seeds"/decode_fuzz "$seeds"/bounded_fuzz "$seeds"/lte_gain_fuzz "$seeds"/view_fuzz "$seeds"/capture_fuzz
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
    for my $f (keys %files) {
      open(my $fh, ">:raw", "$dir/$f") or die; print $fh $files{$f}; close $fh;
    }
  }
  print "$n seed messages\n";
' "$seeds" "${sources[@]}"
# The capture target: frames of the real captures, and the messages as raw NAS.
captures_dir="${CORVUNA_CAPTURES:-../shared/captures}"
capture_files=()
if [ -d "$captures_dir" ]; then
  capture_files=("$captures_dir"/*.pcap "$captures_dir"/*.pcapng)
else
  echo "note: $captures_dir not found; the capture target is seeded from messages only"
fi
/usr/bin/python3 scripts/capture-seeds.py "$seeds/capture_fuzz" "${capture_files[@]}" --messages samples/messages.tsv
# The PER targets: the S1AP, NGAP and GSMTAP LTE RRC PDUs of the captures
# (the 5G ones of ../shared/captures-5g too).
per_files=("${capture_files[@]}")
[ -d "${CORVUNA_CAPTURES_5G:-../shared/captures-5g}" ] && per_files+=("${CORVUNA_CAPTURES_5G:-../shared/captures-5g}"/*.pcapng)
/usr/bin/python3 scripts/per-seeds.py "$seeds" "${per_files[@]}"
targets=(decode_fuzz bounded_fuzz lte_gain_fuzz view_fuzz capture_fuzz)
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
    capture_fuzz) options=(-dict=tests/fuzz/nas.dict -max_len=4096) ;;
    per_fuzz|ngap_fuzz|rrc_fuzz) options=(-max_len=8192) ;;
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
