#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds Corvuna for 32-bit Windows with the MinGW-w64 i686 cross compiler
# and tests it under Wine:
#   - scripts/build-windows.sh cross-builds and checks that Corvuna.dll
#     exports exactly Corvunadecode, LteGain and CorvunaDecodeBounded,
#     undecorated, and that it and the programs import only DLLs that
#     Windows provides (no compiler runtime DLLs);
#   - the whole unit and corpus test suite, built as corvuna_tests.exe, passes
#     under Wine;
#   - corvuna_dll_host.exe loads Corvuna.dll with LoadLibrary/GetProcAddress,
#     decodes hand-made messages and one real message of every type in the
#     corpus, and its documents and entry point results equal, byte for byte,
#     those of the native build.
# Installs the packages it needs when they are missing.  Exits non-zero on
# any failure.
#
# Wine runs headless in a private prefix inside the build directory, without
# the session start-up (wineboot) that a desktop prefix performs: console
# test programs need none of its services, and skipping it saves minutes.
# Where the kernel cannot run 32-bit x86 programs (Wine's 32-bit loader is
# one), they run under QEMU user-mode emulation, registered through
# binfmt_misc.
#
# Environment: CORVUNA_NATIVE_BUILD (default build/native),
# CORVUNA_WIN32_BUILD (default build/win32), CORVUNA_CORPUS (default
# ../shared/corpus/real-nas.tsv beside the project).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
native=${CORVUNA_NATIVE_BUILD:-build/native}
win=${CORVUNA_WIN32_BUILD:-build/win32}
jobs=$(nproc)

step() { printf '\n== %s ==\n' "$*"; }
fail() {
  echo "test-windows: $*" >&2
  exit 1
}
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

step "packages for the Windows build and Wine"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Enabling the i386 architecture (wine32)"
  $SUDO dpkg --add-architecture i386
fi
# libgcc-s1:i386: Wine's 32-bit side needs it to end threads.
scripts/deps.sh cmake ninja-build g++ googletest nlohmann-json3-dev libpcap-dev binutils-mingw-w64-i686 \
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix wine wine32:i386 libgcc-s1:i386 python3

wine_loader=/usr/lib/wine/wine
[ -x "$wine_loader" ] || fail "$wine_loader (wine32) is missing"
# Emulated: 32-bit x86 programs go through QEMU (registered below, or
# earlier on this machine).
qemu_registered() { grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null; }
if ! "$wine_loader" --version >/dev/null 2>&1; then
  # The kernel refuses 32-bit x86 programs here: run them through QEMU.
  echo "32-bit x86 programs do not run natively here; using QEMU user-mode emulation"
  scripts/deps.sh qemu-user wine64
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    # ELF, 32-bit, little endian, executable or shared object, machine i386.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:' |
      $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  "$wine_loader" --version >/dev/null 2>&1 || fail "32-bit x86 programs still do not run"
fi
emulated=0
if qemu_registered; then
  emulated=1
  echo "32-bit x86 programs run under QEMU user-mode emulation"
fi
echo "$("$wine_loader" --version)"

step "native build (reference documents)"
if [ ! -f "$native/build.ninja" ]; then
  cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$native" -j "$jobs" --target corvuna_cli corvuna_shared corvuna_dll_host

step "cross build for 32-bit Windows, exports and imports of Corvuna.dll"
CORVUNA_WIN32_BUILD="$win" scripts/build-windows.sh
dll="$win/Corvuna.dll"

step "Wine prefix"
prefix="$root/$win/wineprefix"
builtins=""
for d in /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows; do
  if [ -f "$d/ntdll.dll" ]; then
    builtins=$d
    break
  fi
