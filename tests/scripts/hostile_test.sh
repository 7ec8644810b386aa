# Hostile and edge input, made at test time: 1 MB lines, a 100 MB file, NUL
# bytes, lone CR, 0x1A, a file ending inside a double-byte character, 100,000
# nested and unbalanced <DL>, 100,000 links on one line, an unterminated
# comment, 100 KB arguments and a page of 10,000 .url files. Each run must
# end with the right exit status, output and files, within 64 MB of address
# space (not checked for a sanitizer build, whose shadow memory needs far
# more) and within a generous time limit that only catches an endless loop.
#
#   sh hostile_test.sh <favlink-binary> <source-dir>
# Exit 0 pass, 1 fail, 77 skipped (no python3).

prog=$1
. "$(dirname "$0")/common.sh"
need_prog "$prog"
need_python
exec python3 - "$prog" <<'EOF'
import atexit
import os
import resource
import shutil
import subprocess
import sys
import tempfile

PROG = os.path.abspath(sys.argv[1])
MEMORY = 64 << 20      # address space of one run
ENDLESS = 120          # seconds: only an endless loop takes this long

# A sanitizer build reserves terabytes of shadow address space, so the
# memory limit is left out there.
with open(PROG, "rb") as f:
    SANITIZED = b"__asan_init" in f.read()

ROOT = tempfile.mkdtemp(prefix="favlink-hostile.")
atexit.register(shutil.rmtree, ROOT, True)
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
        print("FAIL: " + what)


def limit_memory():
    if not SANITIZED:
        resource.setrlimit(resource.RLIMIT_AS, (MEMORY, MEMORY))


def fresh(name):
    d = os.path.join(ROOT, name)
    os.mkdir(d)
    return d


def run(args, cwd, stdin=b""):
    env = dict(os.environ, LC_ALL="C")
    try:
        return subprocess.run([PROG] + args, cwd=cwd, input=stdin, capture_output=True,
                              timeout=ENDLESS, preexec_fn=limit_memory, env=env)
    except subprocess.TimeoutExpired:
        failures.append("%s: no end after %d s" % (args[:3], ENDLESS))
        raise


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def shortcut(url):
    return b"[InternetShortcut]\r\nURL=" + url + b"\r\n"


HEAD = (b"<HTML>\n<HEAD>\n"
        b"<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
        b"<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n")


def page(body, title=b"Favorite Links From URL Files", comment=False):
    return (HEAD + b"<CENTER><H2>" + title + b"</H2></CENTER><HR>\n" + body +
            (b"</DL>\n" if comment else b"</OL>\n") + b"<HR>\n</BODY>\n</HTML>\n")


def li(url, name):
    return b"<LI><A href=\"" + url + b"\">" + name + b"</A><BR>\n"


def expect_run(label, args, cwd, status=0, stdout=b"", stderr=b""):
    r = run(args, cwd)
    check(r.returncode == status, "%s: exit %d, expected %d" % (label, r.returncode, status))
    check(r.stdout == stdout, "%s: stdout differs (%d bytes, expected %d)"
          % (label, len(r.stdout), len(stdout)))
    check(r.stderr == stderr, "%s: stderr differs: %r" % (label, r.stderr[:300]))
    return r


def expect_files(label, folder, files):
    folder = os.fsencode(folder)
    names = sorted(os.listdir(folder))
    check(names == sorted(files), "%s: files %r, expected %r"
          % (label, names[:8], sorted(files)[:8]))
    for name, data in files.items():
        path = os.path.join(folder, name)
        if os.path.exists(path):
            check(read(path) == data, "%s: %r holds %r" % (label, name, read(path)[:200]))


def scan_case(label, html, files, args=(), stderr=b""):
    d = fresh(label)
    write(os.path.join(d, "in.html"), html)
    os.mkdir(os.path.join(d, "out"))
    expect_run(label, ["-v"] + list(args) + ["-o", "out", "in.html"], d, stderr=stderr)
    expect_files(label, os.path.join(d, "out"), files)


def link(url, cap):
    return b"<A HREF=\"" + url + b"\">" + cap + b"</A>"


# --- lines of 1 MB -----------------------------------------------------------
# Shortcut mode reads pieces of 1023 bytes: a line of 1025 such pieces, each
# holding one whole link, gives 1025 files.
units = []
files = {}
for k in range(1025):
    u = link(b"http://h.example/%06d" % k, b"L%06d" % k)
    units.append(u + b"x" * (1023 - len(u)))
    files[b"L%06d.url" % k] = shortcut(b"http://h.example/%06d" % k)
scan_case("line_1mb_shortcut", b"".join(units) + b"\n", files)

# Link page mode reads pieces of 2047 bytes: the URL of a 1 MB link line is
# cut to 2043 bytes; a 1 MB line before the link line is passed over; a
# piece that begins with "URL=" in the middle of a line is a link line.
d = fresh("line_1mb_linkpage")
mb = 1 << 20
write(os.path.join(d, "long.url"), b"URL=" + b"u" * mb + b"\r\n")
write(os.path.join(d, "after.url"),
      b"[InternetShortcut]\r\n" + b"x" * mb + b"\r\nURL=http://after.example/\r\n")
