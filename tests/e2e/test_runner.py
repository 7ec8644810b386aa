#!/usr/bin/env python3
"""Self-test of run_cases.py: parsing, escapes, and that mismatches are caught.

The program under test here is a small Python helper written to a temporary
folder; it performs the actions named by its arguments:
    out TEXT      write TEXT to stdout        err TEXT   write TEXT to stderr
    write NAME T  create file NAME with T     cat        copy stdin to stdout
    exit N        end with status N
"""

import os
import shlex
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import run_cases  # noqa: E402

HELPER = r'''
import os, sys
args = [os.fsencode(a) for a in sys.argv[1:]]
code = 0
i = 0
while i < len(args):
    op = args[i]
    if op == b"out":
        sys.stdout.buffer.write(args[i + 1]); i += 2
    elif op == b"err":
        sys.stderr.buffer.write(args[i + 1]); i += 2
    elif op == b"write":
        with open(args[i + 1], "wb") as f:
            f.write(args[i + 2])
        i += 3
    elif op == b"cat":
        sys.stdout.buffer.write(sys.stdin.buffer.read()); i += 1
    elif op == b"exit":
        code = int(args[i + 1]); i += 2
    else:
        sys.exit(99)
sys.exit(code)
'''


def one_case(text, platform="posix"):
    cases = run_cases.parse_cases(text.encode("ascii"), "t", platform)
    assert len(cases) == 1
    return cases[0]


class DecodeTest(unittest.TestCase):
    def test_escapes(self):
        self.assertEqual(run_cases.decode(r'a\n\r\t\0\\\x83\x5C\s\"b'),
                         b'a\n\r\t\0\\\x83\x5c "b')

    def test_repetition_and_sep(self):
        self.assertEqual(run_cases.decode(r"{{3*ab\n}}c"), b"ab\nab\nab\nc")
        self.assertEqual(run_cases.decode("{{2*{SEP}}}", b"\\"), b"\\\\")
        self.assertEqual(run_cases.decode("o{SEP}a", b"/"), b"o/a")
        self.assertEqual(run_cases.decode("{{0*x}}"), b"")

    def test_bad_values_fail(self):
        for bad in (r"\q", "\\", r"\x4", r"\xZZ", "{{3*ab", "{{x*a}}"):
            with self.assertRaises(run_cases.CaseError, msg=bad):
                run_cases.decode(bad)

    def test_split_args(self):
        self.assertEqual(
            run_cases.split_args(r'-v  "a b" "" x\sy \"q'),
            [b"-v", b"a b", b"", b"x y", b'"q'])
        self.assertEqual(run_cases.split_args(""), [])
        with self.assertRaises(run_cases.CaseError):
            run_cases.split_args('"open')


class ParseTest(unittest.TestCase):
    def test_fields(self):
        text = "\n".join([
            "Commentary outside.",
            "## first",
            "~~~~ case",
            "# a comment",
            "args: -v {SEP}p.html",
            "",
            "stdin: a",
            "stdin: b",
            "file sub/p\\x83\\x5C.html: x\\n",
            "file sub/p\\x83\\x5C.html: y",
            "dir empty",
            "dir: other",
            "symlink ln: nowhere",
            "mode empty: 000",
            "exit: 2",
            "stdout: line1\\n",
            "stdout: line2\\n",
            "created out{SEP}a.url:",
            "platform: windows",
            "~~~~",
            "## second",
            "~~~~ case",
            "exit: 0",
            "~~~~",
        ])
        cases = run_cases.parse_cases(text.encode(), "t", "windows")
        self.assertEqual([c.heading for c in cases], ["first", "second"])
        c = cases[0]
        self.assertEqual(c.args, [b"-v", b"\\p.html"])
        self.assertEqual(c.stdin, b"ab")
        self.assertEqual(c.files, {b"sub/p\x83\x5c.html": b"x\ny"})
        self.assertEqual(c.dirs, {b"empty", b"other"})
        self.assertEqual(c.symlinks, {b"ln": b"nowhere"})
        self.assertEqual(c.modes, [(b"empty", 0)])
        self.assertEqual(c.exit, 2)
        self.assertEqual(c.stdout, b"line1\nline2\n")
        # names are host paths, so {SEP} is '/' there on every platform
        self.assertEqual(c.created, {b"out/a.url": b""})
        self.assertEqual(c.platform, "windows")
        self.assertEqual(cases[1].args, [])

    def test_backslash_names_are_folders_only_on_windows(self):
        text = ("## n\n~~~~ case\nfile News\\\\b.url: x\n"
                "file \\x83\\x5C.url: y\nexit: 0\n~~~~\n")
        win = one_case(text, "windows")
        self.assertEqual(set(win.files), {b"News/b.url", b"\x83\x5c.url"})
        posix = one_case(text, "posix")
        self.assertEqual(set(posix.files), {b"News\\b.url", b"\x83\x5c.url"})
        # A case kept for POSIX keeps its names even in a Windows run.
        kept = one_case(text.replace("exit: 0", "exit: 0\nplatform: posix"), "windows")
        self.assertEqual(set(kept.files), {b"News\\b.url", b"\x83\x5c.url"})

    def test_errors(self):
        bad_files = [
            "## a\n~~~~ case\nargs: x\n",                 # not closed
            "## a\n~~~~ case\nargs: x\n~~~~\n",           # no exit
            "## a\n~~~~ case\nexit: 0\nfrob: 1\n~~~~\n",  # unknown key
            "~~~~ case\nexit: 0\n~~~~\n",                 # no heading
            "## a\n~~~~ case\nexit: 0\nstdout: x \n~~~~\n",  # trailing blank
            "## a\n~~~~ case\nexit: 0\nchanged f: x\n~~~~\n",
        ]
        for text in bad_files:
            with self.assertRaises(run_cases.CaseError, msg=text):
                run_cases.parse_cases(text.encode(), "t")


class RunTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="runner-selftest-")
        self.helper = os.path.join(self.dir, "helper.py")
        with open(self.helper, "w") as f:
            f.write(HELPER)
        self.prog = run_cases.resolve_prog(
            shlex.join([sys.executable, self.helper]))

    def tearDown(self):
        import shutil
        shutil.rmtree(self.dir)

    def run_text(self, body, platform="posix"):
        case = one_case("## c\n~~~~ case\n" + body + "\n~~~~\n", platform)
        return run_cases.run_case(case, self.prog, platform)

    GOOD = "\n".join([
        "args: cat out \\x83\\x5C\\n write sub{SEP}new.url \"a b\\r\\n\"",
        "stdin: in\\n",
        "file sub/old.txt: keep",
        "dir keepdir",
        "symlink ln: missing-target",
        "exit: 0",
        "stdout: in\\n",
        "stdout: \\x83\\x5C\\n",
        "created sub/new.url: a b\\r\\n",
    ])

    def test_good_case_passes(self):
        self.assertEqual(self.run_text(self.GOOD), [])

    def test_windows_expects_crlf_on_stdout(self):
        body = "args: out a\\r\\nb\\n err e\\n\nexit: 0\nstdout: a\\nb\\n\nstderr: e\\n"
        self.assertEqual(
            self.run_text(body.replace("out a\\r\\nb\\n err e\\n",
                                       "out a\\r\\nb\\r\\n err e\\r\\n"),
                          "windows"), [])
        problems = self.run_text(body, "windows")
        self.assertEqual(len(problems), 2, problems)
        self.assertTrue(problems[0].startswith("stdout differs"), problems)
        self.assertTrue(problems[1].startswith("stderr differs"), problems)

    def assertOneProblem(self, body, start):
        problems = self.run_text(body)
        self.assertEqual(len(problems), 1, problems)
        self.assertTrue(problems[0].startswith(start), problems)
        return problems[0]

    def test_wrong_exit_status(self):
        self.assertOneProblem(self.GOOD.replace("exit: 0", "exit: 1"),
                              "exit status: expected 1, got 0")

    def test_wrong_stdout_byte(self):
        p = self.assertOneProblem(
            self.GOOD.replace("stdout: \\x83\\x5C", "stdout: \\x83\\x5D"),
            "stdout differs at byte 4")
        self.assertIn(r"b'in\n\x83]\n'", p)
        self.assertIn(r"b'in\n\x83\\\n'", p)

    def test_extra_file(self):
        self.assertOneProblem(
            self.GOOD.replace("args: cat", "args: write stray x cat"),
            "unexpected file b'stray'")

    def test_changed_preexisting_file(self):
        body = self.GOOD.replace("args: cat", "args: write sub/old.txt KEEP cat")
        self.assertOneProblem(body, "pre-existing file b'sub/old.txt' differs")
        # ... and the same run passes when the case says it changes
        self.assertEqual(self.run_text(body + "\nchanged sub/old.txt: KEEP"),
                         [])

    def test_missing_created_file(self):
        self.assertOneProblem(self.GOOD + "\ncreated other.url: z",
                              "created file b'other.url' is missing")

    def test_write_through_dangling_symlink(self):
        problems = self.run_text(
            self.GOOD.replace("args: cat", "args: write ln t cat"))
        self.assertEqual(len(problems), 2, problems)
        self.assertIn("of symlink b'ln' was made by the run", problems[0])
        self.assertEqual(problems[1], "unexpected file b'missing-target'")

    def test_command_line(self):
        casefile = os.path.join(self.dir, "cases.txt")
        with open(casefile, "w") as f:
            f.write("## ok\n~~~~ case\nargs: out hi\nexit: 0\nstdout: hi\n~~~~\n"
                    "## bad\n~~~~ case\nexit: 3\n~~~~\n"
                    "## win only\n~~~~ case\nplatform: windows\nexit: 0\n~~~~\n")
        runner = os.path.join(HERE, "run_cases.py")
        prog = shlex.join([sys.executable, self.helper])

        def run(*extra):
            return subprocess.run([sys.executable, runner, "--prog", prog]
                                  + list(extra) + [casefile],
                                  stdout=subprocess.PIPE,
                                  stderr=subprocess.PIPE, text=True)

        r = run()
        self.assertEqual(r.returncode, 1)
        lines = r.stdout.splitlines()
        self.assertEqual(lines[-1], "1 passed, 1 failed, 1 skipped")
        self.assertTrue(any(line.startswith("FAIL") and "bad" in line
                            for line in lines), r.stdout)
        r = run("--only", "ok")
        self.assertEqual((r.returncode, r.stdout.splitlines()[-1]),
                         (0, "1 passed, 0 failed"))
        r = run("--only", "nothing matches")
        self.assertNotEqual(r.returncode, 0)


if __name__ == "__main__":
    unittest.main()