done
[ -n "$builtins" ] || fail "Wine's 32-bit Windows DLLs (i386-windows) not found"
stamp="$("$wine_loader" --version) $builtins"
if [ "$(cat "$prefix/.corvuna-prefix" 2>/dev/null)" != "$stamp" ]; then
  # Drive C: with Wine's own DLLs in system32, drive Z: the root directory;
  # the registry files are made by Wine on first use.
  rm -rf "$prefix"
  mkdir -p "$prefix/dosdevices" "$prefix/drive_c/windows/system32"
  ln -s ../drive_c "$prefix/dosdevices/c:"
  ln -s / "$prefix/dosdevices/z:"
  ln -s "$builtins"/* "$prefix/drive_c/windows/system32/"
  echo disable >"$prefix/.update-timestamp"
  echo "$stamp" >"$prefix/.corvuna-prefix"
fi
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="wineboot.exe=d"
unset DISPLAY WAYLAND_DISPLAY
stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
# A Unix path as Wine shows it to Windows programs.
winpath() { printf 'Z:%s' "$(realpath -m "$1")"; }

corpus=${CORVUNA_CORPUS:-$root/../shared/corpus/real-nas.tsv}
work="$win/wine-run"
rm -rf "$work"
mkdir -p "$work"
messages=("$root/tests/dll_host/messages.tsv")
if [ -f "$corpus" ]; then
  export CORVUNA_CORPUS
  CORVUNA_CORPUS=$(winpath "$corpus")
  # One real message of every message type in the corpus, read now.
  awk -F'\t' 'NR > 1 && $2 != "" && !seen[$3]++ {print $1 "\t" $2 "\t" $3}' "$corpus" \
    >"$work/corpus-selection.tsv"
  messages+=("$work/corpus-selection.tsv")
  echo "corpus: $corpus ($(wc -l <"$work/corpus-selection.tsv") message types)"
else
  unset CORVUNA_CORPUS
  echo "corpus not found at $corpus: the host uses the hand-made messages only"
fi

step "reference documents from the native build"
cli_args=()
for m in "${messages[@]}"; do cli_args+=(-f "$m"); done
# The hand-made messages include some shorter than their header: the
# program decodes them (the frame alone) and says so with exit status 1.
status=0
"$native/corvuna" "${cli_args[@]}" >"$work/expected-documents.txt" 2>"$work/expected-documents.log" || status=$?
[ "$status" -le 1 ] || fail "the native program failed on the host's messages (status $status)"
"$native/tests/dll_host/corvuna_dll_host" "$native/libcorvuna.so" "$work/native-documents.txt" \
  "$work/native-results.txt" "${messages[@]}"

# Runs a Windows program under Wine, output to LOG.  Under emulation a run
# that hangs (stopped after 10 minutes, 15 emulated; status 124) or ends by a signal to
# the emulator itself (status 128 and above) is run once more: QEMU's user
# mode is not fault-free with Wine.  A failure of the program itself shows
# as a Windows exit status between 1 and 123 and is not retried.
run_wine() {
  local log=$1 status=0 limit=600
  shift
  # Emulated, Wine alone takes minutes to start.
  [ "$emulated" -eq 1 ] && limit=900
  timeout -k 10 "$limit" wine "$@" >"$log" 2>&1 || status=$?
  if [ "$status" -ge 124 ] && [ "$emulated" -eq 1 ]; then
    echo "(emulated run ended with status $status: running $(basename "$1") again)" >&2
    cp "$log" "$log.first"
    wineserver -k >/dev/null 2>&1 || true
    status=0
    timeout -k 10 "$limit" wine "$@" >"$log" 2>&1 || status=$?
  fi
  return "$status"
}

step "under Wine: corvuna_tests.exe and the DLL host"
wine_messages=()
for m in "${messages[@]}"; do wine_messages+=("$(winpath "$m")"); done
test_args=()
if [ "$emulated" -eq 1 ]; then
  # Threads of a Windows program do not run reliably under Wine inside QEMU's
  # user mode; the concurrency test runs natively (also under
  # ThreadSanitizer) instead.
  # The exhaustive loops over every corpus message (each prefix, each
  # single-octet mutation, every view output) take most of the suite's time
  # and, emulated, push it past the time limit; they run natively and under
  # the sanitizers, while here the golden documents, every table message
  # and the DLL host's corpus selection check the 32-bit build.
  test_args+=(--gtest_filter='-*Concurrent*:Corpus.SingleOctetMutationsDecode:Corpus.EveryPrefixOfEveryMessageDecodes:View.CorpusOutputsAreWellFormedAndDecoded:View24008.CorpusClassmark3Values:View5gs.EveryPduOfTheCaptureListingsDecodes')
fi
# One after the other: the first process of a Wine session sets the session
# up, and a second one started meanwhile can wait for that set-up forever.
start=$SECONDS
tests_status=0
run_wine "$work/tests.log" "$win/tests/corvuna_tests.exe" "${test_args[@]}" || tests_status=$?
host_status=0
run_wine "$work/host.log" "$win/tests/dll_host/corvuna_dll_host.exe" "$(winpath "$dll")" \
  "$(winpath "$work/wine-documents.txt")" "$(winpath "$work/wine-results.txt")" "${wine_messages[@]}" ||
  host_status=$?
tr -d '\r' <"$work/tests.log" | grep -E '^\[  (FAILED|SKIPPED|PASSED) |^\[==========\]|^Failure|Expected|Which is|Value of' || true
echo "corvuna_tests.exe exit status $tests_status"
tr -d '\r' <"$work/host.log"
echo "corvuna_dll_host.exe exit status $host_status ($((SECONDS - start)) s under Wine)"

[ "$tests_status" -eq 0 ] || fail "the test suite failed under Wine"
if [ -f "$corpus" ] && tr -d '\r' <"$work/tests.log" | grep -q 'corpus not found'; then
  fail "the corpus tests were skipped under Wine"
fi
[ "$host_status" -eq 0 ] || fail "the DLL host failed under Wine"
cmp "$work/expected-documents.txt" "$work/wine-documents.txt" ||
  fail "documents through Corvuna.dll differ from the native command-line program's"
cmp "$work/native-documents.txt" "$work/wine-documents.txt" ||
  fail "documents through Corvuna.dll differ from the native library's"
cmp "$work/native-results.txt" "$work/wine-results.txt" ||
  fail "entry point results of Corvuna.dll differ from the native library's"
documents=$(grep -c '^</L3Message>$' "$work/wine-documents.txt")
echo "Corvuna.dll under Wine: $documents documents and $(wc -l <"$work/wine-results.txt") result lines" \
  "identical to the native build's"

passed=$(tr -d '\r' <"$work/tests.log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p')
echo "wine: $((${passed:-0} + 1)) passed, 0 failed"
