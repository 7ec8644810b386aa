#!/bin/sh
# The Windows half of CI: both MinGW-w64 builds with warnings as errors, and
# the 64-bit one tested under Wine (unit tests, every end-to-end case with
# the Windows expectations, the wine_*_test.sh scripts). The 32-bit build is
# compiled and linked only: this kernel runs no 32-bit code.
#
#   sh cmake/WindowsCI.sh [BUILD_ROOT]
#
# BUILD_ROOT holds windows-x86/ and windows-x64/ (default: the presets'
# folders under build/). Missing compilers, Wine, the GoogleTest sources, the
# locale sources and the rapidjson headers are installed with apt-get when run
# as root. Debian's lz4 source package is fetched once into BUILD_ROOT/lz4-src
# (apt-get source; as root a deb-src entry is added when apt has none), and
# its lib/lz4.c compiled into both builds. The Wine prefix and the CP932
# locale are made once inside windows-x64/ and reused.
# Exit status non-zero on the first failure.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -gt 0 ]; then
  root=$(mkdir -p "$1" && cd "$1" && pwd)
else
  root=$src/build
fi
x86=$root/windows-x86
x64=$root/windows-x64
cd "$src"

step() { printf '== %s (%ss)\n' "$1" "$(($(date +%s) - start))"; }
start=$(date +%s)

# 1. Tools.
find_wine() {
  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || [ ! -x /usr/lib/wine/wine64 ] || wine=/usr/lib/wine/wine64
  wineserver=$(command -v wineserver64 || command -v wineserver || true)
  [ -n "$wineserver" ] || [ ! -x /usr/lib/wine/wineserver64 ] || wineserver=/usr/lib/wine/wineserver64
}
find_wine
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 ||
   ! command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 ||
   [ -z "$wine" ] || [ ! -f /usr/src/googletest/googletest/CMakeLists.txt ] ||
   [ ! -f /usr/share/i18n/charmaps/WINDOWS-31J.gz ] ||
   [ ! -f /usr/include/rapidjson/reader.h ] || ! command -v dpkg-source >/dev/null 2>&1; then
  step "installing MinGW-w64, Wine, GoogleTest sources, locale sources, rapidjson, dpkg-dev"
  if [ "$(id -u)" != 0 ]; then
    echo "WindowsCI: run as root, or install g++-mingw-w64-i686-posix" \
         "g++-mingw-w64-x86-64-posix wine64 googletest locales rapidjson-dev dpkg-dev" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends g++-mingw-w64-i686-posix \
    g++-mingw-w64-x86-64-posix wine64 googletest locales rapidjson-dev dpkg-dev >/dev/null
  find_wine
fi

# 2. LZ4 for Windows. Debian has no MinGW build of it, so both builds compile
# lib/lz4.c of Debian's own lz4 source package (the source of liblz4-dev,
# Debian's patches applied). Fetched once; a later run reuses the folder.
lz4cache=$root/lz4-src
lz4lib() {
  for d in "$lz4cache"/lz4-*/lib; do
    if [ -f "$d/lz4.c" ]; then echo "$d"; return; fi
  done
}
if [ -z "$(lz4lib)" ]; then
  step "fetching Debian's lz4 source package"
  has_lz4_source() { apt-cache showsrc lz4 2>/dev/null | grep -q '^Package: lz4$'; }
  if ! has_lz4_source; then
    if [ "$(id -u)" != 0 ]; then
      echo "WindowsCI: apt has no source packages: run as root, or add deb-src entries" \
           "and apt-get update, or unpack lz4's source into $lz4cache" >&2
      exit 1
    fi
    # The binary entries again as source entries, in a file of our own.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        > /etc/apt/sources.list.d/favlink-src.sources
    elif [ -f /etc/apt/sources.list ]; then
      sed -n 's/^deb\([[:space:]]\)/deb-src\1/p' /etc/apt/sources.list \
        > /etc/apt/sources.list.d/favlink-src.list
    fi
    apt-get update -qq
    if ! has_lz4_source; then
      echo "WindowsCI: apt finds no source of lz4 even with deb-src entries" \
           "(/etc/apt/sources.list.d/favlink-src.*)" >&2
      exit 1
    fi
  fi
  # As root apt downloads as the user _apt, which cannot write here.
  sandbox=
  [ "$(id -u)" != 0 ] || sandbox="-o APT::Sandbox::User=root"
  rm -rf "$lz4cache.part"
  mkdir -p "$lz4cache.part"
  # shellcheck disable=SC2086
  (cd "$lz4cache.part" && apt-get source -qq $sandbox lz4 >/dev/null)
  rm -rf "$lz4cache"
  mv "$lz4cache.part" "$lz4cache"
