#!/bin/sh
# A full disk while shortcut mode writes: on a small tmpfs mounted here,
#  (a) exactly one block left: the first .url file takes it, its close
#      succeeds and the free-space check after it finds nothing left;
#  (b) no block left at all: the close itself fails;
#  (c) as (a), with an output path whose second byte is ':'.
# Each stops the scan; no later link is written.
#
#   sh fulldisk_test.sh <favlink-binary> <source-dir>
# Needs root and permission to mount tmpfs; exits 77 (skipped) otherwise.

prog=$1
[ -x "$prog" ] || { echo "usage: $0 <favlink-binary> <source-dir>" >&2; exit 2; }
case $prog in
  /*) ;;
  *) prog="$(pwd)/$prog" ;;
esac

if [ "$(id -u)" != 0 ]; then
  echo "skipped: mounting a tmpfs needs root"
  exit 77
fi

work=$(mktemp -d) || exit 1
mnt=$(mktemp -d) || exit 1
mounted=no
cleanup() {
  [ "$mounted" = yes ] && umount "$mnt"
  rmdir "$mnt" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

failures=0
fail() {
  printf 'FAIL: %s\n' "$*"
  failures=$((failures + 1))
}

# tmpfs counts whole pages; 32 of them are plenty for the fillers.
if ! mount -t tmpfs -o size=128k,mode=0755 tmpfs "$mnt" 2>"$work/mount.err"; then
  echo "skipped: cannot mount a tmpfs here: $(cat "$work/mount.err")"
  exit 77
fi
mounted=yes

bs=$(stat -f -c %S "$mnt")   # the unit of f_bavail, the figure favlink asks for
avail() { stat -f -c %a "$mnt"; }
out=$mnt/out
mkdir "$out" || exit 1

# The HTML file lies outside the tmpfs. If the scan went on after the first
# link, Second.url would be attempted and the broken link reported.
html=$work/page.html
printf '%s\n' \
  '<A HREF="http://first.example/">First</A>' \
  '<A HREF="http://second.example/">Second</A>' \
  '<A HREF="javascript:broken">Broken</A>' >"$html"
first_bytes='[InternetShortcut]\r\nURL=http://first.example/\r\n'

# Fills the tmpfs until exactly $1 blocks are available: one big filler,
# then single blocks added or taken off until the count is right (page
# accounting may differ by a block or so from the figure first read).
fill_to() {
  want=$1
  have=$(avail)
  if [ "$have" -gt "$want" ]; then
    dd if=/dev/zero of="$mnt/filler" bs="$bs" count=$((have - want)) 2>/dev/null
  fi
  n=0
  while :; do
    have=$(avail)
    [ "$have" -eq "$want" ] && return 0
    n=$((n + 1))
    [ "$n" -gt 64 ] && return 1
    if [ "$have" -gt "$want" ]; then
      dd if=/dev/zero of="$mnt/filler.$n" bs="$bs" count=1 2>/dev/null
    else
      size=$(stat -c %s "$mnt/filler")
      [ "$size" -ge "$bs" ] || return 1
      truncate -s $((size - bs)) "$mnt/filler"
    fi
  done
}

# --- (a) one block left -------------------------------------------------
if ! fill_to 1; then
  echo "skipped: could not leave exactly one block on the tmpfs (have $(avail))"
  exit 77
fi

(cd "$work" && "$prog" -v -o "$out" "$html") >"$work/a.out" 2>"$work/a.err"
rc=$?
[ "$rc" -eq 0 ] || fail "(a) exit status $rc, expected 0"
[ -s "$work/a.out" ] && fail "(a) unexpected standard output: $(cat "$work/a.out")"
printf 'no free disk space\n"%s/First.url"; writing error\n' "$out" >"$work/a.want"
cmp -s "$work/a.want" "$work/a.err" ||
  fail "(a) standard error: expected [$(cat "$work/a.want")], got [$(cat "$work/a.err")]"
printf "$first_bytes" >"$work/first.want"
if [ -f "$out/First.url" ]; then
  cmp -s "$work/first.want" "$out/First.url" ||
    fail "(a) First.url does not hold the expected bytes: $(od -c "$out/First.url")"
else
  fail "(a) First.url was not left on the disk"
fi
[ -e "$out/Second.url" ] && fail "(a) Second.url was written although the scan should have stopped"
[ "$(avail)" -eq 0 ] || fail "(a) the first file did not take the last block (available: $(avail))"
left=$(ls -A "$out")
[ "$left" = First.url ] || fail "(a) output folder holds: $left"

# --- (b) no block left: the close fails ---------------------------------
rm -f "$out"/*
dd if=/dev/zero of="$mnt/filler.full" bs="$bs" 2>/dev/null   # runs until the tmpfs is full
if [ "$(avail)" -ne 0 ]; then
  fail "(b) could not fill the tmpfs (available: $(avail))"
else
  (cd "$work" && "$prog" -v -o "$out" "$html") >"$work/b.out" 2>"$work/b.err"
  rc=$?
  [ "$rc" -eq 0 ] || fail "(b) exit status $rc, expected 0"
  [ -s "$work/b.out" ] && fail "(b) unexpected standard output: $(cat "$work/b.out")"
  printf '"%s/First.url"; writing error\n' "$out" >"$work/b.want"
  cmp -s "$work/b.want" "$work/b.err" ||
    fail "(b) standard error: expected [$(cat "$work/b.want")], got [$(cat "$work/b.err")]"
  # The file is left as far as it got: a beginning of the full contents.
  if [ -f "$out/First.url" ]; then
    size=$(stat -c %s "$out/First.url")
    head -c "$size" "$work/first.want" | cmp -s - "$out/First.url" ||
      fail "(b) First.url holds bytes that were never meant for it"
  else
    fail "(b) the partly written First.url was removed"
  fi
  [ -e "$out/Second.url" ] && fail "(b) Second.url was written although the scan should have stopped"
fi

# --- (c) one block left, a path whose second byte is ':' ------------------
# Such a path begins with a drive letter where drives exist; the report
# names that letter. Run from inside the tmpfs with -o "d:".
rm -f "$mnt"/filler* "$out"/*
mkdir "$mnt/d:" || exit 1
if ! fill_to 1; then
  fail "(c) could not leave exactly one block on the tmpfs (have $(avail))"
else
  (cd "$mnt" && "$prog" -v -o d: "$html") >"$work/c.out" 2>"$work/c.err"
  rc=$?
  [ "$rc" -eq 0 ] || fail "(c) exit status $rc, expected 0"
  printf 'd drive: no free disk space\n"d:/First.url"; writing error\n' >"$work/c.want"
  cmp -s "$work/c.want" "$work/c.err" ||
    fail "(c) standard error: expected [$(cat "$work/c.want")], got [$(cat "$work/c.err")]"
  cmp -s "$work/first.want" "$mnt/d:/First.url" || fail "(c) d:/First.url does not hold the expected bytes"
  [ -e "$mnt/d:/Second.url" ] && fail "(c) Second.url was written although the scan should have stopped"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "full disk: all three cases passed"
exit 0
