#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Writes seed inputs for the capture fuzz target from pcap and pcapng files.

Each seed is one octet naming the link type (its index in the target's
table) and a run of frames, each a two-octet length and its octets: the
frames of a capture in windows of three, so that SCTP reassembly is seeded
too.  Messages of DIRECTION<TAB>HEX files become raw NAS frames.

    capture-seeds.py OUTPUT_DIR [CAPTURE ...] [--messages FILE]
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from capturefiles import frames_of  # noqa: E402

LINK_TYPES = [0, 1, 101, 108, 113, 147, 148, 150, 228, 229, 252, 276, 149]
MAX_SEEDS_PER_FILE = 400


def main():
    args = sys.argv[1:]
    out = args.pop(0)
    messages = None
    if "--messages" in args:
        i = args.index("--messages")
        messages = args[i + 1]
        del args[i:i + 2]
    os.makedirs(out, exist_ok=True)
    count = 0

    def write(link_type, frames):
        nonlocal count
        if link_type not in LINK_TYPES:
            return
        seed = bytes([LINK_TYPES.index(link_type)])
        for frame in frames:
            frame = frame[:0xFFFF]
            seed += struct.pack(">H", len(frame)) + frame
        count += 1
        with open(os.path.join(out, "seed%05d" % count), "wb") as f:
            f.write(seed)

    for path in args:
        frames = list(frames_of(path))
        step = max(1, len(frames) // MAX_SEEDS_PER_FILE)
        for i in range(0, len(frames), step):
            window = frames[i:i + 3]
            if len({lt for lt, _ in window}) == 1:
                write(window[0][0], [f for _, f in window])
    if messages:
        with open(messages, encoding="utf-8") as f:
            for line in f:
                fields = line.rstrip("\n").split("\t")
                if len(fields) >= 2 and fields[0] in ("0", "1"):
                    try:
                        write(148, [bytes.fromhex(fields[1])])
                    except ValueError:
                        pass
    print("%d capture seeds" % count)


if __name__ == "__main__":
    main()
