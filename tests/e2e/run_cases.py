#!/usr/bin/env python3
"""End-to-end case runner for favlink.

Usage:
    python3 tests/e2e/run_cases.py --prog "COMMAND" [--platform posix|windows]
                                   [--only SUBSTRING] [--keep] CASEFILE...

Each case runs the program in a fresh temporary directory and compares the
exit status, standard output, standard error and the resulting folder tree
with what the case expects.  See README.md next to this file for the case
file format.  Standard library only.
"""

import argparse
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

TIMEOUT_SECONDS = 60
CONTEXT_BYTES = 400

PLATFORMS = ("posix", "windows")

# Keys that take a path name between the key word and the colon.
NAMED_KEYS = ("file", "dir", "mode", "symlink", "created", "changed")
PLAIN_KEYS = ("args", "stdin", "exit", "stdout", "stderr", "platform")

SIMPLE_ESCAPES = {
    "n": b"\n",
    "r": b"\r",
    "t": b"\t",
    "0": b"\0",
    "\\": b"\\",
    "s": b" ",
    '"': b'"',
}

HEX_DIGITS = "0123456789abcdefABCDEF"


class CaseError(Exception):
    """A mistake in a case file.  Always fatal: the case file must be fixed."""


# ---------------------------------------------------------------------------
# Value decoding

def decode(text, sep=b"/"):
    """Decode the escapes, repetitions and {SEP} tokens of a value to bytes."""
    out, pos = _decode_until(text, 0, sep, inside_repeat=False)
    assert pos == len(text)
    return out


def _decode_until(text, pos, sep, inside_repeat):
    out = bytearray()
    n = len(text)
    while pos < n:
        if inside_repeat and text.startswith("}}", pos):
            return bytes(out), pos
        ch = text[pos]
        if ch == "\\":
            if pos + 1 >= n:
                raise CaseError("backslash at end of value: %r" % text)
            esc = text[pos + 1]
            if esc in SIMPLE_ESCAPES:
                out += SIMPLE_ESCAPES[esc]
                pos += 2
            elif esc == "x":
                digits = text[pos + 2:pos + 4]
                if len(digits) != 2 or any(d not in HEX_DIGITS for d in digits):
                    raise CaseError("\\x needs two hex digits: %r" % text)
                out.append(int(digits, 16))
                pos += 4
            else:
                raise CaseError("unknown escape \\%s in %r" % (esc, text))
        elif text.startswith("{SEP}", pos):
            out += sep
            pos += 5
        elif text.startswith("{{", pos):
            m = re.compile(r"\{\{([0-9]+)\*").match(text, pos)
            if not m:
                raise CaseError("malformed repetition, expected {{N*text}}: %r"
                                % text)
            body, end = _decode_until(text, m.end(), sep, inside_repeat=True)
            if not text.startswith("}}", end):
                raise CaseError("unterminated repetition {{...}} in %r" % text)
            out += body * int(m.group(1))
            pos = end + 2
        else:
            out += ch.encode("ascii")
            pos += 1
    if inside_repeat:
        raise CaseError("unterminated repetition {{...}} in %r" % text)
    return bytes(out), pos


def split_args(text, sep=b"/"):
    """Split an args value on blanks, honouring double quotes, then decode."""
    raw = []
    cur = []
    started = False
    quoted = False
    i = 0
    n = len(text)
    while i < n:
        ch = text[i]
        if ch == "\\":
            # Keep the escape for decode(); only skip over it here so that
            # \" is not taken as a quote.
            cur.append(text[i:i + 2])
            started = True
            i += 2
            continue
        if ch == '"':
            quoted = not quoted
            started = True
        elif ch in " \t" and not quoted:
            if started:
                raw.append("".join(cur))
                cur = []
                started = False
        else:
            cur.append(ch)
            started = True
        i += 1
    if quoted:
        raise CaseError("unterminated double quote in args: %r" % text)
    if started:
        raw.append("".join(cur))
    return [decode(a, sep) for a in raw]


