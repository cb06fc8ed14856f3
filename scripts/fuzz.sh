#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the libFuzzer targets and runs each for SECONDS (default 60).
#   scripts/fuzz.sh [SECONDS] [--coverage]
# Seeds come at run time from the real-message corpus beside the project
# (../shared/corpus/real-nas.tsv, or $CORVUNA_CORPUS) and from
# samples/messages.tsv; the growing corpus of each target is kept in
# build/fuzz-corpus/.  With --coverage, the library's line and branch
# coverage from that corpus is reported with llvm-cov afterwards.
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
mkdir -p "$seeds"/decode_fuzz "$seeds"/bounded_fuzz "$seeds"/lte_gain_fuzz "$seeds"/view_fuzz "$seeds"/capture_fuzz \
  "$seeds"/radio_fuzz
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
# The radio target: the frames of the MAC-LTE captures (user link types 147
# and 149).
radio_files=()
for f in "${capture_files[@]}"; do
  case "$(basename "$f")" in rrc_dlt14[79]_*) radio_files+=("$f") ;; esac
done
/usr/bin/python3 scripts/radio-seeds.py "$seeds/radio_fuzz" "${radio_files[@]}"

status=0
for target in decode_fuzz bounded_fuzz lte_gain_fuzz view_fuzz capture_fuzz radio_fuzz; do
  mkdir -p build/fuzz-corpus/$target
  echo "== $target: ${seconds}s =="
  if ! build/fuzz/tests/fuzz/$target build/fuzz-corpus/$target "$seeds/$target" \
      -dict="tests/fuzz/$([ "$target" = radio_fuzz ] && echo radio || echo nas).dict" \
      -max_len="$(case "$target" in capture_fuzz | radio_fuzz) echo 4096 ;; *) echo 1024 ;; esac)" \
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
  for target in decode_fuzz bounded_fuzz lte_gain_fuzz view_fuzz capture_fuzz radio_fuzz; do
    LLVM_PROFILE_FILE="build/fuzz-cov/$target-%p.profraw" \
      build/fuzz-cov/tests/fuzz/$target -runs=0 build/fuzz-corpus/$target "$seeds/$target" >/dev/null 2>&1
  done
  llvm-profdata merge -sparse build/fuzz-cov/*.profraw -o build/fuzz-cov/fuzz.profdata
  llvm-cov report build/fuzz-cov/tests/fuzz/decode_fuzz \
    -object build/fuzz-cov/tests/fuzz/bounded_fuzz -object build/fuzz-cov/tests/fuzz/lte_gain_fuzz \
    -object build/fuzz-cov/tests/fuzz/view_fuzz -object build/fuzz-cov/tests/fuzz/capture_fuzz \
    -object build/fuzz-cov/tests/fuzz/radio_fuzz \
    -instr-profile=build/fuzz-cov/fuzz.profdata src/ | tee build/fuzz-cov/report.txt | tail -3
fi
