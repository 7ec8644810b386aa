#!/bin/sh
# Whole-program checks that take more than one run of favlink:
#   sh tests/checks.sh CHECK PROG SOURCE-DIR      (exit 77: skipped)
#   roundtrip  bookmarks -> .url files -> page (both types) -> the same files, and
#              with -x an export -> a tree -> a bookmark file -> the same tree
#   roundtrip_corpus  the same over the shared corpus (skipped where it is not
#              beside the source folder)
#   hostile    huge lines and JSON strings, deep and unbalanced lists, deep JSON, an endless
#              comment, lines longer than memory
#   manpage    the manual formats cleanly and states every message
#   deb        the Debian package installs a favlink that runs
#   browser    headless Chromium shows every name and address of a page
#   browser_corpus  and every folder, name and address of the -x page of a tree
#              made from corpus exports (skipped without Chromium or the corpus)
#   race       -x goes on in the folder it made when another process swaps it for a link
#   swap       -x FOLDER while the disk changes: a folder swapped for a link, a file for a
#              FIFO, mid-walk; a tree deeper than the path limit
# (Every corpus file goes through both modes in the fuzz run, under the sanitizers.)
set -eu
check=$1 prog=$(realpath "$2") src=$(realpath "$3")
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT && cd "$tmp"
fail() { echo "FAIL: $*"; exit 1; }
corpus=$src/../shared/corpus/bookmarks
need_corpus() { [ -d "$corpus" ] || { echo "no corpus at $corpus: skipped"; exit 77; }; }
run() { "$prog" "$@" >out 2>err </dev/null || [ $? -eq 1 ] || fail "$* (status $?): $(tail -3 err)"; }
# roundtrip_sjis FILE...: each file (Shift_JIS captions that survive a second
# cleaning) -> .url files -> a page of each type -> the same .url files.
roundtrip_sjis() {
  for html; do
    [ -f "$html" ] || fail "no $html"
    for fmt in -f0 -f1; do
      rm -rf a b && mkdir a b && echo y | "$prog" -v -a http://h/x/ -o a "$html" 2>/dev/null
      (cd a && "$prog" $fmt *.url >../page.html) && run -v -o b page.html && diff -r a b || fail "$html $fmt"
      [ "$(ls a | wc -l)" -ge 6 ] || fail "$html: only $(ls a | wc -l) files"
    done
  done
}
# holding PATTERN: how many .url files of the tree a hold a line PATTERN (any case).
holding() { grep -rliZ "$1" a | tr -cd '\0' | wc -c; }
# roundtrip_tree FILE...: -x: each export -> a tree A -> a bookmark file -> a
# tree B equal to A byte for byte, descriptions, tags and icons included (but
# for an address byte that is not UTF-8, which comes back as its %XX), and
# with A's times, which are the export's ADD_DATEs (or of the run, for a link
# without one); no link is passed over for a length. The bookmark file gives
# back each description, tags and web icon of A once.
roundtrip_tree() {
  for html; do
    rm -rf a b && mkdir a b && "$prog" -v -x -o a "$html" 2>erra && "$prog" -x -f2 -t T a >bm.html &&
      run -v -x -o b bm.html && ! grep -q "too long" erra err || fail "-x: $html"
    [ "$(grep -c '^<DD>' bm.html) $(grep -c ' TAGS="' bm.html) $(grep -c ' ICON_URI="' bm.html)" = \
      "$(holding '^Prop21=31,') $(holding '^Prop5=31,') $(holding '^IconFile=https\?:')" ] ||
      fail "-x -f2: descriptions, tags, icons of $html"
    python3 - "$html" <<'PY' || fail "-x tree or times: $html"
import os, re, sys, time
dates = {n // 10**6 if n >= 10**11 else n for n in map(int, re.findall(rb'(?i)\sADD_DATE="?(\d{1,18})\b', open(sys.argv[1], 'rb').read()))}
pct = lambda m: ''.join('%%%02X' % (ord(c) - 0xDC00) if '\udc80' <= c <= '\udcff' else c for c in m[0].decode('utf-8', 'surrogateescape')).encode()
for top, dirs, files in os.walk('a'):
    assert sorted(dirs + files) == sorted(os.listdir('b' + top[1:])), top
    for f in files:
        a, b = (open(os.path.join(d + top[1:], f), 'rb').read() for d in 'ab')
        assert re.sub(rb'(?m)^(URL|IconFile)=.*', pct, a) == b, (top, f)
        t, u = (int(os.stat(os.path.join(d + top[1:], f)).st_mtime) for d in 'ab')
        assert t == u and (t in dates or abs(t - time.time()) < 3600 or not dates), (top, f, t, u)
PY
  done
}
# same_tree JSON HTML: a browser's JSON file and its HTML export give the same
# tree, byte for byte and time for time.
same_tree() {
  listing() { (cd "$1" && find . -type f -printf '%p %T@\n' -o -printf '%p\n' | sort); }
  rm -rf a b && mkdir a b && run -v -x -o a "$1" && run -v -x -o b "$2" && diff -r a b >/dev/null &&
    [ "$(listing a)" = "$(listing b)" ] || fail "-x: $1 and $2 give different trees"
}
case $check in
roundtrip)
  roundtrip_sjis "$src/examples/bookmarks.html"
  roundtrip_tree "$src/examples/export.html"
  # The example's description over two lines, tags and icon, as the bookmark file gives them back.
  grep -qxF '<DD>Crêpes au sucre &amp; citron' bm.html && grep -qF 'TAGS="dessert,crêpe">Sweet' bm.html &&
    grep -qF 'ICON_URI="https://news.example.com/favicon.ico" TAGS="news, daily">Daily News</A>' bm.html &&
    [ "$(grep -c 'ICON_URI=\|<DD>' bm.html)" -eq 3 ] || fail "-x: what export.html keeps beside its links"
  # A browser's own JSON file: its tree as the browser's HTML export gives it,
  # and round trips as an export's does.
  same_tree "$src/examples/chromium-bookmarks.json" "$src/examples/chromium-export.html"
  roundtrip_tree "$src/examples/chromium-bookmarks.json" "$src/examples/firefox-backup.json"
  grep -qF 'ICON_URI="https://bakery.example.com/favicon.ico" TAGS="baking">Bread</A>' bm.html &&
    grep -qxF '<DD>Rye &amp; spelt loaves, baked daily' bm.html ||
    fail "-x: what firefox-backup.json keeps beside its links" ;;