def windows_name(name):
    """A backslash in a name is a byte of the name on POSIX.  A Windows file
    name cannot hold one, so there it separates folders: "News\\b.url" is
    the file b.url in the folder News, which the same argument names.  The
    second byte of a Shift_JIS character (0x83 0x5C) stays what it is."""
    out = bytearray()
    i = 0
    while i < len(name):
        c = name[i]
        if (0x81 <= c <= 0x9F or 0xE0 <= c <= 0xFC) and i + 1 < len(name):
            out += name[i:i + 2]
            i += 2
            continue
        out.append(0x2F if c == 0x5C else c)
        i += 1
    return bytes(out)


def check_name(name):
    """A file name in a case: relative, '/'-separated, no '.' or '..' parts."""
    if not name:
        raise CaseError("empty file name")
    if name.startswith(b"/"):
        raise CaseError("file name must be relative: %r" % name)
    parts = name.rstrip(b"/").split(b"/")
    for part in parts:
        if part in (b"", b".", b".."):
            raise CaseError("bad component in file name: %r" % name)
    return b"/".join(parts)


# ---------------------------------------------------------------------------
# Case file parsing

class Case:
    def __init__(self, heading, path, line):
        self.heading = heading
        self.path = path
        self.line = line
        self.args = []
        self.args_seen = False
        self.stdin = b""
        self.exit = None
        self.stdout = b""
        self.stderr = b""
        self.platform = None
        self.setup = []       # (kind, name) in order of first appearance
        self.files = {}       # name -> bytes
        self.dirs = set()
        self.symlinks = {}    # name -> target bytes
        self.modes = []       # (name, int)
        self.created = {}     # name -> bytes
        self.changed = {}     # name -> bytes

    def where(self):
        return "%s:%d" % (self.path, self.line)


def parse_cases(data, path="<cases>", platform="posix"):
    """Parse the bytes of a case file into a list of Case objects."""
    sep = b"\\" if platform == "windows" else b"/"
    cases = []
    heading = None
    heading_used = True
    case = None
    seen_headings = set()
    for lineno, raw in enumerate(data.split(b"\n"), 1):
        if raw.endswith(b"\r"):
            raw = raw[:-1]
        try:
            line = raw.decode("ascii")
        except UnicodeDecodeError:
            raise CaseError("%s:%d: non-ASCII byte; use \\xNN escapes"
                            % (path, lineno))
        try:
            if case is None:
                if line.startswith("## "):
                    heading = line[3:].strip()
                    heading_used = False
                    if not heading:
                        raise CaseError("empty heading")
                elif line.rstrip() == "~~~~ case":
                    if heading is None or heading_used:
                        raise CaseError("case block without its own ## heading")
                    if heading in seen_headings:
                        raise CaseError("duplicate heading %r" % heading)
                    seen_headings.add(heading)
                    heading_used = True
                    case = Case(heading, path, lineno)
                elif line.startswith("~~~~"):
                    raise CaseError("stray fence %r" % line)
                continue
            if line.rstrip() == "~~~~":
                finish_case(case, platform)
                cases.append(case)
                case = None
                continue
            if line.startswith("~~~~"):
                raise CaseError("fence %r inside a case block" % line)
            stripped = line.lstrip(" \t")
            if not stripped or stripped.startswith("#"):
                continue
            if stripped != stripped.rstrip(" \t"):
                raise CaseError("trailing blank on line; write \\s or \\t")
            parse_field(case, stripped, sep)
        except CaseError as e:
            msg = str(e)
            if not msg.startswith(path + ":"):
                msg = "%s:%d: %s" % (path, lineno, msg)
            raise CaseError(msg)
    if case is not None:
        raise CaseError("%s:%d: case block %r is not closed with ~~~~"
                        % (path, case.line, case.heading))
    return cases


