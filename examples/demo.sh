#!/bin/sh
# The main job on the bundled examples, in a scratch folder under build/demo:
#   1. link page mode: examples/favorites (.url files) -> build/demo/links.html
#   2. shortcut mode: examples/bookmarks.html -> .url files in build/demo/urls
#   3. -x: examples/export.html, a browser's UTF-8 export, -> the folder tree
#      build/demo/tree, then the round trip tree -> bm.html -> tree2, which must
#      give the same tree (the script fails otherwise)
#   4. -v -x on a browser's own JSON bookmark file: examples/chromium-bookmarks.json
#      and examples/chromium-export.html, what "Export bookmarks" made of the
#      same profile, must give the same tree (the script fails otherwise); then
#      examples/firefox-backup.json, a Firefox bookmark backup
# Texts of 1 and 2 are Shift_JIS; they are shown here converted to UTF-8 for the
# terminal. Those of 3 and 4 are UTF-8 and shown as they are.
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

echo
cd "$top"
mkdir "$demo/tree"
echo '$ favlink -v -x -o build/demo/tree examples/export.html'
"$prog" -v -x -o build/demo/tree examples/export.html 2>&1
cd "$demo"
echo '$ find tree | LC_ALL=C sort'
find tree | LC_ALL=C sort
echo "\$ cat 'tree/Recipes/Soup & Bread.url'"
tr -d '\r' < 'tree/Recipes/Soup & Bread.url'

echo
echo '$ favlink -x -f2 -t T tree > bm.html'
"$prog" -x -f2 -t T tree > bm.html
mkdir tree2
echo '$ favlink -v -x -o tree2 bm.html'
"$prog" -v -x -o tree2 bm.html 2>&1
echo '$ diff -r tree tree2 && echo same'
diff -r tree tree2
echo same

echo
cd "$top"
mkdir "$demo/chromium" "$demo/chromium-html" "$demo/firefox"
echo '$ favlink -v -x -o build/demo/chromium examples/chromium-bookmarks.json'
"$prog" -v -x -o build/demo/chromium examples/chromium-bookmarks.json 2>&1
echo '$ favlink -v -x -o build/demo/chromium-html examples/chromium-export.html'
"$prog" -v -x -o build/demo/chromium-html examples/chromium-export.html 2>&1
cd "$demo"
echo '$ find chromium | LC_ALL=C sort'
find chromium | LC_ALL=C sort
echo '$ diff -r chromium chromium-html && echo same'
diff -r chromium chromium-html
echo same

echo
cd "$top"
echo '$ favlink -v -x -o build/demo/firefox examples/firefox-backup.json'
"$prog" -v -x -o build/demo/firefox examples/firefox-backup.json 2>&1
cd "$demo"
echo '$ find firefox | LC_ALL=C sort'
find firefox | LC_ALL=C sort
