#!/bin/sh
# Existing files are never replaced, even ones the user cannot read: run as
# an unprivileged user (uid 65534), shortcut mode meets in its own output
# folder a .url file with mode 000 and one with mode 200 (write only, which
# a plain create would empty and rewrite). Neither may change, nothing may
# be reported, the other links are written; a second run writes nothing.
#
#   sh unprivileged_test.sh <favlink-binary> <source-dir>
# Needs root to switch users; exits 77 (skipped) otherwise.

prog=$1
[ -x "$prog" ] || { echo "usage: $0 <favlink-binary> <source-dir>" >&2; exit 2; }

if [ "$(id -u)" != 0 ]; then
  echo "skipped: switching to an unprivileged user needs root"
  exit 77
fi

uid=65534
gid=65534
if setpriv --reuid=$uid --regid=$gid --clear-groups true 2>/dev/null; then
  as_user() { setpriv --reuid=$uid --regid=$gid --clear-groups "$@"; }
elif su nobody -s /bin/sh -c true 2>/dev/null; then
  # su takes one command line: quote each word for the shell it starts.
  as_user() {
    cmd=
    for w in "$@"; do
      cmd="$cmd '$(printf '%s' "$w" | sed "s/'/'\\\\''/g")'"
    done
    su nobody -s /bin/sh -c "$cmd"
  }
else
  echo "skipped: neither setpriv nor su can run a command as uid $uid here"
  exit 77
fi

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP
chmod 755 "$work"

failures=0
fail() {
  printf 'FAIL: %s\n' "$*"
  failures=$((failures + 1))
}

# A copy of the binary the user can surely reach, whatever the build
# folder's permissions.
cp "$prog" "$work/favlink" && chmod 755 "$work/favlink" || exit 1

html=$work/page.html
printf '%s\n' \
  '<A HREF="http://write-only.example/">WriteOnly</A>' \
  '<A HREF="http://locked.example/">Locked</A>' \
  '<A HREF="http://new.example/">New</A>' \
  '<A HREF="http://last.example/">Last</A>' >"$html"
chmod 644 "$html"

out=$work/out
mkdir "$out" && chown $uid:$gid "$out" || exit 1
printf 'locked\n' >"$out/Locked.url"
printf 'write only\n' >"$out/WriteOnly.url"
chown $uid:$gid "$out/Locked.url" "$out/WriteOnly.url"
chmod 000 "$out/Locked.url"
chmod 200 "$out/WriteOnly.url"

# What a file holds and how it stands, read as root.
state() {
  for f in "$out"/*; do
    printf '%s %s %s ' "$(basename "$f")" "$(stat -c '%a %u %s %Y' "$f")" "$(od -An -c "$f" | tr -s ' \n' ' ')"
    echo
  done
}

run() {
  as_user "$work/favlink" -v -o "$out" "$html" >"$work/$1.out" 2>"$work/$1.err"
  rc=$?
  [ "$rc" -eq 0 ] || fail "$1 run: exit status $rc, expected 0"
  [ -s "$work/$1.out" ] && fail "$1 run: unexpected standard output: $(cat "$work/$1.out")"
  [ -s "$work/$1.err" ] && fail "$1 run: unexpected standard error: $(cat "$work/$1.err")"
}

as_user test -r "$out/Locked.url" && fail "set-up: uid $uid can read Locked.url"
as_user test -w "$out" || fail "set-up: uid $uid cannot write to the output folder"

run first
[ "$(cat "$out/Locked.url")" = locked ] || fail "Locked.url was changed"
[ "$(stat -c %a "$out/Locked.url")" = 0 ] || fail "the mode of Locked.url was changed"
[ "$(cat "$out/WriteOnly.url")" = "write only" ] || fail "WriteOnly.url was changed"
[ "$(stat -c %a "$out/WriteOnly.url")" = 200 ] || fail "the mode of WriteOnly.url was changed"
for name in New Last; do
  url=$(echo "$name" | tr 'A-Z' 'a-z')
  printf '[InternetShortcut]\r\nURL=http://%s.example/\r\n' "$url" >"$work/want"
  if [ -f "$out/$name.url" ]; then
    cmp -s "$work/want" "$out/$name.url" || fail "$name.url does not hold the expected bytes"
    [ "$(stat -c %u "$out/$name.url")" = $uid ] || fail "$name.url was not written by uid $uid"
  else
    fail "$name.url was not written"
  fi
done
left=$(cd "$out" && ls -A | tr '\n' ' ')
[ "$left" = "Last.url Locked.url New.url WriteOnly.url " ] || fail "output folder holds: $left"

# Any write would set the modification time to now.
touch -d '2001-02-03 04:05:06' "$out"/*
state >"$work/before"
run second
state >"$work/after"
cmp -s "$work/before" "$work/after" ||
  fail "the second run changed the output folder: $(diff "$work/before" "$work/after")"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "unprivileged: existing files kept, second run wrote nothing"
exit 0
