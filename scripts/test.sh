#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds and runs the whole test suite: the unit and corpus tests natively,
# the standard view compared with tshark over the corpus and the 5G captures, the tests again
# under AddressSanitizer + UndefinedBehaviorSanitizer, the concurrency
# tests under ThreadSanitizer, a short run of every fuzz target
# (FUZZ_SECONDS each, default 15), checks that the shared library exports
# the public API and nothing else, cross-builds the 32-bit Windows DLL,
# checks its export and import tables, and runs the test suite and the DLL
# host under Wine (scripts/test-windows.sh), installs the package into a
# scratch prefix and builds C consumers against it (scripts/test-package.sh),
# and tests the Python package installed with pip into a scratch venv (the
# report's page loaded in headless Chromium among them).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh cmake ninja-build g++ clang libgtest-dev libbenchmark-dev binutils nlohmann-json3-dev tshark python3 \
  libpcap-dev zlib1g-dev libssl-dev libipsec-mb-dev python3-cryptography pkgconf dpkg python3-pytest python3-dask \
  python3-distributed python3-pandas python3-venv python3-pip python3-setuptools python3-wheel python3-wheel-whl \
  python3-jsonschema \
  python3-matplotlib chromium chromium-driver
jobs=$(nproc)

step() { printf '\n== %s == (%d s so far)\n' "$*" "$SECONDS"; }

step "native build and tests"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVUNA_BUILD_BENCH=ON >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs"

step "standard view against tshark, field by field, over the real-message corpus"
corpus_file="${CORVUNA_CORPUS:-../shared/corpus/real-nas.tsv}"
if [ -f "$corpus_file" ]; then
  /usr/bin/python3 scripts/compare-tshark.py "$corpus_file" build/native/corvuna tests/tshark/adjudicated.tsv
else
  echo "skipped: $corpus_file not found"
fi

step "standard view against tshark, field by field, over every NAS PDU of the 5G captures"
captures_5g="${CORVUNA_CAPTURES_5G:-../shared/captures-5g}"
if ls "$captures_5g"/*.nas5g.tsv >/dev/null 2>&1; then
  /usr/bin/python3 scripts/compare-tshark.py --5gs "$captures_5g" build/native/corvuna tests/tshark/adjudicated.tsv
else
  echo "skipped: $captures_5g/*.nas5g.tsv not found"
fi

step "exported symbols of libcorvuna.so"
exports=$(nm -D --defined-only build/native/libcorvuna.so | awk '{print $3}' | sort | tr '\n' ' ')
echo "$exports"
if [ "$exports" != "CorvunaDecodeBounded CorvunaDecodeView CorvunaVersion Corvunadecode LteGain " ]; then
  echo "unexpected exports: $exports" >&2
  exit 1
fi

step "libcorvuna.so takes no memory from the heap: it imports no allocation function"
allocators=$(nm -D --undefined-only build/native/libcorvuna.so | awk '{print $NF}' |
  grep -E '^(malloc|calloc|realloc|free|_Znwm|_Znam|_ZnwmRKSt9nothrow_t|_ZnamRKSt9nothrow_t)(@|$)' || true)
if [ -n "$allocators" ]; then
  echo "libcorvuna.so imports allocation functions: $allocators" >&2
  exit 1
fi
echo "none imported"

step "AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVUNA_SANITIZE=address,undefined -DCORVUNA_BUILD_TOOLS=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs"

step "ThreadSanitizer build and the concurrency test"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVUNA_SANITIZE=thread -DCORVUNA_BUILD_TOOLS=OFF >/dev/null
cmake --build build/tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/corvuna_tests --gtest_filter='*Concurrent*'

step "fuzz targets, ${FUZZ_SECONDS:-15}s each (the long runs: scripts/fuzz.sh 1800)"
scripts/fuzz.sh "${FUZZ_SECONDS:-15}"

step "32-bit Windows: Corvuna.dll exports and imports, test suite and DLL host under Wine"
scripts/test-windows.sh

step "installed as a package: find_package and pkg-config consumers, shared and static; Debian packages"
scripts/test-package.sh build/native

step "Python package: pip install without network, pytest (Dask LocalCluster with two workers; the report's page in headless Chromium)"
venv=$(mktemp -d)
/usr/bin/python3 -m venv --system-site-packages "$venv"
CORVUNA_PREBUILT_LIBRARY=$PWD/build/native/libcorvuna.so.1 \
  "$venv/bin/pip" install -q --no-build-isolation --no-index ./python
(cd "$venv" && CORVUNA_PROGRAM_DIR=$OLDPWD/build/native "$venv/bin/python" -m pytest -q -p no:cacheprovider \
  "$OLDPWD/python/tests")
rm -rf "$venv"
# A plain venv (pip and setuptools only): wheel from Debian's wheel file, as
# the README says.
venv=$(mktemp -d)
/usr/bin/python3 -m venv "$venv"
"$venv/bin/pip" install -q --no-index /usr/share/python-wheels/wheel-*.whl
CORVUNA_PREBUILT_LIBRARY=$PWD/build/native/libcorvuna.so.1 \
  "$venv/bin/pip" install -q --no-build-isolation --no-index ./python
(cd "$venv" && "$venv/bin/python" -c 'import corvuna, sys
assert "SECURITY_MODE_COMPLETE" in corvuna.decode("075e")
if len(sys.argv) > 1:
    assert sum(1 for r in corvuna.read(sys.argv[1]) if r.message == "attach_request") == 15
print("plain venv: corvuna", corvuna.library_version(), "imports, decodes and reads captures")' \
  $([ -f "$OLDPWD/../shared/captures/s1ap_o5gs_testepc.pcapng" ] &&
    echo "$OLDPWD/../shared/captures/s1ap_o5gs_testepc.pcapng"))
rm -rf "$venv"

step "command-line program on the samples"
# One sample is of protocol discriminator 5 on purpose: the program decodes
# the rest, says that of this one and exits with status 1.
status=0
note=$(build/native/corvuna -f samples/messages.tsv 2>&1 >/dev/null) || status=$?
printf '%s\n' "$note"
if [ "$status" -ne 1 ] || [ "$note" != "corvuna: 1 message of a type or protocol the view does not know" ]; then
  echo "the program on the samples: exit status $status, expected 1 with the note above" >&2
  exit 1
fi

echo
echo "all test suites passed in $SECONDS s"
