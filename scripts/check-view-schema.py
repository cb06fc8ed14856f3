#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Validates JSON Lines of the standard view against docs/view.schema.json.

Usage: check-view-schema.py SCHEMA CORVUNA [SHARED]

Runs CORVUNA (the program) with -T json over the samples, the real-message
corpus and its malformed messages, messages made of random octets behind
every header, and every capture of SHARED/captures and SHARED/captures-5g,
and checks every line it prints against the schema (JSON Schema 2020-12,
python3-jsonschema).  The corpus and captures are skipped, with a message,
where SHARED does not hold them.
"""
import glob
import json
import os
import random
import subprocess
import sys
import tempfile

import jsonschema


def lines_of(program, args):
    run = subprocess.run([program, "-T", "json", *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                         check=False)
    if run.returncode not in (0, 1, 3):
        raise SystemExit(f"{program} {' '.join(args)}: exit status {run.returncode}")
    return run.stdout.decode("utf-8").splitlines()


def random_messages(path, count=3000):
    """DIRECTION<TAB>HEX lines: random octets behind each header the view reads."""
    rng = random.Random(2026)
    heads = [b"\x07", b"\x17\x00\x00\x00\x00\x00", b"\x27\x00\x00\x00\x00\x00", b"\xc7", b"\x02\x01",
             b"\x52\x00", b"\x7e\x00", b"\x7e\x02\x00\x00\x00\x00\x00\x7e\x00", b"\x2e\x01\x01"]
    with open(path, "w", encoding="ascii") as f:
        for _ in range(count):
            body = bytes(rng.randrange(256) for _ in range(rng.randrange(0, 60)))
            f.write(f"{rng.randrange(2)}\t{(rng.choice(heads) + body).hex()}\n")


def main():
    schema_path, program = sys.argv[1], sys.argv[2]
    shared = sys.argv[3] if len(sys.argv) > 3 else os.path.join(os.path.dirname(__file__), "..", "..", "shared")
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    runs = [["-f", os.path.join(root, "samples", "messages.tsv")]]
    with tempfile.TemporaryDirectory() as scratch:
        made = os.path.join(scratch, "random.tsv")
        random_messages(made)
        runs.append(["-f", made])
        corpus = os.path.join(shared, "corpus")
        if os.path.isdir(corpus):
            for name in ("real-nas.tsv", "real-nas-malformed.tsv"):
                if os.path.exists(os.path.join(corpus, name)):
                    runs.append(["-f", os.path.join(corpus, name)])
            captures = sorted(glob.glob(os.path.join(shared, "captures", "*.pcap*")) +
                              glob.glob(os.path.join(shared, "captures-5g", "*.pcap*")))
            runs.extend(["-r", c] for c in captures)
        else:
            print(f"note: {corpus} not found: the corpus and the captures are not checked")
        checked = 0
        for args in runs:
            for number, line in enumerate(lines_of(program, args), 1):
                if not line.startswith("{"):
                    continue
                record = json.loads(line)
                errors = sorted(validator.iter_errors(record), key=lambda e: list(e.absolute_path))
                if errors:
                    e = errors[0]
                    where = "/".join(str(p) for p in e.absolute_path)
                    raise SystemExit(f"{' '.join(args)}, line {number}: at /{where}: {e.message[:300]}")
                checked += 1
    print(f"{checked} JSON lines valid against {os.path.basename(schema_path)}")


if __name__ == "__main__":
    main()
