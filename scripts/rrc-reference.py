#!/usr/bin/python3
# SPDX-License-Identifier: Apache-2.0
"""Lists the LTE RRC PDUs that tshark finds in a capture, as `corvuna -T rrc`
lists them, for comparing the two.

    rrc-reference.py CAPTURE [TSHARK-OPTION ...]

Each line: frame, channel (ul-ccch, dl-ccch, ul-dcch, dl-dcch, or the
message class tshark names otherwise), hex of the RRC PDU; one line per
LTE RRC PDU in the order tshark dissects them.  The options are those the
captures' README gives for the file (user link types, heuristics).
"""
import json
import subprocess
import sys

CLASSES = {
    "UL_CCCH_Message": "ul-ccch",
    "DL_CCCH_Message": "dl-ccch",
    "UL_DCCH_Message": "ul-dcch",
    "DL_DCCH_Message": "dl-dcch",
}


def pairs(items):
    return items


def rrc_pdus(layers, out):
    """The outermost lte_rrc items of a packet's layers, in document order."""
    for i, (key, value) in enumerate(layers):
        if key == "lte_rrc_raw" and isinstance(value, list) and value and isinstance(value[0], str):
            name = "?"
            following = layers[i + 1][1] if i + 1 < len(layers) and layers[i + 1][0] == "lte_rrc" else None
            # The message class is the first lte-rrc item inside (tshark
            # nests the protocol item in itself).
            while isinstance(following, list) and name == "?":
                inner = None
                for k, v in following:
                    if k.startswith("lte-rrc.") and not k.endswith("_raw"):
                        k = k[len("lte-rrc."):].replace("_element", "")
                        name = CLASSES.get(k, k)
                        break
                    if k == "lte_rrc" and inner is None:
                        inner = v
                following = inner
            out.append((name, value[0]))
        elif key == "lte_rrc":
            continue
        elif isinstance(value, list) and value and isinstance(value[0], tuple):
            rrc_pdus(value, out)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    capture, options = sys.argv[1], sys.argv[2:]
    text = subprocess.run(["tshark", "-n", "-r", capture, "-T", "json", "-x"] + options, check=True,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
    for packet in json.loads(text, object_pairs_hook=pairs):
        source = dict(packet)["_source"]
        layers = dict(source)["layers"]
        frame = dict(dict(layers)["frame"])["frame.number"]
        found = []
        rrc_pdus(layers, found)
        for name, hex_octets in found:
            print("%s\t%s\t%s" % (frame, name, hex_octets))


if __name__ == "__main__":
    main()
