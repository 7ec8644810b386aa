# -x in shortcut mode: bookmark files as browsers write them, into a tree of
# folders. Names are UTF-8 on disk (created through the wide API on Windows).
lc ja_JP.UTF-8
def U [InternetShortcut]\r\nURL=

== a UTF-8 export: whole lines, schemes, references, folders, same names
args -v -x -o out b.html
dir out
file b.html <!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">\n<DL><p>\n
file b.html <DT><A HREF="https://a.example/?x=1&amp;y=2" ICON="data:{3000*A}">A &amp; B</A><A HREF="x" ICON="{1100*"}">Odd</A><A NAME="n">n</A><A HREF="https://x/&#13;&#10;IconFile=\\\\e&#9;v">a&#9;b</A><A HREF="https://n/">nul.x</A><A HREF="https://m/">COM1</A>\n
file b.html <DT><H3 ADD_DATE="1">News &amp; <b>Daily</b></H3>\n<DL><p>\n
file b.html <DT><A HREF="HTTP://caps/">Same</A><A HREF="mailto:x@y">Same</A><a href="file:///c">Same</a><A HREF="a-1.b+c:d">Same</A>\n
file b.html <DT><H3>..</H3><DL><p><DT><A HREF="https://up/">Up</A></DL><p>\n
file b.html <DT><h3 FOLDED TITLE="x>y">Empty.</h3>\n<DL><p>\n</DL><p>\n<DT><H3>a/b:c \\ C: </H3>\n<DL><p></DL><p><DT><H3>con</H3><DL></DL>\n
file b.html <DT><H3>Gone</H3></DL><DL><DT><A HREF="https://top/">Top</A></DL>\n</DL><p>\n
file b.html <DT><H3>News &amp; Daily</H3><DL><DT><A HREF="https://again/">Same</A></DL>\n
file b.html <H3>NoDT</H3><DL><A HREF="https://nodt/">NoDT</A></DL><DT><H3>Open<DL>\n
file b.html <DT><A HREF="C:\\x">Drive</A><A HREF="rel.html">Rel</A><A HREF="javascript:window.open('w.html')">W</A><A HREF="javascript:void(0)">V</A><A HREF="1a:b">Digit</A>\n
file b.html <DT><A HREF="&#104;ttps://dec/">&#233;t&#xE9; &#0; &#xD800; &#99999999999; &#x110000; &bogus; &#65 ..con</A><A HREF="https://c/">..con</A><A HREF="https://d/">  ..</A>\n
file b.html <DT><A HREF="a>b <A HREF="https://q/">Q</A><A\tHREF="https://tab/">Tab</A><!-- c --><A HREF="JAVASCRIPT:window.open('https://js/')">Js</A>\n
file b.html <DT><A\n  \n  HREF="https://j/"\t\n ADD_DATE="1">Joined \n\t over lines</A><DT><A HREF="https://k/">Broken\n<DT><A HREF="https://j2/">After</A>\n
file b.html {1048570*x}<A\n HREF="https://far/">Far</A>\n
file b.html <A HREF="https://open/\n</DL><p>\n
err ["javascript:void(0)"]: can not recognize URL string\n[..]: invalid name for the link of "https://d/"\n
err ["a>b <A HREF="https://q/">Q</A><A\tHREF="https://tab/">Tab</A><!-- c --><A HREF="JAVASCRIPT:window.open('https://js/')">Js</A>]: tag not closed\n
err "Broken": link tag not closed for the link of "https://k/"\n["https://open/]: tag not closed\n
err 20 written, 0 already there, 10 passed over\n
new out/A\s&\sB.url {U}https://a.example/?x=1&y=2\r\n
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
new out/\xC3\xA9t\xC3\xA9\s&#0;\s&#xD800;\s&#99999999999;\s&#x110000;\s&bogus;\s&#65\s\s\scon.url {U}https://dec/\r\n
new out/_con.url {U}https://c/\r\n
new out/Joined\sover\slines.url {U}https://j/\r\n
new out/After.url {U}https://j2/\r\n
new out/Q.url {U}https://q/\r\n
new out/Tab.url {U}https://tab/\r\n
new out/Js.url {U}https://js/\r\n
new out/a\sb.url {U}https://x/IconFile=\\\\ev\r\n
new out/_nul.x.url {U}https://n/\r\n
new out/_COM1.url {U}https://m/\r\n
new out/Far.url {U}https://far/\r\n

== a Shift_JIS file: names become UTF-8; -s takes one folder; a file there is never changed
args -v -x -a http://h/d/p.html -i i.ico -n my- -s T&S -o out b.html
stdin y\n
file out/my-A.url old
file out/Docs x
file b.html <META CONTENT="charset=Shift_JIS"><DL><p>\n<DT><H3>Before</H3><DL><DT><A HREF="http://no/">No</A><A HREF="javascript:x">Js</A></DL>\n
file b.html <DT><H3>T&amp;S</H3>\n<DL><p>\n<DT><A HREF="a.html">A</A><A HREF="https://b/">A</A><DT><H3>Docs</H3><DL><DT><A HREF="/d">D</A></DL>\n
file b.html <DT><H3>\x83\x5C\x83t\x83g</H3><DL><DT><A HREF="/x">\x83\x5C\x81\x40&#65;&#233;</A><DT><H3>E</H3><DL></DL></DL>\n
file b.html <DT><H3>{300*n}</H3><DL><DT><A HREF="https://n/">N</A><DT><H3>Deeper</H3><DL><DT><A HREF="https://d/">D</A></DL></DL>\n
file b.html </DL><p>\n<DT><A HREF="http://late/">Late</A>\n
err URL prefix name="http://h/d/" ... ok? (y/n) ["javascript:x"]: can not recognize URL string\n
err "out{SEP}Docs": not a folder\n"out{SEP}{300*n}": cannot create folder\n2 written, 1 already there, 3 passed over\n
def I \r\nIconIndex=0\r\nIconFile=i.ico\r\n
new out/my-A\s(2).url {U}https://b/{I}
new out/\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88/my-\xE3\x82\xBD\xE3\x80\x80A&#233;.url {U}http://h/d//x{I}
new out/\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88/E/

== bytes only POSIX names hold; links where folders should be
only posix
args -v -x -o out b.html
link out/Link elsewhere
file b.html \xEF\xBB\xBF<A HREF="https://bom/">Bom</A><DL><DT><H3>Link</H3><DL><DT><A HREF="https://l/">L</A></DL>\n
file b.html <A HREF="https://{2015*u}">U1</A><A HREF="https://{2016*u}">U2</A><A HREF="https://n/">{251*n}</A><A HREF="https://n/">{252*m}</A>\n
file b.html <A HREF="https://n/">{254*k}</A><A HREF="https://n/">{255*j}</A>{8*<DT><H3>{250*a}</H3><DL>}<A HREF="https://p1/">{31*p}</A><A HREF="https://p2/">{32*q}</A>{8*</DL>}\n
file b.html <DT><A HREF="https://raw/">\xFD\xC3\x9F\\</A><A HREF="https://s/">Same</A><A HREF="https://s2/">same</A></DL>\n
err "out/Link": not a folder\ntoo long URL for the link of "U2"\ntoo long name ... {252*m}.url\ntoo long name ... {254*k}.url\n
err too long name ... {255*j}\ntoo long path ... {32*q}.url\n7 written, 0 already there, 6 passed over\n
new out/Bom.url {U}https://bom/\r\n
new out/U1.url {U}https://{2015*u}\r\n
new out/{251*n}.url {U}https://n/\r\n
new out/{8*{250*a}/}{31*p}.url {U}https://p1/\r\n
new out/\xFD\xC3\x9F!.url {U}https://raw/\r\n
new out/Same.url {U}https://s/\r\n
new out/same.url {U}https://s2/\r\n

== an icon too long for a .url file passes every link over, and the scan goes on
args -v -x -i {2030*i} p.html
file p.html <A HREF="https://a/">A</A><A HREF="https://b/">B</A>
err too long icon file ... A.url\ntoo long icon file ... B.url\n0 written, 0 already there, 2 passed over\n

== -s names a Shift_JIS folder in UTF-8; an -n that holds a '\' in UTF-8 is refused
args -v -x -s \xE3\x82\xBD p.html
file p.html <DL><DT><H3>\x83\x5C</H3><DL><DT><A HREF="https://s/">S</A></DL></DL>\n
err 1 written, 0 already there, 0 passed over\n
new S.url {U}https://s/\r\n

== -n under -x
args -v -n \xE3\x80\x81\\ -x p.html
exit 1
err "\xE3\x80\x81\\" ... illegal name as filename\n

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
