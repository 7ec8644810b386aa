#!/bin/sh
# The manual page docs/favlink.1 renders without a single groff warning, and it
# keeps up with the program:
#   - every message format that the sources pass to errmsg (src/**) is stated
#     in the rendered text, its %s/%c/%d parts standing for any words;
#   - every option of the usage text printed by the binary has an entry in
#     OPTIONS, and the version in the page footer is the binary's version.
# Usage: sh manpage_test.sh <favlink-binary> <source-dir>; exit 77 skips.
set -eu
prog=$1
top=$2
man=$top/docs/favlink.1

if ! command -v groff >/dev/null 2>&1; then
  echo "SKIP: groff is not installed (apt-get install groff); the manual page was not checked"
  exit 77
fi
if ! command -v python3 >/dev/null 2>&1; then
  echo "SKIP: python3 is not installed; the manual page was not checked"
  exit 77
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail=0
# -ww turns on every warning; man(1) shows the same text.
for dev in utf8 ascii; do
  groff -man -T$dev -ww "$man" > /dev/null 2> "$tmp/warn.$dev"
  if [ -s "$tmp/warn.$dev" ]; then
    echo "FAIL: groff -man -T$dev -ww warns:"
    cat "$tmp/warn.$dev"
    fail=1
  fi
done

# Plain text without overstrikes, lines long enough that hardly anything is
# broken (the check joins lines anyway).
GROFF_NO_SGR=1 groff -man -Tascii -P-cbuo -rLL=300n "$man" > "$tmp/man.txt" 2>/dev/null
"$prog" -usage > "$tmp/usage.txt"

python3 - "$top/src" "$tmp/man.txt" "$tmp/usage.txt" <<'EOF' || fail=1
import os, re, sys

src, man_txt, usage_txt = sys.argv[1:4]
text = open(man_txt, encoding="ascii", errors="replace").read()
flat = " ".join(text.split())
failed = False

# errmsg("...") calls; adjacent literals are joined as the compiler does.
literal = r'"(?:[^"\\\n]|\\.)*"'
call = re.compile(r'\berrmsg\(\s*((?:' + literal + r'\s*)+)')
escapes = {'n': '\n', 't': '\t', '"': '"', '\\': '\\', "'": "'", 'r': '\r'}

def unescape(lit):
    out = []
    for piece in re.findall(literal, lit):
        body = piece[1:-1]
        i = 0
        while i < len(body):
            if body[i] == '\\':
                out.append(escapes[body[i + 1]])
                i += 2
            else:
                out.append(body[i])
                i += 1
    return "".join(out)

formats = set()
for root, _, files in os.walk(src):
    for name in files:
        if name.endswith((".cc", ".h")):
            code = open(os.path.join(root, name), encoding="utf-8").read()
            for m in call.finditer(code):
                formats.add(unescape(m.group(1)))

checked = 0
for fmt in sorted(formats):
    parts = re.split(r'%[cdxfs]', fmt)
    # "%s\n" (the short usage lines) has no text of its own to look for.
    if sum(c.isalpha() for c in "".join(parts)) < 3:
        continue
    # A conversion stands for the word(s) the page puts there ("path", "X").
    pattern = r'.{1,80}?'.join(
        r'\s+'.join(re.escape(w) for w in p.split()) for p in parts)
    checked += 1
    if not re.search(pattern, flat):
        print("FAIL: the manual page does not state the message %r" % fmt)
        failed = True

# The matcher itself must be able to miss.
if re.search(r'no\s+such\s+message\s+of\s+favlink', flat):
    print("FAIL: the matcher found a message that is not there")
    failed = True
if checked < 15:
    print("FAIL: only %d message formats found in %s; the search is broken" % (checked, src))
    failed = True

# OPTIONS has an entry for each option of the usage text; -usage too.
options_part = text.split("\nOPTIONS\n", 1)[-1].split("\nFILES\n", 1)[0]
usage = open(usage_txt, encoding="latin-1").read()
opts = sorted(set(re.findall(r'^\s{3}(-[a-z])', usage, re.M))) + ["-usage"]
if len(opts) < 9:
    print("FAIL: expected the 8 options of the usage text, found %s" % opts)
    failed = True
for o in opts:
    # -f<n> shows as "-fn": the number is joined to the option.
    entry = r'-fn' if o == '-f' else re.escape(o)
    if not re.search(r'^ {7}' + entry + r'(?![a-z])', options_part, re.M):
        print("FAIL: OPTIONS has no entry for %s" % o)
        failed = True

version = re.search(r'^Version: (\S+)', usage, re.M).group(1)
if not re.search(r'^favlink ' + re.escape(version) + r'\s', text.strip().splitlines()[-1]):
    print("FAIL: the page footer does not show version %s" % version)
    failed = True

print("%d message formats and %d options checked against the manual page" % (checked, len(opts)))
sys.exit(1 if failed else 0)
EOF

if [ $fail -ne 0 ]; then
  echo "manual page check failed"
  exit 1
fi
echo "manual page: no groff warning; messages, options and version as the program has them"
