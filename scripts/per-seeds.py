#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Writes seed inputs for the PER fuzz targets from pcap and pcapng files.

    per-seeds.py OUTPUT_DIR [CAPTURE ...]

The S1AP and NGAP PDUs of SCTP DATA chunks (whole user messages: payload
protocol 18 / 60 or ports 36412 / 38412, and user link type 150 as S1AP)
and the LTE RRC PDUs of GSMTAP (type 0x0D, subtypes 0 to 3: DL-CCCH,
DL-DCCH, UL-CCCH, UL-DCCH) become, under OUTPUT_DIR:
  per_fuzz/   one octet naming the PDU type (0 S1AP-PDU, 1 NGAP-PDU,
              2 UL-DCCH, 3 DL-DCCH, 4 UL-CCCH, 5 DL-CCCH), then the PDU;
  ngap_fuzz/  NGAP PDUs as they are;
  rrc_fuzz/   one octet naming the channel (0 UL-CCCH, 1 DL-CCCH,
              2 UL-DCCH, 3 DL-DCCH), then the PDU.
Equal seeds are written once.
"""
import hashlib
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from capturefiles import frames_of  # noqa: E402

# GSMTAP LTE RRC subtype -> (per_fuzz type, rrc_fuzz channel)
RRC_SUBTYPES = {0: (5, 1), 1: (3, 3), 2: (4, 0), 3: (2, 2)}


def ip_packet(link_type, frame):
    """The IP packet of a frame, or None."""
    if link_type == 1:
        at = 12
        ethertype = struct.unpack(">H", frame[at:at + 2])[0] if len(frame) >= 14 else 0
        while ethertype in (0x8100, 0x88A8, 0x9100) and len(frame) >= at + 6:
            at += 4
            ethertype = struct.unpack(">H", frame[at:at + 2])[0]
        return frame[at + 2:] if ethertype in (0x0800, 0x86DD) else None
    if link_type == 113:
        return frame[16:]
    if link_type == 276:
        return frame[20:]
    if link_type in (0, 108):
        return frame[4:]
    if link_type in (101, 228, 229):
        return frame
    return None


def transport(packet):
    """(protocol, payload) of an IPv4 or IPv6 packet (no extension headers)."""
    if not packet:
        return None, b""
    version = packet[0] >> 4
    if version == 4 and len(packet) >= 20:
        return packet[9], packet[(packet[0] & 0x0F) * 4:]
    if version == 6 and len(packet) >= 40:
        return packet[6], packet[40:]
    return None, b""


def sctp_messages(payload):
    """(ppid, source port, destination port, data) of each whole DATA chunk."""
    if len(payload) < 12:
        return
    sport, dport = struct.unpack(">HH", payload[:4])
    at = 12
    while at + 4 <= len(payload):
        kind, flags, length = struct.unpack(">BBH", payload[at:at + 4])
        if length < 4:
            return
        chunk = payload[at:at + length]
        at += (length + 3) & ~3
        if kind == 0 and length >= 16 and flags & 3 == 3:
            yield struct.unpack(">I", chunk[12:16])[0], sport, dport, chunk[16:]


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    for target in ("per_fuzz", "ngap_fuzz", "rrc_fuzz"):
        os.makedirs(os.path.join(out, target), exist_ok=True)
    written = {}

    def write(target, data):
        name = hashlib.sha1(data).hexdigest()[:16]
        path = os.path.join(out, target, name)
        if not os.path.exists(path):
            with open(path, "wb") as f:
                f.write(data)
            written[target] = written.get(target, 0) + 1

    for capture in sys.argv[2:]:
        for link_type, frame in frames_of(capture):
            if link_type == 150:
                write("per_fuzz", b"\x00" + frame)
                continue
            protocol, payload = transport(ip_packet(link_type, frame))
            if protocol == 132:
                for ppid, sport, dport, data in sctp_messages(payload):
                    ports = (sport, dport)
                    if ppid in (18, 0x12000000) or (ppid == 0 and 36412 in ports):
                        write("per_fuzz", b"\x00" + data)
                    elif ppid in (60, 0x3C000000) or (ppid == 0 and 38412 in ports):
                        write("per_fuzz", b"\x01" + data)
                        write("ngap_fuzz", data)
            elif protocol == 17 and len(payload) >= 8 + 16:
                sport, dport = struct.unpack(">HH", payload[:4])
                gsmtap = payload[8:]
                if 4729 in (sport, dport) and gsmtap[0] == 2 and gsmtap[2] == 0x0D and gsmtap[12] in RRC_SUBTYPES:
                    pdu = gsmtap[gsmtap[1] * 4:]
                    per_type, channel = RRC_SUBTYPES[gsmtap[12]]
                    write("per_fuzz", bytes([per_type]) + pdu)
                    write("rrc_fuzz", bytes([channel]) + pdu)
    print("PER seeds: " + ", ".join("%s %d" % (t, written.get(t, 0)) for t in ("per_fuzz", "ngap_fuzz", "rrc_fuzz")))


if __name__ == "__main__":
    main()
