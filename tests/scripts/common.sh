# Sourced by the script tests: checks the favlink binary given as $1, and
# skips the test (exit 77) when python3, which makes the inputs, is missing.
#   . "$(dirname "$0")/common.sh"; need_prog "$1"; need_python
need_prog() {
  if [ -z "$1" ] || [ ! -x "$1" ]; then
    echo "usage: sh $0 <favlink-binary> <source-dir>" >&2
    exit 1
  fi
}
need_python() {
  if ! command -v python3 >/dev/null 2>&1; then
    echo "skipped: python3 is needed to make the inputs"
    exit 77
  fi
}
