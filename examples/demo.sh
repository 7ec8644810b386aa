#!/bin/sh
# The main job on the bundled examples, in a scratch folder under build/demo:
#   1. link page mode: examples/favorites (.url files) -> build/demo/links.html
#   2. shortcut mode: examples/bookmarks.html -> .url files in build/demo/urls
# Texts are Shift_JIS; they are shown here converted to UTF-8 for the terminal.
set -eu
prog=$(cd "$(dirname "${1:-build/default/favlink}")" && pwd)/$(basename "${1:-build/default/favlink}")
top=$(cd "$(dirname "$0")/.." && pwd)
demo=$top/build/demo
show() { iconv -f CP932 -t UTF-8 "$@" 2>/dev/null || cat "$@"; }

rm -rf "$demo"
mkdir -p "$demo/favorites"

# favlink takes the folder of a Favorites entry from the part of its name
# before the last backslash, as the Windows shell passes it ("News\Daily.url").
# Copy the tree to such names so the page gets its folder headings here too.
cd "$top/examples/favorites"
set --
for f in *.url; do cp "$f" "$demo/favorites/$f"; set -- "$@" "$f"; done
for d in */; do
  d=${d%/}
  for f in "$d"/*.url; do
    flat="$d\\${f#"$d"/}"
    cp "$f" "$demo/favorites/$flat"
    set -- "$@" "$flat"
  done
done
cd "$demo/favorites"
echo "\$ favlink -t 'My Favorites' $*" | show
"$prog" -t 'My Favorites' "$@" > "$demo/links.html"
echo "wrote $demo/links.html:"
show "$demo/links.html"

echo
mkdir "$demo/urls"
echo "\$ echo y | favlink -v -a http://www.example.com/site/ -o $demo/urls examples/bookmarks.html"
echo y | "$prog" -v -a http://www.example.com/site/ -o "$demo/urls" "$top/examples/bookmarks.html"
echo
echo "wrote $(ls "$demo/urls" | wc -l) files in $demo/urls:"
cd "$demo/urls"
for f in *.url; do
  printf '  %s: ' "$(printf '%s' "$f" | show)"
  sed -n 's/^URL=//p' "$f" | tr -d '\r'
done
