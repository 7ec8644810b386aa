# -x in link page mode: folders of .url files as they lie on disk, into a
# UTF-8 page or a bookmark file; & < > " escaped wherever they stand.
lc ja_JP.UTF-8
# & and quotes in an address, escaped.
file Fav/b.url [InternetShortcut]\r\nURL=http://b/?x=1&y="2"\r\n
# The extension in any case; no section, the URL line not first.
file Fav/a.URL IconIndex=1\r\nURL=http://a/\r\n
# Not a .url file: left out.
file Fav/notes.txt URL=http://not-a-shortcut/\r\n
file Fav/News/Daily/d.url URL=http://d/\r\n
# & escaped in a name, ' kept.
file Fav/News/c&'.url URL=http://c/\r\n
# A UTF-8 name; an LF line end.
file Fav/Z/\xC3\xBCn\xC3\xAF.url URL=http://z/\n
# Empty folders: no heading on a page, a folder in a bookmark file.
dir Fav/Empty/Inner
# A file argument whose folder ends at a '/' after a '\'.
file x\\y/z.url URL=http://y/
# A folder name that begins with a full stop sorts first; three levels deep.
file Fav/.d/Deep/er/e.url URL=http://e/
# Unicode shortcuts: an address in UTF-7 in an [InternetShortcut.W] section,
# a lossy copy in the first URL= line. An IDN host (the copy in CP1251), the
# header in any case; a run ends before '.', and a '-' after it is absorbed.
file W/idn.url [InternetShortcut]\r\nURL=http://\xEF\xF0\xE8\xEC\xE5\xF0.\xF0\xF4/\r\n[internetshortcut.W]\r\nURL=http://+BD8EQAQ4BDwENQRA.+BEAERA-/\r\n
# "+-", a Cyrillic path, a surrogate pair, "+" and "/" in base64 (U+FB01 U+00FE);
# the last line ends in a CR, no LF.
file W/path.url [InternetShortcut]\r\nURL=http://a/?\r\n[InternetShortcut.W]\r\nIconIndex=1\r\nURL=http://a/?q=1+-2&p=+BB8EQAQ4BDIENQRC-/+2D3eAA.++wEA/g-\r
# A CR ends the URL= line without a LF after it.
file W/cr.url URL=http://cr/\r
# Another header ends the section: the first URL= line, as it stands.
file W/sect.url [InternetShortcut.W]\r\n[X]\r\nURL=+AOk-\r\n
# .W values that do not decode fall back to the first URL= line: a '+' with
# no base64 after it (2), a whole base64 byte left over, bits left over that
# are not zero, a high surrogate alone or before a non-surrogate, a low one
# alone, a byte from 0x80 up.
file W/b1.url URL=http://b1/\n[InternetShortcut.W]\nURL=+.\n
file W/b2.url URL=http://b2/\n[InternetShortcut.W]\nURL=a+
file W/b3.url URL=http://b3/\n[InternetShortcut.W]\nURL=+AOkA-\n
file W/b4.url URL=http://b4/\n[InternetShortcut.W]\nURL=+AOl-\n
file W/b5.url URL=http://b5/\n[InternetShortcut.W]\nURL=+2D0-\n
file W/b6.url URL=http://b6/\n[InternetShortcut.W]\nURL=+2D0AQQ-\n
file W/b7.url URL=http://b7/\n[InternetShortcut.W]\nURL=+3gA-\n
file W/b8.url URL=http://b8/\n[InternetShortcut.W]\nURL=http://caf\xE9/\n
# An empty .W value, or one that does not decode, gives way to the first URL= line
# outside the section, wherever the two stand; so does one with a control character,
# written as itself or in base64: a tab, DEL, U+0085. No such line: no link (d7).
file W/d1.url URL=http://d1/\n[InternetShortcut.W]\nURL=\n
file W/d2.url [InternetShortcut.W]\nURL=\n[InternetShortcut]\nURL=http://d2/\n
file W/d3.url [InternetShortcut.W]\r\nURL=+.\r\n[InternetShortcut]\r\nURL=http://d3/\r\n
file W/d4.url URL=http://d4/\n[InternetShortcut.W]\nURL=http://x/\ty\n
file W/d5.url URL=http://d5/\n[InternetShortcut.W]\nURL=http://x/+AH8-\n
file W/d6.url URL=http://d6/\n[InternetShortcut.W]\nURL=http://x/+AIU-\n
file W/d7.url [InternetShortcut.W]\nURL=+.\n
# A good .W value before the lossy line; lines of any length around it passed over
# (a header with more after it is none).
file W/d8.url [{70000*x}\n[InternetShortcut.W]{9*x}\nURL=http://no/\n[InternetShortcut.W]\nIconFile={70000*y}\nURL=http://+BEA-/\n[InternetShortcut]\nURL=http://d8/\n
# What a shortcut holds beside its address: the Description and Keywords
# property sections (names in any case), each value from its .W twin in UTF-7
# when that decodes, else as it stands; the icon from an IconFile= outside the
# .W section that starts http: or https:, any case.
file Xt/a.url [InternetShortcut]\r\nURL=http://a/\r\nIconIndex=1\r\nIconFile=HTTP://i/a.ico\r\n[{5cbf2787-48cf-4208-b90e-ee5e5d420294}]\r\nProp3=19,2\r\nProp21=31,d <&> "q"\r\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}]\r\nProp5=31,t1,t2\r\n
file Xt/F,1/b.url [InternetShortcut]\r\nURL=http://b/\r\nIconFile=https://i/b.png\r\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}]\r\nProp21=31,caf?\r\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}.W]\r\nProp21=31,caf+AOk-\r\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}]\r\nProp5=31,x,,F 1,y?,x\r\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}.W]\r\nProp5=31,x,,F 1,y+AOk-,x\r\n
# Fallbacks: a .W value that does not decode, an empty one, one with a control
# character (a tab); a value in another section; an empty value is none; icons
# of other schemes, or in the .W section, are not read.
file Xt/F,1/c.url URL=http://c/\nIconFile=file:///i.ico\n[X]\nProp21=31,no\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}.w]\nProp21=31,+.\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}]\nProp21=31,plain\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}.W]\nProp5=31,\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}]\nProp5=31,k\n
file Xt/F,1/G/d.url URL=http://d/\n[InternetShortcut.W]\nIconFile=http://w/\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}]\nProp21=31,a?b\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}.W]\nProp21=31,a+AAk-b\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}]\nProp5=31,\n
mtime Xt/a.url 1
mtime Xt/F,1/b.url 1
mtime Xt/F,1/c.url 1
mtime Xt/F,1/G/d.url 1
def HEAD <HTML>\n<HEAD>\n<META http-equiv="Content-Type" content="text/html; charset=UTF-8">\n<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n
def FOOT <HR>\n</BODY>\n</HTML>\n

== a folder: files, then subfolders, in byte order; its path below it is the heading
args -x -t "A&B <T>" Fav
out {HEAD}<CENTER><H2>A&amp;B &lt;T&gt;</H2></CENTER><HR>\n<OL>\n
out <LI><A href="http://a/">a</A><BR>\n<LI><A href="http://b/?x=1&amp;y=&quot;2&quot;">b</A><BR>\n</OL><HR>\n
out <H3>[.d/Deep/er]</H3>\n<OL>\n<LI><A href="http://e/">e</A><BR>\n</OL><HR>\n<H3>[News]</H3>\n<OL>\n<LI><A href="http://c/">c&amp;'</A><BR>\n</OL><HR>\n<H3>[News/Daily]</H3>\n<OL>\n<LI><A href="http://d/">d</A><BR>\n
out </OL><HR>\n<H3>[Z]</H3>\n<OL>\n<LI><A href="http://z/">\xC3\xBCn\xC3\xAF</A><BR>\n</OL>\n{FOOT}

== -f2: a bookmark file, folders nested, empty ones too; a file's folder ends at '/' or '\'; each link dated by its file
args -f2 -x -t T Fav x\\y/z.url missing.url W/idn.url
mtime Fav/a.URL 0
mtime Fav/b.url 1700000000
mtime Fav/.d/Deep/er/e.url 1
mtime Fav/News/c&'.url 999999999
mtime Fav/News/Daily/d.url 2
mtime Fav/Z/\xC3\xBCn\xC3\xAF.url 3
mtime x\\y/z.url 4102444800
mtime W/idn.url 1234567890
out <!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">\n<TITLE>T</TITLE>\n<H1>T</H1>\n<DL><p>\n
out <DT><A HREF="http://a/" ADD_DATE="0">a</A>\n<DT><A HREF="http://b/?x=1&amp;y=&quot;2&quot;" ADD_DATE="1700000000">b</A>\n
out <DT><H3>.d</H3>\n<DL><p>\n<DT><H3>Deep</H3>\n<DL><p>\n<DT><H3>er</H3>\n<DL><p>\n<DT><A HREF="http://e/" ADD_DATE="1">e</A>\n</DL><p>\n</DL><p>\n</DL><p>\n
out <DT><H3>Empty</H3>\n<DL><p>\n<DT><H3>Inner</H3>\n<DL><p>\n</DL><p>\n</DL><p>\n
out <DT><H3>News</H3>\n<DL><p>\n<DT><A HREF="http://c/" ADD_DATE="999999999">c&amp;'</A>\n<DT><H3>Daily</H3>\n<DL><p>\n<DT><A HREF="http://d/" ADD_DATE="2">d</A>\n</DL><p>\n</DL><p>\n
out <DT><H3>Z</H3>\n<DL><p>\n<DT><A HREF="http://z/" ADD_DATE="3">\xC3\xBCn\xC3\xAF</A>\n</DL><p>\n
out <DT><H3>x</H3>\n<DL><p>\n<DT><H3>y</H3>\n<DL><p>\n<DT><A HREF="http://y/" ADD_DATE="4102444800">z</A>\n</DL><p>\n</DL><p>\n<DT><H3>W</H3>\n<DL><p>\n<DT><A HREF="http://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84/" ADD_DATE="1234567890">idn</A>\n</DL><p>\n</DL><p>\n
err missing.url: not found\n

== -f2: a file time before 1970 is written negative, as -x reads it back; DEL in a name is a blank
args -f2 -x -t T Old
file Old/a\x7Fb.url URL=http://a/\r\n
mtime Old/a\x7Fb.url -100000000
def BOOK <!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">\n<TITLE>T</TITLE>\n<H1>T</H1>\n<DL><p>\n
out {BOOK}<DT><A HREF="http://a/" ADD_DATE="-100000000">a b</A>\n</DL><p>\n

== -f2: control bytes in folder and link names are blanks, so a line feed splits no heading
only posix
args -f2 -x -t T L
file L/a\nb\x1B/c\td\re.url URL=http://c/\r\n
mtime L/a\nb\x1B/c\td\re.url 1
out {BOOK}<DT><H3>a b </H3>\n<DL><p>\n<DT><A HREF="http://c/" ADD_DATE="1">c d e</A>\n</DL><p>\n</DL><p>\n

== -f2 writes valid UTF-8: a byte of a name that begins no UTF-8 sequence is U+FFFD, one of an address %XX
only posix
args -f2 -x -t T U
file U/f\xC3/n\xE9\xE3\x81.url URL=http://x/\xE9\xC3\xA9?\xE3\x81\r\n
mtime U/f\xC3/n\xE9\xE3\x81.url 1
out {BOOK}<DT><H3>f\xEF\xBF\xBD</H3>\n<DL><p>\n<DT><A HREF="http://x/%E9\xC3\xA9?%E3%81" ADD_DATE="1">n{3*\xEF\xBF\xBD}</A>\n</DL><p>\n</DL><p>\n

== .W sections decoded from UTF-7, or the first URL= line; a CR ends a URL= line
args -x W
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n<OL>\n
out <LI><A href="http://b1/">b1</A><BR>\n<LI><A href="http://b2/">b2</A><BR>\n<LI><A href="http://b3/">b3</A><BR>\n<LI><A href="http://b4/">b4</A><BR>\n
out <LI><A href="http://b5/">b5</A><BR>\n<LI><A href="http://b6/">b6</A><BR>\n<LI><A href="http://b7/">b7</A><BR>\n<LI><A href="http://b8/">b8</A><BR>\n
out <LI><A href="http://cr/">cr</A><BR>\n<LI><A href="http://d1/">d1</A><BR>\n<LI><A href="http://d2/">d2</A><BR>\n<LI><A href="http://d3/">d3</A><BR>\n
out <LI><A href="http://d4/">d4</A><BR>\n<LI><A href="http://d5/">d5</A><BR>\n<LI><A href="http://d6/">d6</A><BR>\n<LI><A href="http://\xD1\x80/">d8</A><BR>\n
out <LI><A href="http://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84/">idn</A><BR>\n
out <LI><A href="http://a/?q=1+2&amp;p=\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82/\xF0\x9F\x98\x80.\xEF\xAC\x81\xC3\xBE">path</A><BR>\n<LI><A href="+AOk-">sect</A><BR>\n</OL>\n{FOOT}

== a .url file with a read error gives no link: reported, the page completed, exit status 1
only posix
args -x E
file E/a.url URL=http://a/
link E/mem.url /proc/self/mem
file E/z.url URL=http://z/
exit 1
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n<OL>\n<LI><A href="http://a/">a</A><BR>\n<LI><A href="http://z/">z</A><BR>\n</OL>\n{FOOT}
err "E/mem.url": read error\n

== -f1 with file arguments: comment type, numbered per heading
args -x -f1 Fav/b.url Fav/a.URL x\\y/z.url Fav/News/Daily/d.url
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n
out <H3>[Fav]</H3>\n<DL>\n<DT>01. <A href="http://b/?x=1&amp;y=&quot;2&quot;">b</A>\n<DD> \n<DT>02. <A href="http://a/">a</A>\n<DD> \n</DL><HR>\n
out <H3>[x/y]</H3>\n<DL>\n<DT>01. <A href="http://y/">z</A>\n<DD> \n</DL><HR>\n
out <H3>[Fav/News/Daily]</H3>\n<DL>\n<DT>01. <A href="http://d/">d</A>\n<DD> \n</DL>\n{FOOT}

== the files directly in a second folder argument start a list of their own
args -x Fav/News Fav/Z
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n<OL>\n<LI><A href="http://c/">c&amp;'</A><BR>\n</OL><HR>\n
out <H3>[Daily]</H3>\n<OL>\n<LI><A href="http://d/">d</A><BR>\n</OL><HR>\n<OL>\n<LI><A href="http://z/">\xC3\xBCn\xC3\xAF</A><BR>\n</OL>\n{FOOT}

== links never lead into a folder; what cannot be read is reported and the rest goes on
only posix
as nobody
args -x P P/Locked
file P/q"<>.url URL=http://q/?a<b\r\n
file P/n\nl.url URL=http://nl/\r\n
file P/bad\xFF.url URL=http://bad/\r\n
link P/loop.url .
link P/gone.url nowhere
link P/ln.url q"<>.url
file P/Locked/l.url URL=http://l/
mode P/Locked 0
file P/Shut.url URL=http://shut/
mode P/Shut.url 0
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n<OL>\n<LI><A href="http://bad/">bad\xEF\xBF\xBD</A><BR>\n
out <LI><A href="http://q/?a&lt;b">ln</A><BR>\n<LI><A href="http://nl/">n\nl</A><BR>\n<LI><A href="http://q/?a&lt;b">q&quot;&lt;&gt;</A><BR>\n</OL>\n{FOOT}
err P/Shut.url: cannot read\nP/gone.url: cannot read\nP/loop.url: not a regular file\nP/Locked: cannot read folder\nP/Locked: cannot read folder\n

== only regular files are read: a device or a FIFO (a pipe here), named or through a link, walked or an argument, is reported unread
only posix
args -x R /dev/stdin /dev/zero R/zero.url
file R/a.url URL=http://a/
link R/in.url /dev/stdin
link R/zero.url /dev/zero
stdin URL=http://fifo/\n
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n<OL>\n<LI><A href="http://a/">a</A><BR>\n</OL>\n{FOOT}
err R/in.url: not a regular file\nR/zero.url: not a regular file\n/dev/stdin: not a regular file\n/dev/zero: not a regular file\nR/zero.url: not a regular file\n

== a folder part of two blanks is a folder like any other; "\" alone gives no folder
only posix
args -x "  \\b.url" \\e.url
file \s\s\\b.url URL=b
file \\e.url URL=e
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n<H3>[  ]</H3>\n<OL>\n<LI><A href="b">b</A><BR>\n<LI><A href="e">e</A><BR>\n</OL>\n{FOOT}

== a folder argument with a trailing '/': each message joins it and the name with one '/'
only posix
args -x F/
file F/a.url URL=http://a/
link F/null.url /dev/null
link F/Sub/null.url /dev/null
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n<OL>\n<LI><A href="http://a/">a</A><BR>\n</OL>\n{FOOT}
err F/null.url: not a regular file\nF/Sub/null.url: not a regular file\n

== a message's path is written whole, past 1,024 bytes
only posix
args -x {250*d}
link {250*d}/{250*e}/{250*f}/{250*g}/n.url /dev/null
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n</OL>\n{FOOT}
err {250*d}/{250*e}/{250*f}/{250*g}/n.url: not a regular file\n

== -f2 with icons, tags as one text and a <DD> line per description
args -f2 -x -t T Xt
out {BOOK}<DT><A HREF="http://a/" ADD_DATE="1" ICON_URI="HTTP://i/a.ico" TAGS="t1,t2">a</A>\n<DD>d &lt;&amp;&gt; &quot;q&quot;\n<DT><H3>F,1</H3>\n<DL><p>\n
out <DT><A HREF="http://b/" ADD_DATE="1" ICON_URI="https://i/b.png" TAGS="x,,F 1,y\xC3\xA9,x">b</A>\n<DD>caf\xC3\xA9\n<DT><A HREF="http://c/" ADD_DATE="1" TAGS="k">c</A>\n<DD>plain\n
out <DT><H3>G</H3>\n<DL><p>\n<DT><A HREF="http://d/" ADD_DATE="1">d</A>\n<DD>a?b\n</DL><p>\n</DL><p>\n</DL><p>\n

== -f3: no folders; its folders (',' a blank) lead each link's tags, its own split at ',', none twice
args -f3 -x -t T Xt
out {BOOK}<DT><A HREF="http://a/" ADD_DATE="1" ICON_URI="HTTP://i/a.ico" TAGS="t1,t2">a</A>\n<DD>d &lt;&amp;&gt; &quot;q&quot;\n
out <DT><A HREF="http://b/" ADD_DATE="1" ICON_URI="https://i/b.png" TAGS="F 1,x,y\xC3\xA9">b</A>\n<DD>caf\xC3\xA9\n<DT><A HREF="http://c/" ADD_DATE="1" TAGS="F 1,k">c</A>\n<DD>plain\n
out <DT><A HREF="http://d/" ADD_DATE="1" TAGS="F 1,G">d</A>\n<DD>a?b\n</DL><p>\n

== -f1: the description in the entry's <DD> line
args -f1 -x -t T Xt
out {HEAD}<CENTER><H2>T</H2></CENTER><HR>\n<DL>\n<DT>01. <A href="http://a/">a</A>\n<DD> d &lt;&amp;&gt; &quot;q&quot;\n</DL><HR>\n
out <H3>[F,1]</H3>\n<DL>\n<DT>01. <A href="http://b/">b</A>\n<DD> caf\xC3\xA9\n<DT>02. <A href="http://c/">c</A>\n<DD> plain\n</DL><HR>\n
out <H3>[F,1/G]</H3>\n<DL>\n<DT>01. <A href="http://d/">d</A>\n<DD> a?b\n</DL>\n{FOOT}
