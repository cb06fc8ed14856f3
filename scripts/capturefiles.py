# SPDX-License-Identifier: Apache-2.0
"""Reading the frames of pcap and pcapng files, and writing pcap files, for
the project's scripts (the program itself reads captures through libpcap)."""
import struct


def frames_of(path):
    """(link type, frame octets) of every frame, in file order."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] == b"\x0a\x0d\x0d\x0a":
        order = "<" if data[8:12] == b"\x4d\x3c\x2b\x1a" else ">"
        link_types, at = [], 0
        while at + 12 <= len(data):
            kind, length = struct.unpack(order + "II", data[at:at + 8])
            if length < 12:
                break
            body = data[at + 8:at + length - 4]
            if kind == 1:
                link_types.append(struct.unpack(order + "H", body[:2])[0])
            elif kind == 6 and link_types:
                interface, _, _, captured, _ = struct.unpack(order + "IIIII", body[:20])
                yield link_types[min(interface, len(link_types) - 1)], body[20:20 + captured]
            at += length
        return
    magic = struct.unpack("<I", data[:4])[0]
    order = "<" if magic in (0xA1B2C3D4, 0xA1B23C4D) else ">"
    link_type = struct.unpack(order + "I", data[20:24])[0] & 0xFFFF
    at = 24
    while at + 16 <= len(data):
        captured = struct.unpack(order + "I", data[at + 8:at + 12])[0]
        yield link_type, data[at + 16:at + 16 + captured]
        at += 16 + captured


def write_pcap(path, link_type, frames):
    """A pcap file (nanosecond time stamps) of (frame, seconds, nanoseconds)."""
    with open(path, "wb") as out:
        out.write(struct.pack("<IHHiIII", 0xA1B23C4D, 2, 4, 0, 0, 262144, link_type))
        for frame, seconds, nanoseconds in frames:
            out.write(struct.pack("<IIII", seconds, nanoseconds, len(frame), len(frame)))
            out.write(frame)
