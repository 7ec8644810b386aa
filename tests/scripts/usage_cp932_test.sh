# The usage text is Shift_JIS (CP932). Its bytes are compared with an
# encoding of the text below made by iconv at test time, so the table in
# src/app/usage.cc is checked against a second, independent encoder.
#
#   sh usage_cp932_test.sh <favlink-binary> <source-dir>
# Exit 0 pass, 1 fail, 77 skipped (no iconv with CP932).

prog=$1
if [ -z "$prog" ] || [ ! -x "$prog" ]; then
  echo "usage: sh $0 <favlink-binary> <source-dir>" >&2
  exit 1
fi
if ! command -v iconv >/dev/null 2>&1; then
  echo "skipped: iconv is not installed"
  exit 77
fi
if ! printf 'x' | iconv -f UTF-8 -t CP932 >/dev/null 2>&1; then
  echo "skipped: this iconv has no CP932"
  exit 77
fi

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

# The 26 lines, UTF-8, each followed by LF (the line end of POSIX text
# streams). The blank lines of the text are one space each: keep those
# trailing blanks.
cat > "$work/usage.utf8" <<'EOF'
IEのお気に入りのファイルより、リンクページを作成します。
またはHTMLファイルよりURLファイルを作成します。
 
Usage: (1)favlink [-t <title>] [-f<n>] <URLfiles>
       (2)favlink -v [-a <addr>] [-s <select>] [-i <icon>] [-n <name>]
          [-o <output>] <HTMLfile>
 
Parameter:
   -t <title>     タイトルを指定します。
   -f<n>          形式タイプの番号を<n>で指定します。
                    0: 一覧タイプ, 1:コメント文挿入タイプ
   <URLfiles>     お気に入りに対するURLファイルを指定します。
 
   -v             HTMLファイルのリンクタグより、URLファイルを作成します。
   -a             ホームページのアドレス(URL)を指定します。
                  これを指定しない場合、カレントからのリンクタグは無視されます。
   -s <select>    HTMLはNetspaceのBookmarkファイルを指定するものとし、
                  <select>で指定された「フォルダ」のものを出力します。
   -i <icon>      URLファイルのアイコンの設定を下記の形式で指定します。
                    <icon> ... <iconFile>[;<iconIndex>]
   -n <name>      各URLファイル名の先頭に付加する文字列を指定します。
   -o <output>    URLを出力するディレクトリのパスを指定します。
                  これを省略した場合には、カレントディレクトリに出力されます。
   <HTMLfile>     HTMLファイルを指定します。
 
Version: 1.50
EOF

fail=0
check() {  # check WHAT EXPECTED-FILE ACTUAL-FILE
  if ! cmp -s "$2" "$3"; then
    echo "FAIL: $1 differs from the expected bytes:"
    cmp "$2" "$3" 2>&1 | sed 's/^/    /'
    od -An -c "$3" | head -n 8 | sed 's/^/    got: /'
    fail=1
  fi
}
check_status() {  # check_status WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: exit status $3, expected $2"
    fail=1
  fi
}

lines=$(wc -l < "$work/usage.utf8")
if [ "$lines" -ne 26 ]; then
  echo "FAIL: the expected text has $lines lines, not 26 (test script damaged)"
  exit 1
fi
iconv -f UTF-8 -t CP932 "$work/usage.utf8" > "$work/usage.cp932" || {
  echo "FAIL: iconv could not encode the expected text"
  exit 1
}
: > "$work/empty"

# -usage: the whole text on stdout, nothing on stderr, status 0.
"$prog" -usage > "$work/out" 2> "$work/err"
check_status "-usage" 0 $?
check "stdout of -usage" "$work/usage.cp932" "$work/out"
check "stderr of -usage" "$work/empty" "$work/err"

# No arguments: the synopsis lines (4 to 6 of the text) on stderr, status 1.
sed -n '4,6p' "$work/usage.cp932" > "$work/short"
"$prog" > "$work/out" 2> "$work/err"
check_status "no arguments" 1 $?
check "stdout with no arguments" "$work/empty" "$work/out"
check "stderr with no arguments" "$work/short" "$work/err"

if [ "$fail" -eq 0 ]; then
  echo "ok: usage text and short usage match the CP932 encoding"
fi
exit "$fail"