roundtrip_corpus)
  need_corpus
  roundtrip_sjis "$corpus/ja-sjis-menu-0x5c-caption.htm" "$corpus/ie-ja-golf-sjis-crlf-transcoded.htm"
  roundtrip_tree "$corpus"/* "$corpus"/../json/* ;;
hostile)
  python3 -c "import sys; sys.stdout.write('<A HREF=\"http://x/\">' * 200000 + '<DL>' * 100000 + '</DL>' * 200000 + '\n<!-- ' + 'x' * 1000000)" >h.html
  mkdir o && run -v -o o h.html && run -v -s x -o o h.html && run -f1 h.html && run -v -x -o o h.html &&
    [ -z "$(ls o)" ] || fail "hostile"
  # -x: 10,000 nested folders named to escape, a link after each heading, a
  # link that never closes over 100,000 lines, broken references. Every link
  # with a name is made, 16 KB of path deep: there is no path limit.
  python3 -c "import sys; n = ['..', '/', '\\\\', 'C:', '.', '', 'con', '../x', ' ']
sys.stdout.write('<DL>' + ''.join('<DT><H3>%s</H3><DL><DT><A HREF=\"https://%d/\">%s</A>' % (n[i % 9], i, n[i % 9]) for i in range(10000))
  + '\n<A HREF=\"&#99999999999;&#xD800;&#x;:\">&#xD800;&#0;x</A><A HREF=\"h:x' + ' y\n' * 100000)" >x.html
  mkdir x && run -v -x -o x x.html && [ "$(ls)" = "$(printf 'err\nh.html\no\nout\nx\nx.html')" ] &&
    [ "$(find x -type f | wc -l)" -eq 6666 ] &&
    grep -q '^[0-9]* written, 0 already there, [0-9]* passed over$' err || fail "hostile -x: $(tail -2 err)"
  # Under a memory limit well below 1 GB: a .url file of one 1 GB line without an end is
  # passed over unheld, and a 1 GB line of a bookmark file stops the scan, reported, the
  # links before it written and counted. Sparse files. ASan reserves more address space
  # than any such limit allows: its build skips this part.
  if grep -q __asan_init "$prog"; then echo "ASan build: no memory limit tried"; else
    mkdir m && truncate -s 1G m/big.url && echo URL=http://ok/ >m/ok.url &&
      (ulimit -v 300000 && "$prog" -x m >out 2>err) && grep -q '"http://ok/">ok<' out &&
      [ ! -s err ] || fail "1 GB .url: $(cat err)"
    printf '<A HREF="http://a/">a</A>\n<A HREF="http://b/">b</A>\n' >g.html && truncate -s 1G g.html &&
      echo '<A HREF="http://c/">c</A>' >>g.html && mkdir g &&
      (ulimit -v 300000; "$prog" -v -x -o g g.html 2>err; [ $? -eq 1 ]) && [ "$(ls g | tr '\n' ' ')" = "a.url b.url " ] &&
      [ "$(cat err)" = "$(printf 'cannot get memory\n2 written, 0 already there, 0 passed over')" ] ||
      fail "1 GB line: $(cat err)"
    # A description of 40 MB under limits round where memory runs out: each file there
    # is whole (it ends with its .W section) and counted, whatever the limit.
    python3 -c "import sys; sys.stdout.buffer.write(b'<DL><DT><A HREF=\"http://a/\">A</A><DT><A HREF=\"http://b/\">B</A><DD>' + b'\xc3\xa9' * 20000000)" >dd.html
    for v in 350000 400000 450000; do
      rm -rf dd && mkdir dd && (ulimit -v $v; "$prog" -v -x -o dd dd.html 2>err >/dev/null || :) &&
        grep -q "^$(ls dd | wc -l) written" err && { [ ! -f dd/B.url ] || tail -c 3 dd/B.url | grep -q -- '-'; } ||
        fail "40 MB description under ulimit -v $v: $(ls dd) $(cat err)"
    done
    # A JSON name of 300 MB: memory runs out in the first reading, nothing is written.
    { printf '{"roots":{"other":{"children":[{"type":"url","url":"http://a/","name":"'
      head -c 300000000 /dev/zero | tr '\0' a; printf '"}]}}}'; } >big.json && mkdir bj &&
      (ulimit -v 300000; "$prog" -v -x -o bj big.json 2>err; [ $? -eq 1 ]) && [ -z "$(ls bj)" ] &&
      [ "$(cat err)" = "$(printf 'cannot get memory\n0 written, 0 already there, 0 passed over')" ] ||
      fail "300 MB JSON name: $(cat err)"
  fi
  # A walk of a folder wider than one read: 4,200 files and 4,200 folders, made
  # in shuffled order, come out in byte order, each once.
  python3 -c "import os, random; n = list(range(4200)); random.shuffle(n)
for i in n: os.makedirs('w/d%04d' % i); open('w/f%04d.url' % i, 'w').write('URL=f%d' % i); open('w/d%04d/g.url' % i, 'w').write('URL=g%d' % i)"
  run -x -f2 w && [ "$(grep -o 'HREF="[^"]*' out | cut -c7- | tr '\n' ' ')" = "$(python3 -c \
    "print(' '.join(['f%d' % i for i in range(4200)] + ['g%d' % i for i in range(4200)]), end=' ')")" ] || fail "wide walk"
  # 1,100 levels of two folders each, a (the next level) and b, a link in each
  # level and in each b, under a hard limit of 64 descriptors: -x makes all
  # 2,200 files, and the walk of the tree made lists them all.
  python3 -c "print('<DL>' + ''.join('<DT><A HREF=\"http://l/%d\">l</A><DT><H3>a</H3><DL>' % i for i in range(1100))
  + ''.join('</DL><DT><H3>b</H3><DL><DT><A HREF=\"http://b/%d\">b</A></DL>' % i for i in range(1099, -1, -1)) + '</DL>')" >d.html
  mkdir d && (ulimit -n 64 && run -v -x -o d d.html) && [ "$(find d -name '*.url' | wc -l)" -eq 2200 ] &&
    [ "$(cat err)" = "2200 written, 0 already there, 0 passed over" ] || fail "deep -x: $(tail -2 err)"
  (ulimit -n 64 && run -x -f2 d) && [ ! -s err ] && [ "$(grep -o 'HREF="[^"]*' out | cut -c7- | sort | tr '\n' ' ')" = \
    "$(python3 -c "print(' '.join(sorted('http://%s/%d' % (c, i) for c in 'lb' for i in range(1100))), end=' ')")" ] ||
    fail "deep walk: $(head -c 300 err)"
  # The same tree from a Chromium file: folders 1,100 deep, their "children" before their names.
  python3 -c "print('{\"roots\":{\"other\":{\"children\":[' + ''.join('{\"type\":\"url\",\"name\":\"l\",\"url\":\"http://l/%d\"},{\"children\":[' % i for i in range(1100))
  + ''.join(']' + ',\"name\":\"a\",\"type\":\"folder\"}' for i in range(1100)) + ']}}}')" >d.json
  rm -rf d && mkdir d && (ulimit -n 64 && run -v -x -o d d.json) && [ "$(find d -name '*.url' | wc -l)" -eq 1100 ] &&
    [ -f "d/$(printf 'a/%.0s' $(seq 1099))l.url" ] && [ "$(cat err)" = "1100 written, 0 already there, 0 passed over" ] ||
    fail "deep JSON -x: $(tail -2 err)" ;;
manpage)
  groff -man -Tutf8 -ww "$src/docs/favlink.1" >/dev/null 2>err && [ ! -s err ] || fail "groff: $(cat err)"
  GROFF_NO_SGR=1 groff -man -Tascii -P-cbuo "$src/docs/favlink.1" 2>/dev/null | tr -s ' \n' '  ' >man.txt
  grep -ho 'errmsg("\([^"\\]\|\\.\)*' "$src"/src/*/*.cc | cut -c9- | sed 's/\\n//g; s/\\"/"/g; s/%[cdxs]/\n/g' |
    sed 's/^ *//; s/ *$//' | grep -v '^.\?$' | sort -u >msgs
  [ "$(wc -l <msgs)" -ge 12 ] || fail "only $(wc -l <msgs) messages found"
  while read -r m; do grep -qF -- "$m" man.txt || fail "not in the manual: $m"; done <msgs ;;
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
browser_corpus)  # -x: a tree of Unicode names, '&' and quotes; every entry under its folder's heading
  command -v chromium >/dev/null || { echo "no chromium: the page was not checked in a browser"; exit 77; }
  need_corpus
  for html in kiwi-chromium-ja.html chrome-de-2015.html; do
    [ -f "$corpus/$html" ] || fail "no $corpus/$html"
    rm -rf t && mkdir t && "$prog" -v -x -o t "$corpus/$html" 2>/dev/null
    "$prog" -x -t T t >page.html && chromium --headless --no-sandbox --disable-gpu --dump-dom \
      "file://$tmp/page.html" 2>/dev/null >dom && python3 - t dom <<'PY' || fail "-x page of $html"
