#!/usr/bin/env python3
"""Link page mode as a user would script it: the first URL= line of each .url
file named, as one HTML page (list type) on standard output.

    peer_linkpage.py FILE...

Gives the same page as `favlink FILE...`; a folder is the part of a name
before its last backslash."""
import sys

HEAD = (b'<HTML>\n<HEAD>\n'
        b'<META http-equiv="Content-Type" content="text/html; charset=Shift_JIS">\n'
        b'<TITLE>Favorite Links</TITLE>\n</HEAD>\n<BODY>\n'
        b'<CENTER><H2>Favorite Links From URL Files</H2></CENTER><HR>\n')
TAIL = b'</OL>\n<HR>\n</BODY>\n</HTML>\n'


def main():
    out = [HEAD]
    folder, first = b'  ', True
    for arg in sys.argv[1:]:
        path = arg.encode('utf-8', 'surrogateescape')
        try:
            f = open(path, 'rb')
        except OSError:
            sys.stderr.write(arg + ': not found\n')
            continue
        with f:
            name = path[:path.rfind(b'.')] if b'.' in path else path
            if b'\\' in name:
                here, name = name.rsplit(b'\\', 1)
                if here != folder:
                    if not first:
                        out.append(b'</OL><HR>\n')
                    out.append(b'<H3>[' + here.replace(b'\\', b'/') + b']</H3>\n<OL>\n')
                    folder = here
            elif first:
                out.append(b'<OL>\n')
            first = False
            for line in f:
                if line.startswith(b'URL='):
                    url = line[4:]
                    if url.endswith(b'\n'):
                        url = url[:-1].removesuffix(b'\r')
                    out.append(b'<LI><A href="' + url + b'">' + name + b'</A><BR>\n')
                    break
    out.append(TAIL)
    sys.stdout.buffer.write(b''.join(out))


if __name__ == '__main__':
    main()