def parse_field(case, line, sep):
    if ": " in line:
        key, value = line.split(": ", 1)
    elif line.endswith(":"):
        key, value = line[:-1], ""
    else:
        key, value = line, None
    word, _, name_text = key.partition(" ")

    if word in PLAIN_KEYS:
        if name_text:
            raise CaseError("key %r takes no name" % word)
        if value is None:
            raise CaseError("missing ': ' after %r" % word)
        if word == "args":
            if case.args_seen:
                raise CaseError("args given twice")
            case.args_seen = True
            case.args = split_args(value, sep)
        elif word == "stdin":
            case.stdin += decode(value, sep)
        elif word == "stdout":
            case.stdout += decode(value, sep)
        elif word == "stderr":
            case.stderr += decode(value, sep)
        elif word == "exit":
            if case.exit is not None:
                raise CaseError("exit given twice")
            try:
                case.exit = int(value.strip())
            except ValueError:
                raise CaseError("exit needs a number: %r" % value)
        elif word == "platform":
            if value.strip() not in PLATFORMS:
                raise CaseError("platform must be posix or windows: %r" % value)
            case.platform = value.strip()
        return

    if word not in NAMED_KEYS:
        raise CaseError("unknown key %r" % word)

    if word == "dir":
        if name_text and value is not None:
            raise CaseError("write 'dir NAME' or 'dir: NAME'")
        name_text = name_text or (value or "")
        name = check_name(decode(name_text))
        if name in case.files or name in case.symlinks:
            raise CaseError("%r is given both as dir and as another entry" % name)
        if name not in case.dirs:
            case.dirs.add(name)
            case.setup.append(("dir", name))
        return

    if not name_text:
        raise CaseError("key %r needs a name" % word)
    if value is None:
        raise CaseError("missing ': ' after %r" % key)
    # Names are host paths: {SEP} is always '/' there.
    name = check_name(decode(name_text))

    if word == "file":
        if name in case.dirs or name in case.symlinks:
            raise CaseError("%r is given both as file and as another entry" % name)
        if name not in case.files:
            case.files[name] = b""
            case.setup.append(("file", name))
        case.files[name] += decode(value, sep)
    elif word == "symlink":
        if name in case.symlinks or name in case.files or name in case.dirs:
            raise CaseError("symlink %r given twice or clashes" % name)
        case.symlinks[name] = decode(value, sep)
        case.setup.append(("symlink", name))
    elif word == "mode":
        try:
            case.modes.append((name, int(value.strip(), 8)))
        except ValueError:
            raise CaseError("mode needs an octal number: %r" % value)
    elif word == "created":
        case.created[name] = case.created.get(name, b"") + decode(value, sep)
    elif word == "changed":
        case.changed[name] = case.changed.get(name, b"") + decode(value, sep)


def windows_names(case):
    """Turns the backslashes of a case's names into folders (windows_name)."""
    def conv(name):
        return check_name(windows_name(name))
    case.setup = [(kind, conv(name)) for kind, name in case.setup]
    case.files = {conv(n): v for n, v in case.files.items()}
    case.dirs = {conv(n) for n in case.dirs}
    case.symlinks = {conv(n): v for n, v in case.symlinks.items()}
    case.modes = [(conv(n), m) for n, m in case.modes]
    case.created = {conv(n): v for n, v in case.created.items()}
    case.changed = {conv(n): v for n, v in case.changed.items()}


def finish_case(case, platform="posix"):
    # Only cases that run on Windows see their names as Windows paths.
    if platform == "windows" and case.platform != "posix":
        windows_names(case)
    if case.exit is None:
        raise CaseError("case %r has no exit:" % case.heading)
    before = set(case.files) | case.dirs | set(case.symlinks)
    for name in case.created:
        if name in before:
            raise CaseError("created %r exists before the run; use changed"
                            % name)
    for name in case.changed:
        if name not in case.files:
            raise CaseError("changed %r is not a file of the case" % name)
    for name, _ in case.modes:
        if name not in before:
            raise CaseError("mode for %r, which the case does not make" % name)


def load_case_file(path, platform):
    with open(path, "rb") as f:
        return parse_cases(f.read(), path, platform)


# ---------------------------------------------------------------------------
# Running and comparing

def host_path(root, name):
    return os.path.join(root, *name.split(b"/"))


def parents(name):
    parts = name.split(b"/")
    return {b"/".join(parts[:i]) for i in range(1, len(parts))}


def to_crlf(data):
    return re.sub(rb"(?<!\r)\n", b"\r\n", data)