import html.parser, os, sys
class Page(html.parser.HTMLParser):   # (heading, name, address) of every link, as the browser shows it
    seen, heading, href, text = [], '', None, ''
    def handle_starttag(self, tag, attrs): self.text, self.href = '', dict(attrs).get('href', self.href) if tag == 'a' else self.href
    def handle_data(self, data): self.text += data
    def handle_endtag(self, tag):
        if tag == 'h3': self.heading = self.text[1:-1]
        if tag == 'a': self.seen.append((self.heading, self.text, self.href))
page = Page(); page.feed(open(sys.argv[2], encoding='utf-8').read())
want = [(os.path.relpath(d, sys.argv[1]).replace('.', '', d == sys.argv[1]), f[:-4],
         open(os.path.join(d, f), 'rb').read().decode().split('\r\n')[1][4:])
        for d, _, fs in os.walk(sys.argv[1]) for f in fs]
sys.exit(sorted(page.seen) != sorted(want) or len(want) < 50)
PY
  done ;;
race)  # favlink is held by a full pipe on standard error (1 MB of messages after the first
  # link of News) while News is renamed to x and a link to victim put in its place.
  python3 - "$prog" <<'PY' || fail "race"
import os, subprocess, sys, time
os.makedirs('out'), os.makedirs('victim')
open('b.html', 'w').write('<DL><DT><H3>News</H3><DL><DT><A HREF="https://first/">first</A>\n'
    + '<DT><A HREF="javascript:%s">J</A>\n' % ('x' * 900) * 1100
    + '<DT><A HREF="https://planted/">planted</A><DT><H3>Sub</H3><DL><DT><A HREF="https://in/">insub</A></DL></DL>\n'
    + '<DT><H3>News</H3><DL><DT><A HREF="https://again/">again</A></DL></DL>\n')
