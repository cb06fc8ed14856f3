#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the library and the corvuna program, then decodes the bundled
# sample messages (samples/messages.tsv) and prints their documents.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh cmake ninja-build g++ libpcap-dev
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVUNA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release
build/release/corvuna -f samples/messages.tsv