write(os.path.join(d, "piece.url"), b"y" * 2047 + b"URL=second-piece\n")
expect_run("line_1mb_linkpage", ["long.url", "after.url", "piece.url"], d,
           stdout=page(b"<OL>\n" + li(b"u" * 2043, b"long") +
                       li(b"http://after.example/", b"after") + li(b"second-piece", b"piece")))

# --- a file of 100 MB ---------------------------------------------------------
# 100 MB of lines that keep the scanner busy (balanced lists, comments,
# anchors without href) and one link and one link line at the very end.
d = fresh("file_100mb")
filler = b"<DL><DT><H3>f</H3><!-- c --> <A NAME=\"n\">x</A> </DL> filler text\n"
block = filler * ((1 << 20) // len(filler))
big = os.path.join(d, "big.html")
with open(big, "wb") as f:
    for _ in range(100):
        f.write(block)
    f.write(link(b"http://end.example/", b"end") + b"\nURL=http://u.example/\n")
check(os.path.getsize(big) > 100 * 1000 * 1000, "file_100mb: the file is too small")
os.mkdir(os.path.join(d, "out"))
expect_run("file_100mb_shortcut", ["-v", "-o", "out", "big.html"], d)
expect_files("file_100mb_shortcut", os.path.join(d, "out"),
             {b"end.url": shortcut(b"http://end.example/")})
expect_run("file_100mb_linkpage", ["big.html"], d,
           stdout=page(b"<OL>\n" + li(b"http://u.example/", b"big")))
os.remove(big)

# --- NUL, lone CR, 0x1A ---------------------------------------------------------
# A NUL ends the piece it is in: the rest of that line is not seen.
scan_case("nul_shortcut",
          link(b"http://a/", b"a") + b"\0" + link(b"http://b/", b"b") + b"\n" +
          link(b"http://c/", b"c\0d") + b"\n" + link(b"http://e/", b"e") + b"\n",
          {b"a.url": shortcut(b"http://a/"), b"e.url": shortcut(b"http://e/")},
          stderr=b"\"c\": link tag not closed for the link of \"http://c/\"\n")
d = fresh("nul_linkpage")
write(os.path.join(d, "a.url"), b"URL=ab\0cd\r\n")
write(os.path.join(d, "b.url"), b"\0URL=x\nURL=y\n")
expect_run("nul_linkpage", ["a.url", "b.url"], d,
           stdout=page(b"<OL>\n" + li(b"ab", b"a") + li(b"y", b"b")))

# A CR not followed by LF is an ordinary byte: it neither ends a line nor
# leaves the caption (it is no character the name cleaning replaces).
scan_case("lone_cr_shortcut",
          link(b"http://a/", b"a") + b"\r" + link(b"http://b/", b"b\rc") + b"\r\n",
          {b"a.url": shortcut(b"http://a/"), b"b\rc.url": shortcut(b"http://b/")})
d = fresh("lone_cr_linkpage")
write(os.path.join(d, "a.url"), b"x\rURL=no\r\nURL=x\ry\r\n")
expect_run("lone_cr_linkpage", ["a.url"], d, stdout=page(b"<OL>\n" + li(b"x\ry", b"a")))

# 0x1A is no end of file here: what follows it is read.
scan_case("ctrl_z_shortcut",
          link(b"http://a/", b"a\x1a") + b"\n\x1a\n" + link(b"http://b/", b"b") + b"\n\x1a",
          {b"a\x1a.url": shortcut(b"http://a/"), b"b.url": shortcut(b"http://b/")})
d = fresh("ctrl_z_linkpage")
write(os.path.join(d, "a.url"), b"[InternetShortcut]\r\n\x1a\r\nURL=http://z/\r\n")
expect_run("ctrl_z_linkpage", ["a.url"], d, stdout=page(b"<OL>\n" + li(b"http://z/", b"a")))

# --- a file that ends inside a double-byte character ---------------------------
# A lone lead byte at the end of a caption is a byte of its own; a link cut
# off by the end of the file is reported; every byte of the file is read and
# none beyond it.
scan_case("cut_character_shortcut",
          link(b"http://a/", b"\x83\x5c\x83") + b"\n" +
          b"<A HREF=\"http://b/\">b\x83",
          {b"\x83\x5c\x83.url": shortcut(b"http://a/")},
          stderr=b"\"b\x83\": link tag not closed for the link of \"http://b/\"\n")
d = fresh("cut_character_linkpage")
write(os.path.join(os.fsencode(d), b"tail\x83"), b"URL=http://a/\x83")
expect_run("cut_character_linkpage", [b"tail\x83"], d,
           stdout=page(b"<OL>\n" + li(b"http://a/\x83", b"tail\x83")))

# --- deeply nested and unbalanced <DL> -------------------------------------------
deep = 100000
nested = (b"<DL><p>\n<DT><H3>F</H3>\n" + b"<DL>\n" * deep +
          b"<DT>" + link(b"http://deep/", b"deep") + b"\n" + b"</DL>\n" * deep +
          b"<DT>" + link(b"http://after/", b"after") + b"\n</DL>\n")
scan_case("nested_dl_select", nested, {b"deep.url": shortcut(b"http://deep/")}, ("-s", "F"))
scan_case("nested_dl_all", nested,
          {b"deep.url": shortcut(b"http://deep/"), b"after.url": shortcut(b"http://after/")})

bookmarks = (b"<DL><p>\n<DT><H3>Top</H3>\n<DL><p>\n<DT><H3>Inner</H3>\n<DL><p>\n<DT>" +
             link(b"http://in/", b"in") + b"\n</DL><p>\n</DL><p>\n</DL>\n")
# A stray </DL> lowers every later depth by one: the top-level folder can no
# longer be selected, the folder inside it can.
scan_case("stray_dl_top", b"</DL>\n" + bookmarks, {}, ("-s", "Top"))
scan_case("stray_dl_inner", b"</DL>\n" + bookmarks, {b"in.url": shortcut(b"http://in/")},
          ("-s", "Inner"))
scan_case("unbalanced_dl_select", b"</DL>\n" * deep + bookmarks, {}, ("-s", "Top"))
scan_case("unbalanced_dl_all", b"</dl>" * deep + b"\n" + bookmarks,
          {b"in.url": shortcut(b"http://in/")})

# --- 100,000 links on one line ---------------------------------------------------
# Each link is 31 bytes and 1023 = 33 * 31, so every piece holds 33 whole
# links and none is cut. Their captions "??" clean to blanks, so each link
# is reported (with its own URL) instead of written: all 100,000 must be
# reported, in order, and nothing written.
n = 100000
line = b"".join(link(b"http://%07d" % k, b"??") for k in range(n))
check(len(line) == 31 * n, "many_links: the links are not 31 bytes long")
scan_case("many_links", line + b"\n", {},
          stderr=b"".join(b"[??]: invalid name for the link of \"http://%07d\"\n" % k
                          for k in range(n)))

# --- an unterminated comment ----------------------------------------------------
scan_case("unterminated_comment",
          link(b"http://a/", b"a") + b"<!-- open\n" +
          (link(b"http://hidden/", b"hidden") + b"<DL></DL>\n") * 1000 +
          b"<!-- <!-- -- - >\n",
          {b"a.url": shortcut(b"http://a/")})

# --- arguments of 100 KB -----------------------------------------------------------
huge = b"T" * (100 * 1024)
d = fresh("huge_args")
write(os.path.join(d, "a.url"), b"URL=http://a/\r\n")
write(os.path.join(d, "in.html"), link(b"http://a/", b"a") + b"\n")
expect_run("huge_title", ["-t", huge, "a.url"], d,
           stdout=page(b"<OL>\n" + li(b"http://a/", b"a"), title=huge))
# A message whose file name does not fit is written without it.
expect_run("huge_file_name", [huge], d, stdout=page(b""), stderr=b": not found\n")
expect_run("huge_html_name", ["-v", huge], d, stderr=b": not found\n")
expect_run("huge_select", ["-v", "-s", huge, "in.html"], d)
expect_run("huge_outdir", ["-v", "-o", b"o" * (100 * 1024), "in.html"], d,
           stderr=b"too long path ... a.url\n")
expect_run("huge_name_prefix", ["-v", "-n", b"n" * (100 * 1024), "in.html"], d,
           stderr=b"too long name ... a\n")
expect_run("huge_icon", ["-v", "-i", b"i" * (100 * 1024) + b";3", "in.html"], d,
           stderr=b"too long icon file ... a.url\n")
r = run(["-v", "-a", huge, "in.html"], d, stdin=b"y\n")
check(r.returncode == 1 and r.stdout == b"" and r.stderr != b"",
      "huge_prefix: exit %d, stderr %r" % (r.returncode, r.stderr[:100]))
check(sorted(os.listdir(d)) == ["a.url", "in.html"], "huge_args: a file was written")

# --- a page of 10,000 .url files -------------------------------------------------
# 100 folders of 100 entries, named as the Windows shell passes them
# ("F00\e000.url"), in comment type: numbering runs 01 to 100 in each.
d = fresh("many_urls")
args = []
body = b""
for f in range(100):
    body += (b"</DL><HR>\n" if f else b"") + b"<H3>[F%02d]</H3>\n<DL>\n" % f
    for e in range(100):
        name = b"F%02d\\e%03d.url" % (f, e)
        write(os.path.join(os.fsencode(d), name), b"[InternetShortcut]\r\nURL=http://e/%d\r\n" % e)
        args.append(name)
        body += b"<DT>%02d. <A href=\"http://e/%d\">e%03d</A>\n<DD> \n" % (e + 1, e, e)
expect_run("many_urls", ["-f1"] + args, d, stdout=page(body, comment=True))

if failures:
    print("%d checks failed" % len(failures))
    sys.exit(1)
print("all hostile inputs handled%s" % (" (no memory limit: sanitizer build)" if SANITIZED else ""))
EOF
