#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Writes a copy of an S1AP capture whose NAS is protected with 128-EEA2 and
128-EIA2 under given NAS keys, for timing and for checking the decoder
against another AES implementation (python3-cryptography).

    cipher-capture.py CAPTURE LISTING OUTPUT.pcap KNASENC KNASINT

Every NAS PDU of the listing (the capture's .nas.tsv) is found in its frame
and replaced, at the same length: the SECURITY MODE COMMAND selects EEA2 and
EIA2, each security-protected PDU gets its body ciphered (header types 2 and
4) and its MAC computed again, with the PDU's sequence number as NAS COUNT,
and each SERVICE REQUEST its short MAC.
A keys file line '* knasenc=KNASENC knasint=KNASINT' reads it back.
"""
import os
import sys

from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes
from cryptography.hazmat.primitives.cmac import CMAC

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from capturefiles import frames_of, write_pcap  # noqa: E402


def block(count, direction):
    """COUNT, BEARER 0 and DIRECTION as 128-EEA2 and 128-EIA2 begin them."""
    return count.to_bytes(4, "big") + bytes([direction << 2]) + bytes(3)


def protect(nas, direction, enc, integrity):
    sht = nas[0] >> 4
    if nas[0] & 0x0F == 7 and sht == 12 and len(nas) == 4:
        # SERVICE REQUEST (TS 24.301 9.9.3.28, TS 33.401 B.2.3): the short
        # MAC is the two low octets of the MAC of its first two octets, with
        # the uplink NAS COUNT whose five low bits the sequence number gives.
        mac = CMAC(algorithms.AES(integrity))
        mac.update(block(nas[1] & 0x1F, 0) + nas[:2])
        return nas[:2] + mac.finalize()[2:4]
    if nas[0] & 0x0F != 7 or not 1 <= sht <= 4 or len(nas) < 8:
        return nas
    count = nas[5]
    inner = bytearray(nas[6:])
    if inner[:2] == b"\x07\x5d" and len(inner) > 2:
        inner[2] = 0x22
    body = bytes(inner)
    if sht in (2, 4):
        counter = block(count, direction) + bytes(8)
        encryptor = Cipher(algorithms.AES(enc), modes.CTR(counter)).encryptor()
        body = encryptor.update(body) + encryptor.finalize()
    mac = CMAC(algorithms.AES(integrity))
    mac.update(block(count, direction) + bytes([count]) + body)
    return bytes([nas[0]]) + mac.finalize()[:4] + bytes([count]) + body


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    capture, listing, output = sys.argv[1:4]
    enc, integrity = bytes.fromhex(sys.argv[4]), bytes.fromhex(sys.argv[5])
    rows = {}
    with open(listing) as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            fields = line.rstrip("\n").split("\t")
            if fields[7].startswith("s1ap"):
                rows.setdefault(int(fields[0]), []).append((int(fields[2]), bytes.fromhex(fields[3])))
    frames, link_types = [], set()
    for number, (link_type, frame) in enumerate(frames_of(capture), start=1):
        link_types.add(link_type)
        frame = bytearray(frame)
        for direction, nas in rows.get(number, []):
            at = frame.find(nas)
            if at >= 0:
                # Uplink is DIRECTION 0, downlink 1.
                frame[at:at + len(nas)] = protect(nas, 0 if direction == 1 else 1, enc, integrity)
        frames.append((bytes(frame), 1700000000 + number // 1000, (number % 1000) * 1000000))
    if len(link_types) != 1:
        sys.exit("cipher-capture: one link type is needed")
    write_pcap(output, link_types.pop(), frames)


if __name__ == "__main__":
    main()
