# Shortcut mode: bookmark files, one case per family of rules (the scanner, links,
# captions, names, -s, limits), compared with the exact tree of .url files they give.
def U [InternetShortcut]\r\nURL=

== the scanner: comments over lines, a line read in pieces of 1023 bytes, a NUL byte, a last line without a line end
args -v p.html
# A comment over two lines hides two links; a --> outside a comment is text; <!--> opens
# a comment that only the next line's --> closes.
file p.html <!-- <A HREF="http://hidden/">Hidden</A>\n<a href="http://hidden2/">h-2</a> --><A HREF="http://after.example/">After</A> --> <!-->\n
file p.html <A HREF="http://hidden3/">H3</A>-->\n
# The first piece ends inside Cut's start tag, so Cut is lost; Whole lies in the second piece.
file p.html {1021*x}<A HREF="http://cut/">Cut</A><A HREF="http://whole/">Whole</A>\n
# A NUL byte ends the text of its line: the caption stops there, AN is never seen.
file p.html <A HREF="http://nul/">Nul\0x</A><A HREF="http://afternul/">AN</A>\n
file p.html <A HREF="http://last/">Last</A>
err "Nul": link tag not closed for the link of "http://nul/"\n
new After.url {U}http://after.example/\r\n
new Whole.url {U}http://whole/\r\n
new Last.url {U}http://last/\r\n

