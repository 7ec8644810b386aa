# -x in shortcut mode: bookmark files as browsers write them, into a tree of
# folders. Names are UTF-8 on disk (created through the wide API on Windows).
lc ja_JP.UTF-8
def U [InternetShortcut]\r\nURL=

== references and names: what is decoded in a UTF-8 file, what is dropped from an address, device names
args -v -x b.html
file b.html <!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">\n
# &amp; in an address and a name, a long ICON after the href; a relative link with a long
# attribute of quotes (passed over); an anchor without HREF (no link); CR, LF and tab
# references dropped from an address, so no line is slipped into the file; a tab in a name
# a blank; device names with an extension, and COM1.
file b.html <DT><A HREF="https://a.example/?x=1&amp;y=2" ICON="data:{3000*A}">A &amp; B</A><A HREF="x" ICON="{1100*"}">Odd</A><A NAME="n">n</A><A HREF="https://x/&#13;&#10;IconFile=\\\\e&#9;v">a&#9;b</A><A HREF="https://n/">nul.x</A><A HREF="https://m/">COM1</A>\n
# A reference in the scheme; numbers to UTF-8, but not 0, a surrogate, one too large or one
# without ';'; an unknown name kept; '..' two blanks; full stops, then a device name: _con;
# a name of blanks only.
file b.html <DT><A HREF="&#104;ttps://dec/">&#233;t&#xE9; &#0; &#xD800; &#99999999999; &#x110000; &bogus; &#65 ..con</A><A HREF="https://c/">..con</A><A HREF="https://d/">  ..</A>\n
err [..]: invalid name for the link of "https://d/"\n6 written, 0 already there, 2 passed over\n
new A\s&\sB.url {U}https://a.example/?x=1&y=2\r\n
new a\sb.url {U}https://x/IconFile=\\\\ev\r\n
new _nul.x.url {U}https://n/\r\n
new _COM1.url {U}https://m/\r\n
new \xC3\xA9t\xC3\xA9\s&#0;\s&#xD800;\s&#99999999999;\s&#x110000;\s&bogus;\s&#65\s\s\scon.url {U}https://dec/\r\n
new _con.url {U}https://c/\r\n

