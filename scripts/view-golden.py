#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""The readable golden files of the standard view.

    view-golden.py check CORVUNA [CORPUS]   compares the program's output with them
    view-golden.py write CORVUNA [CORPUS]   rewrites them (only when the view is meant to change)

tests/golden/view/ holds, for the samples (samples/messages.tsv) and for a
few hundred corpus messages chosen by a fixed rule (of each protocol, message
type and direction, the first twelve of lengths not seen before, and every
twentieth message), and for the corpus's malformed messages, the text tree and the JSON (indented,
one member a line) of each message after a line naming it, so that a change
of the view reads as a diff.  The corpus part is skipped, with a message,
where the corpus (../shared/corpus/real-nas.tsv) is absent.
"""
import collections
import difflib
import json
import os
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
GOLDEN = os.path.join(ROOT, "tests", "golden", "view")
PER_KIND = 12
EVERY = 20


def read_tsv(path):
    """(line number, direction, hex, note) of each message line."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if line.startswith("#") or not line.strip():
                continue
            fields = line.rstrip("\n").split("\t")
            if fields[0] not in ("0", "1"):
                continue
            rows.append((number, int(fields[0]), fields[1].replace(" ", "").lower(),
                         fields[2] if len(fields) > 2 else ""))
    return rows


def chosen(rows):
    """Of each protocol, message type and direction, the first PER_KIND
    messages of lengths not seen before."""
    seen = collections.Counter()
    lengths = collections.defaultdict(set)
    picked = []
    for index, row in enumerate(rows):
        octets = bytes.fromhex(row[2])
        if not octets:
            continue
        pd = octets[0] & 0x0F
        header = octets[0] >> 4 if pd == 7 else 0
        type_at = 1 if pd == 7 and header == 0 else 2 if pd == 2 else None
        kind = (pd, header if header else None,
                octets[type_at] if type_at is not None and type_at < len(octets) else None, row[1])
        if index % EVERY == EVERY - 1:
            picked.append(row)
            continue
        if len(octets) in lengths[kind] or seen[kind] >= PER_KIND:
            continue
        lengths[kind].add(len(octets))
        seen[kind] += 1
        picked.append(row)
    return picked


def render(program, rows, label):
    """The text and JSON golden of `rows`."""
    text, js = [], []
    for number, direction, hexstring, note in rows:
        heading = f"# {label} line {number}: {direction} {hexstring}" + (f" ({note})" if note else "")
        for form, out in (("text", text), ("json", js)):
            run = subprocess.run([program, "-T", form, "-d", str(direction), hexstring], stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL, check=False)
            output = run.stdout.decode("utf-8")
            if form == "json":
                output = json.dumps(json.loads(output), indent=2, ensure_ascii=False) + "\n"
            out.append(heading + "\n" + output.rstrip("\n") + "\n")
    return "\n".join(text), "\n".join(js)


def main():
    mode, program = sys.argv[1], sys.argv[2]
    corpus = sys.argv[3] if len(sys.argv) > 3 else os.path.join(ROOT, "..", "shared", "corpus", "real-nas.tsv")
    sets = [("samples", read_tsv(os.path.join(ROOT, "samples", "messages.tsv")))]
    if os.path.exists(corpus):
        sets.append(("corpus", chosen(read_tsv(corpus))))
        malformed = os.path.join(os.path.dirname(corpus), "real-nas-malformed.tsv")
        if os.path.exists(malformed):
            sets.append(("malformed", read_tsv(malformed)))
    else:
        print(f"note: {corpus} not found: the corpus golden files are not checked")
    os.makedirs(GOLDEN, exist_ok=True)
    differ = 0
    for name, rows in sets:
        text, js = render(program, rows, name)
        for suffix, content in (("txt", text), ("json", js)):
            path = os.path.join(GOLDEN, f"{name}.{suffix}")
            if mode == "write":
                with open(path, "w", encoding="utf-8") as f:
                    f.write(content)
                print(f"wrote {path} ({len(rows)} messages)")
                continue
            with open(path, encoding="utf-8") as f:
                stored = f.read()
            if stored != content:
                differ += 1
                diff = difflib.unified_diff(stored.splitlines(), content.splitlines(), path, "now", lineterm="")
                print("\n".join(list(diff)[:80]))
    if mode == "check":
        if differ:
            raise SystemExit(f"{differ} golden file(s) of the standard view differ (scripts/view-golden.py write "
                             "rewrites them when the change is meant)")
        print("the standard view matches its golden files")


if __name__ == "__main__":
    main()
