# SPDX-License-Identifier: Apache-2.0
"""python3 -m corvuna [-d DIR] [-T legacy|json|text] [--null-ciphering] HEX ...
python3 -m corvuna -r CAPTURE [-T json|text|tsv] [--keys FILE] [--message NAME,...] [--errors]
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
    parser.add_argument("-r", "--read", action="append", default=[], metavar="CAPTURE",
                        help="the NAS messages of a pcap or pcapng capture (may be repeated)")
    parser.add_argument("--keys", help="subscriber keys for the captures' NAS security")
    parser.add_argument("--message", help="only these messages (names, comma-separated)")
    parser.add_argument("--errors", action="store_true",
                        help="only messages decoded with errors, left ciphered or whose MAC failed")
    parser.add_argument("-V", "--version", action="store_true", help="show the library's version and path")
    args = parser.parse_args(argv)
    try:
        if args.version:
            print(f"corvuna {corvuna.library_version()} ({corvuna.library_path()})")
            return 0
        if args.read:
            if args.messages:
                parser.error("give HEX messages or captures (-r), not both")
            return _captures(args)
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


def _key(name):
    return "_".join("".join(c.lower() if c.isalnum() else " " for c in name).split())


def _captures(args):
    """The messages of captures, as the program writes them (-T json: its
    records; text: the view's tree; tsv: its lines), the summary of each
    capture on standard error, and the program's exit status."""
    wanted = {_key(n) for n in args.message.split(",")} if args.message else None
    failed = errors = unknown = ciphered = 0
    fmt = "json" if args.format == "legacy" else args.format
    if fmt == "tsv":
        print("direction\thex\tframe\ttime\tcarrier\tdirection_source" + ("\tfile" if len(args.read) > 1 else ""))
    for path in args.read:
        try:
            capture = corvuna.read(path, args.keys, null_ciphering=args.null_ciphering,
                                   direction=args.direction)
            for r in capture:
                result = r.result
                errors += result == "decoded_with_errors"
                unknown += result in ("unknown_message", "not_nas")
                ciphered += r.body == "left_ciphered"
                if wanted is not None and r.message not in wanted:
                    continue
                if args.errors and not (result == "decoded_with_errors" or r.body == "left_ciphered" or
                                        r.mac == "failed"):
                    continue
                if fmt == "json":
                    print(r.json)
                elif fmt == "text":
                    if r.nas != "as_ciphered":
                        print(r.text)
                elif r.nas != "as_ciphered":
                    line = f"{1 if r.direction == 'uplink' else 0}\t{r.octets}\t{r.frame}\t{r.time}\t{r.carrier}" \
                           f"{':' + r.procedure + '(' + str(r.procedure_code) + ')' if r.procedure else ''}" \
                           f"\t{r.direction_source or ''}"
                    print(line + (f"\t{path}" if len(args.read) > 1 else ""))
            for warning in capture.warnings:
                print(f"corvuna: {warning}", file=sys.stderr)
            print(f"corvuna: {path}: {capture.summary}", file=sys.stderr)
        except (OSError, ValueError) as e:
            print(f"corvuna: {e}", file=sys.stderr)
            failed += 1
    return 1 if failed or errors or unknown else 3 if ciphered else 0


if __name__ == "__main__":
    sys.exit(main())
