#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Writes a pcap of a capture's frames repeated, for timing.

    repeat-capture.py OUTPUT.pcap TIMES CAPTURE ...

The frames of every CAPTURE (all of one link type) are written TIMES over,
one millisecond apart.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from capturefiles import frames_of, write_pcap  # noqa: E402


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    output, times, captures = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    frames, link_types = [], set()
    for path in captures:
        for link_type, frame in frames_of(path):
            link_types.add(link_type)
            frames.append(frame)
    if len(link_types) != 1:
        sys.exit("repeat-capture: the captures have link types %s; one is needed" % sorted(link_types))
    stamped = []
    for i in range(times * len(frames)):
        stamped.append((frames[i % len(frames)], 1700000000 + i // 1000, (i % 1000) * 1000000))
    write_pcap(output, link_types.pop(), stamped)
    print("%s: %d frames" % (output, len(stamped)))


if __name__ == "__main__":
    main()
