# Nothing lost: shortcut mode over a few hundred random bookmark files (fixed
# seed), each written into an output folder that already holds files: some
# named like the links' shortcuts, some unreadable, symbolic links to files
# outside the folder and dangling ones, a folder named like a shortcut.
# After every run:
#   - every file, folder and link that existed is unchanged, byte for byte
#     (and a dangling link still dangles);
#   - nothing new exists outside the output folder;
#   - every new file is a regular file holding exactly
#     "[InternetShortcut]\r\nURL=<url>\r\n" (plus "IconIndex=<n>\r\nIconFile=<icon>\r\n"
#     when -i was given), with the URL of one of the file's links;
#   - without -s, every plain link (an absolute URL and a name of its own,
#     outside comments) has its file unless one of that name was there before.
#
#   sh nothing_lost_test.sh <favlink-binary> <source-dir>
# Exit 0 pass, 1 fail, 77 skipped (no python3).

prog=$1
. "$(dirname "$0")/common.sh"
need_prog "$prog"
need_python
exec python3 - "$prog" <<'EOF'
import os
import random
import shutil
import stat
import subprocess
import sys
import tempfile

PROG = os.path.abspath(sys.argv[1])
RUNS = 300
rng = random.Random(20240606)
failures = []

# Captions that clean to something else, or to nothing, or that try to leave
# the folder. None of them can clean to "Plain<n>", the plain links' names.
HOSTILE_CAPTIONS = [
    b"..", b"...", b"a/b", b"../../outside/victim", b"/etc/passwd", b"CON", b"nul", b"Clock",
    b"  ", b"\t", b"", b"a:b*c?d", b"\"q\" <x> |y|", b"<IMG SRC=\"i.gif\">", b"<b>bold</b> text",
    b"\x83\x5c\x83\x74\x83\x67", b"\x95\x5c\x8e\xa6", b"\xe3\x81/\x2e\x2e\xe3", b"\x83",
    b"x\ty", b"taken", b"Secret", b"dangling", b"victim", b"Dir", b"name " * 60, b"\xa0A\xfd",
    b"\r", b"a\rb", b"\x1a", b"\x7f", b"%s%d%n", b"\\\\server\\share",
]
URLS = [
    b"http://a.example/", b"http://b.example/x?y=1&z=2", b"ftp://f.example/pub/",
    b"rel/page.html", b"/root.html", b"mailto:m@example.com", b"https://s.example/",
    b"javascript:window.open('./pop.html')", b"JAVASCRIPT:window.open ( 'x.html' )",
    b"javascript:void(0)", b"", b"http:", b"\x83\x5c.html",
]
PREFIXES = [b"", b"my-", b"\x83\x5c", b"x y", b"-"]
ICONS = [None, (b"shell.dll", 3), (b"", -1), (b"\x83\x5c.ico", 0)]
URL_PREFIXES = [None, b"http://base.example/dir/page.html", b"abc", b""]


def effective_url(href):
    """The URL a link of this href value gets, before the -a prefix."""
    if href[:11] in (b"javascript:", b"JAVASCRIPT:"):
        rest = href[11:]
        at = rest.find(b"window.open")
        if at < 0:
            return None
        call = rest[at + 11:].lstrip(b" \t")
        if not call.startswith(b"("):
            return None
        parts = call.split(b"'")
        if len(parts) < 3:
            return None
        url = parts[1]
        return url[2:] if url.startswith(b"./") else url
    return href


