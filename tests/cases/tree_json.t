# -x in shortcut mode: browsers' own JSON bookmark files, laid out as their HTML exports,
# into the same tree of .url files.
lc ja_JP.UTF-8
def U [InternetShortcut]\r\nURL=
def D \r\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}]\r\nProp21=31,
def T \r\n[{F29F85E0-4FF9-1068-AB91-08002B27B3D9}]\r\nProp5=31,

== Chromium: the bar a folder, then the links of other and synced at the top, in that order wherever the file has them
args -v -x -o out B
dir out
# A byte order mark and blanks (more than one read) before the '{'. The bar's "children" come before its name and
# type, as Chromium writes them. Escapes: é, a surrogate pair, a lone surrogate, a quote, a NUL
# (a blank, as control characters become), a line break and a tab in an address (dropped).
file B \xEF\xBB\xBF{5000*\s}\r\n{"checksum":"x","roots":{"bookmark_bar":{"children":[
file B {"date_added":"13258563210000000","name":"Caf\\u00e9 \\ud83d\\ude00 \\ud800 \\"q\\"","type":"url","url":"https://a/\\n\\tb"},
# A folder inside, and one without "children": an empty folder. Dates: 0, and 1970 exactly, are
# none (the time written); not digits: none.
file B {"children":[{"name":"In","type":"url","url":"https://in/","date_added":"0"}],"name":"Sub","type":"folder"},{"name":"Empty","type":"folder"},
# A separator, and fields read past: meta_info of any shape, guid, id, date_last_used.
file B {"type":"separator","name":"sep"},{"meta_info":{"a":[1,{"b":null}],"c":true},"guid":"g","id":"9","name":"Meta","type":"url","url":"https://m/","date_last_used":"5","date_added":"12x"},
# A name that cleans to nothing and a link without "url": passed over as in an HTML file.
file B {"name":"..","type":"url","url":"https://dots/"},{"name":"NoUrl","type":"url"},{"name":"Nul\\u0000x","type":"url","url":"https://nul/"}
file B ],"name":"Bookmarks bar","type":"folder"},
# Roots that are no part of the layout are read past; synced before other in the file.
file B "custom_root":{"children":[{"name":"Opera","type":"url","url":"https://opera/"}]},"sync_transaction_version":"1",
# Scripts as in an href: the page a window.open opens, else passed over.
file B "synced":{"children":[{"name":"Top","type":"url","url":"https://phone/"},{"name":"Js","type":"url","url":"JAVASCRIPT:window.open('https://js/')"},{"name":"Bm","type":"url","url":"javascript:alert(1)"}],"name":"Mobile bookmarks","type":"folder"},
file B "other":{"children":[{"name":"Top","type":"url","url":"https://top/","date_added":"11644473600000000"},{"children":[{"name":"Deep","type":"url","url":"https://deep/","date_added":"11644473600999999"}],"name":"OtherF","type":"folder"}],"name":"Other bookmarks","type":"folder"},
file B "trash":{"children":[{"name":"T","type":"url","url":"https://t/"}]}},"version":1}\n
err [..]: invalid name for the link of "https://dots/"\n["javascript:alert(1)"]: can not recognize URL string\n8 written, 0 already there, 3 passed over\n
new out/Bookmarks\sbar/
new out/Bookmarks\sbar/Caf\xC3\xA9\s\xF0\x9F\x98\x80\s\xEF\xBF\xBD\s'q'.url {U}https://a/b\r\n
newtime out/Bookmarks\sbar/Caf\xC3\xA9\s\xF0\x9F\x98\x80\s\xEF\xBF\xBD\s'q'.url 1614089610
new out/Bookmarks\sbar/Sub/
new out/Bookmarks\sbar/Sub/In.url {U}https://in/\r\n
newtime out/Bookmarks\sbar/Sub/In.url now
new out/Bookmarks\sbar/Empty/
new out/Bookmarks\sbar/Meta.url {U}https://m/\r\n
newtime out/Bookmarks\sbar/Meta.url now
new out/Bookmarks\sbar/Nul\sx.url {U}https://nul/\r\n
new out/Top.url {U}https://top/\r\n
newtime out/Top.url now
new out/OtherF/
new out/OtherF/Deep.url {U}https://deep/\r\n
newtime out/OtherF/Deep.url now
new out/Top\s(2).url {U}https://phone/\r\n
new out/Js.url {U}https://js/\r\n

