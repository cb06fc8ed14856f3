#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Writes seed inputs for the capture reader and record input fuzz targets.

capture_reader_fuzz: octet 0 (bit 0: null ciphering), then a whole capture
file: the small captures as they are and gzip-compressed.
record_input_fuzz: record inputs (what corvuna_capture_render reads back)
made from the messages of tshark's listings of the captures, one per
message, in the layout the capture library writes: "r1|" and its fields,
each followed by '|'.

    reader-seeds.py SEEDS_DIR [CAPTURE ...] [--listings LISTING ...]
"""
import gzip
import os
import sys

MAX_CAPTURE = 60 * 1024


def record_input(frame, direction, octets, carrier):
    fields = [
        0, frame, "2024-01-01T00:00:00.000000Z", carrier, "", "", 2, -1, -1, -1,   # kind .. subframe
        12 if carrier == 0 else -1, 1, -1, -1, -1,                               # procedure, UE ids
        0, 0, 0, 1, "00f110", 1, 0, "000000", 0, -1,                             # location, AS ciphering
        octets.hex(), direction, "", "ue1", -1, 0, 0, "", "", 0, "", "", "",      # octets .. keys
        4, "no key", -1, -1, -1, "", 0, 0, "no integrity key", 0, "",             # protection
    ]
    return "r1|" + "".join(f"{f}|" for f in fields)


def main():
    args = sys.argv[1:]
    out = args.pop(0)
    listings = []
    if "--listings" in args:
        i = args.index("--listings")
        listings = args[i + 1:]
        del args[i:]
    reader_dir = os.path.join(out, "capture_reader_fuzz")
    input_dir = os.path.join(out, "record_input_fuzz")
    os.makedirs(reader_dir, exist_ok=True)
    os.makedirs(input_dir, exist_ok=True)
    n = 0
    for path in args:
        data = open(path, "rb").read()
        if len(data) > MAX_CAPTURE:
            continue
        for i, seed in enumerate((b"\0" + data, b"\1" + gzip.compress(data))):
            n += 1
            open(os.path.join(reader_dir, f"{n}"), "wb").write(seed)
    m = 0
    for path in listings:
        for line in open(path, encoding="utf-8"):
            cols = line.rstrip("\n").split("\t")
            if line.startswith("#") or len(cols) < 4 or cols[2] not in ("0", "1"):
                continue
            try:
                octets = bytes.fromhex(cols[3])
            except ValueError:
                continue
            m += 1
            carrier = 0 if cols[-2:][0].startswith("s1ap") else 2
            text = record_input(int(cols[0]), int(cols[2]), octets, carrier)
            open(os.path.join(input_dir, f"{m}"), "w").write(text)
    print(f"{n} capture seeds, {m} record input seeds")


if __name__ == "__main__":
    main()
