#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Proves the installed package from outside: installs a Release build into
# a scratch prefix, checks what is there, builds and runs a small C program
# against that prefix through find_package and through pkg-config, linked
# shared and static, imports the installed Python package, then makes the
# Debian packages with CPack and unpacks them into a scratch root.
# Usage: scripts/test-package.sh [BUILD_DIR]   (default build/package; a
# build directory already configured is built as it is configured)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh cmake ninja-build g++ libpcap-dev zlib1g-dev libssl-dev libipsec-mb-dev pkgconf dpkg python3 >&2
build=${1:-build/package}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix

fail() { echo "package test: $*" >&2; exit 1; }

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVUNA_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" >/dev/null
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"
libdir=$(sed -n 's/^libdir=\${prefix}\///p' "$build/corvuna.pc")

echo "installed into a scratch prefix:"
for f in "$libdir/libcorvuna.so.1" "$libdir/libcorvuna.so" "$libdir/libcorvuna.a" include/corvuna/corvuna.h \
         "$libdir/cmake/Corvuna/CorvunaConfig.cmake" "$libdir/cmake/Corvuna/CorvunaConfigVersion.cmake" \
         "$libdir/pkgconfig/corvuna.pc" bin/corvuna share/man/man1/corvuna.1 share/doc/Corvuna/LICENSE \
         "$libdir/libcorvuna-capture.so.1" include/corvuna/capture.h "$libdir/pkgconfig/corvuna-capture.pc" \
         share/doc/Corvuna/CHANGELOG.md; do
  [ -e "$prefix/$f" ] || fail "missing $f"
  echo "  $f"
done
soname=$(objdump -p "$prefix/$libdir/libcorvuna.so" | awk '$1 == "SONAME" {print $2}')
[ "$soname" = "libcorvuna.so.1" ] || fail "SONAME is '$soname', not libcorvuna.so.1"
echo "  SONAME $soname"
version=$("$prefix/bin/corvuna" --version)
echo "  corvuna --version: $version"

run_consumer() {  # what program
  local out
  out=$("$2") || fail "$1: the consumer failed"
  case "$out" in *"<SECURITY_MODE_COMPLETE>"*) echo "  $1: ok (${out%%:*})" ;; *) fail "$1: unexpected output: $out" ;; esac
}

echo "a C program against the installed prefix:"
for link in shared static; do
  cmake -S tests/consumer -B "$scratch/cmake-$link" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    -DCORVUNA_LINK=$link >/dev/null
  cmake --build "$scratch/cmake-$link" >/dev/null
  run_consumer "find_package, $link" "$scratch/cmake-$link/consumer"
done
if [ -n "$(objdump -p "$scratch/cmake-static/consumer" | awk '$1 == "NEEDED" && $2 ~ /corvuna/')" ]; then
  fail "the static consumer needs the shared library"
fi
export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig"
# shellcheck disable=SC2046
cc -o "$scratch/pc-shared" tests/consumer/consumer.c $(pkg-config --cflags --libs corvuna)
run_consumer "pkg-config, shared" "$scratch/pc-shared"
# shellcheck disable=SC2046
cc -static -o "$scratch/pc-static" tests/consumer/consumer.c $(pkg-config --static --cflags --libs corvuna)
run_consumer "pkg-config, static" "$scratch/pc-static"

# The capture library, through its own pkg-config file; it exports its C
# API and nothing else.
cc -o "$scratch/capture" tests/consumer/capture_consumer.c $(pkg-config --cflags --libs corvuna-capture)
if [ -d ../shared/captures ]; then
  out=$("$scratch/capture" ../shared/captures/s1ap_o5gs_testepc.pcapng) || fail "the capture consumer failed"
  case "$out" in *"23 uplink attach_request IMSI 001010123456819"*"179 NAS messages"*) echo "  capture library: ok" ;;
    *) fail "capture consumer: unexpected output: $(echo "$out" | head -3)" ;; esac
else
  echo "  capture library: built against (no ../shared/captures to read)"
fi
exports=$(nm -D --defined-only "$prefix/$libdir/libcorvuna-capture.so.1" | awk '{print $3}' | grep -v '^corvuna_capture_' || true)
[ -z "$exports" ] || fail "libcorvuna-capture exports more than its C API: $exports"

echo "the installed Python package:"
site=$(sed -n 's/^CORVUNA_PYTHON_INSTALL_DIR:STRING=//p' "$build/CMakeCache.txt")
[ -n "$site" ] || fail "no Python package directory in the build"
out=$(cd "$scratch" && PYTHONPATH="$prefix/$site" /usr/bin/python3 -c \
  'import corvuna; print(corvuna.library_path()); print(corvuna.decode(bytes.fromhex("075e")), end="")')
case "$out" in "$prefix/$libdir/libcorvuna.so.1"*"<SECURITY_MODE_COMPLETE>"*) echo "  ok: ${out%%$'\n'*}" ;;
  *) fail "python: unexpected output: $out" ;; esac
if [ -d ../shared/captures ]; then
  testepc=$(realpath ../shared/captures/s1ap_o5gs_testepc.pcapng)
  out=$(cd "$scratch" && PYTHONPATH="$prefix/$site" /usr/bin/python3 -c \
    'import corvuna, sys; print(sum(1 for r in corvuna.read(sys.argv[1]) if r.message == "attach_request"))' \
    "$testepc") || fail "python: corvuna.read failed"
  [ "$out" = 15 ] || fail "python: corvuna.read found $out attach requests, not 15"
  echo "  corvuna.read through the installed capture library: ok"
fi

echo "Debian packages:"
(cd "$build" && cpack -G DEB >"$scratch/cpack.log") || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
root=$scratch/root
for deb in "$build"/*.deb; do
  dpkg-deb --info "$deb" >/dev/null || fail "$deb is not a Debian package"
  dpkg -x "$deb" "$root"
  echo "  $(basename "$deb"): $(dpkg-deb --field "$deb" Package Version Depends | tr '\n' ' ')"
done
for f in usr/lib/libcorvuna.so.1 usr/lib/libcorvuna.a usr/include/corvuna/corvuna.h usr/bin/corvuna \
         usr/lib/libcorvuna-capture.so.1 usr/include/corvuna/capture.h usr/lib/pkgconfig/corvuna-capture.pc \
         usr/lib/pkgconfig/corvuna.pc usr/share/man/man1/corvuna.1; do
  [ -e "$root/$f" ] || fail "the packages lack /$f"
done
LD_LIBRARY_PATH=$root/usr/lib "$root/usr/bin/corvuna" 075e | grep -q SECURITY_MODE_COMPLETE ||
  fail "the packaged program does not decode"
PKG_CONFIG_PATH=$root/usr/lib/pkgconfig
# shellcheck disable=SC2046
cc -o "$scratch/deb-shared" tests/consumer/consumer.c $(PKG_CONFIG_PATH=$PKG_CONFIG_PATH pkg-config --cflags --libs corvuna)
run_consumer "the unpacked packages through pkg-config" "$scratch/deb-shared"
echo "package test passed"
