# SPDX-License-Identifier: Apache-2.0
import csv
import os

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def corpus_path():
    return os.environ.get("CORVUNA_CORPUS") or os.path.join(ROOT, "..", "shared", "corpus", "real-nas.tsv")


@pytest.fixture(scope="session")
def corpus():
    """(direction, octets) of every real message of the corpus."""
    path = corpus_path()
    if not os.path.isfile(path):
        pytest.skip(f"the real-message corpus {path} is not there")
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    return [(int(r["direction"]), bytes.fromhex(r["hex"])) for r in rows]
