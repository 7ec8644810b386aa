#!/usr/bin/env python3
"""Writes fuzz seeds from the end-to-end case files, in each target's input
layout, so the fuzzers start from every page and .url file the cases hold:

    python3 fuzz/seeds_from_cases.py OUT      -> OUT/scan_html/, OUT/get_link/, OUT/linkpage/

smoke.sh runs it into a temporary folder; nothing it writes is kept.
  scan_html  option byte, -o byte, the -s -a -i -n values, then the HTML file
  get_link   the text after each 'HREF="' / 'href="' of those files, to the line end
  linkpage   format byte, title, then each file argument with its content
"""
import hashlib
import os
import sys

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOP, "tests", "e2e"))
import run_cases  # noqa: E402  (the case file parser of the end-to-end runner)

FORMATS = {0: 0, 1: 1, 2: 2, -1: 3}


def put(out, target, data):
    folder = os.path.join(out, target)
    os.makedirs(folder, exist_ok=True)
    name = hashlib.sha1(data).hexdigest()
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def shortcut_seed(args, files):
    """The scan_html input of the arguments after -v, or None."""
    values = {}
    i = 0
    while i + 1 < len(args) and args[i] in (b"-a", b"-i", b"-n", b"-s", b"-o", b"-t"):
        values[args[i]] = args[i + 1]
        i += 2
    if i >= len(args) or args[i] not in files:
        return None
    flags = 0
    fields = b""
    for bit, opt in enumerate((b"-s", b"-a", b"-i", b"-n")):
        if opt in values:
            flags |= 1 << bit
            fields += values[opt] + b"\n"
    if b"-o" in values:
        flags |= 1 << 4
    return bytes([flags, 0]) + fields + files[args[i]]


def linkpage_seed(args, files):
    fmt = 0
    title = b""
    i = 0
    while i < len(args):
        if args[i] == b"-t" and i + 1 < len(args):
            title = args[i + 1]
            i += 2
        elif args[i].startswith(b"-f"):
            try:
                fmt = FORMATS.get(int(args[i][2:] or b"0"), 0)
            except ValueError:
                fmt = 0
            i += 1
        else:
            break
    data = bytes([fmt]) + title + b"\n"
    for name in args[i:]:
        content = files.get(name, b"")[:0xFFFF]
        data += name + b"\n" + len(content).to_bytes(2, "big") + content
    return data


def main(out):
    folder = os.path.join(TOP, "tests", "e2e")
    for case_file in sorted(os.listdir(folder)):
        if not case_file.endswith(".txt"):
            continue
        for case in run_cases.load_case_file(os.path.join(folder, case_file), "posix"):
            args = case.args
            if b"-v" in args:
                seed = shortcut_seed(args[args.index(b"-v") + 1:], case.files)
                if seed is None:
                    continue
                put(out, "scan_html", seed)
                html = seed
                for attr in (b'HREF="', b'href="'):
                    at = html.find(attr)
                    while at >= 0:
                        end = html.find(b"\n", at)
                        put(out, "get_link", html[at + len(attr):end if end >= 0 else len(html)])
                        at = html.find(attr, at + 1)
            elif args and args[0] != b"-usage":
                put(out, "linkpage", linkpage_seed(args, case.files))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: seeds_from_cases.py OUT")
    main(sys.argv[1])
