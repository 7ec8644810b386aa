#!/usr/bin/env python3
"""Shortcut mode as a user would script it with the standard library: one .url
file per absolute link of an HTML file, named after the link's caption.

    peer_shortcut.py OUTDIR HTMLFILE

Gives the same files as `favlink -v -o OUTDIR HTMLFILE` for the bookmark files
of favlink_bench_gen (plain captions without entities or markup)."""
import os
import sys
from html.parser import HTMLParser

CLEAN = str.maketrans({':': ';', '/': '!', '\\': '!', '|': '!', '<': '(', '>': ')',
                       '*': ' ', '?': ' ', '"': "'"})
RESERVED = {'con', 'prn', 'aux', 'nul', 'clock'}


class Links(HTMLParser):
    def __init__(self, outdir):
        super().__init__(convert_charrefs=False)
        self.outdir = outdir
        self.href = None
        self.text = []

    def handle_starttag(self, tag, attrs):
        if tag == 'a':
            self.href = dict(attrs).get('href')
            self.text = []

    def handle_data(self, data):
        if self.href is not None:
            self.text.append(data)

    def handle_endtag(self, tag):
        if tag == 'a' and self.href is not None:
            self.save(self.href, ''.join(self.text))
            self.href = None

    def save(self, url, caption):
        if not url.startswith(('http:', 'ftp:')):
            return
        name = caption.split('\n')[0].lstrip(' \t').replace('..', '  ').translate(CLEAN)
        if not name.strip(' '):
            return
        if name.lower() in RESERVED:
            name = '_' + name
        path = os.path.join(self.outdir, name + '.url')
        try:
            # Latin-1 keeps every byte of the input as it was.
            with open(path.encode('latin-1'), 'xb') as f:
                f.write(b'[InternetShortcut]\r\nURL=' + url.encode('latin-1') + b'\r\n')
        except FileExistsError:
            pass


def main():
    outdir, html = sys.argv[1], sys.argv[2]
    with open(html, encoding='latin-1', newline='') as f:
        text = f.read().replace('\r\n', '\n')
    parser = Links(outdir)
    parser.feed(text)
    parser.close()


if __name__ == '__main__':
    main()
