#!/bin/sh
# The CI run of the fuzz targets: builds the fuzz preset, runs every input
# kept in fuzz/regressions/<target>/ once, then fuzzes each target for a short
# time starting from its seeds in fuzz/corpus/<target>/ and from the pages and
# .url files of the end-to-end cases (fuzz/seeds_from_cases.py). Any crash,
# sanitizer report, failed check or hang fails the run; the input that caused
# it is left in the artifacts folder that is printed.
#
#   sh fuzz/smoke.sh [seconds-per-target]        (default 30)
#   FUZZ_BUILD=/path/to/build sh fuzz/smoke.sh   (use a build made already)
#
# The seed folders are only read: new inputs go to a temporary folder.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
secs=${1:-30}
build=${FUZZ_BUILD:-}
if [ -z "$build" ]; then
  (cd "$top" && cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j 1) || exit 2
  build=$top/build/fuzz
fi

work=$(mktemp -d) || exit 2
# The targets that write files make a scratch folder of their own under
# TMPDIR, removed here whatever way a target ends; a memory file system
# keeps them quick.
scratch=
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch=$(mktemp -d /dev/shm/favlink-fuzz.XXXXXX) || exit 2
fi
trap 'rm -rf "$work" ${scratch:+"$scratch"}' EXIT
TMPDIR=${scratch:-$work}
export TMPDIR
artifacts=$top/build/fuzz-artifacts
mkdir -p "$artifacts" || exit 2
if command -v python3 >/dev/null 2>&1; then
  python3 "$top/fuzz/seeds_from_cases.py" "$work/cases" || exit 2
fi

status=0
found=0
for bin in "$build"/fuzz/fuzz_*; do
  [ -x "$bin" ] || continue
  found=1
  name=$(basename "$bin")
  target=${name#fuzz_}
  dict=
  case $target in
    scan_html | get_link) dict=-dict=$top/fuzz/html.dict ;;
  esac
  # Messages and the link page would only slow the run down; libFuzzer's own
  # report and any sanitizer report still reach the log.
  opts="-close_fd_mask=3 -timeout=10 -max_len=4096 -artifact_prefix=$artifacts/$name-"

  regressions=$top/fuzz/regressions/$target
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    echo "== $name: regressions"
    # shellcheck disable=SC2086
    if ! "$bin" $opts "$regressions"/* >"$work/$name.reg.log" 2>&1; then
      cat "$work/$name.reg.log"
      echo "FAIL: $name on fuzz/regressions/$target"
      status=1
    fi
  fi

  echo "== $name: $secs s from fuzz/corpus/$target"
  mkdir -p "$work/$target"
  cases=
  [ -d "$work/cases/$target" ] && cases=$work/cases/$target
  # shellcheck disable=SC2086
  if "$bin" $opts $dict -max_total_time="$secs" -print_final_stats=1 \
       "$work/$target" "$top/fuzz/corpus/$target" $cases >"$work/$name.log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE' "$work/$name.log" | tail -n 1
  else
    tail -n 60 "$work/$name.log"
    echo "FAIL: $name (the input is in $artifacts)"
    status=1
  fi
done

if [ "$found" -eq 0 ]; then
  echo "no fuzz_* targets in $build/fuzz" >&2
  exit 2
fi
[ "$status" -eq 0 ] && echo "fuzz smoke: no findings"
exit "$status"
