#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Rewrites tests/golden/documents.golden, the digests of the documents that
# the golden-document test compares against.  Run it only when the legacy
# documents are meant to change; the whole real-message corpus must be
# present (../shared/corpus/real-nas.tsv or $CORVUNA_CORPUS).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh cmake ninja-build g++ libgtest-dev nlohmann-json3-dev libpcap-dev zlib1g-dev libssl-dev libipsec-mb-dev python3
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native --target corvuna_tests >&2
CORVUNA_GOLDEN_UPDATE=1 build/native/tests/corvuna_tests --gtest_filter='GoldenDocuments.*' >&2
git --no-pager diff --stat -- tests/golden/documents.golden
