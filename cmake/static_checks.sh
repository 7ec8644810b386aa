#!/bin/sh
# Static checks: clang-tidy with the checks of .clang-tidy over every src/
# file of the build's compile_commands.json (the files this platform
# compiles), clang-format's layout (.clang-format) over src/, tests/unit and
# fuzz/, and cppcheck over all of src/ (the -win32 files included).
# Any finding fails the run.
#
#   sh cmake/static_checks.sh [build-dir]
#
# Without build-dir a clang configuration is made in a temporary folder
# (configuring is enough: nothing is compiled). Needs clang-tidy and
# cppcheck (Debian: apt-get install clang-tidy clang-format cppcheck).
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
status=0

for tool in clang-tidy clang-format cppcheck; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "static_checks: $tool not found (apt-get install clang-tidy clang-format cppcheck)" >&2
    exit 2
  fi
done

build=${1:-}
if [ -z "$build" ]; then
  build=$(mktemp -d) || exit 2
  trap 'rm -rf "$build"' EXIT
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
        -DFAVLINK_TESTS=OFF -DFAVLINK_BENCH=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 2
fi
db=$build/compile_commands.json
if [ ! -f "$db" ]; then
  echo "static_checks: no $db (configure with CMAKE_EXPORT_COMPILE_COMMANDS=ON)" >&2
  exit 2
fi

# The files of the database that lie in src/, each once.
files=$(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$db" | grep "^$top/src/" | sort -u)
if [ -z "$files" ]; then
  echo "static_checks: $db names no file of $top/src" >&2
  exit 2
fi

echo "== clang-tidy ($(clang-tidy --version | sed -n 's/.*version \([0-9.]*\).*/\1/p' | head -n 1))"
for f in $files; do
  if ! clang-tidy -p "$build" --quiet "$f" 2>/dev/null; then
    echo "clang-tidy: findings in ${f#"$top"/}"
    status=1
  fi
done

echo "== clang-format ($(clang-format --version | sed -n 's/.*version \([0-9.]*\).*/\1/p' | head -n 1))"
# Every source file of src/, of the unit tests and of the fuzz target, the
# -win32 files included, laid out as .clang-format says.
if ! clang-format --dry-run --Werror $(find "$top/src" "$top/tests/unit" "$top/fuzz" \
       \( -name '*.cc' -o -name '*.h' \) -not -path "$top/fuzz/corpus/*" -not -path "$top/fuzz/regressions/*"); then
  echo "clang-format: the files above differ from .clang-format's layout (clang-format -i fixes them)"
  status=1
fi

echo "== cppcheck ($(cppcheck --version))"
if ! cppcheck --enable=warning,style,performance,portability --inconclusive --library=posix \
       --std=c++20 --language=c++ --inline-suppr --suppress=missingIncludeSystem \
       --error-exitcode=1 --quiet -I "$top/src" "$top/src"; then
  status=1
fi

[ "$status" -eq 0 ] && echo "static checks: clean"
exit "$status"
