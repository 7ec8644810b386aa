#!/bin/sh
# The link page of examples/favorites as a real browser reads it. The tree is
# copied the way examples/demo.sh does it (top-level files first, then each
# folder's files named "folder\file.url", as Windows passes them), made into a
# page twice (-t 'My Favorites' -f1, and with no options), and each page is
# loaded in headless Chromium. The DOM that Chromium builds (--dump-dom) must
# hold every link with its href, its text decoded from Shift_JIS, in the right
# kind of list, in order, under the right folder heading. The expected values
# come from the tree itself: names through iconv, hrefs from the URL= lines.
#
# Usage: sh browser_test.sh <favlink-binary> <source-dir>; exit 77 skips.
# FAVLINK_CHROMIUM=<program> picks the browser (default: chromium).
# FAVLINK_SCREENSHOT=<file.png> also saves an 800x600 picture of the first
# page (docs/linkpage.png is made so; Japanese names need a Japanese font,
# e.g. the Debian package fonts-ipafont-gothic).
set -eu
start=$(pwd)
prog=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
top=$(cd "$2" && pwd)
LC_ALL=C
export LC_ALL

browser=${FAVLINK_CHROMIUM:-}
if [ -z "$browser" ]; then
  for b in chromium chromium-browser; do
    if command -v $b >/dev/null 2>&1; then browser=$b; break; fi
  done
fi
if [ -z "$browser" ]; then
  echo "SKIP: no Chromium (apt-get install chromium): the link page was NOT checked in a real browser"
  exit 77
fi
for tool in python3 iconv; do
  if ! command -v $tool >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed: the link page was NOT checked in a real browser"
    exit 77
  fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fav=$tmp/favorites
mkdir "$fav"

# expected.tsv: folder, name (both UTF-8), href; one line per link, in page
# order. The top level has an empty folder.
utf8() { printf '%s' "$1" | iconv -f CP932 -t UTF-8; }
href() { sed -n '/^URL=/{s/^URL=//;s/\r$//;p;q;}' "$1"; }
: > "$tmp/expected.tsv"
cd "$top/examples/favorites"
set --
for f in *.url; do
  [ -f "$f" ] || continue
  cp "$f" "$fav/$f"
  set -- "$@" "$f"
  printf '\t%s\t%s\n' "$(utf8 "${f%.url}")" "$(href "$f")" >> "$tmp/expected.tsv"
