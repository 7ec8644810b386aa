#!/bin/sh
# The drive-letter report of the checked close, on a Windows drive that is
# really full. A 64 KiB tmpfs becomes a Wine drive (a dosdevices link) and is
# filled up to its last 4096-byte page; shortcut mode then writes its first
# .url file into that page, so the close succeeds but the drive has 0 bytes
# left. Fclose names the drive letter as the path writes it, or, for a path
# without one, reports the current drive; the file stays and the scan stops
# before the second link.
#
#   x:\out   -> "x drive: no free disk space"
#   X:out    -> "X drive: no free disk space"  (drive-relative)
#   out      -> "no free disk space"           (run with the full drive current)
#
# Usage: sh wine_fulldisk_test.sh <favlink.exe> <source-dir>; exit 77 skips.
# Needs wine64 and the right to mount a tmpfs (root). Uses $WINEPREFIX when
# it names an existing prefix, else a fresh one of its own.
set -eu
case $1 in
  *.exe) ;;
  *) echo "SKIP: $1 is no Windows program"; exit 77 ;;
esac
prog=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")

wine=$(command -v wine64 || true)
[ -n "$wine" ] || [ ! -x /usr/lib/wine/wine64 ] || wine=/usr/lib/wine/wine64
if [ -z "$wine" ]; then
  echo "SKIP: no wine64 (apt-get install wine64): the full-drive report was NOT checked"
  exit 77
fi
WINEDEBUG=-all
LC_ALL=C
export WINEDEBUG LC_ALL

tmp=$(mktemp -d)
mnt=$tmp/drive
link=
mounted=no
cleanup() {
  [ -z "$link" ] || rm -f "$link"
  [ "$mounted" = no ] || umount "$mnt"
  rm -rf "$tmp"
}
trap cleanup EXIT
mkdir "$mnt"
if ! mount -t tmpfs -o size=64k,mode=0755 favlink-full "$mnt" 2>/dev/null; then
  echo "SKIP: cannot mount a tmpfs here (needs root): the full-drive report was NOT checked"
  exit 77
fi
mounted=yes

if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/dosdevices" ]; then
  prefix=$WINEPREFIX
else
  prefix=$tmp/prefix
  WINEPREFIX=$prefix "$wine" wineboot -i >/dev/null 2>&1
fi
WINEPREFIX=$prefix
export WINEPREFIX
letter=
for l in x w v u t s r q p o n m l k j i h g f e d; do
  if [ ! -e "$prefix/dosdevices/$l:" ] && [ ! -L "$prefix/dosdevices/$l:" ]; then
    letter=$l
    break
  fi
done
if [ -z "$letter" ]; then
  echo "SKIP: no free drive letter in $prefix"
  exit 77
fi
upper=$(printf '%s' "$letter" | tr a-z A-Z)
link=$prefix/dosdevices/$letter:
ln -s "$mnt" "$link"

mkdir "$mnt/out"
mkdir "$tmp/elsewhere"
for dir in "$mnt" "$tmp/elsewhere"; do
  printf '<A HREF="http://a.example/">A</A>\n<A HREF="http://b.example/">B</A>\n' > "$dir/page.html"
done
# Fill the drive, then give back exactly one page.
dd if=/dev/zero of="$mnt/fill" bs=4096 2>/dev/null || true
size=$(wc -c < "$mnt/fill")
truncate -s $((size - 4096)) "$mnt/fill"
avail=$(df -P -B1 "$mnt" | awk 'NR == 2 { print $4 }')
if [ "$avail" != 4096 ]; then
  echo "FAIL: could not leave exactly one page free on the drive ($avail bytes free)"
  exit 1
fi

failed=0
# check <current folder> <-o value> <expected report line> <path in the second message>
check() {
  rm -f "$mnt/out/A.url" "$mnt/out/B.url"
  status=0
  (cd "$1" && "$wine" "$prog" -v -o "$2" page.html) > "$tmp/out" 2> "$tmp/err" || status=$?
  shift
  printf '%s\r\n"%s"; writing error\r\n' "$2" "$3" > "$tmp/want"
  printf '[InternetShortcut]\r\nURL=http://a.example/\r\n' > "$tmp/want.url"
  if [ "$status" != 0 ]; then
    echo "FAIL: -o $1: exit status $status, expected 0"; failed=1
  fi
  if ! cmp -s "$tmp/err" "$tmp/want"; then
    echo "FAIL: -o $1: standard error differs"
    od -c "$tmp/err" | sed 's/^/    got:  /'
    od -c "$tmp/want" | sed 's/^/    want: /'
    failed=1
  fi
  if [ -s "$tmp/out" ]; then
    echo "FAIL: -o $1: unexpected standard output"; failed=1
  fi
  if ! cmp -s "$mnt/out/A.url" "$tmp/want.url"; then
    echo "FAIL: -o $1: A.url is not the complete shortcut (it must stay on the drive)"; failed=1
  fi
  if [ -e "$mnt/out/B.url" ]; then
    echo "FAIL: -o $1: the scan went on after the full drive"; failed=1
  fi
}

# From a folder on another drive, so only the drive letter leads to the full one.
check "$tmp/elsewhere" "$letter:\\out" "$letter drive: no free disk space" "$letter:\\out\\A.url"
check "$tmp/elsewhere" "${upper}:out" "$upper drive: no free disk space" "${upper}:out\\A.url"
check "$mnt" out "no free disk space" "out\\A.url"

if [ "$failed" = 0 ]; then
  echo "PASS: the full drive $letter: is reported by letter, and without one as the current drive"
fi
exit $failed
