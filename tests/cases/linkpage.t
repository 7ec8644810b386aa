# Link page mode: one dense run per page type. Every .url file below has a
# job: an argument order that walks the folder rules, a reading rule of the
# link line, or a numbering rule.
def HEAD <HTML>\n<HEAD>\n<META http-equiv="Content-Type" content="text/html; charset=Shift_JIS">\n<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n
def FOOT <HR>\n</BODY>\n</HTML>\n
def U [InternetShortcut]\r\nURL=

== comment type: folders, numbering, unreadable files and the link line rules
args -t T&<\x83\x5C> -f1 missing.url dir.url top.url none.url a.b.url News\\b.url News\\c.url news\\d.url News\\e.url Tech\\Web\\f.url g.url my.dir\\page .\\h.url \x83\x5C\x83t\x83g\\s.url {8*k.url }k.url
# missing.url, and the folder dir.url, are not found.
dir dir.url
# The first file opens the top list; < > & as they stand.
file top.url {U}http://top.example/?a=1&b=<2>\r\n
# No line begins with exactly URL=: no entry.
file none.url [InternetShortcut]\r\nurl=http://lower/\r\n URL=http://blank/\r\nURLx\r\n
# The first URL= line counts, even an empty one.
file News\\b.url {U}\r\nURL=http://second/\r\n
# Any section, LF line ends.
file News\\c.url [Other]\nURL=http://c/\nURL=http://c2/
# news is not News: a heading of its own; a CR in the address stays.
file news\\d.url {U}a\rb\r\n
# News again gets a second heading; a NUL ends the address.
file News\\e.url {U}nul\0tail\r\n
# A folder of two levels; URL= right after a first piece of 2047 bytes starts a line.
file Tech\\Web\\f.url {2047*x}URL=piece\r\n
# Without a folder: joins Tech/Web's list; an address cut to 2043 bytes.
file g.url {64999*z}\nURL={2050*u}\r\n
# The last full stop is in the folder part: the entry my, without a folder; lines of
# exactly 2047 bytes, and the address's CR LF split across the 64 KiB mark.
file my.dir\\page {31*{2047*x}\n}{2038*x}\nURL=seam\r\n
# The last full stop cuts: a.b, joining the top list; a Shift_JIS address.
file a.b.url {U}\x82\xA0\r\n
# The folder '.'; no line end.
file .\\h.url {U}h
# The 0x5C of ソ is no folder separator.
file \x83\x5C\x83t\x83g\\s.url {U}s\r\n
# Nine times k.url: numbers up to 10.
file k.url {U}k\r\n
out {HEAD}<CENTER><H2>T&<\x83\x5C></H2></CENTER><HR>\n<DL>\n
out <DT>01. <A href="http://top.example/?a=1&b=<2>">top</A>\n<DD> \n<DT>02. <A href="\x82\xA0">a.b</A>\n<DD> \n</DL><HR>\n
out <H3>[News]</H3>\n<DL>\n<DT>01. <A href="">b</A>\n<DD> \n<DT>02. <A href="http://c/">c</A>\n<DD> \n</DL><HR>\n
out <H3>[news]</H3>\n<DL>\n<DT>01. <A href="a\rb">d</A>\n<DD> \n</DL><HR>\n
out <H3>[News]</H3>\n<DL>\n<DT>01. <A href="nul">e</A>\n<DD> \n</DL><HR>\n
out <H3>[Tech/Web]</H3>\n<DL>\n<DT>01. <A href="piece">f</A>\n<DD> \n<DT>02. <A href="{2043*u}">g</A>\n<DD> \n
out <DT>03. <A href="seam">my</A>\n<DD> \n</DL><HR>\n<H3>[.]</H3>\n<DL>\n<DT>01. <A href="h">h</A>\n<DD> \n</DL><HR>\n
out <H3>[\x83\x5C\x83t\x83g]</H3>\n<DL>\n<DT>01. <A href="s">s</A>\n<DD> \n<DT>02. <A href="k">k</A>\n<DD> \n<DT>03. <A href="k">k</A>\n<DD> \n<DT>04. <A href="k">k</A>\n<DD> \n<DT>05. <A href="k">k</A>\n<DD> \n<DT>06. <A href="k">k</A>\n<DD> \n<DT>07. <A href="k">k</A>\n<DD> \n<DT>08. <A href="k">k</A>\n<DD> \n<DT>09. <A href="k">k</A>\n<DD> \n<DT>10. <A href="k">k</A>\n<DD> \n
out </DL>\n{FOOT}
err missing.url: not found\ndir.url: not found\n

== list type (-f saturates, never wraps to 1): the first file opens a folder list, a file without a folder joins it
args -f4294967297 News\\b.url top.url Tech\\c.url x/y.url
file News\\b.url {U}b\r\n
file top.url {U}t\r\n
file Tech\\c.url {U}c\r\n
file x/y.url {U}y\r\n
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n<H3>[News]</H3>\n<OL>\n<LI><A href="b">b</A><BR>\n
out <LI><A href="t">top</A><BR>\n</OL><HR>\n<H3>[Tech]</H3>\n<OL>\n<LI><A href="c">c</A><BR>\n<LI><A href="y">x/y</A><BR>\n</OL>\n{FOOT}

== the page starts in the folder "  " (two blanks): its files get no heading and open no list; "\" gives the folder "" a heading
only posix
args "  \\b.url" c.url \\e.url
file \s\s\\b.url {U}b\r\n
file c.url {U}c\r\n
file \\e.url {U}e\r\n
out {HEAD}<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n<LI><A href="b">b</A><BR>\n<LI><A href="c">c</A><BR>\n
out </OL><HR>\n<H3>[]</H3>\n<OL>\n<LI><A href="e">e</A><BR>\n</OL>\n{FOOT}