== Chromium: surrogate escapes in upper case, a lone low half, a private use character, a high half before a letter, and a pair across the end of a read
args -v -x B
file B {"roots":{"other":{"children":[{"type":"url","url":"https://x/","guid":"{65448*a}","name":"\\ud83d\\ude00"},
file B {"type":"url","url":"https://y/","name":"\\uD83D\\uDE00\\uDC00\\uE000\\ud800\\u0041\\udfff"}]}}}
err 2 written, 0 already there, 0 passed over\n
new \xF0\x9F\x98\x80.url {U}https://x/\r\n
new \xF0\x9F\x98\x80\xEF\xBF\xBD\xEE\x80\x80\xEF\xBF\xBDA\xEF\xBF\xBD.url {U}https://y/\r\n

== Chromium: -s takes a top-level folder by its name, wherever its root stands
args -v -x -s OtherF -o out B
dir out
file B {"roots":{"bookmark_bar":{"children":[{"children":[],"name":"OtherF","type":"folder"},{"name":"A","type":"url","url":"https://a/"}],"name":"Bar","type":"folder"},
file B "other":{"children":[{"name":"B","type":"url","url":"https://b/"},{"children":[{"children":[{"name":"C","type":"url","url":"https://c/"}],"name":"In","type":"folder"}],"name":"OtherF","type":"folder"},{"name":"D","type":"url","url":"https://d/"}]}}}
err 1 written, 0 already there, 0 passed over\n
new out/In/
new out/In/C.url {U}https://c/\r\n

== Chromium: empty roots; the bar is a folder even when empty, as the export writes it
args -v -x -o out B
dir out
file B {"roots":{"bookmark_bar":{"children":[],"name":"B","type":"folder"},"other":{"children":[]},"synced":{}}}
err 0 written, 0 already there, 0 passed over\n
new out/B/

== Firefox: the menu at the top, the other roots folders by the names Firefox shows, tags from the tag folders
# -c has no effect on a JSON file, which is UTF-8.
args -v -x -c shift_jis -o out F
dir out
file F {"title":"","type":"text/x-moz-place-container","root":"placesRoot","children":[
# The toolbar first in the file, titled by its internal name.
file F {"title":"toolbar","type":"text/x-moz-place-container","root":"toolbarFolder","children":[{"title":"TB","type":"text/x-moz-place","uri":"https://tb/","dateAdded":-1500000,"tags":"own,news"}]},
# The menu's links: a description among other annotations, an http icon (iconuri), a data: one
# (not kept), a separator, a place: address, a node without "uri" (no link), an empty folder
# without "children", and a trailing comma as Firefox 3 wrote.
file F {"title":"menu","type":"text/x-moz-place-container","root":"bookmarksMenuFolder","children":[
file F {"title":"Menu \\u00e9","type":"text/x-moz-place","uri":"https://menu/","dateAdded":1600000000999999,"iconuri":"https://i/x.ico","annos":[{"name":"other","value":5},{"value":"Two\\nlines  \\u00e9","name":"bookmarkProperties/description"}]},
file F {"type":"text/x-moz-place-separator"},{"title":"Sub","type":"text/x-moz-place-container","children":[{"title":"Q","type":"text/x-moz-place","uri":"place:sort=8","iconUri":"data:image/png;base64,AAA"}]},
file F {"title":"NoUri","type":"text/x-moz-place"},{"title":"Empty","type":"text/x-moz-place-container"},]},
# Tag folders: news holds two addresses, zz one; TB names news itself.
file F {"title":"tags","type":"text/x-moz-place-container","root":"tagsFolder","children":[{"title":"news","type":"text/x-moz-place-container","children":[{"type":"text/x-moz-place","uri":"https://tb/"},{"type":"text/x-moz-place","uri":"https://menu/"}]},{"title":"zz","type":"text/x-moz-place-container","children":[{"type":"text/x-moz-place","uri":"https://menu/"}]}]},
# An empty title: the shown name; an empty mobile root: no folder.
file F {"title":"","type":"text/x-moz-place-container","root":"unfiledBookmarksFolder","children":[{"title":"U","type":"text/x-moz-place","uri":"https://u/"}]},
file F {"title":"mobile","type":"text/x-moz-place-container","root":"mobileFolder","children":[]},]}
err 4 written, 0 already there, 0 passed over\n
new out/Menu\s\xC3\xA9.url {U}https://menu/\r\nIconIndex=1\r\nIconFile=https://i/x.ico{D}Two lines ?\r\n[{5CBF2787-48CF-4208-B90E-EE5E5D420294}.W]\r\nProp21=31,Two lines +AOk-{T}news,zz\r\n
newtime out/Menu\s\xC3\xA9.url 1600000000
new out/Sub/
new out/Sub/Q.url {U}place:sort=8\r\n
new out/Empty/
new out/Bookmarks\sToolbar/
new out/Bookmarks\sToolbar/TB.url {U}https://tb/{T}own,news\r\n
newtime out/Bookmarks\sToolbar/TB.url -2
new out/Other\sBookmarks/
new out/Other\sBookmarks/U.url {U}https://u/\r\n

