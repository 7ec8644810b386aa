# Shortcut mode: dense bookmark files, each line a family of scanner, link and
# name rules, compared with the exact tree of .url files they give.
def U [InternetShortcut]\r\nURL=

== the scanner, link extraction and name rules without -a
args -v -o out p.html
file out/Exists.url old
file p.html <a href="ftp://b.example/">beta</a><A HREF="HTTP://rel/">Rel</A><A HREF="https://s/">S</A>\r\n
file p.html <!-- <A HREF="http://hidden/">Hidden</A>\n<a href="http://hidden2/">h-2</a> --><A HREF="http://after.example/">After</A> --> <!-->\n
file p.html <A HREF="http://hidden3/">H3</A>-->\n
file p.html <A NAME="x">abcd"http://z/">Z</A><A Href="http://mixed/">m</A><A HREF = "http://sp/">s</A><A HREF=http://unq/>u</A><A TITLE="a>b" HREF="http://gt1/">g1</A>\n
file p.html <A HREF="http://gt2/" TITLE="x>y">Gt2</A><A HREF="">Empty</A><A HREF="javascript:void(0)">js</A><A HREF="http://lost/">Lost</A>\n
file p.html <A HREF="http://open/>Open</A>\n<A HREF="http://next/">\nNext</A>\n
file p.html <A HREF="http://nc/">Nc<A HREF="http://nc2/">\n<A HREF="http://noclose/">NoClose <A HREF="http://inner/">Inner</A>\n
file p.html <A HREF="http://img/"><IMG SRC="a.gif"></A>\n<A HREF="http://q/"> \t Lead "a<b>c" a/b:c|d*e?f"g\\h x...y....z</A>\n
file p.html <A HREF="http://n4/">..</A><A HREF="http://n5/">?*</A>\n
file p.html <A HREF="http://r2/">Nul</A>
file p.html <A HREF="http://sj/">\x83\x5C\x83|</A><A HREF="http://e/">Exists</A>\n
file p.html {1021*x}<A HREF="http://cut/">Cut</A><A HREF="http://whole/">Whole</A>\n
file p.html <A HREF="http://nul/">Nul\0x</A><A HREF="http://afternul/">AN</A>\n
file p.html <A HREF="http://last/">Last</A>
err ["javascript:void(0)"]: can not recognize URL string\n["http://open/>Open</A>]: tag not closed\n
err "": link tag not closed for the link of "http://next/"\n"Nc<A HREF="http://nc2/">": link tag not closed for the link of "http://nc/"\n
err "": link tag not closed for the link of "http://nc2/"\n[]: invalid name for the link of "http://img/"\n
err [..]: invalid name for the link of "http://n4/"\n[?*]: invalid name for the link of "http://n5/"\n"Nul": link tag not closed for the link of "http://nul/"\n
new out/beta.url {U}ftp://b.example/\r\n
new out/After.url {U}http://after.example/\r\n
new out/Gt2.url {U}http://gt2/\r\n
new out/NoClose\sInner.url {U}http://noclose/\r\n
new out/Lead\sa(b)c\sa!b;c!d\se\sfg!h\sx\s\s.y\s\s\s\sz.url {U}http://q/\r\n
new out/_Nul.url {U}http://r2/\r\n
new out/\x83\x5C\x83|.url {U}http://sj/\r\n
new out/Whole.url {U}http://whole/\r\n
new out/Last.url {U}http://last/\r\n

== -s keeps one top-level folder; -a joins relative links, -i and -n shape the files
args -v -a http://h.example/dir/page.html -i shell.dll;3 -n my- -s News -o out b.html
stdin y\n
dir out
file b.html <DL><p>\n<p>x<DT>\n<DT><A HREF="javascript:x">Quiet</A><A HREF="javascript:open()">Bad</A>\n<Dt><H3>News</H3><DL><p><DT><A HREF="http://decoy/">Decoy</A></DL>\n
file b.html <DT><H3>Other</H3>\n<DL><p><DT><H3>News</H3>\n<DL><p><DT><A HREF="http://deep/">Deep</A>\n</DL><p>\n</DL><p>\n
file b.html <dt><h3 ADD_DATE="1">News</h3>\n<dl><p>\n<DT><A HREF="a.html">A</A>\n<DT><A HREF="/b.html">nul</A>\n
file b.html <DT><A HREF="javascriptwindow.open \t('./w1.html')">W1</A><a href="JAVASCRIPT:x" onclick="window.open('././w2')">W2</a>\n
file b.html <DT><H3>Sub</H3>\n<DL><p>\n<DT><A HREF="ftp://sub/">Sub</A>\n<!-- </DL> --><DL CLASS="x"><Dl></dL></Dl></DL><p>\n
file b.html <DT><A HREF="http://in/">In</A>\n</dl><p>\n<DT><A HREF="http://late/">Late</A><A HREF="javascript:x">L2</A>\n</DL>\n
err URL prefix name="http://h.example/dir/" ... ok? (y/n) ["javascript:open()"]: can not recognize URL string\n
def I \r\nIconIndex=3\r\nIconFile=shell.dll\r\n
new out/my-A.url {U}http://h.example/dir/a.html{I}
new out/my-_nul.url {U}http://h.example/dir//b.html{I}
new out/my-W1.url {U}http://h.example/dir/w1.html{I}
new out/my-W2.url {U}http://h.example/dir/./w2{I}
new out/my-Sub.url {U}ftp://sub/{I}
new out/my-In.url {U}http://in/{I}

== bytes POSIX names may hold: lead bytes, control bytes, symbolic links
only posix
args -v p.html
link Link.url nowhere
file p.html <A HREF="http://l/">\x7F\x5C\x80\x5C\x9F\x5C\xA0\x5C\xDF\x5C\xE0\x5C\xFC\x5C\xFD\x5C\x81/\x81?\x81</A>
file p.html <A HREF="http://c/">C\rR\t</A><A HREF="http://b/"> ?\t</A><A HREF="http://k/">Link</A>\n
new \x7F!\x80\x5C\x9F\x5C\xA0!\xDF!\xE0\x5C\xFC\x5C\xFD!\x81!\x81\s\x81.url {U}http://l/\r\n
new C\rR\t.url {U}http://c/\r\n
new \s\t.url {U}http://b/\r\n

== the limits of a URL, a name and a file name; a prefix too long for the question is left out of it
only posix
args -v -a {1500*p}/x p.html
stdin y
file p.html <A HREF="{522*a}">Fits</A>\n<A HREF="{523*a}">Over</A>\n
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