r, w = os.pipe()
run = subprocess.Popen([sys.argv[1], '-v', '-x', '-o', 'out', 'b.html'], stderr=w, stdout=subprocess.DEVNULL)
os.close(w)
for _ in range(6000):   # until the first file is there (at most a minute)
    if os.path.exists('out/News/first.url'): break
    time.sleep(0.01)
os.rename('out/News', 'out/x')
os.symlink(os.path.abspath('victim'), 'out/News')
with os.fdopen(r, 'rb') as pipe: err = pipe.read().decode().splitlines()
made = sorted(os.path.join(d, f) for d, _, fs in os.walk('out') for f in fs)
ok = (run.wait() == 0 and os.listdir('victim') == [] and err[-2:] == ['"out/News": not a folder',
      '3 written, 0 already there, 1101 passed over']
      and made == ['out/x/Sub/insub.url', 'out/x/first.url', 'out/x/planted.url'])
sys.exit(not ok and print(run.returncode, os.listdir('victim'), err[-2:], made) is None)
PY
  # 40 nested folders a: the run lets the shallow ones go. Held the same way, a/a
  # is moved away and another folder made in its place: the link that comes for
  # a/a after the deep ones is passed over, nothing lands in the new folder.
  python3 - "$prog" <<'PY' || fail "race: a folder let go and moved"
