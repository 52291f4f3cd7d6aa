#!/usr/bin/env python3
"""Starts the built program with command lines it has no use for and checks
that each time it still runs normally: the window appears (after a message
box saying that a stray argument is no pattern file it can open, which Return
closes), Random fills the field, Next computes the next generation and
File > Exit ends it with code 0. Options that are neither the program's nor
the toolkit's are refused before any window: status 2, one line on standard
error.

Usage: badinput.py <program> <screenshot folder>
"""

import os
import subprocess
import sys

# The helper module is imported from the source tree, which must stay clean.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xsession  # noqa: E402
from xsession import Failure, wait_until  # noqa: E402

TIMEOUT = 20

# Name, arguments, and whether one of them is taken for a pattern file.
CASES = [
    ("unknown-style", ["-style", "doesnotexist"], False),
    ("long-argument", ["x" * 100_000], True),
    ("invalid-utf8", [b"\xff\xfe\x80", b"-name", b"\xc3\x28", b"-style", b"\xe2\x82"], True),
]


def field_when(window, description, accept):
    def probe():
        picture = window.capture()
        field = window.field(picture)
        return (picture, field) if field is not None and accept(field) else None

    return wait_until(description, probe, TIMEOUT)


def check(name, program, screenshots, opens_pattern):
    window = xsession.MainWindow(program, TIMEOUT)
    if opens_pattern:
        box = program.window("Open pattern", TIMEOUT)
        screenshots.keep(f"{name}-message", xsession.capture(box))
        xsession.press("Return")
        program.wait_until_closed(box, TIMEOUT)
    if not window.view_is_empty(window.capture()):
        raise Failure("the field view is not empty right after start")

    window.press_button("Random")
    picture, randomised = field_when(
        window, "green cells after Random", lambda f: f.live and f.colours == {"green"}
    )
    screenshots.keep(f"{name}-random", picture)

    window.press_button("Next")
    expected = xsession.next_generation(randomised.live)
    picture, _ = field_when(window, "the next generation after Next", lambda f: f.live == expected)
    screenshots.keep(f"{name}-next", picture)

    code = window.exit_through_menu(TIMEOUT)
    if code != 0:
        raise Failure(f"File > Exit ended the program with exit code {code}")


def main():
    xsession.start_session()
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program_path, folder = sys.argv[1], sys.argv[2]
    screenshots = xsession.Screenshots(folder)
    failed = []
    refused = subprocess.run([program_path, "--frobnicate", "-x", "foo"], capture_output=True, text=True, timeout=TIMEOUT)
    if refused.returncode != 2 or len(refused.stderr.splitlines()) != 1:
        failed.append(f"unknown-arguments: code {refused.returncode}, {refused.stderr!r}")
    for name, args, opens_pattern in CASES:
        shown = " ".join(repr(arg) if len(arg) < 40 else f"<{len(arg)} characters>" for arg in args)
        print(f"case {name}: {shown}")
        with xsession.Program(program_path, args) as program:
            try:
                check(name, program, screenshots, opens_pattern)
                print(f"case {name}: PASS")
            except Failure as failure:
                print(f"case {name}: FAIL: {failure}")
                screenshots.report_failure(f"{name}-failure")
                failed.append(name)
    if failed:
        print(f"FAIL: {', '.join(failed)}")
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
