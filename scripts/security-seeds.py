#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Writes seed inputs for the security fuzz target.

From each NAS listing (*.nas.tsv, and the 5G *.nas5g.tsv) of the real captures: the messages in
windows of twelve, each with a control octet (the UE association from the
listing's S1AP carrier, the direction) and a length octet, after the mode
octet 2; and a keys file seed (mode 0).

    security-seeds.py OUTPUT_DIR [LISTING ...]
"""
import os
import sys

WINDOW = 12
MAX_SEEDS_PER_FILE = 150


def main():
    args = sys.argv[1:]
    out = args.pop(0)
    os.makedirs(out, exist_ok=True)
    count = 0

    def write(seed):
        nonlocal count
        count += 1
        with open(os.path.join(out, "seed%05d" % count), "wb") as f:
            f.write(seed)

    write(b"\x00* k=465b5ce8b199b49faa5f0a2ee238a6bc opc=e8ed289deba952e4283b54e88e6183ca\n"
          b"001010000000001 kasme=000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f ksi=2\n")
    for path in args:
        rows = []
        with open(path) as listing:
            for line in listing:
                if line.startswith("#") or not line.strip():
                    continue
                f = line.rstrip("\n").split("\t")
                if path.endswith(".nas5g.tsv"):
                    # The 5G listings: frame, sub, direction, octets, ...
                    # (one NGAP association a seed window is enough).
                    f = f[:4] + ["", "", "", "ngap"]
                if len(f) < 8 or f[7].startswith("lte_rrc"):
                    continue
                octets = bytes.fromhex(f[3])[:255]
                direction = 3 if f[2] == "?" else int(f[2])
                connection = 2 if f[7] == "gsmtap" else 3 if f[7] == "user_dlt" else 0
                rows.append(bytes([(direction << 2) | connection, len(octets)]) + octets)
        step = max(1, len(rows) // MAX_SEEDS_PER_FILE)
        for i in range(0, len(rows), step):
            write(b"\x02" + b"".join(rows[i:i + WINDOW]))
    print("%d security seeds" % count)


if __name__ == "__main__":
    main()
