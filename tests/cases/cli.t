# The command line: usage requests, the option scan of both modes, the -a
# question, the -n check, messages and exit statuses.
def HEAD <HTML>\n<HEAD>\n<META http-equiv="Content-Type" content="text/html; charset=Shift_JIS">\n<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n<CENTER><H2>
def FOOT <HR>\n</BODY>\n</HTML>\n
def U [InternetShortcut]\r\nURL=

== -usage prints the whole usage text, whatever follows
args -usage x.url -v
out IEのお気に入りのファイルより、リンクページを作成します。\nまたはHTMLファイルよりURLファイルを作成します。\n\s\n
out Usage: (1)favlink [-t <title>] [-f<n>] <URLfiles>\n\s      (2)favlink -v [-a <addr>] [-s <select>] [-i <icon>] [-n <name>]\n\s         [-o <output>] <HTMLfile>\n
out \s\nParameter:\n\s  -t <title>     タイトルを指定します。\n\s  -f<n>          形式タイプの番号を<n>で指定します。\n
out \s                   0: 一覧タイプ, 1:コメント文挿入タイプ\n\s  <URLfiles>     お気に入りに対するURLファイルを指定します。\n
out \s\n\s  -v             HTMLファイルのリンクタグより、URLファイルを作成します。\n\s  -a             ホームページのアドレス(URL)を指定します。\n
out \s                 これを指定しない場合、カレントからのリンクタグは無視されます。\n\s  -s <select>    HTMLはNetspaceのBookmarkファイルを指定するものとし、\n\s                 <select>で指定された「フォルダ」のものを出力します。\n
out \s  -i <icon>      URLファイルのアイコンの設定を下記の形式で指定します。\n\s                   <icon> ... <iconFile>[;<iconIndex>]\n
out \s  -n <name>      各URLファイル名の先頭に付加する文字列を指定します。\n\s  -o <output>    URLを出力するディレクトリのパスを指定します。\n\s                 これを省略した場合には、カレントディレクトリに出力されます。\n
out \s  <HTMLfile>     HTMLファイルを指定します。\n\s\nVersion: 1.50\n

== a usage text that cannot be written fails
args -usage
stdout full
err standard output: writing error\n
exit 1

== no arguments: the synopsis on stderr
args
err Usage: (1)favlink [-t <title>] [-f<n>] <URLfiles>\n\s      (2)favlink -v [-a <addr>] [-s <select>] [-i <icon>] [-n <name>]\n\s         [-o <output>] <HTMLfile>\n
exit 1

== -f below the 32-bit range is a list, as no -f is; the first file ends the options, later options and odd names are files
args -t A -f-4294967295 -t B 1 -a x -v "" -usage -t {1024*n} {1025*m} %d\\%s\\\\%
err 1: not found\n-a: not found\nx: not found\n-v: not found\n: not found\n-usage: not found\n-t: not found\n
err {1024*n}: not found\n%d\\%s\\\\%: not found\n
out {HEAD}B</H2></CENTER><HR>\n</OL>\n{FOOT}

== options alone: an empty page
args -x -t T
out <HTML>\n<HEAD>\n<META http-equiv="Content-Type" content="text/html; charset=UTF-8">\n<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n<CENTER><H2>T</H2></CENTER><HR>\n</OL>\n{FOOT}

== -f reads blanks, a sign and leading zeros; a lone -t at the end is a file
args "-f \t+0001x" -t
err -t: not found\n
out {HEAD}Favorite Links From URL Files</H2></CENTER><HR>\n</DL>\n{FOOT}

== -v alone, and -v without an HTML file after its options, end with 0
args -v -t T -f1 -s x -o
err -o: not found\n

== -c with -x: an unknown label ends the run before the file is read
args -v -x -c utf-16 b.html
err utf-16: unknown encoding\n
exit 1

== -c with -x: an empty label is an unknown one
args -v -c "" -x b.html
err : unknown encoding\n
exit 1

== -c without -x is the first file argument
args -v -c utf-8 b.html
err -c: not found\n

== -a cuts after the last slash; every answer beginning with y or Y goes on
args -v -a a/b/c.html -a abc -a "" -a a//b -i a;b;7 -i b.ico -n ソポ p.html q.html
stdin yes\nY\ny\ny
file p.html <A HREF="rel">x</A>
err URL prefix name="a/b/" ... ok? (y/n) URL prefix name="abc/" ... ok? (y/n) URL prefix name="/" ... ok? (y/n) URL prefix name="a//" ... ok? (y/n)\s
new ソポx.url {U}a//rel\r\nIconIndex=7\r\nIconFile=b.ico\r\n

== an -n refusal comes before a later -a question
args -v -n a|b -a x p.html
err "a|b" ... illegal name as filename\n
exit 1

== an answer with a blank before the y refuses; a slash after a lead byte is no slash
only posix
args -v -a a\x83/x p.html
stdin \sy\n
err URL prefix name="a\x83/x/" ... ok? (y/n) quit!\n
exit 1

== an accepted -a is followed by the -n check
only posix
args -v -a {2046*a} -n \x9F/x p.html
stdin y
err URL prefix name="" ... ok? (y/n) "\x9F/x" ... illegal name as filename\n
exit 1

== an -a value of 2047 bytes is refused before the question
args -v -a {2047*a} p.html
err -a: the address is longer than 2046 bytes\n
exit 1

== -i numbers saturate at 32 bits; a file that cannot be created stops the scan
args -v -i x;99999999999 -o nodir p.html
file p.html <A HREF="http://a/">A</A><A HREF="http://b/">B</A>
err "nodir{SEP}A.url": cannot create\n
