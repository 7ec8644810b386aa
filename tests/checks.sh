#!/bin/sh
# Whole-program checks that take more than one run of favlink:
#   sh tests/checks.sh CHECK PROG SOURCE-DIR      (exit 77: skipped)
#   corpus     every corpus file through both modes: status 0, no sanitizer
#              report, every file written a well-formed .url file
#   roundtrip  bookmarks -> .url files -> page (both types) -> the same files
#   hostile    huge lines, deep and unbalanced lists, an endless comment
#   manpage    the manual formats cleanly and names every message
#   deb        the Debian package installs a favlink that runs
#   browser    headless Chromium shows every name and address of a page
set -eu
check=$1 prog=$(realpath "$2") src=$(realpath "$3")
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT && cd "$tmp" && printf 'y\n' >y
fail() { echo "FAIL: $*"; exit 1; }
# Runs favlink; any status but 0 or 1, or a sanitizer report, is a failure.
run() {
  "$prog" "$@" >out 2>err <"${stdin:-/dev/null}" && rc=0 || rc=$?
  [ $rc -le 1 ] && ! grep -q -e 'runtime error' -e 'Sanitizer' err || fail "$* (status $rc): $(tail -3 err)"
}
well_formed() {  # every file below $1 is a .url file as favlink writes them
  python3 -c "import os, re, sys
for r, _, fs in os.walk(sys.argv[1]):
  for f in fs:
    assert re.fullmatch(rb'\[InternetShortcut\]\r\nURL=[^\n]*\r\n(IconIndex=\d+\r\nIconFile=[^\n]*\r\n)?',
                        open(os.path.join(r, f), 'rb').read()), f" "$1" || fail "$1: not a .url file"
}
case $check in
corpus)
  for f in "$src"/../shared/corpus/bookmarks/*; do
    b=$(basename "$f") && mkdir -p "o/$b" "p/$b" && run -v -o "o/$b" "$f" && stdin=y run -v -a http://h/x -i 'i;2' -o "p/$b" "$f"
  done
  well_formed o && well_formed p
  cp "$src"/../shared/corpus/url/* . && run -f1 ./*.url && [ "$(grep -c '^<DT>' out)" -ge 20 ] || fail "page"
  for f in "$src"/../shared/corpus/url/*; do run "$f"; done ;;
roundtrip)  # with Shift_JIS corpus files, whose captions survive a second cleaning
  for html in examples/bookmarks.html ../shared/corpus/bookmarks/ja-sjis-menu-0x5c-caption.htm \
      ../shared/corpus/bookmarks/ie-ja-golf-sjis-crlf-transcoded.htm; do
    for fmt in -f0 -f1; do
      rm -rf a b && mkdir a b && stdin=y run -v -a http://h/x/ -o a "$src/$html"
      (cd a && "$prog" $fmt *.url >../page.html) && run -v -o b page.html && diff -r a b || fail "$html $fmt"
      [ "$(ls a | wc -l)" -ge 6 ] || fail "$html: only $(ls a | wc -l) files"
    done
  done ;;
hostile)
  python3 -c "import sys; sys.stdout.write('<A HREF=\"http://x/\">' * 200000 + '<DL>' * 100000 + '</DL>' * 200000 + '\n<!-- ' + 'x' * 1000000)" >h.html
  mkdir o && run -v -o o h.html && run -v -s x -o o h.html && run -f1 h.html && [ -z "$(ls o)" ] || fail "hostile" ;;
manpage)
  groff -man -Tutf8 -ww "$src/docs/favlink.1" >/dev/null 2>err && [ ! -s err ] || fail "groff: $(cat err)"
  GROFF_NO_SGR=1 groff -man -Tascii -P-cbuo "$src/docs/favlink.1" >man.txt 2>/dev/null
  python3 - "$src"/src/*/*.cc <<'EOF' || fail "a message the manual does not state"
import re, sys
man, n = ' '.join(open('man.txt').read().split()), 0
for f in sys.argv[1:]:
    for lit in re.findall(r'errmsg\("((?:[^"\\]|\\.)*)"', open(f).read()):
        parts = re.split(r'%[cdxs]', re.sub(r'\\(.)', lambda m: {'n': ''}.get(m[1], m[1]), lit))
        n += 1
        assert re.search('.{0,80}?'.join(re.escape(' '.join(p.split())) for p in parts), man), lit
assert n >= 15, n
EOF
  ;;
deb)
  (cd "$(dirname "$prog")" && cpack -G DEB -B "$tmp/b" >/dev/null) && dpkg-deb -x b/favlink_*.deb root || fail "deb"
  [ "$(root/usr/bin/favlink -usage | md5sum)" = "$("$prog" -usage | md5sum)" ] || fail "installed favlink"
  [ -f root/usr/share/man/man1/favlink.1* ] || fail "no manual in the package" ;;
browser)
  command -v chromium >/dev/null || { echo "no chromium: the page was not checked in a browser"; exit 77; }
  cp "$src/examples/favorites/"*.url . && run -f1 *.url && cp out page.html
  chromium --headless --no-sandbox --disable-gpu --dump-dom "file://$tmp/page.html" 2>/dev/null >dom
  for f in *.url; do
    name=$(basename "$f" .url | iconv -f CP932 -t UTF-8) href=$(sed -n 's/^URL=//p' "$f" | tr -d '\r')
    grep -qF "<a href=\"$href\">$name</a>" dom || fail "not shown: $name $href"
  done ;;
*) fail "no check $check" ;;
esac
echo "$check: passed"