fi
lz4=$(lz4lib)
if [ -z "$lz4" ]; then
  echo "WindowsCI: no lib/lz4.c in $lz4cache/lz4-*" >&2
  exit 1
fi

# 3. Builds. The end-to-end cases run the exe through the 64-bit loader.
step "windows-x86: configure and build"
cmake --preset windows-x86 -B "$x86" -DFAVLINK_LZ4_SOURCE="$lz4" >/dev/null
cmake --build "$x86"
step "windows-x64: configure and build"
mkdir -p "$x64"
# Through a cache script: -D would strip the quotes that keep each path one
# word. The value must not begin with a quote either: CMake strips a quote
# pair around a value when it reads its cache again, so a second configure
# would glue the two paths into one word. "env" runs the loader.
cat > "$x64/wine-e2e.cmake" <<EOF
set(FAVLINK_E2E_PLATFORM windows CACHE STRING "" FORCE)
set(FAVLINK_E2E_PROG [=[env '$wine' '$x64/favlink.exe']=] CACHE STRING "" FORCE)
EOF
cmake --preset windows-x64 -B "$x64" -C "$x64/wine-e2e.cmake" -DFAVLINK_LZ4_SOURCE="$lz4" >/dev/null
cmake --build "$x64"
for exe in "$x86/favlink.exe" "$x64/favlink.exe"; do
  # Self-contained: nothing but system DLLs may be imported.
  extra=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
          grep -v -i -x -e KERNEL32.dll -e msvcrt.dll -e 'api-ms-win-.*' || true)
  if [ -n "$extra" ]; then
    echo "WindowsCI: $exe needs DLLs beside it: $extra" >&2
    exit 1
  fi
done

# 4. Wine: one prefix, and a Japanese locale whose character set is CP932,
# so that Shift_JIS arguments and file names pass Wine's conversions as they
# pass a Japanese Windows.
step "Wine prefix and CP932 locale"
WINEPREFIX=$x64/wineprefix
WINEDEBUG=-all
LOCPATH=$x64/locale
FAVLINK_WINE_LC_ALL=ja_JP.CP932
export WINEPREFIX WINEDEBUG LOCPATH FAVLINK_WINE_LC_ALL
if [ ! -d "$LOCPATH/$FAVLINK_WINE_LC_ALL" ]; then
  mkdir -p "$LOCPATH"
  # Wine knows the character set by the name CP932, not WINDOWS-31J.
  gzip -dc /usr/share/i18n/charmaps/WINDOWS-31J.gz |
    sed 's/^<code_set_name> WINDOWS-31J$/<code_set_name> CP932/' > "$LOCPATH/CP932"
  localedef --no-warnings=ascii -i ja_JP -f "$LOCPATH/CP932" "$LOCPATH/$FAVLINK_WINE_LC_ALL"
fi
# The same code page with UTF-8 file names on the Unix side, for the cases of
# names in Unicode (-x).
if [ ! -d "$LOCPATH/ja_JP.UTF-8" ]; then
  localedef --no-warnings=ascii -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8"
fi
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  "$wine" wineboot -i >/dev/null 2>&1 || true
fi
# One server for the whole run: without it every case would start Wine's
# services afresh (2.5 s a case instead of 0.05 s). A server still running in
# this prefix (the set-up's, or one left by an interrupted run) is ended first.
if ! "$wineserver" -p 2>/dev/null; then
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w
  "$wineserver" -p
fi
trap '"$wineserver" -k 2>/dev/null; "$wineserver" -w 2>/dev/null || true' EXIT
"$wine" "$x64/favlink.exe" -usage >/dev/null

# 5. Tests.
step "windows-x64: tests under Wine"
ctest --test-dir "$x64" --output-on-failure
step "done"
