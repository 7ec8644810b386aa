#!/usr/bin/env python3
# Runs favlink on the cases of case files and compares exit status, standard
# output, standard error and every file in the case's folder, byte for byte.
#
#   run.py [--windows] [--invert] PROG CASEFILE...     (PROG split like a shell line)
#   exit 0: every case passed or was skipped; 1: a failure (or no case); 77: all skipped
#
# A case starts with "== title"; each following line is "key value". Lines
# before the first case belong to every case of the file.
#   args A "b c"     arguments, split at blanks ("" groups), then unescaped
#   stdin / file NAME / dir NAME / link NAME TARGET / mode NAME 0755: made first
#   mtime NAME SECONDS  NAME's modification (and access) time, set once all is made
#   newtime NAME SECONDS  NAME's modification time after the run (now: within an hour of it, shown -1)
#   as nobody        run as uid 65534;   disk N: the folder is a tmpfs left N blocks free
#   inodes N         the folder is a tmpfs of N inodes (itself and every file count)
#   stdout full      standard output is /dev/full;   only posix|windows
#   lc LOCALE        Wine's locale (default $FAVLINK_WINE_LC_ALL): ja_JP.UTF-8 keeps the
#                    CP932 code page but stores file names as UTF-8
#   exit N (default 0);  out / err (repeatable, appended)
#   new NAME         a file the run makes, mode 0666 under umask 0, with the folders above it
#                    (NAME/ : a folder, mode 0777); nothing else may appear
# Values are CP932 bytes with \n \r \t \0 \\ \s \xNN; {N*text} repeats; {NAME} is
# a "def NAME value" line, {SEP} the path separator. --windows: an LF expected on
# stdout/stderr is CR LF, a backslash in a NAME (no Shift_JIS second byte) is a
# folder, and modes are not compared (Wine sets none of its own). --invert: every
# case must fail (shows that the runner compares at all).
# A failing case shows the exit status, and a path's kind or mode, in one line each;
# standard output, standard error and file bodies as a unified diff of their lines
# (expected -, got +), each line written in the notation of values above, bytes
# outside printable ASCII as \xNN.
import difflib, os, re, shlex, shutil, subprocess, sys, tempfile, time

ESC = {'n': b'\n', 'r': b'\r', 't': b'\t', '0': b'\0', '\\': b'\\', 's': b' ', '"': b'"'}


def expand(text, defs):
    text = re.sub(r'\{([A-Z]+)\}', lambda m: defs[m[1]], text)
    while (t := re.sub(r'\{(\d+)\*([^{}]*)\}', lambda m: m[2] * int(m[1]), text)) != text:
        text = t   # innermost repeats first
    return text


def unescape(text, defs):
    return b''.join(bytes([int(e[1:], 16)]) if e[:1] == 'x' else ESC[e] if e else t.encode('cp932')
                    for e, t in re.findall(r'\\(x..|.)|([^\\]+)', expand(text, defs)))


def host_name(name, windows):   # on Windows a backslash that is no Shift_JIS second byte is a folder
    return os.fsdecode(b''.join(b'/' if windows and p == b'\\' else p
                                for p in re.findall(rb'[\x80-\x9F\xE0-\xFC].|.', name, re.S)))


def tree(top, windows):
    # {path: ("link", target) or (bytes or "dir", mode)} of everything below top
    found = {}
    for root, dirs, files in os.walk(top):
        for p in (os.path.join(root, n) for n in dirs + files if not n.startswith('.fill')):
            found[os.path.relpath(p, top)] = ('link', os.readlink(p)) if os.path.islink(p) else (
                'dir' if os.path.isdir(p) else open(p, 'rb').read(), (not windows) * os.stat(p).st_mode & 0o7777)
    return found