== addresses: schemes, scripts, a start tag not closed (the rest of its line is still scanned)
args -v -x b.html
# A drive letter, a relative address, a relative window.open and a digit first are passed
# over; a script without window.open is reported.
file b.html <DT><A HREF="C:\\x">Drive</A><A HREF="rel.html">Rel</A><A HREF="javascript:window.open('w.html')">W</A><A HREF="javascript:void(0)">V</A><A HREF="1a:b">Digit</A>\n
# A start tag not closed on its line (its quotes pair up across the later tags) is reported,
# and the scan goes on after its href: Q, a tab after <A, and an absolute window.open after a
# comment are all taken.
file b.html <DT><A HREF="a>b <A HREF="https://q/">Q</A><A\tHREF="https://tab/">Tab</A><!-- c --><A HREF="JAVASCRIPT:window.open('https://js/')">Js</A>\n
# An href without its closing quote on the last link line.
file b.html <A HREF="https://open/\n</DL><p>\n
err ["javascript:void(0)"]: can not recognize URL string\n
err ["a>b <A HREF="https://q/">Q</A><A\tHREF="https://tab/">Tab</A><!-- c --><A HREF="JAVASCRIPT:window.open('https://js/')">Js</A>]: tag not closed\n
err ["https://open/]: tag not closed\n3 written, 0 already there, 7 passed over\n
new Q.url {U}https://q/\r\n
new Tab.url {U}https://tab/\r\n
new Js.url {U}https://js/\r\n

== folders: nesting, cleaned names, a list closed early, the same name numbered in a folder met twice
args -v -x -o out b.html
dir out
# The top list; a heading with markup; then schemes of any letters, kept as they stand,
# under one name: numbered.
file b.html <DL><p>\n<DT><H3 ADD_DATE="1">News &amp; <b>Daily</b></H3>\n<DL><p>\n
file b.html <DT><A HREF="HTTP://caps/">Same</A><A HREF="mailto:x@y">Same</A><a href="file:///c">Same</a><A HREF="a-1.b+c:d">Same</A>\n
# A heading that cleans to nothing leaves Up in the enclosing folder.
file b.html <DT><H3>..</H3><DL><p><DT><A HREF="https://up/">Up</A></DL><p>\n
# Empty folders, made all the same: a '>' in a quoted attribute, a trailing full stop, bytes
# a name cannot hold, trailing blanks, a device name.
file b.html <DT><h3 FOLDED TITLE="x>y">Empty.</h3>\n<DL><p>\n</DL><p>\n<DT><H3>a/b:c \\ C: </H3>\n<DL><p></DL><p><DT><H3>con</H3><DL></DL>\n
# A heading without a list: the </DL> closes News & Daily; a list without a heading is no
# folder; the same folder again continues its numbering.
file b.html <DT><H3>Gone</H3></DL><DL><DT><A HREF="https://top/">Top</A></DL>\n</DL><p>\n
file b.html <DT><H3>News &amp; Daily</H3><DL><DT><A HREF="https://again/">Same</A></DL>\n
# A heading without <DT>, and one not closed on its line, are no folders.
file b.html <H3>NoDT</H3><DL><A HREF="https://nodt/">NoDT</A></DL><DT><H3>Open<DL>\n
err 8 written, 0 already there, 0 passed over\n
new out/News\s&\sDaily/Same.url {U}HTTP://caps/\r\n
new out/News\s&\sDaily/Same\s(2).url {U}mailto:x@y\r\n
new out/News\s&\sDaily/Same\s(3).url {U}file:///c\r\n
new out/News\s&\sDaily/Same\s(4).url {U}a-1.b+c:d\r\n
new out/News\s&\sDaily/Same\s(5).url {U}https://again/\r\n
new out/News\s&\sDaily/Up.url {U}https://up/\r\n
new out/Top.url {U}https://top/\r\n
new out/News\s&\sDaily/Empty/
new out/News\s&\sDaily/a!b;c\s!\sC;/
new out/News\s&\sDaily/_con/
new out/NoDT.url {U}https://nodt/\r\n

== a link over lines: blanks around each line break read as one blank; a <DT> ends it; far into a long line
args -v -x b.html
# Joined: a start tag over three lines and a caption over two; Broken: the join ends at the
# next <DT>, reported as without -x; After is taken.
file b.html <DT><A\n  \n  HREF="https://j/"\t\n ADD_DATE="1">Joined \n\t over lines</A><DT><A HREF="https://k/">Broken\n<DT><A HREF="https://j2/">After</A>\n
# A link over two lines 6 bytes before 1 MiB.
file b.html {1048570*x}<A\n HREF="https://far/">Far</A>\n
err "Broken": link tag not closed for the link of "https://k/"\n3 written, 0 already there, 1 passed over\n
new Joined\sover\slines.url {U}https://j/\r\n
new After.url {U}https://j2/\r\n
new Far.url {U}https://far/\r\n

== a Shift_JIS file: names become UTF-8; -s takes one folder; a file there is never changed
args -v -x -a http://h/d/p.html -i i.ico -n my- -s T&S -o out b.html
stdin y\n
file out/my-A.url old
file out/Docs x
# Before the folder: links read and a script reported, nothing written or counted.
file b.html <META CONTENT="charset=Shift_JIS"><DL><p>\n<DT><H3>Before</H3><DL><DT><A HREF="http://no/">No</A><A HREF="javascript:x">Js</A></DL>\n
# The folder, its heading compared after &amp; is decoded: A's file was there, so the next A
# is numbered; a file where the folder Docs should be.
file b.html <DT><H3>T&amp;S</H3>\n<DL><p>\n<DT><A HREF="a.html">A</A><A HREF="https://b/">A</A><DT><H3>Docs</H3><DL><DT><A HREF="/d">D</A></DL>\n
# ソフト in UTF-8; &#65; decoded, &#233; kept (a Shift_JIS file decodes numbers below 0x80
# only); an empty subfolder.
file b.html <DT><H3>\x83\x5C\x83t\x83g</H3><DL><DT><A HREF="/x">\x83\x5C\x81\x40&#65;&#233;</A><DT><H3>E</H3><DL></DL></DL>\n
# The folder's end ends the scan.
file b.html </DL><p>\n<DT><A HREF="http://late/">Late</A>\n
err URL prefix name="http://h/d/" ... ok? (y/n) ["javascript:x"]: can not recognize URL string\n
err "out{SEP}Docs": not a folder\n2 written, 1 already there, 1 passed over\n
def I \r\nIconIndex=0\r\nIconFile=i.ico\r\n
new out/my-A\s(2).url {U}https://b/{I}
new out/\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88/my-\xE3\x82\xBD\xE3\x80\x80A&#233;.url {U}http://h/d//x{I}
new out/\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88/E/

== undeclared and UTF-8 throughout (an unknown label declares nothing): UTF-8; &#233; to UTF-8
args -v -x b.html
# In the addresses, the lowest three-byte sequence, the last before the surrogates, U+10FFFF.
file b.html <META CONTENT="text/html; charset=utf-16"><DL><DT><H3>\xE6\x97\xA5\xE6\x9C\xAC</H3><DL><DT><A HREF="https://e.x/\xE0\xA0\x80">\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E &#233;</A><A HREF="https://m/\xED\x9F\xBF\xF4\x8F\xBF\xBF">M</A>\n
# A character across the end of the first 64 KiB read.
file b.html <DT><A HREF="https://b/" ICON="{65344*i}">\xE6\x97\xA5</A></DL>\n
err 3 written, 0 already there, 0 passed over\n
new \xE6\x97\xA5\xE6\x9C\xAC/\xE6\x97\xA5.url {U}https://b/\r\n
new \xE6\x97\xA5\xE6\x9C\xAC/\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\s\xC3\xA9.url {U}https://e.x/\xE0\xA0\x80\r\n
new \xE6\x97\xA5\xE6\x9C\xAC/M.url {U}https://m/\xED\x9F\xBF\xF4\x8F\xBF\xBF\r\n
new \xE6\x97\xA5\xE6\x9C\xAC/

== undeclared with one sequence UTF-8 does not allow (a surrogate, in an address): Shift_JIS
args -v -x b.html
file b.html <A HREF="https://s/\xED\xA0\x80">\xC3\xA9\x83\x5C</A>\n
err 1 written, 0 already there, 0 passed over\n
new \xEF\xBE\x83\xEF\xBD\xA9\xE3\x82\xBD.url {U}https://s/\xED\xA0\x80\r\n

== undeclared with an overlong sequence: Shift_JIS
args -v -x b.html
file b.html <A HREF="https://o/\xE0\x9F\xBF">\xC3\xA9</A>\n
err 1 written, 0 already there, 0 passed over\n
new \xEF\xBE\x83\xEF\xBD\xA9.url {U}https://o/\xE0\x9F\xBF\r\n

== undeclared with a sequence above U+10FFFF: Shift_JIS
args -v -x b.html
file b.html <A HREF="https://t/\xF4\x90\x80\x80">\xC3\xA9</A>\n
err 1 written, 0 already there, 0 passed over\n
new \xEF\xBE\x83\xEF\xBD\xA9.url {U}https://t/\xF4\x90\x80\x80\r\n

== windows-1251, its label in any case: names converted, then references decoded; an undefined byte U+FFFD; addresses as they are; -s takes the converted heading
args -v -x -s \xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0 b.html
file b.html <META CONTENT="text/html; charset=WINDOWS-1251"><DL><DT><H3>\xCF\xE0\xEF\xEA\xE0</H3><DL><DT><A HREF="https://r/\xCF">\xCF\xF0\xE8\x98&#233;</A></DL></DL>\n
err 1 written, 0 already there, 0 passed over\n
new \xD0\x9F\xD1\x80\xD0\xB8\xEF\xBF\xBD\xC3\xA9.url {U}https://r/\xCF\r\n

== gb2312 read as GBK: a lead byte before a blank, and 0xFF, are U+FFFD each; folder names converted too
args -v -x b.html
file b.html <META CONTENT="charset=gb2312"><DL><DT><H3>\xD6\xD0\xCE\xC4</H3><DL><DT><A HREF="https://g/">\xBA\xBA\xD7\xD6\xA1 x\xFF</A></DL>\n
err 1 written, 0 already there, 0 passed over\n
new \xE4\xB8\xAD\xE6\x96\x87/\xE6\xB1\x89\xE5\xAD\x97\xEF\xBF\xBD\sx\xEF\xBF\xBD.url {U}https://g/\r\n
new \xE4\xB8\xAD\xE6\x96\x87/

== big5
args -v -x b.html
file b.html <META CONTENT="charset=big5"><A HREF="https://b/">\xA4\xA4\xA4\xE5\xFFb</A>\n
err 1 written, 0 already there, 0 passed over\n
new \xE4\xB8\xAD\xE6\x96\x87\xEF\xBF\xBDb.url {U}https://b/\r\n

== ks_c_5601-1987 read as EUC-KR
args -v -x b.html
file b.html <META CONTENT="charset=ks_c_5601-1987"><A HREF="https://k/">\xC7\xD1\xB1\xB9\xFFk</A>\n
err 1 written, 0 already there, 0 passed over\n
new \xED\x95\x9C\xEA\xB5\xAD\xEF\xBF\xBDk.url {U}https://k/\r\n

== euc-jp
args -v -x b.html
file b.html <META CONTENT="charset=euc-jp"><A HREF="https://j/">\xC6\xFC\xCB\xDC\xFFj</A>\n
err 1 written, 0 already there, 0 passed over\n
new \xE6\x97\xA5\xE6\x9C\xAC\xEF\xBF\xBDj.url {U}https://j/\r\n

== windows-1258: a name of one base letter, which the converter holds back for a tone mark that may follow, is given out at the name's end, and before an undefined byte
args -v -x b.html
file b.html <META CONTENT="charset=windows-1258"><DL><DT><H3>b</H3><DL><DT><A HREF="https://e.x/i">a</A><A HREF="https://e.x/j">a\x81</A></DL></DL>\n
err 2 written, 0 already there, 0 passed over\n
new b/
new b/a.url {U}https://e.x/i\r\n
new b/a\xEF\xBF\xBD.url {U}https://e.x/j\r\n

== -c names the encoding, wherever -x stands, over a wrong META and without the whole-file check
args -v -c SJIS -x b.html
# A character CP932 does not define is U+FFFD: a '\' after its lead byte a '!'.
file b.html <META CONTENT="charset=UTF-8"><A HREF="https://s/">\x83\x5C\x85\x5C\x85\x85\x81</A>\n
err 1 written, 0 already there, 0 passed over\n
new \xE3\x82\xBD\xEF\xBF\xBD!\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.url {U}https://s/\r\n

== META labels as browsers read them: a '>' quoted in another attribute, blanks around '='
args -v -x b.html
file b.html <META NAME="a>b" HTTP-EQUIV="Content-Type" CONTENT="text/html; charset = windows-1251"><A HREF="https://r/">\xCF\xF0\xE8</A>\n
err 1 written, 0 already there, 0 passed over\n
new \xD0\x9F\xD1\x80\xD0\xB8.url {U}https://r/\r\n

== HTML5's charset attribute, single-quoted, after a word "charset" with no '='
args -v -x b.html
file b.html <meta name="charset" charset\t=\t'koi8-r'><A HREF="https://k/">\xF0\xD2\xC9</A>\n
err 1 written, 0 already there, 0 passed over\n
new \xD0\x9F\xD1\x80\xD0\xB8.url {U}https://k/\r\n

== bytes only POSIX names hold; links where folders should be
only posix
args -v -x -c koi8-r -o out b.html
link out/Link elsewhere
# A byte order mark makes the file UTF-8, also over -c; a symbolic link where the folder
# Link should be is never followed: its link is passed over.
file b.html \xEF\xBB\xBF<A HREF="https://bom/">Bom</A><DL><DT><H3>Link</H3><DL><DT><A HREF="https://l/">L</A></DL>\n
# Names cut at the end of the last whole UTF-8 character that fits 255 bytes: with ".url"
# exactly (ab and 83 of あ), numbered after the cut (81 of あ fit with " (2)"), 62 four-byte
# characters (63 would be 256 bytes); a folder of 85 of あ exactly.
file b.html <A HREF="https://a/">ab{100*\xE3\x81\x82}</A><A HREF="https://a2/">ab{90*\xE3\x81\x82}</A><A HREF="https://e/">{70*\xF0\x9F\x98\x80}</A>
file b.html <DT><H3>{90*\xE3\x81\x82}</H3><DL><A HREF="https://f/">F</A></DL>\n
# Below 8 folders of 250 bytes paths of 2047 and 2048 bytes are made alike: -x has no path
# limit (the hostile check goes deeper than the system's).
file b.html {8*<DT><H3>{250*a}</H3><DL>}<A HREF="https://p1/">{31*p}</A><A HREF="https://p2/">{32*q}</A>{8*</DL>}\n
# In a UTF-8 file a '\' after any byte is replaced, and a byte that begins no UTF-8
# sequence is U+FFFD; on POSIX Same and same are two names; a stray </DL>.
file b.html <DT><A HREF="https://raw/">\xFD\xC3\x9F\\</A><A HREF="https://s/">Same</A><A HREF="https://s2/">same</A></DL>\n
err "out/Link": not a folder\n10 written, 0 already there, 1 passed over\n
new out/Bom.url {U}https://bom/\r\n
new out/ab{83*\xE3\x81\x82}.url {U}https://a/\r\n
new out/ab{81*\xE3\x81\x82}\s(2).url {U}https://a2/\r\n
new out/{62*\xF0\x9F\x98\x80}.url {U}https://e/\r\n
new out/{85*\xE3\x81\x82}/F.url {U}https://f/\r\n
new out/{8*{250*a}/}{31*p}.url {U}https://p1/\r\n
new out/{8*{250*a}/}{32*q}.url {U}https://p2/\r\n
new out/\xEF\xBF\xBD\xC3\x9F!.url {U}https://raw/\r\n
new out/Same.url {U}https://s/\r\n
new out/same.url {U}https://s2/\r\n

== no link lost for a length: names cut to fit with the prefix, any number and ".url"; an address and an icon of any length
stdin y\n
args -v -x -n my- -a http://h/ -i {2030*i} -o out p.html
dir out
# 3 + 248 bytes fit, once, then numbered after a cut to 3 + 244; 248 fit uncut, 249 are cut;
# a cut that ends in blanks and dots drops them.
file p.html <A HREF="https://a/">{260*n}</A><A HREF="https://b/">{260*n}</A><A HREF="https://c/">{248*e}</A><A HREF="https://d/">{249*f}</A><A HREF="https://e/">{245*a}\s.\s.b</A>\n
# A Chinese caption of 100 characters (300 bytes): 82 whole ones with the prefix and ".url",
# on Windows too, whose 255 units would have taken it whole.
file p.html <A HREF="https://z/">{100*\xE4\xB8\xAD}</A>
# An address of 3,000 bytes, and one of 2,100 after the -a join. (Folder names are cut in
# the POSIX cases below: Wine makes no folder name of more than 247 units.)
file p.html <A HREF="https://{3000*u}">U</A><A HREF="{2100*r}">R</A>\n
err URL prefix name="http://h/" ... ok? (y/n) 8 written, 0 already there, 0 passed over\n
def J \r\nIconIndex=0\r\nIconFile={2030*i}\r\n
new out/my-{248*n}.url {U}https://a/{J}
new out/my-{244*n}\s(2).url {U}https://b/{J}
new out/my-{248*e}.url {U}https://c/{J}
new out/my-{248*f}.url {U}https://d/{J}
new out/my-{245*a}.url {U}https://e/{J}
new out/my-{82*\xE4\xB8\xAD}.url {U}https://z/{J}
new out/my-U.url {U}https://{3000*u}{J}
new out/my-R.url {U}http://h/{2100*r}{J}

== names as Windows reads them: a device name after a cut, a cut that leaves only dots and blanks, names that folders and links take from each other
args -v -x -o out p.html
dir out
# Cut to fit, con and nul and blanks are device names: _con, _nul, and so is CON before
# blanks (a caption over lines); a caption and a heading
# of dots and blanks cut to fit are "_", numbered as any name.
file p.html <A HREF="https://k/">CON\n</A><A HREF="https://c/">con{300*\s}x</A><A HREF="https://d/">{150*.\s}</A><A HREF="https://d2/">{150*.\s}</A>
file p.html <DT><H3>nul{300*\s}x</H3><DL><DT><A HREF="https://n/">N</A></DL><DT><H3>{200*.\s}x</H3><DL><DT><A HREF="https://e/">E</A></DL>\n
# The folder Docs.url, then the link Docs; the link Doc, then the folder Doc.url twice.
file p.html <DT><H3>Docs.url</H3><DL><p><DT><A HREF="https://i/">in</A></DL><DT><A HREF="https://1/">Docs</A>\n
file p.html <DT><A HREF="https://2/">Doc</A><DT><H3>Doc.url</H3><DL><DT><A HREF="https://i2/">i2</A></DL><DT><H3>Doc.url</H3><DL><DT><A HREF="https://i3/">i3</A></DL>\n
err 11 written, 0 already there, 0 passed over\n
new out/_CON\s.url {U}https://k/\r\n
new out/_con.url {U}https://c/\r\n
new out/_.url {U}https://d/\r\n
new out/_\s(2).url {U}https://d2/\r\n
new out/_nul/N.url {U}https://n/\r\n
new out/_/E.url {U}https://e/\r\n
new out/Docs.url/in.url {U}https://i/\r\n
new out/Docs\s(2).url {U}https://1/\r\n
new out/Doc.url {U}https://2/\r\n
new out/Doc.url\s(2)/i2.url {U}https://i2/\r\n
new out/Doc.url\s(2)/i3.url {U}https://i3/\r\n

== -n under -x: the device check on the whole name after the cut; the prefix stays as given
args -v -x -n co p.html
# coM1 before a '.' is a device name; n and blanks cut to fit give con again: numbered.
file p.html <A HREF="https://n/">n</A><A HREF="https://m/">M1.txt</A><A HREF="https://b/">n{300*\s}x</A><A HREF="https://d/">{150*.\s}</A>\n
err 4 written, 0 already there, 0 passed over\n
new co_n.url {U}https://n/\r\n
new co_M1.txt.url {U}https://m/\r\n
new co_n\s(2).url {U}https://b/\r\n
new co_.url {U}https://d/\r\n

== a bookmark file that is not there
args -v -x nosuch.html
err nosuch.html: not found\n

== one name in two folders is no repeat: each folder has names of its own
args -v -x -o o p.html
dir o
file p.html <DL><DT><H3>X</H3><DL><DT><A HREF="https://1/">A</A></DL><DT><H3>Y</H3><DL><DT><A HREF="https://2/">A</A></DL></DL>\n
err 2 written, 0 already there, 0 passed over\n
new o/X/A.url {U}https://1/\r\n
new o/Y/A.url {U}https://2/\r\n

== -n under -x: a prefix that fills the name alone and cuts to a device name gets a leading '_'
args -v -x -n "con{300*\s}" p.html
file p.html <A HREF="https://a/">a</A>\n
err 1 written, 0 already there, 0 passed over\n
new _con.url {U}https://a/\r\n

== a file that cannot be created is reported and passed over, and the scan goes on
only posix
as nobody
dir out/Shut
mode out 0777
mode out/Shut 0555
args -v -x -o out p.html
file p.html <DT><H3>Shut</H3><DL><DT><A HREF="https://a/">A</A></DL><DT><A HREF="https://b/">B</A>\n
err "out/Shut/A.url": cannot create\n1 written, 0 already there, 1 passed over\n
new out/B.url {U}https://b/\r\n

== dates: ADD_DATE in seconds, or microseconds from 12 digits on; none, 0 or no number: the time of writing; a file there keeps its time
args -v -x -o out p.html
file out/Old.url x
mtime out/Old.url 1000000
file p.html <DT><A HREF="https://s/" ADD_DATE="1700000000">Sec</A><A HREF="https://m/" LAST_MODIFIED="1" add_date='1600000000123456'>Micro</A>
file p.html <A HREF="https://e/" ADD_DATE="100000000000">Edge</A><A HREF="https://q/" ICON="x ADD_DATE=5" ADD_DATE=1500000000>Quoted</A>
file p.html <A HREF="https://n/">None</A><A HREF="https://z/" ADD_DATE="0">Zero</A><A HREF="https://g/" ADD_DATE="17e8">Bad</A><A HREF="https://o/" ADD_DATE="1700000000">Old</A>\n
err 7 written, 1 already there, 0 passed over\n
new out/Sec.url {U}https://s/\r\n
newtime out/Sec.url 1700000000
new out/Micro.url {U}https://m/\r\n
newtime out/Micro.url 1600000000
new out/Edge.url {U}https://e/\r\n
newtime out/Edge.url 100000
new out/Quoted.url {U}https://q/\r\n
newtime out/Quoted.url 1500000000
new out/None.url {U}https://n/\r\n
newtime out/None.url now
new out/Zero.url {U}https://z/\r\n
newtime out/Zero.url now
new out/Bad.url {U}https://g/\r\n
newtime out/Bad.url now
newtime out/Old.url 1000000

== dates before 1970: ADD_DATE with a '-', microseconds rounded down to their second; a '-' alone is no date
args -v -x p.html
file p.html <A HREF="https://b/" ADD_DATE="-100000000">Before</A><A HREF="https://m/" ADD_DATE=-1600000000123456>Micro</A><A HREF="https://d/" ADD_DATE="-">Dash</A>\n
err 3 written, 0 already there, 0 passed over\n
new Before.url {U}https://b/\r\n
newtime Before.url -100000000
new Micro.url {U}https://m/\r\n
newtime Micro.url -1600000001
new Dash.url {U}https://d/\r\n
newtime Dash.url now

== Windows holds no file time before 1601: such a link's file keeps the time it is written
only windows
args -v -x p.html
file p.html <A HREF="https://o/" ADD_DATE="-12000000000">Old</A>\n
err 1 written, 0 already there, 0 passed over\n
new Old.url {U}https://o/\r\n
newtime Old.url now

== Shift_JIS names whose UTF-8 forms pass 255 bytes: cut at the last whole character, exactly
only posix
args -v -x p.html
file p.html <DT><A HREF="https://s/">ab{100*ソ}</A><DL><DT><H3>{100*ソ}</H3><DL><A HREF="https://f/">F</A></DL></DL>\n
err 2 written, 0 already there, 0 passed over\n
new ab{83*\xE3\x82\xBD}.url {U}https://s/\r\n
new {85*\xE3\x82\xBD}/F.url {U}https://f/\r\n

== -s names a Shift_JIS folder in UTF-8; an -n that holds a '\' in UTF-8 is refused
args -v -x -s \xE3\x82\xBD p.html
file p.html <DL><DT><H3>\x83\x5C</H3><DL><DT><A HREF="https://s/">S</A></DL></DL>\n
err 1 written, 0 already there, 0 passed over\n
new S.url {U}https://s/\r\n

== -n under -x
args -v -n \xE3\x80\x81\\ -x p.html
exit 1
err "\xE3\x80\x81\\" ... illegal name as filename\n

== -n: a Shift_JIS prefix whose second bytes are '\' and '|' is refused (taken without -x, see cli.t)
only posix
args -v -x -n ソポ p.html
exit 1
err "ソポ" ... illegal name as filename\n

== a script href that cannot be made out is reported, and the rest of its line is still scanned
args -v -x p.html
file p.html <A HREF="javascript:void(0)">V</A><A HREF="https://after/">After</A>\n
err ["javascript:void(0)"]: can not recognize URL string\n1 written, 0 already there, 1 passed over\n
new After.url {U}https://after/\r\n

== <A followed by a tab starts a link
args -v -x p.html
file p.html <A\tHREF="https://tab/">Tab</A>\n
err 1 written, 0 already there, 0 passed over\n
new Tab.url {U}https://tab/\r\n

== a folder the full disk cannot hold stops the scan, as a file does
only posix
inodes 3
args -v -x p.html
file p.html <DL><DT><A HREF="https://f/">F</A><DT><H3>A</H3><DL><DT><A HREF="https://a/">a</A></DL><DT><A HREF="https://g/">G</A></DL>\n
err no free disk space\n"A": cannot create folder\n1 written, 0 already there, 0 passed over\n
new F.url {U}https://f/\r\n

== Windows takes "Same" and "same" for one name
only windows
args -v -x b.html
file b.html <A HREF="https://s/">Same</A><A HREF="https://s2/">same</A><A HREF="https://s3/">SAME (2)</A>\n
err 3 written, 0 already there, 0 passed over\n
new Same.url {U}https://s/\r\n
new same\s(2).url {U}https://s2/\r\n
new SAME\s(2)\s(2).url {U}https://s3/\r\n

== a bookmark file that is a device is not read: /dev/zero would never end
only posix
args -v -x /dev/zero
err /dev/zero: not a regular file\n

== a read error stops the scan: reported, then the summary; exit status 1
only posix
args -v -x /proc/self/mem
exit 1
err "/proc/self/mem": read error\n0 written, 0 already there, 0 passed over\n

== a message's path is written whole, past 1,024 bytes: a file and a folder that cannot be made
only posix
as nobody
args -v -x -o o b.html
def P o/{250*a}/{250*b}/{250*c}/{250*d}/{250*e}
dir {P}
mode {P} 0555
file b.html <DL><DT><H3>{250*a}</H3><DL><DT><H3>{250*b}</H3><DL><DT><H3>{250*c}</H3><DL><DT><H3>{250*d}</H3><DL><DT><H3>{250*e}</H3><DL>
file b.html <DT><H3>X</H3><DL><DT><A HREF="http://y/">y</A></DL><DT><A HREF="http://x/">x</A>\n
err "{P}/X": cannot create folder\n"{P}/x.url": cannot create\n0 written, 0 already there, 2 passed over\n

== what a link keeps beside it: its <DD> description (what ends it), its TAGS, its ICON_URI
args -v -x b.html
file b.html <META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">\n<DL><p>\n
# A: on its line, markup removed, references decoded, '"' ':' '/' kept, ended by </DD>; tags
# with non-ASCII, ',' and a blank run; an http icon, any case, its references decoded.
file b.html <DT><A HREF="https://a/" tags="caf&#233;, x  y" ICON_URI="HTTPS://i/?a&amp;b">A</A><dd>See <b>this</b>: a/b &quot;q&quot; "r" &lt;ok&gt;</DD>not this\n
# B: over lines, tabs, blank runs, a line feed and a C1 control made blanks; ended by <DT>.
# ICON data and an ftp icon are not kept.
file b.html <DT><A HREF="https://b/" ICON="data:image/png;base64,AA" ICON_URI="ftp://i/x">B</A>\n<DD>  one\t two \n\n  three&#10;four&#133;five \n<DT><A HREF="https://c/" icon_uri='http://i/c'>C</A> not this <DD>first\xE2\x80\x94dash&#x1F600;<DD>second\n
# D: an empty description and blank tags: no section; ended by <HR>. E: ended by a link.
file b.html <DT><A HREF="https://d/" TAGS=" \t ">D</A><DD> <i></i> \n<HR><DT><A HREF="https://e/">E</A><DD>to a link<A HREF="https://f/">F</A>\n
# G: ended by a heading; H: by a list (no folder without a heading); I: by </dl>.
file b.html <DT><A HREF="https://g/">G</A><DD>to a heading<H3>x</H3><DD>not this\n<A HREF="https://h/">H</A><DD>to a list<DL><DT><A HREF="https://i/">I</A><Dd>to its end</dl></DL>\n
# J: to the end of the file; a byte that is not UTF-8 is U+FFFD.
file b.html <DT><A HREF="https://j/">J</A><DD>to the\xE9 end\nof the file
err 10 written, 0 already there, 0 passed over\n
def D \r\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}]\r\nProp21=31,
def W \r\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}.W]\r\nProp21=31,
new A.url {U}https://a/\r\nIconIndex=1\r\nIconFile=HTTPS://i/?a&b{D}See this: a/b "q" "r" <ok>\r\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}]\r\nProp5=31,caf?, x y\r\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}.W]\r\nProp5=31,caf+AOk-, x y\r\n
new B.url {U}https://b/{D}one two three four five\r\n
new C.url {U}https://c/\r\nIconIndex=1\r\nIconFile=http://i/c{D}first?dash?{W}first+IBQ-dash+2D3eAA-\r\n
new D.url {U}https://d/\r\n
new E.url {U}https://e/{D}to a link\r\n
new F.url {U}https://f/\r\n
new G.url {U}https://g/{D}to a heading\r\n
new H.url {U}https://h/{D}to a list\r\n
new I.url {U}https://i/{D}to its end\r\n
new J.url {U}https://j/{D}to the? end of the file{W}to the+//0- end of the file\r\n

== a Shift_JIS file's description and tags in UTF-8; -i's icon, not the link's
args -v -x -i i.ico b.html
file b.html <DT><A HREF="https://s/" TAGS="\x95\x5C,&#233;" ICON_URI="http://i/">S</A><DD>\x93\xFA\x96\x7B \x81\x40x\n
err 1 written, 0 already there, 0 passed over\n
new S.url {U}https://s/\r\nIconIndex=0\r\nIconFile=i.ico{D}?? ?x{W}+ZeVnLA- +MAA-x\r\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}]\r\nProp5=31,?,?\r\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}.W]\r\nProp5=31,+iGg-,+AOk-\r\n
