# SPDX-License-Identifier: Apache-2.0
"""python3 -m corvuna [-d DIR] [-T legacy|json|text] [--null-ciphering] HEX ...
python3 -m corvuna report CAPTURE... [-o report.html] [--json report.json] [--keys FILE]
python3 -m corvuna ladder CAPTURE --ue IMSI|GUTI|TMSI"""
import argparse
import json
import sys

import corvuna


def main(argv=None):
    argv = sys.argv[1:] if argv is None else list(argv)
    if argv and argv[0] in ("report", "ladder"):
        from corvuna import report
        return report.main(argv)
    parser = argparse.ArgumentParser(prog="python3 -m corvuna",
                                     description="Decode LTE NAS messages (TS 24.301 EMM and ESM).")
    parser.add_argument("messages", nargs="*", metavar="HEX", help="a message in hex")
    parser.add_argument("-d", "--direction", default="uplink",
                        help="uplink (ul, 1; the default) or downlink (dl, 0)")
    parser.add_argument("-T", "--format", choices=("legacy", "json", "text"), default="legacy")
    parser.add_argument("--null-ciphering", action="store_true",
                        help="ciphered messages use EEA0: decode their inner message")
    parser.add_argument("-V", "--version", action="store_true", help="show the library's version and path")
    args = parser.parse_args(argv)
    try:
        if args.version:
            print(f"corvuna {corvuna.library_version()} ({corvuna.library_path()})")
            return 0
        if not args.messages:
            parser.error("no HEX message given")
        failed = ciphered = 0
        for i, hex_text in enumerate(args.messages, 1):
            try:
                if args.format == "legacy":
                    sys.stdout.write(corvuna.decode(hex_text, args.direction))
                    continue
                if args.format == "json":
                    v = corvuna.view(hex_text, args.direction, args.null_ciphering)
                    print(json.dumps(v, ensure_ascii=False))
                    result = v["result"]
                else:
                    text, result = corvuna.view_text_result(hex_text, args.direction, args.null_ciphering)
                    sys.stdout.write(text + "\n")
                # The program's exit status: 1 for errors, 3 when only ciphered bodies stayed unread.
                failed += result not in ("decoded", "ciphered")
                ciphered += result == "ciphered"
            except (TypeError, ValueError, corvuna.DecodeError) as e:
                print(f"corvuna: message {i}: {e}", file=sys.stderr)
                failed += 1
        return 1 if failed else 3 if ciphered else 0
    except corvuna.LibraryNotFound as e:
        print(f"corvuna: {e}", file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main())