import os, subprocess, sys, time
os.makedirs('o')
open('d.html', 'w').write('<DL>' + '<DT><H3>a</H3><DL>' * 40 + '<DT><A HREF="https://deep/">deep</A>\n'
    + '<DT><A HREF="javascript:%s">J</A>\n' % ('x' * 900) * 1100 + '</DL>' * 38
    + '<DT><A HREF="https://after/">after</A></DL><DT><A HREF="https://up/">up</A></DL></DL>\n')
r, w = os.pipe()
run = subprocess.Popen([sys.argv[1], '-v', '-x', '-o', 'o', 'd.html'], stderr=w, stdout=subprocess.DEVNULL)
os.close(w)
for _ in range(6000):
    if os.path.exists('o' + '/a' * 40 + '/deep.url'): break
    time.sleep(0.01)
os.rename('o/a/a', 'o/moved'), os.mkdir('o/a/a')
with os.fdopen(r, 'rb') as pipe: err = pipe.read().decode().splitlines()
made = sorted(os.path.join(d, f) for d, _, fs in os.walk('o') for f in fs)
ok = run.wait() == 0 and err[-2:] == ['"o/a/a": not a folder', '2 written, 0 already there, 1101 passed over']
sys.exit(not (ok and made == ['o/a/up.url', 'o' + '/moved' + '/a' * 38 + '/deep.url']) and print(err[-2:], made) is None)
PY
  ;;
swap)
  # favlink is held in a write of the page by a pipe nobody reads: the files of
  # T come first, 300 KB of page, more than the pipe and the page buffer hold.
  # While it waits, T/B becomes a link to V and T/z.url a FIFO; then the pipe
  # is drained. Neither is read, and each is reported.
  mkdir -p T/B V && echo URL=http://victim/ >V/victim.url && echo URL=http://b/ >T/B/b.url
  python3 - "$prog" <<'PY' || fail "swap: $(cat report)"