class Bookmarks:
    def __init__(self):
        self.lines = []
        self.plain = []        # (name, url) of plain links, outside comments
        self.urls = set()      # every URL a link may give
        self.folders = []      # top-level folder captions
        self.plain_count = 0

    def link(self, in_comment):
        if not in_comment and rng.random() < 0.5:
            self.plain_count += 1
            name = b"Plain%d" % self.plain_count
            url = b"http://plain.example/%d" % self.plain_count
            self.plain.append((name, url))
            cap = name
        else:
            url = rng.choice(URLS)
            cap = rng.choice(HOSTILE_CAPTIONS)
            eff = effective_url(url)
            if eff is not None:
                self.urls.add(eff)
        self.urls.add(url)
        tag = rng.choice([b"<DT><A HREF=\"%s\" ADD_DATE=\"1\">%s</A>", b"<dt><a href=\"%s\">%s</a>",
                          b"<DT><A HREF=\"%s\" TITLE=\"a>b\">%s</A> trailing"])
        self.lines.append(b"    " + tag % (url, cap))

    def folder(self, depth, top):
        name = rng.choice([b"News", b"Tech", b"F%d" % rng.randrange(5), b"\x83\x5c\x83\x74"])
        if top:
            self.folders.append(name)
        self.lines.append(b"<DT><H3 FOLDED>%s</H3>" % name)
        self.lines.append(b"<DL><p>")
        self.items(depth + 1)
        self.lines.append(b"</DL><p>")

    def items(self, depth):
        for _ in range(rng.randrange(1, 6)):
            r = rng.random()
            if r < 0.55:
                self.link(False)
            elif r < 0.7 and depth < 4:
                self.folder(depth, depth == 1)
            elif r < 0.8:
                # A comment over several lines hides the links in it.
                self.lines.append(b"<!-- hidden")
                for _ in range(rng.randrange(3)):
                    self.link(True)
                self.lines.append(b"-->")
            elif r < 0.9:
                self.lines.append(rng.choice([b"<DD>a description", b"<HR>", b"<p>", b"<A NAME=\"x\">x</A>",
                                              b"</DL>", b"<DL>", b"junk \x83\x5c > < \""]))
            else:
                self.link(False)

    def html(self):
        head = [b"<!DOCTYPE NETSCAPE-Bookmark-file-1>",
                b"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",
                b"<TITLE>Bookmarks</TITLE>", b"<H1>Bookmarks</H1>", b"<DL><p>"]
        eol = rng.choice([b"\n", b"\r\n"])
        return eol.join(head + self.lines + [b"</DL><p>", b""])


def snapshot(root):
    """Every entry below root: kind and content (bytes, link target)."""
    seen = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            st = os.lstat(path)
            if stat.S_ISLNK(st.st_mode):
                what = ("link", os.readlink(path))
            elif stat.S_ISDIR(st.st_mode):
                what = ("dir", stat.S_IMODE(st.st_mode))
            else:
                try:
                    with open(path, "rb") as f:
                        data = f.read()
                except PermissionError:
                    data = None
                what = ("file", stat.S_IMODE(st.st_mode), st.st_size, st.st_mtime_ns, data)
            seen[os.path.relpath(path, root)] = what
    return seen


def fill_output(out, outside, book):
    """Files that are there before the run; returns the names of shortcuts taken."""
    taken = set()
    for name, _ in book.plain:
        if rng.random() < 0.15:
            taken.add(name)
            with open(os.path.join(out, name + b".url"), "wb") as f:
                f.write(b"not a shortcut: " + name)
    for name in (b"taken.url", b"Secret.url", b"_CON.url", b"a!b.url"):
        with open(os.path.join(out, name), "wb") as f:
            f.write(bytes(rng.randrange(256) for _ in range(rng.randrange(64))))
    os.chmod(os.path.join(out, b"Secret.url"), 0)
    os.symlink(b"../outside/victim", os.path.join(out, b"victim.url"))
    os.symlink(b"../outside/missing", os.path.join(out, b"dangling.url"))
    os.mkdir(os.path.join(out, b"Dir.url"))
    for _ in range(rng.randrange(5)):
        name = bytes(rng.choice(b"abcXYZ.-_ \x83\x5c\xe3") for _ in range(rng.randrange(1, 12)))
        path = os.path.join(out, name)
        if not os.path.lexists(path) and name not in (b".", b".."):
            with open(path, "wb") as f:
                f.write(os.urandom(rng.randrange(100)))
    with open(os.path.join(outside, b"victim"), "wb") as f:
        f.write(b"outside the output folder")
    return taken


