#!/bin/sh
# Every bookmark and HTML file of the shared real-world corpus through
# shortcut mode: plain, with -a http://example.invalid/ (answered y), and
# with -s naming its first top-level folder. Each run must end with status
# 0, no sanitizer report, and only well-formed .url files; a second plain
# run over the same output must write nothing.
#
# For the files simple enough for a small model (see "oracle" below), the
# files written are also checked name by name, URL by URL, against what the
# model predicts; at least the four files named in MUST_MODEL must qualify.
#
#   sh corpus_bookmarks_test.sh <favlink-binary> <source-dir>
# Exit 0 pass, 1 fail, 77 skipped (no corpus beside the source folder, or
# no python3).

prog=$1
src=$2
if [ -z "$prog" ] || [ ! -x "$prog" ] || [ -z "$src" ]; then
  echo "usage: sh $0 <favlink-binary> <source-dir>" >&2
  exit 1
fi
corpus="$src/../shared/corpus/bookmarks"
if [ ! -d "$corpus" ]; then
  echo "skipped: no corpus at $corpus"
  exit 77
fi
if ! command -v python3 >/dev/null 2>&1; then
  echo "skipped: python3 is needed to predict the files written"
  exit 77
fi
case $prog in
  /*) ;;
  *) prog="$(pwd)/$prog" ;;
esac

exec python3 - "$prog" "$corpus" <<'EOF'
import os
import re
import shutil
import subprocess
import sys
import tempfile

prog, corpus = sys.argv[1], sys.argv[2]
PREFIX = b"http://example.invalid/"
SANITIZER = (b"AddressSanitizer", b"LeakSanitizer", b"runtime error:",
             b"UndefinedBehaviorSanitizer")
# Files the model must fit: Shift_JIS captions with 0x5C second bytes,
# UTF-8 captions with a BOM, CR CR LF line ends, 10000 links with repeated
# captions.
MUST_MODEL = ("ie-ja-golf-sjis-crlf-transcoded.htm", "ie-ja-golf-utf8bom-crlf.htm",
              "netscape4-1998-crcrlf.htm", "netscape-go-flat10000-synthetic.htm")

failures = []


def fail(msg):
    failures.append(msg)
    print("FAIL: " + msg)


# --- oracle ---------------------------------------------------------------
#
# A model for plainly written bookmark files only. A file qualifies when,
# after CR LF pairs are read as LF and comments are blanked out:
#   - no line is longer than 1022 bytes (so every line is one piece) and no
#     NUL occurs;
#   - every line that holds "<A " or "<a " is one link in the strict form
#       [blanks] [<DT>] <A HREF="url" NAME="value"... [blank]>caption</A> [CR]
#     with no '<', '>' or '"' in the caption and no '>' in any value;
#   - lines holding list tags hold no link.
# For such a file the files written are: for each link in file order whose
# URL is absolute ("http:" or "ftp:" at the start; with -a every URL, joined
# to the prefix), the file name made from the caption by the naming rules
# below, unless a file of that name was already made (first link wins), the
# name is blank, or the caption or the file name is too long.

LINK_LINE = re.compile(
    rb'^[ \t]*(?:<DT>|<dt>)?<(?:A|a) (?:HREF|href)="([^"]*)"'
    rb'(?: [A-Za-z_]+="[^">]*")* ?>([^<>"]*)(?:</A>|</a>)\r?$')
TOKEN = re.compile(rb'<DL>|<dl>|</DL>|</dl>|<DT>|<dt>')
REPLACE = {ord(':'): ord(';'), ord('/'): ord('!'), ord('\\'): ord('!'),
           ord('<'): ord('('), ord('>'): ord(')'), ord('*'): ord(' '),
           ord('?'): ord(' '), ord('|'): ord('!'), ord('"'): ord("'")}
RESERVED = (b"con", b"prn", b"aux", b"nul", b"clock")


def file_name(caption):
    """The .url file name for a caption, or None when it is passed over."""
    if len(caption) > 254:
        return None
    name = bytearray(caption.lstrip(b" \t"))
    i = 0
    while i < len(name):
        c = name[i]
        # A Shift_JIS lead byte pairs only with a second byte from 0x40 up.
        if (0x80 <= c <= 0x9F or 0xE0 <= c <= 0xFC) and i + 1 < len(name) \
                and name[i + 1] >= 0x40:
            i += 2
            continue
        if c == ord('.') and i + 1 < len(name) and name[i + 1] == ord('.'):
            name[i] = name[i + 1] = ord(' ')
        else:
            name[i] = REPLACE.get(c, c)
        i += 1
    name = bytes(name)
    if name.strip(b" ") == b"":
        return None
    if name.lower() in RESERVED:
        name = b"_" + name
    fname = name + b".url"
    return fname if len(fname) <= 255 else None


def read_lines(data):
    """Lines as shortcut mode reads them, comments blanked out."""
    text = bytearray(data.replace(b"\r\n", b"\n"))
    pos = 0
    while True:
        start = text.find(b"<!--", pos)
        if start < 0:
            break
        end = text.find(b"-->", start + 4)
        end = len(text) if end < 0 else end + 3
        for k in range(start, end):
            if text[k] != ord("\n"):
                text[k] = ord(" ")
        pos = end
    return bytes(text).split(b"\n")


def model(data, select):
    """(qualifies, why, {file name: URL} for plain, for -a, for -s select)."""
    if b"\0" in data:
        return False, "holds a NUL", None
    lines = read_lines(data)
    for n, line in enumerate(lines, 1):
        if len(line) > 1022:
            return False, "line %d is longer than 1022 bytes" % n, None
        has_link = b"<A " in line or b"<a " in line
        if has_link and not LINK_LINE.match(line):
            return False, "line %d is no plain link line" % n, None
        if has_link and re.search(rb'<DL>|<dl>|</DL>|</dl>', line):
            return False, "line %d mixes a link and a list tag" % n, None

    def written(with_prefix, sel):
        files = {}
        depth = 0
        inside = sel is None
        for line in lines:
            m = LINK_LINE.match(line)
            if m and (b"<A " in line or b"<a " in line):
                url, caption = m.group(1), m.group(2)
                if not inside:
                    # A top-level entry caption is compared like a folder's.
                    if depth == 1 and line.lstrip(b" \t")[:4] in (b"<DT>", b"<dt>") \
                            and caption == sel:
                        inside = True
                    continue
                if not (url.startswith(b"http:") or url.startswith(b"ftp:")):
                    if not with_prefix:
                        continue
                    url = PREFIX + url
                name = file_name(caption)
                if name is not None and name not in files:
                    files[name] = url
                continue
            for t in TOKEN.finditer(line):
                tag = t.group(0)
                if tag in (b"<DL>", b"<dl>"):
                    depth += 1
                elif tag in (b"</DL>", b"</dl>"):
                    depth -= 1
                    if sel is not None and inside and depth == 1:
                        return files
                elif not inside and depth == 1:
                    gt = line.find(b">", t.end())
                    lt = line.find(b"<", gt + 1) if gt >= 0 else -1
                    if lt >= 0 and line[gt + 1:lt] == sel:
                        inside = True
        return files

    return True, "", (written(False, None), written(True, None),
                      written(False, select) if select is not None else None)


def first_top_folder(data):
    """Caption of the first <DT><H3 ...>caption</H3> directly in the top list."""
    depth = 0
    for line in read_lines(data):
        for t in re.finditer(rb'<DL>|<dl>|</DL>|</dl>|(?:<DT>|<dt>)<[Hh]3[^>]*>([^<]*)</[Hh]3>',
                             line):
            tag = t.group(0)
            if tag in (b"<DL>", b"<dl>"):
                depth += 1
            elif tag in (b"</DL>", b"</dl>"):
                depth -= 1
            elif depth == 1 and t.group(1):
                return t.group(1)
    return None


# --- runs -------------------------------------------------------------------

def tree(folder):
    """{file name: (bytes, mtime_ns)} of everything in folder (flat)."""
    out = {}
    for entry in os.scandir(folder):
        if not entry.is_file(follow_symlinks=False):
            fail("%s: %r is not a plain file" % (folder, entry.name))
            continue
        with open(entry.path, "rb") as f:
            out[os.fsencode(entry.name)] = (f.read(), entry.stat().st_mtime_ns)
    return out


def run(label, args, outdir, stdin=b""):
    os.makedirs(outdir, exist_ok=True)
    p = subprocess.run([prog, "-v"] + args, input=stdin, stdout=subprocess.PIPE,
                       stderr=subprocess.PIPE, env=dict(os.environ, LC_ALL="C"))
    if p.returncode != 0:
        fail("%s: exit status %d" % (label, p.returncode))
    if p.stdout:
        fail("%s: unexpected standard output" % label)
    for marker in SANITIZER:
        if marker in p.stderr:
            fail("%s: sanitizer report:\n%s" % (label, p.stderr.decode("latin-1")[-3000:]))
            break
    for msg in (b"cannot create", b"writing error", b"no free disk space"):
        if msg in p.stderr:
            fail("%s: unexpected %r in standard error" % (label, msg.decode()))
    files = tree(outdir)
    good = re.compile(rb'\A\[InternetShortcut\]\r\nURL=(.*)\r\n\Z', re.S)
    for name, (body, _) in files.items():
        m = good.match(body)
        if not m:
            fail("%s: %r is no well-formed .url file: %r" % (label, name, body[:200]))
        elif b"-a" not in args and not (m.group(1).startswith(b"http:")
                                        or m.group(1).startswith(b"ftp:")):
            fail("%s: %r holds a relative URL although no -a was given" % (label, name))
    return files, p.stderr


def compare(label, files, expected):
    got = {name: body for name, (body, _) in files.items()}
    want = {name: b"[InternetShortcut]\r\nURL=" + url + b"\r\n"
            for name, url in expected.items()}
    if got == want:
        return
    missing = sorted(set(want) - set(got))
    extra = sorted(set(got) - set(want))
    differ = sorted(n for n in set(got) & set(want) if got[n] != want[n])
    fail("%s: %d files written, %d expected; missing %r, unexpected %r, other bytes in %r"
         % (label, len(got), len(want), missing[:5], extra[:5], differ[:5]))


work = tempfile.mkdtemp(prefix="favlink-corpus-")
try:
    names = sorted(n for n in os.listdir(corpus)
                   if os.path.isfile(os.path.join(corpus, n)))
    if not names:
        print("skipped: %s holds no files" % corpus)
        sys.exit(77)
    modelled = []
    with_folder = 0
    for i, name in enumerate(names):
        path = os.path.join(corpus, name)
        with open(path, "rb") as f:
            data = f.read()
        folder = first_top_folder(data)
        ok, why, predicted = model(data, folder)
        base = os.path.join(work, str(i))

        plain, err1 = run(name + " (plain)", [b"-o", os.fsencode(base + ".plain"),
                                              os.fsencode(path)], base + ".plain")
        absolute, _ = run(name + " (-a)", [b"-a", PREFIX, b"-o", os.fsencode(base + ".abs"),
                                           os.fsencode(path)], base + ".abs", stdin=b"y\n")
        selected = None
        if folder is not None:
            with_folder += 1
            selected, _ = run(name + " (-s)", [b"-s", folder, b"-o", os.fsencode(base + ".sel"),
                                               os.fsencode(path)], base + ".sel")
            if not set(selected) <= set(plain):
                fail("%s (-s): wrote files the plain run did not" % name)

        # The plain run once more over its own output: nothing is written or
        # changed, and nothing is reported beyond the first run's reports.
        again, err2 = run(name + " (second run)", [b"-o", os.fsencode(base + ".plain"),
                                                   os.fsencode(path)], base + ".plain")
        if again != plain:
            fail("%s (second run): the output folder changed" % name)
        if err2 != err1:
            fail("%s (second run): standard error differs from the first run's" % name)

        if ok:
            modelled.append(name)
            compare(name + " (plain)", plain, predicted[0])
            compare(name + " (-a)", absolute, predicted[1])
            if selected is not None:
                compare(name + " (-s)", selected, predicted[2])
        elif name in MUST_MODEL:
            fail("%s no longer fits the model: %s" % (name, why))
        shutil.rmtree(base + ".plain", ignore_errors=True)
        shutil.rmtree(base + ".abs", ignore_errors=True)
        shutil.rmtree(base + ".sel", ignore_errors=True)

    print("%d files run three times each (%d with a top-level folder for -s); "
          "%d checked file by file against the model: %s"
          % (len(names), with_folder, len(modelled), ", ".join(modelled)))
finally:
    shutil.rmtree(work, ignore_errors=True)

if failures:
    print("%d check(s) failed" % len(failures))
    sys.exit(1)
sys.exit(0)
EOF
