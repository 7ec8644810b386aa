#!/bin/sh
# Makes favlink-<version>-windows.zip from the Windows builds:
#
#   favlink-<version>-windows/x64/favlink.exe   (build/windows-x64, if built)
#   favlink-<version>-windows/x86/favlink.exe   (build/windows-x86, if built)
#   favlink-<version>-windows/README.txt        README.md
#   favlink-<version>-windows/favlink.txt       the manual page as plain text
#   favlink-<version>-windows/LZ4-LICENSE.txt   the notice of LZ4, compiled into the executables
#
# The texts get CR LF line ends; the executables are stripped when the MinGW
# strip tool is there. At least one of the two builds must exist.
#
# Usage: sh cmake/package_windows.sh [<source-dir> [<output-dir> [<x64-build-dir> [<x86-build-dir>]]]]
#   defaults: the folder above this script, <source-dir>/build,
#             <source-dir>/build/windows-x64, <source-dir>/build/windows-x86
# Needs groff (the plain-text manual) and python3 (the zip).
set -eu
top=$(cd "${1:-$(dirname "$0")/..}" && pwd)
out=${2:-$top/build}
x64=${3:-$top/build/windows-x64}
x86=${4:-$top/build/windows-x86}

for tool in groff python3; do
  if ! command -v $tool >/dev/null 2>&1; then
    echo "package_windows.sh: $tool is needed to make the zip" >&2
    exit 1
  fi
done
version=$(sed -n 's/^project(favlink VERSION \([0-9][0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
if [ -z "$version" ]; then
  echo "package_windows.sh: no version in $top/CMakeLists.txt" >&2
  exit 1
fi
name=favlink-$version-windows

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
stage=$tmp/$name
mkdir -p "$stage"

found=0
# <build-dir> <folder in the zip> <MinGW triplet of its strip tool>
add_exe() {
  [ -f "$1/favlink.exe" ] || return 0
  mkdir -p "$stage/$2"
  cp "$1/favlink.exe" "$stage/$2/favlink.exe"
  if command -v "$3-strip" >/dev/null 2>&1; then "$3-strip" "$stage/$2/favlink.exe"; fi
  echo "package_windows.sh: $2/favlink.exe from $1"
  found=$((found + 1))
}
add_exe "$x64" x64 x86_64-w64-mingw32
add_exe "$x86" x86 i686-w64-mingw32
if [ $found -eq 0 ]; then
  echo "package_windows.sh: no favlink.exe in $x64 or $x86 (build the windows-x64 or windows-x86 preset first)" >&2
  exit 1
fi

crlf() { sed 's/\r$//; s/$/\r/'; }
crlf < "$top/README.md" > "$stage/README.txt"
# The cross configure copies LZ4's licence beside the exe it builds in.
for build in "$x64" "$x86"; do
  if [ -f "$build/favlink.exe" ] && [ -f "$build/LZ4-LICENSE.txt" ]; then
    crlf < "$build/LZ4-LICENSE.txt" > "$stage/LZ4-LICENSE.txt"
    break
  fi
done
if [ ! -f "$stage/LZ4-LICENSE.txt" ]; then
  echo "package_windows.sh: no LZ4-LICENSE.txt beside the executables (configure the Windows builds again)" >&2
  exit 1
fi
# Plain ASCII without overstriking, so Notepad shows it as it is.
GROFF_NO_SGR=1 groff -man -Tascii -P-cbuo "$top/docs/favlink.1" 2>/dev/null | crlf > "$stage/favlink.txt"
if [ ! -s "$stage/favlink.txt" ]; then
  echo "package_windows.sh: the manual page did not render" >&2
  exit 1
fi

mkdir -p "$out"
python3 - "$tmp" "$name" "$out/$name.zip" <<'EOF'
import os, sys, time, zipfile
base, name, target = sys.argv[1:4]
# Entries in name order, dated SOURCE_DATE_EPOCH when it is set, so the same
# inputs give the same zip.
epoch = os.environ.get("SOURCE_DATE_EPOCH")
stamp = time.gmtime(int(epoch))[:6] if epoch else None
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as z:
    for root, dirs, files in os.walk(os.path.join(base, name)):
        dirs.sort()
        for f in sorted(files):
            path = os.path.join(root, f)
            arc = os.path.relpath(path, base).replace(os.sep, "/")
            info = zipfile.ZipInfo(arc, stamp or time.localtime(os.path.getmtime(path))[:6])
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(path, "rb") as fh:
                z.writestr(info, fh.read())
EOF
echo "package_windows.sh: wrote $out/$name.zip"