import fcntl, os, subprocess, sys, termios, time
for i in range(300): open('T/a%03d.url' % i, 'w').write('URL=http://a/' + 'x' * 1000)
open('T/z.url', 'w').write('URL=http://z/')
p = subprocess.Popen([sys.argv[1], '-x', 'T'], stdout=subprocess.PIPE, stderr=open('err', 'wb'))
r = p.stdout.fileno()
full = fcntl.fcntl(r, 1032)   # F_GETPIPE_SZ
queued = lambda: int.from_bytes(fcntl.ioctl(r, termios.FIONREAD, bytes(4)), sys.byteorder)
for _ in range(3000):
    if queued() >= full: break
    time.sleep(0.01)
os.rename('T/B', 'T/B.old'); os.symlink('../V', 'T/B')
os.remove('T/z.url'); os.mkfifo('T/z.url')
try:
    page, status = p.communicate(timeout=60)[0], p.returncode
except subprocess.TimeoutExpired:
    p.kill()
    page, status = p.communicate()[0], 'a hang'
err = open('err', 'rb').read()
bad = [w for w, ok in [('status %s' % status, status == 0), ('the link was followed', b'victim' not in page),
       ('stderr: %r' % err, err == b'T/z.url: not a regular file\nT/B: cannot read folder\n'),
       ('not 300 links', page.count(b'<LI>') == 300)] if not ok]
open('report', 'w').write(', '.join(bad))
sys.exit(bool(bad))
PY
  # 40 nested folders a, each beside a folder b of one link; 300 KB of page in
  # the deepest. While the walk waits, T2/a/a (let go, the deepest held) is
  # moved and another folder made in its place: the walk does not enter it.
  python3 - "$prog" <<'PY' || fail "swap: a folder let go and moved"
import fcntl, os, subprocess, sys, termios, time
for k in range(40):
    os.makedirs('T2' + '/a' * k + '/b'), open('T2' + '/a' * k + '/b/b.url', 'w').write('URL=http://b/%d' % k)
os.makedirs('T2' + '/a' * 40)
for i in range(300): open('T2' + '/a' * 40 + '/a%03d.url' % i, 'w').write('URL=http://a/' + 'x' * 1000)
p = subprocess.Popen([sys.argv[1], '-x', '-f2', 'T2'], stdout=subprocess.PIPE, stderr=open('err', 'wb'))
r = p.stdout.fileno()
full = fcntl.fcntl(r, 1032)   # F_GETPIPE_SZ
for _ in range(3000):
    if int.from_bytes(fcntl.ioctl(r, termios.FIONREAD, bytes(4)), sys.byteorder) >= full: break
    time.sleep(0.01)
os.rename('T2/a/a', 'T2/moved'), os.makedirs('T2/a/a/b'), open('T2/a/a/b/x.url', 'w').write('URL=http://x/')
page = p.communicate(timeout=60)[0].decode()
got = [l[l.index('HREF="') + 6:l.index('" ')] for l in page.splitlines() if 'HREF="http://b/' in l or 'x/"' in l]
want = ['http://b/%d' % k for k in range(39, 8, -1)] + ['http://b/1', 'http://b/0']
sys.exit(not (p.returncode == 0 and got == want and open('err').read() == '"T2/a/a": not a folder\n'))
PY
  # 21 nested folders of 200 bytes: their path, 4,221 bytes, is longer than
  # PATH_MAX. Made one folder at a time, as favlink reads them.
  python3 -c "import os
os.mkdir('D'); os.chdir('D'); open('top.url', 'w').write('URL=top')
for i in range(21): os.mkdir('d' * 200); os.chdir('d' * 200)
open('deep.url', 'w').write('URL=deep')"
  run -x -f2 D && [ ! -s err ] && [ "$(grep -o 'HREF="[^"]*' out | tr '\n' ' ')" = 'HREF="top HREF="deep ' ] &&
    [ "$(grep -c '<DT><H3>ddd*</H3>' out)" -eq 21 ] || fail "deep walk: $(head -c 300 err)" ;;
*) fail "no check $check" ;;
esac
echo "$check: passed"