== links and addresses: HREF=" exactly, where the start tag ends, absolute or relative, scripts, an href not closed
args -v p.html
# A CR LF line end; ftp: is absolute; HTTP:, https: and ftp.html are relative, passed over without -a.
file p.html <a href="ftp://b.example/">beta</a><A HREF="HTTP://rel/">Rel</A><A HREF="https://s/">S</A><A HREF="ftp.html">F</A>\r\n
# No link, no word: no HREF in the tag (the text after it does not count), Href, blanks
# around =, an unquoted value, a > in a quoted value before HREF=" (it ends the tag).
file p.html <A NAME="x">abcd"http://z/">Z</A><A Href="http://mixed/">m</A><A HREF = "http://sp/">s</A><A HREF=http://unq/>u</A><A TITLE="a>b" HREF="http://gt1/">g1</A>\n
# A > in a quoted value after the href stays in the tag; an empty href is relative; a script
# without window.open is reported, and the rest of its line is not scanned (Lost).
file p.html <A HREF="http://gt2/" TITLE="x>y">Gt2</A><A HREF="">Empty</A><A HREF="javascript:void(0)">js</A><A HREF="http://lost/">Lost</A>\n
# A window.open( without a quoted argument is reported too.
file p.html <A HREF="javascript:window.open(x)">Q</A>\n
# An href whose closing quote is missing: the tag is not closed.
file p.html <A HREF="http://open/>Open</A>\n
err ["javascript:void(0)"]: can not recognize URL string\n["javascript:window.open(x)"]: can not recognize URL string\n
err ["http://open/>Open</A>]: tag not closed\n
new beta.url {U}ftp://b.example/\r\n
new Gt2.url {U}http://gt2/\r\n

== captions: up to the first </A> of the line, markup dropped; another link's start tag inside a caption
args -v p.html
# The caption reaches the line end: not closed.
file p.html <A HREF="http://next/">\nNext</A>\n
# Nc's caption holds Nc2's start tag and reaches the line end; Nc2 is scanned too. Inner's
# start tag is markup in NoClose's caption, and Inner is not a link of its own.
file p.html <A HREF="http://nc/">Nc<A HREF="http://nc2/">\n<A HREF="http://noclose/">NoClose <A HREF="http://inner/">Inner</A>\n
# A caption of markup only is an empty name.
file p.html <A HREF="http://img/"><IMG SRC="a.gif"></A>\n
err "": link tag not closed for the link of "http://next/"\n"Nc<A HREF="http://nc2/">": link tag not closed for the link of "http://nc/"\n
err "": link tag not closed for the link of "http://nc2/"\n[]: invalid name for the link of "http://img/"\n
new NoClose\sInner.url {U}http://noclose/\r\n

== file names: blanks, quotes, reserved bytes and full stops cleaned, device names, Shift_JIS second bytes, a file already there
args -v -o out p.html
file out/Exists.url old
# Leading blanks go; text in quotes keeps its < >, quotes go; : / \ | * ? replaced; .. is two blanks.
file p.html <A HREF="http://q/"> \t Lead "a<b>c" a/b:c|d*e?f"g\\h x...y....z</A>\n
# Names that clean to nothing.
file p.html <A HREF="http://n4/">..</A><A HREF="http://n5/">?*</A>\n
# One line: a device name gets a '_', also where the whole file name is one as Windows reads
# it (COM1, con before a '.' or blanks); ソ and ポ keep their second bytes \ and |; Exists.url
# is there already: kept as it is, without a word.
file p.html <A HREF="http://r2/">Nul</A><A HREF="http://r3/">COM1</A><A HREF="http://r4/">con.txt</A><A HREF="http://r5/">aux  </A>
file p.html <A HREF="http://sj/">\x83\x5C\x83|</A><A HREF="http://e/">Exists</A>\n
err [..]: invalid name for the link of "http://n4/"\n[?*]: invalid name for the link of "http://n5/"\n
new out/Lead\sa(b)c\sa!b;c!d\se\sfg!h\sx\s\s.y\s\s\s\sz.url {U}http://q/\r\n
new out/_Nul.url {U}http://r2/\r\n
new out/_COM1.url {U}http://r3/\r\n
new out/_con.txt.url {U}http://r4/\r\n
new out/_aux\s\s.url {U}http://r5/\r\n
new out/\x83\x5C\x83|.url {U}http://sj/\r\n

== -s keeps one top-level folder; -a joins relative links, -i and -n shape the files
args -v -a http://h.example/dir/page.html -i shell.dll;3 -n my- -s News -o out b.html
stdin y\n
dir out
# Before the folder: a <DT> at a line end; a top-level <DT>'s caption check cuts at the
# next '<', so Quiet is no link; Bad is reported; <Dt> is no entry, so that News is no folder.
file b.html <DL><p>\n<p>x<DT>\n<DT><A HREF="javascript:x">Quiet</A><A HREF="javascript:open()">Bad</A>\n<Dt><H3>News</H3><DL><p><DT><A HREF="http://decoy/">Decoy</A></DL>\n
# A News below the top level is not the folder.
file b.html <DT><H3>Other</H3>\n<DL><p><DT><H3>News</H3>\n<DL><p><DT><A HREF="http://deep/">Deep</A>\n</DL><p>\n</DL><p>\n
# The folder, lower case, its caption after the <h3 ...>; relative links joined as they
# stand; a device name gets its '_' after the -n prefix.
file b.html <dt><h3 ADD_DATE="1">News</h3>\n<dl><p>\n<DT><A HREF="a.html">A</A>\n<DT><A HREF="/b.html">nul</A>\n
# window.open with blanks before its '(', or in a later attribute; a leading ./ goes once.
file b.html <DT><A HREF="javascriptwindow.open \t('./w1.html')">W1</A><a href="JAVASCRIPT:x" onclick="window.open('././w2')">W2</a>\n
# A subfolder's links are written; a </DL> in a comment, a <DL> with an attribute and
# mixed case are no list tags.
file b.html <DT><H3>Sub</H3>\n<DL><p>\n<DT><A HREF="ftp://sub/">Sub</A>\n<!-- </DL> --><DL CLASS="x"><Dl></dL></Dl></DL><p>\n
# The </dl> back to the top level ends the scan: Late and L2 are never read.
file b.html <DT><A HREF="http://in/">In</A>\n</dl><p>\n<DT><A HREF="http://late/">Late</A><A HREF="javascript:x">L2</A>\n</DL>\n
err URL prefix name="http://h.example/dir/" ... ok? (y/n) ["javascript:open()"]: can not recognize URL string\n
def I \r\nIconIndex=3\r\nIconFile=shell.dll\r\n
new out/my-A.url {U}http://h.example/dir/a.html{I}
new out/my-_nul.url {U}http://h.example/dir//b.html{I}
new out/my-W1.url {U}http://h.example/dir/w1.html{I}
new out/my-W2.url {U}http://h.example/dir/./w2{I}
new out/my-Sub.url {U}ftp://sub/{I}
new out/my-In.url {U}http://in/{I}

== the -n prefix and the name together spell a device name: the '_' goes between them
args -v -n co p.html
# coN and coM1 are device names, and so is co + n.txt before its '.'; console and coL are not.
file p.html <A HREF="http://n/">N</A><A HREF="http://m/">M1</A><A HREF="http://t/">n.txt</A><A HREF="http://s/">nsole</A><A HREF="http://l/">L</A>\n
new co_N.url {U}http://n/\r\n
new co_M1.url {U}http://m/\r\n
new co_n.txt.url {U}http://t/\r\n
new console.url {U}http://s/\r\n
new coL.url {U}http://l/\r\n

== bytes POSIX names may hold: lead bytes, control bytes, symbolic links
only posix
args -v p.html
link Link.url nowhere
# Bytes 0x80-0x9F and 0xE0-0xFC lead a pair and keep a '\' after them, others do not; a
# lead byte before '/' or '?', or last, is a byte of its own. No line end: one line with the next.
file p.html <A HREF="http://l/">\x7F\x5C\x80\x5C\x9F\x5C\xA0\x5C\xDF\x5C\xE0\x5C\xFC\x5C\xFD\x5C\x81/\x81?\x81</A>
# A CR and a tab stay in a name; ' ?\t' loses its blank, its '?' becomes one; Link.url is a
# dangling symbolic link: never followed, passed over without a word.
file p.html <A HREF="http://c/">C\rR\t</A><A HREF="http://b/"> ?\t</A><A HREF="http://k/">Link</A>\n
new \x7F!\x80\x5C\x9F\x5C\xA0!\xDF!\xE0\x5C\xFC\x5C\xFD!\x81!\x81\s\x81.url {U}http://l/\r\n
new C\rR\t.url {U}http://c/\r\n
new \s\t.url {U}http://b/\r\n

== the limits of a URL, a name and a file name; a prefix too long for the question is left out of it
only posix
args -v -a {1500*p}/x p.html
stdin y
# The prefix and the address: 2023 bytes fit, 2024 do not.
file p.html <A HREF="{522*a}">Fits</A>\n<A HREF="{523*a}">Over</A>\n
# Leading blanks count in the 254 bytes of a name; a file name of 255 bytes fits, 256 do not.
file p.html <A HREF="http://n/">\s\s\s\s{250*n}</A>\n<A HREF="http://m/">\s\s\s\s\s{250*m}</A>\n<A HREF="http://o/">{251*o}</A>\n<A HREF="http://q/">{252*q}</A>\n
err URL prefix name="" ... ok? (y/n) too long URL for the link of "Over"\ntoo long name ... \s\s\s\s\s{250*m}\ntoo long name ... {252*q}.url\n
new Fits.url {U}{1500*p}/{522*a}\r\n
new {250*n}.url {U}http://n/\r\n
new {251*o}.url {U}http://o/\r\n

== the limits of a path and of the icon lines (2047 bytes each)
only posix
args -v -i {2025*i};-5 -o {10*{200*d}/}{31*d} p.html
dir {10*{200*d}/}{31*d}
file p.html <A HREF="http://x/">x</A><A HREF="http://y/">xy</A>
err too long path ... xy.url\n
new {10*{200*d}/}{31*d}/x.url {U}http://x/\r\nIconIndex=0\r\nIconFile={2025*i}\r\n

== icon lines of 2048 bytes pass every link over
args -v -i {2026*i} p.html
file p.html <A HREF="http://x/">x</A><A HREF="http://y/">y</A>
err too long icon file ... x.url\ntoo long icon file ... y.url\n
