#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the library and the corvuna program, then decodes the bundled
# sample messages (samples/messages.tsv) and prints their documents.
# Standard output holds the documents alone; the build talks on standard
# error.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh cmake ninja-build g++ libpcap-dev zlib1g-dev libssl-dev libipsec-mb-dev python3 >&2
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVUNA_BUILD_TESTS=OFF >&2
cmake --build build/release >&2
build/release/corvuna -f samples/messages.tsv
