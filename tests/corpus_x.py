#!/usr/bin/env python3
# Runs "PROG -v -x -o T FILE" on every bookmark export in a folder and compares
# the folders of .url files in T with what Python's own HTML parser finds in
# FILE: the folder paths, and the URL= lines of the .url files in each folder.
#   corpus_x.py PROG CORPUS_DIR      (exit 1: some file differs)
import collections, html.parser, os, re, subprocess, sys, tempfile

TABLE = str.maketrans({':': ';', '/': '!', '\\': '!', '|': '!', '<': '(', '>': ')', '*': ' ', '?': ' ', '"': "'"})
clean = lambda s: s.translate(TABLE).replace('..', '  ')   # the name rules of captions and headings


class Bookmarks(html.parser.HTMLParser):
    def __init__(self, text, enc):
        super().__init__()
        self.text, self.enc = text, enc
        self.starts = [0] + [m.end() for m in re.finditer('\n', text)]
        self.stack, self.folders, self.links = [''], {''}, collections.defaultdict(list)
        self.heading, self.a, self.h3, self.dt = None, None, None, False
        self.feed(text), self.close()

    def at(self):   # offset of the tag being handled
        return self.starts[self.getpos()[0] - 1] + self.getpos()[1]

    def refs(self, s):   # in Shift_JIS only numeric references below 0x80 are decoded
        one = lambda m: html.unescape(m[0]) if m[1] or self.enc == 'utf-8' or ord(html.unescape(m[0])) < 0x80 else m[0]
        return re.sub(r'&(?:(amp|lt|gt|quot|apos)|#\d+|#[xX][0-9A-Fa-f]+);', one, s)

    def caption(self, start):   # the text from start up to this tag, markup removed
        return self.refs(re.sub(r'<[^>]*>', '', self.text[start:self.at()]))

    def handle_starttag(self, tag, attrs):
        end = self.at() + len(self.get_starttag_text())
        if tag == 'a':
            m = re.search(r'\shref="([^"]*)"', self.get_starttag_text(), re.I)   # only a double-quoted HREF
            self.a, self.dt = m and (end, m[1]), self.dt and not m
        elif tag == 'h3':   # a heading names a folder only as the entry of a <DT>
            self.h3, self.dt = end if self.dt else None, False
        elif tag in ('dt', 'dl'):
            self.dt = tag == 'dt'
        if tag == 'dl':   # a heading's list is its folder; a nameless one's entries stay where they are
            path = os.path.join(self.stack[-1], self.heading) if self.heading else self.stack[-1]
            self.folders.add(path)
            self.stack.append(path)
            self.heading = None

    def handle_endtag(self, tag):
        if tag == 'h3' and self.h3 is not None:
            name = clean(self.caption(self.h3)).lstrip(' ').rstrip('. ')
            self.heading = '_' + name if name.lower() in ('con', 'prn', 'aux', 'nul', 'clock') else name
            self.h3 = None
        elif tag == 'dl':
            self.heading, self.dt, self.stack[1:] = None, False, self.stack[1:-1]
        elif tag == 'a' and self.a:
            (start, href), self.a = self.a, None
            href = self.refs(href)
            caption = self.caption(start).split('\n')[0].lstrip(' \t')
            name = clean(caption)
            if not re.match(r'[A-Za-z][A-Za-z0-9+.-]+:', href) or href.startswith(('javascript', 'JAVASCRIPT')) \
                    or not name.strip(' '):
                return
            if len(caption.encode(self.enc, 'surrogateescape')) <= 254 and \
                    len(os.fsencode(name.strip(' ').rstrip('. ') + '.url')) <= 255:   # else too long to be made
                self.links[self.stack[-1]].append(href.encode(self.enc, 'surrogateescape'))


def check(prog, path):
    data = open(path, 'rb').read()
    head = data[:re.search(rb'<dl[\s>]|$', data, re.I).start()]
    utf8 = data.startswith(b'\xef\xbb\xbf') or re.search(rb'''<meta[^>]*charset\s*=\s*["']?utf-8''', head, re.I)
    enc = 'utf-8' if utf8 else 'cp932'
    text = data.decode(enc, 'surrogateescape').lstrip('\ufeff')
    want, diffs, got = Bookmarks(text, enc), [], {}
    info = ['%s, %d folders, %d links' % (enc, len(want.folders) - 1, sum(map(len, want.links.values())))]
    with tempfile.TemporaryDirectory() as t:
        run = subprocess.run([prog, '-v', '-x', '-o', t, path], stdin=subprocess.DEVNULL, capture_output=True)
        info.append('favlink: ' + (run.stderr.decode('utf-8', 'replace').strip().splitlines() or [''])[-1])
        diffs += ['exit status %d' % run.returncode] * (run.returncode not in (0, 1))
        for d, _, files in os.walk(t):
            rel = got.setdefault('' if d == t else os.path.relpath(d, t), [])
            for f in files:
                body = open(os.path.join(d, f), 'rb').read()
                if not f.endswith('.url') or not body.startswith(b'[InternetShortcut]\r\nURL='):
                    diffs.append('not a shortcut: %s' % os.path.join(d, f)[len(t) + 1:])
                rel.append(body[24:].split(b'\r\n')[0])
    diffs += ['missing folder %r' % f for f in sorted(want.folders - set(got))]
    diffs += ['extra folder %r' % f for f in sorted(set(got) - want.folders)]
    for f in sorted(set(got) | set(want.links)):
        g, w = collections.Counter(got.get(f, [])), collections.Counter(want.links.get(f, []))
        if g != w:
            diffs.append('%r: %d files for %d links; only made %s; not made %s' % (
                f, sum(g.values()), sum(w.values()), sorted(g - w)[:3], sorted(w - g)[:3]))
    print('%s %s (%s)' % ('DIFF' if diffs else 'OK', os.path.basename(path), '; '.join(info)))
    print(''.join('  %s\n' % d for d in diffs), end='')
    return not diffs


prog, corpus = os.path.realpath(sys.argv[1]), sys.argv[2]
sys.exit(0 if all([check(prog, os.path.join(corpus, f)) for f in sorted(os.listdir(corpus))]) else 1)
