#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs the Debian packages a build needs, only those that are missing.
# Usage: scripts/deps.sh PACKAGE...   (no arguments: the native build set)
set -euo pipefail

packages=("$@")
if [ ${#packages[@]} -eq 0 ]; then
  packages=(cmake ninja-build g++ libgtest-dev libbenchmark-dev python3)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Everything said here goes to standard error: callers' standard output
# may be documents.
exec 3>&1 1>&2
echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync can fail one index (seen with a foreign
# architecture's security index): the others are still usable, so a failed
# update is reported and the install tried all the same.
if ! $SUDO apt-get update -qq; then
  echo "deps: apt-get update failed for some index; installing from the lists at hand"
fi
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  # Multi-Arch: same packages need one version on every architecture; when a
  # foreign architecture's updates index is missing, the release's own
  # versions match where the newest do not.
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || exit 1
  echo "deps: retrying with the versions of $codename itself"
  $SUDO apt-get install -y -qq --no-install-recommends -t "$codename" "${missing[@]}"
fi