def show_diff(what, expected, actual):
    """Describe the first difference of two byte strings, with context."""
    i = 0
    limit = min(len(expected), len(actual))
    while i < limit and expected[i] == actual[i]:
        i += 1
    start = max(0, i - CONTEXT_BYTES // 2)
    end = start + CONTEXT_BYTES
    line = expected[:i].count(b"\n") + 1

    def cut(data):
        s = repr(data[start:end])
        if start > 0:
            s = "..." + s
        if len(data) > end:
            s += "..."
        return s

    return ("%s differs at byte %d (line %d); expected %d bytes, got %d\n"
            "      expected: %s\n"
            "      actual:   %s" % (what, i, line, len(expected), len(actual),
                                    cut(expected), cut(actual)))


def make_tree(root, case):
    for kind, name in case.setup:
        path = host_path(root, name)
        parent = os.path.dirname(path)
        os.makedirs(parent, exist_ok=True)
        if kind == "dir":
            os.makedirs(path, exist_ok=True)
        elif kind == "file":
            with open(path, "wb") as f:
                f.write(case.files[name])
        elif kind == "symlink":
            os.symlink(case.symlinks[name], path)
    # Remember which symlink targets were missing before the run.
    missing = {}
    for name, target in case.symlinks.items():
        link = host_path(root, name)
        full = os.path.normpath(os.path.join(os.path.dirname(link), target))
        if not os.path.lexists(full):
            missing[name] = full
    for name, mode in case.modes:
        os.chmod(host_path(root, name), mode)
    return missing


def unlock_tree(root):
    """Give the owner full access everywhere so the tree can be read."""
    os.chmod(root, 0o700)
    stack = [root]
    while stack:
        d = stack.pop()
        for entry in os.scandir(d):
            if entry.is_symlink():
                continue
            st = entry.stat(follow_symlinks=False)
            if entry.is_dir(follow_symlinks=False):
                os.chmod(entry.path, (st.st_mode & 0o7777) | 0o700)
                stack.append(entry.path)
            else:
                os.chmod(entry.path, (st.st_mode & 0o7777) | 0o600)


def scan_tree(root):
    """Map of relative name (bytes, '/'-joined) -> kind, symlinks not followed."""
    found = {}
    stack = [(root, b"")]
    while stack:
        d, prefix = stack.pop()
        for entry in os.scandir(d):
            name = prefix + entry.name
            if entry.is_symlink():
                found[name] = "symlink"
            elif entry.is_dir(follow_symlinks=False):
                found[name] = "dir"
                stack.append((entry.path, name + b"/"))
            elif entry.is_file(follow_symlinks=False):
                found[name] = "file"
            else:
                found[name] = "other"
    return found


def compare_tree(root, case, missing_targets):
    problems = []
    found = scan_tree(root)
    allowed = set()

    def expect_file(name, content, label):
        allowed.add(name)
        kind = found.get(name)
        path = host_path(root, name)
        if kind is None:
            problems.append("%s file %r is missing" % (label, name))
        elif kind != "file":
            problems.append("%s file %r is a %s" % (label, name, kind))
        else:
            with open(path, "rb") as f:
                actual = f.read()
            if actual != content:
                problems.append(show_diff("%s file %r" % (label, name),
                                          content, actual))

    for name, content in case.files.items():
        if name in case.changed:
            expect_file(name, case.changed[name], "changed")
        else:
            expect_file(name, content, "pre-existing")
    for name, content in case.created.items():
        expect_file(name, content, "created")
    for name in sorted(case.dirs):
        allowed.add(name)
        kind = found.get(name)
        if kind != "dir":
            problems.append("directory %r is %s" % (
                name, "missing" if kind is None else "now a " + kind))
    for name, target in case.symlinks.items():
        allowed.add(name)
        path = host_path(root, name)
        kind = found.get(name)
        if kind != "symlink":
            problems.append("symlink %r is %s" % (
                name, "missing" if kind is None else "now a " + kind))
        elif os.readlink(path) != target:
            problems.append("symlink %r now points to %r, expected %r"
                            % (name, os.readlink(path), target))
    created_paths = {os.path.normpath(host_path(root, n))
                     for n in case.created}
    for name, full in missing_targets.items():
        if os.path.lexists(full) and os.path.normpath(full) not in created_paths:
            problems.append("target %r of symlink %r was made by the run"
                            % (full, name))

    for name in list(allowed):
        allowed |= parents(name)
    extras = sorted(n for n in found if n not in allowed)
    for name in extras:
        problems.append("unexpected %s %r" % (found[name], name))
    return problems


def resolve_prog(prog):
    """Split the program command; make path-like words absolute, because
    the cases run in another current directory."""
    words = shlex.split(prog)
    if not words:
        raise SystemExit("run_cases.py: --prog is empty")
    out = []
    for w in words:
        if os.sep in w or "/" in w:
            if not os.path.isabs(w) and os.path.exists(w):
                w = os.path.abspath(w)
        out.append(w)
    return [os.fsencode(w) for w in out]


def child_env(platform):
    env = dict(os.environ)
    env["LC_ALL"] = "C"
    if platform == "windows":
        env["WINEDEBUG"] = "-all"
        # Wine converts arguments and file names between the Unix locale's
        # character set and the Windows code page; in a CP932 locale Shift_JIS
        # bytes pass through as they do on a Japanese Windows.
        env["LC_ALL"] = os.environ.get("FAVLINK_WINE_LC_ALL") or "C"
    return env


def run_case(case, prog_words, platform, keep=False):
    """Run one case; return a list of problem descriptions (empty = pass)."""
    root = os.fsencode(tempfile.mkdtemp(prefix="favlink-e2e-"))
    problems = []
    try:
        missing_targets = make_tree(root, case)
        try:
            proc = subprocess.run(prog_words + case.args, cwd=root,
                                  input=case.stdin, stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE,
                                  env=child_env(platform),
                                  timeout=TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            problems.append("timed out after %d s" % TIMEOUT_SECONDS)
            return problems
        except OSError as e:
            problems.append("cannot start program: %s" % e)
            return problems
        finally:
            unlock_tree(root)

        expected_out = case.stdout
        expected_err = case.stderr
        if platform == "windows":
            expected_out = to_crlf(expected_out)
            expected_err = to_crlf(expected_err)

        if proc.returncode != case.exit:
            if proc.returncode < 0:
                got = "killed by signal %d" % -proc.returncode
            else:
                got = str(proc.returncode)
            problems.append("exit status: expected %d, got %s"
                            % (case.exit, got))
        if proc.stdout != expected_out:
            problems.append(show_diff("stdout", expected_out, proc.stdout))
        if proc.stderr != expected_err:
            problems.append(show_diff("stderr", expected_err, proc.stderr))
        problems.extend(compare_tree(root, case, missing_targets))
        return problems
    finally:
        if keep and problems:
            problems.append("kept folder: %s" % os.fsdecode(root))
        else:
            try:
                unlock_tree(root)
            except OSError:
                pass
            shutil.rmtree(root, ignore_errors=True)


def main(argv=None):
    ap = argparse.ArgumentParser(description="Run favlink end-to-end cases.")
    ap.add_argument("--prog", required=True,
                    help="command that runs the program (split like a shell)")
    ap.add_argument("--platform", choices=PLATFORMS, default="posix")
    ap.add_argument("--only", default=None,
                    help="run only cases whose heading contains this text")
    ap.add_argument("--keep", action="store_true",
                    help="keep the folders of failing cases")
    ap.add_argument("casefiles", nargs="+")
    opts = ap.parse_args(argv)

    prog_words = resolve_prog(opts.prog)
    cases = []
    try:
        for path in opts.casefiles:
            cases.extend(load_case_file(path, opts.platform))
    except (CaseError, OSError) as e:
        print("error: %s" % e, file=sys.stderr)
        return 2

    passed = failed = skipped = 0
    for case in cases:
        if opts.only is not None and opts.only not in case.heading:
            continue
        if case.platform is not None and case.platform != opts.platform:
            skipped += 1
            continue
        problems = run_case(case, prog_words, opts.platform, opts.keep)
        if problems:
            failed += 1
            print("FAIL %s: %s" % (case.where(), case.heading))
            for p in problems:
                print("    " + p)
        else:
            passed += 1
        sys.stdout.flush()

    summary = "%d passed, %d failed" % (passed, failed)
    if skipped:
        summary += ", %d skipped" % skipped
    print(summary)
    if passed + failed == 0:
        print("error: no case ran", file=sys.stderr)
        return 2
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