def run_case(cmd, lines, defs, windows):
    c, new, steps = {'args': '', 'stdin': b'', 'out': b'', 'err': b'', 'exit': '0'}, {}, []
    for key, rest in lines:
        name, _, val = rest.partition(' ')
        if key in ('file', 'dir', 'link', 'mode', 'new', 'mtime', 'newtime'):
            steps.append((key, host_name(unescape(name, defs), windows), unescape(val, defs)))
        else:
            c[key] = c[key] + unescape(rest, defs) if key in ('out', 'err', 'stdin') else rest
    if c.get('only', ['posix', 'windows'][windows]) != ['posix', 'windows'][windows] or (
            ('disk' in c or 'inodes' in c or 'as' in c) and os.geteuid() != 0):
        return None   # not for this platform, or needs root
    with tempfile.TemporaryDirectory() as top, tempfile.TemporaryDirectory() as bin_dir:
        os.chmod(top, 0o777)
        if 'as' in c:   # a copy another user can surely run, wherever the build is
            os.chmod(bin_dir, 0o755)
            cmd = [shutil.copy(cmd[0], bin_dir)] + cmd[1:]
        if 'disk' in c or 'inodes' in c:
            subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=256k' + (',nr_inodes=' + c.get('inodes', '')) * ('inodes' in c),
                            'tmpfs', top], check=True)
        try:
            for key, name, val in (s for s in steps if s[0] not in ('new', 'mtime', 'newtime')):
                p = os.path.join(top, name)
                os.makedirs(p if key == 'dir' else os.path.dirname(p), exist_ok=True)
                if key == 'file':
                    open(p, 'ab').write(val)
                elif key in ('link', 'mode'):
                    os.symlink(os.fsdecode(val), p) if key == 'link' else os.chmod(p, int(val, 8))
            for name, t in ((n, int(v)) for key, n, v in steps if key == 'mtime'):
                os.utime(os.path.join(top, name), (t, t))
            while 'disk' in c and os.statvfs(top).f_bavail > int(c['disk']):   # leave N blocks free
                open(os.path.join(top, f'.fill{len(os.listdir(top))}'), 'wb').write(bytes(os.statvfs(top).f_bsize))
            want = tree(top, windows)
            args = [unescape(a.strip('"'), defs) for a in re.findall(r'"[^"]*"|[^ ]+', expand(c['args'], defs))]
            old = os.umask(0)
            r = subprocess.run(cmd + args, cwd=top, input=c['stdin'], stderr=subprocess.PIPE, timeout=60,
                               stdout=open('/dev/full', 'wb') if 'stdout' in c else subprocess.PIPE,
                               user=65534 if 'as' in c else None, env=dict(os.environ, WINEDEBUG='-all',
                               LC_ALL=c.get('lc', os.environ.get('FAVLINK_WINE_LC_ALL', 'C')) if windows else 'C'))
            os.umask(old)
            got = {'exit': r.returncode, 'stdout': r.stdout or b'', 'stderr': r.stderr, **tree(top, windows)}
            got.update({'time of ' + n: (lambda t: -1 if abs(t - time.time()) < 3600 else t)(int(os.stat(os.path.join(top, n)).st_mtime))
                        if os.path.exists(os.path.join(top, n)) else None for key, n, v in steps if key == 'newtime'})
        finally:
            if 'disk' in c or 'inodes' in c:
                subprocess.run(['umount', top], check=True)
    for n in (n for key, n, v in steps if key == 'new'):   # "new a/b/": a folder; parents come along
        want.update({n[:i]: ('dir', (not windows) * 0o777) for i, ch in enumerate(n) if ch == '/' and n[:i] not in want})
    want.update({n: (v, (not windows) * 0o666) for key, n, v in steps if key == 'new' and n[-1:] != '/'})
    crlf = (lambda b: re.sub(rb'(?<!\r)\n', b'\r\n', b) if windows else b)
    want.update(exit=int(c['exit']), stdout=crlf(c['out']), stderr=crlf(c['err']))
    want.update({'time of ' + n: -1 if v == b'now' else int(v) for key, n, v in steps if key == 'newtime'})
    return [line for k in dict.fromkeys([*want, *got]) if want.get(k) != got.get(k)
            for line in differences(k, want.get(k), got.get(k))]


def shown(data):   # one line per LF, each written as a case file writes a value
    esc = {'\n': '\\n', '\r': '\\r', '\t': '\\t', '\0': '\\0'}
    return [re.sub(r'[\x00-\x1f\x7f]', lambda m: esc.get(m[0], f'\\x{ord(m[0]):02x}'),
                   line.replace(b'\\', b'\\\\').decode('ascii', errors='backslashreplace'))
            for line in re.findall(rb'[^\n]*\n|[^\n]+', data)]


def describe(v):   # the exit status, or what stands at a path, in a few words
    return ('nothing' if v is None else str(v) if isinstance(v, int) else f'a link to {v[1]!r}' if v[0] == 'link'
            else f'{"a folder" if v[0] == "dir" else "a file"}, mode {v[1]:04o}')


def differences(k, want, got):   # the exit status, a path's kind or mode: a line; texts: a diff
    text = k in ('stdout', 'stderr')
    w, g = (v if text else v[0] if isinstance(v, tuple) and isinstance(v[0], bytes) else b'' for v in (want, got))
    head = f'{k}:' if text or describe(want) == describe(got) else f'{k}: expected {describe(want)}, got {describe(got)}'
    return [head, *('  ' + d for d in difflib.unified_diff(shown(w), shown(g), 'expected', 'got', lineterm=''))]


def main(argv):
    windows, invert = '--windows' in argv, '--invert' in argv
    prog, *files = [a for a in argv if not a.startswith('--')]
    cmd = [os.path.abspath(w) if os.path.exists(w) else w for w in shlex.split(prog)]
    counts = {'passed': 0, 'failed': 0, 'skipped': 0}
    for path in files:
        cases, common, defs = [], [], {'SEP': '\\\\' if windows else '/'}
        for key, _, rest in (line.partition(' ') for line in open(path, encoding='utf-8').read().splitlines()):
            if key == '==':
                cases.append((rest, list(common)))
            elif key == 'def':
                defs.update([rest.split(' ', 1)])
            elif key and not key.startswith('#'):
                (cases[-1][1] if cases else common).append((key, rest))
        for title, lines in cases:
            bad = run_case(cmd, lines, defs, windows)
            counts['skipped' if bad is None else 'passed' if bool(bad) == invert else 'failed'] += 1
            if bad is not None and bool(bad) != invert:
                print(f'FAIL {path}: {title}\n  ' + ('\n  '.join(bad) or 'passed, but should fail'))
    print(', '.join(f'{n} {k}' for k, n in counts.items()))
    # 77, skipped: every case was for the other platform or needs root
    return 1 if counts['failed'] or not counts['passed'] + counts['skipped'] else 0 if counts['passed'] else 77


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
