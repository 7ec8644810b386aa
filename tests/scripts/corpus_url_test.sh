# Every .url file of the shared real-world corpus through link page mode,
# all at once and each one alone, in list type and in comment type. The
# expected page is built here from the files with grep and sed: one entry per
# file that holds a line beginning "URL=", whose href is that line's value
# (without the CR of a CR LF end), named after the file without its
# extension. Under the sanitizer build any report fails the run too (it
# writes to stderr, which must stay empty, and changes the status).
#
#   sh corpus_url_test.sh <favlink-binary> <source-dir>
# Exit 0 pass, 1 fail, 77 skipped (no corpus beside the source folder).

prog=$1
src=$2
if [ -z "$prog" ] || [ ! -x "$prog" ] || [ -z "$src" ]; then
  echo "usage: sh $0 <favlink-binary> <source-dir>" >&2
  exit 1
fi
corpus="$src/../shared/corpus/url"
if [ ! -d "$corpus" ]; then
  echo "skipped: no corpus at $corpus"
  exit 77
fi
case $prog in
  /*) ;;
  *) prog="$(pwd)/$prog" ;;
esac

LC_ALL=C
export LC_ALL
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cd "$corpus" || exit 1

fail=0
: > "$work/empty"

# A line over 2046 bytes is read in pieces, and a piece may begin with
# "URL=" where grep sees none: the page of such a file is beyond the oracle
# below, so it is only run alone and checked for status and stderr.
long_line() {
  [ "$(awk '{ if (length($0) > m) m = length($0) } END { print m + 0 }' "$1")" -gt 2046 ]
}

set --
for f in *; do
  [ -f "$f" ] || continue
  if long_line "$f"; then
    "$prog" "$f" > "$work/out" 2> "$work/err"
    status=$?
    if [ "$status" -ne 0 ] || ! cmp -s "$work/empty" "$work/err"; then
      echo "FAIL: $f alone: exit status $status, stderr:"
      head -n 20 "$work/err" | sed 's/^/    /'
      fail=1
    fi
    echo "note: $f has a line over 2046 bytes; its page is not compared"
    continue
  fi
  set -- "$@" "$f"
done
if [ "$#" -eq 0 ]; then
  echo "skipped: $corpus holds no files this script can check"
  exit 77
fi

# The href of file $1: the value of its first line beginning "URL=", as the
# 2048-byte line buffer reads it (at most 2043 bytes after the key).
# Status 1 when there is no such line.
url_of() {
  grep -a -q '^URL=' "$1" || return 1
  grep -a -m 1 '^URL=' "$1" | sed 's/\r$//' | cut -b 5-2047
}

head_lines() {  # head_lines TITLE
  printf '<HTML>\n<HEAD>\n'
  printf '<META http-equiv="Content-Type" content="text/html; charset=Shift_JIS">\n'
  printf '<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n'
  printf '<CENTER><H2>%s</H2></CENTER><HR>\n' "$1"
}
foot_lines() {
  printf '<HR>\n</BODY>\n</HTML>\n'
}

# expected_page TYPE FILE...: the page favlink must write (TYPE 0 or 1).
expected_page() {
  ep_type=$1
  shift
  head_lines "Favorite Links From URL Files"
  if [ "$ep_type" -eq 1 ]; then printf '<DL>\n'; else printf '<OL>\n'; fi
  ep_n=1
  for ep_file in "$@"; do
    ep_url=$(url_of "$ep_file") || continue
    if [ "$ep_type" -eq 1 ]; then
      printf '<DT>%02d. <A href="%s">%s</A>\n<DD> \n' "$ep_n" "$ep_url" "${ep_file%.*}"
    else
      printf '<LI><A href="%s">%s</A><BR>\n' "$ep_url" "${ep_file%.*}"
    fi
    ep_n=$((ep_n + 1))
  done
  if [ "$ep_type" -eq 1 ]; then printf '</DL>\n'; else printf '</OL>\n'; fi
  foot_lines
}

# run WHAT TYPE FILE...: runs favlink -fTYPE FILE... and checks everything.
run() {
  what=$1
  type=$2
  shift 2
  "$prog" "-f$type" "$@" > "$work/out" 2> "$work/err"
  status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAIL: $what: exit status $status"
    fail=1
  fi
  if ! cmp -s "$work/empty" "$work/err"; then
    echo "FAIL: $what: stderr is not empty:"
    head -n 20 "$work/err" | sed 's/^/    /'
    fail=1
  fi
  expected_page "$type" "$@" > "$work/expected"
  if ! cmp -s "$work/expected" "$work/out"; then
    echo "FAIL: $what: the page differs from the expected one:"
    diff "$work/expected" "$work/out" | head -n 20 | sed 's/^/    /'
    fail=1
  fi
}

with_url=0
for f in "$@"; do
  grep -a -q '^URL=' "$f" && with_url=$((with_url + 1))
done

run "all $# files, list type" 0 "$@"
run "all $# files, comment type" 1 "$@"
entries=$(grep -c '^<DT>[0-9][0-9]*\. <A href=' "$work/out")
if [ "$entries" -ne "$with_url" ]; then
  echo "FAIL: $entries entries on the page, but $with_url files hold a URL= line"
  fail=1
fi

for f in "$@"; do
  run "$f alone" 0 "$f"
done

if [ "$fail" -eq 0 ]; then
  echo "ok: $# corpus files, $with_url entries"
fi
exit "$fail"