done
for d in */; do
  d=${d%/}
  for f in "$d"/*.url; do
    [ -f "$f" ] || continue
    base=${f#"$d"/}
    cp "$f" "$fav/$d\\$base"
    set -- "$@" "$d\\$base"
    printf '%s\t%s\t%s\n' "$(utf8 "$d")" "$(utf8 "${base%.url}")" "$(href "$f")" >> "$tmp/expected.tsv"
  done
done
if [ $# -lt 4 ]; then
  echo "FAIL: examples/favorites has only $# .url files"
  exit 1
fi

cd "$fav"
"$prog" -t 'My Favorites' -f1 "$@" > "$tmp/comment.html"
"$prog" "$@" > "$tmp/list.html"

# Flags from the Debian package's headless use; a fresh profile each time.
run_browser() {
  rm -rf "$tmp/profile"
  # timeout only keeps a hung browser from holding the suite; nothing is timed.
  timeout 300 "$browser" --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --disable-quic --user-data-dir="$tmp/profile" "$@" 2>> "$tmp/browser.log"
}

fail=0
for kind in comment list; do
  if ! run_browser --dump-dom "file://$tmp/$kind.html" > "$tmp/$kind.dom"; then
    tail -20 "$tmp/browser.log"
    echo "FAIL: $browser --dump-dom failed on the $kind page"
    exit 1
  fi
  if [ $kind = comment ]; then title='My Favorites'; else title='Favorite Links From URL Files'; fi
  python3 - "$tmp/expected.tsv" "$tmp/$kind.dom" "$kind" "$title" <<'EOF' || fail=1
import sys
from html.parser import HTMLParser

expected_tsv, dom_file, kind, title = sys.argv[1:5]
expected = [line.rstrip("\n").split("\t") for line in open(expected_tsv, encoding="utf-8")]
list_tag, item_tag = ("dl", "dt") if kind == "comment" else ("ol", "li")


class Page(HTMLParser):
    """Collects the lists of the page, each with the heading before it and
    its links in order; also the document title and the <h2> text."""

    def __init__(self):
        super().__init__()
        self.lists = []        # [heading, tag, [(href, text, item text)]]
        self.heading = None    # text of the last <h3>
        self.open = None       # the list being read
        self.item = None       # text of the current <dt>/<li>
        self.link = None       # [href, text] of the current <a>
        self.capture = None    # "title", "h2" or "h3" while inside one
        self.texts = {"title": "", "h2": "", "h3": ""}
        self.stray_links = []

    def handle_starttag(self, tag, attrs):
        if tag in ("title", "h2", "h3"):
            self.capture = tag
            self.texts[tag] = ""
        elif tag in ("dl", "ol", "ul"):
            self.open = [self.heading, tag, []]
            self.lists.append(self.open)
        elif tag in ("dt", "li"):
            self.item = [tag, ""]
        elif tag == "a":
            self.link = [dict(attrs).get("href"), ""]

    def handle_endtag(self, tag):
        if tag == self.capture:
            if tag == "h3":
                self.heading = self.texts["h3"]
            self.capture = None
        elif tag in ("dl", "ol", "ul"):
            self.open = None
        elif tag == "a" and self.link is not None:
            if self.open is None:
                self.stray_links.append(self.link)
            else:
                item = self.item[1] if self.item else None
                item_kind = self.item[0] if self.item else None
                self.open[2].append((self.link[0], self.link[1], item, item_kind))
            self.link = None

    def handle_data(self, data):
        if self.capture:
            self.texts[self.capture] += data
        if self.item is not None:
            self.item[1] += data
        if self.link is not None:
            self.link[1] += data


page = Page()
page.feed(open(dom_file, encoding="utf-8").read())
page.close()
errors = []

if page.texts["title"] != "Favorite Links":
    errors.append("document title %r" % page.texts["title"])
if page.texts["h2"] != title:
    errors.append("page heading %r, expected %r" % (page.texts["h2"], title))
if page.stray_links:
    errors.append("links outside any list: %r" % page.stray_links)

# Expected lists: the top-level one (no heading), then one per folder, in the
# order the files were named; a folder heading shows "[folder]".
want = []
for folder, name, href in expected:
    heading = "[%s]" % folder if folder else None
    if not want or want[-1][0] != heading:
        want.append((heading, []))
    want[-1][1].append((href, name))

got = [(heading, links) for heading, tag, links in page.lists]
if len(got) != len(want):
    errors.append("%d lists in the DOM, expected %d" % (len(got), len(want)))
for i, ((w_heading, w_links), (heading, tag, links)) in enumerate(zip(want, page.lists)):
    where = "list %d (%s)" % (i + 1, w_heading or "top level")
    if heading != w_heading:
        errors.append("%s stands under the heading %r" % (where, heading))
    if tag != list_tag:
        errors.append("%s is <%s>, expected <%s>" % (where, tag, list_tag))
    if len(links) != len(w_links):
        errors.append("%s has %d links, expected %d" % (where, len(links), len(w_links)))
    for n, ((href, text, item, item_kind), (w_href, w_name)) in enumerate(zip(links, w_links), 1):
        if href != w_href:
            errors.append("%s, link %d: href %r, expected %r" % (where, n, href, w_href))
        if text != w_name:
            errors.append("%s, link %d: text %r, expected %r" % (where, n, text, w_name))
        if item_kind != item_tag:
            errors.append("%s, link %d: in <%s>, expected <%s>" % (where, n, item_kind, item_tag))
        elif kind == "comment" and not item.startswith("%02d. " % n):
            errors.append("%s, link %d: entry text %r lacks its number %02d" % (where, n, item, n))

for e in errors:
    print("FAIL (%s page): %s" % (kind, e))
names = sum(len(links) for _, links in want)
if not errors:
    print("%s page: %d links in %d lists, hrefs, decoded names and headings as expected"
          % (kind, names, len(want)))
sys.exit(1 if errors else 0)
EOF
done

if [ -n "${FAVLINK_SCREENSHOT:-}" ]; then
  shot=$FAVLINK_SCREENSHOT
  case $shot in /*) ;; *) shot=$start/$shot ;; esac
  run_browser --hide-scrollbars --window-size=800,600 --screenshot="$shot" "file://$tmp/comment.html" > /dev/null
  echo "screenshot: $shot"
fi

if [ $fail -ne 0 ]; then
  echo "real-browser check of the link page failed"
  exit 1
fi
echo "real-browser check: $browser read both link pages as expected"
