#!/bin/sh
# The Debian package of the build that made <favlink-binary>: cpack makes it
# (into a scratch folder; the build folder only gets its install_manifest.txt),
# then it is unpacked with `dpkg -x` into a scratch root, and the installed
# program must be the built one: same usage text, the same link page and .url
# file bytes; the manual page and the README must be in the package.
# Usage: sh deb_test.sh <favlink-binary> <source-dir>; exit 77 skips.
set -eu
prog=$1
top=$2
build=$(cd "$(dirname "$prog")" && pwd)

for tool in cpack dpkg-deb dpkg; do
  if ! command -v $tool >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed; the Debian package was not built"
    exit 77
  fi
done
if [ ! -f "$build/CPackConfig.cmake" ]; then
  if ! grep -q 'Install.cmake' "$top/CMakeLists.txt"; then
    echo "SKIP: CMakeLists.txt does not include cmake/Install.cmake yet; no package to test"
    exit 77
  fi
  echo "FAIL: $build has no CPackConfig.cmake although cmake/Install.cmake is included"
  exit 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
bad() { echo "FAIL: $*"; fail=1; }

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/pkg" > "$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  echo "FAIL: cpack -G DEB failed"
  exit 1
fi
set -- "$tmp"/pkg/favlink_*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  ls -l "$tmp/pkg"
  echo "FAIL: expected one favlink_*.deb, found: $*"
  exit 1
fi
deb=$1
echo "built $(basename "$deb")"

# Control fields: the name, the program's own version, a dependency on the C
# library (computed or plain), a maintainer.
version=$("$prog" -usage | sed -n 's/^Version: \([^ ]*\).*/\1/p' | tr -d '\r')
[ "$(dpkg-deb -f "$deb" Package)" = favlink ] || bad "Package is not favlink"
case $(dpkg-deb -f "$deb" Version) in
  "$version"|"$version"-*) ;;
  *) bad "Version $(dpkg-deb -f "$deb" Version) is not the program's $version" ;;
esac
case $(dpkg-deb -f "$deb" Depends) in
  *libc6*) ;;
  *) bad "Depends does not name libc6: $(dpkg-deb -f "$deb" Depends)" ;;
esac
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || bad "no Maintainer"
[ -n "$(dpkg-deb -f "$deb" Description)" ] || bad "no Description"

# The files, at their Debian places, and nothing outside /usr.
dpkg-deb -c "$deb" | awk '{print $NF}' > "$tmp/list"
for f in ./usr/bin/favlink ./usr/share/man/man1/favlink.1 ./usr/share/doc/favlink/README.md; do
  grep -qx "$f" "$tmp/list" || bad "the package lacks $f"
done
if grep -v '^\./usr/' "$tmp/list" | grep -vqx '\./'; then
  bad "the package has files outside /usr: $(grep -v '^\./usr/' "$tmp/list" | grep -vx '\./' | tr '\n' ' ')"
fi

root=$tmp/root
dpkg -x "$deb" "$root"
inst=$root/usr/bin/favlink
[ -x "$inst" ] || { echo "FAIL: no executable $inst"; exit 1; }
cmp -s "$root/usr/share/man/man1/favlink.1" "$top/docs/favlink.1" ||
  bad "the packaged manual page differs from docs/favlink.1"
cmp -s "$root/usr/share/doc/favlink/README.md" "$top/README.md" ||
  bad "the packaged README differs from README.md"

# The installed program answers -usage exactly as the built one.
"$prog" -usage > "$tmp/usage.built"
if "$inst" -usage > "$tmp/usage.inst"; then :; else bad "installed favlink -usage exited $?"; fi
if [ ! -s "$tmp/usage.built" ] || ! cmp -s "$tmp/usage.built" "$tmp/usage.inst"; then
  bad "installed favlink -usage differs from the built program's"
fi

# A small link page, comment type, with a folder heading: exact bytes.
work=$tmp/work
mkdir "$work"
cd "$work"
printf '[InternetShortcut]\r\nURL=http://www.example.com/\r\n' > top.url
printf '[InternetShortcut]\r\nURL=http://news.example.net/daily/\r\n' > 'News\daily.url'
"$inst" -t Links -f1 top.url 'News\daily.url' > page.html 2> page.err || bad "link page run exited $?"
printf '%s\n' \
  '<HTML>' '<HEAD>' \
  '<META http-equiv="Content-Type" content="text/html; charset=Shift_JIS">' \
  '<TITLE>Favorite Links</TITLE>' '</HEAD>' '<BODY>' \
  '<CENTER><H2>Links</H2></CENTER><HR>' \
  '<DL>' '<DT>01. <A href="http://www.example.com/">top</A>' '<DD> ' \
  '</DL><HR>' '<H3>[News]</H3>' '<DL>' \
  '<DT>01. <A href="http://news.example.net/daily/">daily</A>' '<DD> ' \
  '</DL>' '<HR>' '</BODY>' '</HTML>' > page.expected
cmp -s page.html page.expected || { bad "link page of the installed program:"; diff page.expected page.html || :; }
[ ! -s page.err ] || bad "link page run wrote to stderr: $(cat page.err)"

# Shortcut mode: a relative link joined to the -a prefix, a 36-byte file.
mkdir out
printf '<DL><DT><A HREF="a.html">A</A>\n</DL>\n' > page2.html
echo y | "$inst" -v -a dir/ -o out page2.html 2> sc.err || bad "shortcut run exited $?"
printf '[InternetShortcut]\r\nURL=dir/a.html\r\n' > A.expected
cmp -s out/A.url A.expected || bad "out/A.url of the installed program is not the 36 expected bytes"
[ "$(ls out)" = A.url ] || bad "shortcut mode wrote $(ls out | tr '\n' ' ') instead of A.url"

if [ $fail -ne 0 ]; then
  echo "Debian package check failed"
  exit 1
fi
echo "Debian package: control fields, files, and the installed program's output as expected"