def unlock(root):
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            if not os.path.islink(path):
                os.chmod(path, 0o700)


def shortcut(url, icon):
    data = b"[InternetShortcut]\r\nURL=" + url + b"\r\n"
    if icon is not None:
        data += b"IconIndex=%d\r\nIconFile=%s\r\n" % (max(icon[1], 0), icon[0])
    return data


def one_run(n, root):
    book = Bookmarks()
    book.items(1)
    html = book.html()
    out = os.path.join(root, b"out")
    outside = os.path.join(root, b"outside")
    os.mkdir(out)
    os.mkdir(outside)
    with open(os.path.join(root, b"in.html"), "wb") as f:
        f.write(html)
    taken = fill_output(out, outside, book)

    name_prefix = rng.choice(PREFIXES)
    icon = rng.choice(ICONS)
    a_value = rng.choice(URL_PREFIXES)
    select = rng.choice(book.folders) if book.folders and rng.random() < 0.3 else None
    args = [b"-v"]
    if a_value is not None:
        args += [b"-a", a_value]
    if name_prefix:
        args += [b"-n", name_prefix]
    if icon is not None:
        args += [b"-i", icon[0] + (b";%d" % icon[1] if icon[1] >= 0 else b"")]
    if select is not None:
        args += [b"-s", select]
    args += [b"-o", b"out", b"in.html"]
    url_prefix = b""
    if a_value is not None:
        url_prefix = (a_value[:a_value.rfind(b"/")] if b"/" in a_value else a_value) + b"/"

    before = snapshot(root)
    r = subprocess.run([PROG] + args, cwd=root, input=b"y\n", capture_output=True, timeout=60,
                       env=dict(os.environ, LC_ALL="C"))
    after = snapshot(root)

    def fail(what):
        failures.append("run %d: %s" % (n, what))
        print("FAIL run %d (%s): %s" % (n, b" ".join(args).decode("latin-1"), what))

    if r.returncode != 0:
        fail("exit status %d: %r" % (r.returncode, r.stderr[-300:]))
    for path, what in before.items():
        if after.get(path) != what:
            fail("%r changed: %r -> %r" % (path, str(what)[:80], str(after.get(path))[:80]))
    icon_arg = None if icon is None else (icon[0], icon[1])
    allowed = {u for u in book.urls if u.startswith(b"http:") or u.startswith(b"ftp:")}
    if url_prefix:
        allowed |= {url_prefix + u for u in book.urls}
    for path in sorted(set(after) - set(before)):
        if os.path.dirname(path) != b"out":
            fail("%r was made outside the output folder" % path)
            continue
        kind = after[path]
        if kind[0] != "file":
            fail("%r is not a regular file" % path)
            continue
        data = kind[4]
        head = b"[InternetShortcut]\r\nURL="
        url = data[len(head):data.find(b"\r\n", len(head))] if data.startswith(head) else None
        if url is None or data != shortcut(url, icon_arg) or url not in allowed:
            fail("%r is not a well-formed shortcut of a link: %r" % (path, data[:200]))
    if select is None:
        for name, url in book.plain:
            if name in taken:
                continue
            path = os.path.join(b"out", name_prefix + name + b".url")
            got = after.get(path)
            if got is None or got[0] != "file" or got[4] != shortcut(url, icon_arg):
                fail("plain link %r lost" % name)


base = tempfile.mkdtemp(prefix="favlink-nothing-lost.")
try:
    for n in range(RUNS):
        root = os.path.join(os.fsencode(base), b"%03d" % n)
        os.mkdir(root)
        one_run(n, root)
        unlock(root)
        shutil.rmtree(root)
        if len(failures) > 20:
            break
finally:
    unlock(base)
    shutil.rmtree(base)
if failures:
    print("%d failures" % len(failures))
    sys.exit(1)
print("%d runs: nothing lost" % RUNS)
EOF
