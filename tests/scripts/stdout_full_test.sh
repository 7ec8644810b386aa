# Link page mode and -usage must not end as a success when their text cannot be
# written:
# with standard output on a full device (or closed) the run reports
# "standard output: writing error" and ends with status 1.
#
#   sh stdout_full_test.sh <favlink-binary> <source-dir>
# Exit 0 pass, 1 fail, 77 skipped (no /dev/full).

prog=$1
if [ -z "$prog" ] || [ ! -x "$prog" ]; then
  echo "usage: sh $0 <favlink-binary> <source-dir>" >&2
  exit 1
fi
if [ ! -c /dev/full ]; then
  echo "skipped: this system has no /dev/full"
  exit 77
fi

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

fail=0
expect() {  # expect WHAT STATUS EXPECTED-STDERR ACTUAL-STATUS
  printf '%s' "$3" > expected.err
  if [ "$4" != "$2" ]; then
    echo "FAIL: $1: exit status $4, expected $2"
    fail=1
  fi
  if ! cmp -s expected.err err; then
    echo "FAIL: $1: stderr differs"
    od -An -c err | sed 's/^/    got: /'
    fail=1
  fi
}

printf '[InternetShortcut]\r\nURL=http://a.example/\r\n' > a.url

# A page without entries is less than one buffer: the failure shows when
# the stream is flushed at the end.
"$prog" -t T > /dev/full 2> err
expect "no files, stdout full" 1 "standard output: writing error
" $?

# Messages of the run come first; the write failure is reported once, last.
"$prog" -f1 a.url missing.url > /dev/full 2> err
expect "two files, stdout full" 1 "missing.url: not found
standard output: writing error
" $?

# A page far larger than the stream buffer fails while it is being written.
set --
i=0
while [ "$i" -lt 500 ]; do
  set -- "$@" a.url
  i=$((i + 1))
done
"$prog" "$@" > /dev/full 2> err
expect "500 entries, stdout full" 1 "standard output: writing error
" $?

# A closed standard output cannot be written either.
"$prog" a.url >&- 2> err
expect "stdout closed" 1 "standard output: writing error
" $?

# The usage text is held to the same rule.
"$prog" -usage > /dev/full 2> err
expect "-usage, stdout full" 1 "standard output: writing error
" $?

# The same page to a working stream is a success with nothing on stderr.
"$prog" "$@" > out 2> err
expect "500 entries, stdout a file" 0 "" $?
if [ "$(grep -c '^<LI><A href="http://a.example/">a</A><BR>$' out)" -ne 500 ]; then
  echo "FAIL: the page written to a file does not hold the 500 entries"
  fail=1
fi

if [ "$fail" -eq 0 ]; then
  echo "ok: an unwritable standard output ends the run with status 1"
fi
exit "$fail"
