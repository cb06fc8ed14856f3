#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Writes NAS messages from DIRECTION<TAB>HEX lines as a pcap file in which
every frame is one NAS message (a user link type, 147 to 162), repeated a
given number of times; optionally the same lines as a TSV file.

    nas-capture.py INPUT.tsv REPEAT OUT.pcap [--dlt 148] [--tsv OUT.tsv]
"""
import argparse
import struct
import sys


def read_messages(path):
    messages = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line or line.startswith("#") or line.lower().startswith("direction"):
                continue
            fields = line.split("\t")
            if len(fields) < 2 or fields[0] not in ("0", "1"):
                sys.exit(f"{path}:{number}: expected DIRECTION<TAB>HEX")
            try:
                octets = bytes.fromhex(fields[1].replace(" ", ""))
            except ValueError as error:
                sys.exit(f"{path}:{number}: {error}")
            messages.append((fields[0], octets))
    return messages


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("input")
    parser.add_argument("repeat", type=int)
    parser.add_argument("pcap")
    parser.add_argument("--dlt", type=int, default=148, help="user link type of the frames (default 148)")
    parser.add_argument("--tsv", help="also write the repeated messages as DIRECTION<TAB>HEX lines")
    args = parser.parse_args()
    if not 147 <= args.dlt <= 162:
        sys.exit("--dlt must be a user link type, 147 to 162")
    messages = read_messages(args.input)
    with open(args.pcap, "wb") as out:
        out.write(struct.pack("<IHHiIII", 0xA1B2C3D4, 2, 4, 0, 0, 65535, args.dlt))
        frame = 0
        for _ in range(args.repeat):
            for _, octets in messages:
                seconds, micros = divmod(frame, 1000)
                out.write(struct.pack("<IIII", 1700000000 + seconds, micros * 1000, len(octets), len(octets)))
                out.write(octets)
                frame += 1
    if args.tsv:
        with open(args.tsv, "w", encoding="ascii") as out:
            for _ in range(args.repeat):
                for direction, octets in messages:
                    out.write(f"{direction}\t{octets.hex()}\n")
    print(f"{len(messages) * args.repeat} frames written to {args.pcap}", file=sys.stderr)


if __name__ == "__main__":
    main()
