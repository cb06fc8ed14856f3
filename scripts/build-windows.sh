#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Cross-builds Corvuna for 32-bit Windows with the MinGW-w64 i686 toolchain
# (Corvuna.dll, its import library Corvuna.dll.a, corvuna.exe, the test
# suite corvuna_tests.exe and the run-time loading host
# corvuna_dll_host.exe) and checks the DLL: it exports exactly the public
# entry points, undecorated, and it and the programs import only DLLs that
# Windows itself provides.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
win=${CORVUNA_WIN32_BUILD:-build/win32}
triplet=i686-w64-mingw32

fail() {
  echo "build-windows: $*" >&2
  exit 1
}

scripts/deps.sh cmake ninja-build googletest nlohmann-json3-dev binutils-mingw-w64-i686 gcc-mingw-w64-i686-posix \
  g++-mingw-w64-i686-posix python3

cmake -S . -B "$win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$win" -j "$(nproc)"

dll="$win/Corvuna.dll"
programs=("$win/corvuna.exe" "$win/tests/corvuna_tests.exe" "$win/tests/dll_host/corvuna_dll_host.exe")
for f in "$dll" "$win/Corvuna.dll.a" "${programs[@]}"; do
  [ -f "$f" ] || fail "$f was not built"
done

objdump="$triplet-objdump"
"$objdump" -f "$dll" | grep -q 'file format pei-i386' || fail "$dll is not a 32-bit x86 DLL"
exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  awk '/^\t\[/ {print $NF}' | sort | tr '\n' ' ')
echo "exports of Corvuna.dll: $exports"
[ "$exports" = "CorvunaDecodeBounded CorvunaDecodeView CorvunaVersion Corvunadecode LteGain " ] || fail "unexpected exports: $exports"

check_imports() {
  local file=$1 imports
  imports=$("$objdump" -p "$file" | awk '/DLL Name:/ {print $3}' | sort -f | tr '\n' ' ')
  echo "imports of ${file#"$win"/}: $imports"
  for name in $imports; do
    case "${name,,}" in
      kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll) ;;
      *) fail "$file imports $name, which Windows does not provide" ;;
    esac
  done
}
check_imports "$dll"
for f in "${programs[@]}"; do check_imports "$f"; done
echo "Windows build checked: $dll"
