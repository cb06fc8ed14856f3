#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Writes seed inputs for the radio fuzz target from captures of user link
types 147 (MAC-LTE framed) and 149 (UDP, then mac-lte or rlc-lte).

Each seed is a run of records (a kind octet, a two-octet length, the
octets), as tests/fuzz/radio_fuzz.cpp reads them: the frames of a capture
in windows of twelve, so that RLC reassembly across frames is seeded, and
each capture whole when it is small.

    radio-seeds.py OUTPUT_DIR CAPTURE ...
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from capturefiles import frames_of  # noqa: E402

WINDOW = 12
WHOLE = 64  # frames


def record(link_type, frame):
    if link_type == 147:
        return bytes([0]) + struct.pack(">H", len(frame)) + frame
    if link_type == 149 and frame[8:15] in (b"mac-lte", b"rlc-lte"):
        body = frame[15:]
        return bytes([2 if frame[8:15] == b"mac-lte" else 6]) + struct.pack(">H", len(body)) + body
    return None


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    count = 0
    for path in sys.argv[2:]:
        records = [r for r in (record(lt, f[:0xFFFF]) for lt, f in frames_of(path)) if r is not None]
        windows = [records[i:i + WINDOW] for i in range(0, len(records), WINDOW // 2)]
        if 0 < len(records) <= WHOLE:
            windows.append(records)
        for window in windows:
            count += 1
            with open(os.path.join(out, "radio%05d" % count), "wb") as f:
                f.write(b"".join(window))
    print("%d radio seeds" % count)


if __name__ == "__main__":
    main()