== Firefox: a compressed backup (.jsonlz4), and -s by a shown name
args -v -x -s Other\sBookmarks -o out F.jsonlz4
dir out
# {"type":"text/x-moz-place-container","root":"placesRoot","children":[{"type":...,"root":
# "unfiledBookmarksFolder","children":[{"title":"One",...,"uri":"https://one.example/"},
# {"title":"Two",...,"uri":"https://one.example/two"}]}]}
file F.jsonlz4 mozLz40\x00*\x01\x00\x00\xF1\x1E\x7B"type":"text/x-moz-place-container","root":"\x19\x00\x20sR\x0D\x00\xDF,"children":[E\x00\x1A\xF1\x05unfiledBookmarksFolde\x00\x0AQ\x000itl\x97\x00_One",\xA4\x00\x05\xF6\x11","uri":"https://one.example/"\x7D,G\x00?TwoG\x00$\x90two"\x7D]\x7D]\x7D
err 2 written, 0 already there, 0 passed over\n
new out/One.url {U}https://one.example/\r\n
new out/Two.url {U}https://one.example/two\r\n

== bad input: cut short; nothing is written, whatever came before the fault
args -v -x B
file B {"roots":{"bookmark_bar":{"children":[{"type":"url","name":"a","url":"http://a/"},\n{"type":"url","name":"b","url":"http://b/"
err B: not a bookmark file (the text ends early, line 2)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: a missing comma
args -v -x B
file B {"roots":{"other":{"children":[{"type":"url","name":"a","url":"http://a/"}\n{"type":"url","name":"b","url":"http://b/"}]}}}
err B: not a bookmark file (a ',' or ']' missing, line 2)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: neither layout at the top (a Firefox node that is not the places root)
args -v -x B
file B {"type":"text/x-moz-place-container","root":"menuFolder","children":[]}\n
err B: not a bookmark file (no Chromium "roots" and no Firefox "placesRoot" at the top, line 1)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: a number where a string is expected
args -v -x B
file B {"roots":{"other":{"children":[{"type":"url","name":"a","url":"http://a/"},\n{"type":"url","name":5,"url":"http://b/"}]}}}
err B: not a bookmark file ("name" is not a string, line 2)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: nested deeper than a folder tree may be
args -v -x B
file B {"roots":{"other":{"meta_info":{20010*[}
err B: not a bookmark file (nested deeper than 20004 levels, line 1)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: a compressed file whose block does not decode to its stated size, or too short for its header
args -v -x F.jsonlz4
file F.jsonlz4 mozLz40\x00\x10\x00\x00\x00\x50{"a":1\x7D
err F.jsonlz4: not a bookmark file (damaged LZ4 block)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: an object where an array is expected
args -v -x B
file B {"roots":{"other":{"children":{}}}}
err B: not a bookmark file ("children" is not an array, line 1)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: text after the end
args -v -x B
file B {"roots":{}}\n]
err B: not a bookmark file (text after the end, line 2)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: not a value
args -v -x B
file B {"roots":{"other":tru}}
err B: not a bookmark file (not a JSON value, line 1)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: a \u escape without its four hex digits
args -v -x B
file B {"roots":{"other":{"children":[{"name":"\\u12G4"}]}}}
err B: not a bookmark file (a \\u escape without 4 hex digits, line 1)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: an unknown escape
args -v -x B
file B {"roots":{"other":{"children":[{"name":"\\q"}]}}}
err B: not a bookmark file (an unknown escape or a control character in a string, line 1)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: a tab that is not escaped, in a string
args -v -x B
file B {"roots":{"other":{"children":[{"name":"a\tb"}]}}}
err B: not a bookmark file (an unknown escape or a control character in a string, line 1)\n0 written, 0 already there, 0 passed over\n
exit 1

== bad input: a NUL byte in a string
args -v -x B
file B {"roots":{"other":{"children":[{"name":"a\0b"}]}}}
err B: not a bookmark file (a string not closed, or a NUL byte in it, line 1)\n0 written, 0 already there, 0 passed over\n
exit 1
